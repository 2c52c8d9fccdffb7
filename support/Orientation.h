// Sides, edges and the right-angle turns of a frame, with the tables that pick a turn for a side,
// an edge or a pair of sides, and the classification of one frame's axes against another's.
// Couplings take tube ends on their six sides and panel corners in their twelve edges; arm,
// direction and corner-slot masks are sets of side bits and edge bits.
//
// A side is a signed local axis: 0 +X, 1 -X, 2 +Y, 3 -Y, 4 +Z, 5 -Z; its bit is 1 << side.
// An edge is one of the twelve edges between two perpendicular sides, 0 to 11; its bit is
// 1 << edge. An orientation code from 2 to 24 names one of the 23 right-angle turns other than
// the identity; 1 is no turn, and the pair table uses 0 for a pair of sides that has no turn.
//
// Every lookup here is range-checked: an index from outside (a connection index, a mask, a
// code read from a file) that is out of range gives the documented invalid value, never a read
// past a table.
#pragma once

#include <array>
#include <cstddef>

#include "support/Matrix3.h"
#include "support/Transform.h"

namespace Side {
inline constexpr int PlusX = 0;
inline constexpr int MinusX = 1;
inline constexpr int PlusY = 2;
inline constexpr int MinusY = 3;
inline constexpr int PlusZ = 4;
inline constexpr int MinusZ = 5;
inline constexpr int Count = 6;
} // namespace Side

inline constexpr int EdgeCount = 12;

// Orientation codes: no turn, and the value a code table gives for an index out of range.
inline constexpr int OrientIdentity = 1;
inline constexpr int OrientInvalid = -1;
inline constexpr int OrientLast = 24;

// The bit of a side (1 to 32) or of an edge (1 to 2048); 0 when out of range.
constexpr int SideBit(int side) {
    return side >= 0 && side < Side::Count ? 1 << side : 0;
}
constexpr int EdgeBit(int edge) {
    return edge >= 0 && edge < EdgeCount ? 1 << edge : 0;
}
// The side whose bit is exactly the given value; -1 for 0 or anything that is not one side bit.
int SideOfBit(int bit);

// A fixed table read through a range check: an index out of range gives the table's invalid value.
template <std::size_t N> class CIndexTable {
public:
    constexpr CIndexTable(std::array<int, N> values, int invalid)
        : m_values(values), m_invalid(invalid) {}
    constexpr int operator[](int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < N ? m_values[index] : m_invalid;
    }
    static constexpr int Size() { return static_cast<int>(N); }

private:
    std::array<int, N> m_values;
    int m_invalid;
};

// The same for a 6 x 6 table indexed by two sides: table(a, b).
class CSidePairTable {
public:
    constexpr CSidePairTable(std::array<std::array<int, Side::Count>, Side::Count> values,
                             int invalid)
        : m_values(values), m_invalid(invalid) {}
    constexpr int operator()(int a, int b) const {
        if (a < 0 || a >= Side::Count || b < 0 || b >= Side::Count) {
            return m_invalid;
        }
        return m_values[a][b];
    }

private:
    std::array<std::array<int, Side::Count>, Side::Count> m_values;
    int m_invalid;
};

// The two sides of an edge, in the order the edge is named (+X +Y, +X -Y, -X +Y, -X -Y, +X +Z,
// +X -Z, -X +Z, -X -Z, +Y +Z, +Y -Z, -Y +Z, -Y -Z); both -1 for an edge out of range.
struct SEdgeSides {
    int first = -1;
    int second = -1;
};
SEdgeSides GetEdgeSides(int edge);
// The two side bits of an edge ORed (5, 9, 6, 10, 17, ...); 0 for an edge out of range.
int EdgeSideBits(int edge);
// The edge whose two side bits are exactly the mask; -1 when there is none.
int EdgeOfSideBits(int sideBits);

// By side: the code whose new local X is the old axis of that side.
inline constexpr CIndexTable<Side::Count> TurnXTable({1, 3, 16, 15, 13, 14}, OrientInvalid);
// By edge: the code that lays the new local X and Y along the edge's first and second side.
inline constexpr CIndexTable<EdgeCount> TurnSideTable({1, 15, 16, 4, 17, 11, 7, 20, 13, 18, 21, 9},
                                                      OrientInvalid);
// By (side of the new X, side of the new Y): the code that makes the new X and Y the old axes
// of those sides; 0 for two sides on one axis.
inline constexpr CSidePairTable TurnPairTable({{{0, 0, 1, 2, 12, 11},
                                                {0, 0, 3, 4, 7, 10},
                                                {5, 16, 0, 0, 24, 18},
                                                {15, 8, 0, 0, 21, 19},
                                                {17, 22, 13, 6, 0, 0},
                                                {23, 20, 14, 9, 0, 0}}},
                                              OrientInvalid);
// By (side, side): the bit of the edge between the two sides; 0 for two sides on one axis and
// for a side out of range.
inline constexpr CSidePairTable EdgeTable({{{0, 0, 1, 2, 16, 32},
                                            {0, 0, 4, 8, 64, 128},
                                            {1, 4, 0, 0, 256, 512},
                                            {2, 8, 0, 0, 1024, 2048},
                                            {16, 64, 256, 1024, 0, 0},
                                            {32, 128, 512, 2048, 0, 0}}},
                                          0);

// Applies an orientation code to a rotation in place. Entries are only moved and negated, so a
// right-angle frame stays exact. Codes 0 and 1 leave it as it is; false (and no change) for a
// code outside 0 to 24.
bool ApplyOrientation(CMatrix3& rotation, int code);

// The side bit of frame's axis that coincides with axis n (0 to 2) of other: frame's axes X, Y,
// Z are tried in turn, each as itself (every component within 1e-6, strictly) and reversed.
// 0 when no axis matches or n is out of range.
int ClassifySide(CTransform frame, CTransform other, int n);
// The bit of frame's edge along whose two sides other's X and Y axes lie; 0 when either axis
// lies on no side of frame.
int ClassifyEdge(CTransform frame, CTransform other);
