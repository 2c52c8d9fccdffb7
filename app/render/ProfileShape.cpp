// Crease normals of point profiles.
#include "app/render/ProfileShape.h"

#include <cmath>

namespace ProfileShape {

std::vector<SProfilePoint> Creased(std::span<const SPoint2> points) {
    const std::size_t n = points.size();
    std::vector<SProfilePoint> profile(n);
    if (n == 0) {
        return profile;
    }
    // Normal of segment i (from point i to i + 1), or nothing for a point-like segment.
    std::vector<std::array<float, 2>> normals(n > 1 ? n - 1 : 0);
    std::vector<bool> valid(normals.size(), false);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const float da = points[i + 1][0] - points[i][0];
        const float db = points[i + 1][1] - points[i][1];
        const float length = std::sqrt(da * da + db * db);
        if (length > 0.0f) {
            normals[i] = {db / length, -da / length};
            valid[i] = true;
        }
    }
    for (std::size_t i = 1; i < normals.size(); ++i) {
        if (!valid[i] && valid[i - 1]) {
            normals[i] = normals[i - 1];
            valid[i] = true;
        }
    }
    for (std::size_t i = normals.size(); i-- > 1;) {
        if (!valid[i - 1] && valid[i]) {
            normals[i - 1] = normals[i];
            valid[i - 1] = true;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::array<float, 2> none{0.0f, 0.0f};
        const std::array<float, 2>& in =
            i > 0 ? normals[i - 1] : (normals.empty() ? none : normals[0]);
        const std::array<float, 2>& out =
            i < normals.size() ? normals[i] : (normals.empty() ? none : normals.back());
        profile[i] = {points[i][0], points[i][1], in[0], in[1], out[0], out[1]};
    }
    return profile;
}

std::vector<SProfilePoint> Outline(std::span<const SPoint2> points) {
    // Twice the signed area (shoelace): positive for a counter-clockwise outline.
    double area = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        area += double(points[i][0]) * points[i + 1][1] - double(points[i + 1][0]) * points[i][1];
    }
    if (area >= 0.0) {
        return Creased(points);
    }
    std::vector<SPoint2> reversed(points.rbegin(), points.rend());
    return Creased(reversed);
}

} // namespace ProfileShape
