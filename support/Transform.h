// Rigid placement in doubles: a rotation whose columns are the local axes in world coordinates,
// followed by a translation in millimetres; a local point p lands at rotation * p + translation.
// Element placements, connection frames, panel corners and tube ends are all values of this type.
// Axis numbers: 0 = X, 1 = Y, 2 = Z.
#pragma once

#include <array>
#include <optional>

#include "support/Matrix3.h"
#include "support/Vector3.h"

class CFileRead;
class CFileWrite;

class CTransform {
public:
    CMatrix3 rotation;
    CVector3 translation;

    CTransform() = default;
    CTransform(CMatrix3 rotationValue, CVector3 translationValue)
        : rotation(rotationValue), translation(translationValue) {}

    // Moves the origin by d millimetres along the local X, Y or Z axis.
    void MoveX(double d);
    void MoveY(double d);
    void MoveZ(double d);
    // A copy moved by d along its local X axis.
    CTransform MovedX(double d) const;
    // Local axis n (0 to 2) in world coordinates; any other n gives the zero vector.
    CVector3 GetAxis(int n) const;

    // The operations below take two different axis numbers a and b from 0 to 2; with anything
    // else they return false and change nothing.
    // Turns axes a and b in their plane by the angle in degrees; a positive angle turns axis a
    // towards axis b.
    bool RotateDeg(double angle, int a, int b);
    // Negates axes a and b: a half turn about the third axis.
    bool Flip(int a, int b);
    // Quarter turn: new axis a = -old axis b, new axis b = old axis a.
    bool Turn90(int a, int b);

    // Quarter and half turns only, so that local Y is the axis that was most nearly vertical and
    // points up, and local X points along world x as far as the remaining turns allow. Used to
    // stand a coupling created at a tube end square to the world.
    void AlignToWorld();
    // Replaces every local axis by a signed world axis: the axis most nearly vertical becomes
    // +-y, of the other two the one nearest world x becomes +-x, the last +-z, each by the sign
    // of its own entry (an entry of exactly 0 counts as negative).
    void RoundToAxes();

    // Copies turned by the orientation tables (Orientation.h), translation kept. Nothing when the
    // side or edge is out of range (sides 0 to 5, edges 0 to 11). A pair of sides on one axis
    // has no turn and gives an unchanged copy.
    std::optional<CTransform> TurnXToSide(int side) const;
    std::optional<CTransform> TurnBySide(int edge) const;
    std::optional<CTransform> TurnToSides(int sideX, int sideY) const;

    // The sixteen doubles for glMultMatrixd, column-major: local X and 0, local Y and 0, local Z
    // and 0, translation and 1.
    std::array<double, 16> GetGlMatrix() const;
    // The same with the rotation entries times rotationFactor and the translation times
    // translationFactor (exploded drawing: each element shrunk about its own origin).
    std::array<double, 16> GetGlMatrixScaled(double translationFactor, double rotationFactor) const;

    // rotation * local + translation.
    CVector3 MapPoint(CVector3 local) const;
    // Composition, b first: the result maps p to a.MapPoint(b.MapPoint(p)). With a an element's
    // placement and b a frame in that element's local coordinates, the result is b in world
    // coordinates.
    static CTransform Mul(CTransform a, CTransform b);
    // The inverse placement: Mul(t, t.Inverse()) is the identity. Exact only for an orthonormal
    // rotation (a rotation read from a file is only orthonormal to the file's precision).
    CTransform Inverse() const;

    friend bool operator==(const CTransform& a, const CTransform& b) = default;
};

// The text form of a placement in design files and on the clipboard:
// {q0, q1, q2, q3, x, y, z}, the rotation's quaternion (w, x, y, z) with each component q
// stored as 4 * q * |q|, and the translation in millimetres; at most 12 decimals, a decimal
// point whatever the locale, nothing before "{" or after "}". The quaternion is written
// normalised, its four stored magnitudes adding up to exactly 4 in the 12th decimal, and of the
// two signs the one whose first component not written as zero is positive; so the text of a
// placement read from it is written again as the same text. A non-finite value is not written
// and leaves the writer's error set (CFileWrite::HasError).
void WriteTransform(CTransform transform, CFileWrite& writer);
// Reads the text form back: whitespace, "{", directly the first number, then six more each
// after whitespace, "," and whitespace, then whitespace, "}" and whitespace; numbers with a
// decimal point only. The stored quaternion values are taken back as sqrt(|s| / 4) with their
// sign, normalised and turned into the rotation. Format errors are the reader's (error bits,
// report, and ReadAbort when the bit is in its abort mask); the placement is still assigned
// from the values read (0 for a missing number). A quaternion whose squared length is not
// within 1e-4 of 1 (all zero, far off, beyond a double) is no rotation, and a value that would
// put infinity or NaN into the placement no placement: both are error 256, reported with the
// reader's position, and leave the placement unchanged. True when the reader has no error
// recorded afterwards.
bool ReadTransform(CTransform& transform, CFileRead& reader);
