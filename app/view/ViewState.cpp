// Tool changes and the material slots of the tools.
#include "app/view/ViewState.h"

#include <algorithm>
#include <initializer_list>

namespace {

using M = ToolMode;

bool IsOneOf(ToolMode mode, std::initializer_list<ToolMode> modes) {
    return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

// The modes whose choice redraws the window when the mode changes: the insert modes, select,
// group select, delete and the element tools (the plain view among them).
bool RedrawsOnChange(ToolMode mode) {
    return IsOneOf(mode, {M::AtConnection, M::RoundTubeUp, M::RoundTubeDown, M::RoundTubeFlat,
                          M::Select, M::SelectGroup, M::Coupling45Flat, M::Coupling45Upright,
                          M::Coupling45AtEnd, M::OnPickedMultiWheel, M::OnPickedWheel,
                          M::SteeringLock, M::AtTubeEnd, M::OnPickedSlide, M::OnPickedSlideEnd,
                          M::OnPickedRoof, M::OnPickedTextile, M::OnPickedClamp, M::OnPickedAlu,
                          M::OnPickedAluConnector, M::OnPickedFlexiArm, M::StartCoupling,
                          M::NoSelectionLines, M::DeleteSingle, M::ChangeAngle, M::ChangeSurface,
                          M::SameSurface});
}

} // namespace

SViewChange CViewState::SetTool(ToolMode newMode) {
    SViewChange change;
    // The application's 15 cm snap option goes off with every change of tool.
    change.wideSnap = false;
    turnCount = 0;

    // Leaving the old mode. The element being placed survives a change between the select, box
    // and pan modes and from the second panel click back to the first.
    if (IsSelectOrBoxMode(toolMode)) {
        change.clearSelection = !IsSelectOrBoxMode(newMode);
    } else if (toolMode == ToolMode::Pan) {
        change.invalidate = rubberLineShown; // the inverted line must go
        rubberLineShown = false;
        dragging = false;
        panElement = ElmntId();
    } else if (!(toolMode == ToolMode::PanelSecondTube && newMode == ToolMode::PanelFirstTube)) {
        placing = ElmntId();
    }

    const bool keepKind =
        newMode == ToolMode::PanelSecondTube ||
        (newMode == ToolMode::PanelFirstTube && toolMode == ToolMode::PanelSecondTube);
    if (!keepKind) {
        toolKind = ElmntKind::None;
    }

    // Entering the new mode.
    const bool modeChanges = newMode != toolMode;
    if (IsBoxSideMode(newMode)) {
        // Moving from one side of the box to another keeps the picture.
        change.invalidate = change.invalidate || !IsBoxSideMode(toolMode);
    } else if (newMode == ToolMode::SpecialPanel || newMode == ToolMode::PanelFirstTube ||
               newMode == ToolMode::PanelSecondTube) {
        // A panel tool shows the panels again.
        change.invalidate = change.invalidate || modeChanges;
        drawFlags = drawFlags & ~DrawFlags::WithoutPanels;
    } else if (RedrawsOnChange(newMode)) {
        change.invalidate = change.invalidate || modeChanges;
    }
    toolMode = newMode;
    return change;
}

DrawFlags CViewState::TakeFrameFlags() {
    lastDrawnFlags = nextFrameFlags.value_or(drawFlags);
    nextFrameFlags.reset();
    return lastDrawnFlags;
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
