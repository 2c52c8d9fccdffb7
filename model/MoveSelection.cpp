// The editing operations on the selection: moving (as a rigid block, adapting the couplings, or
// leaving copies behind), turning and deleting, each in a revision of its own.
#include <optional>

#include "model/CouplingIndex.h"
#include "model/ElmntListRestore.h"
#include "model/ZarnelDcmt.h"
#include "support/UserInterface.h"

namespace {

bool IsCoupling(const CElmnt& elmnt) {
    return elmnt.kind == ElmntKind::Connector;
}

} // namespace

template <class Body> bool CZarnelDcmt::RunSelectionEdit(ViewHint hint, Body body) {
    // What a failure puts back is made first. The recount is worked out while the revision is
    // still undecided, so that a failure anywhere, the views' update included, can give the
    // revision up and put the redo branch back.
    SettlePendingRevision();
    CPartsTable partsBefore = m_partsTable;
    const bool modifiedBefore = m_modified;
    CRevisionScope scope(*this);
    std::optional<CElmntListRestore> records;
    try {
        records.emplace(m_elmnts, true);
        body(scope.GetRevision());
        const bool changed = PendingRevisionChanged();
        if (changed) {
            m_partsTable.ApplyRecount(PrepareRecountAt(scope.GetRevision()));
            SetModified(true);
            UpdateAllViews(hint);
        }
        scope.Close();
        return changed;
    } catch (...) {
        if (records) {
            records->Restore();
        }
        AbandonPendingRevision();
        RecoverAfterFailure(partsBefore, modifiedBefore, hint);
        throw;
    }
}

bool CZarnelDcmt::MoveSelection(double dx, double dy, double dz, int32_t couplingMaterial,
                                double snapRadiusSq, bool adapt, bool copy) {
    BusyScope busy;
    return RunSelectionEdit(ViewHint::Change, [&](Revision r) {
        // Every walk below goes by position and sees the records that it appends (history
        // states, copies left behind, new couplings); none of them is selected. The couplings'
        // index lives as long as the edit, not through the views' update.
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
            // Every element leaves its couplings before any arrives at its new place. The
            // history copy comes first: releasing may clear the element's fixed flag.
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
                if (elmnt.selected && elmnt.IsAliveAt(r - 1)) {
                    elmnt.BeginChange(r, m_elmnts, couplingMaterial);
                    elmnt.Translate(dx, dy, dz);
                }
            }
        }
    });
}

bool CZarnelDcmt::TurnSelection(int32_t couplingMaterial, double snapRadiusSq) {
    return RunSelectionEdit(ViewHint::Change, [&](Revision r) {
        CCouplingIndexScope couplings(m_elmnts, r);
        for (CElmnt& elmnt : m_elmnts) {
            if (elmnt.selected && elmnt.IsAliveAt(r - 1)) {
                elmnt.TurnElement(r, &m_elmnts, couplingMaterial, snapRadiusSq, false);
                couplings.Moved(elmnt);
            }
        }
    });
}

bool CZarnelDcmt::DeleteSelection(int32_t couplingMaterial) {
    return RunSelectionEdit(ViewHint::Deletion, [&](Revision r) {
        CCouplingIndexScope couplings(m_elmnts, r);
        for (CElmnt& elmnt : m_elmnts) {
            if (elmnt.selected && elmnt.IsAliveAt(r) && !IsCoupling(elmnt)) {
                elmnt.endRevision = r;
                elmnt.UnlinkEnds(r, m_elmnts, couplingMaterial);
            }
        }
    });
}
