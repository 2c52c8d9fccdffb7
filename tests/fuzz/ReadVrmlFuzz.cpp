// libFuzzer target: the slide model's reader reads or refuses any world without a fault, and a
// world that it reads has only finite vertices with unit normals.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/render/VrmlScene.h"

// Coin keeps a few objects of its own from initialisation to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libCoin.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitCoin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string reason;
    const auto scene =
        CVrmlScene::ReadText(std::string_view(reinterpret_cast<const char*>(data), size), reason);
    if (scene == nullptr) {
        return 0;
    }
    for (const SVrmlVertex& vertex : scene->GetVertices()) {
        const float length = std::hypot(vertex.normal[0], vertex.normal[1], vertex.normal[2]);
        if (!std::isfinite(vertex.point[0] + vertex.point[1] + vertex.point[2]) ||
            std::fabs(length - 1.0f) > 1e-3f) {
            std::abort();
        }
    }
    return 0;
}
