// Selection and groups: connected groups counted and boxed, the indexed walk against the
// pairwise rule on random designs and along a very long chain, box selection on the alive states
// with points on a face inside, deselecting floating elements linking them, and inverting.
#include <cstdint>
#include <memory>
#include <random>
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

TEST(GroupTest, IndexedWalkAgreesWithThePairwiseRule) {
    // Parts near the points of a 200 mm lattice, off by up to 26 mm in 13 mm steps on each axis,
    // so that many pairs lie just inside or outside 40 mm and around the index's cell borders.
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> cell(0, 4);
    std::uniform_int_distribution<int> off(-2, 2);
    std::uniform_int_distribution<int> span(1, 3);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        TestDesign d;
        const Revision r = d.NewRevision();
        auto near = [&]() {
            return CVector3(200.0 * cell(random) + 13.0 * off(random),
                            200.0 * (cell(random) % 2) + 13.0 * off(random),
                            200.0 * cell(random) + 13.0 * off(random));
        };
        auto lengthNear = [&]() { return float(200 * span(random) - 50 + 13 * off(random)); };
        for (int i = 0; i < 120; ++i) {
            std::unique_ptr<CElmnt> e;
            switch (kind(random)) {
            case 0:
                e = Make(d, ElmntKind::Connector, near());
                break;
            case 1:
                e = Make(d, ElmntKind::Tube, near(), lengthNear());
                break;
            case 2:
                e = Make(d, ElmntKind::Bolt, near(), 50.0f);
                break;
            default: {
                const float length = lengthNear();
                const float width = lengthNear();
                const CVector3 at = near() + CVector3((width + 50.0) / 2, 0, (length + 50.0) / 2);
                e = Make(d, ElmntKind::Panel, at, length, width, FlatPanel);
                break;
            }
            }
            e->firstRevision = r;
            d.list.Append(std::move(e));
        }
        const int groups = d.dcmt.CountGroups();

        // The groups of the pairwise rule, numbered by their first element in the list.
        std::vector<CElmnt*> alive = d.Alive();
        std::vector<int> expected(alive.size(), 0);
        int expectedGroups = 0;
        for (std::size_t i = 0; i < alive.size(); ++i) {
            if (expected[i] != 0 || alive[i]->kind == ElmntKind::FloorGrid) {
                continue;
            }
            expected[i] = ++expectedGroups;
            std::vector<std::size_t> todo{i};
            while (!todo.empty()) {
                const std::size_t a = todo.back();
                todo.pop_back();
                for (std::size_t b = 0; b < alive.size(); ++b) {
                    if (expected[b] == 0 && Connected(*alive[a], *alive[b])) {
                        expected[b] = expectedGroups;
                        todo.push_back(b);
                    }
                }
            }
        }
        EXPECT_EQ(groups, expectedGroups);
        for (std::size_t i = 0; i < alive.size(); ++i) {
            EXPECT_EQ(alive[i]->groupMark, expected[i]);
        }
        // A walk with a new number from any element reaches its group and nothing else.
        CElmnt* from = alive[alive.size() / 2];
        const int group = from->groupMark;
        from->MarkGroup(d.Current(), d.list, 1000);
        for (std::size_t i = 0; i < alive.size(); ++i) {
            EXPECT_EQ(alive[i]->groupMark == 1000, expected[i] == group);
        }
    }
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
