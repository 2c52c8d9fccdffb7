// The least-squares position adjustment: tubes and panels between fixed couplings take the
// corrections that close the gaps, unfixed couplings move, a closed frame comes out meeting its
// couplings, fixed and unconnected elements stay, the full adjustment is one undo step, and a
// solver that does not converge leaves the design as it was.
#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/AdjustPositions.h"
#include "support/Matrix3.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// Rotations whose local X runs along +X, +Z, -X and -Z (local Y up).
const CMatrix3 AlongPlusX;
const CMatrix3 AlongPlusZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});
const CMatrix3 AlongMinusX = CMatrix3::FromColumns({-1, 0, 0}, {0, 1, 0}, {0, 0, -1});
const CMatrix3 AlongMinusZ = CMatrix3::FromColumns({0, 0, -1}, {0, 1, 0}, {1, 0, 0});

// Appends an element in the current revision without linking it: the adjustment finds couplings
// by position, not by arms.
CElmnt& Put(TestDesign& d, ElmntKind kind, CVector3 at, bool fixed, float length = 0.0f,
            float secondSize = 0.0f, CMatrix3 rotation = {}) {
    auto elmnt = std::make_unique<CElmnt>(d.ids, d.Current(), kind, 2, CTransform(rotation, at),
                                          fixed, length, secondSize);
    elmnt->adjustPending = !fixed;
    return d.list.Append(std::move(elmnt));
}

// The elements alive now, by value, to compare before and after: in the order of their places,
// since undo brings back the earlier records of the elements that changed, which stand in
// another order in the list than the ones that did not.
struct SState {
    CTransform placement;
    float correction;
    float secondCorrection;
};
std::vector<SState> Snapshot(TestDesign& d) {
    std::vector<SState> states;
    for (CElmnt* e : d.Alive()) {
        states.push_back({e->placement, e->correction, e->secondCorrection});
    }
    auto key = [](const SState& s) {
        const CVector3& t = s.placement.translation;
        return std::tuple(t.x, t.y, t.z, s.correction, s.secondCorrection);
    };
    std::sort(states.begin(), states.end(),
              [&key](const SState& a, const SState& b) { return key(a) < key(b); });
    return states;
}
void ExpectSame(const std::vector<SState>& a, const std::vector<SState>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i].placement, b[i].placement);
        EXPECT_EQ(a[i].correction, b[i].correction);
        EXPECT_EQ(a[i].secondCorrection, b[i].secondCorrection);
    }
}

} // namespace

TEST(AdjustPositionsTest, TubesBetweenFixedCouplingsTakeTheMissingLength) {
    struct SCase {
        ElmntKind kind;
        CVector3 far; // the second coupling; the first sits at the origin
    };
    // 350 mm + 50 mm couplings' share leaves 10 mm to close, along X or along the bend.
    const SCase cases[] = {{ElmntKind::Tube, {410, 0, 0}}, {ElmntKind::RoundTube, {410, 410, 0}}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        TestDesign d;
        d.NewRevision();
        CElmnt& far = Put(d, ElmntKind::Connector, c.far, true);
        CElmnt& tube = Put(d, c.kind, {0, 0, 0}, false, 350.0f);
        EXPECT_TRUE(d.dcmt.AdjustPending(TestDesign::CouplingMaterial, d.snapRadiusSq));
        EXPECT_NEAR(tube.correction, 10.0f, 1e-4);
        EXPECT_EQ(tube.placement.translation, CVector3(0, 0, 0));
        EXPECT_FALSE(tube.adjustPending);
        EXPECT_EQ(far.placement.translation, c.far);
        EXPECT_EQ(d.start->placement.translation, CVector3(0, 0, 0));
    }
}

TEST(AdjustPositionsTest, AnUnfixedCouplingMovesRatherThanTheCorrectionChanges) {
    TestDesign d;
    d.NewRevision();
    CElmnt& far = Put(d, ElmntKind::Connector, {410, 0, 0}, false);
    CElmnt& tube = Put(d, ElmntKind::Tube, {0, 0, 0}, false, 350.0f);
    const std::size_t before = d.list.Size();
    d.dcmt.AdjustPending(TestDesign::CouplingMaterial, d.snapRadiusSq);
    EXPECT_NEAR(far.placement.translation.x, 400.0, 1e-3);
    EXPECT_NEAR(tube.correction, 0.0f, 1e-3);
    EXPECT_FALSE(far.adjustPending);
    // Both were changed in the revision they were made in: no history state is kept.
    EXPECT_EQ(d.list.Size(), before);
}

TEST(AdjustPositionsTest, APanelGrowingAlongYKeepsItsCornerZero) {
    TestDesign d;
    d.NewRevision();
    Put(d, ElmntKind::Connector, {400, 0, 0}, true);
    Put(d, ElmntKind::Connector, {0, 410, 0}, true);
    Put(d, ElmntKind::Connector, {400, 410, 0}, true);
    // 350 x 350 with the couplings' share: corners at 0 and 400 on both axes.
    CElmnt& panel = Put(d, ElmntKind::Panel, {200, 200, 0}, false, 350.0f, 350.0f);
    d.dcmt.AdjustPending(TestDesign::CouplingMaterial, d.snapRadiusSq);
    EXPECT_NEAR(panel.correction, 10.0f, 1e-4);
    EXPECT_NEAR(panel.secondCorrection, 0.0f, 1e-4);
    EXPECT_NEAR(panel.placement.translation.y, 205.0, 1e-4);
    EXPECT_NEAR(CVector3::DistSq(panel.GetCornerFrame(0).translation, {0, 0, 0}), 0.0, 1e-8);
    EXPECT_NEAR(CVector3::DistSq(panel.GetCornerFrame(3).translation, {400, 410, 0}), 0.0, 1e-8);
}

// A square of four unfixed tubes linked to four couplings, the start coupling fixed at one
// corner, with small errors in the tubes' corrections and in the couplings' positions.
class SquareFrame : public ::testing::Test {
protected:
    void SetUp() override {
        CElmnt& t0 = AddTube({0, 0, 0}, AlongPlusX);
        CElmnt& t1 = AddTube({400, 0, 0}, AlongPlusZ);
        CElmnt& t2 = AddTube({400, 0, 400}, AlongMinusX);
        CElmnt& t3 = AddTube({0, 0, 400}, AlongMinusZ);
        tubes = {&t0, &t1, &t2, &t3};
        ASSERT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 4u);
        // The errors, in a revision of their own.
        const Revision r = d.NewRevision();
        const float errors[] = {3.0f, -2.0f, 1.5f, 0.5f};
        for (std::size_t i = 0; i < 4; ++i) {
            tubes[i]->BeginChange(r, d.list, TestDesign::CouplingMaterial);
            tubes[i]->correction = errors[i];
        }
        // A coupling off its place, with the tube that starts at it.
        for (CElmnt* e : {d.CouplingAt({400, 0, 400}), tubes[2]}) {
            e->BeginChange(r, d.list, TestDesign::CouplingMaterial);
            e->Translate(1.0, -0.5, 2.0);
        }
    }

    CElmnt& AddTube(CVector3 at, CMatrix3 rotation) {
        auto tube = std::make_unique<CElmnt>(d.ids, 0, ElmntKind::Tube, 2, CTransform(rotation, at),
                                             false, 350.0f, 0.0f);
        return d.Add(std::move(tube));
    }

    // Largest distance from a tube end to the coupling nearest to it.
    double WorstGap() {
        double worst = 0.0;
        for (CElmnt* tube : tubes) {
            for (int end = 0; end < 2; ++end) {
                const CTransform frame = tube->GetEndFrame(end);
                const CElmnt* coupling =
                    CElmnt::FindNearestCoupling(d.Current(), d.list, frame, d.snapRadiusSq);
                if (coupling == nullptr) {
                    return 1e9;
                }
                worst = std::max(worst, std::sqrt(CVector3::DistSq(frame.translation,
                                                                   coupling->GetConnPoint(0))));
            }
        }
        return worst;
    }

    TestDesign d;
    std::vector<CElmnt*> tubes;
};

TEST_F(SquareFrame, ComesOutMeetingItsCouplingsInOneUndoStep) {
    ASSERT_GT(WorstGap(), 1.0);
    const std::vector<SState> before = Snapshot(d);
    const CTransform start = d.start->placement;
    const Revision r = d.Current();
    d.dcmt.SetModified(false);
    const int busyBefore = TestUi().BusyScopes();

    EXPECT_TRUE(d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_EQ(d.Current(), r + 1);
    EXPECT_TRUE(d.dcmt.IsModified());
    EXPECT_GT(TestUi().BusyScopes(), busyBefore);
    EXPECT_EQ(TestUi().BusyDepth(), 0);
    EXPECT_LT(WorstGap(), 1e-6);
    EXPECT_EQ(d.start->placement, start) << "the fixed coupling stays";
    for (CElmnt* e : d.Alive()) {
        EXPECT_FALSE(e->adjustPending);
    }

    d.Undo();
    ExpectSame(Snapshot(d), before);
    d.Redo();
    EXPECT_LT(WorstGap(), 1e-6);
}

TEST_F(SquareFrame, FixedElementsNeverMove) {
    // Fix one tube and one coupling after linking, with their flags still set: the adjustment
    // starts from them but must leave them alone.
    tubes[1]->fixed = true;
    tubes[1]->adjustPending = true;
    CElmnt* corner = d.CouplingAt({400, 0, 0});
    corner->fixed = true;
    corner->adjustPending = true;
    const CTransform tubePlacement = tubes[1]->placement;
    const float tubeCorrection = tubes[1]->correction;
    const CTransform cornerPlacement = corner->placement;

    d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq);
    EXPECT_EQ(tubes[1]->placement, tubePlacement);
    EXPECT_EQ(tubes[1]->correction, tubeCorrection);
    EXPECT_EQ(corner->placement, cornerPlacement);
    EXPECT_FALSE(tubes[1]->adjustPending);
    EXPECT_FALSE(corner->adjustPending);
    EXPECT_LT(tubes[1]->firstRevision, d.Current()) << "not even copied for the revision";
}

TEST_F(SquareFrame, NonConvergenceWritesNothing) {
    const std::vector<SState> before = Snapshot(d);
    const std::size_t size = d.list.Size();
    EXPECT_EQ(AdjustPositionsFrom(*tubes[0], d.Current(), d.list, TestDesign::CouplingMaterial,
                                  d.snapRadiusSq, 0),
              AdjustOutcome::Failed);
    ExpectSame(Snapshot(d), before);
    EXPECT_EQ(d.list.Size(), size);
    EXPECT_FALSE(tubes[2]->adjustPending) << "the walk still ends every flag it reached";
    // The same system converges with the program's bound.
    EXPECT_TRUE(tubes[0]->AdjustPositions(d.Current(), d.list, TestDesign::CouplingMaterial,
                                          d.snapRadiusSq));
}

TEST(AdjustPositionsTest, UnconnectedElementsDoNotMoveAndOpenNoRevision) {
    TestDesign d;
    d.NewRevision();
    CElmnt& coupling = Put(d, ElmntKind::Connector, {5000, 0, 0}, false);
    CElmnt& tube = Put(d, ElmntKind::Tube, {-5000, 0, 0}, false, 350.0f);
    const CTransform couplingPlacement = coupling.placement;
    const CTransform tubePlacement = tube.placement;
    const Revision r = d.Current();

    EXPECT_FALSE(d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq));
    EXPECT_EQ(d.Current(), r);
    EXPECT_EQ(d.Newest(), r);
    EXPECT_EQ(coupling.placement, couplingPlacement);
    EXPECT_EQ(tube.placement, tubePlacement);
    EXPECT_EQ(tube.correction, 0.0f);
    EXPECT_FALSE(coupling.adjustPending);
    EXPECT_FALSE(tube.adjustPending);
}

TEST(AdjustPositionsTest, TermsOfOneUnknownAreAdded) {
    // Both ends of a short tube reach the same coupling under the wide snap radius.
    TestDesign d;
    d.snapRadiusSq = CouplingSnap::WideSq;
    d.NewRevision();
    CElmnt& coupling = Put(d, ElmntKind::Connector, {1000, 0, 0}, false);
    CElmnt& tube = Put(d, ElmntKind::Tube, {950, 0, 0}, false, 50.0f);
    CFitSystem system;
    system.BuildFitEquations(tube, d.Current(), d.list, d.snapRadiusSq);
    ASSERT_EQ(system.GetVars().size(), 4u);
    ASSERT_EQ(system.GetEqtns().size(), 3u);
    const SFitEqtn& alongX = system.GetEqtns()[0];
    ASSERT_EQ(alongX.terms.size(), 2u);
    EXPECT_EQ(alongX.terms[1].index, system.FindVar(coupling)->index);
    EXPECT_EQ(alongX.terms[1].coefficient, 0.0);
    // 100 mm of tube from a point to itself: the correction closes it.
    CFitVctr x;
    ASSERT_TRUE(system.Solve(x));
    EXPECT_NEAR(x[0], -100.0, 1e-6);
}

// The whole system's least-squares solution of minimal norm, from one decomposition of its dense
// matrix: what solving by independent blocks must give.
std::vector<double> SolveWhole(const CFitSystem& system) {
    const int rows = static_cast<int>(system.GetEqtns().size());
    const int columns = static_cast<int>(system.GetVars().size());
    CFitMtrx a(rows, columns);
    CFitVctr b(rows);
    for (int row = 0; row < rows; ++row) {
        for (const SFitEqtn::STerm& term : system.GetEqtns()[static_cast<std::size_t>(row)].terms) {
            a[row][term.index] += term.coefficient;
        }
        b[row] = system.GetEqtns()[static_cast<std::size_t>(row)].rhs;
    }
    CFitVctr w;
    CFitMtrx v;
    EXPECT_EQ(SolveSvd(a, w, v), SvdStatus::Converged);
    const double cut = w.Max() * FitSingularCut;
    for (int j = 0; j < w.Count(); ++j) {
        w[j] = w[j] < cut ? 0.0 : w[j];
    }
    CFitVctr x;
    EXPECT_TRUE(SvdBackSubst(a, w, v, b, x));
    std::vector<double> result;
    for (int j = 0; j < x.Count(); ++j) {
        result.push_back(x[j]);
    }
    return result;
}

TEST(AdjustPositionsTest, SolvingByBlocksGivesTheWholeSystemsSolution) {
    // A square frame with errors, lying along the axes (the shifts along x, y and z and the
    // corrections fall into separate blocks) and turned by 30 degrees about y (x and z joined),
    // with an open tube on a corner (an unknown without equations).
    for (const double degrees : {0.0, 30.0}) {
        SCOPED_TRACE(degrees);
        TestDesign d;
        const double c = std::cos(degrees * M_PI / 180.0);
        const double s = std::sin(degrees * M_PI / 180.0);
        const CVector3 alongA{c, 0, -s};
        const CVector3 alongB{s, 0, c};
        const CVector3 up{0, 1, 0};
        auto turned = [&up](CVector3 x) {
            const CVector3 z{x.y * up.z - x.z * up.y, x.z * up.x - x.x * up.z,
                             x.x * up.y - x.y * up.x};
            return CMatrix3::FromColumns(x, up, z);
        };
        const CVector3 p0{0, 0, 0};
        const CVector3 p1 = p0 + 400.0 * alongA;
        const CVector3 p2 = p1 + 400.0 * alongB;
        const CVector3 p3 = p0 + 400.0 * alongB;
        const CVector3 minusA = -1.0 * alongA;
        const CVector3 minusB = -1.0 * alongB;
        std::vector<CElmnt*> tubes;
        for (const auto& [at, dir] : {std::pair{p0, alongA}, std::pair{p1, alongB},
                                      std::pair{p2, minusA}, std::pair{p3, minusB}}) {
            tubes.push_back(&d.Add(std::make_unique<CElmnt>(
                d.ids, 0, ElmntKind::Tube, 2, CTransform(turned(dir), at), false, 350.0f, 0.0f)));
        }
        const Revision r = d.NewRevision();
        const float errors[] = {3.0f, -2.0f, 1.5f, 0.5f};
        for (std::size_t i = 0; i < 4; ++i) {
            tubes[i]->BeginChange(r, d.list, TestDesign::CouplingMaterial);
            tubes[i]->correction = errors[i];
        }
        for (CElmnt* e : {d.CouplingAt(p2), tubes[2]}) {
            e->BeginChange(r, d.list, TestDesign::CouplingMaterial);
            e->Translate(1.0, -0.5, 2.0);
        }
        Put(d, ElmntKind::Tube, p2 + 25.0 * up, false, 200.0f, 0.0f, turned(-1.0 * up));

        CFitSystem system;
        system.BuildFitEquations(*tubes[0], d.Current(), d.list, d.snapRadiusSq);
        ASSERT_GE(system.GetEqtns().size(), 12u);
        const std::vector<double> whole = SolveWhole(system);
        CFitVctr x;
        ASSERT_TRUE(system.Solve(x));
        ASSERT_EQ(x.Count(), static_cast<int>(whole.size()));
        double largest = 0.0;
        for (std::size_t j = 0; j < whole.size(); ++j) {
            largest = std::max(largest, std::fabs(whole[j]));
        }
        EXPECT_GT(largest, 1e-5) << "the couplings move (shifts are divided by 10000)";
        for (std::size_t j = 0; j < whole.size(); ++j) {
            EXPECT_NEAR(x[static_cast<int>(j)], whole[j], 1e-9 * largest) << j;
        }
    }
}

// Random connected designs on a grid of 400 mm, seen along the axes or turned as a whole: walks
// of 350 mm tubes that close loops where they return to a coupling, leave couplings free to
// slide at the ends of branches, panels in some closed squares, some couplings fixed and some
// designs held by none (free to move as a whole), the couplings off their places.
void BuildRandomDesign(TestDesign& d, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> angle(-M_PI, M_PI);
    const bool turned = seed % 2 == 0;
    // An orthonormal turn: about y, then about x.
    const double a = turned ? angle(random) : 0.0;
    const double b = turned ? angle(random) : 0.0;
    const CMatrix3 aboutY = CMatrix3::FromColumns({std::cos(a), 0, -std::sin(a)}, {0, 1, 0},
                                                  {std::sin(a), 0, std::cos(a)});
    const CMatrix3 aboutX = CMatrix3::FromColumns({1, 0, 0}, {0, std::cos(b), std::sin(b)},
                                                  {0, -std::sin(b), std::cos(b)});
    const CMatrix3 whole = CMatrix3::Mul(aboutX, aboutY);
    auto world = [&whole](CVector3 p) { return CMatrix3::MulVec(whole, p); };

    // Held by the fixed start coupling at the origin, or starting away from it.
    const CVector3 origin = seed % 3 == 0 ? CVector3(0, 4000, 0) : CVector3(0, 0, 0);
    std::vector<CVector3> points{origin};
    std::uniform_int_distribution<int> side(0, 5);
    const CVector3 steps[] = {{400, 0, 0},  {-400, 0, 0}, {0, 400, 0},
                              {0, -400, 0}, {0, 0, 400},  {0, 0, -400}};
    std::vector<std::pair<CVector3, CVector3>> edges;
    CVector3 at = origin;
    for (int i = 0; i < 120; ++i) {
        if (random() % 4 == 0) {
            at = points[random() % points.size()]; // a branch
        }
        const CVector3 step = steps[side(random)];
        const CVector3 next = at + step;
        const bool known = std::any_of(edges.begin(), edges.end(), [&](const auto& e) {
            return (CVector3::DistSq(e.first, at) < 1 && CVector3::DistSq(e.second, next) < 1) ||
                   (CVector3::DistSq(e.first, next) < 1 && CVector3::DistSq(e.second, at) < 1);
        });
        if (!known) {
            edges.emplace_back(at, next);
            const CVector3 x = (1.0 / 400.0) * step;
            const CVector3 y = std::fabs(x.y) > 0.5 ? CVector3(1, 0, 0) : CVector3(0, 1, 0);
            const CVector3 z{x.y * y.z - x.z * y.y, x.z * y.x - x.x * y.z, x.x * y.y - x.y * y.x};
            const CMatrix3 rotation = CMatrix3::Mul(whole, CMatrix3::FromColumns(x, y, z));
            d.Add(std::make_unique<CElmnt>(d.ids, 0, ElmntKind::Tube, 2,
                                           CTransform(rotation, world(at)), false, 350.0f, 0.0f));
            points.push_back(next);
        }
        at = next;
    }
    // Panels in some of the squares of the x-y plane closed by couplings.
    const Revision r = d.NewRevision();
    std::vector<CVector3> seen;
    for (const CVector3& p : points) {
        const CVector3 corners[] = {p, p + steps[0], p + steps[2], p + steps[0] + steps[2]};
        const bool again = std::any_of(seen.begin(), seen.end(),
                                       [&p](CVector3 q) { return CVector3::DistSq(p, q) < 1; });
        seen.push_back(p);
        if (!again && random() % 2 == 0 &&
            std::all_of(std::begin(corners), std::end(corners),
                        [&](CVector3 c) { return d.CouplingAt(world(c)) != nullptr; })) {
            Put(d, ElmntKind::Panel, world(p + CVector3(200, 200, 0)), false, 350.0f, 350.0f,
                whole);
        }
    }
    std::uniform_real_distribution<double> error(-3.0, 3.0);
    for (CElmnt* e : d.Alive()) {
        if (e->kind == ElmntKind::Connector && e != d.start) {
            e->BeginChange(r, d.list, TestDesign::CouplingMaterial);
            e->Translate(error(random), error(random), error(random));
            e->fixed = random() % 25 == 0;
        }
    }
}

// Unfixed couplings on a side x side x floors lattice, 400 mm apart and up to 3 mm off their
// places, joined by the tubes of the floors and up to standingMax standing ones: large frames
// closed into many loops.
void BuildLattice(TestDesign& d, int side, int floors, int standingMax) {
    d.NewRevision();
    const CMatrix3 alongY = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    std::mt19937 random(5);
    std::uniform_real_distribution<double> error(-3.0, 3.0);
    auto at = [](int i, int j, int k) {
        return CVector3(5000.0 + 400.0 * i, 400.0 * k, 400.0 * j);
    };
    for (int k = 0; k < floors; ++k) {
        for (int i = 0; i < side; ++i) {
            for (int j = 0; j < side; ++j) {
                Put(d, ElmntKind::Connector, at(i, j, k), false)
                    .Translate(error(random), error(random), error(random));
            }
        }
    }
    int standing = 0;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            for (int k = 0; k < floors; ++k) {
                if (i + 1 < side) {
                    Put(d, ElmntKind::Tube, at(i, j, k), false, 350.0f, 0.0f, AlongPlusX);
                }
                if (j + 1 < side) {
                    Put(d, ElmntKind::Tube, at(i, j, k), false, 350.0f, 0.0f, AlongPlusZ);
                }
                if (k + 1 < floors && standing < standingMax) {
                    Put(d, ElmntKind::Tube, at(i, j, k), false, 350.0f, 0.0f, alongY);
                    ++standing;
                }
            }
        }
    }
}

// A long box girder from the fixed start coupling along x: a square frame of four tubes every
// 400 mm and four tubes along the girder between two frames, the couplings up to 2 mm off.
void BuildGirder(TestDesign& d, int bays) {
    d.NewRevision();
    const CMatrix3 alongY = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    std::mt19937 random(7);
    std::uniform_real_distribution<double> error(-2.0, 2.0);
    for (int bay = 0; bay <= bays; ++bay) {
        const double x = 400.0 * bay;
        for (const CVector3 corner :
             {CVector3(x, 0, 0), CVector3(x, 400, 0), CVector3(x, 0, 400), CVector3(x, 400, 400)}) {
            if (bay > 0 || corner.y != 0.0 || corner.z != 0.0) {
                Put(d, ElmntKind::Connector, corner, false)
                    .Translate(error(random), error(random), error(random));
            }
            if (bay < bays) {
                Put(d, ElmntKind::Tube, corner, false, 350.0f, 0.0f, AlongPlusX);
            }
        }
        Put(d, ElmntKind::Tube, {x, 0, 0}, false, 350.0f, 0.0f, alongY);
        Put(d, ElmntKind::Tube, {x, 0, 400}, false, 350.0f, 0.0f, alongY);
        Put(d, ElmntKind::Tube, {x, 0, 0}, false, 350.0f, 0.0f, AlongPlusZ);
        Put(d, ElmntKind::Tube, {x, 400, 0}, false, 350.0f, 0.0f, AlongPlusZ);
    }
}

// The sparse solver, forced onto every block, gives the dense decomposition's solution (by
// blocks, which is the whole system's) to 1e-6 mm on the designs it is there for, large frames
// closed into many loops among them, and on designs with exact null directions: couplings free
// to slide at the ends of branches, designs held by no fixed coupling.
TEST(AdjustPositionsTest, TheSparseSolverGivesTheDenseSolution) {
    struct SCase {
        const char* name;
        std::function<void(TestDesign&)> build;
        bool settles = false;
    };
    std::vector<SCase> cases{
        {"lattice of 1,000 elements", [](TestDesign& d) { BuildLattice(d, 8, 5, 120); }, true},
        {"lattice of 2,000 elements", [](TestDesign& d) { BuildLattice(d, 10, 6, 320); }, true},
        {"girder of 1,000 elements", [](TestDesign& d) { BuildGirder(d, 83); }},
    };
    for (unsigned seed = 1; seed <= 8; ++seed) {
        cases.push_back({"random design", [seed](TestDesign& d) { BuildRandomDesign(d, seed); }});
    }
    int panels = 0;
    for (std::size_t n = 0; n < cases.size(); ++n) {
        SCOPED_TRACE(testing::Message() << cases[n].name << " (" << n << ")");
        TestDesign d;
        cases[n].build(d);
        CElmnt* from = d.AliveOfKind(ElmntKind::Tube).front();
        CFitSystem system;
        system.BuildFitEquations(*from, d.Current(), d.list, d.snapRadiusSq);
        ASSERT_GT(system.GetVars().size(), 200u);
        CFitVctr dense;
        ASSERT_TRUE(system.Solve(dense, kSvdMaxSweeps, std::numeric_limits<int>::max()));
        CFitVctr x;
        ASSERT_TRUE(system.Solve(x, kSvdMaxSweeps, 0));
        ASSERT_EQ(x.Count(), dense.Count());
        double moved = 0.0;
        for (const SFitVar& var : system.GetVars()) {
            panels += var.kind == FitVarKind::PanelCorrection ? 1 : 0;
            const double unit = var.kind >= FitVarKind::ShiftX ? FitCouplingWeight : 1.0;
            moved = std::max(moved, std::fabs(unit * dense[var.index]));
            EXPECT_NEAR(unit * x[var.index], unit * dense[var.index], 1e-6) << var.index;
        }
        EXPECT_GT(moved, 0.1) << "the design is adjusted";

        // Adjusted once, a frame without free directions meets: adjusting it again moves nothing
        // and keeps no revision, rather than copying every element for the solver's rounding.
        // (Where a coupling may slide along its tube, the next adjustment trades its shift for
        // the tube's correction once more: the corrections are solved as they stand, the shifts
        // from where the couplings stand.)
        if (!cases[n].settles) {
            continue;
        }
        EXPECT_TRUE(d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq));
        const Revision adjusted = d.Current();
        const int records = d.list.Size();
        EXPECT_FALSE(d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq));
        EXPECT_EQ(d.Current(), adjusted);
        EXPECT_EQ(d.list.Size(), records);
    }
    EXPECT_GT(panels, 8);
}
