// Random sequences of the editing operations a user has (placing tubes and panels, moving the
// selection in all three ways, turning, deleting, pasting, the ramp, the tube dialog's fixed
// flag and length) with undo and redo in between. After every step each revision seen so far
// must show exactly the elements it showed when it was made, field by field: a history copy
// taken after the first change of an element would show up here. After every sequence the
// design saved, loaded and saved again gives the same bytes.
//
// ZARNEL_HISTORY_SEQUENCES=n runs n sequences instead of the default 50.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Clipboard.h"
#include "model/DesignFile.h"
#include "model/ElmntEdit.h"
#include "model/Ramp.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/model/TestDesign.h"

namespace {

constexpr int kDefaultSequences = 50;
constexpr int kStepsPerSequence = 60;

// Every field that a revision shows, exactly: kind, material, fixed flag, sizes, masks, turn
// variant, translation and rotation. The identity (a history copy has its own) and the
// transient working flags are left out.
std::vector<double> FieldsOf(const CElmnt& e) {
    std::vector<double> f{double(e.kind),
                          double(e.GetMaterial()),
                          double(e.fixed),
                          e.length,
                          e.secondSize,
                          e.correction,
                          e.secondCorrection,
                          double(e.GetOccupiedArms()),
                          double(e.GetFreeArms()),
                          double(e.GetFreeCornerSlots()),
                          double(e.GetDirections()),
                          double(e.turnVariant),
                          e.placement.translation.x,
                          e.placement.translation.y,
                          e.placement.translation.z};
    for (const auto& row : e.placement.rotation.m) {
        f.insert(f.end(), std::begin(row), std::end(row));
    }
    return f;
}

using Shown = std::vector<std::vector<double>>;

class HistorySequence {
public:
    explicit HistorySequence(uint32_t seed) : m_random(seed) { Record(); }

    // One user action. After undo and redo the revision arrived at must show what it showed;
    // after an edit, the revision before it (the edit's history copies) must.
    void Step() {
        const int choice = Below(100);
        if (choice < 24) {
            UndoRedo(choice < 14);
        } else {
            Edit(choice);
            if (m_design.Current() > 0) {
                Check(m_design.Current() - 1);
            }
        }
        Check(m_design.Current());
    }

    // Every revision seen.
    void CheckAll() {
        ASSERT_EQ(m_seen.rbegin()->first, m_design.Newest()) << m_log;
        for (const auto& entry : m_seen) {
            Check(entry.first);
        }
    }

    // Saved, loaded and saved again: the same bytes.
    void CheckSaveSettles() {
        const std::optional<std::string> first = WriteDesignText(m_design.dcmt);
        ASSERT_TRUE(first) << m_log;
        CZarnelDcmt loaded;
        ASSERT_TRUE(LoadDesignText(loaded, *first, "Design")) << m_log;
        const std::optional<std::string> second = WriteDesignText(loaded);
        ASSERT_TRUE(second == first) << m_log;
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Coin() { return Below(2) == 0; }

    Shown ShownAt(Revision r) const {
        Shown shown;
        for (const CElmnt& e : m_design.list) {
            if (e.IsAliveAt(r)) {
                shown.push_back(FieldsOf(e));
            }
        }
        std::sort(shown.begin(), shown.end());
        return shown;
    }

    // The current revision as the user sees it now.
    void Record() { m_seen[m_design.Current()] = ShownAt(m_design.Current()); }

    void Check(Revision r) {
        const auto seen = m_seen.find(r);
        ASSERT_NE(seen, m_seen.end()) << "revision " << r << " was never seen; " << m_log;
        ASSERT_TRUE(ShownAt(r) == seen->second) << "revision " << r << " changed: " << m_log;
    }

    // Undo and redo first finish floating elements in the revision they leave: that is a
    // change of that revision, seen by the user.
    void UndoRedo(bool undo) {
        m_log += undo ? "undo; " : "redo; ";
        FinishFloating();
        undo ? m_design.Undo() : m_design.Redo();
    }
    void FinishFloating() {
        m_design.dcmt.FinishFloating(TestDesign::CouplingMaterial, m_design.snapRadiusSq);
        Record();
    }

    void Edit(int choice) {
        const Revision current = m_design.Current();
        const Revision newest = m_design.Newest();
        if (choice < 48) {
            Place(choice < 40);
        } else if (choice < 66) {
            SelectSome();
            Move();
        } else if (choice < 72) {
            SelectSome();
            m_log += "turn; ";
            m_design.dcmt.TurnSelection(TestDesign::CouplingMaterial, m_design.snapRadiusSq);
        } else if (choice < 78) {
            SelectSome();
            m_log += "delete; ";
            m_design.dcmt.DeleteSelection(TestDesign::CouplingMaterial);
        } else if (choice < 84) {
            SelectSome();
            Paste();
        } else if (choice < 90) {
            Ramp();
        } else {
            TubeProps();
        }
        Settle(current, newest);
    }

    // After a change made from the given counters: a new revision cuts the redo branch, and
    // is made anew.
    void Settle(Revision current, Revision newest) {
        if (m_design.Current() != current || m_design.Newest() != newest) {
            m_seen.erase(m_seen.lower_bound(m_design.Current()), m_seen.end());
        }
        Record();
    }

    std::vector<CElmnt*> AliveOf(std::initializer_list<ElmntKind> kinds) {
        std::vector<CElmnt*> found;
        for (CElmnt* e : m_design.Alive()) {
            if (std::find(kinds.begin(), kinds.end(), e->kind) != kinds.end()) {
                found.push_back(e);
            }
        }
        return found;
    }
    template <class T> T* Pick(const std::vector<T*>& items) {
        return items.empty() ? nullptr : items[static_cast<size_t>(Below(int(items.size())))];
    }

    // The view's placing at a random coupling: a tube (its odd length leaves a gap for the
    // adjustment) or a panel.
    void Place(bool tube) {
        CElmnt* coupling = Pick(AliveOf({ElmntKind::Connector}));
        if (coupling == nullptr) {
            return;
        }
        const int n = Below(tube ? 6 : 12);
        m_log += (tube ? "tube at " : "panel at ") + std::to_string(coupling->GetId().Value()) +
                 " n " + std::to_string(n) + "; ";
        if (tube) {
            m_design.Place(*coupling, ToolMode::AtConnection, ElmntKind::Tube,
                           Coin() ? 350.0f : 351.5f, 0.0f, n);
            m_design.dcmt.AdjustPending(TestDesign::CouplingMaterial, m_design.snapRadiusSq);
        } else {
            m_design.Place(*coupling, ToolMode::SpecialPanel, ElmntKind::Panel, 350.0f, 350.0f, n);
        }
    }

    void SelectSome() {
        m_design.dcmt.ClearSelection(TestDesign::CouplingMaterial, m_design.snapRadiusSq);
        Record(); // deselecting links floating elements in the current revision
        for (CElmnt* e : m_design.Alive()) {
            if (e->kind != ElmntKind::FloorGrid && Below(3) == 0) {
                e->Select();
            }
        }
    }

    void Move() {
        // Whole grid steps keep ends on couplings; the odd offset leaves them apart.
        const double step = Coin() ? 400.0 : 37.5;
        const double offsets[3] = {Coin() ? step : 0.0, Coin() ? -step : 0.0, Coin() ? step : 0.0};
        const int mode = Below(3);
        m_log += std::string("move ") + (mode == 0 ? "rigid" : mode == 1 ? "adapt" : "copy") + "; ";
        m_design.dcmt.MoveSelection(offsets[0], offsets[1], offsets[2],
                                    TestDesign::CouplingMaterial, m_design.snapRadiusSq, mode == 1,
                                    mode == 2);
    }

    void Paste() {
        const std::optional<std::string> text = CopySelectionText(m_design.dcmt);
        m_design.dcmt.ClearSelection(TestDesign::CouplingMaterial, m_design.snapRadiusSq);
        Record();
        if (!text) {
            return;
        }
        m_log += "paste; ";
        const Revision current = m_design.Current();
        const Revision newest = m_design.Newest();
        PasteText(m_design.dcmt, *text);
        if (Coin()) {
            Settle(current, newest);
            // Moved away from the originals before it is put down, as the user drags it.
            m_design.dcmt.MoveSelection(400.0, 0.0, 400.0, TestDesign::CouplingMaterial,
                                        m_design.snapRadiusSq, false, false);
        }
    }

    void Ramp() {
        CElmnt* e = Pick(AliveOf({ElmntKind::Connector, ElmntKind::Tube}));
        if (e == nullptr) {
            return;
        }
        const uint32_t allowed = RampAllowedAxes(*e);
        SRampValues values;
        values.angle = Coin() ? 30.0 : 45.0;
        values.axis = RampInitialAxis(Below(6), allowed);
        values.absolute = Below(2);
        values.type = Below(2);
        m_log += "ramp " + std::to_string(e->GetId().Value()) + "; ";
        ApplyRamp(m_design.dcmt, *e, e->placement, values, TestDesign::CouplingMaterial,
                  m_design.snapRadiusSq);
    }

    void TubeProps() {
        CElmnt* tube = Pick(AliveOf({ElmntKind::Tube}));
        if (tube == nullptr) {
            return;
        }
        STubeProps props = STubeProps::Of(*tube);
        props.fixed = !props.fixed;
        if (Coin()) {
            props.length += 5.0f;
        }
        m_log += "tube props " + std::to_string(tube->GetId().Value()) + "; ";
        ApplyTubeProps(m_design.dcmt, tube->GetId(), props, TestDesign::CouplingMaterial,
                       m_design.snapRadiusSq);
    }

    std::mt19937 m_random;
    TestDesign m_design;
    std::map<Revision, Shown> m_seen;
    std::string m_log;
};

int Sequences() {
    const char* value = std::getenv("ZARNEL_HISTORY_SEQUENCES");
    const int count = value != nullptr ? std::atoi(value) : 0;
    return count > 0 ? count : kDefaultSequences;
}

} // namespace

TEST(HistoryRandom, EveryRevisionShowsWhatItShowedWhenItWasMade) {
    const int sequences = Sequences();
    for (int seed = 1; seed <= sequences; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        HistorySequence sequence(static_cast<uint32_t>(seed));
        for (int step = 0; step < kStepsPerSequence; ++step) {
            sequence.Step();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
        sequence.CheckAll();
        sequence.CheckSaveSettles();
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        TestUi().Reset(); // boxes of ends that met no arm are part of the game
    }
}
