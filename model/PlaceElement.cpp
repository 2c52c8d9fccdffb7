// Placing, deleting and turning one element, each in a revision of its own that opens only once
// the operation knows it will change something.
#include "model/PlaceElement.h"

#include <memory>

#include "model/PanelFit.h"
#include "model/ZarnelDcmt.h"

namespace {

using K = ElmntKind;

// Distances along the new element's own x axis (mm).
constexpr double BearingCouplingShift = 103.0;
constexpr double HoleCouplingShift = 50.0;

std::unique_ptr<CElmnt> CreateAttached(const CElmnt& target, const SAttachOrder& order,
                                       Revision r) {
    std::unique_ptr<CElmnt> created = target.CreateAttached(
        r, order.toolMode, order.kind, order.material, order.size1, order.size2, order.connection);
    if (created && order.kind == K::HoleConnector) {
        created->SetArmMasks(order.holeArms);
    }
    return created;
}

// A hole or flexible coupling, or a bolt, takes the place of the automatic coupling at its
// connection point 0: that coupling ends in the revision.
void EndAutomaticCouplingAt(CZarnelDcmt& dcmt, const CElmnt& created, Revision r,
                            double snapRadiusSq) {
    CElmnt* coupling =
        CElmnt::FindNearestCoupling(r, dcmt.GetElmntList(), created.GetConnFrame(0), snapRadiusSq);
    if (coupling != nullptr && coupling->kind == K::Connector) {
        coupling->endRevision = r;
    }
}

void FinishAtAxis(CZarnelDcmt& dcmt, CElmnt& created, Revision r, double snapRadiusSq) {
    if (created.kind == K::BearingConnector) {
        created.MoveLocalX(BearingCouplingShift);
    } else if (created.kind == K::HoleConnector || created.kind == K::FlexiConnector) {
        created.MoveLocalX(HoleCouplingShift);
        EndAutomaticCouplingAt(dcmt, created, r, snapRadiusSq);
    } else if (created.kind == K::Bolt) {
        EndAutomaticCouplingAt(dcmt, created, r, snapRadiusSq);
    }
}

// Turn, append, link, adjust, recount and tell: the common end of every placing.
ElmntId Insert(CZarnelDcmt& dcmt, std::unique_ptr<CElmnt> created, int turnCount, Revision r,
               const SLinkSettings& settings) {
    CElmntList& list = dcmt.GetElmntList();
    created->TurnElementTimes(&list, settings.couplingMaterial, settings.snapRadiusSq, turnCount);
    CElmnt& added = dcmt.AddElement(std::move(created));
    added.LinkEnds(r, list, settings.couplingMaterial, settings.snapRadiusSq);
    const ElmntId id = added.GetId();
    if (settings.autoAdjust) {
        dcmt.AdjustPending(settings.couplingMaterial, settings.snapRadiusSq);
    }
    dcmt.FinishChange(ViewHint::Insertion);
    return id;
}

} // namespace

ElmntId PlaceAttached(CZarnelDcmt& dcmt, const SAttachOrder& order, const SLinkSettings& settings) {
    // The rules of attaching are tried on the revision to come first, so that a click that
    // creates nothing opens no revision.
    const CElmnt* target = dcmt.FindElement(order.target);
    if (target == nullptr || !CreateAttached(*target, order, dcmt.GetCurrentRevision() + 1)) {
        return {};
    }
    const Revision r = dcmt.NewRevision();
    // Opening the revision may have folded the history: look the target up again.
    target = dcmt.FindElement(order.target);
    std::unique_ptr<CElmnt> created = target ? CreateAttached(*target, order, r) : nullptr;
    if (!created) {
        // The same rules on the same values: not reached. The revision stays empty.
        return {};
    }
    if (order.atAxis) {
        FinishAtAxis(dcmt, *created, r, settings.snapRadiusSq);
    }
    return Insert(dcmt, std::move(created), order.turnCount, r, settings);
}

ElmntId PlacePanelBetween(CZarnelDcmt& dcmt, const SPanelOrder& order,
                          const SLinkSettings& settings) {
    const CElmnt* first = dcmt.FindElement(order.firstTube);
    const CElmnt* second = dcmt.FindElement(order.secondTube);
    if (first == nullptr || second == nullptr || first == second || !IsPanelLike(order.kind) ||
        !CanHoldPanel(first, second, dcmt.GetCurrentRevision(), order.width, order.length, true,
                      true)) {
        return {};
    }
    const CTransform frame = GetPanelFrame(*first, *second, order.length);
    const bool fixed = second->fixed;
    const Revision r = dcmt.NewRevision();
    auto panel = std::make_unique<CElmnt>(dcmt.GetIdSource(), r, order.kind, order.material, frame,
                                          fixed, order.length, order.width);
    panel->SetPanelOffset();
    return Insert(dcmt, std::move(panel), order.turnCount, r, settings);
}

bool DeleteElement(CZarnelDcmt& dcmt, ElmntId id, const SLinkSettings& settings) {
    if (dcmt.FindElement(id) == nullptr) {
        return false;
    }
    const Revision r = dcmt.NewRevision();
    // Opening the revision may have folded the history: look the element up again.
    CElmnt* elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr) {
        return false;
    }
    elmnt->endRevision = r;
    elmnt->UnlinkEnds(r, dcmt.GetElmntList(), settings.couplingMaterial);
    if (settings.autoAdjust) {
        dcmt.AdjustPending(settings.couplingMaterial, settings.snapRadiusSq);
    }
    dcmt.FinishChange(ViewHint::Deletion);
    return true;
}

std::optional<int> TurnElement(CZarnelDcmt& dcmt, ElmntId id, int32_t couplingMaterial,
                               double snapRadiusSq) {
    CElmnt* elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr) {
        return std::nullopt;
    }
    CRevisionScope scope(dcmt);
    const int turns = elmnt->TurnElement(scope.GetRevision(), &dcmt.GetElmntList(),
                                         couplingMaterial, snapRadiusSq, false);
    if (!scope.Close()) {
        return std::nullopt;
    }
    dcmt.FinishChange(ViewHint::Change);
    return turns;
}
