// The 3D view's box, move, edit and colour commands run as table rows on a view's context
// without a window: the selection box and its 52 mm floor, the enable and check rules per tool
// mode, moving the selection, cut and paste, deleting, selecting all and the tool colours.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/frame/CommandIds.h"
#include "app/view/BoxCommands.h"
#include "app/view/ViewCommand.h"
#include "support/LangText.h"
#include "support/Orientation.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/model/TestDesign.h"

namespace {

using M = ToolMode;

class CHints : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

// A design with one tube from the start coupling along +x, and a view on it.
struct SViewOnTube {
    TestDesign d;
    CElmnt* tube = d.Place(*d.start, M::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
    CViewState state;
    CViewCamera camera;
    SViewContext context{&d.dcmt, state, camera, SAppOptions{}};
    CHints views;

    SViewOnTube() {
        camera.BindDefault();
        d.dcmt.AddObserver(views);
        state.tool.mode = M::Select;
        TestUi().Reset();
    }
    ~SViewOnTube() { d.dcmt.RemoveObserver(views); }

    SViewChange Run(uint32_t command) {
        const SViewCommand* row = FindViewCommand(command);
        EXPECT_NE(row, nullptr) << command;
        return row != nullptr ? row->run(context, command) : SViewChange();
    }
    bool Enabled(uint32_t command) {
        const SViewCommand* row = FindViewCommand(command);
        return row->isEnabled == nullptr || row->isEnabled(context, command);
    }
    bool Checked(uint32_t command) {
        const SViewCommand* row = FindViewCommand(command);
        return row->isChecked != nullptr && row->isChecked(context, command);
    }
    CVector3 TubeAt() { return d.AliveOfKind(ElmntKind::Tube).at(0)->placement.translation; }
};

int PartCount(const CZarnelDcmt& dcmt) {
    int count = 0;
    for (const SPartEntry& entry : dcmt.GetPartsTable()) {
        count += entry.count;
    }
    return count;
}

TEST(SelectionBox, SidesMoveAndStopFiftyTwoMillimetresApart) {
    struct Row {
        M side;
        CBox3 smaller800; // "kleiner" with step 800 from the start box
        CBox3 larger50;   // "größer" with step 50
        CBox3 moved50;    // "verschieben" with step 50
    };
    const CBox3 b = CViewState::kDefaultSelectionBox; // 826, -26, 426, -426, 426, -426
    const Row rows[] = {
        {M::BoxTop,
         {26, -26, 426, -426, 426, -426},
         {876, -26, 426, -426, 426, -426},
         {876, 24, 426, -426, 426, -426}},
        {M::BoxBottom,
         {826, 774, 426, -426, 426, -426},
         {826, -76, 426, -426, 426, -426},
         {776, -76, 426, -426, 426, -426}},
        {M::BoxRight,
         {826, -26, -374, -426, 426, -426},
         {826, -26, 476, -426, 426, -426},
         {826, -26, 476, -376, 426, -426}},
        {M::BoxLeft,
         {826, -26, 426, 374, 426, -426},
         {826, -26, 426, -476, 426, -426},
         {826, -26, 376, -476, 426, -426}},
        {M::BoxFront,
         {826, -26, 426, -426, -374, -426},
         {826, -26, 426, -426, 476, -426},
         {826, -26, 426, -426, 476, -376}},
        {M::BoxBack,
         {826, -26, 426, -426, 426, 374},
         {826, -26, 426, -426, 426, -476},
         {826, -26, 426, -426, 376, -476}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(ToolModeCode(row.side));
        SViewOnTube view;
        view.state.tool.mode = row.side;
        view.state.boxAndMove.step = 800.0;
        view.Run(CommandId::BoxSmaller);
        EXPECT_EQ(view.state.boxAndMove.box, row.smaller800);
        view.state.boxAndMove.box = b;
        view.state.boxAndMove.step = 50.0;
        EXPECT_TRUE(view.Run(CommandId::BoxLarger).invalidate);
        EXPECT_EQ(view.state.boxAndMove.box, row.larger50);
        view.state.boxAndMove.box = b;
        view.Run(CommandId::BoxMove);
        EXPECT_EQ(view.state.boxAndMove.box, row.moved50);
    }
    CBox3 box = b;
    ResizeSelBox(box, M::Select, 100.0);
    MoveSelBox(box, M::AtConnection, 100.0);
    EXPECT_EQ(box, b);
}

TEST(SelectionBox, EnabledAndCheckedPerToolMode) {
    const uint32_t boxCommands[] = {32860, 32861, 32912, 32855, 32856, 32857, 32858};
    const uint32_t moveCommands[] = {32862, 32863, 32864, 32865, 32866, 32913, 32914,
                                     32973, 32867, 32869, 32870, 32871, 32872, 32873};
    for (M mode : {M::Select, M::SelectGroup, M::BoxTop, M::BoxBottom, M::BoxLeft, M::BoxRight,
                   M::BoxFront, M::BoxBack, M::AtConnection, M::Pan, M::SameSurface}) {
        SCOPED_TRACE(ToolModeCode(mode));
        SViewOnTube view;
        view.state.tool.mode = mode;
        for (uint32_t command : boxCommands) {
            EXPECT_EQ(view.Enabled(command), IsBoxSideMode(mode)) << command;
            EXPECT_FALSE(view.Checked(command)) << command;
        }
        for (uint32_t command : moveCommands) {
            EXPECT_EQ(view.Enabled(command), IsSelectOrBoxMode(mode)) << command;
        }
    }
    // The step shows checked only when it is exactly the command's.
    SViewOnTube view;
    EXPECT_TRUE(view.Checked(CommandId::Step40));
    view.Run(CommandId::Step5);
    EXPECT_EQ(view.state.boxAndMove.step, 50.0);
    EXPECT_TRUE(view.Checked(CommandId::Step5));
    view.state.boxAndMove.step = 50.5;
    EXPECT_FALSE(view.Checked(CommandId::Step5));

    // Keeping the couplings switches their open ends on.
    EXPECT_TRUE(view.Checked(CommandId::MoveAdaptCouplings));
    EXPECT_TRUE(view.Run(CommandId::MoveKeepCouplings).invalidate);
    EXPECT_TRUE(HasFlag(view.state.display.flags, DrawFlags::ConnectorEnds));
    EXPECT_FALSE(view.state.boxAndMove.adaptCouplings);
    EXPECT_TRUE(view.Checked(CommandId::MoveKeepCouplings));
    view.Run(CommandId::MoveCopy);
    EXPECT_TRUE(view.state.boxAndMove.adaptCouplings && view.state.boxAndMove.copyOnce);
    EXPECT_FALSE(view.Checked(CommandId::MoveAdaptCouplings));
    EXPECT_TRUE(view.Checked(CommandId::MoveCopy));
}

TEST(SelectionBox, SelectsAddsInvertsAndDeselectsWhatIsInside) {
    SViewOnTube view;
    view.state.tool.mode = M::BoxTop;
    auto wheel = std::make_unique<CElmnt>(view.d.ids, 0, ElmntKind::MultiWheel, 2, 0.0f, 0.0f);
    wheel->Translate(2000, 0, 0); // outside the box
    CElmnt& outside = view.d.Add(std::move(wheel));
    outside.Select();
    const SViewChange change = view.Run(CommandId::BoxSelect);
    EXPECT_EQ(change.hint, ViewHint::Selection);
    EXPECT_TRUE(view.tube->selected);
    EXPECT_TRUE(view.d.start->selected);
    EXPECT_FALSE(outside.selected); // "Selektieren" starts from an empty selection
    view.Run(CommandId::BoxInvert);
    EXPECT_FALSE(view.tube->selected);
    view.Run(CommandId::BoxSelectAdd);
    EXPECT_TRUE(view.tube->selected);
    view.Run(CommandId::BoxDeselect);
    EXPECT_FALSE(view.tube->selected || view.d.start->selected);
}

TEST(MoveCommands, EachMovesTheSelectionOneStepAlongItsAxis) {
    struct Row {
        uint32_t command;
        CVector3 by;
    };
    const Row rows[] = {{32871, {-200, 0, 0}}, {32867, {200, 0, 0}},  {32869, {0, -200, 0}},
                        {32870, {0, 200, 0}},  {32873, {0, 0, -200}}, {32872, {0, 0, 200}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        SViewOnTube view;
        view.state.boxAndMove.step = 200.0;
        view.tube->Select();
        const CVector3 before = view.TubeAt();
        const Revision revision = view.d.Current();
        view.Run(row.command);
        EXPECT_EQ(view.d.Current(), revision + 1);
        EXPECT_EQ(view.views.hints, std::vector<ViewHint>{ViewHint::Change});
        const CVector3 after = view.TubeAt();
        EXPECT_DOUBLE_EQ(after.x - before.x, row.by.x);
        EXPECT_DOUBLE_EQ(after.y - before.y, row.by.y);
        EXPECT_DOUBLE_EQ(after.z - before.z, row.by.z);
    }
}

TEST(MoveCommands, CopyingAppliesToOneMoveAndNothingSelectedOpensNoRevision) {
    SViewOnTube view;
    view.tube->Select();
    view.Run(CommandId::MoveCopy);
    view.Run(CommandId::MoveUp);
    EXPECT_EQ(view.d.AliveOfKind(ElmntKind::Tube).size(), 2u);
    EXPECT_FALSE(view.state.boxAndMove.copyOnce);
    EXPECT_TRUE(view.Checked(CommandId::MoveAdaptCouplings));
    view.Run(CommandId::MoveUp);
    EXPECT_EQ(view.d.AliveOfKind(ElmntKind::Tube).size(), 2u);

    // Nothing selected: no undo step, and the redo branch stays.
    view.d.dcmt.ClearSelection(1, CouplingSnap::NormalSq);
    view.d.Undo();
    const Revision current = view.d.Current();
    const Revision newest = view.d.Newest();
    for (uint32_t command : {CommandId::MoveLeft, CommandId::DeleteSelection}) {
        view.Run(command);
        EXPECT_EQ(view.d.Current(), current) << command;
        EXPECT_EQ(view.d.Newest(), newest) << command;
    }
}

// ---- Clipboard, deletion and select all --------------------------------------------------------

TEST(EditCommands, PasteFailingPartWayIsOneUndoStepAndTellsEveryView) {
    SViewOnTube view;
    TestUi().SetClipboardText("tube2{2, {4., 0., 0., 0., 400., 0., 0.}, 1, 350., 0., 9}\r\n"
                              "tube2{2, {4., 0., 0., 0., 800., 0., 0.}, 1, 350. 0., 9}\r\n");
    view.d.dcmt.UpdatePartsList();
    const int partsBefore = PartCount(view.d.dcmt);
    const Revision before = view.d.Current();
    const SViewChange change = view.Run(CommandId::EditPaste);
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(PartCount(view.d.dcmt), partsBefore + 1);
    EXPECT_EQ(change.hint, ViewHint::Insertion);
    EXPECT_EQ(view.views.hints.back(), ViewHint::Insertion);
    EXPECT_EQ(view.d.AliveOfKind(ElmntKind::Tube).size(), 2u);
    EXPECT_EQ(view.d.Current(), before + 1);
    view.d.Undo();
    EXPECT_EQ(view.d.AliveOfKind(ElmntKind::Tube).size(), 1u);
}

TEST(EditCommands, CutDeletesOnlyWhatReachedTheClipboard) {
    SViewOnTube view;
    view.tube->Select();
    const Revision before = view.d.Current();
    TestUi().SetClipboardAvailable(false);
    const SViewChange failed = view.Run(CommandId::EditCut);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, LoadLangText(4341));
    EXPECT_FALSE(failed.hint);
    EXPECT_EQ(view.d.Current(), before);
    EXPECT_EQ(view.d.AliveOfKind(ElmntKind::Tube).size(), 1u);

    TestUi().SetClipboardAvailable(true);
    view.Run(CommandId::EditCut);
    EXPECT_EQ(view.d.AliveOfKind(ElmntKind::Tube).size(), 0u);
    EXPECT_EQ(view.views.hints, std::vector<ViewHint>{ViewHint::Deletion});
    EXPECT_NE(TestUi().GetClipboardText().value().find("\ntube2{"), std::string::npos);

    // Nothing selected: no revision, yet every view hears of the deletion.
    EXPECT_EQ(view.Run(CommandId::EditCut).hint, ViewHint::Deletion);
    EXPECT_EQ(view.Run(CommandId::DeleteSelection).hint, ViewHint::Deletion);
    EXPECT_EQ(view.d.Current(), before + 1);
}

TEST(EditCommands, SelectAllTakesWhatIsAliveButNoFloorGridOrKindlessRecord) {
    SViewOnTube view;
    CElmnt* gone =
        view.d.Place(*view.d.start, M::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusY);
    view.d.Delete(*gone);
    CElmnt& kindless = view.d.Add(std::make_unique<CElmnt>(view.d.ids));
    view.state.tool.mode = M::AtConnection;
    const SViewChange change = view.Run(CommandId::SelectAll);
    EXPECT_EQ(change.hint, ViewHint::Selection);
    EXPECT_EQ(view.state.tool.mode, M::Select);
    EXPECT_TRUE(view.tube->selected && view.d.start->selected);
    EXPECT_FALSE(view.d.grid->selected);
    EXPECT_FALSE(gone->selected);
    EXPECT_FALSE(kindless.selected);
}

// ---- Colours
// -------------------------------------------------------------------------------------

TEST(ColourCommands, TubeOrPanelSlotByTheToolsKind) {
    struct Row {
        ElmntKind kind;
        int category; // -1: the colours do not apply
    };
    const Row rows[] = {{ElmntKind::Tube, 0}, {ElmntKind::RoundTube, 0},    {ElmntKind::Panel, 1},
                        {ElmntKind::Wood, 1}, {ElmntKind::Connector45, -1}, {ElmntKind::None, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(KindCode(row.kind));
        SViewOnTube view;
        view.state.tool.kind = row.kind;
        const auto slotsBefore = view.state.tool.categoryMaterials;
        for (uint32_t command : {32786u, 32787u, 32788u, 32789u, 32984u, 32985u}) {
            EXPECT_EQ(view.Enabled(command), row.category >= 0) << command;
        }
        view.Run(CommandId::ColourWhite);
        auto expected = slotsBefore;
        if (row.category >= 0) {
            expected[static_cast<size_t>(row.category)] = row.category == 0 ? 13 : 14;
        }
        EXPECT_EQ(view.state.tool.categoryMaterials, expected);
        EXPECT_EQ(view.Checked(CommandId::ColourWhite), row.category >= 0);
        EXPECT_FALSE(view.Checked(CommandId::ColourBlack));
        view.Run(CommandId::ColourBlack);
        EXPECT_EQ(view.Checked(CommandId::ColourBlack), row.category >= 0);
    }
}

} // namespace
