// What the camera dialog does with a camera: after the user changed one field, the field of view
// follows from the field that decides it and the derived values are recomputed; the result goes
// back to the view's camera as one change of the document.
#pragma once

class CCmra;
class CZarnelDcmt;

// The fields of the camera dialog that a change can recompute from.
enum class CmraField {
    CameraDistance, // with the angles not fixed, the visible height stays and the angles follow
    VisibleHeight,
    VisibleWidth,
    FovHorizontal,
    FovVertical,
    FocalLength,
    PictureFormat,
    UserRatio, // either part of the user-defined picture format
};

// The new value of the field is already in the camera. Sets the field of view from it (a value
// that gives no finite field of view leaves it as it was) and recomputes the derived values with
// CCmra::Update. keepAngles is the dialog's "Fix" beside the angles: a new distance then keeps
// the field of view and changes the visible size; without it the visible height stays.
void CmraFieldChanged(CCmra& camera, CmraField field, bool keepAngles);

// Puts the edited values into the camera the view shows. When the camera is one of the
// document's four and anything changed, the document is marked modified. Every view of the
// document is updated when anything changed; true then.
bool ApplyCamera(CZarnelDcmt& dcmt, CCmra& camera, const CCmra& edited);
