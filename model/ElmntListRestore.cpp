// Taking a step on the element list back.
#include "model/ElmntListRestore.h"

#include "model/ElmntList.h"

CElmntListRestore::CElmntListRestore(CElmntList& list, bool needed)
    : m_list(list), m_size(list.Size()) {
    if (!needed) {
        return;
    }
    m_fields.reserve(m_size);
    for (const CElmnt& e : list) {
        m_fields.push_back({e.placement, e.secondSize, e.length, e.secondCorrection, e.correction,
                            e.GetMaterial(), e.kind, e.GetOccupiedArms(), e.GetFreeArms(),
                            e.GetFreeCornerSlots(), e.firstRevision, e.endRevision, e.turnVariant,
                            e.GetDirections(), e.fixed, e.selected, e.floating, e.adjustPending,
                            e.groupMark});
    }
}

void CElmntListRestore::Restore() noexcept {
    while (m_list.Size() > m_size) {
        m_list.Remove(*m_list.GetTail());
    }
    for (std::size_t i = 0; i < m_fields.size() && i < m_list.Size(); ++i) {
        CElmnt& e = *m_list.GetAt(i);
        const SFields& f = m_fields[i];
        e.placement = f.placement;
        e.secondSize = f.secondSize;
        e.length = f.length;
        e.secondCorrection = f.secondCorrection;
        e.correction = f.correction;
        e.SetMaterial(f.material);
        e.kind = f.kind;
        e.SetOccupiedArms(f.occupiedArms);
        e.SetFreeArms(f.freeArms);
        e.SetFreeCornerSlots(f.freeCornerSlots);
        e.firstRevision = f.firstRevision;
        e.endRevision = f.endRevision;
        e.turnVariant = f.turnVariant;
        e.SetDirections(f.directions);
        e.fixed = f.fixed;
        e.selected = f.selected;
        e.floating = f.floating;
        e.adjustPending = f.adjustPending;
        e.groupMark = f.groupMark;
    }
}
