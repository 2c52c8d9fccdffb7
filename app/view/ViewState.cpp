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
    tool.turnCount = 0;

    // Leaving the old mode. The element being placed survives a change between the select, box
    // and pan modes and from the second panel click back to the first.
    if (IsSelectOrBoxMode(tool.mode)) {
        change.clearSelection = !IsSelectOrBoxMode(newMode);
    } else if (tool.mode == ToolMode::Pan) {
        change.invalidate = pan.rubberLineShown; // the inverted line must go
        pan.rubberLineShown = false;
        pan.dragging = false;
        pan.element = ElmntId();
    } else if (!(tool.mode == ToolMode::PanelSecondTube && newMode == ToolMode::PanelFirstTube)) {
        tool.placing = ElmntId();
    }

    const bool keepKind =
        newMode == ToolMode::PanelSecondTube ||
        (newMode == ToolMode::PanelFirstTube && tool.mode == ToolMode::PanelSecondTube);
    if (!keepKind) {
        tool.kind = ElmntKind::None;
    }

    // Entering the new mode.
    const bool modeChanges = newMode != tool.mode;
    if (IsBoxSideMode(newMode)) {
        // Moving from one side of the box to another keeps the picture.
        change.invalidate = change.invalidate || !IsBoxSideMode(tool.mode);
    } else if (newMode == ToolMode::SpecialPanel || newMode == ToolMode::PanelFirstTube ||
               newMode == ToolMode::PanelSecondTube) {
        // A panel tool shows the panels again.
        change.invalidate = change.invalidate || modeChanges;
        display.flags = display.flags & ~DrawFlags::WithoutPanels;
    } else if (RedrawsOnChange(newMode)) {
        change.invalidate = change.invalidate || modeChanges;
    }
    tool.mode = newMode;
    return change;
}

DrawFlags CViewState::TakeFrameFlags() {
    display.lastDrawnFlags = display.nextFrameFlags.value_or(display.flags);
    display.nextFrameFlags.reset();
    return display.lastDrawnFlags;
}

int32_t CViewState::GetToolMaterial(ElmntKind kind) const {
    std::optional<MtrlCategory> category = GetMtrlCategory(kind);
    if (!category) {
        return 0;
    }
    return tool.categoryMaterials[static_cast<size_t>(*category)];
}

int32_t CViewState::GetCategoryMaterial(int category) const {
    if (category < 0 || category >= MtrlCategoryCount) {
        return 0;
    }
    return tool.categoryMaterials[static_cast<size_t>(category)];
}
