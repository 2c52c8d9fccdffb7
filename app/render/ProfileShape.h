// Profiles for the GL primitives built from plain point lists: every corner a crease, each
// segment's normal perpendicular to it. Used by the drawing routines whose surfaces of
// revolution and prism outlines are given as points (millimetres).
#pragma once

#include <array>
#include <span>
#include <vector>

#include "app/render/GlPrimitives.h"

using SPoint2 = std::array<float, 2>;

namespace ProfileShape {

// A profile of a surface of revolution (a = x, b = radius) or a prism outline whose outside
// lies to the right of its direction of travel: each segment (da, db) gets the normal (db, -da),
// normalised, at both of its ends. A segment of zero length takes the normal of the segment
// before it (or after it, at the start).
std::vector<SProfilePoint> Creased(std::span<const SPoint2> points);

// A closed prism outline (the last point repeats the first) as a counter-clockwise profile seen
// from +Z with outward crease normals, whichever way the points run: the side quads of
// DrawPrism and DrawPrismTess then face outwards.
std::vector<SProfilePoint> Outline(std::span<const SPoint2> points);

} // namespace ProfileShape
