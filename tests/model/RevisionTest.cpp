// Revisions of a design: opening them, cutting the redo branch, splitting states for the
// history, undo and redo, deleting the history, and revisions that are dropped again because
// nothing changed in them.
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"

namespace {

class CHintRecorder : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

constexpr int32_t kCouplingMaterial = 1;
constexpr double kSnapRadiusSq = 40.0 * 40.0;

class RevisionTest : public ::testing::Test {
protected:
    RevisionTest() { m_dcmt.AddObserver(m_view); }
    ~RevisionTest() override { m_dcmt.RemoveObserver(m_view); }

    // Placing a tube as the 3D view does: a new revision, the element appended in it.
    CElmnt& PlaceTube(float length) {
        const Revision r = m_dcmt.NewRevision();
        return m_dcmt.AddElement(
            std::make_unique<CElmnt>(m_dcmt.GetIdSource(), r, ElmntKind::Tube, 2, length, 0.0f));
    }

    std::vector<ElmntId> AliveIds() const {
        std::vector<ElmntId> ids;
        for (const CElmnt& e : m_dcmt.GetAliveElements()) {
            ids.push_back(e.GetId());
        }
        return ids;
    }

    std::vector<const CElmnt*> Order() const {
        std::vector<const CElmnt*> order;
        for (const CElmnt& e : m_dcmt.GetElmntList()) {
            order.push_back(&e);
        }
        return order;
    }

    std::size_t Size() const { return m_dcmt.GetElmntList().Size(); }

    CZarnelDcmt m_dcmt;
    CHintRecorder m_view;
};

} // namespace

TEST_F(RevisionTest, PlaceUndoAndPlaceAgainCutsTheFirstPlacingAway) {
    CElmnt& first = PlaceTube(350.0f);
    const ElmntId firstId = first.GetId();
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 1u);
    EXPECT_TRUE(m_dcmt.CanUndo());
    EXPECT_FALSE(m_dcmt.CanRedo());
    EXPECT_TRUE(m_dcmt.IsModified());

    m_dcmt.SetModified(false);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 0u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 1u);
    EXPECT_TRUE(m_dcmt.IsModified());
    EXPECT_EQ(m_view.hints, (std::vector<ViewHint>{ViewHint::UndoRedo}));
    EXPECT_EQ(m_dcmt.FindElement(firstId), nullptr);
    EXPECT_EQ(m_dcmt.FindState(firstId), &first);
    EXPECT_EQ(AliveIds().size(), 2u);
    EXPECT_FALSE(m_dcmt.CanUndo());
    EXPECT_TRUE(m_dcmt.CanRedo());
    EXPECT_EQ(Size(), 3u);

    CElmnt& second = PlaceTube(500.0f);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 1u);
    EXPECT_EQ(m_dcmt.FindState(firstId), nullptr);
    EXPECT_EQ(Size(), 3u);
    EXPECT_EQ(m_dcmt.GetElmntList().GetTail(), &second);
    EXPECT_FALSE(m_dcmt.CanRedo());
}

TEST_F(RevisionTest, UndoAndRedoStopAtTheEndsOfTheHistory) {
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_TRUE(m_view.hints.empty());
    EXPECT_FALSE(m_dcmt.IsModified());

    CElmnt& tube = PlaceTube(350.0f);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 0u);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    EXPECT_TRUE(m_dcmt.IsAlive(tube));
    EXPECT_EQ(m_view.hints.size(), 2u);
}

TEST_F(RevisionTest, TwoChangesInOneRevisionKeepOneCopyOfTheStateBefore) {
    CElmnt& tube = PlaceTube(350.0f);
    const ElmntId id = tube.GetId();
    const std::size_t before = Size();

    const Revision r = m_dcmt.NewRevision();
    tube.BeginChange(r, m_dcmt.GetElmntList(), kCouplingMaterial);
    tube.Translate(100.0, 0.0, 0.0);
    tube.BeginChange(r, m_dcmt.GetElmntList(), kCouplingMaterial);
    tube.length = 700.0f;

    ASSERT_EQ(Size(), before + 1);
    const CElmnt& copy = *m_dcmt.GetElmntList().GetTail();
    EXPECT_EQ(copy.length, 350.0f);
    EXPECT_EQ(copy.placement.translation.x, 0.0);
    EXPECT_EQ(copy.firstRevision, 1u);
    EXPECT_EQ(copy.endRevision, r);
    EXPECT_NE(copy.GetId(), id);
    // The record itself carries the newest state, in its place, under its identity.
    EXPECT_EQ(tube.GetId(), id);
    EXPECT_EQ(tube.firstRevision, r);
    EXPECT_EQ(tube.endRevision, RevisionOpen);
    EXPECT_EQ(m_dcmt.GetElmntList().GetAt(2), &tube);

    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.FindElement(id), nullptr);
    EXPECT_EQ(m_dcmt.FindElement(copy.GetId()), &copy);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.FindElement(id), &tube);
    EXPECT_EQ(m_dcmt.FindElement(copy.GetId()), nullptr);
}

TEST_F(RevisionTest, TheHistoryCopyIsDeselectedAndTheElementStaysSelected) {
    CElmnt& tube = PlaceTube(350.0f);
    tube.Select();
    tube.MarkFloating();
    const Revision r = m_dcmt.NewRevision();
    tube.BeginChange(r, m_dcmt.GetElmntList(), kCouplingMaterial);
    const CElmnt& copy = *m_dcmt.GetElmntList().GetTail();
    EXPECT_FALSE(copy.selected);
    EXPECT_TRUE(tube.selected);
    EXPECT_TRUE(tube.floating);
}

TEST_F(RevisionTest, AChangeNeverRevivesAStateThatHadEnded) {
    CElmnt& tube = PlaceTube(350.0f);
    tube.endRevision = 2; // deleted in revision 2
    m_dcmt.NewRevision();
    const Revision r = m_dcmt.NewRevision();
    tube.BeginChange(r, m_dcmt.GetElmntList(), kCouplingMaterial);
    const CElmnt& copy = *m_dcmt.GetElmntList().GetTail();
    EXPECT_EQ(copy.endRevision, 2u);
    for (Revision at = 0; at <= r; ++at) {
        EXPECT_EQ(copy.IsAliveAt(at) || tube.IsAliveAt(at), at == 1) << at;
    }
}

TEST_F(RevisionTest, ACutRevivesStatesThatEndedInTheDiscardedBranch) {
    CElmnt& tube = PlaceTube(350.0f);
    const Revision deletion = m_dcmt.NewRevision();
    tube.endRevision = deletion;
    EXPECT_FALSE(m_dcmt.IsAlive(tube));
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_TRUE(m_dcmt.IsAlive(tube));
    const std::size_t before = Size();

    const Revision r = m_dcmt.NewRevision();
    EXPECT_EQ(r, deletion);
    EXPECT_EQ(tube.endRevision, RevisionOpen);
    EXPECT_TRUE(m_dcmt.IsAlive(tube));
    EXPECT_EQ(Size(), before);
}

TEST_F(RevisionTest, CutHistoryOnAListOfItsOwn) {
    CElmntIdSource ids;
    CElmntList list;
    auto add = [&](Revision first, Revision end) -> CElmnt& {
        CElmnt& e =
            list.Append(std::make_unique<CElmnt>(ids, first, ElmntKind::Connector, 1, 0.0f, 0.0f));
        e.endRevision = end;
        return e;
    };
    CElmnt& old = add(0, 2);
    CElmnt& alive = add(1, 4);
    add(3, RevisionOpen);
    CElmnt& atCut = add(2, RevisionOpen);
    CZarnelDcmt::CutHistory(2, list);
    std::vector<const CElmnt*> order;
    for (const CElmnt& e : list) {
        order.push_back(&e);
    }
    EXPECT_EQ(order, (std::vector<const CElmnt*>{&old, &alive, &atCut}));
    EXPECT_EQ(old.endRevision, 2u);
    EXPECT_EQ(alive.endRevision, RevisionOpen);
}

TEST_F(RevisionTest, ACopyLeftByACopyingMoveIsAliveInBothRevisions) {
    CElmnt& tube = PlaceTube(350.0f);
    tube.Select();
    const Revision r = m_dcmt.NewRevision();
    tube.LeaveCopy(r, m_dcmt.GetElmntList(), kCouplingMaterial, kSnapRadiusSq);
    tube.Translate(0.0, 0.0, 400.0);
    tube.MarkFloating();

    const CElmnt& copy = *m_dcmt.GetElmntList().GetTail();
    EXPECT_NE(&copy, &tube);
    EXPECT_EQ(copy.firstRevision, 1u);
    EXPECT_EQ(copy.endRevision, RevisionOpen);
    EXPECT_TRUE(copy.IsAliveAt(r - 1));
    EXPECT_TRUE(copy.IsAliveAt(r));
    EXPECT_FALSE(copy.selected);
    EXPECT_EQ(copy.placement.translation.z, 0.0);
    EXPECT_EQ(tube.firstRevision, r);
    EXPECT_FALSE(tube.IsAliveAt(r - 1));
    EXPECT_TRUE(tube.selected);
    EXPECT_EQ(AliveIds().size(), 4u);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(AliveIds().size(), 3u);
}

TEST_F(RevisionTest, ACopyLeftBehindAFloatingElementIsNoLongerFloating) {
    CElmnt& tube = PlaceTube(350.0f);
    tube.Select();
    tube.MarkFloating();
    const Revision r = m_dcmt.NewRevision();
    tube.LeaveCopy(r, m_dcmt.GetElmntList(), kCouplingMaterial, kSnapRadiusSq);
    const CElmnt& copy = *m_dcmt.GetElmntList().GetTail();
    EXPECT_FALSE(copy.floating);
    EXPECT_FALSE(copy.selected);
    EXPECT_TRUE(tube.floating);
}

TEST_F(RevisionTest, DeleteThenUndoShowsTheElementAgainWithoutACopy) {
    CElmnt& tube = PlaceTube(350.0f);
    const std::size_t before = Size();
    const Revision r = m_dcmt.NewRevision();
    tube.endRevision = r;
    EXPECT_EQ(m_dcmt.FindElement(tube.GetId()), nullptr);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.FindElement(tube.GetId()), &tube);
    EXPECT_EQ(Size(), before);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(m_dcmt.FindElement(tube.GetId()), nullptr);
}

TEST_F(RevisionTest, SelectionFlagsSurviveUndoAndRedo) {
    CElmnt& a = PlaceTube(350.0f);
    CElmnt& b = PlaceTube(500.0f);
    a.Select();
    b.Select();
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_TRUE(a.selected);
    EXPECT_TRUE(b.selected); // not alive now, still flagged
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_TRUE(a.selected);
    EXPECT_TRUE(b.selected);
}

TEST_F(RevisionTest, DeletingTheHistoryKeepsTheDrawingAndOpensEveryState) {
    CElmnt& a = PlaceTube(350.0f);
    CElmnt& b = PlaceTube(500.0f);
    const ElmntId deletedId = b.GetId();
    Revision r = m_dcmt.NewRevision();
    a.BeginChange(r, m_dcmt.GetElmntList(), kCouplingMaterial);
    a.length = 1000.0f;
    r = m_dcmt.NewRevision();
    b.endRevision = r;
    PlaceTube(200.0f);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq); // the history has a redo branch as well
    a.Select();

    std::vector<ElmntId> drawing = AliveIds();
    m_dcmt.SetModified(false);
    m_view.hints.clear();
    m_dcmt.OnDeleteHistory();

    EXPECT_EQ(AliveIds(), drawing);
    EXPECT_EQ(Size(), drawing.size());
    for (const CElmnt& e : m_dcmt.GetElmntList()) {
        EXPECT_EQ(e.firstRevision, 0u);
        EXPECT_EQ(e.endRevision, RevisionOpen);
    }
    EXPECT_EQ(a.length, 1000.0f);
    EXPECT_TRUE(a.selected);
    EXPECT_EQ(m_dcmt.FindState(deletedId), nullptr);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 0u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 0u);
    EXPECT_FALSE(m_dcmt.CanUndo());
    EXPECT_FALSE(m_dcmt.CanRedo());
    EXPECT_FALSE(m_dcmt.IsModified());
    EXPECT_EQ(m_view.hints, (std::vector<ViewHint>{ViewHint::Everything}));
}

TEST_F(RevisionTest, RevisionsAreNeverUsedUp) {
    CElmnt& tube = PlaceTube(350.0f);
    CElmnt& gone = PlaceTube(500.0f);
    gone.endRevision = 3;
    ASSERT_TRUE(m_dcmt.SetRevisions(MaxRevision, MaxRevision));
    const std::vector<ElmntId> drawing = AliveIds();
    const Revision r = m_dcmt.NewRevision();
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(AliveIds(), drawing);
    EXPECT_EQ(tube.firstRevision, 0u);
    EXPECT_TRUE(m_dcmt.IsAlive(tube));

    EXPECT_FALSE(m_dcmt.SetRevisions(2, 1));
    EXPECT_FALSE(m_dcmt.SetRevisions(0, RevisionOpen));
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
}

TEST_F(RevisionTest, AScopeThatChangesNothingKeepsTheRedoBranch) {
    CElmnt& a = PlaceTube(350.0f);
    CElmnt& b = PlaceTube(500.0f);
    Revision r = m_dcmt.NewRevision();
    a.endRevision = r;
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    m_dcmt.SetModified(false);
    const std::vector<const CElmnt*> order = Order();
    const std::vector<ElmntId> drawing = AliveIds();

    {
        CRevisionScope scope(m_dcmt);
        EXPECT_EQ(scope.GetRevision(), 2u);
        // Meanwhile the branch is gone: nothing alive at the new revision but what is drawn.
        EXPECT_EQ(m_dcmt.GetNewestRevision(), 2u);
        EXPECT_EQ(AliveIds(), drawing);
        EXPECT_FALSE(scope.Close());
        EXPECT_FALSE(scope.Close());
    }
    EXPECT_EQ(Order(), order);
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 3u);
    EXPECT_EQ(a.endRevision, 3u);
    EXPECT_EQ(b.firstRevision, 2u);
    EXPECT_EQ(m_dcmt.FindState(b.GetId()), &b);
    EXPECT_FALSE(m_dcmt.IsModified());
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_FALSE(m_dcmt.IsAlive(a));
    EXPECT_TRUE(m_dcmt.IsAlive(b));
}

TEST_F(RevisionTest, AScopeIsKeptWhenAStateBeginsOrEndsInIt) {
    CElmnt& a = PlaceTube(350.0f);
    PlaceTube(500.0f);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    m_dcmt.SetModified(false);
    {
        CRevisionScope scope(m_dcmt);
        a.endRevision = scope.GetRevision(); // deleted
        EXPECT_TRUE(scope.Close());
    }
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 2u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 2u);
    EXPECT_EQ(Size(), 3u); // the tube of the redo branch is cut away
    EXPECT_TRUE(m_dcmt.IsModified());

    {
        CRevisionScope scope(m_dcmt);
        // Settles the scope: the redo branch stays for nothing.
        m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
        EXPECT_FALSE(scope.Close());
    }
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 1u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 2u);
    {
        CRevisionScope scope(m_dcmt);
        scope.Close();
        CRevisionScope next(m_dcmt);
        a.BeginChange(next.GetRevision(), m_dcmt.GetElmntList(), kCouplingMaterial);
        a.length = 1.0f;
    }
    EXPECT_EQ(m_dcmt.GetCurrentRevision(), 2u);
    EXPECT_EQ(a.firstRevision, 2u);
}

TEST_F(RevisionTest, OpeningARevisionSettlesAScopeLeftOpen) {
    PlaceTube(350.0f);
    m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    CRevisionScope scope(m_dcmt);
    const Revision r = m_dcmt.NewRevision(); // the scope changed nothing: its revision is dropped
    EXPECT_FALSE(scope.Close());
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 1u);
}

TEST_F(RevisionTest, AScopeKeepsWhatItAppended) {
    CRevisionScope scope(m_dcmt);
    CElmnt& placed = m_dcmt.AddElement(std::make_unique<CElmnt>(
        m_dcmt.GetIdSource(), scope.GetRevision(), ElmntKind::Tube, 2, 350.0f, 0.0f));
    EXPECT_TRUE(scope.Close());
    EXPECT_TRUE(m_dcmt.IsAlive(placed));
    EXPECT_TRUE(m_dcmt.CanUndo());
}
