// Selection and axis-feedback passes over the design, and the readers of their buffers.
#include "app/view/ScenePick.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <unordered_set>

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/render/FeedbackBuffer.h"
#include "app/render/Frustum.h"
#include "app/render/RndrPass.h"
#include "app/view/SceneDraw.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"

namespace {

// Keeps both matrices and the render mode of the caller: pushed at the start, popped (and back
// to GL_RENDER) at the end, whatever happens between.
class CPassScope {
public:
    CPassScope() {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~CPassScope() {
        GLint mode = GL_RENDER;
        glGetIntegerv(GL_RENDER_MODE, &mode);
        if (mode != GL_RENDER) {
            glRenderMode(GL_RENDER);
        }
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    CPassScope(const CPassScope&) = delete;
    CPassScope& operator=(const CPassScope&) = delete;
};

// Projection (with a pick box around (x, y) when boxSize > 0) and model view of the camera.
void SetCamera(const SPickScene& scene, int x, int y, int boxSize) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (boxSize > 0) {
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        gluPickMatrix(x, y, boxSize, boxSize, viewport);
    }
    ViewScene::SetProjection(scene.camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(scene.camera);
}

// Doubles the size unless that passes the limit.
bool Grow(int& size, int limit) {
    if (2LL * size > static_cast<long long>(limit)) {
        return false;
    }
    size *= 2;
    return true;
}

// Draws, in list order, the elements that accept takes.
template <class Accept>
void DrawAccepted(const SPickScene& scene, const CRndrPass& pass,
                  const std::vector<const CMtrl*>& materials, Accept&& accept) {
    const Revision revision = scene.dcmt.GetCurrentRevision();
    for (const CElmnt& elmnt : scene.dcmt.GetElmntList()) {
        if (accept(elmnt)) {
            DrawElmnt(elmnt, pass, materials, revision, scene.toolMode, scene.drawFlags,
                      scene.drawView);
        }
    }
}

// A selection pass of the elements that draw accepts (in list order) into a buffer that grows
// as needed. Returns the hit count, or -1 when the buffer could not grow far enough.
template <class Accept>
int SelectPass(const SPickScene& scene, int x, int y, int boxSize, int& bufferSize, int limit,
               std::vector<GLuint>& buffer, Accept&& accept) {
    const CRndrPass pass(RndrMode::Select, scene.quality, scene.meshes);
    const std::vector<const CMtrl*> materials = GetMtrlTable(scene.dcmt);
    for (;;) {
        try {
            buffer.assign(static_cast<std::size_t>(bufferSize), 0u);
        } catch (const std::bad_alloc&) {
            return -1;
        }
        SetCamera(scene, x, y, boxSize);
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        DrawAccepted(scene, pass, materials, accept);
        const GLint hits = glRenderMode(GL_RENDER);
        if (hits >= 0) {
            return hits;
        }
        if (!Grow(bufferSize, limit)) {
            return -1;
        }
    }
}

// The elements named first in the records: the candidates of the smaller boxes.
std::unordered_set<uint32_t> FirstNames(std::span<const GLuint> buffer, int hitCount) {
    std::unordered_set<uint32_t> names;
    std::size_t at = 0;
    for (int n = 0; n < hitCount && at + 3 <= buffer.size(); ++n) {
        const std::size_t count = buffer[at];
        if (count > buffer.size() - at - 3) {
            break;
        }
        if (count > 0 && buffer[at + 3] != 0) {
            names.insert(buffer[at + 3]);
        }
        at += 3 + count;
    }
    return names;
}

} // namespace

std::optional<SHitChoice> ChooseHitRecord(std::span<const uint32_t> buffer, int hitCount) {
    std::optional<SHitChoice> best;
    uint32_t bestDepth = 0xFFFFFFFFu;
    std::size_t at = 0;
    for (int n = 0; n < hitCount && at + 3 <= buffer.size(); ++n) {
        const std::size_t count = buffer[at];
        if (count > buffer.size() - at - 3) {
            break;
        }
        const uint32_t minDepth = buffer[at + 1];
        // Equal depths: the later record wins.
        if (minDepth <= bestDepth) {
            bestDepth = minDepth;
            SHitChoice choice;
            choice.minDepth = minDepth;
            choice.element = count > 0 ? buffer[at + 3] : 0;
            choice.sub = count == 2 ? static_cast<int>(buffer[at + 4]) : -1;
            best = choice;
        }
        at += 3 + count;
    }
    return best;
}

float SelectionDepthToCm(uint32_t depth, double nearCm, double farCm) {
    const double z = static_cast<double>(depth) / 4294967296.0;
    return static_cast<float>(farCm * nearCm / (farCm - (farCm - nearCm) * z));
}

SPickResult PickElement(const SPickScene& scene, int x, int y, int& bufferSize, int bufferLimit) {
    SPickResult result;
    bufferSize = std::max(bufferSize, 1);
    CPassScope scope;
    std::vector<GLuint> buffer;
    // The widest box over the whole design finds every element that any box can hit. Elements
    // whose bounds lie outside it are not drawn at all.
    const int widest = kPickBoxSizes.back();
    SetCamera(scene, x, y, widest);
    const CFrustum volume = CFrustum::FromGl();
    int hits = SelectPass(scene, x, y, widest, bufferSize, bufferLimit, buffer,
                          [&](const CElmnt& elmnt) { return MayReach(volume, elmnt); });
    if (hits < 0) {
        result.bufferLimit = true;
        return result;
    }
    const std::unordered_set<uint32_t> candidates = FirstNames(buffer, hits);
    if (candidates.empty()) {
        return result;
    }
    const auto isCandidate = [&](const CElmnt& elmnt) {
        return candidates.count(elmnt.GetId().Value()) != 0;
    };
    const std::vector<GLuint> widestRecords = std::move(buffer);
    const int widestHits = hits;
    for (int box : kPickBoxSizes) {
        if (box != widest) {
            // Elements outside the widest box cannot reach a smaller one, so the records of the
            // candidates alone are the records of the whole design in this box.
            hits = SelectPass(scene, x, y, box, bufferSize, bufferLimit, buffer, isCandidate);
            if (hits < 0) {
                result.bufferLimit = true;
                return result;
            }
        }
        const std::optional<SHitChoice> choice = box != widest
                                                     ? ChooseHitRecord(buffer, hits)
                                                     : ChooseHitRecord(widestRecords, widestHits);
        if (!choice || choice->element == 0) {
            continue;
        }
        const ElmntId id(choice->element);
        if (!id.IsValid() || scene.dcmt.FindElement(id) == nullptr) {
            continue;
        }
        result.hit.element = id;
        result.hit.sub = choice->sub;
        result.hit.depth =
            SelectionDepthToCm(choice->minDepth, scene.camera.nearClip, scene.camera.farClip);
        result.hit.boxSize = box;
        return result;
    }
    return result;
}

SAxisHit FindNearestAxis(std::span<const float> buffer, long count, double x, double y) {
    constexpr double kTie = 0.01;
    SAxisHit best;
    ElmntId element;
    int connection = -1;
    CFeedbackReader reader(buffer, count, 2);
    SFeedbackItem item;
    while (reader.Next(item)) {
        if (item.type == FeedbackTokenType::PassThrough) {
            const uint32_t value = CRndrPass::TokenToName(item.value);
            if (value >= ElmntId::First) {
                element = ElmntId(value);
                connection = -1;
            } else {
                connection = static_cast<int>(value);
            }
        } else if (item.IsLine()) {
            const float segment[4] = {item.Vertex(0)[0], item.Vertex(0)[1], item.Vertex(1)[0],
                                      item.Vertex(1)[1]};
            const double d = SegmentDistance(segment, x, y);
            const double e = std::hypot(x - segment[0], y - segment[1]);
            const bool nearer = std::abs(best.distance - d) >= kTie && d < best.distance;
            const bool tieButCloserEnd = std::abs(best.distance - d) < kTie && e < best.endDistance;
            if (nearer || tieButCloserEnd) {
                best.distance = d;
                best.endDistance = e;
                best.connection = connection;
                best.element = element;
            }
        }
    }
    return best;
}

SAxisResult FindAxisAt(const SPickScene& scene, int x, int y, int& bufferSize, int bufferLimit) {
    SAxisResult result;
    bufferSize = std::max(bufferSize, 1);
    CPassScope scope;
    const CRndrPass pass(RndrMode::AxisFeedback, scene.quality, scene.meshes);
    const std::vector<const CMtrl*> materials = GetMtrlTable(scene.dcmt);
    // Only the elements whose drawing may reach the neighbourhood of the point are sent. The
    // feedback itself is taken without a pick matrix, so that no axis is clipped to that
    // neighbourhood: a line's first vertex stays its connection point.
    SetCamera(scene, x, y, kAxisNeighbourhood);
    const CFrustum volume = CFrustum::FromGl();
    std::vector<GLfloat> buffer;
    for (;;) {
        try {
            buffer.assign(static_cast<std::size_t>(bufferSize), 0.0f);
        } catch (const std::bad_alloc&) {
            result.bufferLimit = true;
            return result;
        }
        SetCamera(scene, x, y, 0);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        DrawAccepted(scene, pass, materials,
                     [&](const CElmnt& elmnt) { return MayReach(volume, elmnt); });
        const GLint count = glRenderMode(GL_RENDER);
        if (count >= 0) {
            result.hit = FindNearestAxis(buffer, count, x, y);
            return result;
        }
        if (!Grow(bufferSize, bufferLimit)) {
            result.bufferLimit = true;
            return result;
        }
    }
}
