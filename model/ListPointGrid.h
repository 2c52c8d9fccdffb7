// Points of the records of an element list by place, for lookups that would otherwise walk the
// whole history: a hashed grid of list positions, one entry in the cell of each point that a
// record alive at the grid's revision brings (which points, a derived grid says).
//
// It keeps up with the list by itself as long as records are only appended (new couplings,
// history states, copies left behind); any other change of the list makes it start over. A
// change of a record's placement must be told (Moved), since the list does not see it; the
// entries it had stay behind and simply fail the caller's exact measure, as do those of records
// that ended since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/Elmnt.h"

class CElmntList;

class CListPointGrid {
public:
    CListPointGrid(const CElmntList& list, Revision r, double cellSize)
        : m_list(list), m_revision(r), m_cellSize(cellSize) {}
    virtual ~CListPointGrid() = default;
    CListPointGrid(const CListPointGrid&) = delete;
    CListPointGrid& operator=(const CListPointGrid&) = delete;

    Revision GetRevision() const { return m_revision; }
    // The element's placement changed: its points are entered where they are now.
    void Moved(const CElmnt& elmnt);
    // Forgets everything, so that the next lookup builds the grid anew.
    void Invalidate() { m_built = false; }

protected:
    // Replaces positions by the list positions, ascending and each once, of the records with a
    // point in a cell that reaches within reach of p (built or caught up first).
    void Near(const CVector3& p, double reach, std::vector<uint32_t>& positions);
    // Enters the points of a record alive at the revision, each by EnterPoint.
    virtual void EnterPoints(const CElmnt& elmnt, uint32_t position) = 0;
    void EnterPoint(const CVector3& point, uint32_t position);

    const CElmntList& m_list;

private:
    void CatchUp();
    void Enter(std::size_t position);

    Revision m_revision;
    double m_cellSize;
    bool m_built = false;
    std::size_t m_entered = 0; // list positions looked at so far
    uint64_t m_changeCount = 0;
    uint64_t m_appendCount = 0;
    std::unordered_map<uint64_t, std::vector<uint32_t>> m_cells; // cell key -> list positions
};
