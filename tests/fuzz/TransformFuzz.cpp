// Any text given to the placement reader leaves a finite placement that can be written again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/Transform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    CFileRead reader;
    reader.OpenString(text.c_str(), "fuzz", '\0', ReadErrors::Quiet, 0);
    CTransform placement;
    ReadTransform(placement, reader);

    const double* entries = &placement.rotation.m[0][0];
    for (int i = 0; i < 9; ++i) {
        if (!std::isfinite(entries[i])) {
            std::abort();
        }
    }
    if (!std::isfinite(placement.translation.x) || !std::isfinite(placement.translation.y) ||
        !std::isfinite(placement.translation.z)) {
        std::abort();
    }

    std::vector<char> buffer(16384);
    CFileWrite writer;
    writer.OpenBuffer(buffer.data(), static_cast<uint32_t>(buffer.size()), "fuzz", 0xFFFFFFFF, 0);
    WriteTransform(placement, writer);
    if (writer.HasError()) {
        std::abort();
    }
    return 0;
}
