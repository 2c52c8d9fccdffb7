// Matrix construction by columns, the rotation of a quaternion, and products.
#include "support/Matrix3.h"

#include <cmath>

CMatrix3 CMatrix3::FromColumns(CVector3 axisX, CVector3 axisY, CVector3 axisZ) {
    CMatrix3 r;
    r.SetColumn(0, axisX);
    r.SetColumn(1, axisY);
    r.SetColumn(2, axisZ);
    return r;
}

CVector3 CMatrix3::GetColumn(int c) const {
    if (c < 0 || c > 2) {
        return {};
    }
    return {m[0][c], m[1][c], m[2][c]};
}

bool CMatrix3::SetColumn(int c, CVector3 v) {
    if (c < 0 || c > 2) {
        return false;
    }
    m[0][c] = v.x;
    m[1][c] = v.y;
    m[2][c] = v.z;
    return true;
}

CMatrix3 CMatrix3::FromQuat(CQuaternion q) {
    double w = q.w;
    double x = q.x;
    double y = q.y;
    double z = q.z;
    CMatrix3 r;
    r.m[0][0] = w * w + x * x - y * y - z * z;
    r.m[1][1] = w * w - x * x + y * y - z * z;
    r.m[2][2] = w * w - x * x - y * y + z * z;
    r.m[0][1] = 2.0 * (x * y - w * z);
    r.m[0][2] = 2.0 * (w * y + x * z);
    r.m[1][0] = 2.0 * (w * z + x * y);
    r.m[1][2] = 2.0 * (y * z - w * x);
    r.m[2][0] = 2.0 * (x * z - w * y);
    r.m[2][1] = 2.0 * (w * x + y * z);
    return r;
}

CVector3 CMatrix3::MulVec(CMatrix3 m, CVector3 v) {
    return {m.m[0][0] * v.x + m.m[0][1] * v.y + m.m[0][2] * v.z,
            m.m[1][0] * v.x + m.m[1][1] * v.y + m.m[1][2] * v.z,
            m.m[2][0] * v.x + m.m[2][1] * v.y + m.m[2][2] * v.z};
}

CMatrix3 CMatrix3::Mul(CMatrix3 a, CMatrix3 b) {
    CMatrix3 r;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            r.m[row][col] =
                a.m[row][0] * b.m[0][col] + a.m[row][1] * b.m[1][col] + a.m[row][2] * b.m[2][col];
        }
    }
    return r;
}

CMatrix3 CMatrix3::Transposed() const {
    CMatrix3 r;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            r.m[row][col] = m[col][row];
        }
    }
    return r;
}
