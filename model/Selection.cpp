// Selecting and deselecting elements: finishing an element's change (a floating element is linked
// to couplings when it is deselected), selection by box and by group mark, and finishing the
// floating states that undo, redo and saving must not leave behind.
#include "model/Selection.h"

#include "model/CouplingIndex.h"
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

// What a selection step does after it linked floating elements: the new couplings and arms are
// part of the design and may change the articles.
bool AfterLinking(CZarnelDcmt& dcmt, bool linked) {
    if (linked) {
        dcmt.SetModified(true);
        dcmt.UpdatePartsList();
    }
    return linked;
}

} // namespace

bool CZarnelDcmt::ClearSelection(int32_t couplingMaterial, double snapRadiusSq) {
    const Revision c = m_currentRevision;
    CCouplingIndexScope couplings(m_elmnts, c);
    bool linked = false;
    // Linking may append couplings and history states; the walk by position sees them, and
    // they are deselected already.
    for (CElmnt& elmnt : m_elmnts) {
        linked |= elmnt.FinishChange(c, m_elmnts, couplingMaterial, snapRadiusSq);
    }
    return AfterLinking(*this, linked);
}

bool CZarnelDcmt::SelectInBox(const CBox3& box, SelectionMode mode, int32_t couplingMaterial,
                              double snapRadiusSq) {
    const Revision c = m_currentRevision;
    CCouplingIndexScope couplings(m_elmnts, c);
    bool linked = false;
    for (CElmnt& elmnt : m_elmnts.AliveAt(c)) {
        if (elmnt.IsInsideBox(box)) {
            linked |= elmnt.SetSelection(mode, c, m_elmnts, couplingMaterial, snapRadiusSq);
        }
    }
    return AfterLinking(*this, linked);
}

bool CZarnelDcmt::SelectMarked(SelectionMode mode, int32_t couplingMaterial, double snapRadiusSq) {
    const Revision c = m_currentRevision;
    CCouplingIndexScope couplings(m_elmnts, c);
    bool linked = false;
    for (CElmnt& elmnt : m_elmnts.AliveAt(c)) {
        if (elmnt.groupMark != 0) {
            linked |= elmnt.SetSelection(mode, c, m_elmnts, couplingMaterial, snapRadiusSq);
        }
    }
    return AfterLinking(*this, linked);
}

void CZarnelDcmt::ClearMarks() {
    for (CElmnt& elmnt : m_elmnts) {
        elmnt.groupMark = 0;
    }
}

bool CZarnelDcmt::FinishFloatingStates(int32_t couplingMaterial, double snapRadiusSq) {
    const Revision c = m_currentRevision;
    CCouplingIndexScope couplings(m_elmnts, c);
    bool changed = false;
    for (CElmnt& elmnt : m_elmnts) {
        if (!elmnt.floating) {
            continue;
        }
        changed = true;
        elmnt.floating = false;
        elmnt.selected = false;
        // Only a state that lives on is linked. Linking an older one in place would leave its
        // couplings standing in the later revisions, where the element is elsewhere or gone.
        if (elmnt.IsAliveAt(c) && elmnt.endRevision == RevisionOpen) {
            elmnt.LinkEnds(c, m_elmnts, couplingMaterial, snapRadiusSq);
        }
    }
    if (changed) {
        SetModified(true);
    }
    return changed;
}

bool CZarnelDcmt::FinishFloating(int32_t couplingMaterial, double snapRadiusSq) {
    SettlePendingRevision();
    if (!FinishFloatingStates(couplingMaterial, snapRadiusSq)) {
        return false;
    }
    FinishChange(ViewHint::Change);
    return true;
}
