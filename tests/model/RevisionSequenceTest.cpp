// Long random sequences of edits, undo, redo, revisions that change nothing and deleting the
// history, checked after every step against a plain model of the design: for each revision, the
// elements alive in it and their contents. Each tube carries its logical element number in its
// second size (unused by tubes) and its content in its length.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"

namespace {

using Snapshot = std::map<int, float>; // element number -> length
constexpr double kSnapRadiusSq = 40.0 * 40.0;

class RevisionSequence {
public:
    explicit RevisionSequence(uint32_t seed) : m_random(seed) { m_snapshots.push_back({}); }

    void Step() {
        const int choice = Uniform(0, 99);
        if (choice < 35) {
            Edit(/*scoped=*/false);
        } else if (choice < 50) {
            Edit(/*scoped=*/true);
        } else if (choice < 70) {
            m_dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
            if (m_current > 0) {
                --m_current;
            }
        } else if (choice < 90) {
            m_dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
            if (m_current + 1 < m_snapshots.size()) {
                ++m_current;
            }
        } else if (choice < 98) {
            ToggleSelection();
        } else {
            m_dcmt.OnDeleteHistory();
            m_snapshots = {m_snapshots[m_current]};
            m_current = 0;
        }
    }

    // What is alive now, the counters, lookups by identity and selection flags.
    void CheckCurrent() const {
        ASSERT_EQ(m_dcmt.GetCurrentRevision(), m_current);
        ASSERT_EQ(m_dcmt.GetNewestRevision(), m_snapshots.size() - 1);
        ExpectAliveAt(m_current);
        for (const CElmnt& e : m_dcmt.GetElmntList()) {
            ASSERT_LE(e.firstRevision, m_dcmt.GetNewestRevision()) << "a state beyond the newest";
            ASSERT_EQ(m_dcmt.FindState(e.GetId()), &e);
            ASSERT_EQ(m_dcmt.FindElement(e.GetId()), m_dcmt.IsAlive(e) ? &e : nullptr);
            auto flag = m_selected.find(e.GetId().Value());
            ASSERT_EQ(e.selected, flag != m_selected.end() && flag->second);
        }
    }

    // Every revision of the history, as undo and redo would show it.
    void CheckHistory() const {
        for (Revision r = 0; r < m_snapshots.size(); ++r) {
            SCOPED_TRACE(r);
            ExpectAliveAt(r);
        }
    }

    // How much of the ground the sequence covered.
    std::size_t MostRevisions() const { return m_mostRevisions; }
    int DroppedRevisions() const { return m_dropped; }
    int CutBranches() const { return m_cuts; }

private:
    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }
    float NewLength() { return static_cast<float>(Uniform(1, 1000)); }

    void ExpectAliveAt(Revision r) const {
        Snapshot alive;
        int others = 0;
        for (const CElmnt& e : m_dcmt.GetElmntList().AliveAt(r)) {
            if (e.kind != ElmntKind::Tube) {
                ++others;
                continue;
            }
            const int number = static_cast<int>(e.secondSize);
            ASSERT_TRUE(alive.emplace(number, e.length).second) << "element " << number << " twice";
        }
        EXPECT_EQ(others, 2) << "start coupling and floor grid";
        EXPECT_EQ(alive, m_snapshots[r]);
    }

    // One revision of one to three changes; a scoped one may change nothing.
    void Edit(bool scoped) {
        std::optional<CRevisionScope> scope;
        Revision r;
        if (scoped) {
            scope.emplace(m_dcmt);
            r = scope->GetRevision();
        } else {
            r = m_dcmt.NewRevision();
        }
        const int changes = scoped ? Uniform(0, 2) : Uniform(1, 3);
        if (changes == 0) {
            ++m_dropped;
        } else {
            if (m_current + 1 < m_snapshots.size()) {
                ++m_cuts;
            }
            m_snapshots.resize(m_current + 1);
            m_snapshots.push_back(m_snapshots[m_current]);
            ++m_current;
            m_mostRevisions = std::max(m_mostRevisions, m_snapshots.size());
        }
        for (int i = 0; i < changes; ++i) {
            Change(r, m_snapshots[m_current]);
        }
        if (scope) {
            EXPECT_EQ(scope->Close(), changes > 0);
        }
    }

    void Change(Revision r, Snapshot& now) {
        std::vector<CElmnt*> tubes;
        for (CElmnt& e : m_dcmt.GetAliveElements()) {
            if (e.kind == ElmntKind::Tube) {
                tubes.push_back(&e);
            }
        }
        const int what = tubes.empty() ? 0 : Uniform(0, 3);
        CElmntList& list = m_dcmt.GetElmntList();
        if (what == 0) {
            const int number = m_nextNumber++;
            auto tube = std::make_unique<CElmnt>(m_dcmt.GetIdSource(), r, ElmntKind::Tube, 2,
                                                 NewLength(), static_cast<float>(number));
            now[number] = m_dcmt.AddElement(std::move(tube)).length;
            return;
        }
        CElmnt& tube = *tubes[static_cast<std::size_t>(Uniform(0, int(tubes.size()) - 1))];
        const int number = static_cast<int>(tube.secondSize);
        if (what == 1) {
            const std::size_t before = list.Size();
            tube.BeginChange(r, list, 1);
            if (list.Size() > before) {
                m_selected[list.GetTail()->GetId().Value()] = false;
            }
            tube.length = NewLength();
            now[number] = tube.length;
        } else if (what == 2) {
            tube.endRevision = r;
            now.erase(number);
        } else {
            tube.LeaveCopy(r, list, 1, kSnapRadiusSq);
            m_selected[list.GetTail()->GetId().Value()] = false;
            const int moved = m_nextNumber++;
            tube.secondSize = static_cast<float>(moved);
            tube.length = NewLength();
            now[moved] = tube.length;
        }
    }

    void ToggleSelection() {
        const CElmntList& list = m_dcmt.GetElmntList();
        CElmnt* e = list.GetAt(static_cast<std::size_t>(Uniform(0, int(list.Size()) - 1)));
        e->selected = !e->selected;
        m_selected[e->GetId().Value()] = e->selected;
    }

    std::mt19937 m_random;
    CZarnelDcmt m_dcmt;
    std::vector<Snapshot> m_snapshots; // revision -> alive tubes
    Revision m_current = 0;
    int m_nextNumber = 1;
    std::map<uint32_t, bool> m_selected; // identity -> selected, as the sequence left it
    std::size_t m_mostRevisions = 1;
    int m_dropped = 0;
    int m_cuts = 0;
};

} // namespace

TEST(RevisionSequence, AliveStatesFollowAPlainModelThroughRandomEditsUndoAndRedo) {
    for (uint32_t seed : {20240601u, 7u}) {
        SCOPED_TRACE(seed);
        RevisionSequence sequence(seed);
        for (int step = 0; step < 3000; ++step) {
            SCOPED_TRACE(step);
            sequence.Step();
            ASSERT_NO_FATAL_FAILURE(sequence.CheckCurrent());
            if (step % 20 == 0) {
                ASSERT_NO_FATAL_FAILURE(sequence.CheckHistory());
            }
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
        sequence.CheckHistory();
        EXPECT_GT(sequence.MostRevisions(), 20u);
        EXPECT_GT(sequence.DroppedRevisions(), 50);
        EXPECT_GT(sequence.CutBranches(), 50);
    }
}
