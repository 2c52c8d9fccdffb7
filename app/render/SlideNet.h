// The surfaces of the three slides as trimmed NURBS: control nets, knot vectors and trim
// outlines in the slide's local frame (mm). The slide hangs with a hook over the tube along X
// through its origin and runs down along +Z (the curved slide turns towards +X); u runs along
// the slide, v across it. Built once, constant afterwards.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "app/render/ProfileShape.h"
#include "model/ElmntKind.h"

// A tensor-product surface of order 3 x 3. Control point (i along, j across) starts at float
// (i * vCount + j) * dimension: homogeneous (x w, y w, z w, w) when rational, else (x, y, z).
struct SSlideNet {
    int uCount = 0;
    int vCount = 0;
    int dimension = 0; // 4 rational, 3 not
    std::vector<float> uKnots;
    std::vector<float> vKnots;
    std::vector<float> points;

    // The point's position in millimetres (divided by its weight).
    std::array<float, 3> Position(int i, int j) const;
};

// How the trim outline is given to the NURBS renderer.
enum class SlideTrimKind {
    PiecewiseLinear, // a polyline, each edge cut into pieces as fine as the sampling
    Curve,           // a NURBS curve of order 2 with knots 0, 0, 1, ..., n - 2, n - 1, n - 1
};

// Samples per unit of u and of v with which the slides are tessellated at the detail stride:
// 8 / stride along, 4 / stride across.
struct SSlideSteps {
    float u = 0.0f;
    float v = 0.0f;
};
SSlideSteps GetSlideSteps(int stride);

// The slide surface of kind 24 (slide), 25 (curved slide) or 26 (run-out); nullptr for any
// other kind.
const SSlideNet* GetSlideNet(ElmntKind kind);
// The closed trim outline in (u, v), counter-clockwise, the last point repeating the first.
std::span<const SPoint2> GetSlideTrim(ElmntKind kind);
SlideTrimKind GetSlideTrimKind(ElmntKind kind);
// The piecewise-linear trim with each edge (du, dv) cut into
// ceil(max(|du| uStep, |dv| vStep)) equal pieces (at least one), as (u, v) pairs.
std::vector<float> SubdivideTrim(std::span<const SPoint2> outline, float uStep, float vStep);
