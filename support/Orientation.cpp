// The 23 right-angle turns, edge lookups, the turns of a placement by side, edge and pair of
// sides, and the classification of one frame's axes against another's.
#include "support/Orientation.h"

#include <cmath>

namespace {

// New local X, Y and Z of each code as sides of the old frame (the old axis side / 2, reversed
// for an odd side). Codes 0 and 1 are no turn.
constexpr std::array<std::array<int, 3>, OrientLast + 1> OrientationAxes{{
    {0, 2, 4}, // 0: X Y Z
    {0, 2, 4}, // 1: X Y Z
    {0, 3, 5}, // 2: X -Y -Z
    {1, 2, 5}, // 3: -X Y -Z
    {1, 3, 4}, // 4: -X -Y Z
    {2, 0, 5}, // 5: Y X -Z
    {4, 3, 0}, // 6: Z -Y X
    {1, 4, 2}, // 7: -X Z Y
    {3, 1, 5}, // 8: -Y -X -Z
    {5, 3, 1}, // 9: -Z -Y -X
    {1, 5, 3}, // 10: -X -Z -Y
    {0, 5, 2}, // 11: X -Z Y
    {0, 4, 3}, // 12: X Z -Y
    {4, 2, 1}, // 13: Z Y -X
    {5, 2, 0}, // 14: -Z Y X
    {3, 0, 4}, // 15: -Y X Z
    {2, 1, 4}, // 16: Y -X Z
    {4, 0, 2}, // 17: Z X Y
    {2, 5, 1}, // 18: Y -Z -X
    {3, 5, 0}, // 19: -Y -Z X
    {5, 1, 2}, // 20: -Z -X Y
    {3, 4, 1}, // 21: -Y Z -X
    {4, 1, 3}, // 22: Z -X -Y
    {5, 0, 3}, // 23: -Z X -Y
    {2, 4, 0}, // 24: Y Z X
}};

constexpr std::array<SEdgeSides, EdgeCount> EdgeSides{{
    {Side::PlusX, Side::PlusY},
    {Side::PlusX, Side::MinusY},
    {Side::MinusX, Side::PlusY},
    {Side::MinusX, Side::MinusY},
    {Side::PlusX, Side::PlusZ},
    {Side::PlusX, Side::MinusZ},
    {Side::MinusX, Side::PlusZ},
    {Side::MinusX, Side::MinusZ},
    {Side::PlusY, Side::PlusZ},
    {Side::PlusY, Side::MinusZ},
    {Side::MinusY, Side::PlusZ},
    {Side::MinusY, Side::MinusZ},
}};

// Two frames' axes coincide when every component differs by less than this.
constexpr double AxisTolerance = 1e-6;

std::optional<CTransform> Turned(const CTransform& frame, int code) {
    if (code == OrientInvalid) {
        return std::nullopt;
    }
    CTransform turned = frame;
    ApplyOrientation(turned.rotation, code);
    return turned;
}

} // namespace

int SideOfBit(int bit) {
    for (int side = 0; side < Side::Count; ++side) {
        if (bit == SideBit(side)) {
            return side;
        }
    }
    return -1;
}

SEdgeSides GetEdgeSides(int edge) {
    if (edge < 0 || edge >= EdgeCount) {
        return {};
    }
    return EdgeSides[edge];
}

int EdgeSideBits(int edge) {
    SEdgeSides sides = GetEdgeSides(edge);
    return SideBit(sides.first) | SideBit(sides.second);
}

int EdgeOfSideBits(int sideBits) {
    for (int edge = 0; edge < EdgeCount; ++edge) {
        if (EdgeSideBits(edge) == sideBits) {
            return edge;
        }
    }
    return -1;
}

bool ApplyOrientation(CMatrix3& rotation, int code) {
    if (code < 0 || code > OrientLast) {
        return false;
    }
    const auto& axes = OrientationAxes[code];
    for (auto& row : rotation.m) {
        double old[3] = {row[0], row[1], row[2]};
        for (int column = 0; column < 3; ++column) {
            int side = axes[column];
            double value = old[side / 2];
            row[column] = side % 2 == 0 ? value : -value;
        }
    }
    return true;
}

std::optional<CTransform> CTransform::TurnXToSide(int side) const {
    return Turned(*this, TurnXTable[side]);
}

std::optional<CTransform> CTransform::TurnBySide(int edge) const {
    return Turned(*this, TurnSideTable[edge]);
}

std::optional<CTransform> CTransform::TurnToSides(int sideX, int sideY) const {
    return Turned(*this, TurnPairTable(sideX, sideY));
}

int ClassifySide(CTransform frame, CTransform other, int n) {
    if (n < 0 || n > 2) {
        return 0;
    }
    CVector3 target = other.GetAxis(n);
    for (int k = 0; k < 3; ++k) {
        CVector3 axis = frame.GetAxis(k);
        if (std::fabs(axis.x - target.x) < AxisTolerance &&
            std::fabs(axis.y - target.y) < AxisTolerance &&
            std::fabs(axis.z - target.z) < AxisTolerance) {
            return SideBit(2 * k);
        }
        if (std::fabs(axis.x + target.x) < AxisTolerance &&
            std::fabs(axis.y + target.y) < AxisTolerance &&
            std::fabs(axis.z + target.z) < AxisTolerance) {
            return SideBit(2 * k + 1);
        }
    }
    return 0;
}

int ClassifyEdge(CTransform frame, CTransform other) {
    int sideOfX = SideOfBit(ClassifySide(frame, other, 0));
    int sideOfY = SideOfBit(ClassifySide(frame, other, 1));
    if (sideOfX < 0 || sideOfY < 0) {
        return 0;
    }
    return EdgeTable(sideOfX, sideOfY);
}
