// libFuzzer target: the BMP reader reads or refuses any bytes without a fault, at the file's own
// depth, at 24 bits, and into a bitmap that already holds pixels.
#include <cstddef>
#include <cstdint>

#include "support/DIB.h"
#include "support/UserInterface.h"

namespace {

// Boxes are answered at once and shown nowhere, so that refusals cost no time.
class SilentUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string&, const std::string&, MsgButtons,
                             MsgIcon) override {
        return MsgAnswer::Ok;
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0; }
};

// Reads every pixel, so that a bitmap whose size and storage disagree shows up.
uint32_t Touch(const CDIB& bitmap) {
    uint32_t sum = 0;
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            sum += bitmap.GetPixel(x, y);
        }
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentUserInterface ui;
    InstallUserInterface(&ui);

    volatile uint32_t sink = 0;
    CDIB natural;
    if (natural.ReadBmp(data, size, 0)) {
        sink = sink + Touch(natural);
    }
    CDIB rgb;
    if (rgb.ReadBmp(data, size, 24)) {
        sink = sink + Touch(rgb);
    }
    CDIB existing;
    if (existing.Create(3, 2, 8, 1)) {
        existing.ReadBmp(data, size, 0);
        sink = sink + Touch(existing);
    }
    return 0;
}
