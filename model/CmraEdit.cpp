// The camera dialog's recomputations: each field that decides the field of view gives it by the
// geometry of a picture 24 mm high (focal length) or of the visible area at the camera distance.
#include "model/CmraEdit.h"

#include <cmath>

#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "support/AngleConstants.h"

namespace {

void SetFieldOfView(CCmra& camera, double degrees) {
    if (std::isfinite(degrees)) {
        camera.fieldOfView = degrees;
    }
}

// The full angle whose half has the tangent.
double FullAngle(double halfTangent) {
    return 2.0 * std::atan(halfTangent) * RAD2DEG;
}

// Every value that a design file keeps; the viewport belongs to the window.
bool SameSaved(const CCmra& a, const CCmra& b) {
    return a.aspect == b.aspect && a.fieldOfView == b.fieldOfView &&
           a.cameraDistance == b.cameraDistance && a.cameraHeight == b.cameraHeight &&
           a.cameraLeftRight == b.cameraLeftRight && a.cameraTurn == b.cameraTurn &&
           a.cameraTilt == b.cameraTilt && a.modelDistance == b.modelDistance &&
           a.modelHeight == b.modelHeight && a.modelLeftRight == b.modelLeftRight &&
           a.modelTurn == b.modelTurn && a.modelTilt == b.modelTilt && a.eyeAcross == b.eyeAcross &&
           a.eyeUp == b.eyeUp && a.visibleHeight == b.visibleHeight &&
           a.visibleWidth == b.visibleWidth && a.fieldOfViewVertical == b.fieldOfViewVertical &&
           a.fieldOfViewHorizontal == b.fieldOfViewHorizontal && a.focalLength == b.focalLength &&
           a.farClip == b.farClip && a.nearClip == b.nearClip &&
           a.pictureFormat == b.pictureFormat && a.userRatioWidth == b.userRatioWidth &&
           a.userRatioHeight == b.userRatioHeight;
}

} // namespace

void CmraFieldChanged(CCmra& camera, CmraField field, bool keepAngles) {
    const double distance = camera.cameraDistance;
    switch (field) {
    case CmraField::CameraDistance:
        if (!keepAngles) {
            SetFieldOfView(camera, FullAngle(camera.visibleHeight * 0.5 / distance));
        }
        break;
    case CmraField::VisibleHeight:
        SetFieldOfView(camera, FullAngle(camera.visibleHeight * 0.5 / distance));
        break;
    case CmraField::VisibleWidth:
        SetFieldOfView(camera, FullAngle(camera.visibleWidth / camera.aspect * 0.5 / distance));
        break;
    case CmraField::FovHorizontal:
        SetFieldOfView(camera, FullAngle(std::tan(camera.fieldOfViewHorizontal * DEG2RAD * 0.5) /
                                         camera.aspect));
        break;
    case CmraField::FovVertical:
        SetFieldOfView(camera, camera.fieldOfViewVertical);
        break;
    case CmraField::FocalLength:
        SetFieldOfView(camera, FullAngle(12.0 / camera.focalLength));
        break;
    case CmraField::PictureFormat:
    case CmraField::UserRatio:
        break;
    }
    camera.Update();
}

bool ApplyCamera(CZarnelDcmt& dcmt, CCmra& camera, const CCmra& edited) {
    if (SameSaved(camera, edited)) {
        return false;
    }
    // The viewport stays the window's.
    const int width = camera.viewportWidth;
    const int height = camera.viewportHeight;
    camera = edited;
    camera.viewportWidth = width;
    camera.viewportHeight = height;
    for (int i = 0; i < CZarnelDcmt::kCameraCount; ++i) {
        if (&dcmt.GetCamera(i) == &camera) {
            dcmt.SetModified(true);
        }
    }
    dcmt.UpdateAllViews(ViewHint::Everything);
    return true;
}
