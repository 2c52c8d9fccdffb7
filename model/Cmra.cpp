// Camera defaults, the values derived from the field of view, and the camera record.
#include "model/Cmra.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "support/AngleConstants.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"

namespace {

// floor(x + 0.5) as an int, held inside the int range (a far camera with a wide angle could
// otherwise pass it).
int RoundToInt(double x) {
    const double rounded = std::floor(x + 0.5);
    if (!(rounded > static_cast<double>(std::numeric_limits<int>::min()))) {
        return std::numeric_limits<int>::min();
    }
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(rounded);
}

} // namespace

CCmra::CCmra() {
    viewportWidth = 1;
    viewportHeight = 1;
    SetDefaults();
}

void CCmra::SetDefaults() {
    aspect = 1.0;
    fieldOfView = 40.0;
    cameraDistance = 320;
    cameraHeight = 130;
    cameraLeftRight = 0;
    cameraTurn = 0;
    cameraTilt = 0;
    modelDistance = 0;
    modelHeight = 0;
    modelLeftRight = 0;
    modelTurn = 355;
    modelTilt = 0;
    eyeAcross = 0;
    eyeUp = 55;
    visibleHeight = 0;
    visibleWidth = 0;
    fieldOfViewVertical = 0;
    fieldOfViewHorizontal = 0;
    focalLength = 0;
    farClip = 3000;
    nearClip = 10;
    pictureFormat = PictureFormat::Screen;
    userRatioWidth = 1.0;
    userRatioHeight = 1.0;
    Update();
}

void CCmra::CalcAspect() {
    switch (pictureFormat) {
    case PictureFormat::Screen:
        if (viewportWidth > 0 && viewportHeight > 0) {
            aspect = static_cast<double>(viewportWidth) / static_cast<double>(viewportHeight);
        }
        break;
    case PictureFormat::Photo:
        aspect = 1.5;
        break;
    case PictureFormat::Video:
        aspect = 4.0 / 3.0;
        break;
    case PictureFormat::Cinema:
        aspect = 16.0 / 9.0;
        break;
    case PictureFormat::DinPortrait:
        aspect = std::sqrt(0.5);
        break;
    case PictureFormat::DinLandscape:
        aspect = std::sqrt(2.0);
        break;
    case PictureFormat::User:
        aspect =
            userRatioWidth > 0.0 && userRatioHeight > 0.0 ? userRatioWidth / userRatioHeight : 1.0;
        break;
    default:
        aspect = 1.0;
        break;
    }
    // A user ratio may be finite in its parts and still give no usable quotient.
    if (!std::isfinite(aspect) || !(aspect > 0.0)) {
        aspect = 1.0;
    }
}

void CCmra::Update() {
    CalcAspect();
    // Also a NaN (a camera never read from a file can still be set by code) becomes the minimum.
    if (!(fieldOfView >= kMinFieldOfView)) {
        fieldOfView = kMinFieldOfView;
    } else if (fieldOfView > kMaxFieldOfView) {
        fieldOfView = kMaxFieldOfView;
    }
    const double t = std::tan(fieldOfView * DEG2RAD * 0.5);
    const double th = t * aspect;
    fieldOfViewVertical = RoundToInt(fieldOfView);
    fieldOfViewHorizontal = RoundToInt(2.0 * std::atan(th) * RAD2DEG);
    visibleHeight = RoundToInt(2.0 * cameraDistance * t);
    visibleWidth = RoundToInt(2.0 * cameraDistance * th);
    focalLength = RoundToInt(12.0 / t);
}

void CCmra::Write(CFileWrite& writer) const {
    const int integers[] = {cameraDistance,
                            cameraHeight,
                            cameraLeftRight,
                            cameraTurn,
                            cameraTilt,
                            modelDistance,
                            modelHeight,
                            modelLeftRight,
                            modelTurn,
                            modelTilt,
                            eyeUp,
                            eyeAcross,
                            visibleHeight,
                            visibleWidth,
                            fieldOfViewVertical,
                            fieldOfViewHorizontal,
                            focalLength,
                            farClip,
                            nearClip,
                            nearClip};
    writer.PutString("camera2{");
    for (int value : integers) {
        writer.PutInt(value);
        writer.PutString(", ");
    }
    writer.PutDouble(aspect, 6);
    writer.PutString(", ");
    writer.PutDouble(fieldOfView, 6);
    writer.PutString(", ");
    writer.PutInt(pictureFormat);
    writer.PutString(", ");
    writer.PutDouble(userRatioWidth, 6);
    writer.PutString(", ");
    writer.PutDouble(userRatioHeight, 6);
    writer.PutString("}\n");
}

bool CCmra::Read(CFileRead& reader) {
    CCmra read = *this;
    int* const integers[] = {&read.cameraDistance,
                             &read.cameraHeight,
                             &read.cameraLeftRight,
                             &read.cameraTurn,
                             &read.cameraTilt,
                             &read.modelDistance,
                             &read.modelHeight,
                             &read.modelLeftRight,
                             &read.modelTurn,
                             &read.modelTilt,
                             &read.eyeUp,
                             &read.eyeAcross,
                             &read.visibleHeight,
                             &read.visibleWidth,
                             &read.fieldOfViewVertical,
                             &read.fieldOfViewHorizontal,
                             &read.focalLength,
                             &read.farClip,
                             &read.nearClip,
                             &read.nearClip}; // written twice; the second one counts
    reader.Expect("camera2{");
    reader.SkipWhitespace();
    for (int* value : integers) {
        *value = reader.ReadInt();
        reader.SkipWhitespace();
        reader.Expect(",");
        reader.SkipWhitespace();
    }
    read.aspect = reader.ReadDouble(".");
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
    read.fieldOfView = reader.ReadDouble(".");
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
    read.pictureFormat = reader.ReadInt();
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
    read.userRatioWidth = reader.ReadDouble(".");
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
    read.userRatioHeight = reader.ReadDouble(".");
    reader.SkipWhitespace();
    reader.Expect("}");
    if (reader.GetErrors() != 0) {
        return false;
    }
    // The reader keeps non-finite numbers out; what no camera can show is refused here, while
    // the report still names the record's line.
    const bool finite = std::isfinite(read.aspect) && std::isfinite(read.fieldOfView) &&
                        std::isfinite(read.userRatioWidth) && std::isfinite(read.userRatioHeight);
    if (!finite || !(read.aspect > 0.0) || read.nearClip <= 0 || read.farClip <= read.nearClip) {
        reader.ReportError(ReadErrors::Range);
        return false;
    }
    reader.SkipWhitespace();
    *this = read;
    return true;
}
