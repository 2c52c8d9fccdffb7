// Selecting and deselecting elements: finishing an element's change (a floating element is linked
// to couplings when it is deselected), selection by box and by group mark, and finishing the
// floating states that undo, redo and saving must not leave behind.
#include "model/Selection.h"

#include <new>
#include <vector>

#include "model/CouplingIndex.h"
#include "model/ElmntListRestore.h"
#include "model/ZarnelDcmt.h"

bool CElmnt::FinishChange(Revision r, CElmntList& list, int32_t couplingMaterial,
                          double snapRadiusSq) {
    bool linked = false;
    if (selected && floating && IsAliveAt(r)) {
        floating = false;
        LinkEnds(r, list, couplingMaterial, snapRadiusSq);
        linked = true;
    }
    selected = false;
    return linked;
}

bool CElmnt::SetSelection(SelectionMode mode, Revision r, CElmntList& list,
                          int32_t couplingMaterial, double snapRadiusSq) {
    switch (mode) {
    case SelectionMode::Select:
        selected = true;
        return false;
    case SelectionMode::Deselect:
        return FinishChange(r, list, couplingMaterial, snapRadiusSq);
    case SelectionMode::Invert:
        if (selected) {
            return FinishChange(r, list, couplingMaterial, snapRadiusSq);
        }
        selected = true;
        return false;
    }
    return false; // a value outside the enumeration, as a command may pass it on
}

namespace {

// Whether deselecting can link anything: a selected floating element alive at r.
bool HasFloatingToLink(const CElmntList& list, Revision r) {
    for (const CElmnt& e : list) {
        if (e.selected && e.floating && e.IsAliveAt(r)) {
            return true;
        }
    }
    return false;
}

bool HasFloating(const CElmntList& list) {
    for (const CElmnt& e : list) {
        if (e.floating) {
            return true;
        }
    }
    return false;
}

// A selection step, all or nothing. After it linked floating elements, the new couplings and
// arms are part of the design and may change the articles: the parts table is recounted and
// the document marked modified. When memory runs out on the way, the records and the table are
// as they were and std::bad_alloc comes through.
template <class Step> bool SelectionStep(CZarnelDcmt& dcmt, Step step) {
    CElmntList& list = dcmt.GetElmntList();
    CElmntListRestore undo(list, HasFloatingToLink(list, dcmt.GetCurrentRevision()));
    bool linked = false;
    try {
        linked = step();
        if (linked) {
            dcmt.UpdatePartsList();
        }
    } catch (...) {
        undo.Restore();
        throw;
    }
    if (linked) {
        dcmt.SetModified(true);
    }
    return linked;
}

// Finishes every floating state in revision c (FinishFloatingStates); true when any was found.
bool FinishFloatingIn(CElmntList& list, Revision c, int32_t couplingMaterial, double snapRadiusSq) {
    CCouplingIndexScope couplings(list, c);
    bool changed = false;
    for (CElmnt& elmnt : list) {
        if (!elmnt.floating) {
            continue;
        }
        changed = true;
        elmnt.floating = false;
        elmnt.selected = false;
        // Only a state that lives on is linked. Linking an older one in place would leave its
        // couplings standing in the later revisions, where the element is elsewhere or gone.
        if (elmnt.IsAliveAt(c) && elmnt.endRevision == RevisionOpen) {
            elmnt.LinkEnds(c, list, couplingMaterial, snapRadiusSq);
        }
    }
    return changed;
}

} // namespace

bool CZarnelDcmt::ClearSelection(int32_t couplingMaterial, double snapRadiusSq) {
    return SelectionStep(*this, [&] {
        const Revision c = m_currentRevision;
        CCouplingIndexScope couplings(m_elmnts, c);
        bool linked = false;
        // Linking may append couplings and history states; the walk by position sees them, and
        // they are deselected already.
        for (CElmnt& elmnt : m_elmnts) {
            linked |= elmnt.FinishChange(c, m_elmnts, couplingMaterial, snapRadiusSq);
        }
        return linked;
    });
}

bool CZarnelDcmt::SelectInBox(const CBox3& box, SelectionMode mode, int32_t couplingMaterial,
                              double snapRadiusSq) {
    return SelectionStep(*this, [&] {
        const Revision c = m_currentRevision;
        CCouplingIndexScope couplings(m_elmnts, c);
        bool linked = false;
        for (CElmnt& elmnt : m_elmnts.AliveAt(c)) {
            if (elmnt.IsInsideBox(box)) {
                linked |= elmnt.SetSelection(mode, c, m_elmnts, couplingMaterial, snapRadiusSq);
            }
        }
        return linked;
    });
}

bool CZarnelDcmt::SelectMarked(SelectionMode mode, int32_t couplingMaterial, double snapRadiusSq) {
    return SelectionStep(*this, [&] {
        const Revision c = m_currentRevision;
        CCouplingIndexScope couplings(m_elmnts, c);
        bool linked = false;
        for (CElmnt& elmnt : m_elmnts.AliveAt(c)) {
            if (elmnt.groupMark != 0) {
                linked |= elmnt.SetSelection(mode, c, m_elmnts, couplingMaterial, snapRadiusSq);
            }
        }
        return linked;
    });
}

bool CZarnelDcmt::RunSelectionSteps(const std::function<bool()>& steps) {
    CElmntListRestore records(m_elmnts, true);
    CPartsTable partsBefore = m_partsTable;
    const bool modifiedBefore = m_modified;
    try {
        return steps();
    } catch (...) {
        records.Restore();
        RecoverAfterFailure(partsBefore, modifiedBefore, ViewHint::Selection);
        throw;
    }
}

bool CZarnelDcmt::HasFloatingStates() const {
    return HasFloating(m_elmnts);
}

void CZarnelDcmt::ClearMarks() {
    for (CElmnt& elmnt : m_elmnts) {
        elmnt.groupMark = 0;
    }
}

bool CZarnelDcmt::FinishFloatingStates(int32_t couplingMaterial, double snapRadiusSq) {
    CElmntListRestore undo(m_elmnts, HasFloating(m_elmnts));
    bool changed = false;
    try {
        changed = FinishFloatingIn(m_elmnts, m_currentRevision, couplingMaterial, snapRadiusSq);
    } catch (...) {
        undo.Restore();
        throw;
    }
    if (changed) {
        SetModified(true);
    }
    return changed;
}

bool CZarnelDcmt::FinishFloating(int32_t couplingMaterial, double snapRadiusSq) {
    SettlePendingRevision();
    if (!HasFloating(m_elmnts)) {
        return false;
    }
    // All or nothing, as TakeDesign: what a failure puts back is made first; when memory runs
    // out on the way (in linking, the recount or a window's update) the elements, the parts
    // table and the modified flag are as they were, the windows are told so again, and
    // std::bad_alloc comes through.
    CElmntListRestore undo(m_elmnts, true);
    CPartsTable partsBefore = m_partsTable;
    const bool modifiedBefore = m_modified;
    try {
        FinishFloatingIn(m_elmnts, m_currentRevision, couplingMaterial, snapRadiusSq);
        FinishChange(ViewHint::Change);
    } catch (...) {
        undo.Restore();
        m_partsTable.Swap(partsBefore);
        try {
            SetModified(modifiedBefore);
            UpdateAllViews(ViewHint::Change);
        } catch (const std::bad_alloc&) {
        }
        throw;
    }
    return true;
}
