// libFuzzer target: the design-file reader takes any bytes without a fault. A text it takes
// holds only values a design can have (material slots, masks and revisions in range, finite
// placements), and its records are written again without a writer error, read back alike and
// written again as the same text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/DesignFile.h"
#include "resources/ZarnelResources.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/Resources.h"
#include "support/UserInterface.h"

namespace {

class QuietUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
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

bool IsFinite(const CTransform& t) {
    const double* entries = &t.rotation.m[0][0];
    for (int i = 0; i < 9; ++i) {
        if (!std::isfinite(entries[i])) {
            return false;
        }
    }
    return std::isfinite(t.translation.x) && std::isfinite(t.translation.y) &&
           std::isfinite(t.translation.z);
}

void OpenTextWriter(CFileWrite& writer, std::string& text) {
    writer.OpenBuffer(nullptr, 0, "fuzz", 0xFFFFFFFF, WriteFlags::CrLf);
    writer.SetCallback([&text](int c) {
        text += static_cast<char>(c);
        return 0;
    });
}

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
    CElmntIdSource ids;
    SDesignContents contents;
    CFileRead reader;
    reader.OpenString(text.c_str(), "fuzz", '\0', ReadErrors::AbortOnFirst, ReadOptions::DropCr);
    if (!ReadDesign(reader, ids, contents)) {
        return 0;
    }
    Check(contents.currentRevision <= contents.newestRevision);
    Check(contents.newestRevision < RevisionOpen);

    std::string written;
    CFileWrite writer;
    OpenTextWriter(writer, written);
    for (const auto& elmnt : contents.elements) {
        Check(CElmnt::IsValidMaterialSlot(elmnt->GetMaterial()));
        Check(CElmnt::IsValidArmMask(elmnt->GetOccupiedArms()));
        Check(CElmnt::IsValidArmMask(elmnt->GetFreeArms()));
        Check(CElmnt::IsValidArmMask(elmnt->GetDirections()));
        Check(CElmnt::IsValidCornerSlotMask(elmnt->GetFreeCornerSlots()));
        Check(elmnt->firstRevision <= contents.newestRevision);
        Check(IsFinite(elmnt->placement));
        Check(std::isfinite(elmnt->length) && std::isfinite(elmnt->secondSize) &&
              std::isfinite(elmnt->correction) && std::isfinite(elmnt->secondCorrection));
        Check(elmnt->WriteElement(writer));
    }
    Check(!writer.HasError());
    writer.Close();

    // What was written reads back as the same records, whose text is the same again.
    std::string rewritten;
    CFileWrite rewriter;
    OpenTextWriter(rewriter, rewritten);
    CFileRead again;
    again.OpenString(written.c_str(), "fuzz", '\0', ReadErrors::AbortOnFirst, ReadOptions::DropCr);
    for (const auto& elmnt : contents.elements) {
        bool failed = false;
        auto back = CElmnt::ReadElement(again, ids, contents.newestRevision, failed);
        Check(back != nullptr && back->kind == elmnt->kind &&
              back->GetMaterial() == elmnt->GetMaterial() &&
              back->firstRevision == elmnt->firstRevision &&
              back->endRevision == elmnt->endRevision);
        Check(back->WriteElement(rewriter));
    }
    rewriter.Close();
    Check(rewritten == written);
    return 0;
}
