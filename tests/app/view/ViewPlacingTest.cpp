// Building with the mouse on a tiny design in a headless GL context: tubes at the start
// coupling and at the coupling of a tube's free end, a panel between two parallel tubes, hole
// couplings and bolts in place of an automatic coupling, deleting with and without the
// question, turning with the right button, and the clicks that change nothing: no revision.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/view/ViewMouse.h"
#include "app/view/ViewPlacing.h"
#include "model/PartsTable.h"
#include "tests/app/view/ViewPickTestKit.h"

namespace {

using K = ElmntKind;
using M = ToolMode;

class ViewPlacing : public ViewPickTest {
protected:
    void Tool(M mode, K kind) {
        m_state.SetTool(mode);
        m_state.tool.kind = kind;
    }
    // A left click at the world point; what the click asks of the window.
    SMouseResult Click(const CVector3& at, bool ctrl = false, bool shift = false) {
        const auto [x, y] = Window(at);
        SMouseEvent event;
        event.x = x;
        event.y = y;
        event.ctrl = ctrl;
        event.shift = shift;
        SViewContext context = Context();
        CGlScenePicker picker = Picker();
        return OnLeftDown(context, picker, event);
    }
    // The click changed nothing: a beep, no revision (the redo branch stays), not modified.
    void ExpectNothingChanged(const SMouseResult& result, Revision revision, Revision newest = 0) {
        EXPECT_TRUE(result.change.beep);
        EXPECT_EQ(m_dcmt.GetCurrentRevision(), revision);
        EXPECT_EQ(m_dcmt.GetNewestRevision(), std::max(revision, newest));
        EXPECT_FALSE(m_dcmt.IsModified());
    }
    CElmnt* CouplingAt(const CVector3& at) {
        for (CElmnt* coupling : Alive(K::Connector)) {
            if ((coupling->placement.translation - at).Length() < 1.0) {
                return coupling;
            }
        }
        return nullptr;
    }
    int PartsCounted() {
        int count = 0;
        for (const SPartEntry& entry : m_dcmt.GetPartsTable()) {
            count += entry.count;
        }
        return count;
    }
};

TEST_F(ViewPlacing, FrameOfTubesAndAPanelBuiltAndUndone) {
    Tool(M::AtConnection, K::Tube);
    m_state.tool.length = 350.0f;
    // A tube on the start coupling's +X arm: its far end gets a coupling 400 mm away.
    EXPECT_FALSE(Click({150.0, 0.0, 0.0}).change.beep);
    ASSERT_EQ(Alive(K::Tube).size(), 1u);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    EXPECT_EQ(m_views.hints, std::vector<ViewHint>{ViewHint::Insertion});
    EXPECT_EQ(m_state.tool.placing, Alive(K::Tube)[0]->GetId());
    ASSERT_NE(CouplingAt({400.0, 0.0, 0.0}), nullptr);
    // Upright tubes on the start coupling and on the coupling at the free end: parallel,
    // 400 mm apart.
    EXPECT_FALSE(Click({0.0, 150.0, 0.0}).change.beep);
    EXPECT_FALSE(Click({400.0, 150.0, 0.0}).change.beep);
    ASSERT_EQ(Alive(K::Tube).size(), 3u);
    EXPECT_NE(CouplingAt({0.0, 400.0, 0.0}), nullptr);
    EXPECT_NE(CouplingAt({400.0, 400.0, 0.0}), nullptr);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 3u);

    // The two-click panel: the first upright tube, then the second.
    Tool(M::PanelFirstTube, K::Panel);
    m_state.tool.panelWidth = 350.0f;
    m_state.tool.panelLength = 350.0f;
    SMouseResult first = Click({0.0, 200.0, 0.0});
    EXPECT_FALSE(first.change.beep);
    EXPECT_EQ(m_state.tool.mode, M::PanelSecondTube);
    EXPECT_EQ(m_state.tool.firstTube, Alive(K::Tube)[1]->GetId());
    EXPECT_FALSE(Click({400.0, 200.0, 0.0}).change.beep);
    EXPECT_EQ(m_state.tool.mode, M::PanelFirstTube);
    ASSERT_EQ(Alive(K::Panel).size(), 1u);
    const CElmnt& panel = *Alive(K::Panel)[0];
    EXPECT_NEAR(panel.placement.translation.x, 200.0, 1.0);
    EXPECT_NEAR(panel.placement.translation.y, 200.0, 1.0);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 4u);
    // The parts table counts the three tubes, the panel and the couplings.
    const int parts = PartsCounted();
    EXPECT_GE(parts, 3 + 1 + 2);

    // Undo takes the steps back one by one, redo brings them again.
    for (std::size_t tubes : {3u, 2u, 1u, 0u}) {
        m_dcmt.OnEditUndo(m_state.GetCouplingMaterial(), CouplingSnap::NormalSq);
        EXPECT_EQ(Alive(K::Tube).size(), tubes);
    }
    EXPECT_EQ(Alive(K::Panel).size(), 0u);
    EXPECT_EQ(CouplingAt({400.0, 0.0, 0.0}), nullptr);
    for (int k = 0; k < 4; ++k) {
        m_dcmt.OnEditRedo(m_state.GetCouplingMaterial(), CouplingSnap::NormalSq);
    }
    EXPECT_EQ(Alive(K::Tube).size(), 3u);
    EXPECT_EQ(Alive(K::Panel).size(), 1u);
    EXPECT_EQ(PartsCounted(), parts);
    ExpectNoGlError("building");
}

TEST_F(ViewPlacing, ClicksThatCreateNothingOpenNoRevision) {
    Tool(M::AtConnection, K::Tube);
    const auto [x, y] = Window({150.0, 0.0, 0.0});
    // The +X axis runs along the picture's x: 10 pixels above it still places (in a copy of
    // the design's state), 11 do not.
    SMouseEvent event;
    event.x = x;
    event.y = y + 11;
    SViewContext context = Context();
    CGlScenePicker picker = Picker();
    ExpectNothingChanged(OnLeftDown(context, picker, event), 0);
    EXPECT_FALSE(m_state.tool.placing.IsValid());
    event.y = y + 10;
    EXPECT_FALSE(OnLeftDown(context, picker, event).change.beep);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    m_dcmt.OnEditUndo(2, CouplingSnap::NormalSq);
    m_dcmt.SetModified(false);

    // A kind that this way of placing does not create, a kind whose attaching rules refuse the
    // target (a slide on the start coupling), a click on nothing: no revision, and the redo
    // branch stays.
    Tool(M::AtConnection, K::Slide);
    ExpectNothingChanged(Click({150.0, 0.0, 0.0}), 0, 1);
    Tool(M::OnPickedSlide, K::Slide);
    ExpectNothingChanged(Click({0.0, 0.0, 0.0}), 0, 1);
    ExpectNothingChanged(Click({-2000.0, 2500.0, 0.0}), 0, 1);
    Tool(M::PanelSecondTube, K::Panel);
    ExpectNothingChanged(Click({0.0, 0.0, 0.0}), 0, 1);
    EXPECT_EQ(m_state.tool.mode, M::PanelFirstTube) << "back to the first tube in any case";
    Tool(M::DeleteSingle, K::None);
    ExpectNothingChanged(Click({-2000.0, 2500.0, 0.0}), 0, 1);
    EXPECT_TRUE(m_dcmt.CanRedo());
    EXPECT_TRUE(m_views.hints.size() <= 3u)
        << "only the one placing, its undo and the delete click on nothing told";
}

TEST_F(ViewPlacing, PanelToolNeverUsesATubeThatUndoTookAway) {
    Tool(M::AtConnection, K::Tube);
    ASSERT_FALSE(Click({150.0, 0.0, 0.0}).change.beep);
    ASSERT_FALSE(Click({400.0, 150.0, 0.0}).change.beep);
    ASSERT_FALSE(Click({0.0, 150.0, 0.0}).change.beep);
    const CElmnt* placed = m_dcmt.FindElement(m_state.tool.placing);
    ASSERT_NE(placed, nullptr);
    const ElmntId placedId = placed->GetId();
    Tool(M::PanelFirstTube, K::Panel);
    ASSERT_FALSE(Click({0.0, 200.0, 0.0}).change.beep);
    ASSERT_EQ(m_state.tool.firstTube, placedId);
    // The first tube goes with an undo; the second click finds no panel to place.
    m_dcmt.OnEditUndo(2, CouplingSnap::NormalSq);
    ASSERT_EQ(m_dcmt.FindElement(placedId), nullptr);
    const Revision revision = m_dcmt.GetCurrentRevision();
    m_dcmt.SetModified(false);
    ExpectNothingChanged(Click({400.0, 200.0, 0.0}), revision, revision + 1);
    EXPECT_TRUE(Alive(K::Panel).empty());
    EXPECT_TRUE(m_dcmt.CanRedo());
}

TEST_F(ViewPlacing, HoleCouplingAndBoltTakeTheAutomaticCouplingsPlace) {
    Tool(M::AtConnection, K::Tube);
    ASSERT_FALSE(Click({150.0, 0.0, 0.0}).change.beep);
    const CVector3 end{400.0, 0.0, 0.0};
    const ElmntId automatic = CouplingAt(end)->GetId();
    for (K kind : {K::HoleConnector, K::Bolt}) {
        SCOPED_TRACE(KindCode(kind));
        Tool(M::AtTubeEnd, kind);
        m_state.tool.holeArms = 0x3F;
        m_state.tool.length = 100.0f;
        const Revision before = m_dcmt.GetCurrentRevision();
        ASSERT_FALSE(Click({500.0, 0.0, 0.0}).change.beep);
        ASSERT_EQ(Alive(kind).size(), 1u);
        EXPECT_EQ(m_dcmt.GetCurrentRevision(), before + 1);
        EXPECT_EQ(m_dcmt.FindElement(automatic), nullptr) << "ended in the same revision";
        if (kind == K::HoleConnector) {
            EXPECT_EQ(Alive(kind)[0]->GetFreeArms(), 0x3Fu);
        }
        m_dcmt.OnEditUndo(2, CouplingSnap::NormalSq);
        EXPECT_NE(m_dcmt.FindElement(automatic), nullptr) << "undo brings it back";
        EXPECT_TRUE(Alive(kind).empty());
    }
}

TEST_F(ViewPlacing, DeletingAskedAboutAnAutomaticCouplingAndTurningByTheRightButton) {
    Tool(M::AtConnection, K::Tube);
    ASSERT_FALSE(Click({150.0, 0.0, 0.0}).change.beep);
    const ElmntId coupling = CouplingAt({400.0, 0.0, 0.0})->GetId();
    const Revision revision = m_dcmt.GetCurrentRevision();
    m_dcmt.SetModified(false);
    m_views.hints.clear();

    // An automatic coupling that holds a tube: the question, No (the default) changes nothing.
    Tool(M::DeleteSingle, K::None);
    TestUi().Reset();
    TestUi().QueueAnswer(MsgAnswer::No);
    EXPECT_FALSE(Click({400.0, 0.0, 0.0}).change.beep);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(TestUi().Boxes()[0].defaultNo);
    EXPECT_NE(TestUi().Boxes()[0].text.find("dennoch gelöscht"), std::string::npos);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), revision);
    EXPECT_FALSE(m_dcmt.IsModified());
    EXPECT_TRUE(m_views.hints.empty());
    EXPECT_NE(m_dcmt.FindElement(coupling), nullptr);
    // The tube itself: no question; it ends and frees the couplings' arms, and both couplings,
    // left with nothing, end too.
    TestUi().Reset();
    EXPECT_FALSE(Click({200.0, 0.0, 0.0}).change.beep);
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_TRUE(Alive(K::Tube).empty());
    EXPECT_TRUE(Alive(K::Connector).empty());
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), revision + 1);
    EXPECT_EQ(m_views.hints, std::vector<ViewHint>{ViewHint::Deletion});
    // A click on nothing beeps, opens no revision, runs the pending adjustment, tells all.
    CElmnt& lone = Put(K::Connector, {-400.0, 0.0, 0.0});
    lone.adjustPending = true;
    m_views.hints.clear();
    const Revision before = m_dcmt.GetNewestRevision();
    EXPECT_TRUE(Click({0.0, 0.0, 0.0}).change.beep);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), before);
    EXPECT_FALSE(lone.adjustPending);
    EXPECT_EQ(m_views.hints, std::vector<ViewHint>{ViewHint::Deletion});
    // A coupling that holds nothing goes without a question.
    EXPECT_FALSE(Click({-400.0, 0.0, 0.0}).change.beep);
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_TRUE(Alive(K::Connector).empty());

    // Right button: nothing being placed and nothing selected: a beep, no revision.
    const Revision now = m_dcmt.GetCurrentRevision();
    SViewContext context = Context();
    EXPECT_TRUE(OnRightDown(context).beep);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), now);
}

TEST_F(ViewPlacing, RightButtonTurnsThePanelJustPlacedAndTheNextOneAsOften) {
    Tool(M::AtConnection, K::Tube);
    ASSERT_FALSE(Click({150.0, 0.0, 0.0}).change.beep);
    ASSERT_FALSE(Click({0.0, 150.0, 0.0}).change.beep);
    ASSERT_FALSE(Click({400.0, 150.0, 0.0}).change.beep);
    Tool(M::PanelFirstTube, K::Panel);
    ASSERT_FALSE(Click({0.0, 200.0, 0.0}).change.beep);
    ASSERT_FALSE(Click({400.0, 200.0, 0.0}).change.beep);
    const ElmntId panel = m_state.tool.placing;
    const int variant = m_dcmt.FindElement(panel)->turnVariant;
    const Revision revision = m_dcmt.GetCurrentRevision();
    m_views.hints.clear();
    SViewContext context = Context();
    EXPECT_FALSE(OnRightDown(context).beep);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), revision + 1);
    EXPECT_NE(m_dcmt.FindElement(panel)->turnVariant, variant);
    EXPECT_EQ(m_views.hints, std::vector<ViewHint>{ViewHint::Change});
    EXPECT_GT(m_state.tool.turnCount, 0);
}

} // namespace
