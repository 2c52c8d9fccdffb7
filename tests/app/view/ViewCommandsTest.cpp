// The camera and display commands of the 3D view run through their table rows on a view's
// context without a window: the model angles' wrap, the default camera, zoom and the two
// perspectives, the section plane kept in its range, the display flags and the one frame of
// selected elements, the walk heights of a known design, automatic adjustment and the snap.
#include <gtest/gtest.h>

#include <memory>

#include "app/frame/CommandIds.h"
#include "app/view/ViewCommand.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "tests/app/checks/CheckDesign.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

namespace C = CommandId;

// A view on a new design, bound to the design's camera 0.
struct SView {
    SView() {
        camera.BindDefault();
        dcmt.SetModified(false);
    }
    SViewChange Run(uint32_t command) {
        const SViewCommand* row = FindViewCommand(command);
        EXPECT_NE(row, nullptr) << command;
        SViewContext context = Context();
        return row != nullptr ? row->run(context, command) : SViewChange();
    }
    bool Checked(uint32_t command) {
        const SViewCommand* row = FindViewCommand(command);
        return row != nullptr && row->isChecked != nullptr && row->isChecked(Context(), command);
    }
    bool Enabled(uint32_t command) {
        const SViewCommand* row = FindViewCommand(command);
        return row != nullptr && (row->isEnabled == nullptr || row->isEnabled(Context(), command));
    }
    SViewContext Context() { return SViewContext{&dcmt, state, camera, options}; }
    CCmra& Cam() { return *camera.Get(&dcmt); }

    CZarnelDcmt dcmt;
    CViewState state;
    CViewCamera camera;
    SAppOptions options;
};

TEST(CameraCommands, ModelAnglesWrapAtZeroAndAfterThreeSixty) {
    SView view;
    view.Cam().modelTurn = 0;
    const SViewChange change = view.Run(C::ModelLeft);
    EXPECT_EQ(view.Cam().modelTurn, 355);
    EXPECT_TRUE(change.cameraChanged && change.invalidate);
    EXPECT_TRUE(view.dcmt.IsModified()) << "the design's camera is saved with it";
    view.Run(C::ModelRight);
    EXPECT_EQ(view.Cam().modelTurn, 360) << "360 itself stays";
    view.Run(C::ModelRight);
    EXPECT_EQ(view.Cam().modelTurn, 5);

    view.Cam().modelTilt = 360;
    view.Run(C::ModelUp);
    EXPECT_EQ(view.Cam().modelTilt, 5);
    // A value read from a file as it stood comes back into the circle.
    view.Cam().modelTurn = 2000;
    view.Run(C::ModelRight);
    EXPECT_EQ(view.Cam().modelTurn, 205);

    // A private copy changes nothing in the design.
    view.Run(C::Camera1);
    ASSERT_EQ(view.camera.GetIndex(), -1);
    view.dcmt.SetModified(false);
    const SViewChange copy = view.Run(C::ModelLeft);
    EXPECT_EQ(view.Cam().modelTurn, 200);
    EXPECT_EQ(view.dcmt.GetCamera(0).modelTurn, 205);
    EXPECT_TRUE(copy.cameraChanged);
    EXPECT_FALSE(view.dcmt.IsModified());
}

TEST(CameraCommands, TheDefaultCameraRecomputesTheViewport) {
    SView view;
    view.Run(C::ViewBelow);
    EXPECT_EQ(view.Cam().modelTilt, 255);
    // The defaults reset the picture format: the viewport is computed again at once.
    view.Cam().pictureFormat = PictureFormat::Cinema;
    view.Cam().nearClip = 400;
    const SViewChange change = view.Run(C::ViewStandard);
    EXPECT_TRUE(change.setViewport && change.cameraChanged);
    EXPECT_EQ(view.Cam().pictureFormat, PictureFormat::Screen);
    EXPECT_EQ(view.Cam().modelTurn, 355);
    EXPECT_EQ(view.Cam().nearClip, 10);
}

TEST(CameraCommands, ZoomAndPerspectivesInWholeTensOfCentimetres) {
    SView view;
    CCmra& camera = view.Cam();
    camera.cameraDistance = 320;
    const int visible = camera.visibleHeight;
    view.Run(C::ZoomIn);
    EXPECT_EQ(camera.cameraDistance, 280);
    EXPECT_LT(camera.visibleHeight, visible) << "the visible size follows";
    // No bound: the distance may go to 0 and below.
    camera.cameraDistance = 0;
    view.Run(C::ZoomIn);
    EXPECT_EQ(camera.cameraDistance, -40);

    // Far from the eye before the middle, visible height 200: 55 + 5 = 60 cm higher.
    camera.eyeUp = 0;
    camera.eyeAcross = 7;
    camera.cameraHeight = 130;
    camera.visibleHeight = 200;
    EXPECT_FALSE(view.Checked(C::PerspectiveNear)) << "an eye moved across checks neither";
    view.Run(C::PerspectiveFar);
    EXPECT_EQ(camera.cameraHeight, 190);
    EXPECT_EQ(camera.eyeUp, 55);
    EXPECT_EQ(camera.eyeAcross, 0);
    EXPECT_TRUE(view.Checked(C::PerspectiveFar));
    EXPECT_FALSE(view.Checked(C::PerspectiveNear));
    // Near with visible height 230: 55 * 230 / 200 = 63.25, + 5, truncated to 60.
    camera.visibleHeight = 230;
    view.Run(C::PerspectiveNear);
    EXPECT_EQ(camera.cameraHeight, 130);
    EXPECT_EQ(camera.eyeUp, 0);
    EXPECT_TRUE(view.Checked(C::PerspectiveNear));
}

TEST(CameraCommands, TheSectionPlaneStaysBetweenElevenAndTwentyBeforeTheFarPlane) {
    SView view;
    CCmra& camera = view.Cam();
    camera.cameraDistance = 320;
    camera.farClip = 3000;
    EXPECT_FALSE(view.Checked(C::SectionPlane));
    EXPECT_FALSE(view.Enabled(C::SectionBack));
    EXPECT_FALSE(view.Enabled(C::SectionFront));
    view.Run(C::SectionPlane);
    EXPECT_EQ(camera.nearClip, 320);
    EXPECT_TRUE(view.Checked(C::SectionPlane));
    EXPECT_TRUE(view.Enabled(C::SectionBack) && view.Enabled(C::SectionFront));
    camera.nearClip = 2970;
    view.Run(C::SectionBack);
    EXPECT_EQ(camera.nearClip, 2980);
    view.Run(C::SectionBack);
    EXPECT_EQ(camera.nearClip, 2980);
    // Brought to the front the plane is off again.
    camera.nearClip = 20;
    view.Run(C::SectionFront);
    EXPECT_EQ(camera.nearClip, 10);
    EXPECT_FALSE(view.Checked(C::SectionPlane));

    // A zoomed camera never puts the near plane at or below 0, nor beyond the far one.
    camera.cameraDistance = -80;
    view.Run(C::SectionPlane);
    EXPECT_EQ(camera.nearClip, 11);
    view.Run(C::SectionPlane);
    camera.cameraDistance = 5000;
    view.Run(C::SectionPlane);
    EXPECT_EQ(camera.nearClip, 2980);
    // A far plane that leaves no room: the plane stays off and the user hears it.
    view.Run(C::SectionPlane);
    camera.farClip = 25;
    const SViewChange refused = view.Run(C::SectionPlane);
    EXPECT_TRUE(refused.beep);
    EXPECT_FALSE(refused.cameraChanged);
    EXPECT_EQ(camera.nearClip, 10);
}

TEST(DisplayCommands, FlagsExplosionAndOneFrameOfTheSelection) {
    SView view;
    // Explosion brings the connector ends; switching those off keeps the explosion.
    EXPECT_TRUE(view.Run(C::Explosion).invalidate);
    EXPECT_EQ(view.state.display.flags, DrawFlags::Explosion | DrawFlags::ConnectorEnds);
    EXPECT_TRUE(view.Checked(C::Explosion) && view.Checked(C::ConnectorEnds));
    view.Run(C::ConnectorEnds);
    EXPECT_EQ(view.state.display.flags, DrawFlags::Explosion);
    view.Run(C::ConnectorEnds);
    view.Run(C::Explosion);
    EXPECT_EQ(view.state.display.flags, DrawFlags::None);

    // The selection alone for the frame drawn at once; every later frame shows all again.
    view.Run(C::WithoutPanels);
    const SViewChange once = view.Run(C::OnlySelected);
    EXPECT_TRUE(once.repaintNow);
    EXPECT_EQ(view.state.TakeFrameFlags(), DrawFlags::OnlySelected);
    EXPECT_TRUE(view.Checked(C::OnlySelected));
    // Pressed again while it is shown: only drawn again.
    const SViewChange again = view.Run(C::OnlySelected);
    EXPECT_FALSE(again.repaintNow);
    EXPECT_TRUE(again.invalidate);
    EXPECT_EQ(view.state.TakeFrameFlags(), DrawFlags::WithoutPanels);
    EXPECT_FALSE(view.Checked(C::OnlySelected));
    EXPECT_EQ(view.state.display.flags, DrawFlags::WithoutPanels);

    // The snap option is the application's: the row asks for the other value.
    view.options.wideSnap = true;
    EXPECT_TRUE(view.Checked(C::WideSnap));
    EXPECT_EQ(view.Run(C::WideSnap).wideSnap, std::optional<bool>(false));
    EXPECT_FALSE(view.dcmt.IsModified()) << "no display option is part of the design";
}

TEST(DisplayCommands, WalkHeightsOfEachGroupWithCouplings) {
    CCheckDesign design;
    // A frame 400 mm wide and 800 mm deep, its couplings from 1000 to 1800 mm high.
    design.Put(ElmntKind::Tube, {0, 1000, 0}, 350.0f, AlongX, 0.0f, true);
    design.Put(ElmntKind::Tube, {0, 1000, 0}, 750.0f, AlongY, 0.0f, true);
    design.Put(ElmntKind::Tube, {400, 1000, 0}, 750.0f, AlongZ, 0.0f, true);
    // A tube on its own has no couplings: an empty box, which gives no walk box.
    design.Put(ElmntKind::Tube, {5000, 0, 0}, 350.0f, AlongX);
    CViewState state;
    CViewCamera camera;
    camera.BindDefault();
    SViewContext context{&design.Dcmt(), state, camera, SAppOptions{}};
    const SViewCommand* row = FindViewCommand(C::WalkHeight);
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->isChecked(context, C::WalkHeight));
    EXPECT_TRUE(row->run(context, C::WalkHeight).invalidate);
    EXPECT_TRUE(row->isChecked(context, C::WalkHeight));

    // The start coupling at the origin, then the frame: as high as it is narrow above its
    // lowest coupling, at most its top.
    ASSERT_EQ(state.display.walkBoxes.size(), 2u);
    EXPECT_EQ(state.display.walkBoxes[0].height, 0.0);
    const SWalkBox& frame = state.display.walkBoxes[1];
    EXPECT_DOUBLE_EQ(frame.minX, 0.0);
    EXPECT_DOUBLE_EQ(frame.maxX, 400.0);
    EXPECT_DOUBLE_EQ(frame.minZ, 0.0);
    EXPECT_DOUBLE_EQ(frame.maxZ, 800.0);
    EXPECT_DOUBLE_EQ(frame.height, 1400.0);

    // A snapshot until the command is given twice.
    design.Put(ElmntKind::Tube, {0, 1800, 0}, 750.0f, AlongX, 0.0f, true);
    EXPECT_EQ(state.display.walkBoxes.size(), 2u);
    row->run(context, C::WalkHeight);
    EXPECT_TRUE(state.display.walkBoxes.empty());
    EXPECT_FALSE(row->isChecked(context, C::WalkHeight));
}

TEST(DisplayCommands, AutomaticAdjustmentSwitchedOnAdjustsInARevisionOfItsOwn) {
    SView view;
    const Revision r = view.dcmt.NewRevision();
    // A fixed coupling 410 mm from the start coupling and a 350 mm tube between them: 10 mm to
    // close.
    view.dcmt.AddElement(std::make_unique<CElmnt>(view.dcmt.GetIdSource(), r, ElmntKind::Connector,
                                                  2, CTransform({}, {410, 0, 0}), true, 0.0f,
                                                  0.0f));
    CElmnt& tube = view.dcmt.AddElement(std::make_unique<CElmnt>(
        view.dcmt.GetIdSource(), r, ElmntKind::Tube, 2, CTransform(), false, 350.0f, 0.0f));
    const ElmntId tubeId = tube.GetId();
    view.dcmt.SetModified(false);
    ASSERT_TRUE(view.state.tool.autoAdjust);
    EXPECT_TRUE(view.Checked(C::AutoAdjust));

    // Off: nothing moves.
    view.Run(C::AutoAdjust);
    EXPECT_FALSE(view.Checked(C::AutoAdjust));
    EXPECT_EQ(view.dcmt.GetCurrentRevision(), r);
    EXPECT_FALSE(view.dcmt.IsModified());

    // On: the whole design at once, undoable, and the design is modified.
    view.Run(C::AutoAdjust);
    EXPECT_TRUE(view.Checked(C::AutoAdjust));
    EXPECT_EQ(view.dcmt.GetCurrentRevision(), r + 1);
    EXPECT_TRUE(view.dcmt.IsModified());
    const CElmnt* adjusted = view.dcmt.FindElement(tubeId);
    ASSERT_NE(adjusted, nullptr);
    EXPECT_NEAR(adjusted->correction, 10.0f, 1e-3);
    view.dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(view.dcmt.GetCurrentRevision(), r);
    for (const CElmnt& elmnt : view.dcmt.GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Tube) {
            EXPECT_EQ(elmnt.correction, 0.0f) << "undone";
        }
    }
}

} // namespace
