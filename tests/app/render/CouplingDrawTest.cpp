// Couplings: the connection axes of every tool mode with their names and geometry, the bodies
// by arm arrangement, the 45° branch where the model attaches, and the markers, targets and
// display flags of the special couplings.
#include <algorithm>

#include "app/render/ElmntDraw.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

class CouplingDrawTest : public GlTest {
protected:
    // A coupling at (300, 100, 0) with the given occupied and free arms.
    std::unique_ptr<CElmnt> Coupling(ElmntKind kind, uint32_t occupied, uint32_t free,
                                     float length = 0.0f) {
        auto elmnt = MakeElmnt(m_ids, kind, length, {300.0, 100.0, 0.0});
        elmnt->SetOccupiedArms(occupied);
        elmnt->SetFreeArms(free);
        return elmnt;
    }

    // The sub-names of an axis feedback after the element's own name.
    std::vector<uint32_t> AxisNames(const CElmnt& elmnt, ToolMode tool) {
        std::vector<uint32_t> names =
            PassThroughNames(m_probe.Feedback(RndrMode::AxisFeedback, {&elmnt}, tool));
        EXPECT_EQ(names.at(0), elmnt.GetId().Value());
        return {names.begin() + 1, names.end()};
    }

    int Polygons(const CElmnt& elmnt, DrawFlags flags, CDrawProbe* probe = nullptr) {
        return CountTokens(
            (probe != nullptr ? *probe : m_probe)
                .Feedback(RndrMode::SurfaceFeedback, {&elmnt}, ToolMode::NoSelectionLines, flags),
            GL_POLYGON_TOKEN);
    }

    CElmntIdSource m_ids;
    CDrawProbe m_probe;
};

void ExpectPoint(const CVector3& actual, const CVector3& expected) {
    EXPECT_NEAR(CVector3::Sub(actual, expected).Length(), 0.0, 0.1);
}

using Names = std::vector<uint32_t>;

} // namespace

TEST_F(CouplingDrawTest, ArmAxesOfTheFreeArmsRun200MillimetresFromTheCentre) {
    auto coupling = Coupling(ElmntKind::Connector, 2 | 4, 1 | 8 | 16); // +X, -Y, +Z free
    const auto tokens =
        m_probe.Feedback(RndrMode::AxisFeedback, {coupling.get()}, ToolMode::AtConnection);
    ASSERT_EQ(tokens.size(), 7u);
    const std::pair<uint32_t, CVector3> axes[] = {
        {0, {500.0, 100.0, 0.0}}, {3, {300.0, -100.0, 0.0}}, {4, {300.0, 100.0, 200.0}}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(tokens[1 + 2 * i].name, axes[i].first);
        ASSERT_EQ(tokens[2 + 2 * i].type, static_cast<GLenum>(GL_LINE_TOKEN));
        ExpectPoint(tokens[2 + 2 * i].vertices[0], {300.0, 100.0, 0.0});
        ExpectPoint(tokens[2 + 2 * i].vertices[1], axes[i].second);
    }
    for (ToolMode tool : {ToolMode::Select, ToolMode::SelectGroup, ToolMode::DeleteSingle,
                          ToolMode::ChangeAngle, ToolMode::ChangeSurface, ToolMode::SameSurface}) {
        EXPECT_EQ(AxisNames(*coupling, tool), (Names{0, 3, 4})) << ToolModeCode(tool);
    }
    EXPECT_TRUE(AxisNames(*coupling, ToolMode::NoSelectionLines).empty());
    // Picking an axis returns the coupling and the arm.
    EXPECT_EQ(m_probe.Select(*coupling, ToolMode::AtConnection, 450.0, 100.0, 2.0),
              (std::vector<std::vector<GLuint>>{{coupling->GetId().Value(), 0}}));
}

TEST_F(CouplingDrawTest, RoundTubeArcsPanelEdgesTrianglesAndStartStar) {
    auto all = Coupling(ElmntKind::Connector, 0, ArmMaskAll);
    EXPECT_EQ(AxisNames(*all, ToolMode::RoundTubeUp), (Names{0, 6, 1, 7, 4, 10, 5, 11}));
    EXPECT_EQ(AxisNames(*all, ToolMode::RoundTubeFlat), (Names{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(AxisNames(*all, ToolMode::Coupling45Flat), (Names{0, 1, 4, 5}));
    EXPECT_EQ(AxisNames(*all, ToolMode::Coupling45Upright), (Names{2, 3}));
    // Each arc: a strip from the centre through 13 points; flat arc 0 ends 75 + 325 sin 67.5°
    // along +X and 325 (1 - cos 67.5°) along +Z.
    const auto arcs =
        m_probe.Feedback(RndrMode::AxisFeedback, {all.get()}, ToolMode::RoundTubeFlat);
    EXPECT_EQ(CountTokens(arcs, GL_LINE_TOKEN), 8 * 13);
    ExpectPoint(arcs[14].vertices[1], {300.0 + 375.2595, 100.0, 200.6271});
    // Rising arcs need the +Y arm free, falling ones -Y, the arcs along an arm that arm.
    auto upTaken = Coupling(ElmntKind::Connector, 4, ArmMaskAll & ~4u);
    EXPECT_EQ(AxisNames(*upTaken, ToolMode::RoundTubeUp), (Names{6, 7, 10, 11}));
    EXPECT_EQ(AxisNames(*upTaken, ToolMode::RoundTubeDown), (Names{0, 6, 1, 7, 4, 10, 5, 11}));
    EXPECT_EQ(AxisNames(*Coupling(ElmntKind::Connector, 0, 1), ToolMode::RoundTubeFlat),
              (Names{0, 1}));
    // Panel edges need both arms occupied and the corner slot free: +X, +Y, +Z occupied, slots
    // of edges 0 (+X+Y), 5 (+X-Z) and 8 (+Y+Z) free.
    auto corner = Coupling(ElmntKind::Connector, 1 | 4 | 16, 0);
    corner->SetFreeCornerSlots(1 | 32 | 256);
    const auto edges =
        m_probe.Feedback(RndrMode::AxisFeedback, {corner.get()}, ToolMode::SpecialPanel);
    EXPECT_EQ(PassThroughNames(edges), (Names{corner->GetId().Value(), 0, 8}));
    ExpectPoint(edges[2].vertices[1], {500.0, 300.0, 0.0});
    // The start star: three unnamed lines, only through a connector with every arm free.
    const auto star =
        m_probe.Feedback(RndrMode::AxisFeedback, {all.get()}, ToolMode::StartCoupling);
    EXPECT_EQ(star.size(), 4u);
    EXPECT_EQ(CountTokens(star, GL_LINE_TOKEN), 3);
    EXPECT_TRUE(AxisNames(*upTaken, ToolMode::StartCoupling).empty());
    EXPECT_EQ(m_probe
                  .Feedback(RndrMode::AxisFeedback,
                            {Coupling(ElmntKind::HoleConnector, 3, ArmMaskAll).get()},
                            ToolMode::StartCoupling)
                  .size(),
              1u);
}

TEST_F(CouplingDrawTest, ConnectorBodyByItsArms) {
    auto one = Coupling(ElmntKind::Connector, 1, 0);
    auto two = Coupling(ElmntKind::Connector, 1 | 4, 0);
    EXPECT_EQ(Polygons(*Coupling(ElmntKind::Connector, 0, ArmMaskAll), DrawFlags::None), 0);
    EXPECT_EQ(Polygons(*one, DrawFlags::ConnectorEnds), 0);
    // Two sleeves and the two sphere corners away from both; six sleeves and no corner.
    EXPECT_EQ(Polygons(*two, DrawFlags::None), 2 * 2 * 16 + 2 * 16);
    EXPECT_EQ(Polygons(*Coupling(ElmntKind::Connector, ArmMaskAll, 0), DrawFlags::None),
              6 * 2 * 16);
    // Connector ends: the five-segment open end at each occupied arm.
    EXPECT_EQ(Polygons(*two, DrawFlags::ConnectorEnds) - Polygons(*two, DrawFlags::None),
              2 * 5 * 2 * 16);
    // The +X sleeve is mitred against +Y (its +Y side ends on the plane x = y); at the coarsest
    // detail it ends in the centre plane all round.
    const auto lowestXAbove = [&](CDrawProbe& probe) {
        double lowest = 1e9;
        for (const auto& token :
             probe.Feedback(RndrMode::SurfaceFeedback, {two.get()}, ToolMode::NoSelectionLines)) {
            for (const CVector3& v : token.vertices) {
                lowest = v.y > 100.0 + 24.0 ? std::min(lowest, v.x) : lowest;
            }
        }
        return lowest - 300.0;
    };
    CDrawProbe coarse(0);
    EXPECT_NEAR(lowestXAbove(m_probe), -25.0, 1e-3); // the +Y sleeve's own -X side
    EXPECT_NEAR(lowestXAbove(coarse), -25.0, 1e-3);
    EXPECT_EQ(Polygons(*two, DrawFlags::None, &coarse), 2 * 2 * 4 + 2 * 1);
}

TEST_F(CouplingDrawTest, Coupling45BranchAxisStartsWhereTheModelAttaches) {
    auto coupling = MakeElmnt(m_ids, ElmntKind::Connector45, 0.0f, {-200.0, 150.0, 40.0});
    coupling->placement.RotateDeg(30.0, 0, 2);
    const auto tokens =
        m_probe.Feedback(RndrMode::AxisFeedback, {coupling.get()}, ToolMode::AtConnection);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[1].name, 0u);
    const CTransform branch = coupling->GetConnFrame(0);
    ExpectPoint(tokens[2].vertices[0], branch.translation);
    ExpectPoint(tokens[2].vertices[1], branch.MapPoint({200.0, 0.0, 0.0}));
}

TEST_F(CouplingDrawTest, HoleCouplingLinesAndItsBodyInTheCollisionTest) {
    auto hole = Coupling(ElmntKind::HoleConnector, 0, 0);
    hole->SetArmMasks(4);
    // The steering lock's line is unnamed; the end part's line needs the open -X end.
    const auto lock =
        m_probe.Feedback(RndrMode::AxisFeedback, {hole.get()}, ToolMode::SteeringLock);
    ASSERT_EQ(lock.size(), 2u);
    ExpectPoint(lock[1].vertices[1], {500.0, 100.0, 0.0});
    EXPECT_TRUE(AxisNames(*hole, ToolMode::AtTubeEnd).empty());
    hole->turnVariant = 32;
    EXPECT_EQ(AxisNames(*hole, ToolMode::AtTubeEnd), Names{0});
    // The collision test leaves out the connector body, which encloses the tube: left are the
    // bore profile and the open end at +Y. The connector-end flag never reaches that body.
    hole->SetOccupiedArms(1 | 2 | 4);
    const int full = Polygons(*hole, DrawFlags::None);
    EXPECT_EQ(Polygons(*hole, DrawFlags::CollisionTest), 3 * 2 * 16 + 5 * 2 * 16);
    EXPECT_GT(full, 3 * 2 * 16 + 5 * 2 * 16);
    EXPECT_EQ(Polygons(*hole, DrawFlags::ConnectorEnds), full);
}

TEST_F(CouplingDrawTest, FlexiCouplingIsTheSecondArmsTarget) {
    auto flexi = Coupling(ElmntKind::FlexiConnector, 0, 8);
    const uint32_t id = flexi->GetId().Value();
    EXPECT_EQ(AxisNames(*flexi, ToolMode::AtConnection), Names{3});
    // The arm hangs below the knuckles.
    EXPECT_EQ(m_probe.Select(*flexi, ToolMode::OnPickedFlexiArm, 300.0, 50.0, 2.0),
              (std::vector<std::vector<GLuint>>{{id, 0}}));
    flexi->turnVariant = 16;
    EXPECT_EQ(m_probe.Select(*flexi, ToolMode::OnPickedFlexiArm, 300.0, 50.0, 2.0),
              (std::vector<std::vector<GLuint>>{{id}}));
}

TEST_F(CouplingDrawTest, MarkersOfBearingCouplingsAndBolts) {
    auto bearing = Coupling(ElmntKind::BearingConnector, 0, 4);
    EXPECT_EQ(AxisNames(*bearing, ToolMode::AtConnection), (Names{0, 1, 2, 3, 4, 5, 6, 7}));
    bearing->turnVariant = 32;
    EXPECT_TRUE(AxisNames(*bearing, ToolMode::AtConnection).empty());
    const struct {
        float length;
        int variant;
        Names names;
    } bolts[] = {{100.0f, 0, {0, 1, 2}}, {100.0f, 1, {1, 2}}, {100.0f, 2, {2}}, {50.0f, 0, {2}}};
    for (const auto& row : bolts) {
        auto bolt = Coupling(ElmntKind::Bolt, 0, 0, row.length);
        bolt->turnVariant = row.variant;
        EXPECT_EQ(AxisNames(*bolt, ToolMode::AtConnection), row.names) << row.length;
    }
}

TEST_F(CouplingDrawTest, AxesShowInMagentaOnlyForTheirTools) {
    auto coupling = MakeElmnt(m_ids, ElmntKind::Connector, 0.0f);
    coupling->SetOccupiedArms(1 | 2);
    coupling->SetFreeArms(4 | 8);
    m_probe.Draw(*coupling, ToolMode::AtConnection, DrawFlags::None, 250.0);
    EXPECT_GT(CountPixels(255, 0, 255), 50);
    m_probe.Draw(*coupling, ToolMode::NoSelectionLines, DrawFlags::None, 250.0);
    EXPECT_EQ(CountPixels(255, 0, 255), 0);
}
