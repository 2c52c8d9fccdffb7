// Textile covers. Sizes are the element's (mm): W the width (second size), L the length, c2 and
// c their corrections. Sleeves lie 0.2 mm outside the tubes of radius 25.
#include "app/render/TextileDraw.h"

#include <vector>

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"

namespace {

using namespace ElmntDraw;

constexpr float SleeveRadius = 25.2f;

// The round textile's cover runs along the axis of a bent tube of length 350: a straight piece
// from x = 30 to 75 at y = 0, a quarter bend about the centre (75, 325) and a straight piece up
// to y = 370 at x = 400; in Z it spans between the two tubes.
constexpr float BendStart = 75.0f;
constexpr float BendRadius = 325.0f;
constexpr float CoverNear = 25.2f;
constexpr float CoverFar = 774.8f;

void CoverVertex(float x, float y, float nx, float ny) {
    GlBatch::Normal(nx, ny, 0.0f);
    GlBatch::Vertex(x, y, CoverFar);
    GlBatch::Vertex(x, y, CoverNear);
}

} // namespace

void DrawTextil(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& textile = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, true);
    // The corrections lengthen the cover on its +X and +Y sides.
    const float x0 = -textile.secondSize / 2.0f;
    const float x1 = textile.secondSize / 2.0f + textile.secondCorrection;
    const float y0 = 5.0f - textile.length / 2.0f;
    const float y1 = textile.length / 2.0f + textile.correction - 5.0f;
    GlPrim::DrawTexturedRect(x0, y0, x1, y1);
    // The sleeves around the side tubes, whose axes lie 25 mm outside the cover's edges.
    ApplyMaterial(call, false);
    for (float x : {x0 - 25.0f, x1 + 25.0f}) {
        CMatrixScope sleeve;
        glTranslatef(x, 0.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
        GlPrim::DrawCylinder(call.Detail(), y0, y1, SleeveRadius);
    }
}

void DrawTextilRound(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call, call.elmnt.length * 0.8333333);
    ApplyMaterial(call, false);
    glTranslatef(-400.0f, 0.0f, 0.0f);
    const CAngleTable& quarter = GlTables::Quarter16();
    GlBatch::Begin(GL_QUAD_STRIP);
    CoverVertex(30.0f, 0.0f, 0.0f, -1.0f);
    WalkSteps(0, quarter.Last(), call.Detail(), [&](int k) {
        const float s = quarter.Sin(k);
        const float c = quarter.Cos(k);
        CoverVertex(BendStart + BendRadius * s, BendRadius * (1.0f - c), s, -c);
    });
    CoverVertex(BendStart + BendRadius, BendRadius + 45.0f, 1.0f, 0.0f);
    GlBatch::End();
}
