// Panels, wood, lattice and textiles: the plug-in panel's notched face, the lattice's meshes,
// the faces that the corrections lengthen on one side, and the covers that follow the tubes.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/render/ElmntDraw.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

// Bounds of feedback vertices: x, y and z ranges.
struct SBounds {
    double lo[3] = {1e9, 1e9, 1e9};
    double hi[3] = {-1e9, -1e9, -1e9};

    void Add(const CVector3& v) {
        const double c[3] = {v.x, v.y, v.z};
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], c[i]);
            hi[i] = std::max(hi[i], c[i]);
        }
    }
};

class PanelDrawTest : public GlTest {
protected:
    std::unique_ptr<CElmnt> Make(ElmntKind kind, float length, float width, float correction = 0.0f,
                                 float secondCorrection = 0.0f) {
        auto elmnt = std::make_unique<CElmnt>(m_ids, 1, kind, 4, CTransform(), true, length, width);
        elmnt->correction = correction;
        elmnt->secondCorrection = secondCorrection;
        return elmnt;
    }

    std::vector<SFeedbackToken> Surfaces(const CElmnt& elmnt) {
        return m_probe.Feedback(RndrMode::SurfaceFeedback, {&elmnt}, ToolMode::NoSelectionLines);
    }

    // Bounds of the polygons whose vertices all satisfy the filter.
    template <class Filter> SBounds PolygonBounds(const CElmnt& elmnt, Filter filter) {
        SBounds bounds;
        for (const SFeedbackToken& token : Surfaces(elmnt)) {
            if (token.type == GL_POLYGON_TOKEN &&
                std::all_of(token.vertices.begin(), token.vertices.end(), filter)) {
                for (const CVector3& v : token.vertices) {
                    bounds.Add(v);
                }
            }
        }
        return bounds;
    }

    CElmntIdSource m_ids;
    CDrawProbe m_probe;
};

bool Near(double a, double b) {
    return std::fabs(a - b) < 0.05;
}

} // namespace

TEST_F(PanelDrawTest, PanelFaceReachesTheTubeAxesWithNotchedCorners) {
    auto panel = Make(ElmntKind::Panel, 350.0f, 350.0f);
    const auto onFace = [](const CVector3& v) { return Near(v.z, 25.125); };
    const SBounds face = PolygonBounds(*panel, onFace);
    EXPECT_NEAR(face.lo[0], -200.0, 0.05);
    EXPECT_NEAR(face.hi[0], 200.0, 0.05);
    EXPECT_NEAR(face.lo[1], -200.0, 0.05);
    EXPECT_NEAR(face.hi[1], 200.0, 0.05);
    // Every vertex of the face keeps the notch radius from the corners, and the notches meet
    // the edges 25.125 mm from each corner.
    int notchEnds = 0;
    for (const SFeedbackToken& token : Surfaces(*panel)) {
        for (const CVector3& v : token.vertices) {
            if (!onFace(v)) {
                continue;
            }
            const double dx = 200.0 - std::fabs(v.x);
            const double dy = 200.0 - std::fabs(v.y);
            EXPECT_GE(std::hypot(dx, dy), 25.125 - 0.05) << v.x << " " << v.y;
            notchEnds += (Near(dx, 0.0) && Near(dy, 25.125)) || (Near(dx, 25.125) && Near(dy, 0.0));
        }
    }
    EXPECT_GT(notchEnds, 0);
    // The skirts between the tubes reach down to z = -22 along the edges of constant y.
    SBounds skirts;
    for (const SFeedbackToken& token : Surfaces(*panel)) {
        for (const CVector3& v : token.vertices) {
            if (v.z < 0.0) {
                skirts.Add(v);
            }
        }
    }
    EXPECT_NEAR(skirts.lo[2], -22.0, 0.05);
    EXPECT_NEAR(skirts.hi[1], 174.875, 0.05);
    EXPECT_NEAR(skirts.hi[0], 174.875, 0.05);
}

TEST_F(PanelDrawTest, LatticeMeshesOfAbout25Millimetres) {
    const struct {
        float width;
        float length;
        int across; // lines along Y
        int along;  // lines along X
    } rows[] = {
        {350.0f, 350.0f, 15, 15}, // round(348 * 0.04) = 14 meshes
        {350.0f, 750.0f, 15, 31}, // round(29.92) = 30
        {10.0f, 10.0f, 2, 2},     // shorter than a mesh: still its border lines
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.width);
        auto lattice = Make(ElmntKind::Lattice, row.length, row.width);
        int across = 0;
        int along = 0;
        SBounds bounds;
        for (const SFeedbackToken& token : Surfaces(*lattice)) {
            if (token.type != GL_LINE_TOKEN) {
                continue;
            }
            across += Near(token.vertices[0].x, token.vertices[1].x) ? 1 : 0;
            along += Near(token.vertices[0].y, token.vertices[1].y) ? 1 : 0;
            for (const CVector3& v : token.vertices) {
                ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
                bounds.Add(v);
            }
        }
        EXPECT_EQ(across, row.across);
        EXPECT_EQ(along, row.along);
        EXPECT_NEAR(bounds.hi[0], row.width / 2.0 - 1.0, 0.05);
        EXPECT_NEAR(bounds.lo[1], 1.0 - row.length / 2.0, 0.05);
    }
}

TEST_F(PanelDrawTest, CorrectionsLengthenFacesOnOneSide) {
    // Width 350 with 20 mm more, length 350 with 10 mm more.
    const auto bounds = [&](ElmntKind kind, double z) {
        auto elmnt = Make(kind, 350.0f, 350.0f, 10.0f, 20.0f);
        return PolygonBounds(*elmnt, [z](const CVector3& v) { return Near(v.z, z); });
    };
    const SBounds display = bounds(ElmntKind::Display, 0.0);
    EXPECT_NEAR(display.lo[0], -175.0, 0.05);
    EXPECT_NEAR(display.hi[0], 195.0, 0.05);
    EXPECT_NEAR(display.lo[1], -175.0, 0.05);
    EXPECT_NEAR(display.hi[1], 185.0, 0.05);
    // The textile keeps 5 mm from the couplings at either end.
    const SBounds textile = bounds(ElmntKind::Textil, 0.0);
    EXPECT_NEAR(textile.lo[1], -170.0, 0.05);
    EXPECT_NEAR(textile.hi[1], 180.0, 0.05);
    // The round board's straight sides and its quarter ellipse out to the corrected corner.
    const SBounds round = bounds(ElmntKind::RoundWood, 25.0);
    EXPECT_NEAR(round.lo[0], -175.0, 0.05);
    EXPECT_NEAR(round.hi[0], 195.0, 0.05);
    EXPECT_NEAR(round.hi[1], 185.0, 0.05);
    // The panel grows symmetrically, as its corners do.
    const SBounds panel = bounds(ElmntKind::Panel, 25.125);
    EXPECT_NEAR(panel.lo[0], -210.0, 0.05);
    EXPECT_NEAR(panel.hi[0], 210.0, 0.05);
    EXPECT_NEAR(panel.hi[1], 205.0, 0.05);
}

TEST_F(PanelDrawTest, CoversFollowTheirTubes) {
    // Textile sleeves: shells of radius 25.2 about the side tubes at x = -200 and x = 200.
    auto textile = Make(ElmntKind::Textil, 350.0f, 350.0f);
    const SBounds sleeves =
        PolygonBounds(*textile, [](const CVector3& v) { return std::fabs(v.x) > 175.0; });
    EXPECT_NEAR(sleeves.lo[0], -225.2, 0.05);
    EXPECT_NEAR(sleeves.hi[0], 225.2, 0.05);
    EXPECT_NEAR(sleeves.hi[2], 25.2, 0.05);
    // The round textile runs on the bent tubes' axis line from x = 30 - 400 to the rising end
    // at x = 0, up to y = 370, between z = 25.2 and z = 774.8; its bend keeps 325 mm from the
    // bend's centre (75 - 400, 325).
    auto round = Make(ElmntKind::TextilRound, 350.0f, 0.0f);
    SBounds cover;
    for (const SFeedbackToken& token : Surfaces(*round)) {
        for (const CVector3& v : token.vertices) {
            cover.Add(v);
            if (v.x > -325.0 && v.y < 325.0) {
                EXPECT_NEAR(std::hypot(v.x + 325.0, v.y - 325.0), 325.0, 0.05);
            }
        }
    }
    EXPECT_NEAR(cover.lo[0], -370.0, 0.05);
    EXPECT_NEAR(cover.hi[0], 0.0, 0.05);
    EXPECT_NEAR(cover.hi[1], 370.0, 0.05);
    EXPECT_NEAR(cover.lo[2], 25.2, 0.05);
    EXPECT_NEAR(cover.hi[2], 774.8, 0.05);
    // The bed rail: five slats for 350 mm, round((350 - 12) / 82) = 4 gaps.
    auto bed = Make(ElmntKind::WoodBed, 750.0f, 350.0f);
    CDrawProbe coarse(0);
    const int boxTriangles = 2 * 6 * 2;
    const int slatTriangles = 2 * 16 / 8; // twice the coarsest stride: two segments a slat
    EXPECT_EQ(CountTokens(coarse.Feedback(RndrMode::SurfaceFeedback, {bed.get()},
                                          ToolMode::NoSelectionLines),
                          GL_POLYGON_TOKEN),
              boxTriangles + 5 * slatTriangles);
    // A rail narrower than one slat spacing still gets its two outer slats, at finite places.
    auto narrow = Make(ElmntKind::WoodBed, 750.0f, 40.0f);
    const auto narrowTokens =
        coarse.Feedback(RndrMode::SurfaceFeedback, {narrow.get()}, ToolMode::NoSelectionLines);
    EXPECT_EQ(CountTokens(narrowTokens, GL_POLYGON_TOKEN), boxTriangles + 2 * slatTriangles);
    for (const SFeedbackToken& token : narrowTokens) {
        for (const CVector3& v : token.vertices) {
            EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
        }
    }
}
