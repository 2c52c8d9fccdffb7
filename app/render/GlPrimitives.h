// The immediate-mode building blocks of every element drawing: surfaces of revolution about the
// local X axis, circle outlines, swept profiles, prisms, cylinder mantles, discs, boxes, the
// sphere octants of coupling corners and the outline of the round wooden panel. Coordinates are
// millimetres in the current model-view frame. The primitives set normals but no colour or
// material (the caller has applied one), except SetUnlitMagenta.
//
// Curved primitives take their sines and cosines from precomputed tables, never from
// trigonometric calls while drawing, and walk them with the detail stride of the pass (1, 2 or
// 4; CRndrPass::GetDetail): stride 1 uses every entry, 2 every second, 4 every fourth. The last
// entry of a table, which repeats the first for full circles, is always reached, so outlines
// close at every stride.
#pragma once

#include <span>
#include <vector>

class CMeshCache;

// Sines and cosines of k times a fixed step, k = 0 to Last().
class CAngleTable {
public:
    // steps + 1 entries of stepRadians * k.
    CAngleTable(int steps, double stepRadians);

    int Last() const { return static_cast<int>(m_cos.size()) - 1; }
    float Cos(int k) const { return m_cos[static_cast<std::size_t>(k)]; }
    float Sin(int k) const { return m_sin[static_cast<std::size_t>(k)]; }

private:
    std::vector<float> m_cos;
    std::vector<float> m_sin;
};

namespace GlTables {
// Full circle in 32 and in 16 segments (33 and 17 entries, the last repeating the first).
const CAngleTable& Circle32();
const CAngleTable& Circle16();
// 24 steps of 15 degrees (the flexible coupling).
const CAngleTable& Steps15();
// Quarter circle in 16 steps of pi/32 (bends, the round wooden panel).
const CAngleTable& Quarter16();
// Octant and a half, 12 steps of pi/32 up to 67.5 degrees (the arcs of round-tube axes).
const CAngleTable& Arc12();
} // namespace GlTables

// Calls step(k) for k = first, first + stride, ... and always for last itself, in increasing
// order. A stride below 1 counts as 1.
template <class Step> void WalkSteps(int first, int last, int stride, Step&& step) {
    if (stride < 1) {
        stride = 1;
    }
    if (first > last) {
        return;
    }
    for (int k = first;; k = k + stride < last ? k + stride : last) {
        step(k);
        if (k == last) {
            break;
        }
    }
}

// A profile point: position (a, b) and the normals of the segment arriving at it and of the
// segment leaving it, so that a profile can have sharp creases. A segment from point i to point
// i + 1 takes point i's leaving normal at its start and point i + 1's arriving normal at its
// end. For a surface of revolution a is x and b the radius; for a prism a and b are x and y.
struct SProfilePoint {
    float a = 0.0f;
    float b = 0.0f;
    float naIn = 0.0f;
    float nbIn = 0.0f;
    float naOut = 0.0f;
    float nbOut = 0.0f;
};

// A point of a sweep path in the Y-Z plane: the profile's (a, b) lands at
// (a', b' * dy + y, b' * dz + z) with the normal (na, nb * ny, nb * nz), where (a', b') is the
// profile point moved by s along its normal components.
struct SSweepPoint {
    float z = 0.0f;
    float y = 0.0f;
    float nz = 0.0f; // direction factors of the normals
    float ny = 0.0f;
    float dy = 0.0f; // direction factors of the positions
    float dz = 0.0f;
    float s = 0.0f; // offset along the profile point's normal
};

// Outline of a prism given by functions instead of a profile (the round wooden panel).
struct SPrismOutline {
    // Writes vertex i at height z; true when i is the last distinct vertex of the outline.
    bool (*vertex)(int i, float z, const void* data, float out[3]);
    // The normal at the start of side i and at its end (at vertex i + 1).
    void (*normalStart)(int i, const void* data, float out[3]);
    void (*normalEnd)(int i, const void* data, float out[3]);
    const void* data;
};

// Sizes of the round wooden panel, millimetres.
struct SRoundWoodSizes {
    float width = 0.0f;
    float length = 0.0f;
    float secondCorrection = 0.0f;
    float correction = 0.0f;
};

namespace GlPrim {

// Lighting and texturing off, colour magenta (1, 0, 1): tool axes and markers.
void SetUnlitMagenta();
// Lighting and texturing off, colour black: the seams where a tube meets a coupling.
void SetUnlitBlack();

// The rectangle x0..x1, y0..y1 in the plane z = 0 as one quad, normal +Z, the texture once
// across it: (0, 0) at (x0, y0), (1, 1) at (x1, y1).
void DrawTexturedRect(float x0, float y0, float x1, float y1);

// Surface of revolution about X through the profile, 32 or 16 segments around: one triangle
// strip per profile segment. A profile of fewer than two points draws nothing.
void DrawLathe32(std::span<const SProfilePoint> profile, int stride);
void DrawLathe16(std::span<const SProfilePoint> profile, int stride);
// DrawLathe16 and DrawLathe32 of a profile of static storage (a constant table, never changed):
// tessellated once per detail stride and kept in meshes (nullptr: built anew every time).
void DrawLathe16Kept(CMeshCache* meshes, std::span<const SProfilePoint> profile, int stride);
void DrawLathe32Kept(CMeshCache* meshes, std::span<const SProfilePoint> profile, int stride);
// Line strip around the circle of the given radius in the plane of constant x, 16 segments,
// through (x, r sin t, r cos t).
void DrawCircle(float x, float radius, int stride);
// The profile swept along the path: one triangle strip per profile segment.
void DrawSweep(std::span<const SProfilePoint> profile, std::span<const SSweepPoint> path);
// Prism along Z from z0 to z1 whose outline is the profile mapped by (sx a + ox, sy b + oy);
// the last profile point repeats the first. Side quads, then a polygon cap at z0 and at z1.
void DrawPrism(std::span<const SProfilePoint> profile, float z0, float z1, float sx, float ox,
               float sy, float oy);
// Prism whose outline comes from the outline's functions: side quads up to the side that starts
// at the last vertex, then the two caps.
void DrawPrismGen(const SPrismOutline& outline, float z0, float z1);
// As DrawPrism, with caps triangulated by the GLU tessellator, so that concave outlines are
// filled correctly.
void DrawPrismTess(std::span<const SProfilePoint> profile, float z0, float z1, float sx, float ox,
                   float sy, float oy);
// Cylinder mantle about X from x0 to x1, 16 segments, normals outward.
void DrawCylinder(int stride, float x0, float x1, float radius);
// Triangle fans of 16 segments around the centre (x, y, z), each with the normal out of its
// front face (the side from which its rim runs counter-clockwise).
// 1: in the plane of constant x through (x, y + r sin t, z + r cos t), normal (-1, 0, 0);
// 2: the same plane with the other winding, (x, y + r cos t, z + r sin t), normal (1, 0, 0);
// 3: in the plane of constant z through (x + r sin t, y + r cos t, z), normal (0, 0, -1);
// 4: (x + r cos t, y + r sin t, z), normal (0, 0, 1).
void DrawDisc1(float x, float y, float z, float radius, int stride);
void DrawDisc2(float x, float y, float z, float radius, int stride);
void DrawDisc3(float x, float y, float z, float radius, int stride);
void DrawDisc4(float x, float y, float z, float radius, int stride);
// Axis-aligned box: six quads with outward normals, faces -Y, +Y, +Z, -Z, +X, -X.
void DrawBox(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax);
// One eighth of a sphere of radius 25 about the origin. Octant 0 to 7 is +X+Y+Z, -X+Y+Z, +X-Y+Z,
// -X-Y+Z, +X+Y-Z, -X+Y-Z, +X-Y-Z, -X-Y-Z (bit 0 negates X, bit 1 Y, bit 2 Z); its edges meet
// the 16-segment circles of the coupling sleeves. Anything else draws nothing.
void DrawGridPatch(int octant, int stride);

// The outline of the round wooden panel for DrawPrismGen (data: an SRoundWoodSizes): four
// straight sides and a quarter ellipse at the corner of +X and +Y, 20 distinct vertices.
bool RoundWoodOutlineVertex(int i, float z, const void* data, float out[3]);
void RoundWoodOutlineNormalStart(int i, const void* data, float out[3]);
void RoundWoodOutlineNormalEnd(int i, const void* data, float out[3]);

} // namespace GlPrim
