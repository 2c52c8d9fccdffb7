// Liners. The frame's tubes lie in the plane y = 0 with couplings every 400 mm; the liner hangs
// below it, 25.2 mm inside the tube axes, and its rim wraps the tubes between the couplings with
// shells of radius 25.2 mm (0.2 mm outside the tubes).
#include "app/render/PoolDraw.h"

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"

namespace {

using namespace ElmntDraw;

constexpr float RimRadius = 25.2f;
constexpr float CouplingSpacing = 400.0f;
constexpr float RimGap = 35.2f; // from a coupling's centre to the start of a rim shell

// A liner frame: tubes along X at z0 and z1 from x0 to x1, tubes along Z at x0 and x1.
struct SLinerFrame {
    float x0;
    float x1;
    float z0;
    float z1;
    float depth;
};

// The open box: bottom and four walls, outward normals, 25.2 mm inside the tube axes.
void DrawLinerBox(const SLinerFrame& frame) {
    const float x0 = frame.x0 + RimRadius;
    const float x1 = frame.x1 - RimRadius;
    const float z0 = frame.z0 + RimRadius;
    const float z1 = frame.z1 - RimRadius;
    const float y0 = -frame.depth;
    GlBatch::Begin(GL_QUADS);
    GlBatch::Normal(0.0f, -1.0f, 0.0f);
    GlBatch::Vertex(x0, y0, z0);
    GlBatch::Vertex(x1, y0, z0);
    GlBatch::Vertex(x1, y0, z1);
    GlBatch::Vertex(x0, y0, z1);
    GlBatch::Normal(0.0f, 0.0f, -1.0f);
    GlBatch::Vertex(x0, y0, z0);
    GlBatch::Vertex(x0, 0.0f, z0);
    GlBatch::Vertex(x1, 0.0f, z0);
    GlBatch::Vertex(x1, y0, z0);
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    GlBatch::Vertex(x0, y0, z1);
    GlBatch::Vertex(x1, y0, z1);
    GlBatch::Vertex(x1, 0.0f, z1);
    GlBatch::Vertex(x0, 0.0f, z1);
    GlBatch::Normal(1.0f, 0.0f, 0.0f);
    GlBatch::Vertex(x1, y0, z0);
    GlBatch::Vertex(x1, 0.0f, z0);
    GlBatch::Vertex(x1, 0.0f, z1);
    GlBatch::Vertex(x1, y0, z1);
    GlBatch::Normal(-1.0f, 0.0f, 0.0f);
    GlBatch::Vertex(x0, y0, z0);
    GlBatch::Vertex(x0, y0, z1);
    GlBatch::Vertex(x0, 0.0f, z1);
    GlBatch::Vertex(x0, 0.0f, z0);
    GlBatch::End();
}

// Shells along the local X axis over every tube between two couplings from first to last.
void DrawRimRow(float first, float last, int stride) {
    for (float at = first; at + CouplingSpacing <= last + 0.5f; at += CouplingSpacing) {
        GlPrim::DrawCylinder(stride, at + RimGap, at + CouplingSpacing - RimGap, RimRadius);
    }
}

void DrawLiner(const SElmntDraw& call, const SLinerFrame& frame, double explosionShiftZ) {
    if (!call.DrawsBody()) {
        return;
    }
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, 0.0, 0.0, explosionShiftZ);
    ApplyMaterial(call, false);
    DrawLinerBox(frame);
    for (float z : {frame.z0, frame.z1}) {
        CMatrixScope row;
        glTranslatef(0.0f, 0.0f, z);
        DrawRimRow(frame.x0, frame.x1, stride);
    }
    for (float x : {frame.x0, frame.x1}) {
        // Turned so that the shells' axis runs along +Z.
        CMatrixScope row;
        glTranslatef(x, 0.0f, 0.0f);
        glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
        DrawRimRow(frame.z0, frame.z1, stride);
    }
}

} // namespace

void DrawPool(const SElmntDraw& call) {
    DrawLiner(call, {-600.0f, 600.0f, 0.0f, 1600.0f, 400.0f}, 800.0);
}

void DrawPoolSmall(const SElmntDraw& call) {
    DrawLiner(call, {-200.0f, 600.0f, 0.0f, 1200.0f, 200.0f}, 800.0);
}

void DrawBag(const SElmntDraw& call) {
    DrawLiner(call, {-200.0f, 200.0f, 0.0f, 400.0f, 200.0f}, 800.0);
}
