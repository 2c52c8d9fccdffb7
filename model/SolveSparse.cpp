// Conjugate gradients on the normal equations A^T A x = A^T b, preconditioned by the sparse
// Cholesky factor of A^T A + lambda I, started at 0.
//
// Why this gives the solution of minimal norm without knowing the rank: A^T b lies in the row
// space of A, and so does everything the iteration makes of it, because the preconditioner
// (A^T A + lambda I)^-1 shares the eigenvectors of A^T A and maps the row space onto itself. The
// iterates never leave the row space, and the one least-squares solution in it is the one of
// minimal norm. Directions in which A is exactly singular (a coupling free to slide along its
// tube, a part free to move as a whole) are never entered, so no singular value needs cutting.
//
// Why lambda is 1: the preconditioned operator has the eigenvalues s^2 / (s^2 + lambda) for the
// singular values s of A. The position adjustment's corrections enter with coefficients of about
// 1 and its shifts with 10000, so the singular values that are not 0 are about 1 or larger, and
// the eigenvalues lie between about 1/2 and 1: a few dozen iterations reach rounding. A smaller
// lambda would converge in fewer, but the factor of A^T A + lambda I is then nearer to singular
// in the directions where A is, and its rounding would leak into them.
#include "model/SolveSparse.h"

#include <Eigen/Sparse>
#include <Eigen/SparseCholesky>

#include <cmath>

namespace {

constexpr double kRegularisation = 1.0;
// The iterations stop when the preconditioned residual has fallen by this factor.
constexpr double kRelativeTolerance = 1e-13;
// Power iterations for the largest singular value.
constexpr int kPowerIterations = 30;

using SparseMatrix = Eigen::SparseMatrix<double>;

double EstimateLargestSingular(const SparseMatrix& a) {
    // A start with no symmetry, so that it has a part along the largest singular vector.
    Eigen::VectorXd v(a.cols());
    for (Eigen::Index j = 0; j < v.size(); ++j) {
        v(j) = 1.0 + 0.5 * std::sin(1.0 + static_cast<double>(j));
    }
    double estimate = 0.0;
    for (int i = 0; i < kPowerIterations; ++i) {
        const double norm = v.norm();
        if (norm == 0.0 || !std::isfinite(norm)) {
            break;
        }
        v /= norm;
        const Eigen::VectorXd av = a * v;
        estimate = av.norm();
        v = a.transpose() * av;
    }
    return estimate;
}

} // namespace

bool SolveSparseMinimalNorm(const SSparseSystem& system, SSparseSolution& solution,
                            int maxIterations) {
    if (system.rows < 0 || system.columns < 0 ||
        system.rhs.size() != static_cast<std::size_t>(system.rows)) {
        return false;
    }
    std::vector<Eigen::Triplet<double>> triplets;
    triplets.reserve(system.entries.size());
    for (const SSparseSystem::SEntry& entry : system.entries) {
        if (entry.row < 0 || entry.row >= system.rows || entry.column < 0 ||
            entry.column >= system.columns || !std::isfinite(entry.value)) {
            return false;
        }
        triplets.emplace_back(entry.row, entry.column, entry.value);
    }
    SparseMatrix a(system.rows, system.columns);
    a.setFromTriplets(triplets.begin(), triplets.end());
    const Eigen::Map<const Eigen::VectorXd> b(system.rhs.data(), system.rows);
    if (!b.allFinite()) {
        return false;
    }

    SparseMatrix identity(system.columns, system.columns);
    identity.setIdentity();
    const SparseMatrix normal = SparseMatrix(a.transpose() * a) + kRegularisation * identity;
    const Eigen::SimplicialLLT<SparseMatrix, Eigen::Lower, Eigen::AMDOrdering<int>> factor(normal);
    if (factor.info() != Eigen::Success) {
        return false;
    }

    Eigen::VectorXd x = Eigen::VectorXd::Zero(system.columns);
    Eigen::VectorXd r = a.transpose() * b;
    Eigen::VectorXd z = factor.solve(r);
    Eigen::VectorXd p = z;
    double rz = r.dot(z);
    const double stop = rz * kRelativeTolerance * kRelativeTolerance;
    int iterations = 0;
    while (rz > stop) {
        if (iterations == maxIterations || !std::isfinite(rz)) {
            return false;
        }
        ++iterations;
        const Eigen::VectorXd q = a * p;
        const double qq = q.squaredNorm();
        if (qq == 0.0) {
            break;
        }
        const double alpha = rz / qq;
        x += alpha * p;
        r -= alpha * (a.transpose() * q);
        z = factor.solve(r);
        const double rzNext = r.dot(z);
        p = z + (rzNext / rz) * p;
        rz = rzNext;
    }
    if (!x.allFinite()) {
        return false;
    }
    solution.x.assign(x.data(), x.data() + x.size());
    solution.largestSingular = EstimateLargestSingular(a);
    solution.iterations = iterations;
    return true;
}
