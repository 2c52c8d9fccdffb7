// The pixel-centre test of triangles in window coordinates.
#include "app/render/CoverageCull.h"

#include <algorithm>
#include <cmath>

#include "app/render/Frustum.h"

namespace {

// How far (pixels) a centre may lie outside a triangle and still count as covered: GL snaps
// window coordinates to a fraction of a pixel and computes in single precision, this is wider.
constexpr float kMargin = 1.0f / 32.0f;
// Triangles whose box holds more centres than this are kept without looking closer.
constexpr float kMostCentresTested = 16.0f;
// Window coordinates beyond this (pixels) are not tested: such a triangle is kept.
constexpr float kFarOut = 1.0e6f;

// Index of the first pixel centre (i + 0.5) at or after v, and of the last at or before it;
// |v| below kFarOut.
float FirstCentreFrom(float v) {
    const float t = v - 0.5f;
    const auto i = static_cast<float>(static_cast<long>(t));
    return i < t ? i + 1.0f : i;
}
float LastCentreUpTo(float v) {
    const float t = v - 0.5f;
    const auto i = static_cast<float>(static_cast<long>(t));
    return i > t ? i - 1.0f : i;
}

} // namespace

CCoverageCull::CCoverageCull(const std::array<double, 16>& clip,
                             const std::array<GLint, 4>& viewport)
    : m_clip(clip), m_viewport(viewport) {}

CCoverageCull CCoverageCull::FromGl() {
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    return CCoverageCull(GetGlClipMatrix(), viewport);
}

void CCoverageCull::Project(const float* vertices, std::size_t first, std::size_t last,
                            SWindowPoint* points) const {
    const auto& m = m_clip;
    const double halfWidth = 0.5 * m_viewport[2];
    const double halfHeight = 0.5 * m_viewport[3];
    for (std::size_t i = first; i < last; ++i) {
        const float* v = &vertices[i * 4];
        const double x = m[0] * v[0] + m[4] * v[1] + m[8] * v[2] + m[12] * v[3];
        const double y = m[1] * v[0] + m[5] * v[1] + m[9] * v[2] + m[13] * v[3];
        const double w = m[3] * v[0] + m[7] * v[1] + m[11] * v[2] + m[15] * v[3];
        SWindowPoint& point = points[i];
        point.inFront = w > 1e-9;
        if (point.inFront) {
            const double px = m_viewport[0] + (x / w + 1.0) * halfWidth;
            const double py = m_viewport[1] + (y / w + 1.0) * halfHeight;
            point.inFront = std::abs(px) < kFarOut && std::abs(py) < kFarOut;
            point.x = static_cast<float>(px);
            point.y = static_cast<float>(py);
        }
    }
}

bool CCoverageCull::MayCoverACentre(const SWindowPoint& a, const SWindowPoint& b,
                                    const SWindowPoint& c) {
    if (!a.inFront || !b.inFront || !c.inFront) {
        return true;
    }
    // The pixel centres in the triangle's box, widened by the margin.
    const float firstX = FirstCentreFrom(std::min({a.x, b.x, c.x}) - kMargin);
    const float lastX = LastCentreUpTo(std::max({a.x, b.x, c.x}) + kMargin);
    const float firstY = FirstCentreFrom(std::min({a.y, b.y, c.y}) - kMargin);
    const float lastY = LastCentreUpTo(std::max({a.y, b.y, c.y}) + kMargin);
    if (firstX > lastX || firstY > lastY) {
        return false;
    }
    if ((lastX - firstX + 1.0f) * (lastY - firstY + 1.0f) > kMostCentresTested) {
        return true;
    }
    // A thin or small triangle whose box holds a few centres: each against the three edges.
    // A centre is inside an edge when it lies on the triangle's side of the edge's line, or
    // within the margin of that line (distance² <= margin², without a square root).
    const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    const float side = area < 0.0f ? -1.0f : 1.0f;
    struct SEdge {
        float x, y, dx, dy, reach; // reach: margin² times the edge's length²
    };
    const SWindowPoint* corners[3] = {&a, &b, &c};
    SEdge edges[3];
    for (int e = 0; e < 3; ++e) {
        const SWindowPoint& from = *corners[e];
        const SWindowPoint& to = *corners[(e + 1) % 3];
        const float dx = to.x - from.x;
        const float dy = to.y - from.y;
        edges[e] = {from.x, from.y, dx, dy, kMargin * kMargin * (dx * dx + dy * dy)};
        if (edges[e].reach == 0.0f) {
            return true; // two corners in one place: left to GL
        }
    }
    for (float y = firstY + 0.5f; y <= lastY + 0.5f; y += 1.0f) {
        for (float x = firstX + 0.5f; x <= lastX + 0.5f; x += 1.0f) {
            bool inside = true;
            for (const SEdge& edge : edges) {
                const float cross = side * (edge.dx * (y - edge.y) - edge.dy * (x - edge.x));
                if (cross < 0.0f && cross * cross > edge.reach) {
                    inside = false;
                    break;
                }
            }
            if (inside) {
                return true;
            }
        }
    }
    return false;
}

void CCoverageCull::KeepCovering(const SWindowPoint* points, const GLuint* indices,
                                 std::size_t first, std::size_t last, std::vector<GLuint>& kept) {
    for (std::size_t i = first; i + 3 <= last; i += 3) {
        const GLuint ia = indices[i];
        const GLuint ib = indices[i + 1];
        const GLuint ic = indices[i + 2];
        if (MayCoverACentre(points[ia], points[ib], points[ic])) {
            kept.insert(kept.end(), {ia, ib, ic});
        }
    }
}
