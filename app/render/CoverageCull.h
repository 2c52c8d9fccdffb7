// Leaving out triangles that cannot colour a pixel. GL makes a fragment only where a pixel's
// centre lies inside a triangle; on a large design seen whole, most triangles are smaller than a
// pixel and hit no centre, yet a software GL spends as much on each of them as on a large one.
// Tested here first (the caller spreads the work over all cores), they are not sent, and the
// picture stays the same to the pixel: only triangles that clearly miss every centre are left
// out (a margin far wider than GL's own rounding keeps every doubtful one).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include <GL/gl.h>

class CCoverageCull {
public:
    // A vertex in window coordinates (pixels); inFront false for one on or behind the eye
    // plane, whose triangles are always kept.
    struct SWindowPoint {
        float x = 0.0f;
        float y = 0.0f;
        bool inFront = false;
    };

    // Window coordinates through the combined matrix (projection times model view,
    // column-major) and the viewport (x, y, width, height).
    CCoverageCull(const std::array<double, 16>& clip, const std::array<GLint, 4>& viewport);
    // GL's current projection, model-view matrix and viewport.
    static CCoverageCull FromGl();

    // The window points of vertices [first, last) (four coordinates each) into points[first..].
    void Project(const float* vertices, std::size_t first, std::size_t last,
                 SWindowPoint* points) const;
    // Appends to kept the triangles among indices [first, last) (three per triangle, into the
    // projected points) that may cover a pixel centre, in their order.
    static void KeepCovering(const SWindowPoint* points, const GLuint* indices, std::size_t first,
                             std::size_t last, std::vector<GLuint>& kept);

private:
    static bool MayCoverACentre(const SWindowPoint& a, const SWindowPoint& b,
                                const SWindowPoint& c);

    std::array<double, 16> m_clip;
    std::array<GLint, 4> m_viewport;
};
