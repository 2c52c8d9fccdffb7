// 3x3 matrix in doubles, row-major: m[r][c] is row r, column c. As a rotation its columns are
// the local X, Y and Z axes in world coordinates (row 0 the world-x components, row 1 world-y,
// row 2 world-z). A plain value; a new one is the identity.
#pragma once

#include "support/Quaternion.h"
#include "support/Vector3.h"

class CMatrix3 {
public:
    double m[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};

    constexpr CMatrix3() = default;

    // The matrix whose columns are the three given axes.
    static CMatrix3 FromColumns(CVector3 axisX, CVector3 axisY, CVector3 axisZ);
    // Column c (0 to 2); any other c gives the zero vector.
    CVector3 GetColumn(int c) const;
    // Sets column c (0 to 2); false and nothing changed for any other c.
    bool SetColumn(int c, CVector3 v);

    // The rotation of a quaternion. The quaternion is not normalised first: one whose squared
    // components do not sum to 1 gives a correspondingly scaled matrix.
    static CMatrix3 FromQuat(CQuaternion q);
    // m * v.
    static CVector3 MulVec(CMatrix3 m, CVector3 v);
    // a * b: applying the result is applying b first, then a.
    static CMatrix3 Mul(CMatrix3 a, CMatrix3 b);
    // The transpose, which is the inverse of an orthonormal rotation.
    CMatrix3 Transposed() const;

    friend bool operator==(const CMatrix3& a, const CMatrix3& b) = default;
};
