// libFuzzer target: the slide model's reader, as the program calls it (Coin in a child
// process), reads or refuses any world without a fault. The child's code is out of the
// fuzzer's sight here; fuzz_read_vrml_in_process follows it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/VrmlFuzzCheck.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitVrmlFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string reason;
    const auto scene =
        CVrmlScene::ReadText(std::string_view(reinterpret_cast<const char*>(data), size), reason);
    if (scene != nullptr) {
        CheckReadScene(*scene);
    }
    return 0;
}
