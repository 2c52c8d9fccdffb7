// The 3D view's editing commands: copy, cut and paste through the clipboard, deleting the
// selection, selecting everything, and the six colours that choose the material slot of the
// tubes and panels that the tools insert.
#include <array>
#include <new>
#include <optional>
#include <vector>

#include "app/frame/CommandIds.h"
#include "app/view/EditRefusal.h"
#include "app/view/ViewCommand.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/UserInterface.h"

namespace {

namespace Id = CommandId;

// "Die Auswahl konnte nicht in die Zwischenablage kopiert werden."
constexpr uint32_t kCopyFailed = 4340;
// "... Es wurde nichts ausgeschnitten."
constexpr uint32_t kCutFailed = 4341;
// "Der Inhalt der Zwischenablage konnte nicht eingefügt werden."
constexpr uint32_t kPasteFailed = 4342;

bool HasDesign(const SViewContext& context, uint32_t) {
    return context.dcmt != nullptr;
}

// ---- Clipboard and deletion ----------------------------------------------------------------

// True when the selection's text is on the clipboard; else the user is told.
bool CopySelection(const CZarnelDcmt& dcmt, uint32_t failure) {
    if (dcmt.CopyToClipboard()) {
        return true;
    }
    ShowMessage(LoadLangText(failure), {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

SViewChange RunCopy(SViewContext& context, uint32_t) {
    if (context.dcmt != nullptr) {
        CopySelection(*context.dcmt, kCopyFailed);
    }
    return SViewChange();
}

// Every window forgets what it held of the deleted elements, even when nothing was selected.
SViewChange DeleteSelection(SViewContext& context) {
    SViewChange change;
    try {
        if (!context.dcmt->DeleteSelection(context.GetCouplingMaterial())) {
            change.hint = ViewHint::Deletion; // the document told no window: nothing was deleted
        }
    } catch (const std::bad_alloc&) {
        ReportEditOutOfMemory();
    }
    return change;
}

// A cut deletes only what is safely on the clipboard.
SViewChange RunCut(SViewContext& context, uint32_t) {
    if (context.dcmt == nullptr || !CopySelection(*context.dcmt, kCutFailed)) {
        return SViewChange();
    }
    return DeleteSelection(context);
}

SViewChange RunDelete(SViewContext& context, uint32_t) {
    return context.dcmt != nullptr ? DeleteSelection(context) : SViewChange();
}

// The pasted elements arrive selected and floating, so that they can be moved into place; the
// select tool keeps them selected. The document recounts and tells the windows however far the
// paste got; the select tool's change is told once more so that no window misses a paste that
// found no text.
SViewChange RunPaste(SViewContext& context, uint32_t) {
    if (context.dcmt == nullptr) {
        return SViewChange();
    }
    try {
        context.dcmt->ClearSelection(context.GetCouplingMaterial(), context.GetSnapRadiusSq());
    } catch (const std::bad_alloc&) {
        // The selection is as it was: nothing is pasted over it.
        ShowFileFailure(LoadLangText(kPasteFailed), {}, OutOfMemoryReason());
        return SViewChange();
    }
    context.dcmt->PasteFromClipboard();
    SViewChange change = context.state.SetTool(ToolMode::Select);
    change.hint = ViewHint::Insertion;
    return change;
}

// Every element the user sees but the floor grid (and records without a kind).
SViewChange RunSelectAll(SViewContext& context, uint32_t) {
    SViewChange change = context.state.SetTool(ToolMode::Select);
    if (context.dcmt == nullptr) {
        return change;
    }
    for (CElmnt& elmnt : context.dcmt->GetAliveElements()) {
        if (elmnt.kind != ElmntKind::None && elmnt.kind != ElmntKind::FloorGrid) {
            elmnt.Select();
        }
    }
    change.hint = ViewHint::Selection;
    return change;
}

// ---- Colours -------------------------------------------------------------------------------

struct SColour {
    uint32_t command;
    int32_t tubeSlot;  // category 0 ("Rohre")
    int32_t panelSlot; // category 1 ("Platten")
};
constexpr std::array<SColour, 6> kColours = {{{Id::ColourRed, 2, 6},
                                              {Id::ColourGreen, 3, 7},
                                              {Id::ColourBlue, 4, 8},
                                              {Id::ColourYellow, 5, 9},
                                              {Id::ColourBlack, 1, 12},
                                              {Id::ColourWhite, 13, 14}}};

const SColour* FindColour(uint32_t command) {
    for (const SColour& colour : kColours) {
        if (colour.command == command) {
            return &colour;
        }
    }
    return nullptr;
}

// What a colour sets for a tool of the kind: the slot of category 0 for tube kinds, else of
// category 1 for panel kinds; nothing for a tool that inserts neither.
struct SColourTarget {
    MtrlCategory category;
    int32_t slot;
};
std::optional<SColourTarget> ColourTarget(ElmntKind kind, uint32_t command) {
    const SColour* colour = FindColour(command);
    if (colour == nullptr) {
        return std::nullopt;
    }
    if (HasKindBits(kind, KindBit::MtrlTubes)) {
        return SColourTarget{MtrlCategory::Tubes, colour->tubeSlot};
    }
    if (HasKindBits(kind, KindBit::MtrlPanels)) {
        return SColourTarget{MtrlCategory::Panels, colour->panelSlot};
    }
    return std::nullopt;
}

// Only what the tool inserts from now on changes; no element already placed.
SViewChange RunColour(SViewContext& context, uint32_t command) {
    if (std::optional<SColourTarget> target = ColourTarget(context.state.tool.kind, command)) {
        context.state.tool.categoryMaterials[static_cast<size_t>(target->category)] = target->slot;
    }
    return SViewChange();
}

bool CanColour(const SViewContext& context, uint32_t) {
    return HasKindBits(context.state.tool.kind, KindBit::MtrlTubes | KindBit::MtrlPanels);
}

bool IsColourChecked(const SViewContext& context, uint32_t command) {
    const std::optional<SColourTarget> target = ColourTarget(context.state.tool.kind, command);
    return target &&
           context.state.GetCategoryMaterial(static_cast<int>(target->category)) == target->slot;
}

std::vector<SViewCommand> MakeEditCommandRows() {
    std::vector<SViewCommand> rows = {
        {Id::EditCopy, RunCopy, HasDesign, nullptr},
        {Id::EditCut, RunCut, HasDesign, nullptr},
        {Id::DeleteSelection, RunDelete, HasDesign, nullptr},
        {Id::EditPaste, RunPaste, HasDesign, nullptr},
        {Id::SelectAll, RunSelectAll, HasDesign, nullptr},
    };
    for (const SColour& colour : kColours) {
        rows.push_back({colour.command, RunColour, CanColour, IsColourChecked});
    }
    return rows;
}

} // namespace

std::span<const SViewCommand> GetEditCommandRows() {
    static const std::vector<SViewCommand> rows = MakeEditCommandRows();
    return rows;
}
