// The camera commands of the 3D view: turning and tilting the model, the standard views, the four
// cameras, zoom, the near and far perspective and the section plane. Each works on the camera the
// view has bound (CViewCamera); a change of one of the design's cameras marks the design modified
// (the camera is saved with it) and redraws every window that shows it, a private copy changes
// nothing in the design. Camera values are centimetres and degrees.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <vector>

#include "app/frame/CommandIds.h"
#include "app/view/PrintLayout.h"
#include "app/view/ViewCommand.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr int kTurnStep = 5;       // degrees per press of a model turn or tilt
constexpr int kZoomStep = 40;      // cm of camera distance per zoom
constexpr int kSectionOff = 10;    // near clipping distance while no section plane is on, cm
constexpr int kSectionStep = 20;   // cm per press of "nach hinten" / "nach vorne"
constexpr int kSectionMin = 11;    // the nearest a section plane may lie, cm
constexpr int kSectionFarGap = 20; // the section plane stays this far before the far plane, cm
constexpr int kFarEyeUp = 55;      // eye offset up of the far perspective, hundredths

// Adds without leaving the int range (a camera read from a file may hold any int).
int AddClamped(int value, long long step) {
    return static_cast<int>(std::clamp<long long>(value + step, INT_MIN, INT_MAX));
}

// One step of a model angle: above 360 it is reduced by 360, below 0 increased by 360, so that
// 360 itself stays (355 + 5 gives 360, and only 360 + 5 gives 5). A value that is still outside
// after one reduction (read from a file as it stood) is brought into [0, 360).
int StepAngle(int angle, int step) {
    long long result = static_cast<long long>(angle) + step;
    if (result > 360) {
        result -= 360;
    } else if (result < 0) {
        result += 360;
    }
    if (result < 0 || result > 360) {
        result = ((result % 360) + 360) % 360;
    }
    return static_cast<int>(result);
}

// What every change of the camera asks: the design marked modified when the camera is one of
// its own, and every window that shows the camera drawn again.
SViewChange CameraChanged(SViewContext& context) {
    if (context.camera.IsDesignCamera() && context.dcmt != nullptr) {
        context.dcmt->SetModified(true);
    }
    SViewChange change = SViewChange::Redraw();
    change.cameraChanged = true;
    return change;
}

// ---- Model turn and tilt, standard views ------------------------------------------------------

SViewChange RunModelTurn(SViewContext& context, uint32_t command) {
    CCmra* camera = context.GetCamera();
    if (camera == nullptr) {
        return {};
    }
    switch (command) {
    case CommandId::ModelRight:
        camera->modelTurn = StepAngle(camera->modelTurn, kTurnStep);
        break;
    case CommandId::ModelLeft:
        camera->modelTurn = StepAngle(camera->modelTurn, -kTurnStep);
        break;
    case CommandId::ModelUp:
        camera->modelTilt = StepAngle(camera->modelTilt, kTurnStep);
        break;
    case CommandId::ModelDown:
        camera->modelTilt = StepAngle(camera->modelTilt, -kTurnStep);
        break;
    default:
        return {};
    }
    return CameraChanged(context);
}

struct SStandardView {
    uint32_t command;
    int modelTurn;
    int modelTilt;
};

constexpr std::array<SStandardView, 6> kStandardViews = {{
    {CommandId::ViewBird, 0, 75},
    {CommandId::ViewFront, 355, 0},
    {CommandId::ViewLeft, 85, 0},
    {CommandId::ViewRight, 265, 0},
    {CommandId::ViewBelow, 0, 255},
    {CommandId::ViewBack, 175, 0},
}};

SViewChange RunStandardView(SViewContext& context, uint32_t command) {
    CCmra* camera = context.GetCamera();
    const auto view = std::find_if(kStandardViews.begin(), kStandardViews.end(),
                                   [&](const SStandardView& v) { return v.command == command; });
    if (camera == nullptr || view == kStandardViews.end()) {
        return {};
    }
    camera->modelTurn = view->modelTurn;
    camera->modelTilt = view->modelTilt;
    return CameraChanged(context);
}

// The camera's defaults reset its picture format too: the viewport follows at once.
SViewChange RunDefaultCamera(SViewContext& context, uint32_t) {
    CCmra* camera = context.GetCamera();
    if (camera == nullptr) {
        return {};
    }
    camera->SetDefaults();
    SViewChange change = CameraChanged(context);
    change.setViewport = true;
    return change;
}

// ---- Cameras ----------------------------------------------------------------------------------

int CameraNumber(uint32_t command) {
    return static_cast<int>(command - CommandId::Camera1);
}

SViewChange RunSelectCamera(SViewContext& context, uint32_t command) {
    SViewChange change;
    if (context.camera.Select(CameraNumber(command), context.dcmt)) {
        change.setViewport = true;
        change.invalidate = true;
    }
    return change;
}

bool IsCameraSelected(const SViewContext& context, uint32_t command) {
    return context.camera.GetIndex() == CameraNumber(command);
}

// ---- Distance and perspective -----------------------------------------------------------------

SViewChange RunZoom(SViewContext& context, uint32_t command) {
    CCmra* camera = context.GetCamera();
    if (camera == nullptr) {
        return {};
    }
    // No bound: the distance may become 0 or negative, as the user asks.
    const int step = command == CommandId::ZoomIn ? -kZoomStep : kZoomStep;
    camera->cameraDistance = AddClamped(camera->cameraDistance, step);
    // The visible size at the camera distance follows.
    camera->Update();
    return CameraChanged(context);
}

// The camera height that an eye offset of `offset` hundredths corresponds to: offset/100 of half
// the visible height, rounded to whole 10 cm (+5, then truncated towards zero to tens).
int EyeShift(int offset, const CCmra& camera) {
    const int shift = AddClamped(MulDiv(offset, camera.visibleHeight, 200), 5);
    return shift / 10 * 10;
}

// The eye goes before the picture's middle (near) or into its upper half (far); the camera
// height moves by as much, so that the model stays where it was on the screen.
SViewChange RunPerspective(SViewContext& context, uint32_t command) {
    CCmra* camera = context.GetCamera();
    if (camera == nullptr) {
        return {};
    }
    if (command == CommandId::PerspectiveNear) {
        const int up = camera->eyeUp;
        camera->cameraHeight = AddClamped(camera->cameraHeight, -EyeShift(up, *camera));
        camera->eyeUp = 0;
    } else {
        const int up = static_cast<int>(std::clamp<long long>(
            static_cast<long long>(kFarEyeUp) - camera->eyeUp, INT_MIN, INT_MAX));
        camera->cameraHeight = AddClamped(camera->cameraHeight, EyeShift(up, *camera));
        camera->eyeUp = kFarEyeUp;
    }
    camera->eyeAcross = 0;
    return CameraChanged(context);
}

bool IsPerspective(const SViewContext& context, uint32_t command) {
    const CCmra* camera = context.GetCamera();
    if (camera == nullptr || camera->eyeAcross != 0) {
        return false;
    }
    return camera->eyeUp == (command == CommandId::PerspectiveNear ? 0 : kFarEyeUp);
}

// ---- Section plane ----------------------------------------------------------------------------

bool IsSectionOn(const CCmra& camera) {
    return camera.nearClip != kSectionOff;
}

// A section plane at `wanted`, kept within [kSectionMin, far - kSectionFarGap], so that no
// camera distance (zoom has no bound) gives a near plane at or below 0 or beyond the far one.
// A camera whose far plane leaves no room keeps its near plane, and the user hears it.
SViewChange PlaceSection(SViewContext& context, CCmra& camera, long long wanted) {
    const long long highest = static_cast<long long>(camera.farClip) - kSectionFarGap;
    if (highest < kSectionMin) {
        return SViewChange::Beep();
    }
    camera.nearClip = static_cast<int>(std::clamp<long long>(wanted, kSectionMin, highest));
    return CameraChanged(context);
}

SViewChange RunSection(SViewContext& context, uint32_t command) {
    CCmra* camera = context.GetCamera();
    if (camera == nullptr) {
        return {};
    }
    switch (command) {
    case CommandId::SectionPlane:
        if (IsSectionOn(*camera)) {
            camera->nearClip = kSectionOff;
            return CameraChanged(context);
        }
        // On, through the point the camera looks at.
        return PlaceSection(context, *camera, camera->cameraDistance);
    case CommandId::SectionBack:
        return PlaceSection(context, *camera,
                            static_cast<long long>(camera->nearClip) + kSectionStep);
    case CommandId::SectionFront: {
        const long long nearer = static_cast<long long>(camera->nearClip) - kSectionStep;
        if (nearer < kSectionMin) {
            // Brought to the front the plane is off again.
            camera->nearClip = kSectionOff;
            return CameraChanged(context);
        }
        return PlaceSection(context, *camera, nearer);
    }
    default:
        return {};
    }
}

bool IsSectionPlaneOn(const SViewContext& context, uint32_t) {
    const CCmra* camera = context.GetCamera();
    return camera != nullptr && IsSectionOn(*camera);
}

std::vector<SViewCommand> MakeCameraCommandRows() {
    using namespace CommandId;
    std::vector<SViewCommand> rows;
    for (uint32_t command : {ModelRight, ModelLeft, ModelUp, ModelDown}) {
        rows.push_back({command, RunModelTurn});
    }
    for (const SStandardView& view : kStandardViews) {
        rows.push_back({view.command, RunStandardView});
    }
    rows.push_back({ViewStandard, RunDefaultCamera});
    for (uint32_t command : {Camera1, Camera2, Camera3, Camera4}) {
        rows.push_back({command, RunSelectCamera, nullptr, IsCameraSelected});
    }
    rows.push_back({ZoomIn, RunZoom});
    rows.push_back({ZoomOut, RunZoom});
    rows.push_back({PerspectiveNear, RunPerspective, nullptr, IsPerspective});
    rows.push_back({PerspectiveFar, RunPerspective, nullptr, IsPerspective});
    rows.push_back({SectionPlane, RunSection, nullptr, IsSectionPlaneOn});
    rows.push_back({SectionBack, RunSection, IsSectionPlaneOn});
    rows.push_back({SectionFront, RunSection, IsSectionPlaneOn});
    return rows;
}

} // namespace

std::span<const SViewCommand> GetCameraCommandRows() {
    static const std::vector<SViewCommand> rows = MakeCameraCommandRows();
    return rows;
}
