// Tool changes and the material slots of the tools.
#include "app/view/ViewState.h"

namespace {

// One of the single-bit modes from..to (select 16 and group 32, the box sides 64 to 2048).
constexpr bool IsSingleBitMode(int32_t code, int32_t from, int32_t to) {
    return code >= from && code <= to && (code & (code - 1)) == 0;
}
constexpr bool IsSelectOrBoxSide(int32_t code) {
    return IsSingleBitMode(code, 16, 2048);
}
constexpr bool IsBoxSide(int32_t code) {
    return IsSingleBitMode(code, 64, 2048);
}

// The modes whose choice redraws the window when the mode changes: the insert modes, select,
// group select, delete and the element tools (the plain view 0x120000 among them).
constexpr bool RedrawsOnChange(int32_t code) {
    if (code == 1 || code == 2 || code == 4 || code == 8 || code == 16 || code == 32) {
        return true;
    }
    if (code >= 0x20000 && code <= 0x130000 && code % 0x10000 == 0) {
        return true;
    }
    return code == 0x150000 || code == 0x160000 || code == 0x170000;
}

} // namespace

SToolChange CViewState::SetTool(ToolMode newMode) {
    SToolChange change;
    const int32_t oldCode = ToolModeCode(toolMode);
    const int32_t newCode = ToolModeCode(newMode);
    turnCount = 0;

    // Leaving the old mode. The element being placed survives a change between the select, box
    // and pan modes and from the second panel click back to the first.
    if (IsSelectOrBoxSide(oldCode)) {
        change.clearSelection = (newCode & 0xFF0) == 0;
    } else if (toolMode == ToolMode::Pan) {
        change.invalidate = rubberLineShown; // the inverted line must go
        rubberLineShown = false;
        dragging = false;
        panElement = ElmntId();
    } else if (!(toolMode == ToolMode::PanelSecondTube && newMode == ToolMode::PanelFirstTube)) {
        placing = ElmntId();
    }

    turnCount = 0;
    const bool keepKind =
        newMode == ToolMode::PanelSecondTube ||
        (newMode == ToolMode::PanelFirstTube && toolMode == ToolMode::PanelSecondTube);
    if (!keepKind) {
        toolKind = ElmntKind::None;
    }

    // Entering the new mode.
    const bool modeChanges = newCode != oldCode;
    if (IsBoxSide(newCode)) {
        // Moving from one side of the box to another keeps the picture.
        change.invalidate = change.invalidate || !IsBoxSideMode(toolMode);
    } else if (newMode == ToolMode::SpecialPanel || newMode == ToolMode::PanelFirstTube ||
               newMode == ToolMode::PanelSecondTube) {
        // A panel tool shows the panels again.
        change.invalidate = change.invalidate || modeChanges;
        drawFlags = drawFlags & ~DrawFlags::WithoutPanels;
    } else if (RedrawsOnChange(newCode)) {
        change.invalidate = change.invalidate || modeChanges;
    }
    toolMode = newMode;
    return change;
}

int32_t CViewState::GetToolMaterial(ElmntKind kind) const {
    std::optional<MtrlCategory> category = GetMtrlCategory(kind);
    if (!category) {
        return 0;
    }
    return categoryMaterials[static_cast<size_t>(*category)];
}

int32_t CViewState::GetCategoryMaterial(int category) const {
    if (category < 0 || category >= MtrlCategoryCount) {
        return 0;
    }
    return categoryMaterials[static_cast<size_t>(category)];
}
