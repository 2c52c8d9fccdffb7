// Emptying, growing and point test of an axis-aligned box.
#include "support/Box3.h"

#include <limits>

void CBox3::Reset() {
    constexpr double largest = std::numeric_limits<double>::max();
    maxY = -largest;
    minY = largest;
    maxX = -largest;
    minX = largest;
    maxZ = -largest;
    minZ = largest;
}

void CBox3::Extend(CVector3 point) {
    if (point.x < minX) {
        minX = point.x;
    }
    if (point.x > maxX) {
        maxX = point.x;
    }
    if (point.y < minY) {
        minY = point.y;
    }
    if (point.y > maxY) {
        maxY = point.y;
    }
    if (point.z < minZ) {
        minZ = point.z;
    }
    if (point.z > maxZ) {
        maxZ = point.z;
    }
}

bool CBox3::Contains(CVector3 point) const {
    return minX <= point.x && point.x <= maxX && minY <= point.y && point.y <= maxY &&
           minZ <= point.z && point.z <= maxZ;
}
