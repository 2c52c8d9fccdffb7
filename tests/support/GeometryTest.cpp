// Axis-aligned boxes, triangle frames and the planar orientation test, with points on faces,
// outside, and degenerate triangles.
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "support/Box3.h"
#include "support/TriFrame.h"
#include "tests/support/MathTestUtil.h"

using mathtest::MatrixNear;
using mathtest::VectorNear;

TEST(Box3, BoundsKeepTheirOrder) {
    CBox3 box;
    EXPECT_EQ(box, CBox3(0, 0, 0, 0, 0, 0));
    CBox3 selection(826.0, -26.0, 426.0, -425.0, 424.0, -423.0);
    EXPECT_EQ(selection.maxY, 826.0);
    EXPECT_EQ(selection.minY, -26.0);
    EXPECT_EQ(selection.maxX, 426.0);
    EXPECT_EQ(selection.minX, -425.0);
    EXPECT_EQ(selection.maxZ, 424.0);
    EXPECT_EQ(selection.minZ, -423.0);
}

TEST(Box3, AnEmptyBoxContainsNothing) {
    CBox3 box;
    box.Reset();
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(box, CBox3(-largest, largest, -largest, largest, -largest, largest));
    for (CVector3 p : {CVector3(), CVector3(1, 2, 3), CVector3(largest, largest, largest),
                       CVector3(-largest, -largest, -largest)}) {
        EXPECT_FALSE(box.Contains(p));
    }
}

TEST(Box3, TheFirstPointSetsEveryBound) {
    CBox3 box;
    box.Reset();
    box.Extend({1, 2, 3});
    EXPECT_EQ(box, CBox3(2, 2, 1, 1, 3, 3));
    EXPECT_TRUE(box.Contains({1, 2, 3}));
    EXPECT_FALSE(box.Contains({1, 2, 3.0000001}));
}

TEST(Box3, ExtendHoldsEveryPointAndNoMore) {
    std::mt19937_64 rng(47);
    std::uniform_real_distribution<double> coordinate(-5000.0, 5000.0);
    CBox3 box;
    box.Reset();
    std::vector<CVector3> points;
    for (int i = 0; i < 200; ++i) {
        points.emplace_back(coordinate(rng), coordinate(rng), coordinate(rng));
        box.Extend(points.back());
    }
    for (CVector3 p : points) {
        EXPECT_TRUE(box.Contains(p));
    }
    // Every bound is reached by some point.
    int reached = 0;
    for (CVector3 p : points) {
        reached |= (p.y == box.maxY) << 0 | (p.y == box.minY) << 1 | (p.x == box.maxX) << 2 |
                   (p.x == box.minX) << 3 | (p.z == box.maxZ) << 4 | (p.z == box.minZ) << 5;
    }
    EXPECT_EQ(reached, 63);
}

TEST(Box3, FacesCountAsInsideAndEachAxisIsTestedAlone) {
    CBox3 box(10, -10, 20, -20, 30, -30);
    EXPECT_TRUE(box.Contains({20, 10, 30}));    // a corner
    EXPECT_TRUE(box.Contains({-20, -10, -30})); // the opposite corner
    EXPECT_TRUE(box.Contains({0, 10, 0}));      // on the top face
    // Outside on one axis only, touching on the others.
    EXPECT_FALSE(box.Contains({20.000001, 10, 30}));
    EXPECT_FALSE(box.Contains({20, 10.000001, 30}));
    EXPECT_FALSE(box.Contains({20, 10, 30.000001}));
    EXPECT_FALSE(box.Contains({-20, -10, -30.5}));
    EXPECT_FALSE(box.Contains({std::nan(""), 0, 0}));
}

TEST(Box3, AFlatBoxHoldsItsPlane) {
    CBox3 box;
    box.Reset();
    box.Extend({0, 5, 0});
    box.Extend({100, 5, 100});
    EXPECT_TRUE(box.Contains({50, 5, 50}));
    EXPECT_FALSE(box.Contains({50, 5.001, 50}));
}

TEST(TriFrame, UnitTriangle) {
    CTriFrame frame({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(frame.GetMatrix(), CMatrix3());
    EXPECT_EQ(frame.GetProduct(), 1.0);
    ASSERT_TRUE(frame.Invert());
    EXPECT_EQ(frame.GetMatrix(), CMatrix3());
    EXPECT_EQ(frame.GetProduct(), 1.0);
    EXPECT_EQ(CMatrix3::MulVec(frame.GetMatrix(), {0.25, 0.25, 2}), CVector3(0.25, 0.25, 2));
}

TEST(TriFrame, CoordinatesRebuildThePoint) {
    std::mt19937_64 rng(53);
    std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0);
    auto point = [&] { return CVector3(coordinate(rng), coordinate(rng), coordinate(rng)); };
    for (int i = 0; i < 500; ++i) {
        SCOPED_TRACE(i);
        CVector3 p0 = point(), p1 = point(), p2 = point(), q = point();
        CTriFrame frame(p0, p1, p2);
        CVector3 e1 = p1 - p0;
        CVector3 e2 = p2 - p0;
        CVector3 normal = CVector3::Cross(e1, e2);
        normal.Normalise();
        EXPECT_TRUE(VectorNear(frame.GetMatrix().GetColumn(2), normal, 1e-15));
        double product = frame.GetProduct();
        EXPECT_NEAR(product, e1.Length() * e2.Length(), 1e-9 * product);
        ASSERT_TRUE(frame.Invert());
        EXPECT_NEAR(frame.GetProduct(), 1.0 / product, 1e-15 / product);

        CVector3 c = CMatrix3::MulVec(frame.GetMatrix(), q - p0);
        CVector3 rebuilt = p0 + c.x * e1 + c.y * e2 + c.z * normal;
        EXPECT_TRUE(VectorNear(rebuilt, q, 1e-8));
        // The third coordinate is the signed distance from the plane.
        EXPECT_NEAR(c.z, CVector3::Dot(q - p0, normal), 1e-8);
    }
}

TEST(TriFrame, CornersEdgesAndOutsidePoints) {
    CVector3 p0(10, 20, 30);
    CVector3 p1(110, 20, 30);
    CVector3 p2(10, 20, 230);
    CTriFrame frame(p0, p1, p2);
    ASSERT_TRUE(frame.Invert());
    auto at = [&](CVector3 p) { return CMatrix3::MulVec(frame.GetMatrix(), p - p0); };
    EXPECT_TRUE(VectorNear(at(p0), {0, 0, 0}, 1e-15));
    EXPECT_TRUE(VectorNear(at(p1), {1, 0, 0}, 1e-15));
    EXPECT_TRUE(VectorNear(at(p2), {0, 1, 0}, 1e-15));
    CVector3 onEdge = at({60, 20, 130}); // midpoint of p1 p2: a + b = 1
    EXPECT_NEAR(onEdge.x + onEdge.y, 1.0, 1e-15);
    // The normal (e1 x e2) here points along -y, so a point below the plane is at +distance.
    EXPECT_NEAR(at({30, 15, 50}).z, 5.0, 1e-13);
    CVector3 outside = at({120, 20, 130});
    EXPECT_GT(outside.x + outside.y, 1.0);
}

TEST(TriFrame, DegenerateTrianglesCannotBeInverted) {
    const CVector3 cases[][3] = {
        {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}},          // on one line
        {{5, 5, 5}, {5, 5, 5}, {1, 2, 3}},          // two corners coincide
        {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}},          // a point
        {{0, 0, 0}, {1000, 0, 0}, {2000, 1e-7, 0}}, // a sliver below the relative limit
    };
    for (const auto& c : cases) {
        CTriFrame frame(c[0], c[1], c[2]);
        EXPECT_EQ(frame.GetMatrix().GetColumn(2), CVector3());
        CMatrix3 before = frame.GetMatrix();
        double product = frame.GetProduct();
        EXPECT_FALSE(frame.Invert());
        EXPECT_EQ(frame.GetMatrix(), before);
        EXPECT_EQ(frame.GetProduct(), product);
    }
    // A thin triangle just above the limit still works.
    CTriFrame thin({0, 0, 0}, {1, 0, 0}, {1, 1e-5, 0});
    EXPECT_EQ(thin.GetMatrix().GetColumn(2), CVector3(0, 0, 1));
    EXPECT_TRUE(thin.Invert());
}

TEST(TriFrame, NonFiniteCornersAreRefused) {
    CTriFrame frame({0, 0, 0}, {std::nan(""), 0, 0}, {0, 1, 0});
    EXPECT_FALSE(frame.Invert());
}

TEST(Orient2D, SignFollowsTheTurn) {
    EXPECT_EQ(Orient2D({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), 1.0);
    EXPECT_EQ(Orient2D({0, 0, 0}, {0, 1, 0}, {1, 0, 0}), -1.0);
    EXPECT_EQ(Orient2D({0, 0, 0}, {1, 1, 0}, {2, 2, 0}), 0.0);
    // z does not count.
    EXPECT_EQ(Orient2D({0, 0, 5}, {1, 0, -7}, {0, 1, 100}), 1.0);
    // Twice the area.
    EXPECT_EQ(Orient2D({1, 1, 0}, {4, 1, 0}, {1, 5, 0}), 12.0);
}
