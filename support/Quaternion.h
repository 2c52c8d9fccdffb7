// Rotation as a quaternion (w the scalar part), the form in which placements are stored in
// design files and on the clipboard. A plain value; a new one is the identity (1, 0, 0, 0).
#pragma once

class CMatrix3;

class CQuaternion {
public:
    double w = 1.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CQuaternion() = default;
    constexpr CQuaternion(double wValue, double xValue, double yValue, double zValue)
        : w(wValue), x(xValue), y(yValue), z(zValue) {}

    // The quaternion of a rotation matrix, always with w >= 0. It is built from the largest of
    // the four diagonal terms, so that no division by a small component loses precision; a
    // degenerate matrix still gives finite values.
    static CQuaternion FromMatrix(CMatrix3 m);

    friend bool operator==(CQuaternion a, CQuaternion b) = default;
};
