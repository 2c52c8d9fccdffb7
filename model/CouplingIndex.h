// The couplings of a design by place, for the edits that link and release the ends of many
// elements in one revision (moving, turning and deleting the selection, deselecting pasted
// elements): each end then looks at the couplings in a few grid cells around it instead of
// walking the whole history.
//
// The index answers which coupling-like records may lie near a point; the lookup still measures
// each of them exactly as the walk over the list does, in list order, so the coupling found is
// the same, ties and the strict snap radius included. For that the index holds, for every
// coupling-like record alive at its revision, its list position in the cell of each connection
// point (a bolt's two), and more: entries of records that moved or ended since stay behind and
// simply fail the measure. It keeps up with the list as CListPointGrid says.
#pragma once

#include <cstdint>
#include <vector>

#include "model/Elmnt.h"
#include "model/ListPointGrid.h"

class CElmntList;

class CCouplingIndex : public CListPointGrid {
public:
    // The index of the list's couplings alive at r; built at the first lookup.
    CCouplingIndex(const CElmntList& list, Revision r) : CListPointGrid(list, r, kCellSize) {}

    // The records, in list order and each once, among which every coupling-like record with a
    // connection point strictly within the squared radius of p is found (others may be there
    // too); nullptr when the radius is wider than the grid serves, so that the caller walks the
    // list. The answer holds until the next call.
    const std::vector<CElmnt*>* Near(const CVector3& p, double radiusSq);

private:
    // A cell holds a coupling found by the widest snap radius in a cube of at most three cells.
    static constexpr double kCellSize = 200.0;
    // The widest radius served; beyond it the cells to visit would outnumber a walk's worth.
    static constexpr double kServedRadius = 4 * kCellSize;
    // Added to the reach of a lookup, so that rounding never leaves out a cell.
    static constexpr double kMargin = 1.0;

    // The connection points of coupling-like records (a bolt's two).
    void EnterPoints(const CElmnt& elmnt, uint32_t position) override;

    std::vector<uint32_t> m_positions;
    std::vector<CElmnt*> m_near;
};

// Lets the coupling lookups of one edit in revision r use an index. While an index for r is in
// force already it serves this edit too; another one is set aside and rebuilt afterwards.
class CCouplingIndexScope {
public:
    CCouplingIndexScope(CElmntList& list, Revision r);
    ~CCouplingIndexScope();
    CCouplingIndexScope(const CCouplingIndexScope&) = delete;
    CCouplingIndexScope& operator=(const CCouplingIndexScope&) = delete;

    // Call after changing the placement of an element of the list in this edit.
    void Moved(const CElmnt& elmnt) { m_used->Moved(elmnt); }

private:
    CElmntList& m_list;
    CCouplingIndex* m_previous;
    CCouplingIndex m_own;
    CCouplingIndex* m_used;
};
