// Least-squares solution of minimal norm of a large sparse linear system A x = b, for the blocks
// of the position adjustment too large for the dense decomposition (whose time grows with the
// cube of the unknowns).
#pragma once

#include <vector>

// The system by its nonzero entries; entries of the same row and column add up.
struct SSparseSystem {
    struct SEntry {
        int row;
        int column;
        double value;
    };
    int rows = 0;
    int columns = 0;
    std::vector<SEntry> entries;
    std::vector<double> rhs; // one entry per row
};

struct SSparseSolution {
    std::vector<double> x; // one entry per column
    // An estimate of the largest singular value of A from below (a few per cent at most).
    double largestSingular = 0.0;
    int iterations = 0;
};

// The conjugate-gradient iterations a solve may take before it gives up.
inline constexpr int kSparseMaxIterations = 1000;

// The least-squares solution of minimal norm, whatever the rank of A. Meant for systems whose
// singular values are either 0 or not below about 1 (see SolveSparse.cpp); where the
// iterations do not reach the solution within maxIterations, or the normal matrix cannot be
// factored, or a value is not finite, returns false: the solution must then not be used.
bool SolveSparseMinimalNorm(const SSparseSystem& system, SSparseSolution& solution,
                            int maxIterations = kSparseMaxIterations);
