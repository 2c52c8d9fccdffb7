// The document's design file.
#include "model/ZarnelDcmt.h"

bool CZarnelDcmt::LoadFile(const std::string& path) {
    // The design file format is not read yet: the document stays as it is.
    return false;
}

bool CZarnelDcmt::SaveFile(const std::string& path) {
    // The design file format is not written yet: no file is touched.
    return false;
}
