// The mouse rules of the 3D view on a tiny design in a headless GL context: selecting with
// plain, Ctrl and Shift clicks and the article designation for the status bar, group selection,
// the flexible joint's alternation, the pan drag's arithmetic and camera move, the dialogs that
// a click asks for, and the double click.
#include <gtest/gtest.h>

#include "app/view/ViewMouse.h"
#include "tests/app/view/ViewPickTestKit.h"

namespace {

using K = ElmntKind;
using M = ToolMode;

class ViewMouse : public ViewPickTest {
protected:
    SMouseEvent Event(const CVector3& at, bool ctrl = false, bool shift = false) {
        const auto [x, y] = Window(at);
        SMouseEvent event;
        event.x = x;
        event.y = y;
        event.windowX = x;
        event.windowY = Size - 1 - y;
        event.ctrl = ctrl;
        event.shift = shift;
        event.leftDown = true;
        return event;
    }
    SMouseResult Down(const SMouseEvent& event) {
        SViewContext context = Context();
        CGlScenePicker picker = Picker();
        return OnLeftDown(context, picker, event);
    }
    SMouseResult Double(const SMouseEvent& event) {
        SViewContext context = Context();
        CGlScenePicker picker = Picker();
        return OnDoubleClick(context, picker, event);
    }
    std::vector<ElmntId> Selected() {
        std::vector<ElmntId> ids;
        for (CElmnt& elmnt : m_dcmt.GetAliveElements()) {
            if (elmnt.selected) {
                ids.push_back(elmnt.GetId());
            }
        }
        return ids;
    }
};

const CVector3 kLeft{-300.0, 200.0, 0.0};
const CVector3 kRight{300.0, 200.0, 0.0};
const CVector3 kSky{-2000.0, 2500.0, 0.0};

TEST_F(ViewMouse, SelectWithPlainCtrlAndShiftClicks) {
    const ElmntId left = Put(K::Tube, {-475.0, 200.0, 0.0}).GetId();
    const ElmntId right = Put(K::Tube, {125.0, 200.0, 0.0}).GetId();
    m_state.SetTool(M::Select);
    SMouseResult result = Down(Event(kLeft));
    EXPECT_EQ(Selected(), std::vector<ElmntId>{left});
    ASSERT_TRUE(result.change.statusText);
    EXPECT_NE(result.change.statusText->find("Rohr"), std::string::npos);
    EXPECT_EQ(result.change.hint, ViewHint::Selection);
    // Shift adds, a plain click replaces.
    Down(Event(kRight, false, true));
    EXPECT_EQ(Selected(), (std::vector<ElmntId>{left, right}));
    Down(Event(kRight));
    EXPECT_EQ(Selected(), std::vector<ElmntId>{right});
    // Ctrl toggles, and still names the element.
    result = Down(Event(kRight, true));
    EXPECT_TRUE(Selected().empty());
    EXPECT_TRUE(result.change.statusText);
    // Ctrl or Shift on nothing: a beep, the selection stays, no text.
    Down(Event(kLeft));
    for (bool ctrl : {true, false}) {
        result = Down(Event(kSky, ctrl, !ctrl));
        EXPECT_TRUE(result.change.beep);
        EXPECT_FALSE(result.change.hint);
        EXPECT_EQ(Selected(), std::vector<ElmntId>{left});
    }
    // A plain click on nothing clears the selection and leaves the status text.
    result = Down(Event(kSky));
    EXPECT_TRUE(Selected().empty());
    EXPECT_FALSE(result.change.statusText);
    EXPECT_FALSE(result.change.beep);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), 2u) << "selecting opens no revision";
}

TEST_F(ViewMouse, GroupSelectTakesTheConnectedElements) {
    m_state.SetTool(M::AtConnection);
    m_state.tool.kind = K::Tube;
    SViewContext context = Context();
    CGlScenePicker picker = Picker();
    ASSERT_FALSE(OnLeftDown(context, picker, Event({150.0, 0.0, 0.0})).change.beep);
    const ElmntId apart = Put(K::Tube, {-475.0, 400.0, 0.0}).GetId();
    m_state.SetTool(M::SelectGroup);
    Down(Event({200.0, 0.0, 0.0}));
    const std::vector<ElmntId> group = Selected();
    EXPECT_EQ(group.size(), 3u) << "the tube and its two couplings";
    EXPECT_EQ(std::count(group.begin(), group.end(), apart), 0);
    // Shift adds the other group; Ctrl on a selected element deselects its group.
    Down(Event({-300.0, 400.0, 0.0}, false, true));
    EXPECT_EQ(Selected().size(), 4u);
    Down(Event({200.0, 0.0, 0.0}, true));
    EXPECT_EQ(Selected(), std::vector<ElmntId>{apart});
    EXPECT_TRUE(Down(Event(kSky, true)).change.beep);
}

TEST_F(ViewMouse, FlexibleJointAlternatesWhateverTheClickDid) {
    m_state.SetTool(M::AtConnection);
    m_state.tool.kind = K::FlexiConnector;
    EXPECT_TRUE(Down(Event(kSky)).change.beep);
    EXPECT_EQ(m_state.tool.mode, M::OnPickedFlexiArm);
    Down(Event(kSky));
    EXPECT_EQ(m_state.tool.mode, M::AtConnection);
    m_state.tool.mode = M::AtTubeEnd;
    Down(Event(kSky));
    EXPECT_EQ(m_state.tool.mode, M::OnPickedFlexiArm);
    // Another kind keeps its mode.
    m_state.tool.kind = K::Tube;
    m_state.tool.mode = M::AtConnection;
    Down(Event(kSky));
    EXPECT_EQ(m_state.tool.mode, M::AtConnection);
}

TEST_F(ViewMouse, PanDragMovesTheCameraOnRelease) {
    // One pixel at 3200 mm with 40° over 256 pixels is 0.91 cm.
    EXPECT_NEAR(std::tan(20.0 * 3.14159265358979 / 180.0) * 2.0 * 320.0 / 256.0, 0.91, 0.01);
    EXPECT_EQ(PanCameraStep(40.0, 320.0f, 256, 100, -50).across, 90);
    EXPECT_EQ(PanCameraStep(40.0, 320.0f, 256, 100, -50).up, -45);
    EXPECT_EQ(PanCameraStep(40.0, 320.0f, 256, 1, -1).across, 0) << "cut towards zero";
    EXPECT_EQ(PanCameraStep(40.0, 320.0f, 256, 1, -1).up, 0);
    EXPECT_EQ(PanCameraStep(40.0, 320.0f, 0, 100, 100).across, 0) << "no viewport";

    Put(K::Tube, {-175.0, 200.0, 0.0});
    m_state.SetTool(M::Pan);
    m_dcmt.SetModified(false);
    EXPECT_TRUE(Down(Event(kSky)).change.beep);
    EXPECT_FALSE(m_state.pan.dragging);
    const SMouseEvent start = Event({0.0, 200.0, 0.0});
    const SMouseResult grabbed = Down(start);
    EXPECT_TRUE(grabbed.captureMouse);
    ASSERT_TRUE(m_state.pan.dragging);
    EXPECT_NEAR(m_state.pan.grabDepth, 320.0, 4.0);
    // The line follows the pointer while the button is held.
    SMouseEvent moved = start;
    moved.windowX += 100;
    moved.windowY += 50;
    SViewContext context = Context();
    EXPECT_TRUE(OnMouseMove(context, moved).invalidate);
    EXPECT_TRUE(m_state.pan.rubberLineShown);
    EXPECT_EQ(m_state.pan.pointX, start.windowX + 100);
    const CCmra before = m_dcmt.GetCamera(0);
    const SViewChange released = OnLeftUp(context, moved, Size);
    EXPECT_TRUE(released.invalidate);
    EXPECT_FALSE(m_state.pan.dragging);
    EXPECT_FALSE(m_state.pan.rubberLineShown);
    const SPanStep step = PanCameraStep(before.fieldOfView, m_state.pan.grabDepth, Size, 100, 50);
    EXPECT_GT(step.across, 80);
    EXPECT_EQ(m_dcmt.GetCamera(0).cameraLeftRight, before.cameraLeftRight + step.across);
    EXPECT_EQ(m_dcmt.GetCamera(0).cameraHeight, before.cameraHeight + step.up);
    EXPECT_TRUE(m_dcmt.IsModified()) << "the design's camera changed";

    // A lost capture ends the drag without a move and takes the line away.
    // The camera moved: the tube is elsewhere in the picture now.
    const SMouseEvent again = Event({0.0, 200.0, 0.0});
    ASSERT_TRUE(Down(again).captureMouse);
    moved = again;
    moved.windowX += 30;
    OnMouseMove(context, moved);
    const CCmra kept = m_dcmt.GetCamera(0);
    EXPECT_TRUE(CancelPanDrag(m_state).invalidate);
    EXPECT_FALSE(OnLeftUp(context, moved, Size).invalidate);
    EXPECT_EQ(m_dcmt.GetCamera(0).cameraLeftRight, kept.cameraLeftRight);
}

TEST_F(ViewMouse, DialogsAskedForByClicksAndTheDoubleClick) {
    const ElmntId tube = Put(K::Tube, {-175.0, 200.0, 0.0}).GetId();
    // The angle dialog only for couplings, round tubes and bearing couplings.
    m_state.SetTool(M::ChangeAngle);
    EXPECT_TRUE(Down(Event({0.0, 200.0, 0.0})).change.beep);
    SMouseResult result = Down(Event({0.0, 0.0, 0.0}));
    EXPECT_EQ(result.dialog, MouseDialog::Ramp);
    // The surface dialog for an element with a material; nothing on nothing.
    m_state.SetTool(M::ChangeSurface);
    result = Down(Event({0.0, 200.0, 0.0}));
    EXPECT_EQ(result.dialog, MouseDialog::Surface);
    EXPECT_EQ(result.element, tube);
    EXPECT_TRUE(Down(Event(kSky)).change.beep);
    // The current surface: in place, no revision, but the design is modified and told.
    m_state.SetTool(M::SameSurface);
    m_state.tool.categoryMaterials[0] = 7;
    m_dcmt.SetModified(false);
    m_views.hints.clear();
    const Revision newest = m_dcmt.GetNewestRevision();
    EXPECT_FALSE(Down(Event({0.0, 200.0, 0.0})).change.beep);
    EXPECT_EQ(m_dcmt.FindElement(tube)->GetMaterial(), 7);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), newest);
    EXPECT_TRUE(m_dcmt.IsModified());
    EXPECT_EQ(m_views.hints, std::vector<ViewHint>{ViewHint::Change});

    // The double click: properties in select mode, a beep on nothing, nothing in other modes.
    m_state.SetTool(M::Select);
    result = Double(Event({0.0, 200.0, 0.0}));
    EXPECT_EQ(result.dialog, MouseDialog::Properties);
    EXPECT_EQ(result.element, tube);
    EXPECT_TRUE(Double(Event(kSky)).change.beep);
    m_state.SetTool(M::AtConnection);
    m_state.tool.kind = K::Tube;
    result = Double(Event({150.0, 0.0, 0.0}));
    EXPECT_EQ(result.dialog, MouseDialog::None);
    EXPECT_FALSE(result.change.beep);
    EXPECT_EQ(m_dcmt.GetNewestRevision(), newest) << "a double click places nothing";

    EXPECT_EQ(ElementDialogFor(K::Lattice), ElementDialog::Panel);
    EXPECT_EQ(ElementDialogFor(K::ChairSeatBack), ElementDialog::Beep);
    EXPECT_EQ(ElementDialogFor(K::RoundTube), ElementDialog::Tube);
    EXPECT_EQ(ElementDialogFor(K::FlexiConnector), ElementDialog::Connector);
    EXPECT_EQ(ElementDialogFor(K::Alu), ElementDialog::Surface);
    EXPECT_EQ(ElementDialogFor(K::Roof), ElementDialog::None);
    EXPECT_EQ(ElementDialogFor(K::FloorGrid), ElementDialog::Beep);
}

} // namespace
