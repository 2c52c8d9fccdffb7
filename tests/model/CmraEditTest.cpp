// The camera dialog's recomputations after one field changed (worked examples), and the
// edited camera applied to a document's camera or to a view's own.
#include <cmath>

#include <gtest/gtest.h>

#include "model/Cmra.h"
#include "model/CmraEdit.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

class CountingObserver : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override {
        ++updates;
        last = hint;
    }
    int updates = 0;
    ViewHint last = ViewHint::Change;
};

} // namespace

TEST(CmraFieldChanged, WorkedExamples) {
    // Fixed angles: a new distance keeps the field of view and widens the visible area.
    CCmra camera;
    camera.cameraDistance = 640;
    CmraFieldChanged(camera, CmraField::CameraDistance, true);
    EXPECT_EQ(camera.fieldOfView, 40.0);
    EXPECT_EQ(camera.visibleHeight, 466);

    // Fixed size: the visible height stays and the angle narrows.
    camera = CCmra();
    camera.cameraDistance = 640;
    CmraFieldChanged(camera, CmraField::CameraDistance, false);
    EXPECT_NEAR(camera.fieldOfView, 20.63, 0.01);
    EXPECT_EQ(camera.fieldOfViewVertical, 21);
    EXPECT_EQ(camera.visibleHeight, 233);

    camera = CCmra();
    camera.pictureFormat = PictureFormat::Cinema;
    CmraFieldChanged(camera, CmraField::PictureFormat, true);
    EXPECT_EQ(camera.fieldOfViewHorizontal, 66);

    camera = CCmra();
    camera.focalLength = 33;
    CmraFieldChanged(camera, CmraField::FocalLength, true);
    EXPECT_NEAR(camera.fieldOfView, 39.97, 0.01);
    EXPECT_EQ(camera.fieldOfViewVertical, 40);
}

TEST(CmraFieldChanged, EachFieldGivesTheFieldOfViewBack) {
    // From a photo camera at 40°, each derived value typed as shown gives about 40° again.
    CCmra shown;
    shown.pictureFormat = PictureFormat::Photo;
    shown.Update();
    ASSERT_EQ(shown.visibleWidth, 349);
    struct SCase {
        CmraField field;
        int CCmra::*member;
    };
    for (const SCase c : {SCase{CmraField::VisibleHeight, &CCmra::visibleHeight},
                          SCase{CmraField::VisibleWidth, &CCmra::visibleWidth},
                          SCase{CmraField::FovHorizontal, &CCmra::fieldOfViewHorizontal},
                          SCase{CmraField::FovVertical, &CCmra::fieldOfViewVertical},
                          SCase{CmraField::FocalLength, &CCmra::focalLength}}) {
        SCOPED_TRACE(static_cast<int>(c.field));
        CCmra camera = shown;
        camera.fieldOfView = 90.0; // must be replaced
        CmraFieldChanged(camera, c.field, true);
        EXPECT_NEAR(camera.fieldOfView, 40.0, 0.5); // from values rounded to whole units
        EXPECT_EQ(camera.*(c.member), shown.*(c.member));
    }
}

TEST(CmraFieldChanged, NoNumberKeepsTheFieldOfView) {
    CCmra camera;
    camera.fieldOfView = 35.0;
    camera.cameraDistance = 0;
    camera.visibleHeight = 0; // 0 / 0
    CmraFieldChanged(camera, CmraField::VisibleHeight, true);
    EXPECT_EQ(camera.fieldOfView, 35.0);
    camera.focalLength = 0; // 12 / 0 is 180°, which the camera keeps within its limit
    CmraFieldChanged(camera, CmraField::FocalLength, true);
    EXPECT_EQ(camera.fieldOfView, CCmra::kMaxFieldOfView);
}

TEST(ApplyCamera, MarksTheDocumentOnlyForItsOwnChangedCamera) {
    CZarnelDcmt dcmt;
    CountingObserver view;
    dcmt.AddObserver(view);
    CCmra& own = dcmt.GetCamera(2);
    own.viewportWidth = 800;
    own.viewportHeight = 600;

    EXPECT_FALSE(ApplyCamera(dcmt, own, own));
    EXPECT_FALSE(dcmt.IsModified());
    EXPECT_EQ(view.updates, 0);

    CCmra edited = own;
    edited.cameraHeight = 200;
    edited.viewportWidth = 1; // the dialog's copy may carry an old viewport
    edited.viewportHeight = 1;
    EXPECT_TRUE(ApplyCamera(dcmt, own, edited));
    EXPECT_TRUE(dcmt.IsModified());
    EXPECT_EQ(own.cameraHeight, 200);
    EXPECT_EQ(own.viewportWidth, 800) << "the viewport stays the window's";
    EXPECT_EQ(view.updates, 1);
    EXPECT_EQ(view.last, ViewHint::Everything);

    // A view's own camera is no part of the design.
    dcmt.SetModified(false);
    CCmra viewsOwn;
    EXPECT_TRUE(ApplyCamera(dcmt, viewsOwn, edited));
    EXPECT_FALSE(dcmt.IsModified());
    EXPECT_EQ(viewsOwn.cameraHeight, 200);
    dcmt.RemoveObserver(view);
}
