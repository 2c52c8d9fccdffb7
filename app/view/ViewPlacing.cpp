// Placing, deleting and turning by mouse: the decision first, then one revision.
#include "app/view/ViewPlacing.h"

#include <memory>

#include "model/Coupling.h"
#include "model/PanelFit.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

using K = ElmntKind;

constexpr uint32_t TextSelectionBufferLimit = 4192;
constexpr uint32_t TextFeedbackBufferLimit = 4193;
constexpr uint32_t TextDeleteAutoCoupling = 4194;

// Distances along the new element's own x axis (mm).
constexpr double BearingCouplingShift = 103.0;
constexpr double HoleCouplingShift = 50.0;

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

// What a placing click will create, decided before any revision opens.
struct SOrder {
    const CElmnt* target = nullptr;
    int connection = -1;
    K kind = K::None;
    int32_t material = 0;
    float size1 = 0.0f;
    float size2 = 0.0f;
};

std::unique_ptr<CElmnt> Create(const SViewContext& context, const SOrder& order, Revision r) {
    const CViewState& state = context.state;
    std::unique_ptr<CElmnt> created = order.target->CreateAttached(
        r, state.toolMode, order.kind, order.material, order.size1, order.size2, order.connection);
    if (created && order.kind == K::HoleConnector) {
        created->SetArmMasks(state.holeArms);
    }
    return created;
}

// A hole or flexible coupling, or a bolt, takes the place of the automatic coupling at its
// connection point 0: that coupling ends in the revision.
void EndAutomaticCouplingAt(const SViewContext& context, const CElmnt& created, Revision r) {
    CElmnt* coupling = CElmnt::FindNearestCoupling(
        r, context.dcmt->GetElmntList(), created.GetConnFrame(0), context.GetSnapRadiusSq());
    if (coupling != nullptr && coupling->kind == K::Connector) {
        coupling->endRevision = r;
    }
}

// Turn, append, link, adjust, recount and tell: the common end of every placing.
SViewChange Finish(SViewContext& context, std::unique_ptr<CElmnt> created, Revision r) {
    CZarnelDcmt& dcmt = *context.dcmt;
    CElmntList& list = dcmt.GetElmntList();
    const int32_t couplingMaterial = context.GetCouplingMaterial();
    const double snapRadiusSq = context.GetSnapRadiusSq();
    created->TurnElementTimes(&list, couplingMaterial, snapRadiusSq, context.state.turnCount);
    CElmnt& added = dcmt.AddElement(std::move(created));
    context.state.placing = added.GetId();
    added.LinkEnds(r, list, couplingMaterial, snapRadiusSq);
    if (context.state.autoAdjust) {
        dcmt.AdjustPending(couplingMaterial, snapRadiusSq);
    }
    dcmt.FinishChange(ViewHint::Insertion);
    return {};
}

// Creates what the order says in a new revision; a beep, and no revision, when the rules of
// attaching create nothing.
SViewChange Place(SViewContext& context, const SOrder& order, bool kindMoves) {
    CZarnelDcmt& dcmt = *context.dcmt;
    if (!Create(context, order, dcmt.GetCurrentRevision() + 1)) {
        return SViewChange::Beep();
    }
    const Revision r = dcmt.NewRevision();
    std::unique_ptr<CElmnt> created = Create(context, order, r);
    if (!created) {
        // The same rules on the same values: not reached. The revision stays empty.
        return SViewChange::Beep();
    }
    if (kindMoves) {
        if (order.kind == K::BearingConnector) {
            created->MoveLocalX(BearingCouplingShift);
        } else if (order.kind == K::HoleConnector || order.kind == K::FlexiConnector) {
            created->MoveLocalX(HoleCouplingShift);
            EndAutomaticCouplingAt(context, *created, r);
        } else if (order.kind == K::Bolt) {
            EndAutomaticCouplingAt(context, *created, r);
        }
    }
    return Finish(context, std::move(created), r);
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
        return Sizes{state.toolLength, 0.0f};
    }
    if (kind == K::RoundTube) {
        return Sizes{350.0f, 0.0f};
    }
    if (IsPanelLike(kind)) {
        return Sizes{state.panelLength, state.panelWidth};
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
        return Sizes{state.toolLength, 0.0f};
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
    const CElmnt* target = context.dcmt->FindElement(axis.hit.element);
    const ElmntKind kind = context.state.toolKind;
    const auto sizes = AxisPlacingSizes(context.state, kind);
    if (target == nullptr || !sizes) {
        return SViewChange::Beep();
    }
    const SOrder order{target,       axis.hit.connection, kind, context.state.GetToolMaterial(kind),
                       sizes->first, sizes->second};
    return Place(context, order, true);
}

SViewChange PlaceOnPicked(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    const SPickHit hit = PickOrReport(picker, x, y);
    const CElmnt* target = hit.IsHit() ? context.dcmt->FindElement(hit.element) : nullptr;
    const ElmntKind kind = context.state.toolKind;
    const auto sizes = PickedPlacingSizes(context.state, kind);
    if (target == nullptr || !sizes) {
        return SViewChange::Beep();
    }
    const SOrder order{target,       hit.sub,      kind, context.state.GetToolMaterial(kind),
                       sizes->first, sizes->second};
    return Place(context, order, false);
}

SViewChange PlacePanel(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    CZarnelDcmt& dcmt = *context.dcmt;
    CViewState& state = context.state;
    const SPickHit hit = PickOrReport(picker, x, y);
    // Only a tube drawn as fitting the first one carries a sub-name; the first tube must still
    // be alive (an undo may have taken it away since the first click).
    const CElmnt* second = hit.IsHit() && hit.sub != -1 ? dcmt.FindElement(hit.element) : nullptr;
    const CElmnt* first = dcmt.FindElement(state.firstTube);
    const ElmntKind kind = state.toolKind;
    if (second == nullptr || first == nullptr || first == second || !IsPanelLike(kind) ||
        !CanHoldPanel(first, second, dcmt.GetCurrentRevision(), state.panelWidth, state.panelLength,
                      true, true)) {
        return SViewChange::Beep();
    }
    const CTransform frame = GetPanelFrame(*first, *second, state.panelLength);
    const bool fixed = second->fixed;
    const Revision r = dcmt.NewRevision();
    auto panel = std::make_unique<CElmnt>(dcmt.GetIdSource(), r, kind, state.GetToolMaterial(kind),
                                          frame, fixed, state.panelLength, state.panelWidth);
    panel->SetPanelOffset();
    return Finish(context, std::move(panel), r);
}

SViewChange DeleteAt(SViewContext& context, CScenePicker& picker, int x, int y) {
    if (context.dcmt == nullptr) {
        return {};
    }
    CZarnelDcmt& dcmt = *context.dcmt;
    const SPickHit hit = PickOrReport(picker, x, y);
    CElmnt* elmnt = hit.IsHit() ? dcmt.FindElement(hit.element) : nullptr;
    if (elmnt == nullptr) {
        // A click on nothing still runs the adjustment left pending (in the current revision,
        // as the click that left it would have), recounts and tells every window.
        if (context.state.autoAdjust) {
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
    const ElmntId id = elmnt->GetId();
    const Revision r = dcmt.NewRevision();
    // Opening the revision may have folded the history: look the element up again.
    elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr) {
        return SViewChange::Beep();
    }
    elmnt->endRevision = r;
    elmnt->UnlinkEnds(r, dcmt.GetElmntList(), context.GetCouplingMaterial());
    if (context.state.autoAdjust) {
        dcmt.AdjustPending(context.GetCouplingMaterial(), context.GetSnapRadiusSq());
    }
    dcmt.FinishChange(ViewHint::Deletion);
    return {};
}

SViewChange TurnPlacedOrSelection(SViewContext& context) {
    if (context.dcmt == nullptr) {
        return SViewChange::Beep();
    }
    CZarnelDcmt& dcmt = *context.dcmt;
    const int32_t couplingMaterial = context.GetCouplingMaterial();
    const double snapRadiusSq = context.GetSnapRadiusSq();
    if (CElmnt* placing = dcmt.FindElement(context.state.placing)) {
        CRevisionScope scope(dcmt);
        const int turns = placing->TurnElement(scope.GetRevision(), &dcmt.GetElmntList(),
                                               couplingMaterial, snapRadiusSq, false);
        if (!scope.Close()) {
            return SViewChange::Beep();
        }
        context.state.turnCount = turns;
        dcmt.FinishChange(ViewHint::Change);
        return {};
    }
    if (!dcmt.TurnSelection(couplingMaterial, snapRadiusSq)) {
        return SViewChange::Beep();
    }
    return {};
}
