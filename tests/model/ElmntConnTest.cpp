// Connection, end and corner frames, the box test and the attaching rules, with the numbers the
// kit's parts really have: a 350 mm tube spans 400 mm between its coupling centres, a 350 x 350
// panel has its corners at +-200 mm, the floor grid has 33 x 33 points 200 mm apart.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "model/Elmnt.h"
#include "support/Box3.h"
#include "support/Matrix3.h"
#include "support/Orientation.h"

namespace {

constexpr double Tol = 1e-9;

void ExpectNear(CVector3 actual, CVector3 expected, double tol = Tol) {
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

class ElmntConnTest : public ::testing::Test {
protected:
    std::unique_ptr<CElmnt> Make(ElmntKind kind, float length = 0.0f, float secondSize = 0.0f,
                                 CTransform placement = {}, bool fixed = true) {
        return std::make_unique<CElmnt>(m_ids, 0, kind, 1, placement, fixed, length, secondSize);
    }

    CElmntIdSource m_ids;
};

// A placement turned a quarter about world y and moved away from the origin, so that frames
// that ignored the rotation or the translation would show it.
CTransform Turned() {
    CTransform t;
    t.rotation = CMatrix3::FromColumns({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
    t.translation = {1000.0, 50.0, -300.0};
    return t;
}

TEST_F(ElmntConnTest, EndFramesOfA350mmTube) {
    auto tube = Make(ElmntKind::Tube, 350.0f, 0.0f, Turned());
    EXPECT_EQ(tube->GetEndFrame(0), tube->placement);
    const CTransform end1 = tube->GetEndFrame(1);
    ExpectNear(end1.translation, {1000.0, 50.0, -700.0});
    // The far end's X points back into the tube, towards end 0.
    ExpectNear(end1.GetAxis(0), {0, 0, 1});
    ExpectNear(end1.GetAxis(1), {0, -1, 0});
    ExpectNear(end1.GetAxis(2), {1, 0, 0});
    // A correction lengthens the tube between its coupling centres.
    tube->correction = 10.0f;
    ExpectNear(tube->GetEndFrame(1).translation, {1000.0, 50.0, -710.0});
    EXPECT_EQ(tube->GetEndCount(), 2);
}

TEST_F(ElmntConnTest, EndFramesOfBentTubeAndCouplings) {
    auto bent = Make(ElmntKind::RoundTube, 350.0f);
    const CTransform end1 = bent->GetEndFrame(1);
    ExpectNear(end1.translation, {400.0, 400.0, 0.0});
    ExpectNear(end1.GetAxis(0), {0, -1, 0}); // back down into the bend

    auto bearing = Make(ElmntKind::BearingConnector, 0, 0, Turned());
    ExpectNear(bearing->GetEndFrame(0).translation, {1000.0, 50.0, -300.0 + 103.0});
    EXPECT_EQ(bearing->GetEndFrame(1), bearing->placement);
    for (ElmntKind kind : {ElmntKind::HoleConnector, ElmntKind::FlexiConnector}) {
        auto coupling = Make(kind);
        ExpectNear(coupling->GetEndFrame(0).translation, {-50.0, 0, 0});
        EXPECT_EQ(coupling->GetEndFrame(1), coupling->placement);
        EXPECT_EQ(coupling->GetEndCount(), 1);
    }
    auto connector = Make(ElmntKind::Connector, 0, 0, Turned());
    EXPECT_EQ(connector->GetEndFrame(0), connector->placement);
    EXPECT_EQ(connector->GetEndFrame(1), connector->placement);
}

TEST_F(ElmntConnTest, EndCountsByKind) {
    struct Row {
        ElmntKind kind;
        int ends;
    };
    const Row rows[] = {
        {ElmntKind::Tube, 2},
        {ElmntKind::RoundTube, 2},
        {ElmntKind::Bearing, 1},
        {ElmntKind::Casters, 1},
        {ElmntKind::Adapter, 1},
        {ElmntKind::OpenConnector, 1},
        {ElmntKind::BearingConnector, 1},
        {ElmntKind::Connector45, 1},
        {ElmntKind::HoleConnector, 1},
        {ElmntKind::FlexiConnector, 1},
        {ElmntKind::SteeringLock, 1},
        {ElmntKind::Connector, 0},
        {ElmntKind::Bolt, 0},
        {ElmntKind::Panel, 0},
        {ElmntKind::FloorGrid, 0},
        {ElmntKind::Alu, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(KindCode(row.kind));
        EXPECT_EQ(Make(row.kind)->GetEndCount(), row.ends);
    }
}

TEST_F(ElmntConnTest, ConnectionFramesOfBoltAnd45Coupling) {
    auto bolt = Make(ElmntKind::Bolt, 50.0f, 0.0f, Turned());
    EXPECT_EQ(bolt->GetConnFrame(0), bolt->placement);
    EXPECT_EQ(bolt->GetConnFrame(3), bolt->placement);
    const CVector3 p1 = bolt->GetConnPoint(1);
    const CVector3 p2 = bolt->GetConnPoint(2);
    EXPECT_NEAR(std::sqrt(CVector3::DistSq(p1, p2)), 100.0, Tol);
    ExpectNear(p1, {1000.0, 50.0, -300.0 + 50.0});
    ExpectNear(p2, {1000.0, 50.0, -300.0 - 50.0});

    // The branch point: 108.3 mm along the body, then 36 mm along the branch turned back 135°.
    auto c45 = Make(ElmntKind::Connector45);
    const double s = std::sqrt(0.5);
    const CTransform branch = c45->GetConnFrame(0);
    ExpectNear(branch.translation, {108.3 - 36.0 * s, 36.0 * s, 0.0});
    ExpectNear(branch.GetAxis(0), {-s, s, 0.0});
    ExpectNear(branch.GetAxis(1), {-s, -s, 0.0});
    for (int n : {-1, 1, 2, 7}) {
        EXPECT_EQ(c45->GetConnFrame(n), branch);
    }
    auto tube = Make(ElmntKind::Tube, 350.0f, 0.0f, Turned());
    EXPECT_EQ(tube->GetConnFrame(1), tube->placement);
}

TEST_F(ElmntConnTest, CornerFramesOfA350By350Panel) {
    auto panel = Make(ElmntKind::Panel, 350.0f, 350.0f);
    const CVector3 expected[4] = {{-200, -200, 0}, {200, -200, 0}, {-200, 200, 0}, {200, 200, 0}};
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        const CTransform corner = panel->GetCornerFrame(n);
        ExpectNear(corner.translation, expected[n]);
        // Local X and Y run along the two edges into the panel; Z is the panel's normal.
        const CVector3 x = corner.GetAxis(0);
        const CVector3 y = corner.GetAxis(1);
        EXPECT_NEAR(std::fabs(x.x) + std::fabs(x.y), 1.0, Tol);
        EXPECT_NEAR(std::fabs(y.x) + std::fabs(y.y), 1.0, Tol);
        EXPECT_NEAR(CVector3::Dot(x, y), 0.0, Tol);
        const CVector3 inside = corner.translation + 10.0 * x + 10.0 * y;
        EXPECT_NEAR(std::fabs(inside.x), 190.0, Tol);
        EXPECT_NEAR(std::fabs(inside.y), 190.0, Tol);
        EXPECT_NEAR(std::fabs(corner.GetAxis(2).z), 1.0, Tol);
    }
    EXPECT_EQ(panel->GetCornerFrame(0).rotation, panel->placement.rotation);
    EXPECT_EQ(panel->GetCornerFrame(4), panel->placement);
    EXPECT_EQ(panel->GetCornerFrame(-1), panel->placement);

    // Width is the second size (local X), length the first (local Y); corrections count.
    auto oblong = Make(ElmntKind::Wood, 750.0f, 350.0f);
    oblong->correction = 2.0f;
    oblong->secondCorrection = -4.0f;
    ExpectNear(oblong->GetCornerFrame(3).translation, {(350.0 - 4.0 + 50.0) / 2, 401.0, 0.0});
}

TEST_F(ElmntConnTest, InsideBox) {
    const CBox3 box(300.0, -300.0, 300.0, -300.0, 300.0, -300.0);
    auto grid = Make(ElmntKind::FloorGrid);
    EXPECT_FALSE(grid->IsInsideBox(box));

    auto panel = Make(ElmntKind::Panel, 350.0f, 350.0f);
    EXPECT_TRUE(panel->IsInsideBox(box));
    panel->Translate(100.5, 0, 0); // corners at x = 300.5 leave the box
    EXPECT_FALSE(panel->IsInsideBox(box));
    panel->Translate(-0.5, 0, 0); // corners on the face count as inside
    EXPECT_TRUE(panel->IsInsideBox(box));

    // A tube counts by its ends taken 25 mm inward: 25 and 375 along X.
    CTransform t;
    t.translation = {-25.0, 0, 0};
    auto tube = Make(ElmntKind::Tube, 350.0f, 0.0f, t);
    EXPECT_TRUE(tube->IsInsideBox(CBox3(1, -1, 350, 0, 1, -1)));
    EXPECT_FALSE(tube->IsInsideBox(CBox3(1, -1, 349.9, 0, 1, -1)));
    EXPECT_FALSE(tube->IsInsideBox(CBox3(1, -1, 350, 0.1, 1, -1)));

    // The seat back counts by its placement, not its corners.
    auto back = Make(ElmntKind::ChairSeatBack, 250.0f, 150.0f);
    EXPECT_TRUE(back->IsInsideBox(CBox3(0, 0, 0, 0, 0, 0)));
}

TEST_F(ElmntConnTest, NothingIsCreatedWithoutARule) {
    auto coupling = Make(ElmntKind::Connector);
    EXPECT_EQ(coupling->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350.0f, 0.0f, -1), nullptr);
    auto tube = Make(ElmntKind::Tube, 350.0f);
    EXPECT_EQ(tube->CreateAttached(1, ToolMode::OnPickedSlide, ElmntKind::Panel, 2, 0, 0, 0), nullptr);
    auto panel = Make(ElmntKind::Panel, 350.0f, 350.0f);
    EXPECT_EQ(panel->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350.0f, 0.0f, 0), nullptr);
}

TEST_F(ElmntConnTest, TubeAtStartCouplingInInsertMode) {
    auto start = Make(ElmntKind::Connector);
    auto tube = start->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350.0f, 0.0f, Side::PlusX);
    ASSERT_NE(tube, nullptr);
    EXPECT_EQ(tube->kind, ElmntKind::Tube);
    EXPECT_EQ(tube->GetMaterial(), 2);
    EXPECT_EQ(tube->length, 350.0f);
    EXPECT_EQ(tube->firstRevision, 1u);
    EXPECT_EQ(tube->endRevision, RevisionOpen);
    EXPECT_TRUE(tube->fixed);
    EXPECT_EQ(tube->GetList(), nullptr);
    EXPECT_NE(tube->GetId(), start->GetId());
    ExpectNear(tube->GetEndFrame(1).translation, {400.0, 0, 0});

    auto down = start->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350.0f, 0.0f, Side::MinusY);
    ASSERT_NE(down, nullptr);
    ExpectNear(down->GetEndFrame(1).translation, {0, -400.0, 0});
}

TEST_F(ElmntConnTest, FixedFlagBySideAndByMask) {
    auto coupling = Make(ElmntKind::Connector);
    ASSERT_TRUE(coupling->SetDirections(SideBit(Side::PlusY)));
    // By side: unfixed only on a side whose direction bit is set.
    EXPECT_FALSE(coupling->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, Side::PlusY)->fixed);
    EXPECT_TRUE(coupling->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, Side::PlusX)->fixed);
    // By mask: any direction bit unfixes.
    EXPECT_FALSE(coupling->CreateAttached(1, ToolMode::RoundTubeUp, ElmntKind::RoundTube, 2, 350, 0, 0)->fixed);
    ASSERT_TRUE(coupling->SetDirections(0));
    EXPECT_TRUE(coupling->CreateAttached(1, ToolMode::RoundTubeUp, ElmntKind::RoundTube, 2, 350, 0, 0)->fixed);
    // An unfixed target gives unfixed elements whatever the directions.
    coupling->fixed = false;
    EXPECT_FALSE(coupling->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, Side::PlusX)->fixed);
}

TEST_F(ElmntConnTest, ConnectionIndexesOutsideTheTablesCreateNothing) {
    auto coupling = Make(ElmntKind::Connector);
    auto tube = Make(ElmntKind::Tube, 350.0f);
    auto grid = Make(ElmntKind::FloorGrid);
    struct Row {
        const CElmnt* target;
        ToolMode mode;
        ElmntKind kind;
        int n;
    };
    const Row rows[] = {
        {coupling.get(), ToolMode::AtConnection, ElmntKind::Tube, 6},
        {coupling.get(), ToolMode::AtConnection, ElmntKind::Tube, 1000},
        {coupling.get(), ToolMode::Coupling45Flat, ElmntKind::Connector45, 6},
        {coupling.get(), ToolMode::Coupling45Upright, ElmntKind::Connector45, 6},
        {coupling.get(), ToolMode::RoundTubeUp, ElmntKind::RoundTube, 12},
        {coupling.get(), ToolMode::RoundTubeDown, ElmntKind::RoundTube, 12},
        {coupling.get(), ToolMode::RoundTubeFlat, ElmntKind::RoundTube, 8},
        {coupling.get(), ToolMode::SpecialPanel, ElmntKind::Panel, 12},
        {tube.get(), ToolMode::Coupling45AtEnd, ElmntKind::Connector45, 12},
        {grid.get(), ToolMode::StartCoupling, ElmntKind::Connector, 1089},
        {coupling.get(), ToolMode::AtConnection, ElmntKind::Tube, -2},
        {tube.get(), ToolMode::OnPickedClamp, ElmntKind::Clamp, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << ToolModeCode(row.mode) << std::dec << " n " << row.n);
        EXPECT_EQ(row.target->CreateAttached(1, row.mode, row.kind, 1, 350, 350, row.n), nullptr);
    }
    // A material slot outside the table creates nothing either.
    EXPECT_EQ(coupling->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 100, 350, 0, 0), nullptr);
}

TEST_F(ElmntConnTest, FloorGridPoints) {
    CTransform t;
    t.translation = {0, -10.0, 0};
    auto grid = Make(ElmntKind::FloorGrid, 0, 0, t, false);
    auto first = grid->CreateAttached(3, ToolMode::StartCoupling, ElmntKind::Connector, 1, 5, 5, 0);
    ASSERT_NE(first, nullptr);
    ExpectNear(first->placement.translation, {-3200.0, -10.0, -3200.0});
    EXPECT_TRUE(first->fixed);
    EXPECT_EQ(first->length, 0.0f);
    EXPECT_EQ(first->secondSize, 0.0f);
    EXPECT_EQ(first->GetFreeArms(), ArmMaskAll);
    auto second = grid->CreateAttached(3, ToolMode::StartCoupling, ElmntKind::Connector, 1, 0, 0, 1);
    ExpectNear(second->placement.translation, {-3200.0, -10.0, -3000.0});
    auto nextRow = grid->CreateAttached(3, ToolMode::StartCoupling, ElmntKind::Connector, 1, 0, 0, 33);
    ExpectNear(nextRow->placement.translation, {-3000.0, -10.0, -3200.0});
    auto last = grid->CreateAttached(3, ToolMode::StartCoupling, ElmntKind::Connector, 1, 0, 0, 1088);
    ASSERT_NE(last, nullptr);
    ExpectNear(last->placement.translation, {3200.0, -10.0, 3200.0});
    EXPECT_EQ(grid->CreateAttached(3, ToolMode::StartCoupling, ElmntKind::Connector, 1, 0, 0, 1089), nullptr);
}

TEST_F(ElmntConnTest, CouplingModesTurnTheConnectionFrame) {
    auto coupling = Make(ElmntKind::Connector, 0, 0, Turned());
    // 45° coupling lying flat: new X on side n, new Y up.
    auto flat = coupling->CreateAttached(1, ToolMode::Coupling45Flat, ElmntKind::Connector45, 1, 0, 0, Side::PlusZ);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->placement, *coupling->placement.TurnToSides(Side::PlusZ, Side::PlusY));
    auto upright =
        coupling->CreateAttached(1, ToolMode::Coupling45Upright, ElmntKind::Connector45, 1, 0, 0, Side::MinusY);
    EXPECT_EQ(upright->placement, *coupling->placement.TurnToSides(Side::MinusY, Side::PlusX));
    // Round tubes: rising arcs by index below 6, arcs along an arm from 6.
    auto up = coupling->CreateAttached(1, ToolMode::RoundTubeUp, ElmntKind::RoundTube, 1, 350, 0, Side::PlusX);
    EXPECT_EQ(up->placement, *coupling->placement.TurnToSides(Side::PlusY, Side::PlusX));
    auto along = coupling->CreateAttached(1, ToolMode::RoundTubeUp, ElmntKind::RoundTube, 1, 350, 0, 6 + Side::MinusZ);
    EXPECT_EQ(along->placement, *coupling->placement.TurnToSides(Side::MinusZ, Side::MinusY));
    auto down = coupling->CreateAttached(1, ToolMode::RoundTubeDown, ElmntKind::RoundTube, 1, 350, 0, 6 + Side::PlusX);
    EXPECT_EQ(down->placement, *coupling->placement.TurnToSides(Side::PlusX, Side::PlusY));
    auto flatArc = coupling->CreateAttached(1, ToolMode::RoundTubeFlat, ElmntKind::RoundTube, 1, 350, 0, 5);
    EXPECT_EQ(flatArc->placement, *coupling->placement.TurnToSides(Side::PlusZ, Side::MinusX));
}

TEST_F(ElmntConnTest, RoundTubeArcsStartFromTheBranchOfA45Coupling) {
    auto c45 = Make(ElmntKind::Connector45);
    const CTransform branch = c45->GetConnFrame(0);
    auto rising = c45->CreateAttached(1, ToolMode::RoundTubeUp, ElmntKind::RoundTube, 1, 350, 0, Side::PlusX);
    EXPECT_EQ(rising->placement, *branch.TurnToSides(Side::PlusY, Side::PlusX));
    auto along = c45->CreateAttached(1, ToolMode::RoundTubeUp, ElmntKind::RoundTube, 1, 350, 0, 6 + Side::PlusX);
    EXPECT_EQ(along->placement, *branch.TurnToSides(Side::PlusX, Side::MinusY));
    auto down = c45->CreateAttached(1, ToolMode::RoundTubeDown, ElmntKind::RoundTube, 1, 350, 0, 6 + Side::PlusZ);
    EXPECT_EQ(down->placement, *branch.TurnToSides(Side::PlusZ, Side::PlusY));
    // A tube in insert mode starts at the branch too, along its side n.
    auto tube = c45->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, Side::PlusX);
    EXPECT_EQ(tube->placement, branch);
}

TEST_F(ElmntConnTest, SpecialPanelSitsInTheCornerSlot) {
    auto coupling = Make(ElmntKind::Connector);
    // Edge 0 (+X +Y): the panel's corner 0 at the coupling, the panel in the X-Y quadrant.
    auto panel = coupling->CreateAttached(1, ToolMode::SpecialPanel, ElmntKind::Panel, 6, 350, 350, 0);
    ASSERT_NE(panel, nullptr);
    ExpectNear(panel->placement.translation, {200.0, 200.0, 0.0});
    ExpectNear(panel->GetCornerFrame(0).translation, {0, 0, 0});
    EXPECT_EQ(ClassifyEdge(coupling->placement, panel->GetCornerFrame(0)), EdgeBit(0));
    // Edge 11 (-Y -Z): the panel in the Y-Z plane below and behind.
    auto other = coupling->CreateAttached(1, ToolMode::SpecialPanel, ElmntKind::Panel, 6, 750, 350, 11);
    ExpectNear(other->GetCornerFrame(0).translation, {0, 0, 0});
    ExpectNear(other->placement.translation, {0, -400.0, -200.0});
    EXPECT_EQ(ClassifyEdge(coupling->placement, other->GetCornerFrame(0)), EdgeBit(11));
}

TEST_F(ElmntConnTest, Coupling45AtATubeEnd) {
    auto tube = Make(ElmntKind::Tube, 350.0f, 0.0f, {}, true);
    // Index 6 n + j: end n, the branch turned to direction j (2 to 5).
    for (int n : {2, 5, 8, 11}) {
        SCOPED_TRACE(n);
        auto c45 = tube->CreateAttached(1, ToolMode::Coupling45AtEnd, ElmntKind::Connector45, 1, 0, 0, n);
        ASSERT_NE(c45, nullptr);
        EXPECT_FALSE(c45->fixed);
        // The new coupling's branch ends at the tube end, its branch axis along the tube.
        const CTransform end = tube->GetEndFrame(n / 6);
        ExpectNear(c45->GetConnPoint(0), end.translation, 1e-6);
        EXPECT_NEAR(std::fabs(CVector3::Dot(c45->GetConnFrame(0).GetAxis(0), end.GetAxis(0))), 1.0,
                    1e-9);
    }
}

TEST_F(ElmntConnTest, AttachingAtTubeEnds) {
    auto tube = Make(ElmntKind::Tube, 350.0f, 0.0f, Turned(), false);
    auto cap = tube->CreateAttached(1, ToolMode::AtTubeEnd, ElmntKind::TubeCap, 3, 0, 0, 1);
    ASSERT_NE(cap, nullptr);
    CTransform expected = tube->GetEndFrame(1);
    expected.Flip(2, 0);
    EXPECT_EQ(cap->placement, expected);
    EXPECT_FALSE(cap->fixed);
    auto atStart = tube->CreateAttached(1, ToolMode::AtTubeEnd, ElmntKind::Bolt, 3, 50, 0, 0);
    expected = tube->GetEndFrame(0);
    expected.Flip(2, 0);
    EXPECT_EQ(atStart->placement, expected);
    EXPECT_EQ(atStart->length, 50.0f);

    auto hole = tube->CreateAttached(1, ToolMode::AtTubeEnd, ElmntKind::HoleConnector, 1, 0, 0, 1);
    ASSERT_NE(hole, nullptr);
    expected = tube->GetEndFrame(1);
    expected.Turn90(1, 0);
    expected.MoveX(-50.0);
    EXPECT_EQ(hole->placement, expected);
    EXPECT_EQ(hole->turnVariant & 32, 32);
    // Any other kind at a tube end: nothing, not even by the pair rules.
    EXPECT_EQ(tube->CreateAttached(1, ToolMode::AtTubeEnd, ElmntKind::Clamp, 3, 0, 0, 0), nullptr);
    // A target that is no tube end falls through to the pair rules (none for a panel).
    auto panel = Make(ElmntKind::Panel, 350, 350);
    EXPECT_EQ(panel->CreateAttached(1, ToolMode::AtTubeEnd, ElmntKind::TubeCap, 3, 0, 0, 0), nullptr);
}

TEST_F(ElmntConnTest, WheelsAndBearingCouplingsOnPickedTube) {
    auto tube = Make(ElmntKind::Tube, 750.0f);
    auto wheel = tube->CreateAttached(1, ToolMode::OnPickedMultiWheel, ElmntKind::MultiWheel, 1, 5, 5, 2);
    ASSERT_NE(wheel, nullptr);
    ExpectNear(wheel->placement.translation, {250.0, 0, 0});
    EXPECT_EQ(wheel->length, 0.0f);
    auto bearing = tube->CreateAttached(1, ToolMode::OnPickedMultiWheel, ElmntKind::BearingConnector, 1, 5, 5, 0);
    ASSERT_NE(bearing, nullptr);
    ExpectNear(bearing->placement.translation, {50.0, 0, 0});
    ExpectNear(bearing->placement.GetAxis(0), {0, -1, 0});
    EXPECT_EQ(bearing->turnVariant, 32);

    // Insert mode on the bearing coupling: the crosses 100 mm apart up and down its Y axis.
    auto atBearing = bearing->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 0);
    ExpectNear(atBearing->placement.translation, {50.0 + 100.0, 0, 0});
    auto below = bearing->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 5);
    ExpectNear(below->placement.translation, {50.0 - 200.0, 0, 0});
}

TEST_F(ElmntConnTest, PairRules) {
    auto tube = Make(ElmntKind::Tube, 350.0f, 0.0f, {}, false);
    auto clampEven = tube->CreateAttached(1, ToolMode::OnPickedClamp, ElmntKind::Clamp, 3, 9, 9, 2);
    ExpectNear(clampEven->placement.translation, {260.0, 0, 0});
    EXPECT_EQ(clampEven->placement.rotation, CMatrix3());
    EXPECT_FALSE(clampEven->fixed);
    EXPECT_EQ(clampEven->length, 0.0f);
    auto clampOdd = tube->CreateAttached(1, ToolMode::OnPickedClamp, ElmntKind::Clamp, 3, 9, 9, 1);
    ExpectNear(clampOdd->placement.translation, {140.0, 0, 0});
    ExpectNear(clampOdd->placement.GetAxis(0), {-1, 0, 0});
    auto clipOdd = tube->CreateAttached(1, ToolMode::OnPickedClamp, ElmntKind::Clip, 3, 9, 9, 3);
    ExpectNear(clipOdd->placement.translation, {340.0, 0, 0});
    EXPECT_EQ(clipOdd->turnVariant, 16);

    auto profile = tube->CreateAttached(1, ToolMode::OnPickedAlu, ElmntKind::Alu, 11, 500, 9, 1);
    ExpectNear(profile->placement.translation, {400.0, 0, 0});
    ExpectNear(profile->placement.GetAxis(0), {-1, 0, 0});
    EXPECT_EQ(profile->length, 500.0f);
    EXPECT_EQ(profile->secondSize, 0.0f);
    auto connector = profile->CreateAttached(1, ToolMode::OnPickedAluConnector, ElmntKind::AluConnector, 11, 40, 9, 1);
    ExpectNear(connector->placement.translation, {-100.0, 0, 0});

    EXPECT_NE(tube->CreateAttached(1, ToolMode::OnPickedWheel, ElmntKind::FloatingWheel, 1, 0, 0, 1), nullptr);
    auto slide = tube->CreateAttached(1, ToolMode::OnPickedSlide, ElmntKind::Slide, 6, 0, 0, 0);
    ExpectNear(slide->placement.translation, {200.0, 0, 0});
    auto roof = tube->CreateAttached(1, ToolMode::OnPickedRoof, ElmntKind::RoofLarge, 0, 0, 0, 0);
    ExpectNear(roof->placement.translation, {400.0, 0, 0});
    auto runOut = slide->CreateAttached(1, ToolMode::OnPickedSlideEnd, ElmntKind::SlideEnd, 9, 0, 0, 0);
    ExpectNear(runOut->placement.translation, {200.0, -800.0, 1200.0});
    auto curved = Make(ElmntKind::CurvedSlide);
    auto curvedRunOut = curved->CreateAttached(1, ToolMode::OnPickedSlideEnd, ElmntKind::SlideEnd, 9, 0, 0, 0);
    ExpectNear(curvedRunOut->placement.translation, {600.0, -800.0, 600.0});
    ExpectNear(curvedRunOut->placement.GetAxis(0), {0, 0, -1});
    auto flexi = Make(ElmntKind::FlexiConnector);
    auto second = flexi->CreateAttached(1, ToolMode::OnPickedFlexiArm, ElmntKind::FlexiConnector, 1, 0, 0, 0);
    ExpectNear(second->placement.GetAxis(1), {0, 0, -1});
    EXPECT_EQ(second->turnVariant, 16);
    // No rule for this pair.
    EXPECT_EQ(tube->CreateAttached(1, ToolMode::OnPickedTextile, ElmntKind::TextilRound, 1, 0, 0, 0), nullptr);
}

TEST_F(ElmntConnTest, ClipAndClampTargetsInInsertMode) {
    auto clip = Make(ElmntKind::Clip);
    auto plain = clip->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 1);
    ExpectNear(plain->placement.translation, {-160.0, 55.0, 0});
    clip->turnVariant = 16;
    auto turned = clip->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 1);
    ExpectNear(turned->placement.translation, {160.0, 55.0, 0});
    ExpectNear(turned->placement.GetAxis(0), {-1, 0, 0});
    auto clamp = Make(ElmntKind::Clamp);
    auto atClamp = clamp->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 0);
    ExpectNear(atClamp->placement.translation, {-60.0, 0, -50.0});
    auto bolt = Make(ElmntKind::Bolt, 150);
    ExpectNear(bolt->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 0)->placement.translation,
               {-50.0, 0, 0});
    ExpectNear(bolt->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 1)->placement.translation,
               {0, 0, 0});
    ExpectNear(bolt->CreateAttached(1, ToolMode::AtConnection, ElmntKind::Tube, 2, 350, 0, 2)->placement.GetAxis(0),
               {-1, 0, 0});
}

TEST_F(ElmntConnTest, SteeringLockMode) {
    auto hole = Make(ElmntKind::HoleConnector);
    ExpectNear(hole->CreateAttached(1, ToolMode::SteeringLock, ElmntKind::SteeringLock, 3, 0, 0, 0)
                   ->placement.translation,
               {-50.0, 0, 0});
    auto bearing = Make(ElmntKind::Bearing, 50, 0, Turned());
    EXPECT_EQ(bearing->CreateAttached(1, ToolMode::SteeringLock, ElmntKind::SteeringLock, 3, 0, 0, 0)->placement,
              bearing->placement);
}

TEST_F(ElmntConnTest, PanelOffsetMoveAndArmMasks) {
    CTransform t;
    t.rotation = CMatrix3::FromColumns({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
    auto panel = Make(ElmntKind::Panel, 750.0f, 350.0f, t);
    panel->SetPanelOffset();
    ExpectNear(panel->placement.translation, {0, 400.0, -200.0});
    panel->MoveLocalX(10.0);
    ExpectNear(panel->placement.translation, {0, 400.0, -210.0});

    auto hole = Make(ElmntKind::HoleConnector);
    ASSERT_TRUE(hole->SetArmMasks(SideBit(Side::PlusY) | SideBit(Side::MinusZ)));
    EXPECT_EQ(hole->GetFreeArms(), 4u + 32u);
    EXPECT_EQ(hole->GetOccupiedArms(), 4u + 32u + 3u);
    EXPECT_EQ(hole->GetFreeCornerSlots(), 0xF00u);
    EXPECT_FALSE(hole->SetArmMasks(64));
    EXPECT_EQ(hole->GetFreeArms(), 36u);
}

} // namespace
