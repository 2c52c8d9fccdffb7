// Moves and turns of placements in their own frame, the OpenGL matrix order, composition and
// the text form.
#include "support/Transform.h"

#include <cmath>
#include <cstdint>

#include "support/AngleConstants.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/Quaternion.h"

namespace {

// Decimals of every number of the text form: at most 12, trailing zeros dropped.
constexpr int TextDecimals = -12;

bool IsAxisPair(int a, int b) {
    return a >= 0 && a <= 2 && b >= 0 && b <= 2 && a != b;
}

bool IsFinite(const CTransform& t) {
    for (const auto& row : t.rotation.m) {
        for (double entry : row) {
            if (!std::isfinite(entry)) {
                return false;
            }
        }
    }
    return std::isfinite(t.translation.x) && std::isfinite(t.translation.y) &&
           std::isfinite(t.translation.z);
}

} // namespace

void CTransform::MoveX(double d) {
    translation.x += d * rotation.m[0][0];
    translation.y += d * rotation.m[1][0];
    translation.z += d * rotation.m[2][0];
}

void CTransform::MoveY(double d) {
    translation.x += d * rotation.m[0][1];
    translation.y += d * rotation.m[1][1];
    translation.z += d * rotation.m[2][1];
}

void CTransform::MoveZ(double d) {
    translation.x += d * rotation.m[0][2];
    translation.y += d * rotation.m[1][2];
    translation.z += d * rotation.m[2][2];
}

CTransform CTransform::MovedX(double d) const {
    CTransform moved = *this;
    moved.MoveX(d);
    return moved;
}

CVector3 CTransform::GetAxis(int n) const {
    return rotation.GetColumn(n);
}

bool CTransform::RotateDeg(double angle, int a, int b) {
    if (!IsAxisPair(a, b)) {
        return false;
    }
    double r = angle * DEG2RAD;
    double s = std::sin(r);
    double c = std::cos(r);
    for (auto& row : rotation.m) {
        double oldA = row[a];
        double oldB = row[b];
        row[a] = oldB * s + oldA * c;
        row[b] = oldB * c - oldA * s;
    }
    return true;
}

bool CTransform::Flip(int a, int b) {
    if (!IsAxisPair(a, b)) {
        return false;
    }
    for (auto& row : rotation.m) {
        row[a] = -row[a];
        row[b] = -row[b];
    }
    return true;
}

bool CTransform::Turn90(int a, int b) {
    if (!IsAxisPair(a, b)) {
        return false;
    }
    for (auto& row : rotation.m) {
        double oldA = row[a];
        row[a] = -row[b];
        row[b] = oldA;
    }
    return true;
}

void CTransform::AlignToWorld() {
    const auto& m = rotation.m;
    // Step 1: the axis most nearly vertical becomes local Y, pointing up.
    double upX = std::fabs(m[1][0]);
    double upY = std::fabs(m[1][1]);
    double upZ = std::fabs(m[1][2]);
    if (upX > upY && upX > upZ) {
        if (m[1][0] > 0.0) {
            Turn90(0, 1);
        } else {
            Turn90(1, 0);
        }
    } else if (upZ > upY) {
        if (m[1][2] > 0.0) {
            Turn90(2, 1);
        } else {
            Turn90(1, 2);
        }
    } else if (m[1][1] < 0.0) {
        Flip(1, 2);
    }
    // Step 2: of local X and Z, the one nearer world x becomes local X, pointing along +x.
    if (std::fabs(m[0][0]) < std::fabs(m[0][2])) {
        if (m[0][2] > 0.0) {
            Turn90(2, 0);
        } else {
            Turn90(0, 2);
        }
    } else if (m[0][0] < 0.0) {
        Flip(0, 2);
    }
}

void CTransform::RoundToAxes() {
    auto& m = rotation.m;
    auto sign = [](double v) { return v > 0.0 ? 1.0 : -1.0; };

    int vertical = 0;
    for (int c = 1; c < 3; ++c) {
        if (std::fabs(m[1][c]) > std::fabs(m[1][vertical])) {
            vertical = c;
        }
    }
    int first = vertical == 0 ? 1 : 0;
    int second = vertical == 2 ? 1 : 2;
    int along = std::fabs(m[0][second]) > std::fabs(m[0][first]) ? second : first;
    int last = 3 - vertical - along;

    CVector3 up(0.0, sign(m[1][vertical]), 0.0);
    CVector3 side(sign(m[0][along]), 0.0, 0.0);
    CVector3 depth(0.0, 0.0, sign(m[2][last]));
    rotation.SetColumn(vertical, up);
    rotation.SetColumn(along, side);
    rotation.SetColumn(last, depth);
}

std::array<double, 16> CTransform::GetGlMatrix() const {
    return GetGlMatrixScaled(1.0, 1.0);
}

std::array<double, 16> CTransform::GetGlMatrixScaled(double translationFactor,
                                                     double rotationFactor) const {
    const auto& m = rotation.m;
    return {m[0][0] * rotationFactor,          m[1][0] * rotationFactor,
            m[2][0] * rotationFactor,          0.0,
            m[0][1] * rotationFactor,          m[1][1] * rotationFactor,
            m[2][1] * rotationFactor,          0.0,
            m[0][2] * rotationFactor,          m[1][2] * rotationFactor,
            m[2][2] * rotationFactor,          0.0,
            translation.x * translationFactor, translation.y * translationFactor,
            translation.z * translationFactor, 1.0};
}

CVector3 CTransform::MapPoint(CVector3 local) const {
    return CMatrix3::MulVec(rotation, local) + translation;
}

CTransform CTransform::Mul(CTransform a, CTransform b) {
    return {CMatrix3::Mul(a.rotation, b.rotation), a.MapPoint(b.translation)};
}

CTransform CTransform::Inverse() const {
    CMatrix3 back = rotation.Transposed();
    CVector3 origin = CMatrix3::MulVec(back, translation);
    return {back, CVector3(-origin.x, -origin.y, -origin.z)};
}

namespace {

// Stored quaternion values in units of the text's 12th decimal. The four magnitudes of a unit
// quaternion's stored values (4 q^2 each) add up to 4.
constexpr double kStoredUnitsPerOne = 1e12;
constexpr int64_t kStoredUnitSum = 4'000'000'000'000;

// The stored values of a rotation, in units, chosen so that reading them back and writing the
// rotation again gives the same units: the quaternion is normalised, its magnitudes are rounded
// to units whose sum is exactly kStoredUnitSum (the reader's normalisation then leaves them in
// place), and of q and -q, which are the same rotation, the one is taken whose first component
// that is not written as zero is positive. False for a rotation that is not finite.
bool StoredUnits(const CMatrix3& rotation, int64_t units[4]) {
    const CQuaternion q = CQuaternion::FromMatrix(rotation);
    const double components[4] = {q.w, q.x, q.y, q.z};
    double sum = 0.0;
    for (double c : components) {
        sum += c * c;
    }
    // FromMatrix of a finite matrix has a component of at least 1/2, so sum > 0 here.
    if (!std::isfinite(sum) || !(sum > 0.0)) {
        return false;
    }
    const double scale = 4.0 * kStoredUnitsPerOne / sum;
    double remainder[4];
    int64_t total = 0;
    for (int i = 0; i < 4; ++i) {
        const double exact = components[i] * components[i] * scale;
        units[i] = std::llround(exact);
        remainder[i] = exact - static_cast<double>(units[i]);
        total += units[i];
    }
    // Each rounding moved a value by at most half a unit, so at most two units are missing or
    // over; they go to the values that rounding moved furthest the other way.
    while (total != kStoredUnitSum) {
        const int64_t step = total < kStoredUnitSum ? 1 : -1;
        int pick = -1;
        for (int i = 0; i < 4; ++i) {
            if (step < 0 && units[i] == 0) {
                continue;
            }
            if (pick < 0 || remainder[i] * static_cast<double>(step) >
                                remainder[pick] * static_cast<double>(step)) {
                pick = i;
            }
        }
        units[pick] += step;
        remainder[pick] -= static_cast<double>(step);
        total += step;
    }
    int64_t sign = 0;
    for (int i = 0; i < 4; ++i) {
        if (sign == 0 && units[i] != 0) {
            sign = components[i] < 0.0 ? -1 : 1;
        }
    }
    for (int i = 0; i < 4; ++i) {
        units[i] *= components[i] < 0.0 ? -sign : sign;
    }
    return true;
}

} // namespace

void WriteTransform(CTransform transform, CFileWrite& writer) {
    // Storing the signed square keeps the usual components of right-angle turns (0, 1/2,
    // sqrt(1/2), 1) exact in the text: 0, 1, 2 and 4.
    int64_t units[4] = {};
    const bool sound = StoredUnits(transform.rotation, units);
    writer.PutString("{");
    for (int64_t value : units) {
        // A rotation that is not finite is not written: the writer refuses the NaN.
        writer.PutDouble(sound ? static_cast<double>(value) / kStoredUnitsPerOne : std::nan(""),
                         TextDecimals, 0, '.');
        writer.PutString(", ");
    }
    writer.PutDouble(transform.translation.x, TextDecimals, 0, '.');
    writer.PutString(", ");
    writer.PutDouble(transform.translation.y, TextDecimals, 0, '.');
    writer.PutString(", ");
    writer.PutDouble(transform.translation.z, TextDecimals, 0, '.');
    writer.PutString("}");
}

bool ReadTransform(CTransform& transform, CFileRead& reader) {
    double values[7] = {1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    reader.SkipWhitespace();
    reader.Expect("{");
    values[0] = reader.ReadDouble(".");
    for (int i = 1; i < 7; ++i) {
        reader.SkipWhitespace();
        reader.Expect(",");
        reader.SkipWhitespace();
        values[i] = reader.ReadDouble(".");
    }
    reader.SkipWhitespace();
    reader.Expect("}");
    reader.SkipWhitespace();

    // Each stored value is 4 * q * |q|, so the squared length is the sum of their magnitudes
    // over 4, exactly 1 for the whole numbers of right-angle turns. A quaternion of another
    // length (a file written by hand or by another program) stands for the rotation it points
    // to: it is normalised, as the matrix it gives would otherwise scale its part.
    double lengthSq = 0.0;
    for (int i = 0; i < 4; ++i) {
        lengthSq += std::fabs(values[i]) * 0.25;
    }
    if (!std::isfinite(lengthSq) || !(lengthSq > 0.0)) {
        // No rotation: all zero, or not a number.
        reader.ReportError(ReadErrors::Range, "Drehung");
        return false;
    }
    // Each component's share of the squared length lies between 0 and 1, whatever the scale.
    double q[4];
    for (int i = 0; i < 4; ++i) {
        const double share = std::fabs(values[i]) * 0.25 / lengthSq;
        q[i] = values[i] >= 0.0 ? std::sqrt(share) : -std::sqrt(share);
    }
    CTransform result(CMatrix3::FromQuat({q[0], q[1], q[2], q[3]}),
                      {values[4], values[5], values[6]});
    if (!IsFinite(result)) {
        // A placement must never hold infinity or NaN: nothing could draw or save it.
        reader.ReportError(ReadErrors::Range);
        return false;
    }
    transform = result;
    return reader.GetErrors() == 0;
}
