// Panels. A panel's origin is its middle, its face in the local X-Y plane with local Z pointing
// away from the frame; sizes are the element's (mm): W the width (second size), L the length,
// c2 and c their corrections.
#include "app/render/PanelDraw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"
#include "app/render/MtrlGl.h"

namespace {

using namespace ElmntDraw;

// The panel rests on the tubes: its face lies just above their radius, and its corners are
// notched by that radius around the couplings.
constexpr float RestHeight = 25.125f;
constexpr float SkirtBottom = -22.0f;

// Number of meshes of a lattice side, rounded half up; at least one, so that a side shorter than
// a mesh still gets its two border lines instead of a division by zero.
int MeshCount(float size) {
    return std::max(1, static_cast<int>(std::floor((size - 2.0f) * 0.04f + 0.5f)));
}

} // namespace

void DrawPanel(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& panel = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, true);
    const float halfW = (panel.secondSize + panel.secondCorrection + 50.0f) / 2.0f;
    const float halfL = (panel.length + panel.correction + 50.0f) / 2.0f;
    const float r = RestHeight;
    // The quarter of the 16-segment circle from 0 to 90 degrees.
    const CAngleTable& circle = GlTables::Circle16();
    std::vector<int> quarter;
    WalkSteps(0, circle.Last() / 4, call.Detail(), [&](int k) { quarter.push_back(k); });
    // Rows across the face from the lower edge to the upper one: each row spans between the two
    // corner arcs at its height.
    const auto row = [&](int k, float side, float t) {
        const float inset = r * circle.Cos(k);
        const float y = side * (halfL - r * circle.Sin(k));
        GlBatch::TexCoord(0.0f, t);
        GlBatch::Vertex(-halfW + inset, y, r);
        GlBatch::TexCoord(1.0f, t);
        GlBatch::Vertex(halfW - inset, y, r);
    };
    GlBatch::Begin(GL_QUAD_STRIP);
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    for (int k : quarter) {
        row(k, -1.0f, 0.0f);
    }
    for (auto k = quarter.rbegin(); k != quarter.rend(); ++k) {
        row(*k, 1.0f, 1.0f);
    }
    GlBatch::End();
    // The skirts between the tubes along the two edges of constant y.
    GlBatch::Begin(GL_QUADS);
    GlBatch::TexCoord(0.0f, 0.0f);
    for (float side : {-1.0f, 1.0f}) {
        const float y = side * (halfL - r);
        GlBatch::Vertex(-halfW + r, y, r);
        GlBatch::Vertex(-halfW + r, y, SkirtBottom);
        GlBatch::Vertex(halfW - r, y, SkirtBottom);
        GlBatch::Vertex(halfW - r, y, r);
    }
    GlBatch::End();
}

void DrawChairSeatBack(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& seat = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, true);
    const float width = seat.secondSize + seat.secondCorrection + 50.0f;
    const float length = seat.length + seat.correction;
    // The first half of the 32-segment table: sin(pi k / 16) for k = 0 to 16.
    const CAngleTable& circle = GlTables::Circle32();
    constexpr int Steps = 16;
    GlBatch::Begin(GL_QUAD_STRIP);
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    WalkSteps(0, Steps, call.Detail(), [&](int k) {
        const float s = circle.Sin(k);
        const float x = -width / 2.0f + static_cast<float>(k) * width / Steps;
        const float z = 27.125f - 25.0f * s;
        GlBatch::TexCoord(0.0f, 0.0f);
        GlBatch::Vertex(x, length / 2.0f + 5.0f + 30.0f * s, z);
        GlBatch::TexCoord(1.0f, 0.0f);
        GlBatch::Vertex(x, -length / 2.0f, z);
    });
    GlBatch::End();
    // Skirts between the tubes along the two edges of constant x.
    GlBatch::Begin(GL_QUADS);
    GlBatch::TexCoord(0.0f, 0.0f);
    for (float side : {-1.0f, 1.0f}) {
        const float x = side * (width / 2.0f - RestHeight);
        const float y0 = -length / 2.0f + 1.0f;
        const float y1 = length / 2.0f - 1.0f;
        GlBatch::Vertex(x, y0, 20.0f);
        GlBatch::Vertex(x, y0, SkirtBottom);
        GlBatch::Vertex(x, y1, SkirtBottom);
        GlBatch::Vertex(x, y1, 20.0f);
    }
    GlBatch::End();
}

void DrawDisplay(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& panel = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, true);
    // The corrections lengthen the face on its +X and +Y sides.
    const float x0 = -panel.secondSize / 2.0f;
    const float x1 = panel.secondSize / 2.0f + panel.secondCorrection;
    const float y0 = -panel.length / 2.0f;
    const float y1 = panel.length / 2.0f + panel.correction;
    GlPrim::DrawTexturedRect(x0, y0, x1, y1);
}

void DrawLattice(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& lattice = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    if (const CMtrl* material = call.Material()) {
        MtrlGl::SetPlainColor(*material, call.pass, lattice.selected);
    }
    const float w = lattice.secondSize;
    const float l = lattice.length;
    const int across = MeshCount(w);
    const int along = MeshCount(l);
    const float stepX = (w + lattice.secondCorrection - 2.0f) / static_cast<float>(across);
    const float stepY = (l + lattice.correction - 2.0f) / static_cast<float>(along);
    GlBatch::Begin(GL_LINES);
    for (int k = 0; k <= along; ++k) {
        const float y = static_cast<float>(k) * stepY - l / 2.0f + 1.0f;
        GlBatch::Vertex(1.0f - w / 2.0f, y, 0.0f);
        GlBatch::Vertex(w / 2.0f + lattice.secondCorrection - 1.0f, y, 0.0f);
    }
    for (int k = 0; k <= across; ++k) {
        const float x = static_cast<float>(k) * stepX - w / 2.0f + 1.0f;
        GlBatch::Vertex(x, 1.0f - l / 2.0f, 0.0f);
        GlBatch::Vertex(x, l / 2.0f + lattice.correction - 1.0f, 0.0f);
    }
    GlBatch::End();
}
