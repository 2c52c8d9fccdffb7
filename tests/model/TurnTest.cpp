// Turning: every row of the turn table at its wrap point, the turn counts handed on, the beep of
// kinds that do not turn, the history copy of a turn in a new revision, and the couplings on
// tubes that turn about their own end.
#include <memory>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "support/Matrix3.h"
#include "support/Orientation.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

CMatrix3 Oriented(int code) {
    CMatrix3 m;
    ApplyOrientation(m, code);
    return m;
}

class TurnTest : public ::testing::Test {
protected:
    // A fresh record turned in its own first revision (no list: nothing is copied).
    std::unique_ptr<CElmnt> Make(ElmntKind kind, float length = 350.0f) {
        return std::make_unique<CElmnt>(m_ids, 3, kind, 1, length, 350.0f);
    }
    int Turn(CElmnt& e) { return e.TurnElement(e.firstRevision, nullptr, 1, Snap, false); }

    static constexpr double Snap = CouplingSnap::NormalSq;
    CElmntIdSource m_ids;
};

TEST_F(TurnTest, HalfTurnKindsWhoseCountIsNotHandedOn) {
    for (ElmntKind kind :
         {ElmntKind::Slide, ElmntKind::CurvedSlide, ElmntKind::Pool, ElmntKind::PoolSmall,
          ElmntKind::SlideNew, ElmntKind::MultiWheel, ElmntKind::Bag, ElmntKind::FloatingWheel}) {
        SCOPED_TRACE(KindCode(kind));
        auto e = Make(kind);
        EXPECT_EQ(Turn(*e), 0);
        EXPECT_EQ(e->turnVariant, 1);
        EXPECT_EQ(e->placement.rotation, Oriented(3));
        EXPECT_EQ(Turn(*e), 0);
        EXPECT_EQ(e->turnVariant, 0);
        EXPECT_EQ(e->placement.rotation, CMatrix3());
    }
}

TEST_F(TurnTest, PanelsTurnHalfAboutTheirYAxis) {
    for (ElmntKind kind :
         {ElmntKind::Panel, ElmntKind::Display, ElmntKind::Wood, ElmntKind::WoodKnob,
          ElmntKind::WoodBed, ElmntKind::Textil, ElmntKind::ChairSeatBack, ElmntKind::Lattice}) {
        SCOPED_TRACE(KindCode(kind));
        auto e = Make(kind);
        EXPECT_EQ(Turn(*e), 1);
        EXPECT_EQ(e->placement.rotation, Oriented(3));
        EXPECT_EQ(Turn(*e), 0);
        EXPECT_EQ(e->turnVariant, 0);
        EXPECT_EQ(e->placement.rotation, CMatrix3()) << "twice gives back the first orientation";
    }
}

TEST_F(TurnTest, RoundPanelAndTextileSwapTheirAxes) {
    auto wood = Make(ElmntKind::RoundWood);
    EXPECT_EQ(Turn(*wood), 1);
    EXPECT_EQ(wood->placement.rotation, Oriented(5));
    EXPECT_EQ(Turn(*wood), 0);
    EXPECT_EQ(wood->placement.rotation, CMatrix3());
    auto textile = Make(ElmntKind::TextilRound);
    EXPECT_EQ(Turn(*textile), 1);
    EXPECT_EQ(textile->placement.rotation, Oriented(8));
    EXPECT_EQ(Turn(*textile), 0);
    EXPECT_EQ(textile->placement.rotation, CMatrix3());
}

TEST_F(TurnTest, BoltsStepAlongTheirAxis) {
    auto shortBolt = Make(ElmntKind::Bolt, 50.0f);
    EXPECT_EQ(Turn(*shortBolt), 1);
    EXPECT_EQ(shortBolt->placement.translation, CVector3(50, 0, 0));
    EXPECT_EQ(Turn(*shortBolt), 0);
    EXPECT_EQ(shortBolt->placement.translation, CVector3(0, 0, 0));
    EXPECT_EQ(shortBolt->placement.rotation, CMatrix3());

    auto longBolt = Make(ElmntKind::Bolt, 150.0f);
    EXPECT_EQ(Turn(*longBolt), 1);
    EXPECT_EQ(longBolt->placement.translation, CVector3(-50, 0, 0));
    EXPECT_EQ(Turn(*longBolt), 0);
    EXPECT_EQ(longBolt->placement.translation, CVector3(0, 0, 0));
}

TEST_F(TurnTest, QuarterTurnKindsWrapAfterFour) {
    for (ElmntKind kind :
         {ElmntKind::Casters, ElmntKind::Connector45, ElmntKind::Clamp, ElmntKind::Alu,
          ElmntKind::AluConnector, ElmntKind::Roof, ElmntKind::RoofLarge}) {
        SCOPED_TRACE(KindCode(kind));
        auto e = Make(kind);
        e->turnVariant = 2;
        EXPECT_EQ(Turn(*e), 3);
        EXPECT_EQ(e->placement.rotation, Oriented(11));
        EXPECT_EQ(Turn(*e), 0);
        EXPECT_EQ(Turn(*e), 1);
        EXPECT_EQ(Turn(*e), 2);
        EXPECT_EQ(e->placement.rotation, CMatrix3());
    }
}

TEST_F(TurnTest, ClipStepsFourTimesThenTurnsAQuarter) {
    auto clip = Make(ElmntKind::Clip);
    clip->turnVariant = 16;
    EXPECT_EQ(Turn(*clip), 1);
    EXPECT_EQ(Turn(*clip), 2);
    EXPECT_EQ(Turn(*clip), 3);
    EXPECT_EQ(clip->placement.rotation, CMatrix3());
    EXPECT_EQ(Turn(*clip), 4);
    EXPECT_EQ(clip->placement.rotation, Oriented(11)) << "on the fourth step";
    EXPECT_EQ(clip->turnVariant, 16 + 4) << "bit 16 stays";
    // The count wraps at 16; steps 4, 8, 12 and 16 turn a quarter each.
    clip->turnVariant = 16 + 15;
    EXPECT_EQ(Turn(*clip), 0);
    EXPECT_EQ(clip->turnVariant, 16);
    CMatrix3 twice = Oriented(11);
    ApplyOrientation(twice, 11);
    EXPECT_EQ(clip->placement.rotation, twice);
}

TEST_F(TurnTest, CouplingsOnTubesTurnAQuarterAndKeepTheirHighBits) {
    for (ElmntKind kind :
         {ElmntKind::BearingConnector, ElmntKind::HoleConnector, ElmntKind::FlexiConnector}) {
        SCOPED_TRACE(KindCode(kind));
        auto plain = Make(kind, 0.0f);
        plain->turnVariant = 16 + 3;
        EXPECT_EQ(Turn(*plain), 16);
        EXPECT_EQ(plain->placement.rotation, Oriented(11));
        auto onTube = Make(kind, 0.0f);
        onTube->turnVariant = 32 + 3;
        EXPECT_EQ(Turn(*onTube), 32);
        EXPECT_EQ(onTube->placement.rotation, Oriented(13));
    }
}

TEST_F(TurnTest, KindsThatDoNotTurnBeepWhenAsked) {
    for (ElmntKind kind :
         {ElmntKind::Tube, ElmntKind::RoundTube, ElmntKind::Connector, ElmntKind::Bearing,
          ElmntKind::Adapter, ElmntKind::OpenConnector, ElmntKind::SteeringLock, ElmntKind::HubCap,
          ElmntKind::TubeCap, ElmntKind::SlideEnd, ElmntKind::FloorGrid}) {
        SCOPED_TRACE(KindCode(kind));
        TestUi().Reset();
        TestDesign d;
        CElmnt& e = d.list.Append(Make(kind));
        e.turnVariant = 5;
        const Revision r = 7;
        EXPECT_EQ(e.TurnElement(r, &d.list, 1, Snap, true), 0);
        EXPECT_EQ(TestUi().Beeps(), 1);
        EXPECT_EQ(e.TurnElement(r, &d.list, 1, Snap, false), 0);
        EXPECT_EQ(TestUi().Beeps(), 1);
        EXPECT_EQ(e.turnVariant, 5);
        EXPECT_EQ(e.firstRevision, 3u) << "not even the revision interval changes";
        EXPECT_EQ(d.list.Size(), 3u) << "no copy";
        EXPECT_EQ(e.placement.rotation, CMatrix3());
    }
}

TEST_F(TurnTest, TurnInANewRevisionKeepsTheOldState) {
    TestDesign d;
    CElmnt& panel = d.Add(std::make_unique<CElmnt>(d.ids, 0, ElmntKind::Panel, 6, 350.f, 350.f));
    const std::size_t size = d.list.Size();
    const Revision r = d.NewRevision();
    EXPECT_EQ(panel.TurnElement(r, &d.list, 1, Snap, false), 1);
    EXPECT_EQ(panel.firstRevision, r);
    ASSERT_EQ(d.list.Size(), size + 1);
    const CElmnt* old = d.list.GetTail();
    EXPECT_EQ(old->endRevision, r);
    EXPECT_EQ(old->turnVariant, 0);
    EXPECT_EQ(old->placement.rotation, CMatrix3());
    // A second step in the same revision makes no second copy.
    panel.TurnElement(r, &d.list, 1, Snap, false);
    EXPECT_EQ(d.list.Size(), size + 1);
}

TEST_F(TurnTest, TimesClearsTheCountAndTurnsWithoutCopies) {
    auto clip = Make(ElmntKind::Clip);
    clip->turnVariant = 16 + 7;
    clip->TurnElementTimes(nullptr, 1, Snap, 0);
    EXPECT_EQ(clip->turnVariant, 16);
    EXPECT_EQ(clip->placement.rotation, CMatrix3());
    clip->TurnElementTimes(nullptr, 1, Snap, 5);
    EXPECT_EQ(clip->turnVariant, 16 + 5);
    EXPECT_EQ(clip->placement.rotation, Oriented(11));

    TestUi().Reset();
    auto tube = Make(ElmntKind::Tube);
    tube->TurnElementTimes(nullptr, 1, Snap, 3);
    EXPECT_EQ(TestUi().Beeps(), 0);
}

TEST_F(TurnTest, HoleCouplingOnATubeEndTurnsAboutItsEnd) {
    TestDesign d;
    CElmnt* tube = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    ASSERT_NE(tube, nullptr);
    // The hole coupling replaces nothing here: it is placed at the tube's far end, its own end
    // 50 mm further out, linked to a new coupling there.
    CElmnt* hole = d.Place(*tube, ToolMode::AtTubeEnd, ElmntKind::HoleConnector, 0, 0, 1);
    ASSERT_NE(hole, nullptr);
    ASSERT_EQ(hole->turnVariant & 32, 32);
    const CVector3 endBefore = hole->GetEndFrame(0).translation;
    CElmnt* atEnd = d.CouplingAt(endBefore);
    ASSERT_NE(atEnd, nullptr);
    const std::size_t couplings = d.AliveOfKind(ElmntKind::Connector).size();

    const Revision r = d.NewRevision();
    hole->TurnElement(r, &d.list, 1, Snap, false);
    const CVector3 endAfter = hole->GetEndFrame(0).translation;
    EXPECT_GT(CVector3::DistSq(endBefore, endAfter), 1.0);
    // The coupling at the old end place held only the hole coupling: it ends; one stands at the
    // new end place instead.
    EXPECT_FALSE(atEnd->IsAliveAt(d.Current()));
    EXPECT_NE(d.CouplingAt(endAfter), nullptr);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), couplings);
    d.Undo();
    EXPECT_TRUE(atEnd->IsAliveAt(d.Current()));
    EXPECT_EQ(d.CouplingAt(endAfter), nullptr);
}

TEST_F(TurnTest, TimesOnARecordInNoListNeitherUnlinksNorLinks) {
    TestDesign d;
    CElmnt* tube = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    const Revision r = d.NewRevision();
    auto hole = tube->CreateAttached(r, ToolMode::AtTubeEnd, ElmntKind::HoleConnector, 1, 0, 0, 1);
    ASSERT_NE(hole, nullptr);
    const std::size_t size = d.list.Size();
    const uint32_t armsAtStart = d.start->GetOccupiedArms();
    hole->TurnElementTimes(&d.list, 1, Snap, 3);
    EXPECT_EQ(hole->turnVariant, 32 + 3);
    EXPECT_EQ(d.list.Size(), size) << "no coupling records made or copied";
    EXPECT_EQ(d.start->GetOccupiedArms(), armsAtStart);
    EXPECT_EQ(hole->firstRevision, r);
}

} // namespace
