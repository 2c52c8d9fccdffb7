// Vector length, normalisation and point distance.
#include "support/Vector3.h"

#include <cmath>

double CVector3::Length() const {
    return std::sqrt(x * x + y * y + z * z);
}

void CVector3::Normalise() {
    double length = Length();
    if (length == 0.0) {
        return;
    }
    double factor = 1.0 / length;
    x *= factor;
    y *= factor;
    z *= factor;
}

double CVector3::DistSq(CVector3 a, CVector3 b) {
    double dx = a.x - b.x;
    double dy = a.y - b.y;
    double dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}
