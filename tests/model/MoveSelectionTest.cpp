// Editing the selection: plain, adapting and copying moves with their couplings, deleting with
// and without couplings selected, turning, each one undo step with the views told; nothing
// selected opens no revision; floating elements are finished by undo and redo.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "support/Orientation.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

constexpr uint32_t PlusX = 1, MinusX = 2;

class CHints : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

// The alive element of the kind at the point (within 1 mm): after an undo the records held
// carry the undone states, and the alive states are their history copies.
CElmnt* AliveAt(TestDesign& d, ElmntKind kind, CVector3 point) {
    for (CElmnt* e : d.AliveOfKind(kind)) {
        if (CVector3::DistSq(e->placement.translation, point) < 1.0) {
            return e;
        }
    }
    return nullptr;
}

int CountArticles(const CZarnelDcmt& dcmt) {
    int total = 0;
    for (const SPartEntry& entry : dcmt.GetPartsTable()) {
        total += entry.count;
    }
    return total;
}

// start (0) --first-- middle (400) --second-- end (800), all fixed, on the floor.
class TwoTubes : public ::testing::Test {
protected:
    void SetUp() override {
        first = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
        middle = d.CouplingAt({400, 0, 0});
        second = d.Place(*middle, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
        end = d.CouplingAt({800, 0, 0});
        ASSERT_TRUE(first && middle && second && end);
        d.dcmt.AddObserver(hints);
        d.dcmt.UpdatePartsList();
        d.dcmt.SetModified(false);
        revision = d.Current();
    }
    void TearDown() override { d.dcmt.RemoveObserver(hints); }

    bool Move(double dz, bool adapt, bool copy) {
        return d.dcmt.MoveSelection(0.0, 0.0, dz, TestDesign::CouplingMaterial, d.snapRadiusSq,
                                    adapt, copy);
    }
    void ExpectOneStep(ViewHint hint) {
        EXPECT_EQ(d.Current(), revision + 1);
        EXPECT_TRUE(d.dcmt.IsModified());
        EXPECT_EQ(hints.hints, std::vector<ViewHint>{hint});
    }
    // Undo brings back the two tubes as they were placed.
    void ExpectUndoneToTheStart() {
        d.Undo();
        EXPECT_EQ(d.Current(), revision);
        EXPECT_EQ(d.Alive().size(), 6u);
        EXPECT_NE(AliveAt(d, ElmntKind::Tube, {0, 0, 0}), nullptr);
        EXPECT_NE(AliveAt(d, ElmntKind::Tube, {400, 0, 0}), nullptr);
        const uint32_t arms[] = {PlusX, PlusX | MinusX, MinusX};
        for (int i = 0; i < 3; ++i) {
            const CElmnt* coupling = d.CouplingAt({400.0 * i, 0, 0});
            ASSERT_NE(coupling, nullptr);
            EXPECT_EQ(coupling->GetOccupiedArms(), arms[i]);
        }
    }

    TestDesign d;
    CHints hints;
    CElmnt* first = nullptr;
    CElmnt* middle = nullptr;
    CElmnt* second = nullptr;
    CElmnt* end = nullptr;
    Revision revision = 0;
};

} // namespace

TEST_F(TwoTubes, NothingSelectedOpensNoRevision) {
    EXPECT_FALSE(Move(200.0, false, false));
    EXPECT_FALSE(Move(200.0, true, false));
    EXPECT_FALSE(Move(200.0, true, true));
    EXPECT_FALSE(d.dcmt.TurnSelection(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_FALSE(d.dcmt.DeleteSelection(TestDesign::CouplingMaterial));
    EXPECT_EQ(d.Current(), revision);
    EXPECT_FALSE(d.dcmt.IsModified());
    EXPECT_TRUE(hints.hints.empty());
}

TEST_F(TwoTubes, PlainMoveCarriesTubeAndCouplingsAsOneBlock) {
    first->Select();
    d.start->Select();
    middle->Select();
    EXPECT_TRUE(Move(200.0, false, false));
    ExpectOneStep(ViewHint::Change);
    EXPECT_EQ(first->placement.translation, CVector3(0, 0, 200));
    EXPECT_EQ(d.start->placement.translation, CVector3(0, 0, 200));
    EXPECT_EQ(middle->placement.translation, CVector3(400, 0, 200));
    EXPECT_EQ(second->placement.translation, CVector3(400, 0, 0)) << "not selected";
    // Arms are not touched, and the selection stays.
    EXPECT_EQ(d.start->GetOccupiedArms(), PlusX);
    EXPECT_EQ(middle->GetOccupiedArms(), PlusX | MinusX);
    EXPECT_TRUE(first->selected);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 3u);
    ExpectUndoneToTheStart();
}

TEST_F(TwoTubes, AdaptingMoveRelinksTheTubeAlone) {
    first->Select();
    middle->Select(); // couplings stay where they are in an adapting move
    const int articles = CountArticles(d.dcmt);
    EXPECT_TRUE(Move(200.0, true, false));
    ExpectOneStep(ViewHint::Change);
    EXPECT_EQ(first->placement.translation, CVector3(0, 0, 200));
    EXPECT_EQ(middle->placement.translation, CVector3(400, 0, 0));
    // The start coupling held nothing else and ends; the middle one keeps the second tube.
    EXPECT_FALSE(d.start->IsAliveAt(d.Current()));
    EXPECT_EQ(middle->GetOccupiedArms(), PlusX);
    // New couplings at the new place hold the tube.
    ASSERT_NE(d.CouplingAt({0, 0, 200}), nullptr);
    EXPECT_EQ(d.CouplingAt({0, 0, 200})->GetOccupiedArms(), PlusX);
    EXPECT_EQ(d.CouplingAt({400, 0, 200})->GetOccupiedArms(), MinusX);
    EXPECT_EQ(CountArticles(d.dcmt), articles - 1) << "recounted: the middle coupling has one arm";
    ExpectUndoneToTheStart();
    EXPECT_EQ(CountArticles(d.dcmt), articles);
}

TEST_F(TwoTubes, CopyingMoveLeavesALinkedCopyAndLinksTheMovedTubeOnDeselecting) {
    first->Select();
    EXPECT_TRUE(Move(200.0, true, true));
    ExpectOneStep(ViewHint::Change);
    EXPECT_EQ(first->placement.translation, CVector3(0, 0, 200));
    EXPECT_TRUE(first->selected);
    EXPECT_TRUE(first->floating);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Tube).size(), 3u);
    EXPECT_EQ(d.start->GetOccupiedArms(), PlusX) << "the copy holds the old arms";
    EXPECT_EQ(d.CouplingAt({0, 0, 200}), nullptr) << "not linked while floating";

    EXPECT_TRUE(d.dcmt.ClearSelection(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_FALSE(first->floating);
    ASSERT_NE(d.CouplingAt({0, 0, 200}), nullptr);
    EXPECT_NE(d.CouplingAt({400, 0, 200}), nullptr);
    ExpectUndoneToTheStart();
}

TEST_F(TwoTubes, DeletingWithCouplingsSelectedEndsOnlyWhatLostAllArms) {
    second->Select();
    middle->Select();
    end->Select();
    const int articles = CountArticles(d.dcmt);
    EXPECT_TRUE(d.dcmt.DeleteSelection(TestDesign::CouplingMaterial));
    ExpectOneStep(ViewHint::Deletion);
    EXPECT_FALSE(second->IsAliveAt(d.Current()));
    EXPECT_FALSE(end->IsAliveAt(d.Current())) << "its only arm went with the tube";
    ASSERT_TRUE(middle->IsAliveAt(d.Current())) << "still holds the first tube";
    EXPECT_EQ(middle->GetOccupiedArms(), MinusX);
    EXPECT_EQ(CountArticles(d.dcmt), articles - 2);
    ExpectUndoneToTheStart();
    EXPECT_EQ(CountArticles(d.dcmt), articles);
}

TEST_F(TwoTubes, DeletingATubeAloneFreesItsArms) {
    first->Select();
    EXPECT_TRUE(d.dcmt.DeleteSelection(TestDesign::CouplingMaterial));
    ExpectOneStep(ViewHint::Deletion);
    EXPECT_FALSE(first->IsAliveAt(d.Current()));
    EXPECT_FALSE(d.start->IsAliveAt(d.Current()));
    EXPECT_EQ(middle->GetOccupiedArms(), PlusX);
    ExpectUndoneToTheStart();
}

TEST(MoveSelectionTest, TurningTurnsEverySelectedElementOnceInOneRevision) {
    TestDesign d;
    auto panel = [&](double x) {
        return std::make_unique<CElmnt>(d.ids, 0, ElmntKind::Panel, 2,
                                        CTransform(CMatrix3(), {x, 1000, 0}), true, 350.0f, 350.0f);
    };
    CElmnt& a = d.Add(panel(0));
    CElmnt& b = d.Add(panel(2000));
    CElmnt* tube = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    for (CElmnt* e : {&a, &b, tube}) {
        e->Select();
    }
    const Revision r = d.Current();
    const std::size_t size = d.list.Size();
    const CMatrix3 before = a.placement.rotation;
    EXPECT_TRUE(d.dcmt.TurnSelection(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_EQ(d.Current(), r + 1);
    EXPECT_EQ(a.turnVariant & 15, 1);
    EXPECT_EQ(b.turnVariant & 15, 1);
    EXPECT_NE(a.placement.rotation, before);
    EXPECT_LT(tube->firstRevision, d.Current()) << "a tube does not turn and is not copied";
    EXPECT_EQ(d.list.Size(), size + 2) << "one history state per turned panel";
    EXPECT_EQ(TestUi().Beeps(), 0);
    d.Undo();
    EXPECT_EQ(AliveAt(d, ElmntKind::Panel, {0, 1000, 0})->placement.rotation, before);
}

TEST_F(TwoTubes, UndoLinksAPastedTubeBeforeGoingBack) {
    // Pasted at the free end, floating and selected, not linked.
    const Revision pasted = d.NewRevision();
    auto tube = std::make_unique<CElmnt>(d.ids, pasted, ElmntKind::Tube, 2,
                                         CTransform(CMatrix3(), {800, 0, 0}), true, 350.0f, 0.0f);
    tube->selected = true;
    tube->floating = true;
    CElmnt& third = d.list.Append(std::move(tube));
    const int articles = CountArticles(d.dcmt);

    d.Undo();
    EXPECT_FALSE(third.floating);
    EXPECT_FALSE(third.selected);
    EXPECT_EQ(d.Current(), revision);
    d.Redo();
    EXPECT_TRUE(third.IsAliveAt(d.Current()));
    EXPECT_EQ(d.CouplingAt({800, 0, 0})->GetOccupiedArms(), PlusX | MinusX);
    EXPECT_NE(d.CouplingAt({1200, 0, 0}), nullptr);
    EXPECT_EQ(CountArticles(d.dcmt), articles + 2) << "the tube and the coupling it completes";
}

TEST(MoveSelectionTest, UndoKeepsTheStateLeftBehindByATubeMovedWhileFloating) {
    TestDesign d;
    const Revision pasted = d.NewRevision();
    auto tube = std::make_unique<CElmnt>(d.ids, pasted, ElmntKind::Tube, 2,
                                         CTransform(CMatrix3(), {2000, 0, 0}), true, 350.0f, 0.0f);
    tube->selected = true;
    tube->floating = true;
    CElmnt& moved = d.list.Append(std::move(tube));
    d.dcmt.MoveSelection(0, 0, 400, TestDesign::CouplingMaterial, d.snapRadiusSq, false, false);
    ASSERT_TRUE(moved.floating);

    // Undo links the tube where it is before going back; the state it left behind stops
    // floating as it was seen, so that a save writes it, and nothing is linked into it.
    d.Undo();
    EXPECT_EQ(d.Current(), pasted);
    for (const CElmnt& e : d.list) {
        EXPECT_FALSE(e.floating);
    }
    const CElmnt* old = AliveAt(d, ElmntKind::Tube, {2000, 0, 0});
    ASSERT_NE(old, nullptr);
    EXPECT_FALSE(old->selected);
    EXPECT_EQ(d.CouplingAt({2000, 0, 0}), nullptr);

    d.Redo();
    EXPECT_FALSE(moved.selected);
    EXPECT_NE(d.CouplingAt({2000, 0, 400}), nullptr);
    EXPECT_NE(d.CouplingAt({2400, 0, 400}), nullptr);
}

TEST(MoveSelectionTest, FinishingFloatingElementsBeforeASaveMarksTheDocument) {
    TestDesign d;
    const Revision r = d.NewRevision();
    auto tube = std::make_unique<CElmnt>(d.ids, r, ElmntKind::Tube, 2,
                                         CTransform(CMatrix3(), {2000, 0, 0}), true, 350.0f, 0.0f);
    tube->floating = true; // left unselected: deselecting would never reach it
    CElmnt& pasted = d.list.Append(std::move(tube));
    d.dcmt.SetModified(false);
    EXPECT_FALSE(d.dcmt.ClearSelection(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_TRUE(pasted.floating);

    EXPECT_TRUE(d.dcmt.FinishFloating(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_FALSE(pasted.floating);
    EXPECT_TRUE(d.dcmt.IsModified());
    EXPECT_NE(d.CouplingAt({2000, 0, 0}), nullptr);
    EXPECT_EQ(d.Current(), r);
    EXPECT_FALSE(d.dcmt.FinishFloating(TestDesign::CouplingMaterial, d.snapRadiusSq));
}
