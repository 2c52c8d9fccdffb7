// Control nets of the slides. Each net is a cross-section swept along a path: the path gives
// per row along the slide the bottom point of the chute, how far the side rims stand up (0 on
// the hook's tip) and the half width; the cross-section gives per column the offset across the
// chute and the height above its bottom. The rims are hollow: outer wall, top and inner wall.
#include "app/render/SlideNet.h"

#include <algorithm>
#include <cmath>

#include "support/Vector3.h"

namespace {

// One row of the net along the slide.
struct SPathPoint {
    float x, y, z; // bottom of the chute (mm)
    float rim;     // factor of the cross-section's heights
    float halfWidth;
    float weight;
    bool upright; // rims stand vertically instead of square to the chute
};

// Cross-section: offset across as a fraction of the half width, height above the bottom (mm).
// The first and last heights are the lower edges of the outer walls, which differ by slide.
constexpr int Columns = 18;
constexpr float Across[Columns] = {
    -1.0f,         -1.0f,         -1.0f,         -222.0f / 230, -195.0f / 230, -180.0f / 230,
    -175.0f / 230, -170.0f / 230, -130.0f / 230, 130.0f / 230,  170.0f / 230,  175.0f / 230,
    180.0f / 230,  195.0f / 230,  222.0f / 230,  1.0f,          1.0f,          1.0f};
constexpr float Heights[Columns] = {0.0f,  120.0f, 134.0f, 134.0f, 125.0f, 50.0f,
                                    5.0f,  0.0f,   0.0f,   0.0f,   0.0f,   5.0f,
                                    50.0f, 125.0f, 134.0f, 134.0f, 120.0f, 0.0f};

// Knots along: the hook (0 to 1), the chute and the run-out, each ending at a double knot.
constexpr float KnotsAlong8[] = {0, 0, 0, 1, 1, 2, 3, 3, 4, 4, 4};
constexpr float KnotsAlong6[] = {0, 0, 0, 1, 1, 2, 3, 3, 3};
constexpr float KnotsAcross[] = {0, 0,  0,  1,  2,  3,  4,  5,  6,  7, 8,
                                 9, 10, 11, 12, 13, 14, 15, 16, 16, 16};

// Straight slide: over the tube, level for 170 mm, down at about 40 degrees, run-out level at
// y = -762 ending at z = 1257.
const SPathPoint SlidePath[] = {
    {0, 0, -30, 0, 230, 1, true},         {0, 36, -30, 1, 230, 1, true},
    {0, 36, 30, 1, 230, 1, true},         {0, 36, 200, 1, 230, 0.8f, false},
    {0, -402, 730, 1, 230, 1, false},     {0, -700, 1090, 1, 230, 1, false},
    {0, -762, 1165, 1, 230, 0.8f, false}, {0, -762, 1257, 1, 230, 1, false}};

// Curved slide: over the tube, then a quarter turn of radius 570 mm about (570, 30) in plan
// while falling, and a run-out along +X ending at x = 660.
const SPathPoint CurvedPath[] = {
    {0, 0, -30, 0, 227, 1, true},           {0, 36, -30, 1, 227, 1, true},
    {0, 36, 30, 1, 227, 1, true},           {0, -148, 266, 1, 227, 0.924f, true},
    {334, -516, 600, 1, 230, 0.924f, true}, {570, -700, 600, 1, 230, 1, true},
    {615, -755, 600, 1, 230, 1, true},      {660, -755, 600, 1, 230, 1, true}};

// Run-out: over the tube, nearly level to z = 453.
const SPathPoint RunOutPath[] = {{0, 0, -30, 0, 225, 1, true},  {0, 36, -30, 1, 225, 1, true},
                                 {0, 36, 30, 1, 225, 1, true},  {0, 34, 170, 1, 225, 1, true},
                                 {0, 30, 330, 1, 225, 1, true}, {0, 26, 453, 1, 225, 1, true}};

CVector3 Normalized(CVector3 v, CVector3 fallback) {
    const double length = v.Length();
    return length > 1e-9 ? CVector3::Scale(1.0 / length, v) : fallback;
}

SSlideNet MakeNet(std::span<const SPathPoint> path, float wallBottom, bool rational,
                  std::span<const float> knotsAlong) {
    SSlideNet net;
    net.uCount = static_cast<int>(path.size());
    net.vCount = Columns;
    net.dimension = rational ? 4 : 3;
    net.uKnots.assign(knotsAlong.begin(), knotsAlong.end());
    net.vKnots.assign(std::begin(KnotsAcross), std::end(KnotsAcross));
    const auto bottom = [&](std::size_t i) { return CVector3(path[i].x, path[i].y, path[i].z); };
    for (std::size_t i = 0; i < path.size(); ++i) {
        const std::size_t before = i == 0 ? 0 : i - 1;
        const std::size_t after = i + 1 < path.size() ? i + 1 : i;
        const CVector3 tangent = Normalized(CVector3::Sub(bottom(after), bottom(before)), {});
        // Across: level and square to the direction in plan; up: square to both.
        const CVector3 across =
            Normalized(CVector3(tangent.z, 0.0, -tangent.x), CVector3(1.0, 0.0, 0.0));
        const CVector3 up = path[i].upright
                                ? CVector3(0.0, 1.0, 0.0)
                                : Normalized(CVector3::Cross(tangent, across), {0.0, 1.0, 0.0});
        for (int j = 0; j < Columns; ++j) {
            const float height = (j == 0 || j == Columns - 1) ? wallBottom : Heights[j];
            const CVector3 point = CVector3::Add(
                bottom(i), CVector3::Add(CVector3::Scale(Across[j] * path[i].halfWidth, across),
                                         CVector3::Scale(height * path[i].rim, up)));
            const float w = rational ? path[i].weight : 1.0f;
            net.points.push_back(static_cast<float>(point.x) * w);
            net.points.push_back(static_cast<float>(point.y) * w);
            net.points.push_back(static_cast<float>(point.z) * w);
            if (rational) {
                net.points.push_back(w);
            }
        }
    }
    return net;
}

// Outlines in (u, v): the rims and the middle of the chute reach over the tube; the hook is cut
// away where the couplings at the tube's ends sit. The run-out's hook is its middle only, and its
// rims stop short of its end.
const SPoint2 SlideTrim[] = {{0, 0},     {4, 0},      {4, 16},        {0, 16},    {0, 14},
                             {1, 14},    {1.07f, 13}, {1.07f, 9.25f}, {1, 9.25f}, {0, 9.25f},
                             {0, 6.75f}, {1, 6.75f},  {1.07f, 6.75f}, {1.07f, 3}, {1, 2},
                             {0, 2},     {0, 0}};
const SPoint2 CurvedTrim[] = {{0, 0},     {4, 0},     {4, 16},    {0, 16},    {0, 14},
                              {1, 14},    {1, 13},    {1, 9.25f}, {1, 9.25f}, {0, 9.25f},
                              {0, 6.75f}, {1, 6.75f}, {1, 6.75f}, {1, 3},     {1, 2},
                              {0, 2},     {0, 0}};
const SPoint2 RunOutTrim[] = {{1, 0},      {2.79f, 0},  {2.85f, 2}, {3, 2},  {3, 14},
                              {2.85f, 14}, {2.79f, 16}, {1, 16},    {1, 10}, {1, 9.25f},
                              {0, 9.25f},  {0, 6.75f},  {1, 6.75f}, {1, 6},  {1, 0}};

} // namespace

std::array<float, 3> SSlideNet::Position(int i, int j) const {
    const float* p = &points[static_cast<std::size_t>((i * vCount + j) * dimension)];
    const float w = dimension == 4 ? p[3] : 1.0f;
    return {p[0] / w, p[1] / w, p[2] / w};
}

SSlideSteps GetSlideSteps(int stride) {
    const float s = static_cast<float>(stride < 1 ? 1 : stride);
    return {8.0f / s, 4.0f / s};
}

const SSlideNet* GetSlideNet(ElmntKind kind) {
    static const SSlideNet slide = MakeNet(SlidePath, -9.0f, true, KnotsAlong8);
    static const SSlideNet curved = MakeNet(CurvedPath, -19.0f, true, KnotsAlong8);
    static const SSlideNet runOut = MakeNet(RunOutPath, -51.0f, false, KnotsAlong6);
    switch (kind) {
    case ElmntKind::Slide:
        return &slide;
    case ElmntKind::CurvedSlide:
        return &curved;
    case ElmntKind::SlideEnd:
        return &runOut;
    default:
        return nullptr;
    }
}

std::span<const SPoint2> GetSlideTrim(ElmntKind kind) {
    switch (kind) {
    case ElmntKind::Slide:
        return SlideTrim;
    case ElmntKind::CurvedSlide:
        return CurvedTrim;
    case ElmntKind::SlideEnd:
        return RunOutTrim;
    default:
        return {};
    }
}

SlideTrimKind GetSlideTrimKind(ElmntKind kind) {
    return kind == ElmntKind::Slide ? SlideTrimKind::PiecewiseLinear : SlideTrimKind::Curve;
}

std::vector<float> SubdivideTrim(std::span<const SPoint2> outline, float uStep, float vStep) {
    std::vector<float> points;
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        const float du = outline[i + 1][0] - outline[i][0];
        const float dv = outline[i + 1][1] - outline[i][1];
        const int pieces = std::max(
            1, static_cast<int>(std::ceil(std::max(std::fabs(du) * uStep, std::fabs(dv) * vStep))));
        for (int k = 0; k < pieces; ++k) {
            const float t = static_cast<float>(k) / static_cast<float>(pieces);
            points.push_back(outline[i][0] + t * du);
            points.push_back(outline[i][1] + t * dv);
        }
    }
    if (!outline.empty()) {
        points.push_back(outline.back()[0]);
        points.push_back(outline.back()[1]);
    }
    return points;
}
