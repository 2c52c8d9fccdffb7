// The position adjustment over a whole design: collecting through the indexes of couplings and
// of ends and corners gives exactly the system that walking the list gives, and a pass whose
// system has no solution leaves the design and its history as they were and says so.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/AdjustPositions.h"
#include "support/LangText.h"
#include "support/Matrix3.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// Local X along world +X, +Y and +Z.
const CMatrix3 AlongX;
const CMatrix3 AlongY = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
const CMatrix3 AlongZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});

CElmnt& Put(TestDesign& d, ElmntKind kind, CVector3 at, float length = 0.0f,
            float secondSize = 0.0f, CMatrix3 rotation = {}) {
    auto elmnt = std::make_unique<CElmnt>(d.ids, d.Current(), kind, 2, CTransform(rotation, at),
                                          false, length, secondSize);
    elmnt->adjustPending = true;
    return d.list.Append(std::move(elmnt));
}

// A lattice of side x side x floors couplings 400 mm apart, joined by tubes along all three
// axes, with wall panels in some squares; then a revision that moves couplings off their places
// (leaving their old states in the history), fixes some, ends some tubes and adds a short tube
// whose both ends reach one coupling. Elements are appended in a shuffled order, so that list
// order and place differ.
void BuildLattice(TestDesign& d, int side, int floors, unsigned seed) {
    std::mt19937 random(seed);
    auto at = [](int i, int j, int k) { return CVector3(400.0 * i, 400.0 * k, 400.0 * j); };
    struct SPut {
        ElmntKind kind;
        CVector3 at;
        float length;
        float secondSize;
        CMatrix3 rotation;
    };
    std::vector<SPut> puts;
    d.NewRevision();
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            for (int k = 0; k < floors; ++k) {
                const CVector3 p = at(i, j, k);
                puts.push_back({ElmntKind::Connector, p, 0.0f, 0.0f, {}});
                if (i + 1 < side) {
                    puts.push_back({ElmntKind::Tube, p, 350.0f, 0.0f, AlongX});
                }
                if (j + 1 < side) {
                    puts.push_back({ElmntKind::Tube, p, 350.0f, 0.0f, AlongZ});
                }
                if (k + 1 < floors) {
                    puts.push_back({ElmntKind::Tube, p, 350.0f, 0.0f, AlongY});
                    if (i + 1 < side && random() % 3 == 0) {
                        puts.push_back(
                            {ElmntKind::Panel, p + CVector3(200, 200, 0), 350.0f, 350.0f, {}});
                    }
                }
            }
        }
    }
    std::shuffle(puts.begin(), puts.end(), random);
    for (const SPut& p : puts) {
        Put(d, p.kind, p.at, p.length, p.secondSize, p.rotation);
    }
    const Revision r = d.NewRevision();
    std::uniform_real_distribution<double> error(-3.0, 3.0);
    for (CElmnt* e : d.Alive()) {
        if (e->kind == ElmntKind::Connector && e != d.start) {
            e->BeginChange(r, d.list, TestDesign::CouplingMaterial);
            e->Translate(error(random), error(random), error(random));
            e->fixed = random() % 20 == 0;
        } else if (e->kind == ElmntKind::Tube && random() % 15 == 0) {
            e->endRevision = r;
        }
    }
    Put(d, ElmntKind::Tube, at(1, 1, 0) + CVector3(-25, 0, 0), 0.0f, 0.0f, AlongX);
}

std::string Describe(const CFitSystem& system) {
    std::string text;
    for (const SFitVar& var : system.GetVars()) {
        text += "var " + std::to_string(static_cast<int>(var.kind)) + ' ' +
                std::to_string(var.elmnt->GetId().Value()) + ' ' + std::to_string(var.index) + ' ' +
                std::to_string(var.linkedIndex) + '\n';
    }
    char number[64];
    for (const SFitEqtn& eq : system.GetEqtns()) {
        text += "eq";
        for (const SFitEqtn::STerm& term : eq.terms) {
            std::snprintf(number, sizeof number, " %d:%a", term.index, term.coefficient);
            text += number;
        }
        std::snprintf(number, sizeof number, " = %a\n", eq.rhs);
        text += number;
    }
    return text;
}

} // namespace

TEST(AdjustPositionsPassTest, CollectingThroughTheIndexesGivesTheWalksSystem) {
    struct SCase {
        int side;
        int floors;
        unsigned seed;
        double snapRadiusSq;
    };
    const SCase cases[] = {{5, 3, 1, CouplingSnap::NormalSq}, {4, 4, 2, CouplingSnap::WideSq}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.seed);
        TestDesign d;
        BuildLattice(d, c.side, c.floors, c.seed);
        const std::vector<CElmnt*> alive = d.Alive();
        int compared = 0;
        for (std::size_t i = 0; i < alive.size(); i += 7) {
            SCOPED_TRACE(i);
            CFitSystem walked(FitNeighbourSearch::WalkList);
            walked.BuildFitEquations(*alive[i], d.Current(), d.list, c.snapRadiusSq);
            CFitSystem indexed;
            indexed.BuildFitEquations(*alive[i], d.Current(), d.list, c.snapRadiusSq);
            EXPECT_EQ(Describe(indexed), Describe(walked));
            compared += indexed.GetEqtns().size() > 100 ? 1 : 0;
        }
        EXPECT_GT(compared, 3) << "the starts reach the lattice";
    }
}

// A square frame whose system the solver is not allowed the iterations to solve, adjusted in
// full (a revision of its own) and as a placing's pending adjustment (inside the current one).
TEST(AdjustPositionsPassTest, ASystemWithoutSolutionMovesNothingAndSaysSo) {
    const uint32_t message = 4400;
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full);
        TestDesign d;
        d.NewRevision();
        Put(d, ElmntKind::Tube, {0, 0, 0}, 350.0f, 0.0f, AlongX);
        Put(d, ElmntKind::Tube, {400, 0, 0}, 350.0f, 0.0f, AlongZ);
        Put(d, ElmntKind::Tube, {0, 0, 0}, 357.0f, 0.0f, AlongZ);
        Put(d, ElmntKind::Tube, {0, 0, 400}, 345.0f, 0.0f, AlongX);
        Put(d, ElmntKind::Connector, {402, 1, 0});
        Put(d, ElmntKind::Connector, {400, -1, 397});
        Put(d, ElmntKind::Connector, {2, 0, 401});
        d.dcmt.SetModified(false);
        TestUi().Reset();
        // What must stay: the document with every flag the walk clears already cleared.
        std::vector<float> corrections;
        for (CElmnt& e : d.list) {
            corrections.push_back(e.correction);
            e.adjustPending = false;
        }
        const std::string before = DescribeDocument(d.dcmt);
        for (CElmnt* e : d.Alive()) {
            e->adjustPending = !e->fixed;
        }

        const bool wrote =
            full ? d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq, 0)
                 : d.dcmt.AdjustPending(TestDesign::CouplingMaterial, d.snapRadiusSq, 0);
        EXPECT_FALSE(wrote);
        EXPECT_EQ(DescribeDocument(d.dcmt), before) << "no element, revision or flag changed";
        std::size_t i = 0;
        for (CElmnt& e : d.list) {
            EXPECT_EQ(e.correction, corrections[i++]);
        }
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, LoadLangText(message));
        EXPECT_NE(TestUi().Boxes()[0].text.find("Positionen"), std::string::npos);
        EXPECT_EQ(TestUi().BusyDepth(), 0);

        // With the program's bound the same design is adjusted.
        for (CElmnt* e : d.Alive()) {
            e->adjustPending = !e->fixed;
        }
        EXPECT_TRUE(full ? d.dcmt.AdjustAll(TestDesign::CouplingMaterial, d.snapRadiusSq)
                         : d.dcmt.AdjustPending(TestDesign::CouplingMaterial, d.snapRadiusSq));
        EXPECT_EQ(std::count_if(
                      TestUi().Boxes().begin(), TestUi().Boxes().end(),
                      [&](const RecordedBox& box) { return box.text == LoadLangText(message); }),
                  1);
    }
}
