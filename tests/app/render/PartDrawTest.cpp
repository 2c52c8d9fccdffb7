// Wheels, clamps, profiles, slides, roofs and the floor grid: the axes and markers that tools
// place parts at, the targets that picking returns with a zone, what the collision test leaves
// out, the roof's document colours, the slide surfaces, and the floor grid's visibility.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/render/ElmntDraw.h"
#include "app/render/FloorGridDraw.h"
#include "app/render/SlideNet.h"
#include "model/Mtrl.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

using Names = std::vector<uint32_t>;
using Hits = std::vector<std::vector<GLuint>>;

class PartDrawTest : public GlTest {
protected:
    std::unique_ptr<CElmnt> Make(ElmntKind kind, float length = 0.0f, int material = 4) {
        return std::make_unique<CElmnt>(m_ids, 1, kind, material, CTransform(), true, length, 0.0f);
    }

    int Polygons(const CElmnt& elmnt, DrawFlags flags, CDrawProbe& probe) {
        return CountTokens(
            probe.Feedback(RndrMode::SurfaceFeedback, {&elmnt}, ToolMode::NoSelectionLines, flags),
            GL_POLYGON_TOKEN);
    }

    bool HitsZone(const Hits& hits, uint32_t id, GLuint zone) {
        return std::find(hits.begin(), hits.end(), std::vector<GLuint>{id, zone}) != hits.end();
    }

    CElmntIdSource m_ids;
    CDrawProbe m_probe;
};

void ExpectPoint(const CVector3& actual, const CVector3& expected) {
    EXPECT_NEAR(CVector3::Sub(actual, expected).Length(), 0.0, 0.1);
}

// Pixels within one step of the colour, from the test surface.
int CountColour(const std::array<float, 4>& colour) {
    std::vector<uint8_t> pixels(256 * 256 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        bool near = true;
        for (std::size_t c = 0; c < 3; ++c) {
            near = near && std::abs(pixels[i + c] - std::lround(colour[c] * 255.0f)) <= 1;
        }
        count += near ? 1 : 0;
    }
    return count;
}

} // namespace

TEST_F(PartDrawTest, AxesAndSeatsOfTheInsertTools) {
    const struct {
        ElmntKind kind;
        ToolMode tool;
        Names subNames;
        int lines;
    } rows[] = {
        // The steering lock's axis along the bearing's free end, unnamed.
        {ElmntKind::Bearing, ToolMode::SteeringLock, {}, 1},
        {ElmntKind::Bearing, ToolMode::AtConnection, {}, 0},
        // Five seats for a second tube, a cross each.
        {ElmntKind::Clamp, ToolMode::AtConnection, {0, 1, 2, 3, 4}, 10},
        {ElmntKind::Clip, ToolMode::AtConnection, {0, 1, 2, 3, 4}, 10},
        {ElmntKind::Clamp, ToolMode::SteeringLock, {}, 0},
        {ElmntKind::Alu, ToolMode::AtConnection, {}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << KindCode(row.kind) << " " << ToolModeCode(row.tool));
        auto part = Make(row.kind, 400.0f);
        const auto tokens = m_probe.Feedback(RndrMode::AxisFeedback, {part.get()}, row.tool);
        Names names = PassThroughNames(tokens);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), part->GetId().Value());
        EXPECT_EQ(Names(names.begin() + 1, names.end()), row.subNames);
        EXPECT_EQ(CountTokens(tokens, GL_LINE_TOKEN), row.lines);
        EXPECT_EQ(CountTokens(tokens, GL_POLYGON_TOKEN), 0);
    }
    // Where the lines run: the lock's axis 200 mm out along X, the clamp's first seat at
    // x = -35 across the tube 50 mm below, the clip's 55 mm beside it.
    auto bearing = Make(ElmntKind::Bearing);
    ExpectPoint(m_probe.Feedback(RndrMode::AxisFeedback, {bearing.get()}, ToolMode::SteeringLock)[1]
                    .vertices[1],
                {200.0, 0.0, 0.0});
    bearing->SetFreeArms(0);
    EXPECT_EQ(
        m_probe.Feedback(RndrMode::AxisFeedback, {bearing.get()}, ToolMode::SteeringLock).size(),
        1u);
    auto clamp = Make(ElmntKind::Clamp);
    const auto seat =
        m_probe.Feedback(RndrMode::AxisFeedback, {clamp.get()}, ToolMode::AtConnection);
    ExpectPoint(seat[2].vertices[0], {-35.0, 20.0, -30.0});
    ExpectPoint(seat[2].vertices[1], {-35.0, -20.0, -70.0});
    auto clip = Make(ElmntKind::Clip);
    const auto clipSeat =
        m_probe.Feedback(RndrMode::AxisFeedback, {clip.get()}, ToolMode::AtConnection);
    ExpectPoint(clipSeat[3].vertices[0], {-35.0, 75.0, -20.0});
}

TEST_F(PartDrawTest, TargetsPickedWithTheirZones) {
    // The bearing takes a multi wheel on its shell from x = 25 to 75.
    auto bearing = Make(ElmntKind::Bearing);
    const uint32_t bearingId = bearing->GetId().Value();
    EXPECT_TRUE(HitsZone(m_probe.Select(*bearing, ToolMode::OnPickedMultiWheel, 50.0, 25.1, 1.0),
                         bearingId, 0));
    EXPECT_EQ(m_probe.Select(*bearing, ToolMode::Select, 50.0, 25.1, 1.0), (Hits{{bearingId}}));
    // The profile's two ends take a connector: zones 0 and 1 over its first and last 50 mm,
    // 50 mm above and behind the tube.
    auto alu = Make(ElmntKind::Alu, 600.0f);
    const uint32_t aluId = alu->GetId().Value();
    EXPECT_TRUE(
        HitsZone(m_probe.Select(*alu, ToolMode::OnPickedAluConnector, 25.0, 67.0, 1.0), aluId, 0));
    EXPECT_TRUE(
        HitsZone(m_probe.Select(*alu, ToolMode::OnPickedAluConnector, 575.0, 67.0, 1.0), aluId, 1));
    EXPECT_EQ(m_probe.Select(*alu, ToolMode::OnPickedAluConnector, 300.0, 60.0, 1.0),
              (Hits{{aluId}}));
    // Straight and curved slides take a run-out on the whole chute; the run-out takes nothing.
    for (ElmntKind kind : {ElmntKind::Slide, ElmntKind::CurvedSlide, ElmntKind::SlideEnd}) {
        SCOPED_TRACE(KindCode(kind));
        auto slide = Make(kind);
        const uint32_t id = slide->GetId().Value();
        const Hits onChute = m_probe.Select(*slide, ToolMode::OnPickedSlideEnd, 0.0, 36.0, 4.0);
        EXPECT_EQ(HitsZone(onChute, id, 0), kind != ElmntKind::SlideEnd);
        EXPECT_FALSE(onChute.empty());
        for (const auto& names : onChute) {
            EXPECT_EQ(names.front(), id);
        }
    }
}

TEST_F(PartDrawTest, HubCapInTheCollisionTestLosesItsLastTwoProfilePoints) {
    auto cap = Make(ElmntKind::HubCap);
    // Two segments of the 32-segment revolution: 2 x 64 triangles.
    EXPECT_EQ(Polygons(*cap, DrawFlags::None, m_probe) -
                  Polygons(*cap, DrawFlags::CollisionTest, m_probe),
              2 * 64);
    // Clamps and clips keep their size in explosion drawing; the bearing shrinks.
    for (ElmntKind kind : {ElmntKind::Clamp, ElmntKind::Clip, ElmntKind::Bearing}) {
        SCOPED_TRACE(KindCode(kind));
        auto part = Make(kind);
        const auto extent = [&](DrawFlags flags) {
            double hi = -1e9;
            for (const auto& token : m_probe.Feedback(RndrMode::SurfaceFeedback, {part.get()},
                                                      ToolMode::NoSelectionLines, flags)) {
                for (const CVector3& v : token.vertices) {
                    hi = std::max(hi, v.y);
                }
            }
            return hi;
        };
        EXPECT_EQ(extent(DrawFlags::Explosion) == extent(DrawFlags::None),
                  kind != ElmntKind::Bearing);
    }
}

TEST_F(PartDrawTest, RoofsShowTheDocumentsRoofColours) {
    const auto plain = [](int slot) { return CMtrl::CreateDefault(slot)->GetFront().diffuse; };
    for (ElmntKind kind : {ElmntKind::Roof, ElmntKind::RoofLarge}) {
        SCOPED_TRACE(KindCode(kind));
        auto roof = Make(kind, 0.0f, 4);
        m_probe.Draw(*roof, ToolMode::Select, DrawFlags::None, 1500.0);
        EXPECT_GT(CountColour(plain(7)), 1000); // the slopes
        EXPECT_GT(CountColour(plain(9)), 100);  // a gable
        EXPECT_EQ(CountColour(plain(4)), 0);    // never the roof's own material
    }
}

TEST_F(PartDrawTest, SlideSurfacesAndTheirSampling) {
    // Nets of the stated sizes and extents, with clamped knots of order 3.
    const struct {
        ElmntKind kind;
        int along;
        int dimension;
        float lo[3];
        float hi[3];
    } nets[] = {
        {ElmntKind::Slide, 8, 4, {-230, -771, -30}, {230, 170, 1257}},
        {ElmntKind::CurvedSlide, 8, 4, {-227, -774, -30}, {660, 170, 830}},
        {ElmntKind::SlideEnd, 6, 3, {-225, -25, -30}, {225, 170, 453}},
    };
    for (const auto& row : nets) {
        SCOPED_TRACE(KindCode(row.kind));
        const SSlideNet* net = GetSlideNet(row.kind);
        ASSERT_NE(net, nullptr);
        EXPECT_EQ(net->uCount, row.along);
        EXPECT_EQ(net->vCount, 18);
        EXPECT_EQ(net->dimension, row.dimension);
        EXPECT_EQ(net->uKnots.size(), static_cast<std::size_t>(row.along + 3));
        EXPECT_EQ(net->vKnots.size(), 21u);
        ASSERT_EQ(net->points.size(), static_cast<std::size_t>(row.along * 18 * row.dimension));
        float lo[3] = {1e9f, 1e9f, 1e9f};
        float hi[3] = {-1e9f, -1e9f, -1e9f};
        for (int i = 0; i < net->uCount; ++i) {
            for (int j = 0; j < net->vCount; ++j) {
                const auto p = net->Position(i, j);
                for (int c = 0; c < 3; ++c) {
                    lo[c] = std::min(lo[c], p[c]);
                    hi[c] = std::max(hi[c], p[c]);
                }
            }
        }
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(lo[c], row.lo[c], 0.5) << c;
            EXPECT_NEAR(hi[c], row.hi[c], 0.5) << c;
        }
        // The trim outline is closed and runs counter-clockwise, so GLU keeps its inside.
        const auto trim = GetSlideTrim(row.kind);
        ASSERT_GT(trim.size(), 3u);
        EXPECT_EQ(trim.front(), trim.back());
        double area = 0.0;
        for (std::size_t i = 0; i + 1 < trim.size(); ++i) {
            area += trim[i][0] * trim[i + 1][1] - trim[i + 1][0] * trim[i][1];
        }
        EXPECT_GT(area, 0.0);
    }
    // The coarsest detail samples 2 per unit along and 1 across; the straight slide's
    // piecewise-linear trim is cut as finely.
    EXPECT_EQ(GetSlideSteps(4).u, 2.0f);
    EXPECT_EQ(GetSlideSteps(4).v, 1.0f);
    EXPECT_EQ(GetSlideSteps(1).u, 8.0f);
    EXPECT_EQ(GetSlideSteps(1).v, 4.0f);
    const SPoint2 square[] = {{0, 0}, {4, 0}, {4, 16}, {0, 0}};
    EXPECT_EQ(SubdivideTrim(square, 2.0f, 1.0f).size(), 2u * (8 + 16 + 16 + 1));
    // Coarser detail, fewer triangles.
    CDrawProbe middle(1);
    CDrawProbe coarse(0);
    for (ElmntKind kind : {ElmntKind::Slide, ElmntKind::CurvedSlide, ElmntKind::SlideEnd}) {
        SCOPED_TRACE(KindCode(kind));
        auto slide = Make(kind);
        const int fine = Polygons(*slide, DrawFlags::None, m_probe);
        const int half = Polygons(*slide, DrawFlags::None, middle);
        EXPECT_GT(fine, half);
        EXPECT_GT(half, Polygons(*slide, DrawFlags::None, coarse));
    }
}

TEST_F(PartDrawTest, FloorGridOnScreenOnlyAndItsStartMarkers) {
    // Lie the grid in the plane of the window: local Z up the window, local Y towards it.
    auto grid = Make(ElmntKind::FloorGrid);
    grid->placement.RotateDeg(-90.0, 1, 2);
    const uint32_t id = grid->GetId().Value();
    const auto drawn = [&](ToolMode tool, DrawFlags flags) {
        m_probe.Draw(*grid, tool, flags, 4000.0);
        return CountPixels(255, 255, 255) < 256 * 256;
    };
    EXPECT_TRUE(drawn(ToolMode::Select, DrawFlags::None));
    EXPECT_TRUE(drawn(ToolMode::Select, DrawFlags::WithoutPanels));
    EXPECT_FALSE(drawn(ToolMode::NoSelectionLines, DrawFlags::None));
    EXPECT_TRUE(m_probe.Select(*grid, ToolMode::Select, 0.0, 0.0, 4096.0).empty());
    EXPECT_EQ(m_probe.Feedback(RndrMode::SurfaceFeedback, {grid.get()}, ToolMode::NoSelectionLines)
                  .size(),
              1u);
    // The start tool: name 0 pushed, then every marker by its index, each a closed diamond.
    const auto markers =
        m_probe.Feedback(RndrMode::AxisFeedback, {grid.get()}, ToolMode::StartCoupling);
    Names expected = {id, 0};
    for (uint32_t k = 0; k < static_cast<uint32_t>(FloorMarkerCount); ++k) {
        expected.push_back(k);
    }
    EXPECT_EQ(PassThroughNames(markers), expected);
    EXPECT_EQ(FloorMarkerCount, 1089);
    // Marker 670 = 33 * 20 + 10 lies at x = -3200 + 4000, z = -3200 + 2000; a pick on its
    // diamond's corner 25 mm along X returns the grid and the marker.
    EXPECT_EQ(m_probe.Select(*grid, ToolMode::StartCoupling, 825.0, -1200.0, 4.0),
              (Hits{{id, 670}}));
}
