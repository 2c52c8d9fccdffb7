// The points of an element list's records in a hashed grid, kept up with the list during one
// edit.
#include "model/ListPointGrid.h"

#include <algorithm>

#include "model/ElmntList.h"
#include "model/GridCell.h"

void CListPointGrid::Near(const CVector3& p, double reach, std::vector<uint32_t>& positions) {
    CatchUp();
    const int64_t x1 = GridCell::Index(p.x + reach, m_cellSize);
    const int64_t y1 = GridCell::Index(p.y + reach, m_cellSize);
    const int64_t z1 = GridCell::Index(p.z + reach, m_cellSize);
    positions.clear();
    for (int64_t x = GridCell::Index(p.x - reach, m_cellSize); x <= x1; ++x) {
        for (int64_t y = GridCell::Index(p.y - reach, m_cellSize); y <= y1; ++y) {
            for (int64_t z = GridCell::Index(p.z - reach, m_cellSize); z <= z1; ++z) {
                const auto cell = m_cells.find(GridCell::Pack(x, y, z));
                if (cell != m_cells.end()) {
                    positions.insert(positions.end(), cell->second.begin(), cell->second.end());
                }
            }
        }
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
}

void CListPointGrid::Moved(const CElmnt& elmnt) {
    if (!m_built || elmnt.GetList() != &m_list) {
        return; // the build will find it where it is
    }
    CatchUp();
    if (m_built) {
        Enter(elmnt.GetListIndex());
    }
}

void CListPointGrid::CatchUp() {
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

void CListPointGrid::Enter(std::size_t position) {
    const CElmnt& elmnt = *m_list.GetAt(position);
    // A record that is not alive now does not come alive within the edit.
    if (elmnt.IsAliveAt(m_revision)) {
        EnterPoints(elmnt, static_cast<uint32_t>(position));
    }
}

void CListPointGrid::EnterPoint(const CVector3& point, uint32_t position) {
    m_cells[GridCell::Pack(GridCell::Index(point.x, m_cellSize),
                           GridCell::Index(point.y, m_cellSize),
                           GridCell::Index(point.z, m_cellSize))]
        .push_back(position);
}
