// GL primitives: the walk of the angle tables by the detail stride, segment counts, closed
// outlines, sphere octants on radius 25 facing outwards, tessellated concave caps, and the
// round wooden panel's outline.
#include <cmath>
#include <vector>

#include "app/render/GlPrimitives.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

std::vector<int> Walk(int first, int last, int stride) {
    std::vector<int> visited;
    WalkSteps(first, last, stride, [&](int k) { visited.push_back(k); });
    return visited;
}

// The normal of a feedback triangle by its winding (counter-clockwise seen from its front).
CVector3 WindingNormal(const SFeedbackToken& polygon) {
    const CVector3 u = CVector3::Sub(polygon.vertices[1], polygon.vertices[0]);
    const CVector3 w = CVector3::Sub(polygon.vertices[2], polygon.vertices[0]);
    return {u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
}

using GlPrimitives = GlTest;

} // namespace

TEST(GlTablesTest, CirclesCloseAndWalksReachTheLastEntry) {
    EXPECT_EQ(GlTables::Circle32().Last(), 32);
    EXPECT_NEAR(GlTables::Circle16().Sin(16), 0.0, 1e-6);
    EXPECT_NEAR(GlTables::Steps15().Cos(8), -0.5, 1e-6);      // 120 degrees
    EXPECT_NEAR(GlTables::Arc12().Sin(12), 0.92387953, 1e-6); // 67.5 degrees
    EXPECT_EQ(Walk(0, 16, 4), (std::vector<int>{0, 4, 8, 12, 16}));
    EXPECT_EQ(Walk(18, 20, 4), (std::vector<int>{18, 20}));
    EXPECT_EQ(Walk(0, 16, 3).back(), 16);
    EXPECT_EQ(Walk(0, 3, 0), (std::vector<int>{0, 1, 2, 3})); // a broken stride counts as 1
}

TEST_F(GlPrimitives, StrideDividesTheSegmentsOfCurvedSurfaces) {
    const SProfilePoint profile[] = {
        {0, 10, 0, 1, 0, 1}, {50, 10, 0, 1, 0, 1}, {50, 0, 1, 0, 1, 0}};
    for (int stride : {1, 2, 4}) {
        SCOPED_TRACE(stride);
        // Two triangles per segment and profile segment.
        EXPECT_EQ(CountTokens(CaptureFeedback([&] { GlPrim::DrawLathe32(profile, stride); }),
                              GL_POLYGON_TOKEN),
                  2 * 2 * 32 / stride);
        EXPECT_EQ(CountTokens(CaptureFeedback([&] { GlPrim::DrawCylinder(stride, 0, 9, 25); }),
                              GL_POLYGON_TOKEN),
                  2 * 16 / stride);
        const auto circle = CaptureFeedback([&] { GlPrim::DrawCircle(10, 35, stride); });
        ASSERT_EQ(CountTokens(circle, GL_LINE_TOKEN), 16 / stride);
        EXPECT_NEAR(circle.back().vertices[1].y, circle.front().vertices[0].y, 1e-3); // closed
    }
    EXPECT_TRUE(CaptureFeedback([&] { GlPrim::DrawLathe16(std::span(profile, 1), 1); }).empty());
}

TEST_F(GlPrimitives, SphereOctantsLieOnRadius25AndFaceOutwards) {
    for (int stride : {1, 2, 4}) {
        for (int octant = 0; octant < 8; ++octant) {
            SCOPED_TRACE(testing::Message() << "stride " << stride << " octant " << octant);
            const auto tokens = CaptureFeedback([&] { GlPrim::DrawGridPatch(octant, stride); });
            ASSERT_EQ(CountTokens(tokens, GL_POLYGON_TOKEN), 16 / (stride * stride));
            const CVector3 side((octant & 1) != 0 ? -1 : 1, (octant & 2) != 0 ? -1 : 1,
                                (octant & 4) != 0 ? -1 : 1);
            for (const SFeedbackToken& polygon : tokens) {
                CVector3 centre;
                for (const CVector3& v : polygon.vertices) {
                    EXPECT_NEAR(v.Length(), 25.0, 0.05);
                    EXPECT_GE(std::min({v.x * side.x, v.y * side.y, v.z * side.z}), -0.05);
                    centre = CVector3::Add(centre, v);
                }
                const CVector3 n = WindingNormal(polygon);
                EXPECT_GT(n.x * centre.x + n.y * centre.y + n.z * centre.z, 0.0);
            }
        }
    }
}

TEST_F(GlPrimitives, TessellatedCapsFillConcaveOutlines) {
    // An L: the 40 mm square without its upper right 20 mm quarter, the last point repeating
    // the first; scaled by 2 in x, each cap covers 2400 mm².
    std::vector<SProfilePoint> outline;
    for (const auto& c :
         {std::array{0, 0}, {40, 0}, {40, 20}, {20, 20}, {20, 40}, {0, 40}, {0, 0}}) {
        outline.push_back({float(c[0]), float(c[1]), 0, 0, 0, 0});
    }
    const auto tokens =
        CaptureFeedback([&] { GlPrim::DrawPrismTess(outline, -10, 10, 2, 5, 1, 0); });
    double capArea = 0.0;
    int sides = 0;
    for (const SFeedbackToken& polygon : tokens) {
        const CVector3 n = WindingNormal(polygon);
        if (std::abs(n.x) + std::abs(n.y) < 1e-3) {
            capArea += std::abs(n.z) / 2.0;
        } else {
            ++sides;
        }
    }
    EXPECT_NEAR(capArea, 2 * 2400.0, 0.5);
    EXPECT_EQ(sides, 6 * 2);
}

TEST_F(GlPrimitives, RoundWoodOutlineHasTwentyCornersAndSides) {
    const SRoundWoodSizes sizes{400.0f, 600.0f, 10.0f, 20.0f};
    float first[3];
    float v[3];
    GlPrim::RoundWoodOutlineVertex(0, 5.0f, &sizes, first);
    EXPECT_EQ(std::vector<float>(first, first + 3), (std::vector<float>{-150.0f, 320.0f, 5.0f}));
    GlPrim::RoundWoodOutlineVertex(4, 0.0f, &sizes, v);
    EXPECT_EQ(std::vector<float>(v, v + 2), (std::vector<float>{210.0f, -250.0f}));
    GlPrim::RoundWoodOutlineVertex(20, 5.0f, &sizes, v); // the ellipse ends where side 0 starts
    EXPECT_NEAR(v[0], first[0], 1e-3);
    EXPECT_NEAR(v[1], first[1], 1e-3);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(GlPrim::RoundWoodOutlineVertex(i, 0.0f, &sizes, v), i == 19) << i;
    }
    const SPrismOutline outline{&GlPrim::RoundWoodOutlineVertex,
                                &GlPrim::RoundWoodOutlineNormalStart,
                                &GlPrim::RoundWoodOutlineNormalEnd, &sizes};
    // 20 side quads of two triangles, two caps of 20 corners (18 triangles each).
    EXPECT_EQ(CountTokens(CaptureFeedback([&] { GlPrim::DrawPrismGen(outline, -10.0f, 10.0f); }),
                          GL_POLYGON_TOKEN),
              20 * 2 + 2 * 18);
}

TEST_F(GlPrimitives, EachDiscIsLitOnItsFrontFace) {
    // Seen along -Z with a white light from the viewer and back faces culled, each disc turned
    // so that its front (counter-clockwise) face looks at the viewer: a normal out of that face
    // lights the disc fully, any other leaves it dark.
    glViewport(0, 0, m_gl.Width(), m_gl.Height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-50.0, 50.0, -50.0, 50.0, -100.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat towardsViewer[] = {0.0f, 0.0f, 1.0f, 0.0f};
    const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_CULL_FACE);
    const struct {
        const char* name;
        void (*draw)(float, float, float, float, int);
        double turnAboutY; // degrees that bring the front face to +Z
    } discs[] = {
        {"disc 1", &GlPrim::DrawDisc1, 90.0},
        {"disc 2", &GlPrim::DrawDisc2, -90.0},
        {"disc 3", &GlPrim::DrawDisc3, 180.0},
        {"disc 4", &GlPrim::DrawDisc4, 0.0},
    };
    for (const auto& disc : discs) {
        SCOPED_TRACE(disc.name);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glPushMatrix();
        glRotated(disc.turnAboutY, 0.0, 1.0, 0.0);
        disc.draw(0.0f, 0.0f, 0.0f, 40.0f, 1);
        glPopMatrix();
        ExpectNoGlError("disc");
        const std::vector<uint8_t> pixels = m_gl.ReadPixels();
        const std::size_t centre =
            (static_cast<std::size_t>(m_gl.Height() / 2) * m_gl.Width() + m_gl.Width() / 2) * 4;
        EXPECT_GE(pixels[centre], 250) << "the disc's centre is not lit";
        // A circle of radius 40 of the 50 each side: about half the picture, front face shown.
        EXPECT_GT(CountPixelsNotEqual(0, 0, 0), m_gl.Width() * m_gl.Height() * 4 / 10);
    }
}
