// Any text given to the placement reader leaves a finite placement that can be written again;
// the text of a placement read without an error reads back into the same text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/Transform.h"

namespace {

// The text of a placement; a writer error ends the run.
std::string Write(const CTransform& placement) {
    std::vector<char> buffer(16384);
    CFileWrite writer;
    writer.OpenBuffer(buffer.data(), static_cast<uint32_t>(buffer.size()), "fuzz", 0xFFFFFFFF, 0);
    WriteTransform(placement, writer);
    if (writer.HasError()) {
        std::abort();
    }
    writer.Close();
    return buffer.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    CFileRead reader;
    reader.OpenString(text.c_str(), "fuzz", '\0', ReadErrors::Quiet, 0);
    CTransform placement;
    const bool ok = ReadTransform(placement, reader);

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

    const std::string written = Write(placement);
    if (ok) {
        CFileRead again;
        again.OpenString(written.c_str(), "fuzz", '\0', ReadErrors::Quiet, 0);
        CTransform back;
        if (!ReadTransform(back, again) || Write(back) != written) {
            std::abort();
        }
    }
    return 0;
}
