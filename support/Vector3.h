// Three-component vector in doubles: points and directions of the design, in millimetres where
// it is a position. A plain value, copied whole and passed by value.
#pragma once

class CVector3 {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    constexpr CVector3() = default;
    constexpr CVector3(double xValue, double yValue, double zValue)
        : x(xValue), y(yValue), z(zValue) {}

    double Length() const;
    // Scales to unit length (each component times 1 / length); a vector of length exactly 0 is
    // left as it is.
    void Normalise();

    static CVector3 Add(CVector3 a, CVector3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    static CVector3 Sub(CVector3 a, CVector3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    static double Dot(CVector3 a, CVector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
    static CVector3 Scale(double s, CVector3 v) { return {s * v.x, s * v.y, s * v.z}; }
    // Right-handed: Cross(X, Y) = Z.
    static CVector3 Cross(CVector3 a, CVector3 b) {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }
    // Squared distance of two points; callers compare it with squared limits.
    static double DistSq(CVector3 a, CVector3 b);

    friend bool operator==(CVector3 a, CVector3 b) = default;
};

inline CVector3 operator+(CVector3 a, CVector3 b) {
    return CVector3::Add(a, b);
}
inline CVector3 operator-(CVector3 a, CVector3 b) {
    return CVector3::Sub(a, b);
}
inline CVector3 operator*(double s, CVector3 v) {
    return CVector3::Scale(s, v);
}
