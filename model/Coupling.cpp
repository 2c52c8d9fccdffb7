// Automatic couplings: finding or creating the coupling at each tube end and panel corner,
// occupying and freeing its arms and corner slots, and ending couplings left with nothing
// attached, all inside one revision of the history.
#include "model/Coupling.h"

#include <cassert>
#include <stdexcept>
#include <vector>

#include "model/CouplingIndex.h"
#include "model/Elmnt.h"
#include "model/ElmntList.h"
#include "support/LangText.h"
#include "support/Orientation.h"
#include "support/UserInterface.h"

namespace {

bool IsHoleOrFlexi(ElmntKind kind) {
    return kind == ElmntKind::HoleConnector || kind == ElmntKind::FlexiConnector;
}

// A plain coupling holds nothing when no arm is occupied and every arm and corner slot is free.
bool WouldHoldNothing(uint32_t occupied, uint32_t free, uint32_t freeCornerSlots) {
    return occupied == 0 && free == ArmMaskAll && freeCornerSlots == CornerSlotMaskAll;
}

void ShowNotAtRightAngle() {
    ShowMessage(LoadLangText(TextNotAtRightAngle), {}, MsgButtons::Ok, MsgIcon::Error);
}

// The search for the nearest coupling: candidates offered in list order keep the first of the
// nearest that pass.
template <class Filter> class CNearestCoupling {
public:
    CNearestCoupling(Revision r, const CVector3& point, double radiusSq, const CElmnt* exclude,
                     Filter& filter)
        : m_revision(r), m_point(point), m_best(radiusSq), m_exclude(exclude), m_filter(filter) {}

    void Offer(CElmnt* candidate) {
        if (candidate == m_exclude || !HasKindBits(candidate->kind, KindBit::CouplingLike) ||
            !candidate->IsAliveAt(m_revision) || !m_filter(*candidate)) {
            return;
        }
        const int points = candidate->kind == ElmntKind::Bolt ? 2 : 1;
        for (int n = 0; n < points; ++n) {
            const double d = CVector3::DistSq(candidate->GetConnPoint(n), m_point);
            if (d < m_best) {
                m_best = d;
                m_found = candidate;
            }
        }
    }
    void OfferAll(const CElmntList& list) {
        for (std::size_t i = 0; i < list.Size(); ++i) {
            Offer(list.GetAt(i));
        }
    }
    CElmnt* GetFound() const { return m_found; }

private:
    Revision m_revision;
    CVector3 m_point;
    double m_best;
    const CElmnt* m_exclude;
    Filter& m_filter;
    CElmnt* m_found = nullptr;
};

// The coupling-like element alive at r, other than exclude, that passes the filter and whose
// connection point 0 (a bolt's also 1) is nearest to the frame's point, strictly within the
// squared radius; on equal distances the earlier element in the list. Within an edit that keeps
// an index of the couplings only those near the point are measured.
template <class Filter>
CElmnt* FindCoupling(Revision r, const CElmntList& list, const CTransform& frame, double radiusSq,
                     const CElmnt* exclude, Filter filter) {
    CNearestCoupling<Filter> nearest(r, frame.translation, radiusSq, exclude, filter);
    CCouplingIndex* index = list.GetCouplingIndex();
    const std::vector<CElmnt*>* near = index != nullptr && index->GetRevision() == r
                                           ? index->Near(frame.translation, radiusSq)
                                           : nullptr;
    if (near == nullptr) {
        nearest.OfferAll(list);
        return nearest.GetFound();
    }
    for (CElmnt* candidate : *near) {
        nearest.Offer(candidate);
    }
#ifndef NDEBUG
    CNearestCoupling<Filter> walked(r, frame.translation, radiusSq, exclude, filter);
    walked.OfferAll(list);
    assert(nearest.GetFound() == walked.GetFound() && "the index left out a coupling");
#endif
    return nearest.GetFound();
}

// The coupling that holds a tube end or panel corner: the nearest within the widest snap
// radius whose arm (or corner slot) for this frame is taken. Searching the widest radius finds
// a coupling linked while the 15 cm option was on even when it is off now; asking for the
// taken arm keeps a coupling that merely stands near, or never took this end, from being
// freed. Hole and flexible couplings take ends without marking arms, so for ends they count
// as holding.
CElmnt* FindCouplingHoldingEnd(Revision r, const CElmntList& list, const CTransform& endFrame,
                               const CElmnt* exclude) {
    return FindCoupling(
        r, list, endFrame, CouplingSnap::WideSq, exclude, [&](const CElmnt& coupling) {
            if (IsHoleOrFlexi(coupling.kind)) {
                return true;
            }
            const uint32_t arm = uint32_t(ClassifySide(coupling.GetConnFrame(0), endFrame, 0));
            return arm != 0 && (coupling.GetOccupiedArms() & arm) != 0;
        });
}

CElmnt* FindCouplingHoldingCorner(Revision r, const CElmntList& list, const CTransform& cornerFrame,
                                  const CElmnt* exclude) {
    return FindCoupling(
        r, list, cornerFrame, CouplingSnap::WideSq, exclude, [&](const CElmnt& coupling) {
            const uint32_t slot = uint32_t(ClassifyEdge(coupling.GetConnFrame(0), cornerFrame));
            return slot != 0 && (coupling.GetFreeCornerSlots() & slot) == 0;
        });
}

} // namespace

CElmnt* CElmnt::FindNearestCoupling(Revision r, const CElmntList& list, const CTransform& frame,
                                    double snapRadiusSq, const CElmnt* exclude) {
    return FindCoupling(r, list, frame, snapRadiusSq, exclude, [](const CElmnt&) { return true; });
}

void CElmnt::LinkEnds(Revision r, CElmntList& list, int32_t couplingMaterial, double snapRadiusSq) {
    if (!IsValidMaterialSlot(couplingMaterial)) {
        throw std::invalid_argument("coupling material outside the material table");
    }
    if (floating) {
        return;
    }
    if (HasKindBits(kind, KindBit::EndsTakeCouplings)) {
        LinkCouplingsAtEnds(r, list, couplingMaterial, snapRadiusSq);
    } else if (HasKindBits(kind, KindBit::PanelLike)) {
        LinkCouplingsAtCorners(r, list, couplingMaterial, snapRadiusSq);
    }
}

void CElmnt::UnlinkEnds(Revision r, CElmntList& list, int32_t couplingMaterial) {
    if (!IsValidMaterialSlot(couplingMaterial)) {
        throw std::invalid_argument("coupling material outside the material table");
    }
    if (floating) {
        return;
    }
    if (HasKindBits(kind, KindBit::EndsTakeCouplings)) {
        ReleaseCouplingsAtEnds(r, list, couplingMaterial);
    } else if (HasKindBits(kind, KindBit::PanelLike)) {
        ReleaseCouplingsAtCorners(r, list, couplingMaterial);
    }
}

CElmnt& CElmnt::CreateCoupling(const CTransform& frame, Revision r, CElmntList& list,
                               int32_t couplingMaterial) {
    auto coupling = std::make_unique<CElmnt>(GetIdSource(), r, ElmntKind::Connector,
                                             couplingMaterial, frame, fixed, 0.0f, 0.0f);
    coupling->placement.AlignToWorld();
    return list.Append(std::move(coupling));
}

void CElmnt::LinkCouplingsAtEnds(Revision r, CElmntList& list, int32_t couplingMaterial,
                                 double snapRadiusSq) {
    const int ends = HasKindBits(kind, KindBit::SecondEnd) ? 2 : 1;
    for (int end = 0; end < ends; ++end) {
        const CTransform endFrame = GetEndFrame(end);
        CElmnt* coupling = FindNearestCoupling(r, list, endFrame, snapRadiusSq, this);
        if (coupling != nullptr) {
            coupling->BeginChange(r, list, couplingMaterial);
            if (fixed && !coupling->fixed) {
                SetOwnFlags(false, adjustPending, r, list, couplingMaterial);
            }
        } else {
            coupling = &CreateCoupling(endFrame, r, list, couplingMaterial);
            if (m_directions != 0) {
                coupling->m_directions = ArmMaskAll;
            }
        }
        coupling->AttachToCoupling(endFrame);
    }
    if (!fixed) {
        SetOwnFlags(fixed, true, r, list, couplingMaterial);
    }
}

void CElmnt::LinkCouplingsAtCorners(Revision r, CElmntList& list, int32_t couplingMaterial,
                                    double snapRadiusSq) {
    for (int corner = 0; corner < 4; ++corner) {
        const CTransform cornerFrame = GetCornerFrame(corner);
        CElmnt* coupling = FindNearestCoupling(r, list, cornerFrame, snapRadiusSq, this);
        if (coupling != nullptr) {
            coupling->BeginChange(r, list, couplingMaterial);
        } else {
            coupling = &CreateCoupling(cornerFrame, r, list, couplingMaterial);
        }
        const bool couplingFixed = coupling->AttachCornerToCoupling(cornerFrame);
        if (fixed && !couplingFixed) {
            SetOwnFlags(false, adjustPending, r, list, couplingMaterial);
        }
    }
    if (!fixed) {
        SetOwnFlags(fixed, true, r, list, couplingMaterial);
    }
}

void CElmnt::AttachToCoupling(const CTransform& endFrame) {
    if (IsHoleOrFlexi(kind)) {
        return;
    }
    const uint32_t arm = uint32_t(ClassifySide(GetConnFrame(0), endFrame, 0));
    if (arm == 0) {
        ShowNotAtRightAngle();
    } else {
        m_occupiedArms |= arm;
        m_freeArms &= ~arm;
    }
    if (!fixed) {
        adjustPending = true;
    }
}

bool CElmnt::AttachCornerToCoupling(const CTransform& cornerFrame) {
    const uint32_t slot = uint32_t(ClassifyEdge(GetConnFrame(0), cornerFrame));
    if (slot == 0) {
        ShowNotAtRightAngle();
    } else {
        m_freeCornerSlots &= ~slot;
    }
    if (!fixed) {
        adjustPending = true;
    }
    return fixed;
}

void CElmnt::ReleaseCouplingsAtEnds(Revision r, CElmntList& list, int32_t couplingMaterial) {
    const bool alive = IsAliveAt(r);
    const int ends = HasKindBits(kind, KindBit::SecondEnd) ? 2 : 1;
    for (int end = 0; end < ends; ++end) {
        const CTransform endFrame = GetEndFrame(end);
        CElmnt* coupling = FindCouplingHoldingEnd(r, list, endFrame, this);
        if (coupling == nullptr) {
            continue;
        }
        coupling->ReleaseArm(endFrame, r, list, couplingMaterial);
        if (alive && fixed && !coupling->fixed) {
            SetOwnFlags(false, adjustPending, r, list, couplingMaterial);
        }
    }
    if (alive && !fixed) {
        SetOwnFlags(fixed, true, r, list, couplingMaterial);
    }
}

void CElmnt::ReleaseCouplingsAtCorners(Revision r, CElmntList& list, int32_t couplingMaterial) {
    const bool alive = IsAliveAt(r);
    for (int corner = 0; corner < 4; ++corner) {
        const CTransform cornerFrame = GetCornerFrame(corner);
        CElmnt* coupling = FindCouplingHoldingCorner(r, list, cornerFrame, this);
        if (coupling == nullptr) {
            continue;
        }
        const bool couplingFixed =
            coupling->ReleaseCornerSlot(cornerFrame, r, list, couplingMaterial);
        if (alive && fixed && !couplingFixed) {
            SetOwnFlags(false, adjustPending, r, list, couplingMaterial);
        }
    }
    if (alive && !fixed) {
        SetOwnFlags(fixed, true, r, list, couplingMaterial);
    }
}

void CElmnt::SetOwnFlags(bool newFixed, bool newAdjustPending, Revision r, CElmntList& list,
                         int32_t couplingMaterial) {
    if (newFixed == fixed && newAdjustPending == adjustPending) {
        return;
    }
    // The state before this revision keeps its flags: undo must bring them back.
    if (IsAliveAt(r)) {
        BeginChange(r, list, couplingMaterial);
    }
    fixed = newFixed;
    adjustPending = newAdjustPending;
}

void CElmnt::ReleaseArm(const CTransform& endFrame, Revision r, CElmntList& list,
                        int32_t couplingMaterial) {
    if (IsHoleOrFlexi(kind)) {
        return;
    }
    const uint32_t arm = uint32_t(ClassifySide(GetConnFrame(0), endFrame, 0));
    if (WouldHoldNothing(m_occupiedArms & ~arm, m_freeArms | arm, m_freeCornerSlots)) {
        // The last state stays as it was, so that undo brings the coupling back holding the arm.
        endRevision = r;
        return;
    }
    BeginChange(r, list, couplingMaterial);
    m_occupiedArms &= ~arm;
    m_freeArms |= arm;
    if (!fixed) {
        adjustPending = true;
    }
}

bool CElmnt::ReleaseCornerSlot(const CTransform& cornerFrame, Revision r, CElmntList& list,
                               int32_t couplingMaterial) {
    const uint32_t slot = uint32_t(ClassifyEdge(GetConnFrame(0), cornerFrame));
    if (WouldHoldNothing(m_occupiedArms, m_freeArms, m_freeCornerSlots | slot)) {
        endRevision = r;
        return fixed;
    }
    BeginChange(r, list, couplingMaterial);
    m_freeCornerSlots |= slot;
    if (!fixed) {
        adjustPending = true;
    }
    return fixed;
}
