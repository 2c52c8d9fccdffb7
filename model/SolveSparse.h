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
    int rank = 0;          // the directions kept
};

// An estimate of the largest singular value of A from below (a few per cent at most); 0 for a
// matrix without entries.
double EstimateLargestSingular(const SSparseSystem& system);

enum class SparseStatus {
    Solved,
    // A has a singular value that is neither at the level of rounding nor above the cut: which
    // directions to keep needs the singular value decomposition. Nothing was solved.
    NearCut,
    // The system is malformed or holds a value that is not finite, or the solution is not
    // finite: it must not be used.
    Failed,
};

// The least-squares solution of minimal norm, whatever the rank of A, with the singular values
// below cut taken as 0 (see SolveSparse.cpp). Throws std::bad_alloc when memory runs out.
SparseStatus SolveSparseMinimalNorm(const SSparseSystem& system, double cut,
                                    SSparseSolution& solution);
