// The floor grid, in its placement (never shrunk in explosion drawing), 25 mm below the plane
// of the floor-level tube axes.
#include "app/render/FloorGridDraw.h"

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"

namespace {

using namespace ElmntDraw;

constexpr float FloorY = -25.0f;
constexpr int Extent = 3200;
constexpr int LineSpacing = 400;
constexpr int MarkerSpacing = 200;
constexpr float MarkerRadius = 25.0f;

void FloorLine(float x0, float z0, float x1, float z1) {
    GlBatch::Vertex(x0, FloorY, z0);
    GlBatch::Vertex(x1, FloorY, z1);
}

// Grey lines every 400 mm, the two through the origin darker.
void DrawLines() {
    const float e = static_cast<float>(Extent);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.6f, 0.6f, 0.6f);
    GlBatch::Begin(GL_LINES);
    for (int at = -Extent; at <= Extent; at += LineSpacing) {
        if (at != 0) {
            const float a = static_cast<float>(at);
            FloorLine(-e, a, e, a);
            FloorLine(a, -e, a, e);
        }
    }
    GlBatch::End();
    glColor3f(0.3f, 0.3f, 0.3f);
    GlBatch::Begin(GL_LINES);
    FloorLine(-e, 0.0f, e, 0.0f);
    FloorLine(0.0f, -e, 0.0f, e);
    GlBatch::End();
}

// A closed diamond around each marker position, each under its marker index.
void DrawMarkers(const CRndrPass& pass) {
    GlPrim::SetUnlitMagenta();
    pass.PushName(0);
    uint32_t marker = 0;
    for (int x = -Extent; x <= Extent; x += MarkerSpacing) {
        for (int z = -Extent; z <= Extent; z += MarkerSpacing) {
            pass.LoadNameMarker(marker++);
            const float fx = static_cast<float>(x);
            const float fz = static_cast<float>(z);
            GlBatch::Begin(GL_LINE_LOOP);
            GlBatch::Vertex(fx - MarkerRadius, FloorY, fz);
            GlBatch::Vertex(fx, FloorY, fz - MarkerRadius);
            GlBatch::Vertex(fx + MarkerRadius, FloorY, fz);
            GlBatch::Vertex(fx, FloorY, fz + MarkerRadius);
            GlBatch::End();
        }
    }
    pass.PopName();
}

} // namespace

void DrawFloorGrid(const SElmntDraw& call) {
    CMatrixScope matrix;
    MultTransform(call.elmnt.placement);
    // Only on the screen: neither in pictures and prints nor in picking or the feedback passes.
    if (call.pass.IsDraw() && call.toolMode != ToolMode::NoSelectionLines) {
        DrawLines();
    }
    if (call.toolMode == ToolMode::StartCoupling) {
        DrawMarkers(call.pass);
    }
}
