// Clamps, clips and aluminium profiles. Millimetres in the element's local frame; the tube the
// part sits on runs along local X through the origin. Clamps and clips are never shrunk in
// explosion drawing. Bands, arcs and screw marks are fixed shapes, kept from frame to frame
// (MeshCache.h); the profiles' prisms follow their lengths and are drawn anew.
#include "app/render/SmallPartDraw.h"

#include <array>
#include <cmath>
#include <vector>

#include <GL/gl.h>

#include "app/render/GlPrimitives.h"
#include "app/render/MeshCache.h"
#include "app/render/ProfileShape.h"

namespace {

using namespace ElmntDraw;

constexpr int SeatCount = 5;
constexpr int ClipTurnedAboutY = 1; // turn-variant bits of the clip
constexpr int ClipSwapped = 2;
constexpr float ClipSeatOffset = 55.0f; // the clip's second tube lies 55 mm along +Y

// Seats for a second tube every 100 mm along the part, each under its index: two crossed lines
// in the plane of constant x around the seat's centre (y, z).
void DrawSeats(const SElmntDraw& call, double y, double z) {
    CMatrixScope matrix;
    MultTransform(call.elmnt.placement);
    GlPrim::SetUnlitMagenta();
    for (int k = 0; k < SeatCount; ++k) {
        const double x = -35.0 - 100.0 * k;
        CSubNameScope name(call.pass, k);
        DrawLine({x, y + 20.0, z + 20.0}, {x, y - 20.0, z - 20.0});
        DrawLine({x, y + 20.0, z - 20.0}, {x, y - 20.0, z + 20.0});
    }
}

// The clamp's band: 50 mm wide along X, 3 mm thick, swept around the tube from its top over +Y
// to below it.
void DrawClampBand(const SElmntDraw& call) {
    static const SPoint2 band[] = {{25, 0}, {25, 3}, {-25, 3}, {-25, 0}, {25, 0}};
    static const std::vector<SProfilePoint> profile = ProfileShape::Creased(band);
    static const std::vector<SSweepPoint> path = [] {
        static constexpr float Points[9][2] = {
            {0.0f, 25.0f},   {9.57f, 23.1f},    {17.68f, 17.68f},  {23.1f, 9.57f}, {25.0f, 0.0f},
            {23.1f, -9.57f}, {17.68f, -17.68f}, {13.98f, -20.73f}, {12.5f, -25.0f}};
        std::vector<SSweepPoint> points;
        for (const auto& p : Points) {
            const float length = std::hypot(p[0], p[1]);
            const float dy = p[0] / length;
            const float dz = p[1] / length;
            points.push_back({p[1], p[0], dz, dy, dy, dz, 0.0f});
        }
        return points;
    }();
    DrawKept(call.Meshes(), {MeshShape::ClampBand, 0, call.Detail()},
             [] { GlPrim::DrawSweep(profile, path); });
}

// One of the clip's spring arcs, a 50 mm wide prism of this outline, from 0 to about 120
// degrees around the tube.
void DrawClipArc(const SElmntDraw& call) {
    static const SPoint2 points[] = {
        {30, 0},           {27.25f, 11.29f},  {20.51f, 20.51f}, {10.91f, 26.33f}, {0, 28},
        {-10.52f, 25.41f}, {-13.75f, 23.82f}, {-12.5f, 21.65f}, {-9.57f, 23.1f},  {0, 25},
        {9.57f, 23.1f},    {17.68f, 17.68f},  {23.1f, 9.57f},   {25, 0},          {30, 0}};
    static const std::vector<SProfilePoint> outline = ProfileShape::Outline(points);
    DrawKept(call.Meshes(), {MeshShape::ClipArc, 0, call.Detail()},
             [] { GlPrim::DrawPrismTess(outline, -25.0f, 25.0f, 1.0f, 0.0f, 1.0f, 0.0f); });
}

// The clip around one tube: two arcs that meet above the seat of the other tube.
void DrawClipSeat(const SElmntDraw& call) {
    {
        CMatrixScope arc;
        glRotatef(135.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        DrawClipArc(call);
    }
    CMatrixScope arc;
    glRotatef(-45.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    DrawClipArc(call);
}

} // namespace

void DrawClamp(const SElmntDraw& call) {
    if (call.toolMode == ToolMode::AtConnection) {
        DrawSeats(call, 0.0, -50.0);
    }
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultTransform(call.elmnt.placement);
    ApplyMaterial(call, false);
    // Two bands around the tube it sits on and, turned over and 50 mm below, two around the
    // second tube.
    DrawClampBand(call);
    {
        CMatrixScope mirrored;
        glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
        DrawClampBand(call);
    }
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, 50.0f);
    DrawClampBand(call);
    glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
    DrawClampBand(call);
}

void DrawClip(const SElmntDraw& call) {
    if (call.toolMode == ToolMode::AtConnection) {
        DrawSeats(call, ClipSeatOffset, 0.0);
    }
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultTransform(call.elmnt.placement);
    const int variant = call.elmnt.turnVariant;
    if ((variant & ClipTurnedAboutY) != 0) {
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    }
    if ((variant & ClipSwapped) != 0) {
        glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
        glTranslatef(0.0f, -ClipSeatOffset, 0.0f);
    }
    ApplyMaterial(call, false);
    DrawClipSeat(call);
    // The seat of the second tube: the first one mirrored across the plane between the tubes.
    glTranslatef(0.0f, ClipSeatOffset, 0.0f);
    glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
    DrawClipSeat(call);
}

void DrawAlu(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& alu = call.elmnt;
    const float full = alu.length + alu.correction;
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call);
    {
        // The profile runs along X, 50 mm above and 50 mm behind the tube.
        static const SPoint2 section[] = {
            {14.77f, 7.9f},   {11.84f, 11.84f},   {7.9f, 14.77f},   {7.9f, 9.5f},   {-7.9f, 9.5f},
            {-7.9f, 14.77f},  {-11.84f, 11.84f},  {-14.77f, 7.9f},  {-9.5f, 7.9f},  {-9.5f, -7.9f},
            {-14.77f, -7.9f}, {-11.84f, -11.84f}, {-7.9f, -14.77f}, {-7.9f, -9.5f}, {7.9f, -9.5f},
            {7.9f, -14.77f},  {11.84f, -11.84f},  {14.77f, -7.9f},  {9.5f, -7.9f},  {9.5f, 7.9f},
            {14.77f, 7.9f}};
        static const std::vector<SProfilePoint> outline = ProfileShape::Outline(section);
        static const SPoint2 markPoints[] = {{20, 0}, {40, 5}, {40, 1}, {70, 1}};
        static const std::vector<SProfilePoint> mark = ProfileShape::Creased(markPoints);
        CMatrixScope turned;
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        ApplyMaterial(call, false);
        GlPrim::DrawPrismTess(outline, 2.0f, full - 2.0f, 1.0f, 50.0f, 1.0f, 50.0f);
        // Black screw marks every 200 mm from 100 mm on, each a cone with a thin shank pointing
        // from the tube's axis at the profile.
        glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
        glTranslatef(0.0f, 0.0f, 100.0f);
        GlPrim::SetUnlitBlack();
        for (int k = 0; 200.0f * static_cast<float>(k) <= alu.length - 200.0f; ++k) {
            CMatrixScope screw;
            glTranslatef(0.0f, 0.0f, 200.0f * static_cast<float>(k));
            GlPrim::DrawLathe16Kept(call.Meshes(), mark, 2 * stride);
        }
    }
    if (call.toolMode == ToolMode::OnPickedAluConnector) {
        // The connector goes onto either end of the profile.
        CTargetNameScope name;
        glTranslatef(0.0f, 50.0f, -50.0f);
        ApplyHighlightMtrl(call.pass);
        name.LoadZone(0);
        GlPrim::DrawCylinder(stride, 0.0f, 50.0f, 17.0f);
        name.LoadZone(1);
        GlPrim::DrawCylinder(stride, full - 50.0f, full, 17.0f);
    }
}

void DrawAluConnector(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& connector = call.elmnt;
    const float full = connector.length + connector.correction;
    CMatrixScope matrix;
    MultPlacement(call);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    static const SPoint2 square[] = {
        {7.9f, 7.9f}, {-7.9f, 7.9f}, {-7.9f, -7.9f}, {7.9f, -7.9f}, {7.9f, 7.9f}};
    static const std::vector<SProfilePoint> outline = ProfileShape::Outline(square);
    static const SPoint2 markPoints[] = {{90, 0}, {110, 5}, {110, 1}, {140, 1}};
    static const std::vector<SProfilePoint> mark = ProfileShape::Creased(markPoints);
    ApplyMaterial(call, false);
    GlPrim::DrawPrismTess(outline, -full / 2.0f, full / 2.0f, 1.0f, 100.0f, 1.0f, 100.0f);
    // Black screw marks 100 mm to either side of the middle.
    glRotatef(45.0f, 0.0f, 0.0f, 1.0f);
    GlPrim::SetUnlitBlack();
    for (float z : {-100.0f, 100.0f}) {
        CMatrixScope screw;
        glTranslatef(0.0f, 0.0f, z);
        GlPrim::DrawLathe16Kept(call.Meshes(), mark, 2 * call.Detail());
    }
}
