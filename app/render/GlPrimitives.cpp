// Immediate-mode primitives over precomputed angle tables.
#include "app/render/GlPrimitives.h"

#include "app/render/GlBatch.h"
#include "app/render/MeshCache.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include <GL/gl.h>
#include <GL/glu.h>

CAngleTable::CAngleTable(int steps, double stepRadians) {
    m_cos.reserve(static_cast<std::size_t>(steps) + 1);
    m_sin.reserve(static_cast<std::size_t>(steps) + 1);
    for (int k = 0; k <= steps; ++k) {
        m_cos.push_back(static_cast<float>(std::cos(stepRadians * k)));
        m_sin.push_back(static_cast<float>(std::sin(stepRadians * k)));
    }
}

namespace GlTables {

namespace {
constexpr double Pi = std::numbers::pi;
}

const CAngleTable& Circle32() {
    static const CAngleTable table(32, 2.0 * Pi / 32.0);
    return table;
}

const CAngleTable& Circle16() {
    static const CAngleTable table(16, 2.0 * Pi / 16.0);
    return table;
}

const CAngleTable& Steps15() {
    static const CAngleTable table(24, Pi / 12.0);
    return table;
}

const CAngleTable& Quarter16() {
    static const CAngleTable table(16, Pi / 32.0);
    return table;
}

const CAngleTable& Arc12() {
    static const CAngleTable table(12, Pi / 32.0);
    return table;
}

} // namespace GlTables

namespace {

void Lathe(std::span<const SProfilePoint> profile, int stride, const CAngleTable& table) {
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        const SProfilePoint& p = profile[i];
        const SProfilePoint& q = profile[i + 1];
        GlBatch::Begin(GL_TRIANGLE_STRIP);
        WalkSteps(0, table.Last(), stride, [&](int k) {
            const float c = table.Cos(k);
            const float s = table.Sin(k);
            GlBatch::Normal(p.naOut, p.nbOut * c, p.nbOut * s);
            GlBatch::Vertex(p.a, p.b * c, p.b * s);
            GlBatch::Normal(q.naIn, q.nbIn * c, q.nbIn * s);
            GlBatch::Vertex(q.a, q.b * c, q.b * s);
        });
        GlBatch::End();
    }
}

// Side quads of a prism, the edge at z1 first: outward for an outline that runs
// counter-clockwise seen from +Z, when z0 < z1.
void PrismSides(std::span<const SProfilePoint> profile, float z0, float z1, float sx, float ox,
                float sy, float oy) {
    GlBatch::Begin(GL_QUADS);
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        const SProfilePoint& p = profile[i];
        const SProfilePoint& q = profile[i + 1];
        GlBatch::Normal(p.naOut, p.nbOut, 0.0f);
        GlBatch::Vertex(sx * p.a + ox, sy * p.b + oy, z1);
        GlBatch::Vertex(sx * p.a + ox, sy * p.b + oy, z0);
        GlBatch::Normal(q.naIn, q.nbIn, 0.0f);
        GlBatch::Vertex(sx * q.a + ox, sy * q.b + oy, z0);
        GlBatch::Vertex(sx * q.a + ox, sy * q.b + oy, z1);
    }
    GlBatch::End();
}

// The sphere octant grid: for each octant 15 homogeneous points in rows of 5, 4, 3, 2 and 1
// between the octant's X, Y and Z directions. Row r and column c weigh the three directions
// (4 - r - c, c, r). Points on an edge are spaced by equal angles (22.5 degrees), so that the
// edges coincide with the 16-segment circles of the sleeves; the three inner points are the
// normalised weighted sums. w = 0.04 puts every point at radius 25 mm; the direction is also
// the normal.
constexpr int GridRows = 5;
constexpr int GridPoints = 15;
using GridPoint = std::array<float, 4>;
using OctantGrid = std::array<GridPoint, GridPoints>;

constexpr int GridIndex(int row, int column) {
    // Rows before row r hold 5 + 4 + ... points.
    return row * GridRows - row * (row - 1) / 2 + column;
}

std::array<OctantGrid, 8> MakeGrid() {
    std::array<OctantGrid, 8> grid{};
    const double step = std::numbers::pi / 8.0;
    for (int octant = 0; octant < 8; ++octant) {
        const double sx = (octant & 1) != 0 ? -1.0 : 1.0;
        const double sy = (octant & 2) != 0 ? -1.0 : 1.0;
        const double sz = (octant & 4) != 0 ? -1.0 : 1.0;
        for (int row = 0; row < GridRows; ++row) {
            for (int column = 0; column < GridRows - row; ++column) {
                const int wx = GridRows - 1 - row - column;
                const int wy = column;
                const int wz = row;
                double x = 0.0;
                double y = 0.0;
                double z = 0.0;
                if (wz == 0) {
                    x = std::cos(step * wy);
                    y = std::sin(step * wy);
                } else if (wy == 0) {
                    x = std::cos(step * wz);
                    z = std::sin(step * wz);
                } else if (wx == 0) {
                    y = std::cos(step * wz);
                    z = std::sin(step * wz);
                } else {
                    const double length = std::sqrt(double(wx * wx + wy * wy + wz * wz));
                    x = wx / length;
                    y = wy / length;
                    z = wz / length;
                }
                grid[octant][GridIndex(row, column)] = {static_cast<float>(sx * x),
                                                        static_cast<float>(sy * y),
                                                        static_cast<float>(sz * z), 0.04f};
            }
        }
    }
    return grid;
}

const std::array<OctantGrid, 8>& Grid() {
    static const std::array<OctantGrid, 8> grid = MakeGrid();
    return grid;
}

void GridVertex(const GridPoint& point) {
    GlBatch::Normal(point[0], point[1], point[2]);
    GlBatch::Vertex4v(point.data());
}

// GLU tessellator callbacks: straight into immediate mode.
void GLAPIENTRY TessBegin(GLenum type) {
    GlBatch::Begin(type);
}
void GLAPIENTRY TessEnd() {
    GlBatch::End();
}
void GLAPIENTRY TessVertex(void* vertex) {
    GlBatch::Vertex3v(static_cast<const GLdouble*>(vertex));
}

void TessCap(std::vector<std::array<GLdouble, 3>>& points, const std::vector<std::size_t>& order) {
    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr) {
        return;
    }
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&TessBegin));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&TessEnd));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&TessVertex));
    gluTessBeginPolygon(tess, nullptr);
    gluTessBeginContour(tess);
    for (std::size_t index : order) {
        gluTessVertex(tess, points[index].data(), points[index].data());
    }
    gluTessEndContour(tess);
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
}

// A generator that never answers "last" must not hang the drawing.
constexpr int MaxGeneratedVertices = 4096;

} // namespace

namespace GlPrim {

void SetUnlitMagenta() {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 0.0f, 1.0f);
}

void SetUnlitBlack() {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.0f, 0.0f, 0.0f);
}

void DrawLathe32(std::span<const SProfilePoint> profile, int stride) {
    Lathe(profile, stride, GlTables::Circle32());
}

void DrawLathe16(std::span<const SProfilePoint> profile, int stride) {
    Lathe(profile, stride, GlTables::Circle16());
}

void DrawLathe16Kept(CMeshCache* meshes, std::span<const SProfilePoint> profile, int stride) {
    const SMeshKey key{MeshShape::Lathe16, static_cast<uint32_t>(profile.size()), stride,
                       profile.data()};
    DrawKept(meshes, key, [&] { Lathe(profile, stride, GlTables::Circle16()); });
}

void DrawLathe32Kept(CMeshCache* meshes, std::span<const SProfilePoint> profile, int stride) {
    const SMeshKey key{MeshShape::Lathe32, static_cast<uint32_t>(profile.size()), stride,
                       profile.data()};
    DrawKept(meshes, key, [&] { Lathe(profile, stride, GlTables::Circle32()); });
}

void DrawTexturedRect(float x0, float y0, float x1, float y1) {
    GlBatch::Begin(GL_QUADS);
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    GlBatch::TexCoord(0.0f, 0.0f);
    GlBatch::Vertex(x0, y0, 0.0f);
    GlBatch::TexCoord(1.0f, 0.0f);
    GlBatch::Vertex(x1, y0, 0.0f);
    GlBatch::TexCoord(1.0f, 1.0f);
    GlBatch::Vertex(x1, y1, 0.0f);
    GlBatch::TexCoord(0.0f, 1.0f);
    GlBatch::Vertex(x0, y1, 0.0f);
    GlBatch::End();
}

void DrawCircle(float x, float radius, int stride) {
    const CAngleTable& table = GlTables::Circle16();
    GlBatch::Begin(GL_LINE_STRIP);
    WalkSteps(0, table.Last(), stride,
              [&](int k) { GlBatch::Vertex(x, radius * table.Sin(k), radius * table.Cos(k)); });
    GlBatch::End();
}

void DrawSweep(std::span<const SProfilePoint> profile, std::span<const SSweepPoint> path) {
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        const SProfilePoint& p = profile[i];
        const SProfilePoint& q = profile[i + 1];
        GlBatch::Begin(GL_TRIANGLE_STRIP);
        for (const SSweepPoint& step : path) {
            // The segment's end first, moved along its leaving normal; then its start, moved
            // along its arriving normal.
            const float qa = q.a + step.s * q.naOut;
            const float qb = q.b + step.s * q.nbOut;
            GlBatch::Normal(q.naIn, q.nbIn * step.ny, q.nbIn * step.nz);
            GlBatch::Vertex(qa, qb * step.dy + step.y, qb * step.dz + step.z);
            const float pa = p.a + step.s * p.naIn;
            const float pb = p.b + step.s * p.nbIn;
            GlBatch::Normal(p.naOut, p.nbOut * step.ny, p.nbOut * step.nz);
            GlBatch::Vertex(pa, pb * step.dy + step.y, pb * step.dz + step.z);
        }
        GlBatch::End();
    }
}

void DrawPrism(std::span<const SProfilePoint> profile, float z0, float z1, float sx, float ox,
               float sy, float oy) {
    if (profile.size() < 2) {
        return;
    }
    PrismSides(profile, z0, z1, sx, ox, sy, oy);
    for (float z : {z0, z1}) {
        GlBatch::Begin(GL_POLYGON);
        GlBatch::Normal(0.0f, 0.0f, 1.0f);
        for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
            GlBatch::Vertex(sx * profile[i].a + ox, sy * profile[i].b + oy, z);
        }
        GlBatch::End();
    }
}

void DrawPrismGen(const SPrismOutline& outline, float z0, float z1) {
    float v[3];
    float n[3];
    GlBatch::Begin(GL_QUADS);
    for (int i = 0; i < MaxGeneratedVertices; ++i) {
        outline.normalStart(i, outline.data, n);
        GlBatch::Normal3v(n);
        const bool last = outline.vertex(i, z0, outline.data, v);
        GlBatch::Vertex3v(v);
        outline.vertex(i, z1, outline.data, v);
        GlBatch::Vertex3v(v);
        outline.normalEnd(i + 1, outline.data, n);
        GlBatch::Normal3v(n);
        outline.vertex(i + 1, z1, outline.data, v);
        GlBatch::Vertex3v(v);
        outline.vertex(i + 1, z0, outline.data, v);
        GlBatch::Vertex3v(v);
        if (last) {
            break;
        }
    }
    GlBatch::End();
    for (float z : {z0, z1}) {
        GlBatch::Begin(GL_POLYGON);
        GlBatch::Normal(0.0f, 0.0f, 1.0f);
        for (int i = 0; i < MaxGeneratedVertices; ++i) {
            const bool last = outline.vertex(i, z, outline.data, v);
            GlBatch::Vertex3v(v);
            if (last) {
                break;
            }
        }
        GlBatch::End();
    }
}

void DrawPrismTess(std::span<const SProfilePoint> profile, float z0, float z1, float sx, float ox,
                   float sy, float oy) {
    if (profile.size() < 2) {
        return;
    }
    PrismSides(profile, z0, z1, sx, ox, sy, oy);
    const std::size_t corners = profile.size() - 1; // the last point repeats the first
    std::vector<std::array<GLdouble, 3>> points(profile.size());
    std::vector<std::size_t> order(corners);
    for (std::size_t i = 0; i < corners; ++i) {
        points[i] = {sx * profile[i].a + ox, sy * profile[i].b + oy, z0};
        order[i] = corners - 1 - i;
    }
    GlBatch::Normal(0.0f, 0.0f, -1.0f);
    TessCap(points, order);
    for (std::size_t i = 0; i < corners; ++i) {
        points[i][2] = z1;
        order[i] = i;
    }
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    TessCap(points, order);
}

void DrawCylinder(int stride, float x0, float x1, float radius) {
    const CAngleTable& table = GlTables::Circle16();
    GlBatch::Begin(GL_TRIANGLE_STRIP);
    WalkSteps(0, table.Last(), stride, [&](int k) {
        const float s = table.Sin(k);
        const float c = table.Cos(k);
        GlBatch::Normal(0.0f, s, c);
        GlBatch::Vertex(x0, radius * s, radius * c);
        GlBatch::Vertex(x1, radius * s, radius * c);
    });
    GlBatch::End();
}

namespace {

// The normal (nx, ny, nz) points out of the side from which the rim runs counter-clockwise.
template <class Rim>
void Disc(float x, float y, float z, int stride, float nx, float ny, float nz, Rim rim) {
    const CAngleTable& table = GlTables::Circle16();
    GlBatch::Begin(GL_TRIANGLE_FAN);
    GlBatch::Normal(nx, ny, nz);
    GlBatch::Vertex(x, y, z);
    WalkSteps(0, table.Last(), stride, [&](int k) { rim(table.Sin(k), table.Cos(k)); });
    GlBatch::End();
}

} // namespace

void DrawDisc1(float x, float y, float z, float radius, int stride) {
    Disc(x, y, z, stride, -1.0f, 0.0f, 0.0f,
         [&](float s, float c) { GlBatch::Vertex(x, y + radius * s, z + radius * c); });
}

void DrawDisc2(float x, float y, float z, float radius, int stride) {
    Disc(x, y, z, stride, 1.0f, 0.0f, 0.0f,
         [&](float s, float c) { GlBatch::Vertex(x, y + radius * c, z + radius * s); });
}

void DrawDisc3(float x, float y, float z, float radius, int stride) {
    Disc(x, y, z, stride, 0.0f, 0.0f, -1.0f,
         [&](float s, float c) { GlBatch::Vertex(x + radius * s, y + radius * c, z); });
}

void DrawDisc4(float x, float y, float z, float radius, int stride) {
    Disc(x, y, z, stride, 0.0f, 0.0f, 1.0f,
         [&](float s, float c) { GlBatch::Vertex(x + radius * c, y + radius * s, z); });
}

void DrawBox(float xMin, float xMax, float yMin, float yMax, float zMin, float zMax) {
    GlBatch::Begin(GL_QUADS);
    GlBatch::Normal(0.0f, -1.0f, 0.0f);
    GlBatch::Vertex(xMin, yMin, zMin);
    GlBatch::Vertex(xMax, yMin, zMin);
    GlBatch::Vertex(xMax, yMin, zMax);
    GlBatch::Vertex(xMin, yMin, zMax);
    GlBatch::Normal(0.0f, 1.0f, 0.0f);
    GlBatch::Vertex(xMin, yMax, zMin);
    GlBatch::Vertex(xMin, yMax, zMax);
    GlBatch::Vertex(xMax, yMax, zMax);
    GlBatch::Vertex(xMax, yMax, zMin);
    GlBatch::Normal(0.0f, 0.0f, 1.0f);
    GlBatch::Vertex(xMin, yMin, zMax);
    GlBatch::Vertex(xMax, yMin, zMax);
    GlBatch::Vertex(xMax, yMax, zMax);
    GlBatch::Vertex(xMin, yMax, zMax);
    GlBatch::Normal(0.0f, 0.0f, -1.0f);
    GlBatch::Vertex(xMin, yMin, zMin);
    GlBatch::Vertex(xMin, yMax, zMin);
    GlBatch::Vertex(xMax, yMax, zMin);
    GlBatch::Vertex(xMax, yMin, zMin);
    GlBatch::Normal(1.0f, 0.0f, 0.0f);
    GlBatch::Vertex(xMax, yMin, zMin);
    GlBatch::Vertex(xMax, yMax, zMin);
    GlBatch::Vertex(xMax, yMax, zMax);
    GlBatch::Vertex(xMax, yMin, zMax);
    GlBatch::Normal(-1.0f, 0.0f, 0.0f);
    GlBatch::Vertex(xMin, yMin, zMin);
    GlBatch::Vertex(xMin, yMin, zMax);
    GlBatch::Vertex(xMin, yMax, zMax);
    GlBatch::Vertex(xMin, yMax, zMin);
    GlBatch::End();
}

void DrawGridPatch(int octant, int stride) {
    if (octant < 0 || octant > 7) {
        return;
    }
    if (stride < 1) {
        stride = 1;
    }
    const OctantGrid& grid = Grid()[static_cast<std::size_t>(octant)];
    // Mirroring an odd number of axes turns the winding round; the outer side stays the front.
    const bool mirrored = ((octant & 1) ^ ((octant >> 1) & 1) ^ ((octant >> 2) & 1)) != 0;
    const int last = GridRows - 1;
    for (int row = 0; row + stride <= last; row += stride) {
        const int next = row + stride;
        GlBatch::Begin(GL_TRIANGLE_STRIP);
        for (int column = 0; column <= last - next; column += stride) {
            if (mirrored) {
                GridVertex(grid[GridIndex(row, column)]);
                GridVertex(grid[GridIndex(next, column)]);
            } else {
                GridVertex(grid[GridIndex(next, column)]);
                GridVertex(grid[GridIndex(row, column)]);
            }
        }
        GridVertex(grid[GridIndex(row, last - row)]);
        GlBatch::End();
    }
}

namespace {

const SRoundWoodSizes& Sizes(const void* data) {
    return *static_cast<const SRoundWoodSizes*>(data);
}

// The quarter ellipse's vertices 4 to 20 lie at (k - 4) steps of the quarter table.
constexpr int EllipseFirst = 4;
constexpr int OutlineLast = 19;

void Ellipse(int k, float out[3]) {
    const CAngleTable& table = GlTables::Quarter16();
    const int step = std::min(k - EllipseFirst, table.Last());
    out[0] = table.Cos(step);
    out[1] = table.Sin(step);
    out[2] = 0.0f;
}

void SideNormal(int side, float out[3]) {
    static constexpr float Normals[4][2] = {
        {0.0f, 1.0f}, {-1.0f, 0.0f}, {0.0f, -1.0f}, {1.0f, 0.0f}};
    out[0] = Normals[side][0];
    out[1] = Normals[side][1];
    out[2] = 0.0f;
}

} // namespace

bool RoundWoodOutlineVertex(int i, float z, const void* data, float out[3]) {
    const SRoundWoodSizes& size = Sizes(data);
    const float w = size.width;
    const float l = size.length;
    out[2] = z;
    switch (i < 0 ? 0 : i) {
    case 0:
        out[0] = 50.0f - w / 2.0f;
        out[1] = l / 2.0f + size.correction;
        break;
    case 1:
        out[0] = -w / 2.0f;
        out[1] = l / 2.0f + size.correction;
        break;
    case 2:
        out[0] = -w / 2.0f;
        out[1] = -l / 2.0f;
        break;
    case 3:
        out[0] = w / 2.0f + size.secondCorrection;
        out[1] = -l / 2.0f;
        break;
    case 4:
        out[0] = w / 2.0f + size.secondCorrection;
        out[1] = 50.0f - l / 2.0f;
        break;
    default: {
        float direction[3];
        Ellipse(i, direction);
        out[0] = 50.0f - w / 2.0f + (size.secondCorrection + w - 50.0f) * direction[0];
        out[1] = 50.0f - l / 2.0f + (size.correction + l - 50.0f) * direction[1];
        break;
    }
    }
    return i >= OutlineLast;
}

void RoundWoodOutlineNormalStart(int i, const void* /*data*/, float out[3]) {
    if (i <= 2) {
        SideNormal(i < 0 ? 0 : i, out);
    } else if (i <= EllipseFirst) {
        SideNormal(3, out);
    } else {
        Ellipse(i, out);
    }
}

void RoundWoodOutlineNormalEnd(int i, const void* /*data*/, float out[3]) {
    if (i <= 0) {
        SideNormal(0, out); // vertex 0 is vertex 20, the end of the ellipse
    } else if (i <= EllipseFirst) {
        SideNormal(i - 1, out);
    } else {
        Ellipse(i, out);
    }
}

} // namespace GlPrim
