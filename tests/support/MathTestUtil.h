// Shared test helpers for the 3D math: the 24 right-angle rotations built independently of the
// orientation tables, reproducible random rotations and placements, and tolerant comparisons.
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "support/Matrix3.h"
#include "support/Quaternion.h"
#include "support/Transform.h"
#include "support/Vector3.h"

namespace mathtest {

inline double Det(const CMatrix3& r) {
    const auto& m = r.m;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Every signed permutation matrix with determinant +1, the identity first.
inline std::vector<CMatrix3> RightAngleRotations() {
    std::vector<CMatrix3> result;
    const int permutations[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                    {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& p : permutations) {
        for (int signs = 0; signs < 8; ++signs) {
            CMatrix3 r;
            for (int c = 0; c < 3; ++c) {
                for (int row = 0; row < 3; ++row) {
                    r.m[row][c] = 0.0;
                }
            }
            for (int c = 0; c < 3; ++c) {
                r.m[p[c]][c] = (signs >> c & 1) != 0 ? -1.0 : 1.0;
            }
            if (Det(r) > 0.0) {
                result.push_back(r);
            }
        }
    }
    return result;
}

// A uniformly distributed unit quaternion.
inline CQuaternion RandomUnitQuaternion(std::mt19937_64& rng) {
    std::normal_distribution<double> normal;
    double w = normal(rng), x = normal(rng), y = normal(rng), z = normal(rng);
    double length = std::sqrt(w * w + x * x + y * y + z * z);
    return {w / length, x / length, y / length, z / length};
}

inline CMatrix3 RandomRotation(std::mt19937_64& rng) {
    return CMatrix3::FromQuat(RandomUnitQuaternion(rng));
}

inline CTransform RandomPlacement(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> position(-20000.0, 20000.0);
    return {RandomRotation(rng), CVector3(position(rng), position(rng), position(rng))};
}

inline ::testing::AssertionResult MatrixNear(const CMatrix3& a, const CMatrix3& b,
                                             double tolerance) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= tolerance)) {
                return ::testing::AssertionFailure()
                       << "entry " << r << c << ": " << a.m[r][c] << " vs " << b.m[r][c];
            }
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult VectorNear(CVector3 a, CVector3 b, double tolerance) {
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance &&
        std::fabs(a.z - b.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

inline ::testing::AssertionResult IsRotation(const CMatrix3& r, double tolerance) {
    ::testing::AssertionResult orthonormal =
        MatrixNear(CMatrix3::Mul(r.Transposed(), r), CMatrix3(), tolerance);
    if (!orthonormal) {
        return orthonormal << " (not orthonormal)";
    }
    if (!(std::fabs(Det(r) - 1.0) <= tolerance)) {
        return ::testing::AssertionFailure() << "determinant " << Det(r);
    }
    return ::testing::AssertionSuccess();
}

} // namespace mathtest
