// Connected groups of elements: the walk that marks one group, the count of all groups and the box
// of a group's couplings.
//
// Two elements alive at a revision are connected when an end of one lies closer than 40 mm to a
// connection point of the other, or a panel corner of one closer than 40 mm to the position of
// the other when that is a plain coupling. Instead of testing every pair (quadratic in the size
// of the design), the points of the alive elements are put into hashed grids of cells larger than
// twice that distance, so that a point's partners lie in its own cell or a neighbour; each
// candidate is then tested with the same strict distance, so the groups are exactly those of the
// pairwise test. The walk keeps its own stack, so a long chain of elements cannot exhaust the
// call stack.
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/GridCell.h"
#include "model/Selection.h"
#include "model/ZarnelDcmt.h"

namespace {

// Connection points that ends meet, by kind.
int GetConnPointCount(ElmntKind kind) {
    switch (kind) {
    case ElmntKind::Connector:
    case ElmntKind::Connector45:
    case ElmntKind::HoleConnector:
    case ElmntKind::FlexiConnector:
    case ElmntKind::HubCap:
    case ElmntKind::TubeCap:
        return 1;
    case ElmntKind::Bolt:
        return 2;
    default:
        return 0;
    }
}

// Panel corners that meet couplings, by kind.
int GetCornerCount(ElmntKind kind) {
    switch (kind) {
    case ElmntKind::Panel:
    case ElmntKind::Display:
    case ElmntKind::Wood:
    case ElmntKind::WoodKnob:
    case ElmntKind::WoodBed:
    case ElmntKind::Textil:
    case ElmntKind::Lattice:
        return 4;
    case ElmntKind::RoundWood:
        return 3;
    default:
        return 0;
    }
}

// Points of one kind (ends, connection points, corners, coupling positions) hashed by grid cell.
// Cells are more than twice the connection distance wide, so a point's partners lie in its own
// cell or in the neighbour on the nearer side along each axis: eight cells to look at.
class CPointGrid {
public:
    void Add(CElmnt& elmnt, CVector3 point) {
        m_pending.push_back({&elmnt, point, Pack(Cell(point.x), Cell(point.y), Cell(point.z))});
    }

    // Sorts the points added into their cells; no point may be added afterwards.
    void Build() {
        // A table at most half full keeps the probe sequences short.
        std::size_t capacity = 16;
        while (capacity < 2 * m_pending.size()) {
            capacity *= 2;
        }
        m_keys.assign(capacity, kEmpty);
        m_cellOfSlot.assign(capacity, 0);
        m_shift = 64;
        for (std::size_t c = capacity; c > 1; c /= 2) {
            --m_shift;
        }

        std::vector<uint32_t> counts;
        std::vector<uint32_t> cellOf(m_pending.size());
        for (std::size_t i = 0; i < m_pending.size(); ++i) {
            const std::size_t slot = Probe(m_pending[i].key);
            if (m_keys[slot] == kEmpty) {
                m_keys[slot] = m_pending[i].key;
                m_cellOfSlot[slot] = static_cast<uint32_t>(counts.size());
                counts.push_back(0);
            }
            cellOf[i] = m_cellOfSlot[slot];
            ++counts[cellOf[i]];
        }
        // Cell c holds m_points[m_starts[c]] up to m_points[m_starts[c + 1]].
        m_starts.assign(counts.size() + 1, 0);
        for (std::size_t c = 0; c < counts.size(); ++c) {
            m_starts[c + 1] = m_starts[c] + counts[c];
        }
        std::vector<uint32_t> fill(m_starts.begin(), m_starts.end() - 1);
        m_points.resize(m_pending.size());
        for (std::size_t i = 0; i < m_pending.size(); ++i) {
            m_points[fill[cellOf[i]]++] = {m_pending[i].elmnt, m_pending[i].point};
        }
        m_pending = {};
    }

    // Calls f(element) for every point closer than the connection distance to p.
    template <class F> void ForEachNear(CVector3 p, F&& f) const {
        if (m_points.empty()) {
            return;
        }
        const int64_t cx = Cell(p.x);
        const int64_t cy = Cell(p.y);
        const int64_t cz = Cell(p.z);
        const int64_t nx = cx + Side(p.x, cx);
        const int64_t ny = cy + Side(p.y, cy);
        const int64_t nz = cz + Side(p.z, cz);
        for (int64_t x : {cx, nx}) {
            for (int64_t y : {cy, ny}) {
                for (int64_t z : {cz, nz}) {
                    const std::size_t slot = Probe(Pack(x, y, z));
                    if (m_keys[slot] == kEmpty) {
                        continue;
                    }
                    const uint32_t cell = m_cellOfSlot[slot];
                    for (uint32_t i = m_starts[cell]; i < m_starts[cell + 1]; ++i) {
                        if (CVector3::DistSq(m_points[i].point, p) < GroupConnectSq) {
                            f(*m_points[i].elmnt);
                        }
                    }
                }
            }
        }
    }

private:
    // More than twice the connection distance of 40 mm, with 8 mm to spare for rounding.
    static constexpr double kCellSize = 96.0;
    static constexpr uint64_t kEmpty = ~uint64_t{0}; // no packed key has the top bit

    struct SPending {
        CElmnt* elmnt;
        CVector3 point;
        uint64_t key;
    };
    struct SPoint {
        CElmnt* elmnt;
        CVector3 point;
    };

    static int64_t Cell(double v) { return GridCell::Index(v, kCellSize); }
    // The neighbour cell on the side of the cell's nearer border.
    static int64_t Side(double v, int64_t cell) {
        return v - static_cast<double>(cell) * kCellSize < kCellSize / 2 ? -1 : 1;
    }
    static uint64_t Pack(int64_t x, int64_t y, int64_t z) { return GridCell::Pack(x, y, z); }
    // The slot that holds the key, or the empty slot where it would go (linear probing).
    std::size_t Probe(uint64_t key) const {
        const std::size_t mask = m_keys.size() - 1;
        std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> m_shift);
        while (m_keys[slot] != kEmpty && m_keys[slot] != key) {
            slot = (slot + 1) & mask;
        }
        return slot;
    }

    std::vector<SPending> m_pending;
    std::vector<uint64_t> m_keys; // open addressing: cell key per slot, kEmpty when free
    std::vector<uint32_t> m_cellOfSlot;
    int m_shift = 64;
    std::vector<uint32_t> m_starts;
    std::vector<SPoint> m_points;
};

// The connections among the elements alive at one revision.
class CGroupGraph {
public:
    CGroupGraph(Revision r, CElmntList& list) {
        for (CElmnt& elmnt : list.AliveAt(r)) {
            const int ends = elmnt.GetEndCount();
            for (int i = 0; i < ends; ++i) {
                m_ends.Add(elmnt, elmnt.GetEndFrame(i).translation);
            }
            const int conns = GetConnPointCount(elmnt.kind);
            for (int i = 0; i < conns; ++i) {
                m_conns.Add(elmnt, elmnt.GetConnPoint(i));
            }
            const int corners = GetCornerCount(elmnt.kind);
            for (int i = 0; i < corners; ++i) {
                m_corners.Add(elmnt, elmnt.GetCornerFrame(i).translation);
            }
            if (elmnt.kind == ElmntKind::Connector) {
                m_couplings.Add(elmnt, elmnt.placement.translation);
            }
        }
        m_ends.Build();
        m_conns.Build();
        m_corners.Build();
        m_couplings.Build();
    }

    // Calls f(element) for every alive element connected to x (x itself among them when its own
    // points meet).
    template <class F> void ForEachNeighbour(const CElmnt& x, F&& f) const {
        const int ends = x.GetEndCount();
        for (int i = 0; i < ends; ++i) {
            m_conns.ForEachNear(x.GetEndFrame(i).translation, f);
        }
        const int conns = GetConnPointCount(x.kind);
        for (int i = 0; i < conns; ++i) {
            m_ends.ForEachNear(x.GetConnPoint(i), f);
        }
        const int corners = GetCornerCount(x.kind);
        for (int i = 0; i < corners; ++i) {
            m_couplings.ForEachNear(x.GetCornerFrame(i).translation, f);
        }
        if (x.kind == ElmntKind::Connector) {
            m_corners.ForEachNear(x.placement.translation, f);
        }
    }

    // Marks start and everything reachable from it through elements not marked n before.
    void Mark(CElmnt& start, int32_t n) const {
        if (start.groupMark == n) {
            return;
        }
        start.groupMark = n;
        std::vector<CElmnt*> stack{&start};
        while (!stack.empty()) {
            CElmnt* x = stack.back();
            stack.pop_back();
            ForEachNeighbour(*x, [&](CElmnt& e) {
                if (e.groupMark != n) {
                    e.groupMark = n;
                    stack.push_back(&e);
                }
            });
        }
    }

private:
    CPointGrid m_ends;      // ends of parts that take couplings
    CPointGrid m_conns;     // connection points that ends meet
    CPointGrid m_corners;   // panel corners
    CPointGrid m_couplings; // positions of plain couplings
};

} // namespace

void CElmnt::MarkGroup(Revision r, CElmntList& list, int32_t n) {
    if (groupMark == n) {
        return;
    }
    CGroupGraph(r, list).Mark(*this, n);
}

int CZarnelDcmt::CountGroups() {
    ClearMarks();
    const Revision c = m_currentRevision;
    const CGroupGraph graph(c, m_elmnts);
    int n = 0;
    for (CElmnt& elmnt : m_elmnts.AliveAt(c)) {
        if (elmnt.groupMark == 0 && elmnt.kind != ElmntKind::None &&
            elmnt.kind != ElmntKind::FloorGrid) {
            ++n;
            graph.Mark(elmnt, n);
        }
    }
    return n;
}

CBox3 CZarnelDcmt::GetGroupBox(int32_t n) const {
    CBox3 box;
    box.Reset();
    for (const CElmnt& elmnt : m_elmnts) {
        if (elmnt.kind == ElmntKind::Connector && elmnt.groupMark == n) {
            box.Extend(elmnt.placement.translation);
        }
    }
    return box;
}
