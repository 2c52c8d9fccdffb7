// libFuzzer target: the slide model's reader in the fuzzer's own process, so that coverage
// guides it through Coin's parsing, the scene check and the triangle collection. Each world is
// read twice: a reading must not depend on what was read before it in the same process.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "tests/fuzz/VrmlFuzzCheck.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitVrmlFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string firstReason;
    const auto first = CVrmlScene::ReadTextInProcess(text, firstReason);
    std::string secondReason;
    const auto second = CVrmlScene::ReadTextInProcess(text, secondReason);
    if ((first == nullptr) != (second == nullptr) || firstReason != secondReason) {
        std::abort();
    }
    if (first == nullptr) {
        return 0;
    }
    CheckReadScene(*first);
    const auto& a = first->GetVertices();
    const auto& b = second->GetVertices();
    if (a.size() != b.size() ||
        (!a.empty() && std::memcmp(a.data(), b.data(), a.size() * sizeof(SVrmlVertex)) != 0)) {
        std::abort();
    }
    return 0;
}
