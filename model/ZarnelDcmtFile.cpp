// The document's design file: loading and saving on a path through the design file's reader and
// writer (DesignFile.h), which report every failure themselves.
#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"

bool CZarnelDcmt::LoadFile(const std::string& path) {
    if (!LoadDesignFile(*this, path)) {
        return false;
    }
    SetPathName(path);
    return true;
}

bool CZarnelDcmt::SaveFile(const std::string& path, int32_t couplingMaterial, double snapRadiusSq) {
    if (!SaveDesignFile(*this, path, couplingMaterial, snapRadiusSq)) {
        return false;
    }
    SetPathName(path);
    return true;
}
