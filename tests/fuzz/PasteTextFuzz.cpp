// libFuzzer target: pasting any text into a design takes it without a fault. Every pasted
// element is selected, floating, alive from the paste's revision and names a material the table
// holds; the table stays within its capacity, and a second paste of the same text adds no
// material.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "model/Clipboard.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"
#include "support/UserInterface.h"

namespace {

class QuietUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        return MsgAnswer::No;
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0; }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietUserInterface ui;
    static const bool ready = [] {
        SetResourceModule(&ZarnelResources());
        InstallUserInterface(&ui);
        return true;
    }();
    (void)ready;

    const std::string text(reinterpret_cast<const char*>(data), size);
    CZarnelDcmt dcmt;
    const size_t before = dcmt.GetElmntList().Size();
    int pasted = 0;
    const bool complete = PasteText(dcmt, text, &pasted);
    Check(pasted >= 0 && dcmt.GetElmntList().Size() == before + static_cast<size_t>(pasted));
    Check(dcmt.GetSlotsUsed() <= CZarnelDcmt::GetMaterialCapacity());
    Check(pasted == 0 || dcmt.GetCurrentRevision() == 1);
    for (size_t i = before; i < dcmt.GetElmntList().Size(); ++i) {
        const CElmnt& elmnt = *dcmt.GetElmntList().GetAt(i);
        Check(elmnt.selected && elmnt.floating && dcmt.IsAlive(elmnt));
        Check(elmnt.firstRevision == dcmt.GetCurrentRevision());
        Check(dcmt.GetMaterial(elmnt.GetMaterial()) != nullptr);
    }
    if (complete) {
        const int slotsUsed = dcmt.GetSlotsUsed();
        PasteText(dcmt, text);
        Check(dcmt.GetSlotsUsed() == slotsUsed);
    }
    return 0;
}
