// Collecting, solving and writing back the position adjustment, and the document's pending and
// full adjustment.
//
// Collecting walks outward from the start element. A coupling makes its three shift unknowns and
// collects, in list order, every unfixed element alive at the revision whose end or panel corner
// lies within 40 mm of its connection point (those it measures come from an index of ends and
// corners by place, in list order, so that collecting takes time linear in the design). A tube
// makes its correction unknown, finds the couplings nearest its two ends (within the snap radius),
// collects those that are unfixed and have no unknowns yet, and then writes three equations: the
// tube, of its effective length plus the correction, must lead from one coupling's point to the
// other's after both have moved. A panel does the same with its four corners and two corrections,
// in twelve equations. Each element gets unknowns at most once, because it is collected only while
// it has none and makes them before it looks at its neighbours. The walk keeps its own stack of
// frames instead of recursing, so a long chain of tubes cannot exhaust the call stack; the order of
// unknowns and equations is that of the recursive walk.
#include "model/AdjustPositions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/CouplingIndex.h"
#include "model/ElmntList.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// Ends and corners meet a coupling closer than 40 mm (squared mm²).
constexpr double NeighbourSq = 1600.0;
// The couplings' share of a tube's or panel's length between coupling centres (mm).
constexpr double CouplingShare = 50.0;

bool HasShiftUnknowns(ElmntKind kind) {
    return kind == ElmntKind::Connector || kind == ElmntKind::Connector45;
}

bool IsFitTube(ElmntKind kind) {
    return kind == ElmntKind::Tube || kind == ElmntKind::RoundTube;
}

// The panel kinds whose corners are fitted: not the seat back.
bool IsFitPanel(ElmntKind kind) {
    switch (kind) {
    case ElmntKind::Panel:
    case ElmntKind::Display:
    case ElmntKind::Wood:
    case ElmntKind::WoodKnob:
    case ElmntKind::RoundWood:
    case ElmntKind::WoodBed:
    case ElmntKind::Textil:
    case ElmntKind::Lattice:
        return true;
    default:
        return false;
    }
}

double Component(CVector3 v, int k) {
    return k == 0 ? v.x : (k == 1 ? v.y : v.z);
}

bool Near(CVector3 a, CVector3 b) {
    return CVector3::DistSq(a, b) < NeighbourSq;
}


// "Die Positionen konnten nicht angepasst werden: ..."
constexpr uint32_t TextPositionsNotAdjusted = 4400;

} // namespace

void CFitNeighbours::Near(const CVector3& p, std::vector<uint32_t>& near) {
    CListPointGrid::Near(p, std::sqrt(NeighbourSq) + 1.0, near); // a margin against rounding
}

void CFitNeighbours::EnterPoints(const CElmnt& elmnt, uint32_t position) {
    if (HasKindBits(elmnt.kind, KindBit::EndsTakeCouplings)) {
        EnterPoint(elmnt.GetEndFrame(0).translation, position);
    }
    if (HasKindBits(elmnt.kind, KindBit::SecondEnd)) {
        EnterPoint(elmnt.GetEndFrame(1).translation, position);
    }
    if (IsPanelLike(elmnt.kind)) {
        for (int corner = 0; corner < 4; ++corner) {
            EnterPoint(elmnt.GetCornerFrame(corner).translation, position);
        }
    }
}

void SFitEqtn::AddTerm(const SFitVar& var, double coefficient) {
    for (STerm& term : terms) {
        if (term.index == var.index) {
            term.coefficient += coefficient;
            return;
        }
    }
    terms.push_back({var.index, coefficient});
}

bool SFitVar::WriteBack(const CFitVctr& x, Revision r, CElmntList& list,
                        int32_t couplingMaterial) const {
    const double v = x[index];
    // The shift of the coupling the element follows, each component as the coupling takes it.
    auto moved = [](double d) { return std::fabs(d) >= FitNegligibleMove ? d : 0.0; };
    CVector3 shift;
    if (linkedIndex >= 0) {
        shift = {moved(FitCouplingWeight * x[linkedIndex]),
                 moved(FitCouplingWeight * x[linkedIndex + 1]),
                 moved(FitCouplingWeight * x[linkedIndex + 2])};
    }
    const bool shifts = shift != CVector3();
    auto changes = [](double solved, float stored) {
        return std::fabs(solved - static_cast<double>(stored)) >= FitNegligibleMove;
    };
    CElmnt& e = *elmnt;
    switch (kind) {
    case FitVarKind::Correction: {
        if (!changes(v, e.correction) && !shifts) {
            return false;
        }
        e.BeginChange(r, list, couplingMaterial);
        e.correction = static_cast<float>(v);
        if (shifts) {
            e.Translate(shift.x, shift.y, shift.z);
        }
        return true;
    }
    case FitVarKind::PanelCorrection: {
        const bool grows = changes(v, e.correction);
        if (!grows && !shifts) {
            return false;
        }
        e.BeginChange(r, list, couplingMaterial);
        if (grows) {
            e.placement.MoveY((v - double(e.correction)) * 0.5);
            e.correction = static_cast<float>(v);
        }
        if (shifts) {
            e.Translate(shift.x, shift.y, shift.z);
        }
        return true;
    }
    case FitVarKind::PanelSecondCorrection: {
        if (!changes(v, e.secondCorrection)) {
            return false;
        }
        e.BeginChange(r, list, couplingMaterial);
        e.placement.MoveX((v - double(e.secondCorrection)) * 0.5);
        e.secondCorrection = static_cast<float>(v);
        return true;
    }
    case FitVarKind::ShiftX:
    case FitVarKind::ShiftY:
    case FitVarKind::ShiftZ: {
        const double d = moved(FitCouplingWeight * v);
        if (d == 0.0) {
            return false;
        }
        e.BeginChange(r, list, couplingMaterial);
        CVector3& t = e.placement.translation;
        (kind == FitVarKind::ShiftX ? t.x : (kind == FitVarKind::ShiftY ? t.y : t.z)) += d;
        return true;
    }
    }
    return false;
}

// One element being collected, with where its walk stands.
struct CFitSystem::SFrame {
    enum class Role { Coupling, Tube, Panel, Done };

    CElmnt* elmnt = nullptr;
    Role role = Role::Done;
    int firstVar = -1;
    // Coupling: its connection point, the list positions to look at (unless it walks the whole
    // list), the one being looked at (an index into them, or the list position when walking) and
    // the test at that position (-1 the ends, 0 to 3 the corners).
    CVector3 point;
    std::vector<uint32_t> candidates;
    bool walk = false;
    std::size_t pos = 0;
    int corner = -1;
    // Tube and panel: the couplings at the ends or corners, and the next one to collect.
    std::array<CElmnt*, 4> couplings{};
    int couplingCount = 0;
    int next = 0;
};

int CFitSystem::AddVar(CElmnt& elmnt, FitVarKind kind) {
    const int index = static_cast<int>(m_vars.size());
    m_vars.push_back({kind, &elmnt, index});
    m_firstVar.try_emplace(&elmnt, index);
    return index;
}

const SFitVar* CFitSystem::FindVar(const CElmnt& elmnt) const {
    auto found = m_firstVar.find(&elmnt);
    return found == m_firstVar.end() ? nullptr : &m_vars[static_cast<std::size_t>(found->second)];
}

CFitSystem::SFrame CFitSystem::Enter(CElmnt& elmnt, Revision r, const CElmntList& list,
                                     double snapRadiusSq, CFitNeighbours& neighbours) {
    elmnt.adjustPending = false;
    SFrame frame;
    frame.elmnt = &elmnt;
    if (HasShiftUnknowns(elmnt.kind)) {
        frame.role = SFrame::Role::Coupling;
        frame.firstVar = AddVar(elmnt, FitVarKind::ShiftX);
        AddVar(elmnt, FitVarKind::ShiftY);
        AddVar(elmnt, FitVarKind::ShiftZ);
        frame.point = elmnt.GetConnPoint(0);
        frame.walk = m_search == FitNeighbourSearch::WalkList;
        if (!frame.walk) {
            neighbours.Near(frame.point, frame.candidates);
        }
    } else if (IsFitTube(elmnt.kind)) {
        frame.firstVar = AddVar(elmnt, FitVarKind::Correction);
        for (int end = 0; end < 2; ++end) {
            CElmnt* coupling =
                CElmnt::FindNearestCoupling(r, list, elmnt.GetEndFrame(end), snapRadiusSq, &elmnt);
            if (coupling == nullptr) {
                return frame; // an open end: the correction gets no equation and comes out 0
            }
            frame.couplings[static_cast<std::size_t>(end)] = coupling;
        }
        frame.role = SFrame::Role::Tube;
        frame.couplingCount = 2;
    } else if (IsFitPanel(elmnt.kind)) {
        frame.firstVar = AddVar(elmnt, FitVarKind::PanelCorrection);
        AddVar(elmnt, FitVarKind::PanelSecondCorrection);
        for (int corner = 0; corner < 4; ++corner) {
            CElmnt* coupling = CElmnt::FindNearestCoupling(r, list, elmnt.GetCornerFrame(corner),
                                                           snapRadiusSq, &elmnt);
            if (coupling == nullptr) {
                return frame;
            }
            frame.couplings[static_cast<std::size_t>(corner)] = coupling;
        }
        frame.role = SFrame::Role::Panel;
        frame.couplingCount = 4;
    }
    return frame;
}

CElmnt* CFitSystem::Resume(SFrame& frame, Revision r, const CElmntList& list) {
    switch (frame.role) {
    case SFrame::Role::Coupling:
        for (const std::size_t end = frame.walk ? list.Size() : frame.candidates.size();
             frame.pos < end; ++frame.pos, frame.corner = -1) {
            CElmnt& n = *list.GetAt(frame.walk ? frame.pos : frame.candidates[frame.pos]);
            if (!n.IsAliveAt(r) || n.fixed) {
                continue;
            }
            if (frame.corner < 0) {
                frame.corner = 0;
                const bool endNear = (HasKindBits(n.kind, KindBit::EndsTakeCouplings) &&
                                      Near(n.GetEndFrame(0).translation, frame.point)) ||
                                     (HasKindBits(n.kind, KindBit::SecondEnd) &&
                                      Near(n.GetEndFrame(1).translation, frame.point));
                if (endNear && !HasVar(n)) {
                    return &n;
                }
            }
            if (IsPanelLike(n.kind)) {
                while (frame.corner < 4) {
                    const int corner = frame.corner++;
                    if (Near(n.GetCornerFrame(corner).translation, frame.point) && !HasVar(n)) {
                        return &n;
                    }
                }
            }
        }
        return nullptr;
    case SFrame::Role::Tube:
    case SFrame::Role::Panel:
        while (frame.next < frame.couplingCount) {
            CElmnt* coupling = frame.couplings[static_cast<std::size_t>(frame.next++)];
            if (!HasVar(*coupling) && !coupling->fixed) {
                return coupling;
            }
        }
        if (frame.role == SFrame::Role::Tube) {
            AddTubeEquations(frame);
        } else {
            AddPanelEquations(frame);
        }
        return nullptr;
    case SFrame::Role::Done:
        return nullptr;
    }
    return nullptr;
}

void CFitSystem::AddTubeEquations(const SFrame& frame) {
    const CElmnt& tube = *frame.elmnt;
    const CElmnt& c0 = *frame.couplings[0];
    const CElmnt& c1 = *frame.couplings[1];
    const SFitVar* shift0 = FindVar(c0);
    const SFitVar* shift1 = FindVar(c1);
    SFitVar& var = m_vars[static_cast<std::size_t>(frame.firstVar)];
    if (shift0 != nullptr) {
        var.linkedIndex = shift0->index;
    }

    // The bent tube leads along its local X and Y at once.
    CVector3 dir = tube.placement.rotation.GetColumn(0);
    if (tube.kind == ElmntKind::RoundTube) {
        dir = dir + tube.placement.rotation.GetColumn(1);
    }
    const double length = double(tube.length) + CouplingShare;
    const CVector3 p0 = c0.GetConnPoint(0);
    const CVector3 p1 = c1.GetConnPoint(0);
    for (int k = 0; k < 3; ++k) {
        SFitEqtn& eq = m_eqtns.emplace_back();
        eq.AddTerm(m_vars[static_cast<std::size_t>(frame.firstVar)], Component(dir, k));
        if (shift0 != nullptr) {
            eq.AddTerm(m_vars[static_cast<std::size_t>(shift0->index + k)], FitCouplingWeight);
        }
        if (shift1 != nullptr) {
            eq.AddTerm(m_vars[static_cast<std::size_t>(shift1->index + k)], -FitCouplingWeight);
        }
        eq.AddRhs(-length * Component(dir, k) - Component(p0, k) + Component(p1, k));
    }
}

void CFitSystem::AddPanelEquations(const SFrame& frame) {
    const CElmnt& panel = *frame.elmnt;
    std::array<const SFitVar*, 4> shifts{};
    std::array<CVector3, 4> points;
    for (std::size_t i = 0; i < 4; ++i) {
        shifts[i] = FindVar(*frame.couplings[i]);
        points[i] = frame.couplings[i]->GetConnPoint(0);
    }
    const SFitVar& v1 = m_vars[static_cast<std::size_t>(frame.firstVar)];
    const SFitVar& v2 = m_vars[static_cast<std::size_t>(frame.firstVar + 1)];
    if (shifts[0] != nullptr) {
        m_vars[static_cast<std::size_t>(frame.firstVar)].linkedIndex = shifts[0]->index;
    }

    const CVector3 a = panel.placement.rotation.GetColumn(0);
    const CVector3 b = panel.placement.rotation.GetColumn(1);
    const double width = double(panel.secondSize) + CouplingShare;
    const double height = double(panel.length) + CouplingShare;
    // Corner 0 to 1 and 2 to 3 run along X (the second correction), 1 to 3 and 0 to 2 along Y.
    struct SEdge {
        int from;
        int to;
        bool alongX;
    };
    constexpr std::array<SEdge, 4> edges = {
        {{0, 1, true}, {1, 3, false}, {2, 3, true}, {0, 2, false}}};
    for (int k = 0; k < 3; ++k) {
        for (const SEdge& edge : edges) {
            const double axis = Component(edge.alongX ? a : b, k);
            const double size = edge.alongX ? width : height;
            SFitEqtn& eq = m_eqtns.emplace_back();
            eq.AddTerm(edge.alongX ? v2 : v1, axis);
            const SFitVar* from = shifts[static_cast<std::size_t>(edge.from)];
            const SFitVar* to = shifts[static_cast<std::size_t>(edge.to)];
            if (from != nullptr) {
                eq.AddTerm(m_vars[static_cast<std::size_t>(from->index + k)], FitCouplingWeight);
            }
            if (to != nullptr) {
                eq.AddTerm(m_vars[static_cast<std::size_t>(to->index + k)], -FitCouplingWeight);
            }
            eq.AddRhs(-size * axis - Component(points[static_cast<std::size_t>(edge.from)], k) +
                      Component(points[static_cast<std::size_t>(edge.to)], k));
        }
    }
}

void CFitSystem::BuildFitEquations(CElmnt& start, Revision r, CElmntList& list, double snapRadiusSq,
                                   CFitNeighbours* neighbours) {
    if (start.fixed) {
        // A fixed element is never moved; it may still carry the flag from a time it was not.
        start.adjustPending = false;
        return;
    }
    // Collecting changes no placement, so both indexes hold throughout.
    CCouplingIndexScope couplings(list, r);
    CFitNeighbours own(list, r);
    CFitNeighbours& used =
        neighbours != nullptr && neighbours->GetRevision() == r ? *neighbours : own;
    std::vector<SFrame> stack;
    stack.push_back(Enter(start, r, list, snapRadiusSq, used));
    while (!stack.empty()) {
        CElmnt* next = Resume(stack.back(), r, list);
        if (next == nullptr) {
            stack.pop_back();
        } else {
            stack.push_back(Enter(*next, r, list, snapRadiusSq, used));
        }
    }
}

bool CFitSystem::WriteBack(const CFitVctr& x, Revision r, CElmntList& list,
                           int32_t couplingMaterial, CFitNeighbours* neighbours) const {
    bool wrote = false;
    for (const SFitVar& var : m_vars) {
        wrote |= var.WriteBack(x, r, list, couplingMaterial);
    }
    if (!wrote) {
        return false;
    }
    // Every element with unknowns may have moved; each is told once, after all of its unknowns.
    CCouplingIndex* couplings = list.GetCouplingIndex();
    for (const SFitVar& var : m_vars) {
        if (var.kind == FitVarKind::Correction || var.kind == FitVarKind::PanelCorrection ||
            var.kind == FitVarKind::ShiftX) {
            if (couplings != nullptr && couplings->GetRevision() == r) {
                couplings->Moved(*var.elmnt);
            }
            if (neighbours != nullptr && neighbours->GetRevision() == r) {
                neighbours->Moved(*var.elmnt);
            }
        }
    }
    return true;
}

AdjustOutcome AdjustPositionsFrom(CElmnt& start, Revision r, CElmntList& list,
                                  int32_t couplingMaterial, double snapRadiusSq, int maxSweeps,
                                  CFitNeighbours* neighbours) {
    BusyScope busy;
    CFitSystem system;
    system.BuildFitEquations(start, r, list, snapRadiusSq, neighbours);
    if (system.GetVars().empty()) {
        return AdjustOutcome::Unchanged;
    }
    CFitVctr x;
    if (!system.Solve(x, maxSweeps)) {
        return AdjustOutcome::Failed;
    }
    return system.WriteBack(x, r, list, couplingMaterial, neighbours) ? AdjustOutcome::Moved
                                                                      : AdjustOutcome::Unchanged;
}

bool CElmnt::AdjustPositions(Revision r, CElmntList& list, int32_t couplingMaterial,
                             double snapRadiusSq) {
    return AdjustPositionsFrom(*this, r, list, couplingMaterial, snapRadiusSq) ==
           AdjustOutcome::Moved;
}

bool CZarnelDcmt::RunPendingAdjustments(int32_t couplingMaterial, double snapRadiusSq,
                                        int maxSweeps) {
    bool wrote = false;
    bool failed = false;
    {
        // One wait cursor for the whole pass, not one for each start, and one index of the
        // couplings and one of the ends and corners, kept up with what each adjustment moves.
        BusyScope busy;
        const Revision c = m_currentRevision;
        CCouplingIndexScope couplings(m_elmnts, c);
        CFitNeighbours neighbours(m_elmnts, c);
        // Every adjustment clears the flag of its start element, and the records it appends
        // (history states) are not alive at c, so one pass finds every start.
        for (std::size_t i = 0; i < m_elmnts.Size(); ++i) {
            CElmnt& elmnt = *m_elmnts.GetAt(i);
            if (elmnt.adjustPending && elmnt.IsAliveAt(c)) {
                const AdjustOutcome outcome = AdjustPositionsFrom(
                    elmnt, c, m_elmnts, couplingMaterial, snapRadiusSq, maxSweeps, &neighbours);
                wrote |= outcome == AdjustOutcome::Moved;
                failed |= outcome == AdjustOutcome::Failed;
            }
        }
    }
    if (failed) {
        // The elements of a system without a solution stay where they were; once per pass.
        ShowMessage(LoadLangText(TextPositionsNotAdjusted), {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
    }
    return wrote;
}

bool CZarnelDcmt::AdjustPending(int32_t couplingMaterial, double snapRadiusSq, int maxSweeps) {
    if (!RunPendingAdjustments(couplingMaterial, snapRadiusSq, maxSweeps)) {
        return false;
    }
    SetModified(true);
    return true;
}

bool CZarnelDcmt::AdjustAll(int32_t couplingMaterial, double snapRadiusSq, int maxSweeps) {
    CRevisionScope scope(*this);
    const Revision r = scope.GetRevision();
    for (CElmnt& elmnt : m_elmnts.AliveAt(r)) {
        if (!elmnt.fixed) {
            elmnt.adjustPending = true;
        }
    }
    RunPendingAdjustments(couplingMaterial, snapRadiusSq, maxSweeps);
    if (!scope.Close()) {
        return false;
    }
    FinishChange(ViewHint::Change);
    return true;
}
