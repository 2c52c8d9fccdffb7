// Revisions of a design: opening one, cutting the history after an undo, undo and redo,
// deleting the history, and revisions that are kept only when something changed in them.
//
// Every scan here is one linear pass over the element list's array of records; undo and redo
// only move the current revision.
#include <cassert>

#include "model/ElmntListRestore.h"
#include "model/ZarnelDcmt.h"

void CZarnelDcmt::CutHistory(Revision r, CElmntList& list) {
    list.RemoveIf([r](const CElmnt& elmnt) { return elmnt.firstRevision > r; });
    for (CElmnt& elmnt : list) {
        if (elmnt.endRevision > r) {
            elmnt.endRevision = RevisionOpen;
        }
    }
}

Revision CZarnelDcmt::NewRevision() {
    SettlePendingRevision();
    MakeRoomForRevision();
    SetModified(true);
    if (m_currentRevision < m_newestRevision) {
        CutHistory(m_currentRevision, m_elmnts);
        m_newestRevision = m_currentRevision;
    }
    ++m_currentRevision;
    ++m_newestRevision;
    return m_currentRevision;
}

bool CZarnelDcmt::SetRevisions(Revision current, Revision newest) {
    if (current > newest || newest > MaxRevision) {
        return false;
    }
    SettlePendingRevision();
    m_currentRevision = current;
    m_newestRevision = newest;
    return true;
}

void CZarnelDcmt::OnEditUndo(int32_t couplingMaterial, double snapRadiusSq) {
    SettlePendingRevision();
    if (!CanUndo()) {
        return;
    }
    MoveToRevision(m_currentRevision - 1, couplingMaterial, snapRadiusSq);
}

void CZarnelDcmt::OnEditRedo(int32_t couplingMaterial, double snapRadiusSq) {
    SettlePendingRevision();
    if (!CanRedo()) {
        return;
    }
    MoveToRevision(m_currentRevision + 1, couplingMaterial, snapRadiusSq);
}

void CZarnelDcmt::MoveToRevision(Revision to, int32_t couplingMaterial, double snapRadiusSq) {
    // All or nothing: what a failure puts back is made first, and the recount at the revision
    // to come is worked out before the current revision moves.
    CElmntListRestore records(m_elmnts, HasFloatingStates());
    CPartsTable partsBefore = m_partsTable;
    const Revision before = m_currentRevision;
    const bool modifiedBefore = m_modified;
    try {
        FinishFloatingStates(couplingMaterial, snapRadiusSq);
        SPartsRecount recount = PrepareRecountAt(to);
        m_currentRevision = to;
        m_partsTable.ApplyRecount(std::move(recount));
        SetModified(true);
        UpdateAllViews(ViewHint::UndoRedo);
    } catch (...) {
        records.Restore();
        m_currentRevision = before;
        RecoverAfterFailure(partsBefore, modifiedBefore, ViewHint::UndoRedo);
        throw;
    }
}

void CZarnelDcmt::RecoverAfterFailure(CPartsTable& partsBefore, bool modifiedBefore,
                                      ViewHint hint) noexcept {
    m_partsTable.Swap(partsBefore);
    try {
        SetModified(modifiedBefore);
        // A window may have refilled half way from what is put back now.
        UpdateAllViews(hint);
    } catch (...) {
        // The failure that is on its way out is the one to report.
    }
}

void CZarnelDcmt::OnDeleteHistory() {
    SettlePendingRevision();
    DeleteHistory();
    UpdateAllViews(ViewHint::Everything);
}

void CZarnelDcmt::DeleteHistory() {
    const Revision current = m_currentRevision;
    m_elmnts.RemoveIf([current](const CElmnt& elmnt) { return !elmnt.IsAliveAt(current); });
    for (CElmnt& elmnt : m_elmnts) {
        elmnt.firstRevision = 0;
        elmnt.endRevision = RevisionOpen;
    }
    m_currentRevision = 0;
    m_newestRevision = 0;
}

void CZarnelDcmt::MakeRoomForRevision() {
    // Only the current revision matters for the next one: after it the history is cut anyway.
    if (m_currentRevision >= MaxRevision) {
        DeleteHistory();
    }
}

Revision CZarnelDcmt::OpenPendingRevision(CRevisionScope& scope) {
    SettlePendingRevision();
    MakeRoomForRevision();
    SPendingRevision pending;
    pending.scope = &scope;
    pending.currentBefore = m_currentRevision;
    pending.newestBefore = m_newestRevision;
    if (m_currentRevision < m_newestRevision) {
        // CutHistory, keeping what it takes so that the branch can be put back.
        const Revision r = m_currentRevision;
        // The room for the reopened ends is made first: memory that runs out then leaves the
        // history as it was.
        std::size_t ends = 0;
        for (const CElmnt& elmnt : m_elmnts) {
            ends += elmnt.endRevision > r ? 1 : 0;
        }
        pending.reopened.reserve(ends);
        pending.cut =
            m_elmnts.TakeOutIf([r](const CElmnt& elmnt) { return elmnt.firstRevision > r; });
        for (CElmnt& elmnt : m_elmnts) {
            if (elmnt.endRevision > r) {
                pending.reopened.emplace_back(&elmnt, elmnt.endRevision);
                elmnt.endRevision = RevisionOpen;
            }
        }
        m_newestRevision = m_currentRevision;
    }
    ++m_currentRevision;
    ++m_newestRevision;
    pending.revision = m_currentRevision;
    pending.listChangeCount = m_elmnts.GetChangeCount();
    m_pending = std::move(pending);
    return m_currentRevision;
}

bool CZarnelDcmt::PendingRevisionChanged() const {
    // After the opening every state begins at or before the revision before and ends there or
    // is open: a state that begins or ends later was changed in the pending revision.
    const Revision before = m_pending->currentBefore;
    if (m_elmnts.GetChangeCount() != m_pending->listChangeCount) {
        return true;
    }
    for (const CElmnt& elmnt : m_elmnts) {
        if (elmnt.firstRevision > before ||
            (elmnt.endRevision != RevisionOpen && elmnt.endRevision > before)) {
            return true;
        }
    }
    return false;
}

void CZarnelDcmt::SettlePendingRevision() {
    if (!m_pending) {
        return;
    }
    assert(m_currentRevision == m_pending->revision && "revisions move only through the document");
    const bool changed = PendingRevisionChanged();
    SPendingRevision pending = std::move(*m_pending);
    m_pending.reset();
    pending.scope->m_open = false;
    pending.scope->m_kept = changed;
    if (changed) {
        SetModified(true);
        return; // the records of the cut branch go with pending
    }
    GiveUpOpening(pending);
}

void CZarnelDcmt::AbandonPendingRevision() noexcept {
    if (!m_pending) {
        return;
    }
    SPendingRevision pending = std::move(*m_pending);
    m_pending.reset();
    pending.scope->m_open = false;
    pending.scope->m_kept = false;
    GiveUpOpening(pending);
}

void CZarnelDcmt::GiveUpOpening(SPendingRevision& pending) noexcept {
    // The list holds exactly what the cut left, and the reopened records are still there.
    for (auto& [elmnt, end] : pending.reopened) {
        elmnt->endRevision = end;
    }
    m_elmnts.PutBack(std::move(pending.cut));
    m_currentRevision = pending.currentBefore;
    m_newestRevision = pending.newestBefore;
}

CRevisionScope::CRevisionScope(CZarnelDcmt& dcmt) : m_dcmt(dcmt) {
    m_revision = m_dcmt.OpenPendingRevision(*this);
}

CRevisionScope::~CRevisionScope() {
    Close();
}

bool CRevisionScope::Close() {
    if (m_open) {
        m_dcmt.SettlePendingRevision();
    }
    return m_kept;
}
