// Vectors, matrices, quaternions and placements: conversions, turns in a local frame, the
// upright alignment and axis snapping, the OpenGL order, composition and inversion.
#include <array>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "support/AngleConstants.h"
#include "support/Matrix3.h"
#include "support/Quaternion.h"
#include "support/Transform.h"
#include "support/Vector3.h"
#include "tests/support/MathTestUtil.h"

using mathtest::IsRotation;
using mathtest::MatrixNear;
using mathtest::VectorNear;

namespace {

CMatrix3 Columns(CVector3 x, CVector3 y, CVector3 z) {
    return CMatrix3::FromColumns(x, y, z);
}

// A rotation of the given degrees about world y, built by hand.
CMatrix3 AboutWorldY(double degrees) {
    double r = degrees * PI / 180.0;
    return Columns({std::cos(r), 0.0, -std::sin(r)}, {0.0, 1.0, 0.0},
                   {std::sin(r), 0.0, std::cos(r)});
}

} // namespace

TEST(AngleConstants, EqualTheirRunTimeComputationBitForBit) {
    // volatile keeps the compiler from folding the calls, so the library computes them.
    volatile double one = 1.0;
    volatile double two = 2.0;
    volatile double half = 0.5;
    double pi = 4.0 * std::atan2(one, one);
    EXPECT_EQ(PI, pi);
    EXPECT_EQ(DEG2RAD, pi * 0.005555555555555556);
    EXPECT_EQ(RAD2DEG, 180.0 / pi);
    EXPECT_EQ(SQRT2, std::sqrt(two));
    EXPECT_EQ(SQRT1_2, std::sqrt(half));
}

TEST(Vector3, NormaliseGivesUnitLengthAndLeavesZeroAlone) {
    CVector3 v(3.0, -4.0, 12.0);
    EXPECT_DOUBLE_EQ(v.Length(), 13.0);
    v.Normalise();
    EXPECT_NEAR(v.Length(), 1.0, 1e-15);
    EXPECT_TRUE(VectorNear(v, {3.0 / 13.0, -4.0 / 13.0, 12.0 / 13.0}, 1e-16));

    CVector3 zero;
    zero.Normalise();
    EXPECT_EQ(zero, CVector3(0.0, 0.0, 0.0));
}

TEST(Vector3, CrossIsRightHandedAndPerpendicular) {
    EXPECT_EQ(CVector3::Cross({1, 0, 0}, {0, 1, 0}), CVector3(0, 0, 1));
    EXPECT_EQ(CVector3::Cross({0, 1, 0}, {0, 0, 1}), CVector3(1, 0, 0));
    EXPECT_EQ(CVector3::Cross({0, 0, 1}, {1, 0, 0}), CVector3(0, 1, 0));
    CVector3 a(1.5, -2.0, 0.25);
    CVector3 b(-3.0, 0.5, 4.0);
    CVector3 c = CVector3::Cross(a, b);
    EXPECT_NEAR(CVector3::Dot(c, a), 0.0, 1e-12);
    EXPECT_NEAR(CVector3::Dot(c, b), 0.0, 1e-12);
    EXPECT_EQ(CVector3::Cross(b, a), CVector3::Scale(-1.0, c));
}

TEST(Vector3, DistSqIsTheSquaredDistance) {
    EXPECT_EQ(CVector3::DistSq({1, 2, 3}, {4, 6, 3}), 25.0);
    EXPECT_EQ(CVector3::DistSq({1, 2, 3}, {1, 2, 3}), 0.0);
    EXPECT_EQ(CVector3(1, 2, 3) + CVector3(1, 1, 1) - CVector3(2, 3, 4), CVector3());
    EXPECT_EQ(2.0 * CVector3(1, 2, 3), CVector3(2, 4, 6));
}

TEST(Matrix3, ColumnsAreTheLocalAxesAndOutOfRangeColumnsAreRefused) {
    CMatrix3 m = Columns({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    EXPECT_EQ(m.m[1][0], 2.0); // row 1 is world y; column 0 is local X
    EXPECT_EQ(m.GetColumn(2), CVector3(7, 8, 9));
    EXPECT_EQ(CMatrix3::MulVec(m, {1, 0, 0}), CVector3(1, 2, 3));
    EXPECT_EQ(m.GetColumn(3), CVector3());
    EXPECT_EQ(m.GetColumn(-1), CVector3());
    CMatrix3 before = m;
    EXPECT_FALSE(m.SetColumn(3, {0, 0, 0}));
    EXPECT_FALSE(m.SetColumn(-1, {0, 0, 0}));
    EXPECT_EQ(m, before);
}

TEST(Quaternion, RightAngleTurnsSurviveTheRoundTrip) {
    auto rotations = mathtest::RightAngleRotations();
    ASSERT_EQ(rotations.size(), 24u);
    for (size_t i = 0; i < rotations.size(); ++i) {
        SCOPED_TRACE(i);
        CQuaternion q = CQuaternion::FromMatrix(rotations[i]);
        EXPECT_GE(q.w, 0.0);
        EXPECT_NEAR(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z, 1.0, 1e-15);
        EXPECT_TRUE(MatrixNear(CMatrix3::FromQuat(q), rotations[i], 4e-16));
    }
}

TEST(Quaternion, RandomRotationsSurviveTheRoundTrip) {
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < 2000; ++i) {
        SCOPED_TRACE(i);
        CQuaternion q = mathtest::RandomUnitQuaternion(rng);
        CMatrix3 m = CMatrix3::FromQuat(q);
        ASSERT_TRUE(IsRotation(m, 1e-14));
        CQuaternion back = CQuaternion::FromMatrix(m);
        EXPECT_GE(back.w, 0.0);
        double sign = q.w < 0.0 ? -1.0 : 1.0; // q and -q are the same rotation
        EXPECT_NEAR(back.w, sign * q.w, 1e-14);
        EXPECT_NEAR(back.x, sign * q.x, 1e-14);
        EXPECT_NEAR(back.y, sign * q.y, 1e-14);
        EXPECT_NEAR(back.z, sign * q.z, 1e-14);
        EXPECT_TRUE(MatrixNear(CMatrix3::FromQuat(back), m, 1e-14));
    }
}

TEST(Quaternion, HalfTurnAboutYPicksTheYComponent) {
    CQuaternion q = CQuaternion::FromMatrix(Columns({-1, 0, 0}, {0, 1, 0}, {0, 0, -1}));
    EXPECT_EQ(q, CQuaternion(0.0, 0.0, 1.0, 0.0));
}

TEST(Quaternion, NeverReturnsANegativeScalarPart) {
    // A turn of 270 degrees about z taken as the quaternion with w < 0 comes back negated.
    CQuaternion negative(-SQRT1_2, 0.0, 0.0, SQRT1_2);
    CQuaternion q = CQuaternion::FromMatrix(CMatrix3::FromQuat(negative));
    EXPECT_GE(q.w, 0.0);
    EXPECT_NEAR(q.w, SQRT1_2, 1e-15);
    EXPECT_NEAR(q.z, -SQRT1_2, 1e-15);
}

TEST(Quaternion, DegenerateMatricesGiveFiniteValues) {
    CMatrix3 zero = Columns({}, {}, {});
    CMatrix3 flat = Columns({1, 0, 0}, {1, 0, 0}, {0, 0, 0});
    for (const CMatrix3& m : {zero, flat}) {
        CQuaternion q = CQuaternion::FromMatrix(m);
        EXPECT_TRUE(std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) &&
                    std::isfinite(q.z));
        EXPECT_GE(q.w, 0.0);
    }
}

TEST(Matrix3, AnUnnormalisedQuaternionGivesAScaledMatrix) {
    std::mt19937_64 rng(7);
    CQuaternion q = mathtest::RandomUnitQuaternion(rng);
    CMatrix3 unit = CMatrix3::FromQuat(q);
    CMatrix3 doubled = CMatrix3::FromQuat({2 * q.w, 2 * q.x, 2 * q.y, 2 * q.z});
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(doubled.m[r][c], 4.0 * unit.m[r][c], 1e-14);
        }
    }
}

TEST(Transform, MovesFollowTheLocalAxes) {
    CTransform t(Columns({0, 1, 0}, {0, 0, 1}, {1, 0, 0}), {10, 20, 30});
    t.MoveX(2.0);
    EXPECT_EQ(t.translation, CVector3(10, 22, 30));
    t.MoveY(-3.0);
    EXPECT_EQ(t.translation, CVector3(10, 22, 27));
    t.MoveZ(5.0);
    EXPECT_EQ(t.translation, CVector3(15, 22, 27));
    CTransform moved = t.MovedX(1.0);
    EXPECT_EQ(moved.translation, CVector3(15, 23, 27));
    EXPECT_EQ(t.translation, CVector3(15, 22, 27));
    EXPECT_EQ(moved.rotation, t.rotation);
    EXPECT_EQ(t.GetAxis(2), CVector3(1, 0, 0));
    EXPECT_EQ(t.GetAxis(3), CVector3());
    EXPECT_EQ(t.GetAxis(-1), CVector3());
}

TEST(Transform, QuarterAndHalfTurnsAreExactAndUndoThemselves) {
    std::mt19937_64 rng(11);
    CTransform start = mathtest::RandomPlacement(rng);
    const int pairs[6][2] = {{0, 1}, {1, 0}, {0, 2}, {2, 0}, {1, 2}, {2, 1}};
    for (const auto& p : pairs) {
        SCOPED_TRACE(testing::Message() << p[0] << p[1]);
        CTransform t = start;
        ASSERT_TRUE(t.Turn90(p[0], p[1]));
        EXPECT_EQ(t.GetAxis(p[0]), -1.0 * start.GetAxis(p[1]));
        EXPECT_EQ(t.GetAxis(p[1]), start.GetAxis(p[0]));
        EXPECT_EQ(t.GetAxis(3 - p[0] - p[1]), start.GetAxis(3 - p[0] - p[1]));
        EXPECT_EQ(t.translation, start.translation);
        ASSERT_TRUE(t.Turn90(p[1], p[0]));
        EXPECT_EQ(t, start);
        for (int i = 0; i < 4; ++i) {
            t.Turn90(p[0], p[1]);
        }
        EXPECT_EQ(t, start);
        ASSERT_TRUE(t.Flip(p[0], p[1]));
        EXPECT_EQ(t.GetAxis(p[0]), -1.0 * start.GetAxis(p[0]));
        EXPECT_TRUE(IsRotation(t.rotation, 1e-14));
        t.Flip(p[1], p[0]);
        EXPECT_EQ(t, start);
    }
}

TEST(Transform, TurnsRefuseAxesOutOfRangeOrEqual) {
    CTransform t(Columns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}), {1, 2, 3});
    const CTransform before = t;
    const int bad[][2] = {{0, 0}, {2, 2}, {-1, 1}, {0, 3}, {3, 0}, {1, 7}};
    for (const auto& p : bad) {
        SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
        EXPECT_FALSE(t.Turn90(p[0], p[1]));
        EXPECT_FALSE(t.Flip(p[0], p[1]));
        EXPECT_FALSE(t.RotateDeg(30.0, p[0], p[1]));
        EXPECT_EQ(t, before);
    }
}

TEST(Transform, RotateDegTurnsTheFirstAxisTowardsTheSecond) {
    CTransform t;
    ASSERT_TRUE(t.RotateDeg(30.0, 0, 1));
    EXPECT_TRUE(VectorNear(t.GetAxis(0), {std::cos(PI / 6), std::sin(PI / 6), 0}, 1e-15));
    EXPECT_TRUE(VectorNear(t.GetAxis(1), {-std::sin(PI / 6), std::cos(PI / 6), 0}, 1e-15));
    EXPECT_EQ(t.GetAxis(2), CVector3(0, 0, 1));

    // A quarter turn by angle equals the exact quarter turn the other way round, and any turn is
    // undone by the opposite angle.
    std::mt19937_64 rng(3);
    CTransform start = mathtest::RandomPlacement(rng);
    const int pairs[6][2] = {{0, 1}, {1, 0}, {0, 2}, {2, 0}, {1, 2}, {2, 1}};
    for (const auto& p : pairs) {
        CTransform byAngle = start;
        byAngle.RotateDeg(90.0, p[0], p[1]);
        CTransform exact = start;
        exact.Turn90(p[1], p[0]);
        EXPECT_TRUE(MatrixNear(byAngle.rotation, exact.rotation, 1e-15));
        byAngle.RotateDeg(47.5, p[0], p[1]);
        EXPECT_TRUE(IsRotation(byAngle.rotation, 1e-14));
        byAngle.RotateDeg(-137.5, p[0], p[1]);
        EXPECT_TRUE(MatrixNear(byAngle.rotation, start.rotation, 1e-14));
        EXPECT_EQ(byAngle.translation, start.translation);
    }
}

TEST(Transform, AlignToWorldTurnsRightAngleFramesUpright) {
    auto rotations = mathtest::RightAngleRotations();
    for (size_t i = 0; i < rotations.size(); ++i) {
        SCOPED_TRACE(i);
        CTransform t(rotations[i], {5, 6, 7});
        t.AlignToWorld();
        EXPECT_EQ(t, CTransform(CMatrix3(), {5, 6, 7}));
    }
}

TEST(Transform, AlignToWorldTurnsByRightAnglesOnly) {
    std::mt19937_64 rng(5);
    for (int i = 0; i < 500; ++i) {
        SCOPED_TRACE(i);
        CMatrix3 start = mathtest::RandomRotation(rng);
        CTransform t(start, {});
        t.AlignToWorld();
        // The turn applied in the local frame is a signed permutation of the axes.
        CMatrix3 turn = CMatrix3::Mul(start.Transposed(), t.rotation);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                double a = std::fabs(turn.m[r][c]);
                EXPECT_TRUE(a < 1e-12 || std::fabs(a - 1.0) < 1e-12);
            }
        }
        EXPECT_TRUE(IsRotation(t.rotation, 1e-14));
        const auto& m = t.rotation.m;
        EXPECT_GE(m[1][1], 0.0);
        double mostVertical = std::max(
            {std::fabs(start.m[1][0]), std::fabs(start.m[1][1]), std::fabs(start.m[1][2])});
        EXPECT_NEAR(m[1][1], mostVertical, 1e-15);
        EXPECT_GE(m[0][0], 0.0);
        EXPECT_GE(std::fabs(m[0][0]), std::fabs(m[0][2]));
    }
}

TEST(Transform, AlignToWorldWithLocalXUp) {
    // Local X straight up, Y and Z turned 30 degrees about it: the old X becomes the new Y and
    // the old Y negated the new X, which already points along +x, so nothing more turns.
    double c = std::cos(PI / 6);
    double s = std::sin(PI / 6);
    CTransform t(Columns({0, 1, 0}, {-c, 0, s}, {s, 0, c}), {1, 2, 3});
    t.AlignToWorld();
    EXPECT_EQ(t.GetAxis(0), CVector3(c, 0, -s));
    EXPECT_EQ(t.GetAxis(1), CVector3(0, 1, 0));
    EXPECT_EQ(t.GetAxis(2), CVector3(s, 0, c));
    EXPECT_EQ(t.translation, CVector3(1, 2, 3));
}

TEST(Transform, RoundToAxesSnapsTheTurnedFrame) {
    CTransform t(AboutWorldY(120.0), {1, 2, 3});
    t.RoundToAxes();
    EXPECT_EQ(t.GetAxis(1), CVector3(0, 1, 0));
    EXPECT_EQ(t.GetAxis(2), CVector3(1, 0, 0));
    EXPECT_EQ(t.GetAxis(0), CVector3(0, 0, -1));
    EXPECT_EQ(t.translation, CVector3(1, 2, 3));
}

TEST(Transform, RoundToAxesGivesTheNearestRightAngleFrame) {
    for (const CMatrix3& r : mathtest::RightAngleRotations()) {
        CTransform t(r, {});
        t.RoundToAxes();
        EXPECT_EQ(t.rotation, r);
    }
    std::mt19937_64 rng(9);
    for (int i = 0; i < 2000; ++i) {
        SCOPED_TRACE(i);
        CTransform t(mathtest::RandomRotation(rng), {});
        t.RoundToAxes();
        EXPECT_EQ(mathtest::Det(t.rotation), 1.0);
        EXPECT_TRUE(IsRotation(t.rotation, 0.0));
    }
}

TEST(Transform, GlMatrixIsColumnMajorAndMapsLikeTheTransform) {
    CTransform t(Columns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}), {10, 20, 30});
    std::array<double, 16> gl = t.GetGlMatrix();
    const std::array<double, 16> expected = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1};
    EXPECT_EQ(gl, expected);

    std::mt19937_64 rng(13);
    CTransform random = mathtest::RandomPlacement(rng);
    gl = random.GetGlMatrix();
    CVector3 p(3.5, -2.0, 7.25);
    CVector3 mapped(gl[0] * p.x + gl[4] * p.y + gl[8] * p.z + gl[12],
                    gl[1] * p.x + gl[5] * p.y + gl[9] * p.z + gl[13],
                    gl[2] * p.x + gl[6] * p.y + gl[10] * p.z + gl[14]);
    EXPECT_TRUE(VectorNear(mapped, random.MapPoint(p), 1e-9));
}

TEST(Transform, ScaledGlMatrixScalesRotationAndTranslationApart) {
    std::mt19937_64 rng(17);
    CTransform t = mathtest::RandomPlacement(rng);
    std::array<double, 16> plain = t.GetGlMatrix();
    std::array<double, 16> scaled = t.GetGlMatrixScaled(1.0, 0.6);
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) {
        EXPECT_EQ(scaled[i], plain[i] * 0.6);
    }
    for (int i : {3, 7, 11}) {
        EXPECT_EQ(scaled[i], 0.0);
    }
    for (int i : {12, 13, 14}) {
        EXPECT_EQ(scaled[i], plain[i]);
    }
    EXPECT_EQ(scaled[15], 1.0);
    EXPECT_EQ(t.GetGlMatrixScaled(0.5, 1.0)[12], 0.5 * t.translation.x);
}

TEST(Transform, CompositionAndInversionGiveTheIdentity) {
    std::mt19937_64 rng(19);
    for (int i = 0; i < 500; ++i) {
        SCOPED_TRACE(i);
        CTransform a = mathtest::RandomPlacement(rng);
        CTransform b = mathtest::RandomPlacement(rng);
        CTransform c = mathtest::RandomPlacement(rng);
        CVector3 p(123.0, -45.5, 6.25);

        CTransform ab = CTransform::Mul(a, b);
        EXPECT_TRUE(VectorNear(ab.MapPoint(p), a.MapPoint(b.MapPoint(p)), 1e-8));
        CTransform left = CTransform::Mul(ab, c);
        CTransform right = CTransform::Mul(a, CTransform::Mul(b, c));
        EXPECT_TRUE(MatrixNear(left.rotation, right.rotation, 1e-14));
        EXPECT_TRUE(VectorNear(left.translation, right.translation, 1e-8));

        for (const CTransform& identity :
             {CTransform::Mul(a, a.Inverse()), CTransform::Mul(a.Inverse(), a)}) {
            EXPECT_TRUE(MatrixNear(identity.rotation, CMatrix3(), 1e-14));
            EXPECT_TRUE(VectorNear(identity.translation, CVector3(), 1e-9));
        }
        EXPECT_TRUE(VectorNear(a.Inverse().MapPoint(a.MapPoint(p)), p, 1e-9));
    }
}

TEST(Transform, RightAngleCompositionIsExact) {
    auto rotations = mathtest::RightAngleRotations();
    for (size_t i = 0; i < rotations.size(); ++i) {
        for (size_t j = 0; j < rotations.size(); ++j) {
            CTransform a(rotations[i], {100, -250, 75});
            CTransform b(rotations[j], {-5, 40, 1200});
            CTransform ab = CTransform::Mul(a, b);
            EXPECT_EQ(CTransform::Mul(ab, ab.Inverse()), CTransform());
            EXPECT_EQ(CTransform::Mul(CTransform::Mul(ab, b.Inverse()), a.Inverse()), CTransform());
        }
    }
}
