// Selection and groups: connected groups counted and boxed, the indexed walk against the
// pairwise rule on random designs and along a very long chain, box selection on the alive states
// with points on a face inside, deselecting floating elements linking them, and inverting.
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "support/Box3.h"
#include "support/Matrix3.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const CMatrix3 AlongPlusZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});
const CMatrix3 AlongMinusX = CMatrix3::FromColumns({-1, 0, 0}, {0, 1, 0}, {0, 0, -1});
const CMatrix3 AlongMinusZ = CMatrix3::FromColumns({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
// A panel lying flat: local X along world X, local Y along world Z.
const CMatrix3 FlatPanel = CMatrix3::FromColumns({1, 0, 0}, {0, 0, 1}, {0, -1, 0});

std::unique_ptr<CElmnt> Make(TestDesign& d, ElmntKind kind, CVector3 at, float length = 0.0f,
                             float secondSize = 0.0f, CMatrix3 rotation = {}) {
    return std::make_unique<CElmnt>(d.ids, 0, kind, 2, CTransform(rotation, at), true, length,
                                    secondSize);
}

// A square of four 350 mm tubes in the floor plane from the corner, linked to four couplings.
void AddSquare(TestDesign& d, CVector3 corner) {
    d.Add(Make(d, ElmntKind::Tube, corner, 350.0f));
    d.Add(Make(d, ElmntKind::Tube, corner + CVector3(400, 0, 0), 350.0f, 0.0f, AlongPlusZ));
    d.Add(Make(d, ElmntKind::Tube, corner + CVector3(400, 0, 400), 350.0f, 0.0f, AlongMinusX));
    d.Add(Make(d, ElmntKind::Tube, corner + CVector3(0, 0, 400), 350.0f, 0.0f, AlongMinusZ));
}

// A pasted element: selected and floating in a new revision, not linked.
CElmnt& Paste(TestDesign& d, std::unique_ptr<CElmnt> elmnt) {
    elmnt->firstRevision = d.NewRevision();
    elmnt->selected = true;
    elmnt->floating = true;
    return d.list.Append(std::move(elmnt));
}

// The group rule tested pair by pair, with the point counts by kind.
bool Connected(const CElmnt& a, const CElmnt& b) {
    auto conns = [](const CElmnt& e) {
        switch (e.kind) {
        case ElmntKind::Connector:
            return 1;
        case ElmntKind::Bolt:
            return 2;
        default:
            return 0;
        }
    };
    auto corners = [](const CElmnt& e) { return e.kind == ElmntKind::Panel ? 4 : 0; };
    auto endsMeet = [&](const CElmnt& x, const CElmnt& y) {
        for (int i = 0; i < x.GetEndCount(); ++i) {
            for (int j = 0; j < conns(y); ++j) {
                if (CVector3::DistSq(x.GetEndFrame(i).translation, y.GetConnPoint(j)) < 1600.0) {
                    return true;
                }
            }
        }
        return false;
    };
    auto cornersMeet = [&](const CElmnt& x, const CElmnt& y) {
        if (y.kind != ElmntKind::Connector) {
            return false;
        }
        for (int i = 0; i < corners(x); ++i) {
            if (CVector3::DistSq(x.GetCornerFrame(i).translation, y.placement.translation) <
                1600.0) {
                return true;
            }
        }
        return false;
    };
    return endsMeet(a, b) || endsMeet(b, a) || cornersMeet(a, b) || cornersMeet(b, a);
}

} // namespace

TEST(GroupTest, CountsSeparateFramesAndBoxesTheirCouplings) {
    TestDesign d;
    EXPECT_EQ(d.dcmt.CountGroups(), 1) << "the start coupling alone";

    AddSquare(d, {0, 0, 0});
    AddSquare(d, {2000, 0, 0});
    EXPECT_EQ(d.dcmt.CountGroups(), 2) << "the floor grid starts no group";
    EXPECT_EQ(d.start->groupMark, 1);
    EXPECT_EQ(d.grid->groupMark, 0);
    EXPECT_EQ(d.dcmt.GetGroupBox(1), CBox3(0, 0, 400, 0, 400, 0));
    EXPECT_EQ(d.dcmt.GetGroupBox(2), CBox3(0, 0, 2400, 2000, 400, 0));
    CBox3 empty;
    empty.Reset();
    EXPECT_EQ(d.dcmt.GetGroupBox(3), empty);

    // A panel joins a group by its corners at the couplings of the second frame.
    CElmnt& panel = d.Add(Make(d, ElmntKind::Panel, {2200, 0, 200}, 350.0f, 350.0f, FlatPanel));
    EXPECT_EQ(d.dcmt.CountGroups(), 2);
    EXPECT_EQ(panel.groupMark, 2);

    // Undone states are not counted, and their marks are cleared.
    d.Undo();
    d.Undo();
    EXPECT_EQ(d.dcmt.CountGroups(), 2) << "the second frame without its last tube";
    d.Undo();
    d.Undo();
    d.Undo();
    EXPECT_EQ(d.dcmt.CountGroups(), 1);
    for (const CElmnt& e : d.list) {
        EXPECT_EQ(e.groupMark, e.IsAliveAt(d.Current()) && e.kind != ElmntKind::FloorGrid ? 1 : 0);
    }
}

TEST(GroupTest, IndexConnectsExactlyThePairsOfThePairwiseRule) {
    // Isolated pairs far apart, each an end, a bolt's second point or a panel corner in a random
    // direction and at a distance around 40 mm (every fifth exactly 40 or just below, along an
    // axis) from a coupling or a tube end, anywhere relative to the index's cells: a pair that
    // the pairwise rule connects is one group, any other pair two.
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> anywhere(0.0, 500.0);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> distance(34.0, 46.0);
    std::uniform_int_distribution<int> axis(0, 5);
    TestDesign d;
    const Revision r = d.NewRevision();
    std::vector<std::pair<CElmnt*, CElmnt*>> pairs;
    int expected = 1; // the start coupling
    for (int i = 0; i < 800; ++i) {
        const CVector3 base(2000.0 * (i % 30) + anywhere(random), anywhere(random) - 250.0,
                            2000.0 * (i / 30) + anywhere(random));
        CVector3 dir;
        double dist = distance(random);
        if (i % 5 == 0) {
            const int a = axis(random);
            const double sign = a % 2 == 0 ? 1.0 : -1.0;
            dir = a / 2 == 0 ? CVector3(sign, 0, 0)
                             : (a / 2 == 1 ? CVector3(0, sign, 0) : CVector3(0, 0, sign));
            dist = i % 10 == 0 ? 40.0 : 39.999;
        } else {
            do {
                dir = CVector3(unit(random), unit(random), unit(random));
            } while (CVector3::DistSq(dir, {}) > 1.0 || CVector3::DistSq(dir, {}) < 0.01);
            dir = (1.0 / std::sqrt(CVector3::DistSq(dir, {}))) * dir;
        }
        const CVector3 q = base + dist * dir;
        std::unique_ptr<CElmnt> a;
        std::unique_ptr<CElmnt> b;
        switch (i % 4) {
        case 0: // a coupling and the first end of a tube
            a = Make(d, ElmntKind::Connector, base);
            b = Make(d, ElmntKind::Tube, q, 350.0f);
            break;
        case 1: // a coupling and the far end of a tube
            a = Make(d, ElmntKind::Connector, base);
            b = Make(d, ElmntKind::Tube, q - CVector3(400, 0, 0), 350.0f);
            break;
        case 2: // a bolt's second point and the first end of a tube
            a = Make(d, ElmntKind::Bolt, base + CVector3(50, 0, 0), 50.0f);
            b = Make(d, ElmntKind::Tube, q, 350.0f);
            break;
        default: // a coupling and a panel's first corner
            a = Make(d, ElmntKind::Connector, base);
            b = Make(d, ElmntKind::Panel, q + CVector3(200, 0, 150), 250.0f, 350.0f, FlatPanel);
            break;
        }
        a->firstRevision = r;
        b->firstRevision = r;
        expected += Connected(*a, *b) ? 1 : 2;
        pairs.emplace_back(&d.list.Append(std::move(a)), &d.list.Append(std::move(b)));
    }
    EXPECT_EQ(d.dcmt.CountGroups(), expected);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pairs[i].first->groupMark == pairs[i].second->groupMark,
                  Connected(*pairs[i].first, *pairs[i].second));
    }
    // A walk with a new number reaches the pair it starts from only.
    pairs[1].second->MarkGroup(r, d.list, 5000);
    EXPECT_EQ(pairs[1].first->groupMark == 5000, Connected(*pairs[1].first, *pairs[1].second));
    EXPECT_NE(pairs[0].first->groupMark, 5000);
    EXPECT_NE(pairs[2].first->groupMark, 5000);
}

TEST(GroupTest, AVeryLongChainIsWalkedWithoutRecursion) {
    TestDesign d;
    const Revision r = d.NewRevision();
    constexpr int tubes = 100000;
    for (int i = 0; i < tubes; ++i) {
        auto tube = Make(d, ElmntKind::Tube, {400.0 * i, 0, 0}, 350.0f);
        auto coupling = Make(d, ElmntKind::Connector, {400.0 * (i + 1), 0, 0});
        tube->firstRevision = r;
        coupling->firstRevision = r;
        d.list.Append(std::move(tube));
        d.list.Append(std::move(coupling));
    }
    // The walk starts at the far end, so that it runs the whole chain back.
    d.dcmt.ClearMarks();
    d.list.GetTail()->MarkGroup(r, d.list, 7);
    EXPECT_EQ(d.start->groupMark, 7);
    EXPECT_EQ(d.dcmt.CountGroups(), 1);
}

TEST(SelectionTest, BoxSelectsAliveStatesWithPointsOnItsFaces) {
    TestDesign d;
    CElmnt& coupling = d.Add(Make(d, ElmntKind::Connector, {1000, 0, 0}));
    // The tube counts by both ends taken 25 mm inward: 25 and 375 mm along X.
    CElmnt& tube = d.Add(Make(d, ElmntKind::Tube, {2000, 0, 0}, 350.0f));
    CElmnt& undone = d.Add(Make(d, ElmntKind::Connector, {1500, 0, 0}));
    d.Undo();

    const CBox3 box(0.0, 0.0, 2375.0, 1000.0, 0.0, 0.0); // coupling on the min x face
    d.dcmt.SelectInBox(box, SelectionMode::Select, TestDesign::CouplingMaterial, d.snapRadiusSq);
    EXPECT_TRUE(coupling.selected);
    EXPECT_TRUE(tube.selected);
    EXPECT_FALSE(undone.selected) << "a state that is not alive is not selected";
    EXPECT_FALSE(d.start->selected);
    EXPECT_FALSE(d.grid->selected);

    d.dcmt.ClearSelection(TestDesign::CouplingMaterial, d.snapRadiusSq);
    const CBox3 shortOfTheEnd(0.0, 0.0, 2374.99, 1000.0, 0.0, 0.0);
    d.dcmt.SelectInBox(shortOfTheEnd, SelectionMode::Select, TestDesign::CouplingMaterial,
                       d.snapRadiusSq);
    EXPECT_TRUE(coupling.selected);
    EXPECT_FALSE(tube.selected);

    // Inverting twice gives the same selection back.
    const CBox3 all(100.0, -100.0, 5000.0, -5000.0, 100.0, -100.0);
    for (int i = 0; i < 2; ++i) {
        d.dcmt.SelectInBox(all, SelectionMode::Invert, TestDesign::CouplingMaterial,
                           d.snapRadiusSq);
    }
    EXPECT_TRUE(coupling.selected);
    EXPECT_FALSE(tube.selected);
    d.dcmt.SelectInBox(all, SelectionMode::Deselect, TestDesign::CouplingMaterial, d.snapRadiusSq);
    EXPECT_FALSE(coupling.selected);
}

TEST(SelectionTest, DeselectingAPastedTubeLinksIt) {
    TestDesign d;
    // A free arm 30 mm from where the pasted tube's first end lands.
    CElmnt& coupling = d.Add(Make(d, ElmntKind::Connector, {1030, 0, 0}));
    CElmnt& pasted = Paste(d, Make(d, ElmntKind::Tube, {1000, 0, 0}, 350.0f));
    const std::size_t couplings = d.AliveOfKind(ElmntKind::Connector).size();
    d.dcmt.SetModified(false);

    // Selecting again or walking past does not link it.
    d.dcmt.SelectInBox(CBox3(1, -1, 2000, 0, 1, -1), SelectionMode::Select,
                       TestDesign::CouplingMaterial, d.snapRadiusSq);
    EXPECT_TRUE(pasted.floating);
    EXPECT_FALSE(d.dcmt.IsModified());

    EXPECT_TRUE(d.dcmt.ClearSelection(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_FALSE(pasted.floating);
    EXPECT_FALSE(pasted.selected);
    EXPECT_TRUE(d.dcmt.IsModified());
    EXPECT_EQ(coupling.GetOccupiedArms(), 1u) << "its +X arm holds the tube";
    // Nothing near the far end: a coupling is made there.
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), couplings + 1);
    EXPECT_NE(d.CouplingAt({1400, 0, 0}), nullptr);
    // A second deselection links nothing more.
    EXPECT_FALSE(d.dcmt.ClearSelection(TestDesign::CouplingMaterial, d.snapRadiusSq));
}

TEST(SelectionTest, GroupSelectionSelectsTheMarkedGroup) {
    TestDesign d;
    AddSquare(d, {0, 0, 0});
    AddSquare(d, {2000, 0, 0});
    d.dcmt.ClearMarks();
    d.start->MarkGroup(d.Current(), d.list, 1);
    d.dcmt.SelectMarked(SelectionMode::Select, TestDesign::CouplingMaterial, d.snapRadiusSq);
    d.dcmt.ClearMarks();
    int selected = 0;
    for (CElmnt* e : d.Alive()) {
        selected += e->selected ? 1 : 0;
        EXPECT_EQ(e->selected,
                  e->placement.translation.x < 1000.0 && e->kind != ElmntKind::FloorGrid);
    }
    EXPECT_EQ(selected, 8);
}
