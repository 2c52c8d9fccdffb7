// Wheels, bearings, castors and caps: surfaces of revolution about the local X axis (the axle
// or tube axis) given as (x, radius) profiles in millimetres, whose outside lies to the right of
// the direction in which the points run. Every shape here is fixed: tessellated once per detail
// stride and kept (MeshCache.h).
#include "app/render/WheelDraw.h"

#include <array>
#include <vector>

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"
#include "app/render/MeshCache.h"
#include "app/render/ProfileShape.h"

namespace {

using namespace ElmntDraw;

template <std::size_t N> std::vector<SProfilePoint> Creased(const SPoint2 (&points)[N]) {
    return ProfileShape::Creased(std::span<const SPoint2>(points, N));
}

// The bearing: a sleeve of radius 25 around the tube from 25 to 75 mm, bore 21.
const std::vector<SProfilePoint>& BearingProfile() {
    static const SPoint2 points[] = {{75, 25}, {25, 25}, {25, 21}, {75, 21}, {75, 25}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

// The multi wheel's tyre, disc and hub; its open side is braced by ribs.
const std::vector<SProfilePoint>& MultiWheelProfile() {
    static const SPoint2 points[] = {{50, 151},     {0, 151},  {0, 74},  {-10, 74},   {-10, 31.65f},
                                     {-25, 31.65f}, {-25, 25}, {25, 25}, {25, 29.7f}, {-10, 29.7f}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

const std::vector<SProfilePoint>& FloatingWheelProfile() {
    static const SPoint2 points[] = {
        {50, 151}, {-50, 151},   {-50, 100},   {-60, 100}, {-60, 31.65f}, {-75, 31.65f}, {-75, 25},
        {75, 25},  {75, 31.65f}, {60, 31.65f}, {60, 74},   {50, 74},      {50, 151}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

// The castors' cap over the tube end, with an axle stub.
const std::vector<SProfilePoint>& CastorCapProfile() {
    static const SPoint2 points[] = {{85, 5},     {80, 5},     {80, 25}, {25, 25},
                                     {25, 20.9f}, {75, 20.9f}, {75, 0}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

// One half of a castor wheel, rounded at its outer edge.
const std::vector<SProfilePoint>& CastorWheelProfile() {
    static const SPoint2 points[] = {{-10, 0},          {-10, 25}, {-20, 25},
                                     {-23.54f, 23.54f}, {-25, 20}, {-25, 0}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

// The castors' fork: a hook around the wheel, seen along its axle.
const std::vector<SProfilePoint>& CastorForkOutline() {
    static const SPoint2 points[] = {
        {-30, -30},         {0, -30},           {0, -27},          {-10.33f, -24.94f},
        {-19.09f, -19.09f}, {-24.94f, -10.33f}, {-25, 0},          {-24.94f, 10.33f},
        {-19.09f, 19.09f},  {-10.33f, 24.94f},  {0, 27},           {0, 30},
        {-11.48f, 27.72f},  {-21.21f, 21.21f},  {-27.72f, 11.48f}, {-30, 0},
        {-30, -30}};
    static const std::vector<SProfilePoint> outline = ProfileShape::Outline(points);
    return outline;
}

const std::vector<SProfilePoint>& SteeringLockProfile() {
    static const SPoint2 points[] = {{79, 30}, {75, 30}, {75, 16.85f}, {27, 16.85f},
                                     {27, 13}, {79, 13}, {79, 30}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

// The hub cap: a plug for the axle tube and the cap over the wheel's hub. The collision test
// takes only its first nine points: the plug's outer mantle and end sit inside the tube.
const std::vector<SProfilePoint>& HubCapProfile() {
    static const SPoint2 points[] = {{-100, 17},    {-20, 17},      {-20, 36.5f}, {-36, 36.5f},
                                     {-36, 55},     {-40, 55},      {-40, 32.5f}, {-24, 32.5f},
                                     {-24, 20.75f}, {-100, 20.75f}, {-100, 17}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}
constexpr std::size_t HubCapCollisionPoints = 9;

const std::vector<SProfilePoint>& TubeCapProfile() {
    static const SPoint2 points[] = {{-21, 0},      {-21, 25}, {-25, 25}, {-25, 20.85f},
                                     {-45, 20.85f}, {-45, 17}, {-25, 17}, {-25, 0}};
    static const std::vector<SProfilePoint> profile = Creased(points);
    return profile;
}

// The multi wheel's ribs: at every 45 degrees two quads in the radial plane, given as (x, r).
void DrawRibs() {
    static constexpr float Ribs[2][4][2] = {{{50, 151}, {0, 151}, {0, 29.7f}, {25, 29.7f}},
                                            {{0, 74}, {-10, 74}, {-10, 29.7f}, {0, 29.7f}}};
    const CAngleTable& circle = GlTables::Circle32();
    GlBatch::Begin(GL_QUADS);
    for (int k = 0; k <= circle.Last(); k += 4) {
        const float c = circle.Cos(k);
        const float s = circle.Sin(k);
        GlBatch::Normal(0.0f, -s, c);
        for (const auto& quad : Ribs) {
            for (const auto& point : quad) {
                GlBatch::Vertex(point[0], point[1] * c, point[1] * s);
            }
        }
    }
    GlBatch::End();
}

// The steering lock's slot marks on its two faces across the tube, in black.
void DrawLockMarks(const SElmntDraw& call) {
    GlPrim::SetUnlitBlack();
    DrawKept(call.Meshes(), {MeshShape::LockMarks, 0, call.Detail()}, [] {
        for (float z : {7.0f, -7.0f}) {
            for (float side : {1.0f, -1.0f}) {
                GlBatch::Begin(GL_LINE_STRIP);
                GlBatch::Vertex(79.2f, side * 29.17f, z);
                GlBatch::Vertex(79.2f, side * 10.75f, z);
                GlBatch::Vertex(32.0f, side * 10.75f, z);
                GlBatch::End();
            }
        }
    });
}

// A surface of revolution in the element's placement with its explosion shift, in the element's
// material.
void DrawTurned(const SElmntDraw& call, const std::vector<SProfilePoint>& profile, bool fine,
                double shiftX) {
    CMatrixScope matrix;
    MultPlacement(call, shiftX);
    ApplyMaterial(call, false);
    if (fine) {
        GlPrim::DrawLathe32Kept(call.Meshes(), profile, call.Detail());
    } else {
        GlPrim::DrawLathe16Kept(call.Meshes(), profile, call.Detail());
    }
}

} // namespace

void DrawMultiWheel(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, false);
    DrawKept(call.Meshes(), {MeshShape::MultiWheel, 0, stride}, [stride] {
        GlPrim::DrawLathe32(MultiWheelProfile(), stride);
        DrawRibs();
    });
}

void DrawFloatingWheel(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    DrawTurned(call, FloatingWheelProfile(), true, 0.0);
}

void DrawBearing(const SElmntDraw& call) {
    // A steering lock goes onto the free outer end of the bearing's tube.
    if (call.toolMode == ToolMode::SteeringLock && (call.elmnt.GetFreeArms() & 1u) != 0) {
        CMatrixScope matrix;
        MultPlacement(call);
        GlPrim::SetUnlitMagenta();
        DrawLine({}, {200.0, 0.0, 0.0});
    }
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call, 10.0);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe32Kept(call.Meshes(), BearingProfile(), call.Detail());
    if (call.toolMode == ToolMode::OnPickedMultiWheel) {
        // The bearing takes a multi wheel: a shell just over it.
        static const SPoint2 shell[] = {{75, 25.1f}, {25, 25.1f}};
        static const std::vector<SProfilePoint> profile = Creased(shell);
        CTargetNameScope name;
        ApplyHighlightMtrl(call.pass);
        GlPrim::DrawLathe32Kept(call.Meshes(), profile, call.Detail());
    }
}

void DrawCasters(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, 75.0);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe16Kept(call.Meshes(), CastorCapProfile(), stride);
    // The fork beyond the cap, and the wheel in it turning about Z, in two halves.
    glTranslatef(115.0f, 20.0f, 0.0f);
    DrawKept(call.Meshes(), {MeshShape::CastorFork, 0, stride}, [] {
        GlPrim::DrawPrismTess(CastorForkOutline(), -25.0f, 25.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    });
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    GlPrim::DrawLathe16Kept(call.Meshes(), CastorWheelProfile(), stride);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    GlPrim::DrawLathe16Kept(call.Meshes(), CastorWheelProfile(), stride);
}

void DrawSteeringLock(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call, 75.0);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe16Kept(call.Meshes(), SteeringLockProfile(), call.Detail());
    DrawLockMarks(call);
}

void DrawHubCap(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    std::span<const SProfilePoint> profile = HubCapProfile();
    if (call.Has(DrawFlags::CollisionTest)) {
        profile = profile.first(HubCapCollisionPoints);
    }
    CMatrixScope matrix;
    MultPlacement(call, 50.0);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe32Kept(call.Meshes(), profile, call.Detail());
}

void DrawTubeCap(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    DrawTurned(call, TubeCapProfile(), false, 0.0);
}
