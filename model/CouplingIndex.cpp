// The couplings of a design in a hashed grid, kept up with the list during one edit.
#include "model/CouplingIndex.h"

#include <cmath>

#include "model/ElmntList.h"

namespace {

int GetCouplingPointCount(const CElmnt& elmnt) {
    return elmnt.kind == ElmntKind::Bolt ? 2 : 1;
}

} // namespace

const std::vector<CElmnt*>* CCouplingIndex::Near(const CVector3& p, double radiusSq) {
    if (!(radiusSq > 0.0 && radiusSq <= kServedRadius * kServedRadius)) {
        return nullptr; // also a radius that is not a number
    }
    CListPointGrid::Near(p, std::sqrt(radiusSq) + kMargin, m_positions);
    m_near.clear();
    for (uint32_t position : m_positions) {
        m_near.push_back(m_list.GetAt(position));
    }
    return &m_near;
}

void CCouplingIndex::EnterPoints(const CElmnt& elmnt, uint32_t position) {
    if (!HasKindBits(elmnt.kind, KindBit::CouplingLike)) {
        return;
    }
    for (int n = 0; n < GetCouplingPointCount(elmnt); ++n) {
        EnterPoint(elmnt.GetConnPoint(n), position);
    }
}

CCouplingIndexScope::CCouplingIndexScope(CElmntList& list, Revision r)
    : m_list(list), m_previous(list.GetCouplingIndex()), m_own(list, r), m_used(&m_own) {
    if (m_previous != nullptr && m_previous->GetRevision() == r) {
        m_used = m_previous;
    } else {
        list.SetCouplingIndex(&m_own);
    }
}

CCouplingIndexScope::~CCouplingIndexScope() {
    if (m_used == &m_own) {
        m_list.SetCouplingIndex(m_previous);
        if (m_previous != nullptr) {
            m_previous->Invalidate(); // it did not see what moved in this edit
        }
    }
}
