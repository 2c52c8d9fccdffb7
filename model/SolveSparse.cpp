// The least-squares solution of minimal norm by two sparse QR factorisations (a complete
// orthogonal decomposition), which work on A itself and never on A^T A: the normal equations
// square the condition, and the position adjustment's systems span singular values from about
// 3e4 (a coupling's shift enters with 10000) down to the cut at 1e-8 of that, which the squared
// condition (1e16 and more) no longer tells apart from rounding.
//
// 1. A E = Q R, with E a fill-reducing order of the columns and Householder transformations Q.
//    A column whose norm, after the columns before it are eliminated, is at the level of
//    rounding (kDeadColumnShare) is dead: it is a combination of the columns before it. The
//    live ones give [R11 R12] (rank rows) with R11 upper triangular; Q^T b gives c. Dropping
//    the dead columns' remainders changes A by no more than its rounding.
// 2. Every least-squares solution z = E^T x solves [R11 R12] z = c1, a system of full row rank;
//    the one of minimal norm lies in the row space of [R11 R12], which is the row space of A.
//    With few dead columns it comes from a small dense problem (MinimalNormOfTrapezoid), else
//    from the factorisation [R11 R12]^T = Q2 L: z = Q2 L^-T c1.
//
// This is the least-squares solution of minimal norm of A with its exact null directions left
// out. It is the solution of the singular value decomposition with the singular values below
// the cut taken as 0 when no singular value lies between rounding and the cut; that is checked
// before step 2: the singular values of [R11 R12] are not below those of R11, and the smallest
// of R11 is estimated. If it is below the cut, NearCut says so and the caller decomposes.
//
// The position adjustment's systems pass that check: their exact null directions (a coupling
// free to slide along its tube, a part free to move as a whole, a frame free to stretch) give
// singular values at the level of rounding, about 1e-16 of the largest, and the others lie at
// 1e-7 of the largest and above (a loop of n tubes lowers its corrections' singular values by
// about the root of n).
#include "model/SolveSparse.h"

#include <Eigen/Dense>
#include <SuiteSparseQR.hpp>

#include <cmath>
#include <cstdint>
#include <new>

namespace {

// Power iterations for the largest singular value.
constexpr int kPowerIterations = 30;
// The most work (columns times dead columns squared) of the dense problem of the dead columns:
// about a second; beyond it the second factorisation takes over.
constexpr double kDenseDeadWork = 2e9;
// A column is dead when its norm, after the columns before it are eliminated, is not above this
// share of the cut: far above rounding (about 1e-16 of the largest singular value, where the
// exact null directions lie), far below the cut, so that dropping the dead columns changes the
// matrix by no more than rounding does.
constexpr double kDeadColumnShare = 1e-4;

// CHOLMOD's workspace for one solve; everything allocated through it is freed with it.
class CCholmodScope {
public:
    CCholmodScope() {
        cholmod_l_start(&m_common);
        m_common.print = 0; // failures are reported by the results, not on the terminal
        m_common.error_handler = nullptr;
    }
    ~CCholmodScope() { cholmod_l_finish(&m_common); }
    CCholmodScope(const CCholmodScope&) = delete;
    CCholmodScope& operator=(const CCholmodScope&) = delete;

    cholmod_common* Get() { return &m_common; }
    // A result of nullptr: out of memory is thrown as any allocation's failure would be;
    // otherwise false.
    bool Check(const void* result) {
        if (result == nullptr && m_common.status == CHOLMOD_OUT_OF_MEMORY) {
            throw std::bad_alloc();
        }
        return result != nullptr;
    }

private:
    cholmod_common m_common{};
};

// Frees a CHOLMOD object at the end of its scope.
template <typename T, int (*Free)(T**, cholmod_common*)> class CCholmodPtr {
public:
    CCholmodPtr(T* object, cholmod_common* common) : m_object(object), m_common(common) {}
    ~CCholmodPtr() {
        if (m_object != nullptr) {
            Free(&m_object, m_common);
        }
    }
    CCholmodPtr(const CCholmodPtr&) = delete;
    CCholmodPtr& operator=(const CCholmodPtr&) = delete;

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }

private:
    T* m_object;
    cholmod_common* m_common;
};
using CSparsePtr = CCholmodPtr<cholmod_sparse, cholmod_l_free_sparse>;
using CDensePtr = CCholmodPtr<cholmod_dense, cholmod_l_free_dense>;
using CTripletPtr = CCholmodPtr<cholmod_triplet, cholmod_l_free_triplet>;

bool IsWellFormed(const SSparseSystem& system) {
    if (system.rows < 0 || system.columns < 0 ||
        system.rhs.size() != static_cast<std::size_t>(system.rows)) {
        return false;
    }
    for (const SSparseSystem::SEntry& entry : system.entries) {
        if (entry.row < 0 || entry.row >= system.rows || entry.column < 0 ||
            entry.column >= system.columns || !std::isfinite(entry.value)) {
            return false;
        }
    }
    for (double value : system.rhs) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

double Norm(const std::vector<double>& v) {
    double sum = 0.0;
    for (double value : v) {
        sum += value * value;
    }
    return std::sqrt(sum);
}

// Scales v to unit length, for the next of the power iterations; false when it has no length or
// is not finite.
bool Normalise(std::vector<double>& v) {
    const double norm = Norm(v);
    if (norm == 0.0 || !std::isfinite(norm)) {
        return false;
    }
    for (double& value : v) {
        value /= norm;
    }
    return true;
}

// x = R11^-1 v for the upper triangular R11 of the first rank columns of r, v overwritten.
void SolveUpper(const cholmod_sparse& r, std::size_t rank, double* v) {
    const auto* start = static_cast<const SuiteSparse_long*>(r.p);
    const auto* row = static_cast<const SuiteSparse_long*>(r.i);
    const auto* value = static_cast<const double*>(r.x);
    for (std::size_t j = rank; j-- > 0;) {
        // The diagonal entry is the column's last.
        const SuiteSparse_long last = start[j + 1] - 1;
        v[j] /= value[last];
        const double vj = v[j];
        for (SuiteSparse_long k = start[j]; k < last; ++k) {
            v[row[k]] -= value[k] * vj;
        }
    }
}

// x = R11^-T v, v overwritten.
void SolveUpperTransposed(const cholmod_sparse& r, std::size_t rank, double* v) {
    const auto* start = static_cast<const SuiteSparse_long*>(r.p);
    const auto* row = static_cast<const SuiteSparse_long*>(r.i);
    const auto* value = static_cast<const double*>(r.x);
    for (std::size_t j = 0; j < rank; ++j) {
        const SuiteSparse_long last = start[j + 1] - 1;
        double sum = v[j];
        for (SuiteSparse_long k = start[j]; k < last; ++k) {
            sum -= value[k] * v[row[k]];
        }
        v[j] = sum / value[last];
    }
}

// Whether r = [R11 R12] has R11 upper triangular with a nonzero diagonal, its entries column by
// column with the rows in order.
bool IsUpperTrapezoid(const cholmod_sparse& r) {
    if (r.nrow > r.ncol || !r.packed || !r.sorted || r.xtype != CHOLMOD_REAL) {
        return false;
    }
    const auto* start = static_cast<const SuiteSparse_long*>(r.p);
    const auto* row = static_cast<const SuiteSparse_long*>(r.i);
    const auto* value = static_cast<const double*>(r.x);
    for (std::size_t j = 0; j < r.nrow; ++j) {
        const SuiteSparse_long last = start[j + 1] - 1;
        if (last < start[j] || static_cast<std::size_t>(row[last]) != j || value[last] == 0.0 ||
            !std::isfinite(value[last])) {
            return false;
        }
    }
    return true;
}

// An estimate of the smallest singular value of R11 from above, by power iterations on
// R11^-1 R11^-T: a singular value far below the others shows within a few.
double EstimateSmallestSingularOfUpper(const cholmod_sparse& r) {
    const std::size_t rank = r.nrow;
    std::vector<double> v(rank);
    for (std::size_t j = 0; j < rank; ++j) {
        v[j] = 1.0 + 0.5 * std::sin(2.0 + static_cast<double>(j));
    }
    double inverseSquared = 0.0;
    for (int i = 0; i < kPowerIterations; ++i) {
        if (!Normalise(v)) {
            return 0.0;
        }
        SolveUpperTransposed(r, rank, v.data());
        SolveUpper(r, rank, v.data());
        inverseSquared = Norm(v);
    }
    return inverseSquared > 0.0 && std::isfinite(inverseSquared) ? 1.0 / std::sqrt(inverseSquared)
                                                                 : 0.0;
}

// [R11 R12] of rank rows with few dead columns in R12. With K = R11^-1 R12, every solution of
// [R11 R12] z = c is z = (R11^-1 c - K t, t) for some t, and the one of minimal norm has the t of
// the least-squares problem [K; I] t = [R11^-1 c; 0], a dense problem of full column rank with as
// many unknowns as dead columns. Its triangular factor F (F^T F = I + K^T K) also gives
// (R R^T)^-1 = R11^-T (I - K (I + K^T K)^-1 K^T) R11^-1, for the smallest singular value of R.
class CTrapezoid {
public:
    // False when r has too many dead columns for the dense problem: the caller then factorises
    // r^T instead (slower where R12 has full columns, which fill that factorisation).
    bool Factor(const cholmod_sparse& r) {
        m_r = &r;
        m_rank = r.nrow;
        m_dead = r.ncol - r.nrow;
        const double work =
            static_cast<double>(r.ncol) * static_cast<double>(m_dead) * static_cast<double>(m_dead);
        if (work > kDenseDeadWork) {
            return false;
        }
        const auto* start = static_cast<const SuiteSparse_long*>(r.p);
        const auto* row = static_cast<const SuiteSparse_long*>(r.i);
        const auto* value = static_cast<const double*>(r.x);
        m_k = Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(m_rank),
                                    static_cast<Eigen::Index>(m_dead));
        for (std::size_t k = 0; k < m_dead; ++k) {
            double* column = m_k.col(static_cast<Eigen::Index>(k)).data();
            for (SuiteSparse_long e = start[m_rank + k]; e < start[m_rank + k + 1]; ++e) {
                column[row[e]] = value[e];
            }
            SolveUpper(r, m_rank, column);
        }
        Eigen::MatrixXd stacked(static_cast<Eigen::Index>(m_rank + m_dead),
                                static_cast<Eigen::Index>(m_dead));
        stacked.topRows(static_cast<Eigen::Index>(m_rank)) = m_k;
        stacked.bottomRows(static_cast<Eigen::Index>(m_dead)).setIdentity();
        m_stacked.compute(stacked);
        return true;
    }

    std::vector<double> MinimalNorm(const double* c) const {
        std::vector<double> z(m_rank + m_dead, 0.0);
        std::copy(c, c + m_rank, z.begin());
        SolveUpper(*m_r, m_rank, z.data());
        if (m_dead == 0) {
            return z;
        }
        Eigen::VectorXd rhs = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(m_rank + m_dead));
        std::copy(z.begin(), z.begin() + static_cast<std::ptrdiff_t>(m_rank), rhs.data());
        const Eigen::VectorXd t = m_stacked.solve(rhs);
        Eigen::Map<Eigen::VectorXd> basic(z.data(), static_cast<Eigen::Index>(m_rank));
        basic.noalias() -= m_k * t;
        std::copy(t.data(), t.data() + t.size(), z.begin() + static_cast<std::ptrdiff_t>(m_rank));
        return z;
    }

    // An estimate of the smallest singular value of [R11 R12] from above, by power iterations
    // on (R R^T)^-1: a singular value far below the others shows within a few.
    double SmallestSingular() const {
        Eigen::VectorXd v(static_cast<Eigen::Index>(m_rank));
        for (Eigen::Index j = 0; j < v.size(); ++j) {
            v(j) = 1.0 + 0.5 * std::sin(2.0 + static_cast<double>(j));
        }
        double largestInverse = 0.0;
        for (int i = 0; i < kPowerIterations; ++i) {
            const double norm = v.norm();
            if (norm == 0.0 || !std::isfinite(norm)) {
                return 0.0;
            }
            v /= norm;
            SolveUpper(*m_r, m_rank, v.data());
            if (m_dead > 0) {
                const auto f = m_stacked.matrixQR()
                                   .topRows(static_cast<Eigen::Index>(m_dead))
                                   .triangularView<Eigen::Upper>();
                Eigen::VectorXd kv = m_k.transpose() * v;
                f.transpose().solveInPlace(kv);
                f.solveInPlace(kv);
                v.noalias() -= m_k * kv;
            }
            SolveUpperTransposed(*m_r, m_rank, v.data());
            largestInverse = v.norm();
        }
        return largestInverse > 0.0 && std::isfinite(largestInverse)
                   ? 1.0 / std::sqrt(largestInverse)
                   : 0.0;
    }

private:
    const cholmod_sparse* m_r = nullptr;
    std::size_t m_rank = 0;
    std::size_t m_dead = 0;
    Eigen::MatrixXd m_k; // K
    Eigen::HouseholderQR<Eigen::MatrixXd> m_stacked;
};

} // namespace

double EstimateLargestSingular(const SSparseSystem& system) {
    if (!IsWellFormed(system)) {
        return 0.0;
    }
    // A start with no symmetry, so that it has a part along the largest singular vector.
    std::vector<double> v(static_cast<std::size_t>(system.columns));
    for (std::size_t j = 0; j < v.size(); ++j) {
        v[j] = 1.0 + 0.5 * std::sin(1.0 + static_cast<double>(j));
    }
    std::vector<double> av(static_cast<std::size_t>(system.rows));
    double estimate = 0.0;
    for (int i = 0; i < kPowerIterations; ++i) {
        if (!Normalise(v)) {
            break;
        }
        std::fill(av.begin(), av.end(), 0.0);
        for (const SSparseSystem::SEntry& entry : system.entries) {
            av[static_cast<std::size_t>(entry.row)] +=
                entry.value * v[static_cast<std::size_t>(entry.column)];
        }
        estimate = Norm(av);
        std::fill(v.begin(), v.end(), 0.0);
        for (const SSparseSystem::SEntry& entry : system.entries) {
            v[static_cast<std::size_t>(entry.column)] +=
                entry.value * av[static_cast<std::size_t>(entry.row)];
        }
    }
    return std::isfinite(estimate) ? estimate : 0.0;
}

SparseStatus SolveSparseMinimalNorm(const SSparseSystem& system, double cut,
                                    SSparseSolution& solution) {
    if (!IsWellFormed(system) || !std::isfinite(cut) || cut < 0.0) {
        return SparseStatus::Failed;
    }
    solution.x.assign(static_cast<std::size_t>(system.columns), 0.0);
    solution.rank = 0;
    if (system.rows == 0 || system.columns == 0 || system.entries.empty()) {
        return SparseStatus::Solved; // no equation reaches an unknown: every one comes out 0
    }

    CCholmodScope common;
    // A, its entries of one row and column added up.
    CTripletPtr triplet(cholmod_l_allocate_triplet(static_cast<std::size_t>(system.rows),
                                                   static_cast<std::size_t>(system.columns),
                                                   system.entries.size(), 0, CHOLMOD_REAL,
                                                   common.Get()),
                        common.Get());
    if (!common.Check(triplet.Get())) {
        return SparseStatus::Failed;
    }
    auto* rowIndex = static_cast<SuiteSparse_long*>(triplet->i);
    auto* columnIndex = static_cast<SuiteSparse_long*>(triplet->j);
    auto* values = static_cast<double*>(triplet->x);
    for (std::size_t k = 0; k < system.entries.size(); ++k) {
        rowIndex[k] = system.entries[k].row;
        columnIndex[k] = system.entries[k].column;
        values[k] = system.entries[k].value;
    }
    triplet->nnz = system.entries.size();
    CSparsePtr a(cholmod_l_triplet_to_sparse(triplet.Get(), system.entries.size(), common.Get()),
                 common.Get());
    if (!common.Check(a.Get())) {
        return SparseStatus::Failed;
    }
    CDensePtr b(cholmod_l_allocate_dense(static_cast<std::size_t>(system.rows), 1,
                                         static_cast<std::size_t>(system.rows), CHOLMOD_REAL,
                                         common.Get()),
                common.Get());
    if (!common.Check(b.Get())) {
        return SparseStatus::Failed;
    }
    std::copy(system.rhs.begin(), system.rhs.end(), static_cast<double*>(b->x));

    // 1. A E = Q R with the dead columns found; c = Q^T b, R rank x columns.
    cholmod_dense* cRaw = nullptr;
    cholmod_sparse* rRaw = nullptr;
    SuiteSparse_long* order = nullptr;
    const SuiteSparse_long rank =
        SuiteSparseQR<double>(SPQR_ORDERING_DEFAULT, cut * kDeadColumnShare, 0, a.Get(), b.Get(),
                              &cRaw, &rRaw, &order, common.Get());
    CDensePtr c(cRaw, common.Get());
    CSparsePtr r(rRaw, common.Get());
    struct SOrderFree {
        SuiteSparse_long* order;
        cholmod_common* common;
        std::size_t columns;
        ~SOrderFree() {
            if (order != nullptr) {
                cholmod_l_free(columns, sizeof(SuiteSparse_long), order, common);
            }
        }
    } orderFree{order, common.Get(), static_cast<std::size_t>(system.columns)};
    if (rank < 0 || !common.Check(c.Get()) || !common.Check(r.Get())) {
        common.Check(nullptr);
        return SparseStatus::Failed;
    }
    if (rank == 0) {
        // Every direction at the level of rounding: the solution of minimal norm is 0.
        return SparseStatus::Solved;
    }
    if (static_cast<SuiteSparse_long>(r->nrow) != rank ||
        static_cast<SuiteSparse_long>(c->nrow) != rank) {
        return SparseStatus::Failed;
    }

    if (!IsUpperTrapezoid(*r.Get())) {
        return SparseStatus::Failed;
    }
    // 2. The solution of minimal norm of [R11 R12] z = c1, a system of full row rank, once no
    // singular value of it is found below the cut. Where the dense problem of the dead columns
    // is too large, the check is on R11 alone, whose singular values are not above those of
    // [R11 R12]: it may send a system to the decomposition that would not need it.
    std::vector<double> z;
    CTrapezoid trapezoid;
    if (trapezoid.Factor(*r.Get())) {
        if (trapezoid.SmallestSingular() < cut) {
            return SparseStatus::NearCut;
        }
        z = trapezoid.MinimalNorm(static_cast<const double*>(c->x));
    } else {
        if (EstimateSmallestSingularOfUpper(*r.Get()) < cut) {
            return SparseStatus::NearCut;
        }
        CDensePtr factored(SuiteSparseQR_min2norm<double>(SPQR_ORDERING_DEFAULT, SPQR_NO_TOL,
                                                          r.Get(), c.Get(), common.Get()),
                           common.Get());
        if (!common.Check(factored.Get()) ||
            factored->nrow != static_cast<std::size_t>(system.columns)) {
            return SparseStatus::Failed;
        }
        const auto* values = static_cast<const double*>(factored->x);
        z.assign(values, values + system.columns);
    }
    for (std::size_t j = 0; j < z.size(); ++j) {
        if (!std::isfinite(z[j])) {
            return SparseStatus::Failed;
        }
        solution.x[order != nullptr ? static_cast<std::size_t>(order[j]) : j] = z[j];
    }
    solution.rank = static_cast<int>(rank);
    return SparseStatus::Solved;
}
