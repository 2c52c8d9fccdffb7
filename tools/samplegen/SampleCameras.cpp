// Cameras framed round a sample design: the design's outline turned and tilted as the camera
// will show it, the distance at which it fills the picture, and the eye offset that centres it.
#include "tools/samplegen/SampleCameras.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"
#include "support/AngleConstants.h"
#include "support/Transform.h"

namespace {

// Radius round a coupling's centre that holds the coupling and the tube ends in it, mm.
constexpr double kCouplingReach = 30.0;
// The parts of the samples that reach beyond the couplings, as boxes in their own drawing
// coordinates (mm): a roof before its drawing turns it by -45 degrees about X, and a slide.
constexpr CVector3 kRoofLow{-430.0, -660.0, -600.0};
constexpr CVector3 kRoofHigh{430.0, 40.0, 600.0};
constexpr CVector3 kSlideLow{-235.0, -830.0, -35.0};
constexpr CVector3 kSlideHigh{235.0, 145.0, 1260.0};

// The picture the cameras are made for: the narrowest window shape they must fill (4 : 3),
// and how much of the half-picture the design may take in each direction.
constexpr double kNarrowestAspect = 4.0 / 3.0;
constexpr double kFill = 0.85;

void AddBoxCorners(std::vector<CVector3>& points, const CTransform& placement, CVector3 low,
                   CVector3 high) {
    for (int corner = 0; corner < 8; ++corner) {
        const CVector3 local{(corner & 1) != 0 ? high.x : low.x, (corner & 2) != 0 ? high.y : low.y,
                             (corner & 4) != 0 ? high.z : low.z};
        points.push_back(placement.MapPoint(local));
    }
}

// Points round the outside of the design as it is drawn: every coupling grown by its reach
// (the couplings hold every tube end and panel corner), and the boxes of roofs and slides.
std::vector<CVector3> OutlinePoints(CZarnelDcmt& dcmt) {
    const CVector3 reach{kCouplingReach, kCouplingReach, kCouplingReach};
    std::vector<CVector3> points;
    for (CElmnt& elmnt : dcmt.GetAliveElements()) {
        switch (elmnt.kind) {
        case ElmntKind::Connector:
            AddBoxCorners(points, elmnt.placement, CVector3() - reach, reach);
            break;
        case ElmntKind::Roof: {
            CTransform drawn = elmnt.placement;
            drawn.RotateDeg(-45.0, 1, 2);
            AddBoxCorners(points, drawn, kRoofLow, kRoofHigh);
            break;
        }
        case ElmntKind::Slide:
            AddBoxCorners(points, elmnt.placement, kSlideLow, kSlideHigh);
            break;
        default:
            break;
        }
    }
    return points;
}

// A point in the 3D view's eye coordinates: the model turned and tilted as the camera says
// about the origin its offsets give, the camera straight in front of it at distance mm.
CVector3 ToEye(const CCmra& camera, CVector3 p, double distance) {
    p = {p.x + camera.modelLeftRight * 10.0, p.y - camera.modelHeight * 10.0,
         p.z - camera.modelDistance * 10.0};
    const double turn = camera.modelTurn * DEG2RAD;
    const double tilt = camera.modelTilt * DEG2RAD;
    const CVector3 turned{p.x * std::cos(turn) + p.z * std::sin(turn), p.y,
                          -p.x * std::sin(turn) + p.z * std::cos(turn)};
    return {turned.x, turned.y * std::cos(tilt) - turned.z * std::sin(tilt),
            turned.y * std::sin(tilt) + turned.z * std::cos(tilt) - distance};
}

// Where the points fall in the picture (-1 to 1 across each direction) at the given distance,
// in the narrowest window: lowest and highest x, then y.
std::array<double, 4> PictureExtent(const CCmra& camera, const std::vector<CVector3>& points,
                                    double distance) {
    const double halfHeight = std::tan(camera.fieldOfView * 0.5 * DEG2RAD);
    std::array<double, 4> extent = {1e9, -1e9, 1e9, -1e9};
    for (const CVector3& point : points) {
        const CVector3 eye = ToEye(camera, point, distance);
        const double x = eye.x / -eye.z / (halfHeight * kNarrowestAspect);
        const double y = eye.y / -eye.z / halfHeight;
        extent = {std::min(extent[0], x), std::max(extent[1], x), std::min(extent[2], y),
                  std::max(extent[3], y)};
    }
    return extent;
}

// Sets the camera to look at the design turned and tilted by the given angles (degrees) from
// the distance at which it fills the picture, its middle in the picture's middle. The camera
// itself stays upright, so that panning works.
void FrameCamera(CCmra& camera, const std::vector<CVector3>& points, int turn, int tilt) {
    CVector3 low{1e9, 1e9, 1e9};
    CVector3 high{-1e9, -1e9, -1e9};
    for (const CVector3& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    camera.SetDefaults();
    camera.modelTurn = turn;
    camera.modelTilt = tilt;
    // The offsets are whole centimetres: the middle of the design, rounded.
    camera.modelLeftRight = static_cast<int>(std::lround(-(low.x + high.x) / 20.0));
    camera.modelHeight = static_cast<int>(std::lround((low.y + high.y) / 20.0));
    camera.modelDistance = static_cast<int>(std::lround((low.z + high.z) / 20.0));
    camera.cameraHeight = 0;
    camera.eyeUp = 0;
    // The nearest whole centimetre from which the design fits, once it is centred.
    int distance = 100;
    std::array<double, 4> extent{};
    for (;; ++distance) {
        extent = PictureExtent(camera, points, distance * 10.0);
        if (extent[1] - extent[0] <= 2.0 * kFill && extent[3] - extent[2] <= 2.0 * kFill) {
            break;
        }
    }
    camera.cameraDistance = distance;
    // The eye offset moves the picture in hundredths of its half-height; the depth of a turned
    // design makes it sit a little high or low otherwise.
    camera.eyeUp = static_cast<int>(std::lround(-50.0 * (extent[2] + extent[3])));
    camera.Update();
}

} // namespace

void FrameCameras(CZarnelDcmt& dcmt, int frontTurn) {
    const std::vector<CVector3> points = OutlinePoints(dcmt);
    const int views[4][2] = {{30, 20}, {0, 5}, {90, 5}, {45, 55}};
    for (int i = 0; i < 4; ++i) {
        FrameCamera(dcmt.GetCamera(i), points, (frontTurn + views[i][0]) % 360, views[i][1]);
    }
}
