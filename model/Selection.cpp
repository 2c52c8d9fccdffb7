// Selecting and deselecting elements: finishing an element's change (a floating element is linked
// to couplings when it is deselected), selection by box and by group mark, and finishing the
// floating states that undo, redo and saving must not leave behind.
#include "model/Selection.h"

#include <new>
#include <vector>

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

// The fields of a record that linking floating elements may change in place. Linking changes
// nothing else of the records there are: it appends couplings and history states, and sets the
// arms, corner slots, flags and first revision of records that are there.
struct SLinkFields {
    Revision firstRevision;
    Revision endRevision;
    uint32_t occupiedArms;
    uint32_t freeArms;
    uint32_t freeCornerSlots;
    uint32_t directions;
    bool fixed;
    bool adjustPending;
    bool selected;
    bool floating;
};

// The list as it was before a step that links, so that a step that fails half way (memory that
// runs out while couplings are made) leaves no element linked and others not: the records it
// appended go, the fields of the others come back.
class CLinkUndo {
public:
    // Remembers the records when needed (a step that links nothing changes nothing to take
    // back). May throw std::bad_alloc, before anything changed.
    CLinkUndo(CElmntList& list, bool needed) : m_list(list), m_size(list.Size()) {
        if (!needed) {
            return;
        }
        m_fields.reserve(m_size);
        for (const CElmnt& e : list) {
            m_fields.push_back({e.firstRevision, e.endRevision, e.GetOccupiedArms(),
                                e.GetFreeArms(), e.GetFreeCornerSlots(), e.GetDirections(), e.fixed,
                                e.adjustPending, e.selected, e.floating});
        }
    }

    // Puts the list back as it was remembered; allocates nothing.
    void Restore() noexcept {
        while (m_list.Size() > m_size) {
            m_list.Remove(*m_list.GetTail());
        }
        for (std::size_t i = 0; i < m_fields.size() && i < m_list.Size(); ++i) {
            CElmnt& e = *m_list.GetAt(i);
            const SLinkFields& f = m_fields[i];
            e.firstRevision = f.firstRevision;
            e.endRevision = f.endRevision;
            e.SetOccupiedArms(f.occupiedArms);
            e.SetFreeArms(f.freeArms);
            e.SetFreeCornerSlots(f.freeCornerSlots);
            e.SetDirections(f.directions);
            e.fixed = f.fixed;
            e.adjustPending = f.adjustPending;
            e.selected = f.selected;
            e.floating = f.floating;
        }
    }

private:
    CElmntList& m_list;
    std::size_t m_size;
    std::vector<SLinkFields> m_fields;
};

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
    CLinkUndo undo(list, HasFloatingToLink(list, dcmt.GetCurrentRevision()));
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

void CZarnelDcmt::ClearMarks() {
    for (CElmnt& elmnt : m_elmnts) {
        elmnt.groupMark = 0;
    }
}

bool CZarnelDcmt::FinishFloatingStates(int32_t couplingMaterial, double snapRadiusSq) {
    CLinkUndo undo(m_elmnts, HasFloating(m_elmnts));
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
    CLinkUndo undo(m_elmnts, true);
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
