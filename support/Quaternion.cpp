// Quaternion of a rotation matrix.
#include "support/Quaternion.h"

#include <cmath>

#include "support/Matrix3.h"

CQuaternion CQuaternion::FromMatrix(CMatrix3 matrix) {
    const auto& m = matrix.m;
    auto rootOrZero = [](double term) { return term > 0.0 ? std::sqrt(term) : 0.0; };
    double w = rootOrZero((1.0 + m[0][0] + m[1][1] + m[2][2]) * 0.25);
    double x = rootOrZero((1.0 + m[0][0] - m[1][1] - m[2][2]) * 0.25);
    double y = rootOrZero((1.0 - m[0][0] + m[1][1] - m[2][2]) * 0.25);
    double z = rootOrZero((1.0 - m[0][0] - m[1][1] + m[2][2]) * 0.25);

    // The largest root keeps its value; the others follow from off-diagonal sums and
    // differences divided by it. Ties go to w, then x, then z before y.
    if (w > x && w > y && w > z) {
        double f = 1.0 / w;
        x = (m[2][1] - m[1][2]) * f * 0.25;
        y = (m[0][2] - m[2][0]) * f * 0.25;
        z = (m[1][0] - m[0][1]) * f * 0.25;
    } else if (x > y && x > z) {
        double f = 1.0 / x;
        w = (m[2][1] - m[1][2]) * f * 0.25;
        y = (m[1][0] + m[0][1]) * f * 0.25;
        z = (m[2][0] + m[0][2]) * f * 0.25;
    } else if (y <= z) {
        double f = 1.0 / z;
        w = (m[1][0] - m[0][1]) * f * 0.25;
        x = (m[2][0] + m[0][2]) * f * 0.25;
        y = (m[2][1] + m[1][2]) * f * 0.25;
    } else {
        double f = 1.0 / y;
        w = (m[0][2] - m[2][0]) * f * 0.25;
        x = (m[1][0] + m[0][1]) * f * 0.25;
        z = (m[2][1] + m[1][2]) * f * 0.25;
    }
    if (w < 0.0) {
        return {-w, -x, -y, -z};
    }
    return {w, x, y, z};
}
