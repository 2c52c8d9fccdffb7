// The commands of the toolbar "Selektieren und Verschieben": shaping the selection box and
// selecting with it, the move step, what moving does to couplings, and the six moves of the
// selection by one step along an axis.
#include "app/view/BoxCommands.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "app/frame/CommandIds.h"
#include "app/view/EditRefusal.h"
#include "app/view/ViewCommand.h"
#include "model/ZarnelDcmt.h"

void ResizeSelBox(CBox3& box, ToolMode side, double d) {
    switch (side) {
    case ToolMode::BoxTop:
        box.maxY = std::max(box.maxY + d, box.minY + kMinSelectionBoxSize);
        break;
    case ToolMode::BoxBottom:
        box.minY = std::min(box.minY - d, box.maxY - kMinSelectionBoxSize);
        break;
    case ToolMode::BoxRight:
        box.maxX = std::max(box.maxX + d, box.minX + kMinSelectionBoxSize);
        break;
    case ToolMode::BoxLeft:
        box.minX = std::min(box.minX - d, box.maxX - kMinSelectionBoxSize);
        break;
    case ToolMode::BoxFront:
        box.maxZ = std::max(box.maxZ + d, box.minZ + kMinSelectionBoxSize);
        break;
    case ToolMode::BoxBack:
        box.minZ = std::min(box.minZ - d, box.maxZ - kMinSelectionBoxSize);
        break;
    default:
        break;
    }
}

void MoveSelBox(CBox3& box, ToolMode side, double d) {
    auto shift = [](double& high, double& low, double by) {
        high += by;
        low += by;
    };
    switch (side) {
    case ToolMode::BoxTop:
        shift(box.maxY, box.minY, d);
        break;
    case ToolMode::BoxBottom:
        shift(box.maxY, box.minY, -d);
        break;
    case ToolMode::BoxRight:
        shift(box.maxX, box.minX, d);
        break;
    case ToolMode::BoxLeft:
        shift(box.maxX, box.minX, -d);
        break;
    case ToolMode::BoxFront:
        shift(box.maxZ, box.minZ, d);
        break;
    case ToolMode::BoxBack:
        shift(box.maxZ, box.minZ, -d);
        break;
    default:
        break;
    }
}

namespace {

namespace Id = CommandId;

// ---- Rules ---------------------------------------------------------------------------------

bool InBoxSideMode(const SViewContext& context, uint32_t) {
    return IsBoxSideMode(context.state.tool.mode);
}

bool InSelectOrBoxMode(const SViewContext& context, uint32_t) {
    return IsSelectOrBoxMode(context.state.tool.mode);
}

// ---- The box -------------------------------------------------------------------------------

SViewChange RunBoxShape(SViewContext& context, uint32_t command) {
    CViewState& state = context.state;
    if (command == Id::BoxMove) {
        MoveSelBox(state.boxAndMove.box, state.tool.mode, state.boxAndMove.step);
    } else {
        const double d = command == Id::BoxLarger ? state.boxAndMove.step : -state.boxAndMove.step;
        ResizeSelBox(state.boxAndMove.box, state.tool.mode, d);
    }
    return SViewChange::Redraw();
}

// "Selektieren" starts from an empty selection; the others apply their mode to what is inside.
SViewChange RunBoxSelect(SViewContext& context, uint32_t command) {
    if (context.dcmt == nullptr) {
        return SViewChange();
    }
    const int32_t material = context.GetCouplingMaterial();
    const double radiusSq = context.GetSnapRadiusSq();
    SelectionMode mode = SelectionMode::Select;
    if (command == Id::BoxDeselect) {
        mode = SelectionMode::Deselect;
    } else if (command == Id::BoxInvert) {
        mode = SelectionMode::Invert;
    }
    CZarnelDcmt& dcmt = *context.dcmt;
    try {
        dcmt.RunSelectionSteps([&] {
            if (command == Id::BoxSelect) {
                dcmt.ClearSelection(material, radiusSq);
            }
            return dcmt.SelectInBox(context.state.boxAndMove.box, mode, material, radiusSq);
        });
    } catch (const std::bad_alloc&) {
        ReportEditOutOfMemory();
        return SViewChange::Redraw();
    }
    SViewChange change;
    change.hint = ViewHint::Selection;
    return change;
}

// ---- Step and move options -----------------------------------------------------------------

struct SStep {
    uint32_t command;
    double step; // mm
};
constexpr std::array<SStep, 5> kSteps = {{{Id::Step5, 50.0},
                                          {Id::Step10, 100.0},
                                          {Id::Step20, 200.0},
                                          {Id::Step40, 400.0},
                                          {Id::Step80, 800.0}}};

double StepOf(uint32_t command) {
    for (const SStep& step : kSteps) {
        if (step.command == command) {
            return step.step;
        }
    }
    return 0.0;
}

SViewChange RunStep(SViewContext& context, uint32_t command) {
    context.state.boxAndMove.step = StepOf(command);
    return SViewChange();
}

bool IsStepChecked(const SViewContext& context, uint32_t command) {
    return context.state.boxAndMove.step == StepOf(command);
}

SViewChange RunMoveOption(SViewContext& context, uint32_t command) {
    CViewState& state = context.state;
    state.boxAndMove.adaptCouplings = command != Id::MoveKeepCouplings;
    state.boxAndMove.copyOnce = command == Id::MoveCopy;
    SViewChange change;
    if (command == Id::MoveKeepCouplings) {
        // The couplings' open ends show what moving without adapting leaves behind.
        change.invalidate = !HasFlag(state.display.flags, DrawFlags::ConnectorEnds);
        state.display.flags = state.display.flags | DrawFlags::ConnectorEnds;
    }
    return change;
}

bool IsMoveOptionChecked(const SViewContext& context, uint32_t command) {
    const CViewState& state = context.state;
    switch (command) {
    case Id::MoveAdaptCouplings:
        return state.boxAndMove.adaptCouplings && !state.boxAndMove.copyOnce;
    case Id::MoveKeepCouplings:
        return !state.boxAndMove.adaptCouplings && !state.boxAndMove.copyOnce;
    default:
        return state.boxAndMove.copyOnce;
    }
}

// ---- Moves ---------------------------------------------------------------------------------

struct SMove {
    uint32_t command;
    int x, y, z; // direction: -1, 0 or 1 per axis
};
constexpr std::array<SMove, 6> kMoves = {{{Id::MoveLeft, -1, 0, 0},
                                          {Id::MoveRight, 1, 0, 0},
                                          {Id::MoveDown, 0, -1, 0},
                                          {Id::MoveUp, 0, 1, 0},
                                          {Id::MoveBack, 0, 0, -1},
                                          {Id::MoveFront, 0, 0, 1}}};

// The document moves the selection in a revision of its own (none when nothing is selected) and
// tells every window; copying applies to this one move only.
SViewChange RunMove(SViewContext& context, uint32_t command) {
    CViewState& state = context.state;
    const auto move = std::find_if(kMoves.begin(), kMoves.end(),
                                   [command](const SMove& m) { return m.command == command; });
    if (context.dcmt != nullptr && move != kMoves.end()) {
        const double step = state.boxAndMove.step;
        try {
            context.dcmt->MoveSelection(move->x * step, move->y * step, move->z * step,
                                        context.GetCouplingMaterial(), context.GetSnapRadiusSq(),
                                        state.boxAndMove.adaptCouplings,
                                        state.boxAndMove.copyOnce);
        } catch (const std::bad_alloc&) {
            ReportEditOutOfMemory();
        }
    }
    state.boxAndMove.copyOnce = false;
    return SViewChange();
}

std::vector<SViewCommand> MakeBoxCommandRows() {
    std::vector<SViewCommand> rows;
    for (uint32_t command : {Id::BoxSmaller, Id::BoxLarger, Id::BoxMove}) {
        rows.push_back({command, RunBoxShape, InBoxSideMode, nullptr});
    }
    for (uint32_t command : {Id::BoxSelect, Id::BoxSelectAdd, Id::BoxInvert, Id::BoxDeselect}) {
        rows.push_back({command, RunBoxSelect, InBoxSideMode, nullptr});
    }
    for (const SStep& step : kSteps) {
        rows.push_back({step.command, RunStep, InSelectOrBoxMode, IsStepChecked});
    }
    for (uint32_t command : {Id::MoveAdaptCouplings, Id::MoveKeepCouplings, Id::MoveCopy}) {
        rows.push_back({command, RunMoveOption, InSelectOrBoxMode, IsMoveOptionChecked});
    }
    for (const SMove& move : kMoves) {
        rows.push_back({move.command, RunMove, InSelectOrBoxMode, nullptr});
    }
    return rows;
}

} // namespace

std::span<const SViewCommand> GetBoxCommandRows() {
    static const std::vector<SViewCommand> rows = MakeBoxCommandRows();
    return rows;
}
