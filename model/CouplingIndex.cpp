// The couplings of a design in a hashed grid, kept up with the list during one edit.
#include "model/CouplingIndex.h"

#include <algorithm>
#include <cmath>

#include "model/ElmntList.h"
#include "model/GridCell.h"

namespace {

int GetCouplingPointCount(const CElmnt& elmnt) {
    return elmnt.kind == ElmntKind::Bolt ? 2 : 1;
}

} // namespace

const std::vector<CElmnt*>* CCouplingIndex::Near(const CVector3& p, double radiusSq) {
    if (!(radiusSq > 0.0 && radiusSq <= kServedRadius * kServedRadius)) {
        return nullptr; // also a radius that is not a number
    }
    CatchUp();
    const double reach = std::sqrt(radiusSq) + kMargin;
    const int64_t x1 = GridCell::Index(p.x + reach, kCellSize);
    const int64_t y1 = GridCell::Index(p.y + reach, kCellSize);
    const int64_t z1 = GridCell::Index(p.z + reach, kCellSize);
    m_positions.clear();
    for (int64_t x = GridCell::Index(p.x - reach, kCellSize); x <= x1; ++x) {
        for (int64_t y = GridCell::Index(p.y - reach, kCellSize); y <= y1; ++y) {
            for (int64_t z = GridCell::Index(p.z - reach, kCellSize); z <= z1; ++z) {
                const auto cell = m_cells.find(GridCell::Pack(x, y, z));
                if (cell != m_cells.end()) {
                    m_positions.insert(m_positions.end(), cell->second.begin(), cell->second.end());
                }
            }
        }
    }
    std::sort(m_positions.begin(), m_positions.end());
    m_positions.erase(std::unique(m_positions.begin(), m_positions.end()), m_positions.end());
    m_near.clear();
    for (uint32_t position : m_positions) {
        m_near.push_back(m_list.GetAt(position));
    }
    return &m_near;
}

void CCouplingIndex::Moved(const CElmnt& elmnt) {
    if (!m_built || elmnt.GetList() != &m_list) {
        return; // the build will find it where it is
    }
    CatchUp();
    if (m_built) {
        Enter(elmnt.GetListIndex());
    }
}

void CCouplingIndex::CatchUp() {
    // Only appends since the last look: every position entered still names its record.
    if (!m_built ||
        m_list.GetChangeCount() - m_changeCount != m_list.GetAppendCount() - m_appendCount) {
        m_cells.clear();
        m_entered = 0;
        m_built = true;
    }
    for (; m_entered < m_list.Size(); ++m_entered) {
        Enter(m_entered);
    }
    m_changeCount = m_list.GetChangeCount();
    m_appendCount = m_list.GetAppendCount();
}

void CCouplingIndex::Enter(std::size_t position) {
    const CElmnt& elmnt = *m_list.GetAt(position);
    // A record that is not alive now does not come alive within the edit.
    if (!HasKindBits(elmnt.kind, KindBit::CouplingLike) || !elmnt.IsAliveAt(m_revision)) {
        return;
    }
    for (int n = 0; n < GetCouplingPointCount(elmnt); ++n) {
        const CVector3 point = elmnt.GetConnPoint(n);
        m_cells[GridCell::Pack(GridCell::Index(point.x, kCellSize),
                               GridCell::Index(point.y, kCellSize),
                               GridCell::Index(point.z, kCellSize))]
            .push_back(static_cast<uint32_t>(position));
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
