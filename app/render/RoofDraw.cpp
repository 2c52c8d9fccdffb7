// Roofs: a ridge along local X with two slopes at right angles, eave bands and gables, turned
// by -45 degrees about X in the element's frame. The faces take the document's material slots
// 6 to 9 (selected as the element is), never the element's own slot.
#include "app/render/RoofDraw.h"

#include <GL/gl.h>

#include "app/render/GlBatch.h"

namespace {

using namespace ElmntDraw;

constexpr int GableBandLeftSlot = 6;
constexpr int SlopeSlot = 7;
constexpr int GableBandRightSlot = 8;
constexpr int GableSlot = 9;

constexpr float RidgeY = 40.0f;
constexpr float Overhang = 430.0f;   // beyond the frame on the -X side
constexpr float OverhangEnd = 30.0f; // beyond the width on the +X side
constexpr float InvSqrt2 = 0.70710678f;

void Quad(const float (&corners)[4][3]) {
    for (const auto& corner : corners) {
        GlBatch::Vertex3v(corner);
    }
}

} // namespace

void DrawRoof(const SElmntDraw& call) {
    if (call.elmnt.kind == ElmntKind::RoofLarge) {
        DrawRoofSized(call, 1200.0f, 630.0f);
    } else {
        DrawRoofSized(call, 400.0f, 600.0f);
    }
}

void DrawRoofSized(const SElmntDraw& call, float width, float slope) {
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    if (call.Exploded()) {
        // Roofs shrink to half their size, and their shift lifts them off the frame.
        glMultMatrixd(call.elmnt.placement.GetGlMatrixScaled(1.0, 0.5).data());
        glTranslated(0.0, -200.0, 200.0);
    } else {
        MultTransform(call.elmnt.placement);
    }
    glRotatef(-45.0f, 1.0f, 0.0f, 0.0f);
    const float x0 = -Overhang;
    const float x1 = width + OverhangEnd;
    const float eaveY = RidgeY - slope;
    const float bandY = -slope - 60.0f; // the eave bands hang 100 mm below the eaves
    ApplyMaterial(call, SlopeSlot, false);
    GlBatch::Begin(GL_QUADS);
    // The slopes from the ridge down to the eaves at z = +slope and z = -slope.
    GlBatch::Normal(0.0f, InvSqrt2, InvSqrt2);
    Quad({{x0, RidgeY, 0.0f}, {x0, eaveY, slope}, {x1, eaveY, slope}, {x1, RidgeY, 0.0f}});
    GlBatch::Normal(0.0f, InvSqrt2, -InvSqrt2);
    Quad({{x0, RidgeY, 0.0f}, {x1, RidgeY, 0.0f}, {x1, eaveY, -slope}, {x0, eaveY, -slope}});
    // The eave bands hanging from them.
    GlBatch::Normal(0.0f, 0.0f, -1.0f);
    Quad({{x0, eaveY, slope}, {x1, eaveY, slope}, {x1, bandY, slope}, {x0, bandY, slope}});
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    Quad({{x0, eaveY, -slope}, {x0, bandY, -slope}, {x1, bandY, -slope}, {x1, eaveY, -slope}});
    GlBatch::End();
    // The gables: a triangle under the slopes and a band under the eaves, at each end.
    for (float side : {-1.0f, 1.0f}) {
        const float x = side < 0.0f ? x0 : x1;
        // Counter-clockwise seen from outside the end.
        const float near = side * slope;
        ApplyMaterial(call, GableSlot, false);
        GlBatch::Begin(GL_TRIANGLES);
        GlBatch::Normal(side, 0.0f, 0.0f);
        GlBatch::Vertex(x, RidgeY, 0.0f);
        GlBatch::Vertex(x, eaveY, near);
        GlBatch::Vertex(x, eaveY, -near);
        GlBatch::End();
        ApplyMaterial(call, side < 0.0f ? GableBandLeftSlot : GableBandRightSlot, false);
        GlBatch::Begin(GL_QUADS);
        GlBatch::Normal(side, 0.0f, 0.0f);
        GlBatch::Vertex(x, eaveY, near);
        GlBatch::Vertex(x, bandY, near);
        GlBatch::Vertex(x, bandY, -near);
        GlBatch::Vertex(x, eaveY, -near);
        GlBatch::End();
    }
}
