// A camera through which a 3D view looks at a design: camera and model positions, field of view,
// clipping distances and picture format, with the values derived from the field of view for the
// camera dialog. A document keeps four, saved as "camera2{...}" records of the design file.
#pragma once

class CFileRead;
class CFileWrite;

// Picture formats: the aspect each one gives is in CCmra::CalcAspect.
namespace PictureFormat {
inline constexpr int Screen = 0;       // the viewport's own shape
inline constexpr int Photo = 1;        // 3 : 2
inline constexpr int Video = 2;        // 4 : 3
inline constexpr int Cinema = 3;       // 16 : 9
inline constexpr int DinPortrait = 4;  // 1 : 1.41
inline constexpr int DinLandscape = 5; // 1.41 : 1
inline constexpr int User = 6;         // user ratio width : height
} // namespace PictureFormat

// A plain record, copied as a whole. Positions are in centimetres, angles in degrees, the eye
// offsets in hundredths of the picture, the focal length in millimetres for a picture 24 mm high.
class CCmra {
public:
    // Field of view kept by Update, in degrees.
    static constexpr double kMinFieldOfView = 1.0;
    static constexpr double kMaxFieldOfView = 179.0;

    double aspect = 1.0;       // picture width / height, from the picture format
    double fieldOfView = 40.0; // vertical, degrees; the derived values follow from it
    int viewportWidth = 1;     // pixels; not saved
    int viewportHeight = 1;
    int cameraDistance = 0;
    int cameraHeight = 0;
    int cameraLeftRight = 0;
    int cameraTurn = 0;
    int cameraTilt = 0;
    int modelDistance = 0;
    int modelHeight = 0;
    int modelLeftRight = 0;
    int modelTurn = 0;
    int modelTilt = 0;
    int eyeAcross = 0; // where the eye stands before the picture, horizontally
    int eyeUp = 0;     // and vertically
    // Derived by Update (read from files as they stand).
    int visibleHeight = 0;       // picture height at the camera distance, cm
    int visibleWidth = 0;        // picture width at the camera distance, cm
    int fieldOfViewVertical = 0; // the field of view rounded
    int fieldOfViewHorizontal = 0;
    int focalLength = 0;
    int farClip = 0; // clipping distances, cm
    int nearClip = 0;
    int pictureFormat = PictureFormat::Screen;
    double userRatioWidth = 1.0;
    double userRatioHeight = 1.0;

    // A 1 x 1 viewport and the defaults.
    CCmra();

    // The default camera (the dialog's "Standard"), then Update.
    void SetDefaults();
    // Sets the aspect from the picture format. The screen format keeps the previous aspect while
    // the viewport has no area (a minimised window).
    void CalcAspect();
    // The aspect, then the field of view kept within [kMinFieldOfView, kMaxFieldOfView], then
    // the derived values.
    void Update();

    // One "camera2{...}" record and a line end. The viewport is not written.
    void Write(CFileWrite& writer) const;
    // Reads one "camera2{...}" record into this camera, taking every value as it stands (derived
    // ones included; the viewport stays). A syntax error, or a value that no camera can have (a
    // non-finite number, an aspect that is not positive, clipping distances not 0 < near < far),
    // is the reader's error: it reports it (and aborts when its mask says so), the camera stays as
    // it was and the result is false.
    bool Read(CFileRead& reader);
};
