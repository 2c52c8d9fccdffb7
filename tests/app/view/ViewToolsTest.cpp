// The 3D view's tools without a display: what every change of tool mode does to the state and
// asks of the window and the design, the material slot per category, the tool commands with
// their check rules and placement variants, and the window geometry (viewport, segment
// distance, print layout).
#include <gtest/gtest.h>

#include <set>

#include "app/view/PrintLayout.h"
#include "app/view/SceneDraw.h"
#include "app/view/ToolCommands.h"
#include "app/view/ViewCommand.h"
#include "app/view/ViewState.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

using M = ToolMode;

// ---- SetTool ------------------------------------------------------------------------------------

TEST(SetTool, ChangesOfModeAsTheTableSays) {
    struct Row {
        M from;
        M to;
        bool clearSelection;
        bool invalidate;
        bool keepsPlacing; // the element being placed survives
        bool keepsKind;
    };
    const Row rows[] = {
        // Leaving select or a box side for a mode outside them clears the selection.
        {M::Select, M::AtConnection, true, true, true, false},
        {M::BoxTop, M::PanelFirstTube, true, true, true, false},
        {M::SelectGroup, M::Pan, true, false, true, false},
        // Between select, group select and the box sides the selection stays.
        {M::Select, M::BoxTop, false, true, true, false},
        {M::BoxTop, M::BoxBack, false, false, true, false},
        {M::BoxLeft, M::Select, false, true, true, false},
        {M::Select, M::Select, false, false, true, false},
        // Other modes forget the element being placed.
        {M::AtConnection, M::Select, false, true, false, false},
        {M::AtConnection, M::AtConnection, false, false, false, false},
        {M::AtConnection, M::OnPickedSlide, false, true, false, false},
        {M::AtConnection, M::NoSelectionLines, false, true, false, false},
        {M::AtConnection, M::SameSurface, false, true, false, false},
        {M::AtConnection, M::Pan, false, false, false, false},
        {M::AtConnection, static_cast<M>(3), false, false, false, false},
        // The two-click panel keeps its kind between its clicks, and its element back to the
        // first click.
        {M::PanelFirstTube, M::PanelSecondTube, false, true, false, true},
        {M::PanelSecondTube, M::PanelFirstTube, false, true, true, true},
        {M::PanelFirstTube, M::PanelFirstTube, false, false, false, false},
        {M::AtConnection, M::SpecialPanel, false, true, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << ToolModeCode(row.from) << " -> " << ToolModeCode(row.to));
        CViewState state;
        state.tool.mode = row.from;
        state.tool.kind = ElmntKind::Panel;
        state.tool.placing = ElmntId(2345);
        state.tool.turnCount = 3;
        const SViewChange change = state.SetTool(row.to);
        EXPECT_EQ(state.tool.mode, row.to);
        EXPECT_EQ(change.wideSnap, std::optional<bool>(false));
        EXPECT_EQ(change.clearSelection, row.clearSelection);
        EXPECT_EQ(change.invalidate, row.invalidate);
        EXPECT_EQ(state.tool.placing, row.keepsPlacing ? ElmntId(2345) : ElmntId());
        EXPECT_EQ(state.tool.kind, row.keepsKind ? ElmntKind::Panel : ElmntKind::None);
        EXPECT_EQ(state.tool.turnCount, 0);
    }
}

TEST(SetTool, PanelToolsShowPanelsAgain) {
    for (M to : {M::SpecialPanel, M::PanelFirstTube, M::PanelSecondTube}) {
        CViewState state;
        state.display.flags = DrawFlags::WithoutPanels | DrawFlags::ConnectorEnds;
        state.SetTool(to);
        EXPECT_EQ(state.display.flags, DrawFlags::ConnectorEnds) << ToolModeCode(to);
    }
    CViewState state;
    state.display.flags = DrawFlags::WithoutPanels;
    state.SetTool(M::Select);
    EXPECT_EQ(state.display.flags, DrawFlags::WithoutPanels);
}

TEST(SetTool, LeavingPanEndsTheDragAndErasesItsLine) {
    for (bool lineShown : {false, true}) {
        CViewState state;
        state.tool.mode = M::Pan;
        state.pan.dragging = true;
        state.pan.rubberLineShown = lineShown;
        state.pan.element = ElmntId(4000);
        state.tool.placing = ElmntId(4001);
        const SViewChange change = state.SetTool(M::Pan);
        EXPECT_EQ(change.invalidate, lineShown);
        EXPECT_FALSE(state.pan.dragging);
        EXPECT_FALSE(state.pan.rubberLineShown);
        EXPECT_EQ(state.pan.element, ElmntId());
        EXPECT_EQ(state.tool.placing, ElmntId(4001));
    }
}

TEST(ViewState, StartsWithTheTubeToolAndTheDefaultSlots) {
    CViewState state;
    EXPECT_EQ(state.tool.mode, M::AtConnection);
    EXPECT_EQ(state.tool.kind, ElmntKind::Tube);
    EXPECT_EQ(state.GetCouplingMaterial(), 1);

    // The slot of the kind's category; roofs and the floor grid take none.
    const std::pair<ElmntKind, int32_t> rows[] = {
        {ElmntKind::Tube, 2},      {ElmntKind::Panel, 6},       {ElmntKind::Lattice, 1},
        {ElmntKind::Connector, 1}, {ElmntKind::HubCap, 2},      {ElmntKind::Slide, 6},
        {ElmntKind::SlideNew, 6},  {ElmntKind::CurvedSlide, 7}, {ElmntKind::SlideEnd, 9},
        {ElmntKind::Pool, 8},      {ElmntKind::PoolSmall, 8},   {ElmntKind::Alu, 11},
        {ElmntKind::Roof, 0},      {ElmntKind::RoofLarge, 0},   {ElmntKind::FloorGrid, 0},
    };
    for (const auto& [kind, slot] : rows) {
        EXPECT_EQ(state.GetToolMaterial(kind), slot) << KindCode(kind);
    }
    state.tool.categoryMaterials[4] = 23;
    EXPECT_EQ(state.GetToolMaterial(ElmntKind::SlideNew), 23);
    EXPECT_EQ(state.GetCategoryMaterial(4), 23);
    EXPECT_EQ(state.GetCategoryMaterial(9), 0);
    EXPECT_EQ(state.GetCategoryMaterial(-1), 0);
}

// ---- Tool commands ------------------------------------------------------------------------------

std::set<uint32_t> CheckedCommands(const CViewState& state) {
    std::set<uint32_t> checked;
    for (const SToolCommand& tool : GetToolCommands()) {
        if (IsToolChecked(tool, state)) {
            checked.insert(tool.command);
        }
    }
    return checked;
}

TEST(ToolCommands, EveryCommandOnceWithAKindOfTheCatalogue) {
    std::set<uint32_t> seen;
    for (const SToolCommand& tool : GetToolCommands()) {
        EXPECT_TRUE(seen.insert(tool.command).second) << tool.command;
        if (tool.kind != ElmntKind::None) {
            EXPECT_NE(FindKind(tool.kind), nullptr) << tool.command;
        }
        EXPECT_EQ(FindToolCommand(tool.command), &tool);
    }
    EXPECT_EQ(FindToolCommand(32804), nullptr); // "?cm Rohr" asks for its length first
}

TEST(ToolCommands, ANewViewShowsTheThirtyFiveCentimetreTube) {
    EXPECT_EQ(CheckedCommands(CViewState{}), (std::set<uint32_t>{32801}));
}

TEST(ToolCommands, EachToolIsCheckedAloneAfterItsCommand) {
    for (const SToolCommand& tool : GetToolCommands()) {
        SCOPED_TRACE(tool.command);
        CViewState state;
        state.tool.mode = M::Select;
        ApplyToolCommand(tool, state);
        EXPECT_EQ(state.tool.mode, tool.mode);
        EXPECT_EQ(state.tool.kind, tool.kind);
        EXPECT_EQ(CheckedCommands(state), (std::set<uint32_t>{tool.command}));
    }
}

TEST(ToolCommands, SizesKindsAndArmsTheyGive) {
    CViewState state;
    ApplyToolCommand(*FindToolCommand(32908), state); // half panel
    EXPECT_EQ(state.tool.mode, M::PanelFirstTube);
    EXPECT_EQ(state.tool.kind, ElmntKind::Panel);
    EXPECT_EQ(state.tool.panelWidth, 350.0f);
    EXPECT_EQ(state.tool.panelLength, 150.0f);
    EXPECT_EQ(state.tool.length, 350.0f);

    ApplyToolCommand(*FindToolCommand(32948), state); // 15 cm flexible bolt
    EXPECT_EQ(state.tool.length, 150.0f);
    EXPECT_EQ(state.tool.panelLength, 150.0f); // sizes not named keep their values

    // Box sides and select tools set no kind; select redraws even when already in force.
    CViewState select;
    select.tool.mode = M::Select;
    EXPECT_TRUE(ApplyToolCommand(*FindToolCommand(32809), select).invalidate);
    EXPECT_EQ(select.tool.kind, ElmntKind::None);
    // From select to insert, the selection goes.
    EXPECT_TRUE(ApplyToolCommand(*FindToolCommand(32801), select).clearSelection);
}

TEST(ToolCommands, PlacementVariantsOfCouplingTools) {
    CViewState state;
    // The tube tool has no variants: nothing happens.
    EXPECT_FALSE(CanApplyPlacementVariant(32970, state));
    EXPECT_FALSE(ApplyPlacementVariant(32970, state));
    EXPECT_EQ(state.tool.mode, M::AtConnection);
    EXPECT_EQ(state.tool.kind, ElmntKind::Tube);

    // A hole coupling goes to a tube end and back to a connector, keeping its kind and arms.
    ApplyToolCommand(*FindToolCommand(32926), state);
    EXPECT_TRUE(IsPlacementVariantChecked(32969, state));
    ASSERT_TRUE(ApplyPlacementVariant(32970, state));
    EXPECT_EQ(state.tool.mode, M::AtTubeEnd);
    EXPECT_EQ(state.tool.kind, ElmntKind::HoleConnector);
    EXPECT_EQ(state.tool.holeArms, 12u);
    EXPECT_EQ(CheckedCommands(state), (std::set<uint32_t>{32926}));
    EXPECT_TRUE(IsPlacementVariantChecked(32970, state));
    EXPECT_FALSE(IsPlacementVariantChecked(32969, state));
    EXPECT_FALSE(CanApplyPlacementVariant(32972, state)); // not a bearing coupling
    ASSERT_TRUE(ApplyPlacementVariant(32969, state));
    EXPECT_EQ(state.tool.mode, M::AtConnection);

    // The bearing coupling goes onto a tube.
    ApplyToolCommand(*FindToolCommand(32928), state);
    ASSERT_TRUE(ApplyPlacementVariant(32972, state));
    EXPECT_EQ(state.tool.mode, M::OnPickedMultiWheel);
    EXPECT_EQ(state.tool.kind, ElmntKind::BearingConnector);
    EXPECT_EQ(CheckedCommands(state), (std::set<uint32_t>{32928}));
    EXPECT_FALSE(CanApplyPlacementVariant(32970, state));
}

// ---- Window geometry ----------------------------------------------------------------------------

TEST(Viewport, CentredInThePictureFormat) {
    CCmra camera;
    camera.pictureFormat = PictureFormat::Photo; // 3 : 2
    camera.Update();
    EXPECT_EQ(ComputeViewport(1000, 400, &camera), (SViewport{200, 0, 600, 400}));
    EXPECT_EQ(ComputeViewport(300, 400, &camera), (SViewport{0, 100, 300, 200}));
    // A width that leaves an odd remainder: the left gap is rounded down.
    EXPECT_EQ(ComputeViewport(1001, 400, &camera), (SViewport{200, 0, 600, 400}));
    camera.pictureFormat = PictureFormat::Screen;
    EXPECT_EQ(ComputeViewport(1000, 400, &camera), (SViewport{0, 0, 1000, 400}));
    EXPECT_EQ(ComputeViewport(640, 480, nullptr), (SViewport{0, 0, 640, 480}));
}

TEST(SegmentDistance, ToTheNearestPointOfTheSegment) {
    const float segment[4] = {10.0f, 10.0f, 20.0f, 10.0f};
    EXPECT_DOUBLE_EQ(SegmentDistance(segment, 15.0, 13.0), 3.0);
    EXPECT_DOUBLE_EQ(SegmentDistance(segment, 24.0, 10.0), 4.0); // beyond the end
    EXPECT_DOUBLE_EQ(SegmentDistance(segment, 7.0, 14.0), 5.0);  // before the start
    const float point[4] = {5.0f, 5.0f, 5.0f, 5.0f};
    EXPECT_DOUBLE_EQ(SegmentDistance(point, 8.0, 9.0), 5.0);
}

// ---- The command tables --------------------------------------------------------------------

TEST(ViewCommands, EveryRowOnceAndRunOnTheViewsContext) {
    std::set<uint32_t> seen;
    for (const SViewCommand& row : GetViewCommands()) {
        EXPECT_TRUE(seen.insert(row.command).second) << row.command;
        EXPECT_EQ(FindViewCommand(row.command), &row);
    }
    EXPECT_EQ(FindViewCommand(0), nullptr);

    // A tool row through the table: the tool, its check, and the snap option off.
    CZarnelDcmt dcmt;
    CViewState state;
    CViewCamera camera;
    camera.BindDefault();
    SAppOptions options;
    options.wideSnap = true;
    SViewContext context{&dcmt, state, camera, options};
    const SViewCommand* select = FindViewCommand(32809);
    ASSERT_NE(select, nullptr);
    EXPECT_FALSE(select->isChecked(context, 32809));
    const SViewChange change = select->run(context, 32809);
    EXPECT_EQ(state.tool.mode, M::Select);
    EXPECT_TRUE(select->isChecked(context, 32809));
    EXPECT_EQ(change.wideSnap, std::optional<bool>(false));
    EXPECT_TRUE(change.invalidate);

    // Panning needs an upright camera: a turned one keeps the tool and says why.
    TestUi().Reset();
    dcmt.GetCamera(0).cameraTurn = 30;
    const SViewCommand* pan = FindViewCommand(32777);
    ASSERT_NE(pan, nullptr);
    pan->run(context, 32777);
    EXPECT_EQ(state.tool.mode, M::Select);
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
    dcmt.GetCamera(0).cameraTurn = 0;
    pan->run(context, 32777);
    EXPECT_TRUE(pan->isChecked(context, 32777));

    // Without a design nothing is bound; the rules still answer.
    CViewCamera unbound;
    SViewContext empty{nullptr, state, unbound, SAppOptions{}};
    EXPECT_EQ(empty.GetCamera(), nullptr);
    EXPECT_FALSE(FindViewCommand(32970)->isEnabled(empty, 32970));
}

TEST(ViewChange, AddsUp) {
    SViewChange change = SViewChange::Redraw();
    SViewChange other = SViewChange::Beep();
    other.hint = ViewHint::Change;
    other.wideSnap = false;
    change |= other;
    SViewChange everything;
    everything.hint = ViewHint::Everything;
    change |= everything;
    change |= other;
    EXPECT_TRUE(change.invalidate && change.beep);
    EXPECT_EQ(change.hint, ViewHint::Everything);
    EXPECT_EQ(change.wideSnap, std::optional<bool>(false));
}

TEST(PrintLayout, MarginsAndThePictureOfTheViewportsShape) {
    EXPECT_EQ(MulDiv(2500, 600, 2540), 591); // 590.55
    EXPECT_EQ(MulDiv(1500, 600, 2540), 354); // 354.33
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);

    // A4 portrait at 600 dpi with a printable area 100 pixels in from every edge.
    const SPrintPage page{4961, 7016, 100, 100, 4761, 6816, 600, 600};
    const SPrintLayout wide = ComputePrintLayout(page, {2500, 1500, 1500, 1500}, 800, 400);
    EXPECT_EQ(wide.left, 591);
    EXPECT_EQ(wide.top, 354);
    EXPECT_EQ(wide.right, 4961 - 354);
    EXPECT_EQ(wide.bottom, 7016 - 354);
    // Twice as wide as high: the available width, half as much height.
    EXPECT_EQ(wide.pictureWidth, 4016);
    EXPECT_EQ(wide.pictureHeight, 2008);
    EXPECT_EQ(wide.ByteEstimate(), int64_t{4016} * 2008 * 8);

    // Taller than the page allows: the available height.
    const SPrintLayout tall = ComputePrintLayout(page, {2500, 1500, 1500, 1500}, 100, 400);
    EXPECT_EQ(tall.pictureHeight, 7016 - 2 * 354);
    EXPECT_EQ(tall.pictureWidth, MulDiv(7016 - 2 * 354, 100, 400));

    const SPrintLayout none = ComputePrintLayout(page, {2500, 1500, 1500, 1500}, 0, 400);
    EXPECT_EQ(none.pictureWidth, 0);
    EXPECT_EQ(none.pictureHeight, 0);
}

} // namespace
