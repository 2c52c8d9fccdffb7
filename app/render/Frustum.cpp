// View-volume planes and the drawing extent of elements.
#include "app/render/Frustum.h"

#include <algorithm>
#include <cmath>

#include <GL/gl.h>

namespace {

// Beyond its sizes, no kind draws farther than this from its origin: the slides (about 1.5 m
// with the explosion shift), the pools and the large roof are the largest; the round textile,
// the bag and the slide's run-out reach up to 0.9 m. Every other kind stays within half a metre
// (the axes of couplings, the clamps), so that the tighter sphere lets a pass near the mouse
// leave out all but the few elements there. Checked against the drawing of every kind in the
// tests.
constexpr double LargeKindReach = 3000.0;
constexpr double KindReach = 1000.0;

bool IsLarge(DrawRoutine draw) {
    switch (draw) {
    case DrawRoutine::TextilRound:
    case DrawRoutine::Bag:
    case DrawRoutine::Roof:
    case DrawRoutine::Slide:
    case DrawRoutine::CurvedSlide:
    case DrawRoutine::SlideEnd:
    case DrawRoutine::Pool:
    case DrawRoutine::PoolSmall:
        return true;
    default:
        return false;
    }
}

} // namespace

CFrustum::CFrustum(const std::array<double, 16>& clip) {
    // Row i of the matrix, as a plane over (x, y, z, 1).
    auto row = [&](int i) {
        return std::array<double, 4>{
            clip[static_cast<std::size_t>(i)], clip[static_cast<std::size_t>(4 + i)],
            clip[static_cast<std::size_t>(8 + i)], clip[static_cast<std::size_t>(12 + i)]};
    };
    const std::array<double, 4> w = row(3);
    for (int axis = 0; axis < 3; ++axis) {
        const std::array<double, 4> r = row(axis);
        for (int sign = 0; sign < 2; ++sign) {
            std::array<double, 4> plane{};
            for (std::size_t k = 0; k < 4; ++k) {
                plane[k] = sign == 0 ? w[k] + r[k] : w[k] - r[k];
            }
            const double length = std::hypot(plane[0], plane[1], plane[2]);
            if (length > 0.0 && std::isfinite(length)) {
                for (double& value : plane) {
                    value /= length;
                }
            } else {
                plane = {};
            }
            m_planes[static_cast<std::size_t>(axis * 2 + sign)] = plane;
        }
    }
}

std::array<double, 16> GetGlClipMatrix() {
    std::array<double, 16> projection{};
    std::array<double, 16> model{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, model.data());
    std::array<double, 16> clip{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += projection[static_cast<std::size_t>(k * 4 + row)] *
                       model[static_cast<std::size_t>(column * 4 + k)];
            }
            clip[static_cast<std::size_t>(column * 4 + row)] = sum;
        }
    }
    return clip;
}

CFrustum CFrustum::FromGl() {
    return CFrustum(GetGlClipMatrix());
}

bool CFrustum::IsSphereOutside(const CVector3& centre, double radius) const {
    for (const auto& plane : m_planes) {
        const double distance =
            plane[0] * centre.x + plane[1] * centre.y + plane[2] * centre.z + plane[3];
        if (distance < -radius) {
            return true;
        }
    }
    return false;
}

double GetDrawRadius(const CElmnt& elmnt) {
    const SKindInfo* info = FindKind(elmnt.kind);
    if (info == nullptr || info->draw == DrawRoutine::FloorGrid ||
        info->draw == DrawRoutine::VrmlSlide) {
        return -1.0;
    }
    const double sizes = std::abs(double(elmnt.length)) + std::abs(double(elmnt.correction)) +
                         std::abs(double(elmnt.secondSize)) +
                         std::abs(double(elmnt.secondCorrection));
    if (!std::isfinite(sizes)) {
        return -1.0;
    }
    // The local axes may be longer than unit in a file's placement: the longest one scales.
    const CMatrix3& r = elmnt.placement.rotation;
    double scale = 1.0;
    for (int column = 0; column < 3; ++column) {
        const CVector3 axis = r.GetColumn(column);
        scale = std::max(scale, std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z));
    }
    return (sizes + (IsLarge(info->draw) ? LargeKindReach : KindReach)) * scale;
}

bool MayReach(const CFrustum& volume, const CElmnt& elmnt) {
    const double radius = GetDrawRadius(elmnt);
    return radius < 0.0 || !volume.IsSphereOutside(elmnt.placement.translation, radius);
}
