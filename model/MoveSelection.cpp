// The editing operations on the selection: moving (as a rigid block, adapting the couplings, or
// leaving copies behind), turning and deleting, each in a revision of its own.
#include "model/CouplingIndex.h"
#include "model/ZarnelDcmt.h"
#include "support/UserInterface.h"

namespace {

bool IsCoupling(const CElmnt& elmnt) {
    return elmnt.kind == ElmntKind::Connector;
}

} // namespace

bool CZarnelDcmt::MoveSelection(double dx, double dy, double dz, int32_t couplingMaterial,
                                double snapRadiusSq, bool adapt, bool copy) {
    BusyScope busy;
    const Revision p = m_currentRevision;
    CRevisionScope scope(*this);
    const Revision r = scope.GetRevision();

    // Every walk below goes by position and sees the records that it appends (history states,
    // copies left behind, new couplings); none of them is selected. The couplings' index lives
    // as long as the edit, not through the views' update.
    {
        CCouplingIndexScope couplings(m_elmnts, r);
        if (copy) {
            for (CElmnt& elmnt : m_elmnts) {
                if (elmnt.selected && elmnt.IsAliveAt(r) && !IsCoupling(elmnt)) {
                    elmnt.LeaveCopy(r, m_elmnts, couplingMaterial, snapRadiusSq);
                    elmnt.Translate(dx, dy, dz);
                    couplings.Moved(elmnt);
                    elmnt.MarkFloating();
                }
            }
        } else if (adapt) {
            // Every element leaves its couplings before any arrives at its new place. The history
            // copy comes first: releasing may clear the element's fixed flag.
            for (CElmnt& elmnt : m_elmnts) {
                if (elmnt.selected && elmnt.IsAliveAt(r) && !IsCoupling(elmnt)) {
                    elmnt.BeginChange(r, m_elmnts, couplingMaterial);
                    elmnt.UnlinkEnds(r, m_elmnts, couplingMaterial);
                }
            }
            for (CElmnt& elmnt : m_elmnts) {
                if (elmnt.selected && elmnt.IsAliveAt(r) && !IsCoupling(elmnt)) {
                    elmnt.Translate(dx, dy, dz);
                    couplings.Moved(elmnt);
                    elmnt.LinkEnds(r, m_elmnts, couplingMaterial, snapRadiusSq);
                }
            }
        } else {
            for (CElmnt& elmnt : m_elmnts) {
                if (elmnt.selected && elmnt.IsAliveAt(p)) {
                    elmnt.BeginChange(r, m_elmnts, couplingMaterial);
                    elmnt.Translate(dx, dy, dz);
                }
            }
        }
    }

    if (!scope.Close()) {
        return false;
    }
    FinishChange(ViewHint::Change);
    return true;
}

bool CZarnelDcmt::TurnSelection(int32_t couplingMaterial, double snapRadiusSq) {
    CRevisionScope scope(*this);
    const Revision r = scope.GetRevision();
    {
        CCouplingIndexScope couplings(m_elmnts, r);
        for (CElmnt& elmnt : m_elmnts) {
            if (elmnt.selected && elmnt.IsAliveAt(r - 1)) {
                elmnt.TurnElement(r, &m_elmnts, couplingMaterial, snapRadiusSq, false);
                couplings.Moved(elmnt);
            }
        }
    }
    if (!scope.Close()) {
        return false;
    }
    FinishChange(ViewHint::Change);
    return true;
}

bool CZarnelDcmt::DeleteSelection(int32_t couplingMaterial) {
    CRevisionScope scope(*this);
    const Revision r = scope.GetRevision();
    {
        CCouplingIndexScope couplings(m_elmnts, r);
        for (CElmnt& elmnt : m_elmnts) {
            if (elmnt.selected && elmnt.IsAliveAt(r) && !IsCoupling(elmnt)) {
                elmnt.endRevision = r;
                elmnt.UnlinkEnds(r, m_elmnts, couplingMaterial);
            }
        }
    }
    if (!scope.Close()) {
        return false;
    }
    FinishChange(ViewHint::Deletion);
    return true;
}
