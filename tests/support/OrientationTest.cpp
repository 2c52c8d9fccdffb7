// Orientation codes, side and edge tables, the turns by side, edge and pair of sides, and the
// classification of axes, checked against the geometry they describe.
#include <set>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "support/Orientation.h"
#include "tests/support/MathTestUtil.h"

namespace {

// The unit vector of a side in the frame's own coordinates.
CVector3 SideVector(int side) {
    CVector3 v;
    double value = side % 2 == 0 ? 1.0 : -1.0;
    if (side / 2 == 0) {
        v.x = value;
    } else if (side / 2 == 1) {
        v.y = value;
    } else {
        v.z = value;
    }
    return v;
}

CMatrix3 Turned(int code) {
    CMatrix3 r;
    EXPECT_TRUE(ApplyOrientation(r, code));
    return r;
}

std::tuple<std::vector<double>> Key(const CMatrix3& m) {
    return {{m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2], m.m[2][0], m.m[2][1],
             m.m[2][2]}};
}

const int AllSides[] = {Side::PlusX,  Side::MinusX, Side::PlusY,
                        Side::MinusY, Side::PlusZ,  Side::MinusZ};

} // namespace

TEST(Orientation, EveryCodeIsADistinctRightHandedTurn) {
    std::set<std::tuple<std::vector<double>>> seen;
    for (int code = 1; code <= OrientLast; ++code) {
        SCOPED_TRACE(code);
        CMatrix3 r = Turned(code);
        EXPECT_TRUE(mathtest::IsRotation(r, 0.0));
        EXPECT_EQ(code == OrientIdentity, r == CMatrix3());
        seen.insert(Key(r));
    }
    EXPECT_EQ(seen.size(), 24u);
}

TEST(Orientation, CodesActOnTheLocalAxesOfAnyFrame) {
    // Applying a code to a frame equals the frame times the code's turn: the code names new
    // local axes in terms of the old ones, wherever the frame points.
    std::mt19937_64 rng(23);
    CMatrix3 frame = mathtest::RandomRotation(rng);
    for (int code = 2; code <= OrientLast; ++code) {
        SCOPED_TRACE(code);
        CMatrix3 turned = frame;
        ApplyOrientation(turned, code);
        EXPECT_EQ(turned, CMatrix3::Mul(frame, Turned(code)));
    }
}

TEST(Orientation, CodesOutsideTheRangeChangeNothing) {
    std::mt19937_64 rng(29);
    CMatrix3 frame = mathtest::RandomRotation(rng);
    for (int code : {0, 1}) {
        CMatrix3 r = frame;
        EXPECT_TRUE(ApplyOrientation(r, code));
        EXPECT_EQ(r, frame);
    }
    for (int code : {25, -1, OrientInvalid, 1000, -2147483647 - 1}) {
        CMatrix3 r = frame;
        EXPECT_FALSE(ApplyOrientation(r, code));
        EXPECT_EQ(r, frame);
    }
}

TEST(Orientation, NamedCodesAreTheNamedQuarterAndHalfTurns) {
    const struct {
        int code;
        bool quarter;
        int a;
        int b;
    } rows[] = {{2, false, 1, 2}, {3, false, 2, 0}, {4, false, 0, 1},
                {11, true, 1, 2}, {12, true, 2, 1}, {13, true, 2, 0},
                {14, true, 0, 2}, {15, true, 0, 1}, {16, true, 1, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        CTransform t;
        if (row.quarter) {
            t.Turn90(row.a, row.b);
        } else {
            t.Flip(row.a, row.b);
        }
        EXPECT_EQ(t.rotation, Turned(row.code));
    }
}

TEST(Orientation, CyclesAndInverses) {
    std::mt19937_64 rng(31);
    CMatrix3 frame = mathtest::RandomRotation(rng);
    CMatrix3 r = frame;
    for (int i = 0; i < 3; ++i) {
        ApplyOrientation(r, 24);
    }
    EXPECT_EQ(r, frame);
    ApplyOrientation(r, 24);
    ApplyOrientation(r, 17);
    EXPECT_EQ(r, frame);
    // Every code has an inverse among the codes, and applying both is exact.
    for (int code = 2; code <= OrientLast; ++code) {
        int inverses = 0;
        for (int other = 2; other <= OrientLast; ++other) {
            CMatrix3 both = frame;
            ApplyOrientation(both, code);
            ApplyOrientation(both, other);
            inverses += both == frame ? 1 : 0;
        }
        EXPECT_EQ(inverses, 1) << code;
    }
}

TEST(Orientation, SideAndEdgeBits) {
    for (int side = 0; side < Side::Count; ++side) {
        EXPECT_EQ(SideBit(side), 1 << side);
        EXPECT_EQ(SideOfBit(1 << side), side);
    }
    for (int bad : {-1, 6, 100}) {
        EXPECT_EQ(SideBit(bad), 0);
    }
    for (int bad : {0, 3, 64, -1, 1 << 30}) {
        EXPECT_EQ(SideOfBit(bad), -1);
    }
    for (int edge = 0; edge < EdgeCount; ++edge) {
        EXPECT_EQ(EdgeBit(edge), 1 << edge);
    }
    EXPECT_EQ(EdgeBit(12), 0);
    EXPECT_EQ(EdgeBit(-1), 0);

    const int sideBits[EdgeCount] = {5, 9, 6, 10, 17, 33, 18, 34, 20, 36, 24, 40};
    for (int edge = 0; edge < EdgeCount; ++edge) {
        SCOPED_TRACE(edge);
        SEdgeSides sides = GetEdgeSides(edge);
        EXPECT_EQ(EdgeSideBits(edge), sideBits[edge]);
        EXPECT_NE(sides.first / 2, sides.second / 2); // perpendicular
        EXPECT_LT(sides.first, sides.second);
        EXPECT_EQ(EdgeOfSideBits(sideBits[edge]), edge);
        EXPECT_EQ(EdgeTable(sides.first, sides.second), 1 << edge);
    }
    EXPECT_EQ(GetEdgeSides(12).first, -1);
    EXPECT_EQ(GetEdgeSides(-1).second, -1);
    EXPECT_EQ(EdgeSideBits(12), 0);
    for (int mask : {0, 1, 3, 7, 48, 5 | 64, 4095}) {
        EXPECT_EQ(EdgeOfSideBits(mask), -1) << mask;
    }
}

TEST(Orientation, EdgeTableIsSymmetricAndNamesEveryEdgeOnce) {
    int seen = 0;
    for (int a : AllSides) {
        for (int b : AllSides) {
            int bit = EdgeTable(a, b);
            EXPECT_EQ(bit, EdgeTable(b, a));
            if (a / 2 == b / 2) {
                EXPECT_EQ(bit, 0);
            } else {
                EXPECT_NE(bit, 0);
                seen |= bit;
            }
        }
    }
    EXPECT_EQ(seen, 4095);
}

TEST(Orientation, TurnXTableTurnsLocalXOntoTheSide) {
    for (int side : AllSides) {
        SCOPED_TRACE(side);
        CMatrix3 r = Turned(TurnXTable[side]);
        EXPECT_EQ(r.GetColumn(0), SideVector(side));
    }
    EXPECT_EQ(TurnXTable[Side::PlusX], OrientIdentity);
}

TEST(Orientation, TurnSideTableLaysXAndYAlongTheEdge) {
    for (int edge = 0; edge < EdgeCount; ++edge) {
        SCOPED_TRACE(edge);
        SEdgeSides sides = GetEdgeSides(edge);
        CMatrix3 r = Turned(TurnSideTable[edge]);
        // X and Y lie on the edge's two sides (in either order), so that X + Y points along
        // both of them together.
        EXPECT_EQ(r.GetColumn(0) + r.GetColumn(1),
                  SideVector(sides.first) + SideVector(sides.second));
    }
}

TEST(Orientation, TurnPairTableMakesXAndYTheTwoSides) {
    for (int sx : AllSides) {
        for (int sy : AllSides) {
            SCOPED_TRACE(testing::Message() << sx << "," << sy);
            int code = TurnPairTable(sx, sy);
            if (sx / 2 == sy / 2) {
                EXPECT_EQ(code, 0);
                continue;
            }
            CMatrix3 r = Turned(code);
            EXPECT_EQ(r.GetColumn(0), SideVector(sx));
            EXPECT_EQ(r.GetColumn(1), SideVector(sy));
        }
    }
}

TEST(Orientation, TablesGiveTheInvalidCodeOutOfRange) {
    EXPECT_EQ(TurnXTable[-1], OrientInvalid);
    EXPECT_EQ(TurnXTable[6], OrientInvalid);
    EXPECT_EQ(TurnSideTable[12], OrientInvalid);
    EXPECT_EQ(TurnSideTable[-1], OrientInvalid);
    EXPECT_EQ(TurnPairTable(6, 0), OrientInvalid);
    EXPECT_EQ(TurnPairTable(0, -1), OrientInvalid);
    EXPECT_EQ(EdgeTable(0, 6), 0);
    EXPECT_EQ(EdgeTable(-1, 2), 0);
}

TEST(Orientation, TurnsOfAPlacementKeepItsPoint) {
    std::mt19937_64 rng(37);
    CTransform frame = mathtest::RandomPlacement(rng);

    std::optional<CTransform> same = frame.TurnXToSide(Side::PlusX);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, frame);

    CTransform identity;
    std::optional<CTransform> down = identity.TurnXToSide(Side::MinusY);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->GetAxis(0), CVector3(0, -1, 0));
    EXPECT_EQ(down->GetAxis(1), CVector3(1, 0, 0));
    EXPECT_EQ(down->GetAxis(2), CVector3(0, 0, 1));

    for (int side : AllSides) {
        std::optional<CTransform> t = frame.TurnXToSide(side);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->translation, frame.translation);
        EXPECT_EQ(t->GetAxis(0), CMatrix3::MulVec(frame.rotation, SideVector(side)));
    }
    for (int edge = 0; edge < EdgeCount; ++edge) {
        std::optional<CTransform> t = frame.TurnBySide(edge);
        ASSERT_TRUE(t);
        EXPECT_EQ(t->translation, frame.translation);
        SEdgeSides sides = GetEdgeSides(edge);
        EXPECT_TRUE(mathtest::VectorNear(
            t->GetAxis(0) + t->GetAxis(1),
            CMatrix3::MulVec(frame.rotation, SideVector(sides.first) + SideVector(sides.second)),
            1e-15));
    }
    std::optional<CTransform> unturned = frame.TurnToSides(Side::PlusZ, Side::PlusZ);
    ASSERT_TRUE(unturned);
    EXPECT_EQ(*unturned, frame);
    std::optional<CTransform> pair = frame.TurnToSides(Side::MinusZ, Side::PlusX);
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->GetAxis(0), -1.0 * frame.GetAxis(2));
    EXPECT_EQ(pair->GetAxis(1), frame.GetAxis(0));
}

TEST(Orientation, TurnsRefuseSidesAndEdgesOutOfRange) {
    CTransform frame;
    EXPECT_FALSE(frame.TurnXToSide(6));
    EXPECT_FALSE(frame.TurnXToSide(-1));
    EXPECT_FALSE(frame.TurnBySide(12));
    EXPECT_FALSE(frame.TurnBySide(-1));
    EXPECT_FALSE(frame.TurnToSides(0, 6));
    EXPECT_FALSE(frame.TurnToSides(-1, 2));
}

TEST(Orientation, ClassifySideFindsTheCoincidingAxis) {
    std::mt19937_64 rng(41);
    CTransform frame = mathtest::RandomPlacement(rng);
    EXPECT_EQ(ClassifySide(frame, frame, 1), SideBit(Side::PlusY));
    // Another frame whose X is this frame's -Z.
    CTransform other = *frame.TurnXToSide(Side::MinusZ);
    other.translation = CVector3(5, 5, 5);
    EXPECT_EQ(ClassifySide(frame, other, 0), 32);
    // Every turn of the frame classifies its X onto the side it was turned to.
    for (int side : AllSides) {
        EXPECT_EQ(ClassifySide(frame, *frame.TurnXToSide(side), 0), SideBit(side));
    }
    // An axis that is no side of the frame.
    CTransform tilted = frame;
    tilted.RotateDeg(10.0, 0, 1);
    EXPECT_EQ(ClassifySide(frame, tilted, 0), 0);
    EXPECT_EQ(ClassifySide(frame, tilted, 2), SideBit(Side::PlusZ));
}

TEST(Orientation, ClassifySideToleranceIsStrict) {
    CTransform frame;
    CTransform near = frame;
    near.rotation.m[1][0] = 0.5e-6;
    EXPECT_EQ(ClassifySide(frame, near, 0), SideBit(Side::PlusX));
    near.rotation.m[1][0] = -0.5e-6;
    near.rotation.m[0][0] = -1.0;
    EXPECT_EQ(ClassifySide(frame, near, 0), SideBit(Side::MinusX));
    CTransform off = frame;
    off.rotation.m[1][0] = 1e-6;
    EXPECT_EQ(ClassifySide(frame, off, 0), 0);
}

TEST(Orientation, ClassifySideRefusesAxesOutOfRange) {
    CTransform frame;
    EXPECT_EQ(ClassifySide(frame, frame, 3), 0);
    EXPECT_EQ(ClassifySide(frame, frame, -1), 0);
}

TEST(Orientation, ClassifyEdgeNamesTheEdgeOfTheTwoAxes) {
    CTransform frame;
    CTransform corner(CMatrix3::FromColumns({0, -1, 0}, {0, 0, 1}, {-1, 0, 0}), {});
    EXPECT_EQ(ClassifyEdge(frame, corner), 1024);

    std::mt19937_64 rng(43);
    CTransform coupling = mathtest::RandomPlacement(rng);
    for (int edge = 0; edge < EdgeCount; ++edge) {
        SCOPED_TRACE(edge);
        EXPECT_EQ(ClassifyEdge(coupling, *coupling.TurnBySide(edge)), 1 << edge);
    }
    CTransform tilted = coupling;
    tilted.RotateDeg(5.0, 1, 2);
    EXPECT_EQ(ClassifyEdge(coupling, tilted), 0);
}
