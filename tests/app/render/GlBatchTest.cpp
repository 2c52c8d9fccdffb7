// Kept meshes join strips, fans, quads and polygons into indexed triangle lists: drawn from the
// mesh, every mode must give the picture that the same batch gives drawn directly, with flat
// shading (the vertex a face takes its colour from) and back faces culled (the winding).
#include <initializer_list>
#include <vector>

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "tests/harness/GlTestContext.h"

namespace {

// The points (x, y pairs, offset by cx, cy) in the mode's order, each with its own colour.
void Send(GLenum mode, std::initializer_list<float> points, float cx, float cy) {
    GlBatch::Begin(mode);
    int i = 0;
    for (auto p = points.begin(); p != points.end(); p += 2, ++i) {
        GlBatch::Color(0.2f + 0.1f * static_cast<float>(i), 0.9f - 0.1f * static_cast<float>(i),
                       0.3f + 0.2f * static_cast<float>(i % 2), 1.0f);
        GlBatch::Vertex(cx + p[0], cy + p[1], 0.0f);
    }
    GlBatch::End();
}

void SendEveryMode() {
    // Counter-clockwise seen from the front, so that back-face culling keeps them all.
    const auto zigzag = {-0.25f, 0.1f,  -0.25f, -0.1f,  -0.08f, 0.15f, -0.05f, -0.12f,
                         0.08f,  0.12f, 0.1f,   -0.15f, 0.25f,  0.1f,  0.22f,  -0.1f};
    const auto quad = {-0.2f, -0.15f, 0.18f, -0.2f, 0.2f, 0.17f, -0.15f, 0.2f};
    Send(GL_TRIANGLE_STRIP, zigzag, -0.6f, 0.6f);
    Send(GL_QUAD_STRIP, zigzag, 0.0f, 0.6f);
    Send(GL_QUADS, quad, 0.6f, 0.6f);
    Send(GL_TRIANGLE_FAN, quad, -0.6f, 0.0f);
    Send(GL_POLYGON, quad, 0.0f, 0.0f);
    Send(GL_TRIANGLES,
         {-0.2f, -0.2f, 0.2f, -0.2f, 0.0f, 0.0f, -0.2f, 0.05f, 0.2f, 0.05f, 0.0f, 0.2f}, 0.6f,
         0.0f);
    Send(GL_LINE_LOOP, quad, -0.6f, -0.6f);
    Send(GL_LINE_STRIP, quad, 0.0f, -0.6f);
}

} // namespace

TEST_F(GlTest, KeptMeshDrawsEveryModeAsTheBatchDrawnDirectly) {
    glShadeModel(GL_FLAT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

    glClear(GL_COLOR_BUFFER_BIT);
    SendEveryMode();
    const std::vector<uint8_t> direct = m_gl.ReadPixels();

    CGlMesh mesh;
    mesh.BeginRecording();
    SendEveryMode();
    mesh.EndRecording();
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.Draw();
    const std::vector<uint8_t> kept = m_gl.ReadPixels();
    ExpectNoGlError("drawing");

    EXPECT_GT(CountPixelsNotEqual(0, 0, 0), 2000);
    EXPECT_EQ(direct, kept);
    // The six filled batches are one call, the two line batches one each.
    EXPECT_EQ(mesh.GetRangeCount(), 3u);
    // Strip and fan vertices are kept once.
    EXPECT_LE(mesh.GetVertexCount(), 8u + 8u + 4u + 4u + 4u + 6u + 4u + 4u);
}
