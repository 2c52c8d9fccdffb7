// The display and design-option commands of the 3D view: the display flags (without panels, only
// the selected elements for one frame, explosion drawing, connector ends), photo quality, the
// walkable height of each connected group, automatic position adjustment and the 15 cm snap.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/frame/CommandIds.h"
#include "app/view/ViewCommand.h"
#include "model/ZarnelDcmt.h"

namespace {

DrawFlags Toggled(DrawFlags flags, DrawFlags flag) {
    return HasFlag(flags, flag) ? flags & ~flag : flags | flag;
}

bool HasDrawFlag(const SViewContext& context, uint32_t command) {
    switch (command) {
    case CommandId::WithoutPanels:
        return HasFlag(context.state.display.flags, DrawFlags::WithoutPanels);
    case CommandId::Explosion:
        return HasFlag(context.state.display.flags, DrawFlags::Explosion);
    case CommandId::ConnectorEnds:
        return HasFlag(context.state.display.flags, DrawFlags::ConnectorEnds);
    default:
        return false;
    }
}

SViewChange RunDrawFlag(SViewContext& context, uint32_t command) {
    DrawFlags& flags = context.state.display.flags;
    switch (command) {
    case CommandId::WithoutPanels:
        flags = Toggled(flags, DrawFlags::WithoutPanels);
        break;
    case CommandId::Explosion:
        // The exploded parts show where they join: connector ends go on and off with it.
        if (HasFlag(flags, DrawFlags::Explosion)) {
            flags = flags & ~(DrawFlags::Explosion | DrawFlags::ConnectorEnds);
        } else {
            flags = flags | DrawFlags::Explosion | DrawFlags::ConnectorEnds;
        }
        break;
    case CommandId::ConnectorEnds:
        flags = Toggled(flags, DrawFlags::ConnectorEnds);
        break;
    default:
        return {};
    }
    return SViewChange::Redraw();
}

// One frame with only the selected elements, drawn at once; the next frame shows everything
// again. Pressed while that frame is on the screen, the window is only drawn again.
SViewChange RunOnlySelected(SViewContext& context, uint32_t) {
    SViewChange change;
    if (!HasFlag(context.state.display.lastDrawnFlags, DrawFlags::OnlySelected)) {
        context.state.display.nextFrameFlags = DrawFlags::OnlySelected;
        change.repaintNow = true;
    } else {
        change.invalidate = true;
    }
    return change;
}

bool IsShowingOnlySelected(const SViewContext& context, uint32_t) {
    return HasFlag(context.state.display.lastDrawnFlags, DrawFlags::OnlySelected);
}

SViewChange RunPhotoQuality(SViewContext& context, uint32_t) {
    context.state.display.photoQuality = !context.state.display.photoQuality;
    return SViewChange::Redraw();
}

bool IsPhotoQuality(const SViewContext& context, uint32_t) {
    return context.state.display.photoQuality;
}

// ---- Walk heights -----------------------------------------------------------------------------

// Over the couplings of each connected group: a child climbs as high as the group is narrow
// (its smaller floor side), at most to the group's top. A group without couplings has no area
// and gives no box.
std::vector<SWalkBox> ComputeWalkBoxes(CZarnelDcmt& dcmt) {
    std::vector<SWalkBox> boxes;
    const int groups = dcmt.CountGroups();
    for (int g = 1; g <= groups; ++g) {
        const CBox3 box = dcmt.GetGroupBox(g);
        if (!(box.minX <= box.maxX && box.minY <= box.maxY && box.minZ <= box.maxZ)) {
            continue;
        }
        const double side = std::min(box.maxX - box.minX, box.maxZ - box.minZ);
        const SWalkBox walk{box.minX, box.maxX, box.minZ, box.maxZ,
                            std::min(box.minY + side, box.maxY)};
        if (std::isfinite(walk.minX) && std::isfinite(walk.maxX) && std::isfinite(walk.minZ) &&
            std::isfinite(walk.maxZ) && std::isfinite(walk.height)) {
            boxes.push_back(walk);
        }
    }
    return boxes;
}

// A snapshot: the boxes stay as they are until the command is given twice.
SViewChange RunWalkHeight(SViewContext& context, uint32_t) {
    std::vector<SWalkBox>& boxes = context.state.display.walkBoxes;
    if (!boxes.empty()) {
        boxes.clear();
    } else if (context.dcmt != nullptr) {
        boxes = ComputeWalkBoxes(*context.dcmt);
    }
    return SViewChange::Redraw();
}

bool IsShowingWalkHeight(const SViewContext& context, uint32_t) {
    return !context.state.display.walkBoxes.empty();
}

// ---- Design options ---------------------------------------------------------------------------

// Switched on, the whole design is adjusted at once, in a revision of its own that can be
// undone; the design marks itself modified and tells every window. Switched off nothing moves.
SViewChange RunAutoAdjust(SViewContext& context, uint32_t) {
    bool& on = context.state.tool.autoAdjust;
    on = !on;
    if (on && context.dcmt != nullptr) {
        context.dcmt->AdjustAll(context.GetCouplingMaterial(), context.GetSnapRadiusSq());
    }
    return SViewChange::Redraw();
}

bool IsAutoAdjustOn(const SViewContext& context, uint32_t) {
    return context.state.tool.autoAdjust;
}

SViewChange RunWideSnap(SViewContext& context, uint32_t) {
    SViewChange change;
    change.wideSnap = !context.options.wideSnap;
    return change;
}

bool IsWideSnapOn(const SViewContext& context, uint32_t) {
    return context.options.wideSnap;
}

std::vector<SViewCommand> MakeDisplayCommandRows() {
    using namespace CommandId;
    return {
        {WithoutPanels, RunDrawFlag, nullptr, HasDrawFlag},
        {Explosion, RunDrawFlag, nullptr, HasDrawFlag},
        {ConnectorEnds, RunDrawFlag, nullptr, HasDrawFlag},
        {OnlySelected, RunOnlySelected, nullptr, IsShowingOnlySelected},
        {PhotoQuality, RunPhotoQuality, nullptr, IsPhotoQuality},
        {WalkHeight, RunWalkHeight, nullptr, IsShowingWalkHeight},
        {AutoAdjust, RunAutoAdjust, nullptr, IsAutoAdjustOn},
        {WideSnap, RunWideSnap, nullptr, IsWideSnapOn},
    };
}

} // namespace

std::span<const SViewCommand> GetDisplayCommandRows() {
    static const std::vector<SViewCommand> rows = MakeDisplayCommandRows();
    return rows;
}
