// Memory that runs out in the edits of a design: undo, redo, moving (plain, adapting, copying),
// turning and deleting the selection, and the selection steps of a click, a box and a group.
// One allocation at a time fails, each point of an edit in turn, the windows' update included:
// the edit either completes or leaves the document exactly as it was (revisions, redo branch,
// records, parts table, modified flag).
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "support/Box3.h"
#include "support/Orientation.h"
#include "tests/harness/FailingAllocation.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

constexpr int32_t kMaterial = TestDesign::CouplingMaterial;

// A window that keeps every hint it is told: its update allocates, so it can fail too.
struct SHintList final : CDcmtObserver {
    std::vector<ViewHint> hints;
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
};

// start (0) --first-- middle (400) --second-- end (800) on the floor, unmodified. With a redo
// branch: a panel apart, a third tube placed at the end and undone; the first tube, the middle
// coupling and the panel (which turns) selected. Else: a tube pasted beyond the end, selected and floating, with the first tube
// selected beside it.
std::unique_ptr<TestDesign> MakeDesign(bool redoBranch) {
    auto d = std::make_unique<TestDesign>();
    CElmnt* first =
        d->Place(*d->start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    CElmnt* second = d->Place(*d->CouplingAt({400, 0, 0}), ToolMode::AtConnection,
                              ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    if (redoBranch) {
        CElmnt& panel = d->Add(std::make_unique<CElmnt>(
            d->ids, 0, ElmntKind::Panel, 2, CTransform(CMatrix3(), {0, 1000, 0}), true, 350.0f,
            350.0f));
        panel.Select();
        d->Place(*d->CouplingAt({800, 0, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350.0f,
                 0.0f, Side::PlusX);
        d->Undo();
        d->CouplingAt({400, 0, 0})->Select();
    } else {
        auto pasted = std::make_unique<CElmnt>(d->ids, d->NewRevision(), ElmntKind::Tube, 2,
                                               350.0f, 0.0f);
        pasted->Translate(820.0, 0.0, 0.0);
        pasted->selected = true;
        pasted->floating = true;
        d->list.Append(std::move(pasted));
    }
    EXPECT_NE(second, nullptr);
    first->Select();
    d->dcmt.UpdatePartsList();
    d->dcmt.SetModified(false);
    TestUi().Reset();
    return d;
}

struct SEdit {
    const char* name;
    bool redoBranch;
    std::function<void(TestDesign&)> run;
};

void Move(TestDesign& d, bool adapt, bool copy) {
    d.dcmt.MoveSelection(0.0, 0.0, 200.0, kMaterial, d.snapRadiusSq, adapt, copy);
}

// The steps of a click on the middle coupling, as the view takes them: deselect all, select it.
void Click(TestDesign& d) {
    d.dcmt.RunSelectionSteps([&] {
        d.dcmt.ClearSelection(kMaterial, d.snapRadiusSq);
        d.CouplingAt({400, 0, 0})->Select();
        return true;
    });
}

void BoxSelect(TestDesign& d) {
    d.dcmt.RunSelectionSteps([&] {
        d.dcmt.ClearSelection(kMaterial, d.snapRadiusSq);
        return d.dcmt.SelectInBox(CBox3(10, -10, 450, -10, 10, -10), SelectionMode::Select,
                                  kMaterial, d.snapRadiusSq);
    });
}

void GroupSelect(TestDesign& d) {
    d.dcmt.RunSelectionSteps([&] {
        d.dcmt.ClearSelection(kMaterial, d.snapRadiusSq);
        d.dcmt.ClearMarks();
        d.start->MarkGroup(d.Current(), d.list, 1);
        d.dcmt.SelectMarked(SelectionMode::Select, kMaterial, d.snapRadiusSq);
        d.dcmt.ClearMarks();
        return true;
    });
}

const std::vector<SEdit>& Edits() {
    static const std::vector<SEdit> edits = {
        {"undo, finishing a floating tube", false, [](TestDesign& d) { d.Undo(); }},
        {"redo", true, [](TestDesign& d) { d.Redo(); }},
        {"plain move", true, [](TestDesign& d) { Move(d, false, false); }},
        {"adapting move", true, [](TestDesign& d) { Move(d, true, false); }},
        {"copying move", true, [](TestDesign& d) { Move(d, false, true); }},
        {"copying move of a floating tube", false, [](TestDesign& d) { Move(d, false, true); }},
        {"turn", true,
         [](TestDesign& d) { d.dcmt.TurnSelection(kMaterial, d.snapRadiusSq); }},
        {"delete", true, [](TestDesign& d) { d.dcmt.DeleteSelection(kMaterial); }},
        {"click that deselects a floating tube", false, Click},
        {"box select", false, BoxSelect},
        {"group select", false, GroupSelect},
    };
    return edits;
}

} // namespace

TEST(EditOutOfMemory, EveryEditCompletesOrLeavesTheDocumentAsItWas) {
    for (const SEdit& edit : Edits()) {
        SCOPED_TRACE(edit.name);
        std::string before;
        std::string after;
        {
            std::unique_ptr<TestDesign> d = MakeDesign(edit.redoBranch);
            before = DescribeDocument(d->dcmt);
            edit.run(*d);
            after = DescribeDocument(d->dcmt);
            ASSERT_NE(after, before);
        }
        int refusals = 0;
        for (int letThrough = 0;; ++letThrough) {
            SCOPED_TRACE(letThrough);
            std::unique_ptr<TestDesign> d = MakeDesign(edit.redoBranch);
            SHintList view;
            d->dcmt.AddObserver(view);
            bool refused = false;
            ArmFailingAllocations(1, letThrough, 1);
            try {
                edit.run(*d);
            } catch (const std::bad_alloc&) {
                refused = true;
            }
            const bool failed = DisarmFailingAllocations();
            d->dcmt.RemoveObserver(view);
            if (!refused) { // no failure, or one that was got round
                EXPECT_EQ(DescribeDocument(d->dcmt), after);
                if (!failed) {
                    break;
                }
                continue;
            }
            ++refusals;
            EXPECT_EQ(DescribeDocument(d->dcmt), before);
        }
        EXPECT_GE(refusals, 3);
    }
}
