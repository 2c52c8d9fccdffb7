// Slides. The surface is tessellated by GLU's NURBS tessellator once per kind and detail stride
// and kept (see MeshCache.h), sampled in parameter space by the detail stride: 8 / stride
// samples per unit along the slide, 4 / stride across. Millimetres in the slide's local frame (see
// SlideNet.h).
#include "app/render/SlideDraw.h"

#include <optional>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"
#include "app/render/MeshCache.h"
#include "app/render/SlideNet.h"

namespace {

using namespace ElmntDraw;

constexpr int FixingSlot = 1; // the fixings take the document's first material
constexpr float FixingRadius = 10.0f;
constexpr int SurfaceOrder = 3;
constexpr int TrimOrder = 2;

// Errors of the tessellation are of no use to anybody while drawing: the text is fetched and
// dropped.
void GLAPIENTRY IgnoreNurbsError(GLenum error) {
    static_cast<void>(gluErrorString(error));
}

// The tessellator's output, as batches to keep.
void GLAPIENTRY NurbsBegin(GLenum type) {
    GlBatch::Begin(type);
}
void GLAPIENTRY NurbsNormal(GLfloat* normal) {
    GlBatch::Normal3v(normal);
}
void GLAPIENTRY NurbsVertex(GLfloat* vertex) {
    GlBatch::Vertex3v(vertex);
}
void GLAPIENTRY NurbsEnd() {
    GlBatch::End();
}

// A NURBS renderer for one tessellation. Tessellating, it hands the triangles with their
// surface normals to GlBatch; otherwise GLU draws them itself through GL's evaluators (in
// immediate mode, so never in a selection or feedback pass).
class CNurbs {
public:
    CNurbs(const SSlideSteps& steps, bool tessellate) : m_nurbs(gluNewNurbsRenderer()) {
        if (m_nurbs == nullptr) {
            return;
        }
        gluNurbsCallback(m_nurbs, GLU_NURBS_ERROR,
                         reinterpret_cast<_GLUfuncptr>(&IgnoreNurbsError));
        gluNurbsProperty(m_nurbs, GLU_SAMPLING_METHOD, GLU_DOMAIN_DISTANCE);
        gluNurbsProperty(m_nurbs, GLU_U_STEP, steps.u);
        gluNurbsProperty(m_nurbs, GLU_V_STEP, steps.v);
        if (tessellate) {
            gluNurbsProperty(m_nurbs, GLU_NURBS_MODE, GLU_NURBS_TESSELLATOR);
            gluNurbsCallback(m_nurbs, GLU_NURBS_BEGIN, reinterpret_cast<_GLUfuncptr>(&NurbsBegin));
            gluNurbsCallback(m_nurbs, GLU_NURBS_NORMAL,
                             reinterpret_cast<_GLUfuncptr>(&NurbsNormal));
            gluNurbsCallback(m_nurbs, GLU_NURBS_VERTEX,
                             reinterpret_cast<_GLUfuncptr>(&NurbsVertex));
            gluNurbsCallback(m_nurbs, GLU_NURBS_END, reinterpret_cast<_GLUfuncptr>(&NurbsEnd));
        }
    }
    ~CNurbs() {
        if (m_nurbs != nullptr) {
            gluDeleteNurbsRenderer(m_nurbs);
        }
    }
    CNurbs(const CNurbs&) = delete;
    CNurbs& operator=(const CNurbs&) = delete;

    GLUnurbs* Get() const { return m_nurbs; }

private:
    GLUnurbs* m_nurbs;
};

// The slide's surface with its trim, tessellated into GlBatch or drawn by GLU.
void SendSurface(const SSlideNet& net, ElmntKind kind, int stride, bool tessellate) {
    const SSlideSteps steps = GetSlideSteps(stride);
    CNurbs nurbs(steps, tessellate);
    GLUnurbs* renderer = nurbs.Get();
    if (renderer == nullptr) {
        return;
    }
    // GLU takes non-const arrays it does not change.
    std::vector<float> uKnots = net.uKnots;
    std::vector<float> vKnots = net.vKnots;
    std::vector<float> points = net.points;
    const std::span<const SPoint2> outline = GetSlideTrim(kind);
    std::vector<float> trim;
    std::vector<float> trimKnots;
    if (GetSlideTrimKind(kind) == SlideTrimKind::PiecewiseLinear) {
        trim = SubdivideTrim(outline, steps.u, steps.v);
    } else {
        for (const SPoint2& point : outline) {
            trim.push_back(point[0]);
            trim.push_back(point[1]);
        }
        // Order 2: the curve runs straight from point to point.
        const int count = static_cast<int>(outline.size());
        trimKnots.push_back(0.0f);
        for (int k = 0; k < count; ++k) {
            trimKnots.push_back(static_cast<float>(k));
        }
        trimKnots.push_back(static_cast<float>(count - 1));
    }
    // Lit by the normals derived from the surface: a single normal would show the curved
    // chutes as flat blots.
    if (!tessellate) {
        glEnable(GL_AUTO_NORMAL);
    }
    gluBeginSurface(renderer);
    gluNurbsSurface(renderer, static_cast<GLint>(uKnots.size()), uKnots.data(),
                    static_cast<GLint>(vKnots.size()), vKnots.data(), net.vCount * net.dimension,
                    net.dimension, points.data(), SurfaceOrder, SurfaceOrder,
                    net.dimension == 4 ? GL_MAP2_VERTEX_4 : GL_MAP2_VERTEX_3);
    gluBeginTrim(renderer);
    if (trimKnots.empty()) {
        gluPwlCurve(renderer, static_cast<GLint>(trim.size() / 2), trim.data(), 2, GLU_MAP1_TRIM_2);
    } else {
        gluNurbsCurve(renderer, static_cast<GLint>(trimKnots.size()), trimKnots.data(), 2,
                      trim.data(), TrimOrder, GLU_MAP1_TRIM_2);
    }
    gluEndTrim(renderer);
    gluEndSurface(renderer);
    if (!tessellate) {
        glDisable(GL_AUTO_NORMAL);
    }
}

// The slide's surface: tessellated once per kind and detail and kept.
void DrawSurface(CMeshCache* meshes, ElmntKind kind, int stride) {
    const SSlideNet* net = GetSlideNet(kind);
    if (net == nullptr) {
        return;
    }
    const SMeshKey key{MeshShape::SlideSurface, static_cast<uint32_t>(kind), stride};
    // GLU's NURBS renderer draws straight to GL (immediate mode) only for a comparison that
    // switched keeping off; otherwise its tessellation goes through the batch layer.
    const bool tessellate = meshes == nullptr || meshes->IsKeeping();
    DrawKept(meshes, key, [&] { SendSurface(*net, kind, stride, tessellate); });
}

// A face of constant z, normal +Z.
void FaceZ(float x0, float x1, float y0, float y1, float z) {
    GlBatch::Begin(GL_QUADS);
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    GlBatch::Vertex(x0, y0, z);
    GlBatch::Vertex(x1, y0, z);
    GlBatch::Vertex(x1, y1, z);
    GlBatch::Vertex(x0, y1, z);
    GlBatch::End();
}

// A face of constant x, normal +X.
void FaceX(float y0, float y1, float z0, float z1, float x) {
    GlBatch::Begin(GL_QUADS);
    GlBatch::Normal(1.0f, 0.0f, 0.0f);
    GlBatch::Vertex(x, y0, z1);
    GlBatch::Vertex(x, y0, z0);
    GlBatch::Vertex(x, y1, z0);
    GlBatch::Vertex(x, y1, z1);
    GlBatch::End();
}

void Mark(float x0, float y0, float z0, float x1, float y1, float z1) {
    GlBatch::Vertex(x0, y0, z0);
    GlBatch::Vertex(x1, y1, z1);
}

// Surface and end face of a straight or curved slide: in the highlight under the raw name 0
// while the run-out tool looks for a slide to put it on, else in the element's material.
template <class EndFace> void DrawChute(const SElmntDraw& call, EndFace endFace) {
    const ElmntKind kind = call.elmnt.kind;
    std::optional<CTargetNameScope> name;
    if (call.toolMode == ToolMode::OnPickedSlideEnd) {
        name.emplace();
        ApplyHighlightMtrl(call.pass);
    } else {
        ApplyMaterial(call, false);
    }
    DrawSurface(call.Meshes(), kind, call.Detail());
    endFace();
}

// The fixings at the top, where the slide hangs on the tube: on the rims' walls and behind the
// hook.
void DrawTopFixings(int stride) {
    GlPrim::DrawDisc2(-228.0f, 140.0f, 0.0f, FixingRadius, stride);
    GlPrim::DrawDisc1(228.0f, 140.0f, 0.0f, FixingRadius, stride);
    GlPrim::DrawDisc4(-140.0f, 0.0f, -29.0f, FixingRadius, stride);
    GlPrim::DrawDisc4(140.0f, 0.0f, -29.0f, FixingRadius, stride);
}

} // namespace

void DrawSlide(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, 0.0, 0.0, 400.0);
    DrawChute(call, [] { FaceZ(-174.0f, 174.0f, -825.0f, -762.0f, 1257.0f); });
    ApplyMaterial(call, FixingSlot, false);
    DrawTopFixings(stride);
    GlPrim::DrawDisc2(-231.0f, -660.0f, 1200.0f, FixingRadius, stride);
    GlPrim::DrawDisc1(231.0f, -660.0f, 1200.0f, FixingRadius, stride);
    // Screw slots across the fixings.
    GlPrim::SetUnlitBlack();
    GlBatch::Begin(GL_LINES);
    for (float side : {-1.0f, 1.0f}) {
        Mark(side * 226.1f, 140.0f, -7.5f, side * 226.1f, 140.0f, 7.5f);
        Mark(side * 229.1f, -667.5f, 1200.0f, side * 229.1f, -652.5f, 1200.0f);
        Mark(side * 140.0f, -7.5f, -27.1f, side * 140.0f, 7.5f, -27.1f);
    }
    GlBatch::End();
}

void DrawCurvedSlide(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, 0.0, 0.0, 400.0);
    DrawChute(call, [] { FaceX(-825.0f, -755.0f, 426.0f, 774.0f, 660.0f); });
    ApplyMaterial(call, FixingSlot, false);
    DrawTopFixings(stride);
    GlPrim::DrawDisc3(600.0f, -660.0f, 371.0f, FixingRadius, stride);
    GlPrim::DrawDisc4(600.0f, -660.0f, 829.0f, FixingRadius, stride);
    GlPrim::SetUnlitBlack();
    GlBatch::Begin(GL_LINES);
    for (float side : {-1.0f, 1.0f}) {
        Mark(side * 228.1f, 140.0f, -7.5f, side * 228.1f, 140.0f, 7.5f);
    }
    Mark(-140.0f, -7.5f, -29.1f, -140.0f, 7.5f, -29.1f);
    GlBatch::End();
}

void DrawSlideEnd(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, false);
    DrawSurface(call.Meshes(), ElmntKind::SlideEnd, call.Detail());
    FaceZ(-175.0f, 175.0f, -25.0f, 26.0f, 453.0f);
}
