// Placing, deleting and turning by mouse: the view picks and decides what to create or delete;
// the document's operations (model/PlaceElement.h) make the change in one revision.
#include "app/view/ViewPlacing.h"

#include <new>

#include "app/view/EditRefusal.h"

#include "model/PlaceElement.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

using K = ElmntKind;

constexpr uint32_t TextSelectionBufferLimit = 4192;
constexpr uint32_t TextFeedbackBufferLimit = 4193;
constexpr uint32_t TextDeleteAutoCoupling = 4194;

void ReportStop(uint32_t text) {
    ShowMessage(LoadLangText(text), {}, MsgButtons::Ok, MsgIcon::Error);
}

bool IsOneOf(K kind, std::initializer_list<K> kinds) {
    for (K k : kinds) {
        if (k == kind) {
            return true;
        }
    }
    return false;
}

// How the view's insertions and deletions link and adjust.
SLinkSettings LinkSettings(const SViewContext& context) {
    return {.couplingMaterial = context.GetCouplingMaterial(),
            .snapRadiusSq = context.GetSnapRadiusSq(),
            .autoAdjust = context.state.tool.autoAdjust};
}

// The tool's element at the connection of the target, with the view's kind, material, arms and
// turn count; atAxis: placed at a connection axis (the kind's own finishing).
SAttachOrder AttachOrder(const CViewState& state, ElmntId target, int connection,
                         std::pair<float, float> sizes, bool atAxis) {
    const ElmntKind kind = state.tool.kind;
    return {.target = target,
            .connection = connection,
            .toolMode = state.tool.mode,
            .kind = kind,
            .material = state.GetToolMaterial(kind),
            .size1 = sizes.first,
            .size2 = sizes.second,
            .holeArms = state.tool.holeArms,
            .atAxis = atAxis,
            .turnCount = state.tool.turnCount};
}

// Places what the order says; a beep when the rules of attaching create nothing.
SViewChange Place(SViewContext& context, const SAttachOrder& order) {
    const ElmntId placed = PlaceAttached(*context.dcmt, order, LinkSettings(context));
    if (!placed.IsValid()) {
        return SViewChange::Beep();
    }
    context.state.tool.placing = placed;
    return {};
}

} // namespace

SPickHit PickOrReport(CScenePicker& picker, int x, int y) {
    const SPickResult result = picker.Pick(x, y);
    if (result.bufferLimit) {
        ReportStop(TextSelectionBufferLimit);
        return {};
    }
    return result.hit;
}

std::optional<std::pair<float, float>> AxisPlacingSizes(const CViewState& state, ElmntKind kind) {
    using Sizes = std::pair<float, float>;
    if (kind == K::Tube || kind == K::Bolt) {
        return Sizes{state.tool.length, 0.0f};
    }
    if (kind == K::RoundTube) {
        return Sizes{350.0f, 0.0f};
    }
    if (IsPanelLike(kind)) {
        return Sizes{state.tool.panelLength, state.tool.panelWidth};
    }
    if (kind == K::Bearing) {
        return Sizes{50.0f, 0.0f};
    }
    if (IsOneOf(kind, {K::Connector, K::Casters, K::Adapter, K::OpenConnector, K::BearingConnector,
                       K::Connector45, K::HoleConnector, K::FlexiConnector, K::SteeringLock,
                       K::HubCap, K::TubeCap})) {
        return Sizes{0.0f, 0.0f};
    }
    return std::nullopt;
}

std::optional<std::pair<float, float>> PickedPlacingSizes(const CViewState& state, ElmntKind kind) {
    using Sizes = std::pair<float, float>;
    if (kind == K::Alu || kind == K::AluConnector) {
        return Sizes{state.tool.length, 0.0f};
    }
    if (IsOneOf(kind, {K::Slide, K::CurvedSlide, K::SlideEnd, K::Pool, K::PoolSmall, K::SlideNew,
                       K::MultiWheel, K::FloatingWheel, K::Bag, K::TextilRound, K::BearingConnector,
                       K::FlexiConnector, K::Clamp, K::Clip, K::Roof, K::RoofLarge})) {
        return Sizes{0.0f, 0.0f};
    }
    return std::nullopt;
}

SViewChange PlaceByFeedback(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    const SAxisResult axis = picker.NearestAxis(x, y);
    if (axis.bufferLimit) {
        ReportStop(TextFeedbackBufferLimit);
        return SViewChange::Beep();
    }
    if (!axis.hit.element.IsValid() || axis.hit.distance > kPlaceMaxDistance) {
        return SViewChange::Beep();
    }
    const ElmntKind kind = context.state.tool.kind;
    const auto sizes = AxisPlacingSizes(context.state, kind);
    if (!sizes) {
        return SViewChange::Beep();
    }
    return Place(context,
                 AttachOrder(context.state, axis.hit.element, axis.hit.connection, *sizes, true));
}

SViewChange PlaceOnPicked(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    const SPickHit hit = PickOrReport(picker, x, y);
    const auto sizes = PickedPlacingSizes(context.state, context.state.tool.kind);
    if (!hit.IsHit() || !sizes) {
        return SViewChange::Beep();
    }
    return Place(context, AttachOrder(context.state, hit.element, hit.sub, *sizes, false));
}

SViewChange PlacePanel(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    CViewState& state = context.state;
    const SPickHit hit = PickOrReport(picker, x, y);
    // Only a tube drawn as fitting the first one carries a sub-name; the first tube must still
    // be alive (an undo may have taken it away since the first click).
    if (!hit.IsHit() || hit.sub == -1) {
        return SViewChange::Beep();
    }
    const ElmntKind kind = state.tool.kind;
    const SPanelOrder order{.firstTube = state.tool.firstTube,
                            .secondTube = hit.element,
                            .kind = kind,
                            .material = state.GetToolMaterial(kind),
                            .length = state.tool.panelLength,
                            .width = state.tool.panelWidth,
                            .turnCount = state.tool.turnCount};
    const ElmntId placed = PlacePanelBetween(*context.dcmt, order, LinkSettings(context));
    if (!placed.IsValid()) {
        return SViewChange::Beep();
    }
    state.tool.placing = placed;
    return {};
}

SViewChange DeleteAt(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    CZarnelDcmt& dcmt = *context.dcmt;
    const SPickHit hit = PickOrReport(picker, x, y);
    const CElmnt* elmnt = hit.IsHit() ? dcmt.FindElement(hit.element) : nullptr;
    if (elmnt == nullptr) {
        // A click on nothing still runs the adjustment left pending (in the current revision,
        // as the click that left it would have), recounts and tells every window.
        if (context.state.tool.autoAdjust) {
            dcmt.AdjustPending(context.GetCouplingMaterial(), context.GetSnapRadiusSq());
        }
        dcmt.UpdatePartsList();
        dcmt.UpdateAllViews(ViewHint::Deletion);
        return SViewChange::Beep();
    }
    if (elmnt->kind == K::Connector && elmnt->GetOccupiedArms() != 0) {
        const MsgAnswer answer = GetUserInterface().AskYesNoDefaultNo(
            LoadLangText(TextDeleteAutoCoupling), {}, MsgIcon::Error);
        if (answer != MsgAnswer::Yes) {
            return {};
        }
    }
    if (!DeleteElement(dcmt, hit.element, LinkSettings(context))) {
        return SViewChange::Beep();
    }
    return {};
}

SViewChange TurnPlacedOrSelection(SViewContext& context) {
    if (context.dcmt == nullptr) {
        return SViewChange::Beep();
    }
    CZarnelDcmt& dcmt = *context.dcmt;
    const int32_t couplingMaterial = context.GetCouplingMaterial();
    const double snapRadiusSq = context.GetSnapRadiusSq();
    if (dcmt.FindElement(context.state.tool.placing) != nullptr) {
        const std::optional<int> turns =
            TurnElement(dcmt, context.state.tool.placing, couplingMaterial, snapRadiusSq);
        if (!turns) {
            return SViewChange::Beep();
        }
        context.state.tool.turnCount = *turns;
        return {};
    }
    try {
        if (!dcmt.TurnSelection(couplingMaterial, snapRadiusSq)) {
            return SViewChange::Beep();
        }
    } catch (const std::bad_alloc&) {
        ReportEditOutOfMemory();
    }
    return {};
}
