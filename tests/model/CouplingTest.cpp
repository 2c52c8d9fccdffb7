// Automatic couplings: found within the snap radius or created at tube ends and panel corners,
// arms and corner slots taken and freed, couplings ended with their last attachment and brought
// back by undo, and the flags that linking hands on.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/Coupling.h"
#include "support/Matrix3.h"
#include "support/Orientation.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

constexpr uint32_t PlusX = 1, MinusX = 2, PlusY = 4, MinusY = 8;

std::unique_ptr<CElmnt> MakeAt(TestDesign& d, ElmntKind kind, CVector3 point, float length = 0,
                               float secondSize = 0, CMatrix3 rotation = {}) {
    return std::make_unique<CElmnt>(d.ids, 0, kind, 2, CTransform(rotation, point), true, length,
                                    secondSize);
}

CElmnt& AddCoupling(TestDesign& d, CVector3 point) {
    return d.Add(MakeAt(d, ElmntKind::Connector, point));
}

// A 350 mm tube from the point along +X (400 mm between coupling centres).
CElmnt& AddTube(TestDesign& d, CVector3 point) {
    return d.Add(MakeAt(d, ElmntKind::Tube, point, 350.0f));
}

TEST(CouplingTest, TubeAttachedToTheStartCoupling) {
    TestDesign d;
    CElmnt* tube = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    ASSERT_NE(tube, nullptr);
    EXPECT_EQ(d.Current(), 1u);

    // The start coupling holds the tube on its +X arm, from this revision on.
    EXPECT_EQ(d.start->GetOccupiedArms(), PlusX);
    EXPECT_EQ(d.start->GetFreeArms(), ArmMaskAll & ~PlusX);
    EXPECT_EQ(d.start->firstRevision, 1u);
    // A new coupling at the far end holds it on its -X arm.
    CElmnt* far = d.CouplingAt({400, 0, 0});
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->GetOccupiedArms(), MinusX);
    EXPECT_EQ(far->GetFreeArms(), ArmMaskAll & ~MinusX);
    EXPECT_EQ(far->GetFreeCornerSlots(), CornerSlotMaskAll);
    EXPECT_EQ(far->GetMaterial(), TestDesign::CouplingMaterial);
    EXPECT_EQ(far->placement.rotation, CMatrix3()) << "stood upright to the world";
    EXPECT_TRUE(far->fixed);
    EXPECT_EQ(far->GetDirections(), 0u);
    EXPECT_TRUE(tube->fixed);
    EXPECT_FALSE(tube->adjustPending);

    // The list: start, grid, tube, the start coupling's state before the tube, the new coupling.
    ASSERT_EQ(d.list.Size(), 5u);
    EXPECT_EQ(d.list.GetAt(0), d.start);
    EXPECT_EQ(d.list.GetAt(1), d.grid);
    EXPECT_EQ(d.list.GetAt(2), tube);
    const CElmnt* before = d.list.GetAt(3);
    EXPECT_EQ(before->kind, ElmntKind::Connector);
    EXPECT_EQ(before->firstRevision, 0u);
    EXPECT_EQ(before->endRevision, 1u);
    EXPECT_EQ(before->GetOccupiedArms(), 0u);
    EXPECT_EQ(d.list.GetAt(4), far);
    EXPECT_EQ(far->firstRevision, 1u);
    EXPECT_EQ(far->endRevision, RevisionOpen);
}

TEST(CouplingTest, DeletingTheOnlyTubeEndsItsCouplingsAndUndoBringsThemBack) {
    TestDesign d;
    CElmnt* tube = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    CElmnt* far = d.CouplingAt({400, 0, 0});
    ASSERT_NE(far, nullptr);
    const std::size_t sizeBefore = d.list.Size();

    d.Delete(*tube);
    EXPECT_EQ(d.Current(), 2u);
    // Both couplings held nothing else: they end in the same revision, unchanged.
    EXPECT_EQ(far->endRevision, 2u);
    EXPECT_EQ(far->GetOccupiedArms(), MinusX);
    EXPECT_EQ(d.start->endRevision, 2u);
    EXPECT_EQ(d.start->GetOccupiedArms(), PlusX);
    EXPECT_EQ(d.list.Size(), sizeBefore) << "no record is copied for the deletion";
    ASSERT_EQ(d.Alive().size(), 1u);
    EXPECT_EQ(d.Alive()[0], d.grid);

    d.Undo();
    EXPECT_EQ(d.Alive().size(), 4u);
    EXPECT_TRUE(tube->IsAliveAt(d.Current()));
    EXPECT_TRUE(far->IsAliveAt(d.Current()));
    EXPECT_EQ(far->GetOccupiedArms(), MinusX);
    d.Undo();
    EXPECT_EQ(d.Alive().size(), 2u);
    EXPECT_EQ(d.list.GetAt(3)->GetOccupiedArms(), 0u) << "the start coupling before the tube";
    d.Redo();
    d.Redo();
    EXPECT_EQ(d.Alive().size(), 1u);
}

TEST(CouplingTest, TwoTubesEndToEndShareOneCoupling) {
    TestDesign d;
    CElmnt* first = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    CElmnt* middle = d.CouplingAt({400, 0, 0});
    CElmnt* second = d.Place(*middle, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(middle->GetOccupiedArms(), PlusX | MinusX);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 3u);
    // Deleting one keeps the shared coupling with the other's arm.
    d.Delete(*second);
    EXPECT_TRUE(middle->IsAliveAt(d.Current()));
    EXPECT_EQ(middle->GetOccupiedArms(), MinusX);
    EXPECT_EQ(middle->GetFreeArms(), ArmMaskAll & ~MinusX);
    EXPECT_EQ(d.CouplingAt({800, 0, 0}), nullptr);
}

TEST(CouplingTest, SnapRadiusEdgesAreStrict) {
    TestDesign d;
    CElmnt& c = AddCoupling(d, {1000, 0, 0});
    auto find = [&](double x, double radiusSq) {
        CTransform frame;
        frame.translation = {x, 0, 0};
        return CElmnt::FindNearestCoupling(d.Current(), d.list, frame, radiusSq);
    };
    EXPECT_EQ(find(1040.0, CouplingSnap::NormalSq), nullptr);
    EXPECT_EQ(find(1039.99, CouplingSnap::NormalSq), &c);
    EXPECT_EQ(find(960.0, CouplingSnap::NormalSq), nullptr);
    EXPECT_EQ(find(1150.0, CouplingSnap::WideSq), nullptr);
    EXPECT_EQ(find(1149.99, CouplingSnap::WideSq), &c);
    EXPECT_EQ(CouplingSnap::RadiusSq(false), 1600.0);
    EXPECT_EQ(CouplingSnap::RadiusSq(true), 22500.0);
    // Only states alive at the revision count: the coupling was added in revision 1.
    EXPECT_EQ(CElmnt::FindNearestCoupling(0, d.list, c.placement, CouplingSnap::NormalSq), nullptr);
}

TEST(CouplingTest, TiesGoToTheEarlierCouplingInTheList) {
    TestDesign d;
    CElmnt& left = AddCoupling(d, {990, 0, 0});
    CElmnt& right = AddCoupling(d, {1010, 0, 0});
    CTransform frame;
    frame.translation = {1000, 0, 0};
    EXPECT_EQ(CElmnt::FindNearestCoupling(d.Current(), d.list, frame, CouplingSnap::NormalSq),
              &left);
    frame.translation = {1000.001, 0, 0};
    EXPECT_EQ(CElmnt::FindNearestCoupling(d.Current(), d.list, frame, CouplingSnap::NormalSq),
              &right);
}

TEST(CouplingTest, BoltCountsAtItsCentreAndItsFirstPointOnly) {
    TestDesign d;
    CElmnt& bolt = d.Add(MakeAt(d, ElmntKind::Bolt, {2000, 0, 0}, 150.0f));
    CTransform frame;
    for (double x : {2000.0, 1950.0}) {
        frame.translation = {x, 0, 0};
        EXPECT_EQ(CElmnt::FindNearestCoupling(d.Current(), d.list, frame, CouplingSnap::NormalSq),
                  &bolt);
    }
    frame.translation = {2050.0, 0, 0};
    EXPECT_EQ(CElmnt::FindNearestCoupling(d.Current(), d.list, frame, CouplingSnap::NormalSq),
              nullptr);
}

TEST(CouplingTest, WideOptionReachesACouplingAHundredMillimetresAway) {
    TestDesign d;
    CElmnt& c = AddCoupling(d, {1000, 0, 0});
    // A tube whose end 1 lies 100 mm short of the coupling.
    d.snapRadiusSq = CouplingSnap::WideSq;
    CElmnt& wide = AddTube(d, {500, 0, 0});
    EXPECT_EQ(c.GetOccupiedArms(), MinusX);
    EXPECT_EQ(d.CouplingAt({900, 0, 0}), nullptr);

    d.snapRadiusSq = CouplingSnap::NormalSq;
    CElmnt& normal = AddTube(d, {500, 1000, 0});
    EXPECT_NE(d.CouplingAt({900, 1000, 0}), nullptr);
    (void)wide;
    (void)normal;
}

TEST(CouplingTest, LinkMadeUnderTheWideRadiusIsReleasedByTheSameCoupling) {
    TestDesign d;
    CElmnt& c = AddCoupling(d, {1000, 0, 0});
    CElmnt& other = d.Add(MakeAt(d, ElmntKind::Tube, {1000, 0, 0}, 350.0f));
    ASSERT_EQ(c.GetOccupiedArms(), PlusX);
    d.snapRadiusSq = CouplingSnap::WideSq;
    CElmnt& tube = AddTube(d, {500, 0, 0});
    ASSERT_EQ(c.GetOccupiedArms(), PlusX | MinusX);
    // The option is off again when the tube is deleted: the arm is freed all the same, and no
    // coupling is left holding an arm for a tube that is gone.
    d.snapRadiusSq = CouplingSnap::NormalSq;
    d.Delete(tube);
    EXPECT_EQ(c.GetOccupiedArms(), PlusX);
    EXPECT_EQ(c.GetFreeArms(), ArmMaskAll & ~PlusX);
    (void)other;
}

TEST(CouplingTest, ReleaseFreesOnlyArmsThatTheElementHolds) {
    TestDesign d;
    // A tube along +X whose end 1 lands 10 mm from a coupling that another tube holds on the
    // same side: the release of the first must not take the second's arm.
    CElmnt& c = AddCoupling(d, {0, 0, 1000});
    CElmnt& holder = d.Add(MakeAt(d, ElmntKind::Tube, {-400, 0, 1000}, 350.0f));
    ASSERT_EQ(c.GetOccupiedArms(), MinusX);
    CElmnt& near = AddTube(d, {-390, 0, 1060}); // its couplings: new ones 60 mm away
    EXPECT_EQ(c.GetOccupiedArms(), MinusX);
    d.snapRadiusSq = CouplingSnap::WideSq;
    d.Delete(near);
    EXPECT_EQ(c.GetOccupiedArms(), MinusX) << "the other tube still holds its arm";
    EXPECT_TRUE(c.IsAliveAt(d.Current()));
    (void)holder;

    // The start coupling near a tube end that it never took is not ended by the tube's release.
    TestDesign e;
    CTransform slanted;
    slanted.RotateDeg(30.0, 0, 1);
    TestUi().Reset();
    CElmnt& skew = e.Add(MakeAt(e, ElmntKind::Tube, {0, 0, 0}, 350.0f, 0, slanted.rotation));
    EXPECT_EQ(TestUi().Boxes().size(), 1u) << "the end does not meet an arm";
    EXPECT_EQ(e.start->GetOccupiedArms(), 0u);
    e.Delete(skew);
    EXPECT_TRUE(e.start->IsAliveAt(e.Current()));
}

TEST(CouplingTest, EndMeetingNoArmShowsMessageOncePerEnd) {
    TestDesign d;
    TestUi().Reset();
    CElmnt& c = AddCoupling(d, {0, 0, 2000});
    CTransform t;
    t.RotateDeg(45.0, 0, 2);
    CElmnt& tube = d.Add(MakeAt(d, ElmntKind::Tube, {0, 0, 2000}, 350.0f, 0, t.rotation));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const RecordedBox& box = TestUi().Boxes()[0];
    EXPECT_EQ(box.text, "Das Rohr trifft nicht im rechten Winkel auf die Kupllung. Eine "
                        "Verbindung ist nicht möglich!");
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(box.icon, MsgIcon::Error);
    EXPECT_EQ(c.GetOccupiedArms(), 0u);
    EXPECT_EQ(c.GetFreeArms(), ArmMaskAll);
    EXPECT_TRUE(tube.IsAliveAt(d.Current())) << "the tube is placed all the same";
}

TEST(CouplingTest, FlagsThatLinkingHandsOn) {
    TestDesign d;
    // A fixed tube linked to an unfixed coupling becomes unfixed and adjust-pending; so does
    // the coupling.
    CElmnt& c = AddCoupling(d, {0, 0, 3000});
    c.fixed = false;
    CElmnt& tube = AddTube(d, {0, 0, 3000});
    EXPECT_FALSE(tube.fixed);
    EXPECT_TRUE(tube.adjustPending);
    EXPECT_TRUE(c.adjustPending);
    // A tube with a direction mask gives its new couplings direction mask 63.
    auto directed = MakeAt(d, ElmntKind::Tube, {0, 0, 4000}, 350.0f);
    ASSERT_TRUE(directed->SetDirections(PlusY));
    d.Add(std::move(directed));
    ASSERT_NE(d.CouplingAt({0, 0, 4000}), nullptr);
    EXPECT_EQ(d.CouplingAt({0, 0, 4000})->GetDirections(), ArmMaskAll);
    EXPECT_EQ(d.CouplingAt({400, 0, 4000})->GetDirections(), ArmMaskAll);
    // A panel's new couplings keep direction mask 0.
    auto panel = MakeAt(d, ElmntKind::Panel, {0, 0, 5000}, 350.0f, 350.0f);
    ASSERT_TRUE(panel->SetDirections(PlusY));
    d.Add(std::move(panel));
    ASSERT_NE(d.CouplingAt({200, 200, 5000}), nullptr);
    EXPECT_EQ(d.CouplingAt({200, 200, 5000})->GetDirections(), 0u);
}

TEST(CouplingTest, FloatingElementsAreNeitherLinkedNorUnlinked) {
    TestDesign d;
    auto tube = MakeAt(d, ElmntKind::Tube, {0, 0, 0}, 350.0f);
    tube->MarkFloating();
    CElmnt& added = d.Add(std::move(tube));
    EXPECT_EQ(d.start->GetOccupiedArms(), 0u);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 1u);
    added.UnlinkEnds(d.Current(), d.list, 1);
    EXPECT_TRUE(d.start->IsAliveAt(d.Current()));
}

TEST(CouplingTest, PanelCornersTakeCornerSlots) {
    TestDesign d;
    // A square of four tubes in the X-Y plane, then a panel inside it.
    CElmnt* bottom = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusX);
    CElmnt* left = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusY);
    CElmnt* right = d.Place(*d.CouplingAt({400, 0, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusY);
    CElmnt* top = d.Place(*d.CouplingAt({0, 400, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusX);
    ASSERT_TRUE(bottom && left && right && top);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 4u);
    EXPECT_EQ(d.CouplingAt({400, 400, 0})->GetOccupiedArms(), MinusX | MinusY);

    CElmnt* panel = d.Place(*d.start, ToolMode::SpecialPanel, ElmntKind::Panel, 350, 350, 0);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 4u) << "the corners found couplings";
    EXPECT_EQ(d.start->GetFreeCornerSlots(), CornerSlotMaskAll & ~uint32_t(EdgeBit(0)));
    EXPECT_EQ(d.CouplingAt({400, 0, 0})->GetFreeCornerSlots(),
              CornerSlotMaskAll & ~uint32_t(EdgeBit(2)));
    EXPECT_EQ(d.CouplingAt({0, 400, 0})->GetFreeCornerSlots(),
              CornerSlotMaskAll & ~uint32_t(EdgeBit(1)));
    EXPECT_EQ(d.CouplingAt({400, 400, 0})->GetFreeCornerSlots(),
              CornerSlotMaskAll & ~uint32_t(EdgeBit(3)));

    // The coupling that also holds the panel survives the release of its last tube arms.
    d.Delete(*top);
    d.Delete(*right);
    CElmnt* corner = d.CouplingAt({400, 400, 0});
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->GetOccupiedArms(), 0u);
    // It ends with the panel.
    d.Delete(*panel);
    EXPECT_EQ(d.CouplingAt({400, 400, 0}), nullptr);
    EXPECT_EQ(d.start->GetFreeCornerSlots(), CornerSlotMaskAll);
}

TEST(CouplingTest, PanelAloneCreatesCouplingsAtItsCorners) {
    TestDesign d;
    CElmnt& panel = d.Add(MakeAt(d, ElmntKind::Lattice, {0, 1000, 0}, 350.0f, 350.0f));
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 5u);
    for (int n = 0; n < 4; ++n) {
        CElmnt* c = d.CouplingAt(panel.GetCornerFrame(n).translation);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->GetOccupiedArms(), 0u);
        EXPECT_EQ(__builtin_popcount(c->GetFreeCornerSlots()), 11);
    }
    d.Delete(panel);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 1u);
}

TEST(CouplingTest, SeatBackLinksAtItsCornersLikeAPanel) {
    TestDesign d;
    CElmnt& back = d.Add(MakeAt(d, ElmntKind::ChairSeatBack, {0, 2000, 0}, 250.0f, 150.0f));
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 5u);
    EXPECT_NE(d.CouplingAt(back.GetCornerFrame(3).translation), nullptr);
    d.Delete(back);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 1u);
}

TEST(CouplingTest, AnElementNeverFindsItselfAsItsCoupling) {
    TestDesign d;
    d.snapRadiusSq = CouplingSnap::WideSq;
    // The 45° coupling's end is 87 mm from its own branch point, the hole coupling's 50 mm from
    // its centre: both within 150 mm.
    CElmnt& c45 = d.Add(MakeAt(d, ElmntKind::Connector45, {0, 0, 6000}));
    EXPECT_EQ(c45.GetFreeArms(), 1u) << "its own arm stays free";
    EXPECT_NE(d.CouplingAt({0, 0, 6000}), nullptr);
    CElmnt& hole = d.Add(MakeAt(d, ElmntKind::HoleConnector, {0, 0, 7000}));
    EXPECT_NE(d.CouplingAt({-50, 0, 7000}), nullptr);
    EXPECT_EQ(CElmnt::FindNearestCoupling(d.Current(), d.list, hole.GetEndFrame(0),
                                          CouplingSnap::WideSq, &hole),
              d.CouplingAt({-50, 0, 7000}));
    // Unlinking frees the couplings it made, not itself.
    d.Delete(c45);
    EXPECT_EQ(d.CouplingAt({0, 0, 6000}), nullptr);
    d.Delete(hole);
    EXPECT_EQ(d.CouplingAt({-50, 0, 7000}), nullptr);
}

TEST(CouplingTest, UnlinkingAStateThatIsNoLongerAliveKeepsItsFlags) {
    TestDesign d;
    CElmnt& c = AddCoupling(d, {0, 0, 8000});
    c.fixed = false;
    CElmnt& other = AddTube(d, {-400, 0, 8000}); // keeps the coupling alive
    CElmnt& tube = d.Add(MakeAt(d, ElmntKind::Tube, {0, 0, 8000}, 350.0f));
    // Make the tube's last state fixed and settled, as the adjustment would leave it.
    tube.fixed = true;
    tube.adjustPending = false;
    d.Delete(tube);
    EXPECT_TRUE(tube.fixed);
    EXPECT_FALSE(tube.adjustPending);
    EXPECT_EQ(c.GetOccupiedArms(), MinusX) << "the coupling is freed all the same";
    d.Undo();
    EXPECT_TRUE(tube.IsAliveAt(d.Current()));
    EXPECT_TRUE(tube.fixed);
    // An alive element that meets an unfixed coupling is unfixed by the release.
    other.fixed = true;
    d.Redo();
    const Revision r = d.NewRevision();
    other.UnlinkEnds(r, d.list, 1);
    EXPECT_FALSE(other.fixed);
    EXPECT_TRUE(other.adjustPending);
}

TEST(CouplingTest, InvalidCouplingMaterialChangesNothing) {
    TestDesign d;
    auto tube = MakeAt(d, ElmntKind::Tube, {0, 0, 0}, 350.0f);
    CElmnt& added = d.list.Append(std::move(tube));
    const std::size_t size = d.list.Size();
    EXPECT_THROW(added.LinkEnds(0, d.list, 100, CouplingSnap::NormalSq), std::invalid_argument);
    EXPECT_THROW(added.UnlinkEnds(0, d.list, -1), std::invalid_argument);
    EXPECT_EQ(d.list.Size(), size);
    EXPECT_EQ(d.start->GetOccupiedArms(), 0u);
}

TEST(CouplingTest, AttachAndReleaseOnHoleAndFlexibleCouplingsChangeNoArms) {
    TestDesign d;
    auto hole = MakeAt(d, ElmntKind::HoleConnector, {0, 0, 9000});
    ASSERT_TRUE(hole->SetArmMasks(PlusY | MinusY));
    hole->fixed = false;
    CElmnt& h = d.list.Append(std::move(hole));
    CTransform end;
    end.translation = {0, 0, 9000};
    h.AttachToCoupling(end);
    EXPECT_EQ(h.GetOccupiedArms(), PlusY | MinusY | 3u);
    EXPECT_FALSE(h.adjustPending);
    h.ReleaseArm(end, 0, d.list, 1);
    EXPECT_EQ(h.GetOccupiedArms(), PlusY | MinusY | 3u);
    EXPECT_EQ(h.endRevision, RevisionOpen);
}

} // namespace
