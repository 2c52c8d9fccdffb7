// The collision test: surface feedback, triangles, sort and sweep, and the exact test of a pair.
#include "app/checks/CollisionTest.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <unordered_set>

#include <GL/gl.h>

#include "app/render/ElmntDraw.h"
#include "app/render/FeedbackBuffer.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrPass.h"
#include "app/render/RndrQult.h"
#include "model/ZarnelDcmt.h"
#include "support/CheckedFormat.h"
#include "support/LangText.h"
#include "support/TriFrame.h"
#include "support/UserInterface.h"

namespace {

constexpr uint32_t TextBufferTooSmall = 4193;
constexpr uint32_t TextCollisionsFound = 4198;
constexpr uint32_t TextNoCollisions = 4199;
constexpr std::size_t ResultTextMaxLength = 1024;

// b lies in a's plane when all its corners are this close to it (mm).
constexpr double PlaneTolerance = 0.125;
// Margin, in parts of a side, by which a point or crossing must lie inside an edge.
constexpr double EdgeMargin = 0.001;
// Corners closer than 0.1 mm are the same corner (squared mm).
constexpr double SameCornerSq = 0.01;

// The scene of the feedback pass: a cube of ±32768 mm on a viewport of 2048 pixels centred on
// the window origin, so that window x and y are model x and y / 32 and the depth is
// 0.5 - z / 65536. Floats then still resolve about 0.003 mm.
constexpr double SceneHalf = 32768.0;
constexpr GLint ViewportOrigin = -1024;
constexpr GLsizei ViewportSize = 2048;
constexpr double MmPerWindowUnit = 32.0;
constexpr double MmPerDepth = 65536.0;

// Window vertex of a GL_3D feedback buffer to model millimetres (z mirrored).
CVector3 ToModel(const float* vertex) {
    return {static_cast<double>(vertex[0]) * MmPerWindowUnit,
            static_cast<double>(vertex[1]) * MmPerWindowUnit,
            (static_cast<double>(vertex[2]) - 0.5) * MmPerDepth};
}

// A crossing at parameter f of b's edge and u of a's edge counts only well inside both.
bool CrossesInside(double f, double u) {
    return f > EdgeMargin && f < 1.0 - EdgeMargin && u > EdgeMargin && u < 1.0 - EdgeMargin;
}

// b's edge from p to q (triangle coordinates s, t in x and y) crosses one of a's edges
// t = 0, s = 0 or s + t = 1 well inside both edges.
bool EdgeCrossesEdges(CVector3 p, CVector3 q) {
    const double alongT = p.y - q.y;
    if (alongT != 0.0) {
        const double f = p.y / alongT;
        if (CrossesInside(f, p.x + (q.x - p.x) * f)) {
            return true;
        }
    }
    const double alongS = p.x - q.x;
    if (alongS != 0.0) {
        const double f = p.x / alongS;
        if (CrossesInside(f, p.y + (q.y - p.y) * f)) {
            return true;
        }
    }
    const double towardsDiagonal = (q.x - p.x) + (q.y - p.y);
    if (towardsDiagonal != 0.0) {
        const double f = (1.0 - p.x - p.y) / towardsDiagonal;
        if (CrossesInside(f, p.x + (q.x - p.x) * f)) {
            return true;
        }
    }
    return false;
}

bool CoplanarHits(const STrngl& a, const STrngl& b, const std::array<CVector3, 3>& local) {
    // Faces that face each other belong to bodies that touch: no collision.
    if (Orient2D(local[0], local[1], local[2]) < 0.0) {
        return false;
    }
    for (const CVector3& v : local) {
        if (v.x > EdgeMargin && v.y > EdgeMargin && v.x + v.y < 1.0) {
            return true;
        }
    }
    bool sameCorners = true;
    for (std::size_t k = 0; k < 3; ++k) {
        sameCorners = sameCorners && CVector3::DistSq(a.vertices[k], b.vertices[k]) < SameCornerSq;
    }
    if (sameCorners) {
        return true;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        if (EdgeCrossesEdges(local[k], local[(k + 1) % 3])) {
            return true;
        }
    }
    return false;
}

// Sets up the scene of the feedback pass and restores the caller's viewport, matrices, matrix
// mode and switches, whatever happens in between. Every polygon must reach the buffer filled,
// whichever way it faces.
class CSceneScope {
public:
    CSceneScope() {
        glPushAttrib(GL_VIEWPORT_BIT | GL_TRANSFORM_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT);
        glDisable(GL_CULL_FACE);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glViewport(ViewportOrigin, ViewportOrigin, ViewportSize, ViewportSize);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-SceneHalf, SceneHalf, -SceneHalf, SceneHalf, -SceneHalf, SceneHalf);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    ~CSceneScope() {
        if (m_feedback) {
            glRenderMode(GL_RENDER);
        }
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
    }
    CSceneScope(const CSceneScope&) = delete;
    CSceneScope& operator=(const CSceneScope&) = delete;

    void BeginFeedback(std::vector<GLfloat>& buffer) {
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        m_feedback = true;
    }
    // Values written; negative when the buffer overflowed.
    GLint EndFeedback() {
        m_feedback = false;
        return glRenderMode(GL_RENDER);
    }

private:
    bool m_feedback = false;
};

void ShowResult(std::size_t count) {
    if (count == 0) {
        ShowMessage(LoadLangText(TextNoCollisions), {}, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    std::string text;
    FormatChecked(LoadLangText(TextCollisionsFound), {MakeFormatArg(static_cast<int>(count))},
                  ResultTextMaxLength, text);
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Error);
}

} // namespace

bool TriHitsTri(const STrngl& a, const STrngl& b) {
    CTriFrame frame(a.vertices[0], a.vertices[1], a.vertices[2]);
    if (!frame.Invert()) {
        return false;
    }
    // b's corners as (s, t, h) in x, y, z: point - a.p0 = s * e1 + t * e2 + h * normal.
    std::array<CVector3, 3> local;
    double hMin = 0.0;
    double hMax = 0.0;
    for (std::size_t k = 0; k < 3; ++k) {
        local[k] = CMatrix3::MulVec(frame.GetMatrix(), b.vertices[k] - a.vertices[0]);
        hMin = k == 0 ? local[k].z : std::min(hMin, local[k].z);
        hMax = k == 0 ? local[k].z : std::max(hMax, local[k].z);
    }
    if (hMin >= -PlaneTolerance && hMax <= PlaneTolerance) {
        return CoplanarHits(a, b, local);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const CVector3& p = local[k];
        const CVector3& q = local[(k + 1) % 3];
        const bool pierces = (p.z < -PlaneTolerance && q.z > PlaneTolerance) ||
                             (p.z > PlaneTolerance && q.z < -PlaneTolerance);
        if (!pierces) {
            continue;
        }
        const double f = p.z / (p.z - q.z);
        const double s = p.x + (q.x - p.x) * f;
        const double t = p.y + (q.y - p.y) * f;
        if (s > 0.0 && t > 0.0 && s + t < 1.0) {
            return true;
        }
    }
    return false;
}

void ReadSurfaceFeedback(std::span<const float> buffer, CTrnglList& list) {
    ElmntId current;
    CFeedbackReader reader(buffer, static_cast<long>(buffer.size()), FeedbackVertexFloats(GL_3D));
    SFeedbackItem item;
    while (reader.Next(item)) {
        if (item.type == FeedbackTokenType::PassThrough) {
            const uint32_t name = CRndrPass::TokenToName(item.value);
            if (name >= ElmntId::First) {
                current = ElmntId(name);
            }
        } else if (item.type == FeedbackTokenType::Polygon && item.vertexCount >= 3) {
            STrngl trngl;
            trngl.element = current;
            for (std::size_t k = 0; k < 3; ++k) {
                trngl.vertices[k] = ToModel(item.Vertex(k));
            }
            trngl.CalcBox();
            list.Append(trngl);
        }
    }
}

bool CaptureSurfaces(const CZarnelDcmt& dcmt, int& bufferSize, int bufferLimit, CTrnglList& list,
                     const SDrawView* drawView) {
    if (bufferSize < 1) {
        bufferSize = 1;
    }
    // Without a profile section: unlit, untextured, coarsest detail. The shapes are tessellated
    // once for all the passes the buffer's growth takes.
    const CRndrQult quality;
    CMeshCache meshes;
    const CRndrPass pass(RndrMode::SurfaceFeedback, &quality, &meshes);
    const std::vector<const CMtrl*> materials = GetMtrlTable(dcmt);
    const Revision revision = dcmt.GetCurrentRevision();
    std::vector<GLfloat> buffer;
    GLint written = -1;
    {
        CSceneScope scene;
        for (;;) {
            try {
                buffer.assign(static_cast<std::size_t>(bufferSize), 0.0f);
            } catch (const std::bad_alloc&) {
                // A buffer that cannot be had is one that could not grow far enough.
                return false;
            }
            scene.BeginFeedback(buffer);
            for (const CElmnt& elmnt : dcmt.GetElmntList()) {
                DrawElmnt(elmnt, pass, materials, revision, ToolMode::NoSelectionLines,
                          DrawFlags::CollisionTest, drawView);
            }
            written = scene.EndFeedback();
            if (written >= 0) {
                break;
            }
            if (2LL * bufferSize > static_cast<long long>(bufferLimit)) {
                return false;
            }
            bufferSize *= 2;
        }
    }
    ReadSurfaceFeedback(std::span<const float>(buffer.data(), static_cast<std::size_t>(written)),
                        list);
    return true;
}

std::vector<ElmntId> FindCollisions(CTrnglList& list) {
    list.SortByMinX();
    std::vector<ElmntId> found;
    std::unordered_set<uint32_t> selected;
    const auto select = [&](ElmntId id) {
        if (selected.insert(id.Value()).second) {
            found.push_back(id);
        }
    };
    const std::size_t count = list.Size();
    for (std::size_t i = 0; i < count; ++i) {
        const STrngl& a = list[i];
        // Only triangles that start before a ends on x can meet it; the sort puts them next.
        for (std::size_t j = i + 1; j < count && list[j].minX < a.maxX; ++j) {
            const STrngl& b = list[j];
            if (a.element == b.element) {
                continue;
            }
            // A surface that no element named cannot be selected.
            if (!a.element.IsValid() || !b.element.IsValid()) {
                continue;
            }
            if (!(a.minY <= b.maxY && a.maxY >= b.minY && a.minZ <= b.maxZ && a.maxZ >= b.minZ &&
                  a.minX <= b.maxX && a.maxX >= b.minX)) {
                continue;
            }
            if (selected.contains(a.element.Value()) && selected.contains(b.element.Value())) {
                continue;
            }
            if (TriHitsTri(a, b) || TriHitsTri(b, a)) {
                select(a.element);
                select(b.element);
            }
        }
    }
    return found;
}

std::optional<std::vector<ElmntId>> RunCollisionTest(CZarnelDcmt& dcmt, int32_t couplingMaterial,
                                                     double snapRadiusSq, int& bufferSize,
                                                     int bufferLimit, const SDrawView* drawView) {
    BusyScope busy;
    dcmt.ClearSelection(couplingMaterial, snapRadiusSq);
    CTrnglList trngls;
    if (!CaptureSurfaces(dcmt, bufferSize, bufferLimit, trngls, drawView)) {
        // No triangles are known: a result would claim that nothing overlaps.
        ShowMessage(LoadLangText(TextBufferTooSmall), {}, MsgButtons::Ok, MsgIcon::Error);
        dcmt.UpdateAllViews(ViewHint::Selection);
        return std::nullopt;
    }
    std::vector<ElmntId> found = FindCollisions(trngls);
    trngls.DeleteAll();
    for (ElmntId id : found) {
        if (CElmnt* elmnt = dcmt.FindElement(id)) {
            elmnt->Select();
        }
    }
    dcmt.UpdateAllViews(ViewHint::Selection);
    ShowResult(found.size());
    return found;
}
