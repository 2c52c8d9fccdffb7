// Singular value decomposition and least-squares back substitution: the decomposition rebuilds
// the matrix with orthonormal factors, known singular values come out in column order, and the
// solution is the least-squares one of minimal norm for every shape, also without equations.
// Non-convergence and non-finite values are reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "model/FitMtrx.h"
#include "model/SolveSvd.h"

namespace {

CFitMtrx MakeMatrix(int rows, int columns, std::initializer_list<double> values) {
    CFitMtrx a(rows, columns);
    auto it = values.begin();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            a[r][c] = *it++;
        }
    }
    return a;
}

CFitVctr MakeVector(std::initializer_list<double> values) {
    CFitVctr v(static_cast<int>(values.size()));
    int i = 0;
    for (double value : values) {
        v[i++] = value;
    }
    return v;
}

CFitMtrx RandomMatrix(int rows, int columns, std::mt19937& random) {
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    CFitMtrx a(rows, columns);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            a[r][c] = value(random);
        }
    }
    return a;
}

CFitVctr RandomVector(int count, std::mt19937& random) {
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    CFitVctr b(count);
    for (int i = 0; i < count; ++i) {
        b[i] = value(random);
    }
    return b;
}

// The product of a (rows x k) and b (k x columns).
CFitMtrx Multiply(const CFitMtrx& a, const CFitMtrx& b) {
    CFitMtrx p(a.Rows(), b.Columns());
    for (int r = 0; r < a.Rows(); ++r) {
        for (int c = 0; c < b.Columns(); ++c) {
            double sum = 0.0;
            for (int k = 0; k < a.Columns(); ++k) {
                sum += a[r][k] * b[k][c];
            }
            p[r][c] = sum;
        }
    }
    return p;
}

CFitVctr Apply(const CFitMtrx& a, const CFitVctr& x) {
    CFitVctr y(a.Rows());
    for (int r = 0; r < a.Rows(); ++r) {
        double sum = 0.0;
        for (int c = 0; c < a.Columns(); ++c) {
            sum += a[r][c] * x[c];
        }
        y[r] = sum;
    }
    return y;
}

// The dot product of columns i and j of a.
double ColumnDot(const CFitMtrx& a, int i, int j) {
    double sum = 0.0;
    for (int r = 0; r < a.Rows(); ++r) {
        sum += a[r][i] * a[r][j];
    }
    return sum;
}

double MaxAbs(const CFitMtrx& a) {
    double largest = 0.0;
    for (int r = 0; r < a.Rows(); ++r) {
        for (int c = 0; c < a.Columns(); ++c) {
            largest = std::max(largest, std::fabs(a[r][c]));
        }
    }
    return largest;
}

// Checks a = U diag(w) V^T, w >= 0, V orthogonal, and U's columns orthonormal where they must be
// (every column when a has at least as many rows as columns, else those with w != 0).
void ExpectDecomposition(const CFitMtrx& a, const CFitMtrx& u, const CFitVctr& w, const CFitMtrx& v,
                         double tolerance) {
    const int m = a.Rows();
    const int n = a.Columns();
    ASSERT_EQ(u.Rows(), m);
    ASSERT_EQ(u.Columns(), n);
    ASSERT_EQ(w.Count(), n);
    ASSERT_EQ(v.Rows(), n);
    ASSERT_EQ(v.Columns(), n);

    const double scale = std::max(1.0, MaxAbs(a));
    double worst = 0.0;
    for (int r = 0; r < m; ++r) {
        for (int c = 0; c < n; ++c) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                sum += u[r][k] * w[k] * v[c][k];
            }
            worst = std::max(worst, std::fabs(sum - a[r][c]));
        }
    }
    EXPECT_LE(worst, tolerance * scale) << "U diag(w) V^T differs from A";

    for (int j = 0; j < n; ++j) {
        EXPECT_GE(w[j], 0.0) << "singular value " << j;
    }
    const double wMax = w.Max();
    for (int i = 0; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            double expected = i == j ? 1.0 : 0.0;
            EXPECT_NEAR(ColumnDot(v, i, j), expected, tolerance) << "V columns " << i << ", " << j;
            bool uMustBeOrthonormal = m >= n || (w[i] > 1e-10 * wMax && w[j] > 1e-10 * wMax);
            if (uMustBeOrthonormal) {
                EXPECT_NEAR(ColumnDot(u, i, j), expected, tolerance)
                    << "U columns " << i << ", " << j;
            }
        }
    }
}

// Sets the singular values below 1e-8 of the largest to 0, as the position adjustment does.
void CutSmallValues(CFitVctr& w) {
    const double limit = w.Max() * 1e-8;
    for (int j = 0; j < w.Count(); ++j) {
        if (w[j] < limit) {
            w[j] = 0.0;
        }
    }
}

// Solves a x = b through the decomposition of a copy of a, with the small values cut off.
CFitVctr LeastSquares(const CFitMtrx& a, const CFitVctr& b) {
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    EXPECT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    CutSmallValues(w);
    CFitVctr x;
    EXPECT_TRUE(SvdBackSubst(u, w, v, b, x));
    return x;
}

// A^T (A x - b): zero for a least-squares solution.
CFitVctr NormalResidual(const CFitMtrx& a, const CFitVctr& x, const CFitVctr& b) {
    CFitVctr r = Apply(a, x);
    for (int i = 0; i < r.Count(); ++i) {
        r[i] -= b[i];
    }
    CFitVctr g(a.Columns());
    for (int c = 0; c < a.Columns(); ++c) {
        double sum = 0.0;
        for (int i = 0; i < a.Rows(); ++i) {
            sum += a[i][c] * r[i];
        }
        g[c] = sum;
    }
    return g;
}

} // namespace

TEST(FitMtrx, StartsZeroFilledAndResizesToZeros) {
    CFitMtrx a(2, 3);
    EXPECT_EQ(a.Rows(), 2);
    EXPECT_EQ(a.Columns(), 3);
    a[1][2] = 5.0;
    EXPECT_EQ(a[1][2], 5.0);
    EXPECT_EQ(a[0][2], 0.0);
    a.Resize(3, 1);
    EXPECT_EQ(a.Rows(), 3);
    EXPECT_EQ(a.Columns(), 1);
    EXPECT_EQ(a[2][0], 0.0);
    EXPECT_THROW(CFitMtrx(-1, 2), std::invalid_argument);
    EXPECT_THROW(a.Resize(2, -1), std::invalid_argument);

    CFitVctr x(3);
    EXPECT_EQ(x.Count(), 3);
    EXPECT_EQ(x[2], 0.0);
    EXPECT_THROW(CFitVctr(-1), std::invalid_argument);
}

TEST(FitVctr, MaxIsTheLargestEntryAndNeverHidesANaN) {
    EXPECT_EQ(CFitVctr().Max(), 0.0);
    EXPECT_EQ(MakeVector({-3.0, -1.0, -2.0}).Max(), -1.0);
    EXPECT_EQ(MakeVector({1.0, 7.0, 2.0}).Max(), 7.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(MakeVector({nan, 7.0}).Max()));
    EXPECT_TRUE(std::isnan(MakeVector({7.0, nan}).Max()));
    EXPECT_FALSE(MakeVector({1.0, std::numeric_limits<double>::infinity()}).AllFinite());
    EXPECT_TRUE(MakeVector({1.0, -1e308}).AllFinite());
}

TEST(SolveSvd, DiagonalMatrixGivesItsEntriesInColumnOrder) {
    const CFitMtrx a = MakeMatrix(2, 2, {3.0, 0.0, 0.0, 4.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    ASSERT_EQ(w.Count(), 2);
    EXPECT_DOUBLE_EQ(w[0], 3.0);
    EXPECT_DOUBLE_EQ(w[1], 4.0);
    ExpectDecomposition(a, u, w, v, 1e-14);
}

TEST(SolveSvd, NegativeEntryGivesAPositiveValueAndTheSignGoesIntoTheVectors) {
    const CFitMtrx a = MakeMatrix(2, 2, {3.0, 0.0, 0.0, -4.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    EXPECT_DOUBLE_EQ(w[0], 3.0);
    EXPECT_DOUBLE_EQ(w[1], 4.0);
    // Exactly one of the two columns 1 carries the sign.
    EXPECT_DOUBLE_EQ(u[1][1] * v[1][1], -1.0);
    EXPECT_DOUBLE_EQ(u[0][0] * v[0][0], 1.0);
    ExpectDecomposition(a, u, w, v, 1e-14);
}

TEST(SolveSvd, ValueConvergedNegativeIsMadePositiveByNegatingItsColumnOfV) {
    // The Householder step turns a positive diagonal entry into a negative one on the bidiagonal
    // (the reflection's sign is chosen against the entry's), so both values converge negative
    // and both columns of V come out negated while U is -I as well.
    const CFitMtrx a = MakeMatrix(2, 2, {3.0, 0.0, 0.0, 4.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    EXPECT_EQ(v[0][0], -1.0);
    EXPECT_EQ(v[1][1], -1.0);
    EXPECT_EQ(v[0][1], 0.0);
    EXPECT_EQ(v[1][0], 0.0);
    EXPECT_EQ(u[0][0], -1.0);
    EXPECT_EQ(u[1][1], -1.0);
}

TEST(SolveSvd, KnownSingularValuesOfAFullMatrix) {
    // Rows (1, 1) and (1, -1) scaled: A^T A = diag(2, 2) * 4 -> both singular values are
    // 2 sqrt(2); a rank-one matrix has one value |u| |v| and one 0.
    const CFitMtrx a = MakeMatrix(2, 2, {2.0, 2.0, 2.0, -2.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    EXPECT_NEAR(w[0], 2.0 * std::sqrt(2.0), 1e-14);
    EXPECT_NEAR(w[1], 2.0 * std::sqrt(2.0), 1e-14);
    ExpectDecomposition(a, u, w, v, 1e-14);

    const CFitMtrx rankOne = MakeMatrix(3, 2, {1.0, 2.0, 2.0, 4.0, 2.0, 4.0});
    u = rankOne;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    std::vector<double> sorted = {w[0], w[1]};
    std::sort(sorted.begin(), sorted.end());
    EXPECT_NEAR(sorted[0], 0.0, 1e-14);
    EXPECT_NEAR(sorted[1], 3.0 * std::sqrt(5.0), 1e-14);
    ExpectDecomposition(rankOne, u, w, v, 1e-14);
}

TEST(SolveSvd, ZeroColumnGivesAZeroValueAndItsUnknownComesOutZero) {
    const CFitMtrx a = MakeMatrix(3, 2, {1.0, 0.0, 2.0, 0.0, 3.0, 0.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    EXPECT_NEAR(w[0], std::sqrt(14.0), 1e-14);
    EXPECT_EQ(w[1], 0.0);
    ExpectDecomposition(a, u, w, v, 1e-14);

    CFitVctr x;
    ASSERT_TRUE(SvdBackSubst(u, w, v, MakeVector({1.0, 1.0, 1.0}), x));
    ASSERT_EQ(x.Count(), 2);
    EXPECT_NEAR(x[0], 6.0 / 14.0, 1e-15);
    EXPECT_EQ(x[1], 0.0);

    // A zero column between others: the right reflections mix it with its neighbours, yet the
    // solution of least norm leaves its unknown at 0.
    std::mt19937 random(7);
    CFitMtrx wide = RandomMatrix(6, 4, random);
    for (int r = 0; r < 6; ++r) {
        wide[r][1] = 0.0;
    }
    const CFitVctr b = RandomVector(6, random);
    u = wide;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    ExpectDecomposition(wide, u, w, v, 1e-13);
    CutSmallValues(w);
    EXPECT_EQ(std::count(&w[0], &w[0] + w.Count(), 0.0), 1);
    ASSERT_TRUE(SvdBackSubst(u, w, v, b, x));
    EXPECT_NEAR(x[1], 0.0, 1e-14);
    const CFitVctr g = NormalResidual(wide, x, b);
    for (int c = 0; c < 4; ++c) {
        EXPECT_NEAR(g[c], 0.0, 1e-13);
    }
}

TEST(SvdBackSubst, EqualColumnsShareTheSolutionEvenly) {
    // Two equal columns: every x with x0 + x1 = t solves, the one of least norm has x0 = x1.
    const CFitMtrx a = MakeMatrix(3, 2, {1.0, 1.0, 2.0, 2.0, 2.0, 2.0});
    const CFitVctr x = LeastSquares(a, MakeVector({2.0, 4.0, 4.0}));
    ASSERT_EQ(x.Count(), 2);
    EXPECT_NEAR(x[0], 1.0, 1e-14);
    EXPECT_NEAR(x[1], 1.0, 1e-14);
}

TEST(SvdBackSubst, RankDeficientSystemsGiveTheSolutionOfLeastNorm) {
    std::mt19937 random(11);
    struct Shape {
        int rows;
        int columns;
        int rank;
    };
    const Shape shapes[] = {{8, 5, 3}, {5, 8, 2}, {12, 12, 7}, {30, 20, 1}};
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(testing::Message()
                     << shape.rows << " x " << shape.columns << " rank " << shape.rank);
        const CFitMtrx a = Multiply(RandomMatrix(shape.rows, shape.rank, random),
                                    RandomMatrix(shape.rank, shape.columns, random));
        const CFitVctr b = RandomVector(shape.rows, random);
        CFitMtrx u = a;
        CFitVctr w;
        CFitMtrx v;
        ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
        ExpectDecomposition(a, u, w, v, 1e-13);
        CutSmallValues(w);
        EXPECT_EQ(std::count(&w[0], &w[0] + w.Count(), 0.0), shape.columns - shape.rank);

        CFitVctr x;
        ASSERT_TRUE(SvdBackSubst(u, w, v, b, x));
        // Least squares: the residual is orthogonal to A's columns.
        const CFitVctr g = NormalResidual(a, x, b);
        for (int c = 0; c < shape.columns; ++c) {
            EXPECT_NEAR(g[c], 0.0, 1e-12);
        }
        // Least norm: x has no part in the null space, which the columns of V with a cut value
        // span.
        for (int j = 0; j < shape.columns; ++j) {
            if (w[j] == 0.0) {
                double along = 0.0;
                for (int k = 0; k < shape.columns; ++k) {
                    along += v[k][j] * x[k];
                }
                EXPECT_NEAR(along, 0.0, 1e-12);
            }
        }
    }
}

TEST(SvdBackSubst, FewerEquationsThanUnknownsAreMetExactlyWithLeastNorm) {
    // Two equations, three unknowns: the null space is the cross product of the rows.
    const CFitMtrx a = MakeMatrix(2, 3, {1.0, 2.0, 3.0, -1.0, 0.5, 2.0});
    const CFitVctr b = MakeVector({4.0, 1.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    ExpectDecomposition(a, u, w, v, 1e-14);
    CutSmallValues(w);
    EXPECT_EQ(std::count(&w[0], &w[0] + 3, 0.0), 1);

    CFitVctr x;
    ASSERT_TRUE(SvdBackSubst(u, w, v, b, x));
    const CFitVctr ax = Apply(a, x);
    EXPECT_NEAR(ax[0], 4.0, 1e-14);
    EXPECT_NEAR(ax[1], 1.0, 1e-14);
    const double null[3] = {2.0 * 2.0 - 3.0 * 0.5, 3.0 * -1.0 - 1.0 * 2.0, 1.0 * 0.5 - 2.0 * -1.0};
    EXPECT_NEAR(x[0] * null[0] + x[1] * null[1] + x[2] * null[2], 0.0, 1e-14);

    // One equation touching one of four unknowns leaves the other three at 0.
    const CFitVctr single = LeastSquares(MakeMatrix(1, 4, {0.0, 0.0, 2.0, 0.0}), MakeVector({6.0}));
    ASSERT_EQ(single.Count(), 4);
    EXPECT_NEAR(single[0], 0.0, 1e-15);
    EXPECT_NEAR(single[1], 0.0, 1e-15);
    EXPECT_NEAR(single[2], 3.0, 1e-15);
    EXPECT_NEAR(single[3], 0.0, 1e-15);
}

TEST(SolveSvd, NoEquationsOrNoUnknowns) {
    // No equations: every value is 0, V is orthogonal, U has no rows and every unknown is 0.
    CFitMtrx a(0, 3);
    CFitVctr w = MakeVector({5.0});
    CFitMtrx v(1, 7);
    ASSERT_EQ(SolveSvd(a, w, v), SvdStatus::Converged);
    EXPECT_EQ(a.Rows(), 0);
    EXPECT_EQ(a.Columns(), 3);
    ASSERT_EQ(w.Count(), 3);
    ExpectDecomposition(CFitMtrx(0, 3), a, w, v, 1e-15);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(w[j], 0.0);
    }
    CFitVctr x = MakeVector({9.0});
    ASSERT_TRUE(SvdBackSubst(a, w, v, CFitVctr(), x));
    ASSERT_EQ(x.Count(), 3);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(x[j], 0.0);
    }

    // No unknowns: empty results.
    CFitMtrx noColumns(4, 0);
    ASSERT_EQ(SolveSvd(noColumns, w, v), SvdStatus::Converged);
    EXPECT_EQ(w.Count(), 0);
    EXPECT_EQ(v.Rows(), 0);
    EXPECT_EQ(v.Columns(), 0);
    ASSERT_TRUE(SvdBackSubst(noColumns, w, v, CFitVctr(4), x));
    EXPECT_EQ(x.Count(), 0);

    CFitMtrx empty;
    EXPECT_EQ(SolveSvd(empty, w, v), SvdStatus::Converged);
    EXPECT_EQ(w.Count(), 0);
}

TEST(SolveSvd, RandomMatricesOfManyShapes) {
    std::mt19937 random(2024);
    struct Shape {
        int rows;
        int columns;
    };
    // The last shape takes enough rotations that they are applied in several batches.
    const Shape shapes[] = {{1, 1},   {2, 1},   {1, 2},   {3, 3},   {5, 3},   {3, 5},   {10, 10},
                            {40, 25}, {25, 40}, {60, 60}, {100, 7}, {7, 100}, {90, 45}, {220, 150}};
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape.rows << " x " << shape.columns);
        const CFitMtrx a = RandomMatrix(shape.rows, shape.columns, random);
        const CFitVctr b = RandomVector(shape.rows, random);
        CFitMtrx u = a;
        CFitVctr w;
        CFitMtrx v;
        ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
        ExpectDecomposition(a, u, w, v, 1e-12);

        CutSmallValues(w);
        CFitVctr x;
        ASSERT_TRUE(SvdBackSubst(u, w, v, b, x));
        ASSERT_EQ(x.Count(), shape.columns);
        const CFitVctr g = NormalResidual(a, x, b);
        for (int c = 0; c < shape.columns; ++c) {
            EXPECT_NEAR(g[c], 0.0, 1e-10);
        }
        if (shape.rows <= shape.columns) {
            // Full row rank: the equations are met exactly.
            const CFitVctr ax = Apply(a, x);
            for (int r = 0; r < shape.rows; ++r) {
                EXPECT_NEAR(ax[r], b[r], 1e-10);
            }
        }
    }
}

TEST(SolveSvd, WideRangeOfMagnitudesStaysAccurate) {
    // Columns of very different scale, as the adjustment mixes millimetres with shifts divided
    // by 10000; tiny and huge matrices neither underflow nor overflow.
    std::mt19937 random(5);
    for (double scale : {1e-150, 1e-4, 1.0, 1e4, 1e140}) {
        SCOPED_TRACE(scale);
        CFitMtrx a = RandomMatrix(9, 6, random);
        for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 6; ++c) {
                a[r][c] *= scale * (c % 2 == 0 ? 1.0 : 1e4);
            }
        }
        CFitMtrx u = a;
        CFitVctr w;
        CFitMtrx v;
        ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
        const double unit = MaxAbs(a);
        for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 6; ++c) {
                double sum = 0.0;
                for (int k = 0; k < 6; ++k) {
                    sum += u[r][k] * w[k] * v[c][k];
                }
                EXPECT_NEAR(sum / unit, a[r][c] / unit, 1e-13);
            }
        }
    }
}

TEST(SolveSvd, ReportsValuesLeftUnconvergedAndGoesOn) {
    std::mt19937 random(3);
    const CFitMtrx a = RandomMatrix(8, 6, random);
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    // Without any QR iteration only values already split off count as converged.
    EXPECT_EQ(SolveSvd(u, w, v, 0), SvdStatus::NotConverged);
    ASSERT_EQ(w.Count(), 6);
    EXPECT_TRUE(w.AllFinite());
    EXPECT_TRUE(u.AllFinite());
    EXPECT_TRUE(v.AllFinite());
    // The values as they stand still form a factorisation of A with orthogonal factors, apart
    // from the superdiagonal left behind.
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(ColumnDot(v, i, i), 1.0, 1e-13);
        EXPECT_NEAR(ColumnDot(u, i, i), 1.0, 1e-13);
    }

    // Enough iterations give the converged result.
    u = a;
    EXPECT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    ExpectDecomposition(a, u, w, v, 1e-13);
}

TEST(SolveSvd, NonFiniteInputIsReportedAndNothingComputed) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf}) {
        SCOPED_TRACE(bad);
        CFitMtrx a = MakeMatrix(3, 2, {1.0, 2.0, 3.0, bad, 5.0, 6.0});
        CFitVctr w;
        CFitMtrx v;
        EXPECT_EQ(SolveSvd(a, w, v), SvdStatus::NonFinite);
        EXPECT_EQ(a[0][1], 2.0);
        ASSERT_EQ(w.Count(), 2);
        EXPECT_TRUE(std::isnan(w[0]));
        EXPECT_TRUE(std::isnan(w.Max()));
        ASSERT_EQ(v.Rows(), 2);
        EXPECT_FALSE(v.AllFinite());
    }
}

TEST(SolveSvd, OverflowOfAFiniteMatrixIsReported) {
    const double big = std::numeric_limits<double>::max();
    CFitMtrx a = MakeMatrix(2, 2, {big, big, big, big});
    CFitVctr w;
    CFitMtrx v;
    EXPECT_EQ(SolveSvd(a, w, v), SvdStatus::NonFinite);
}

TEST(SvdBackSubst, ReportsNonFiniteValuesAndMismatchedSizes) {
    const CFitMtrx a = MakeMatrix(3, 2, {1.0, 0.0, 0.0, 1.0, 1.0, 1.0});
    CFitMtrx u = a;
    CFitVctr w;
    CFitMtrx v;
    ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
    CFitVctr x;
    ASSERT_TRUE(SvdBackSubst(u, w, v, MakeVector({1.0, 2.0, 3.0}), x));
    EXPECT_TRUE(x.AllFinite());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(SvdBackSubst(u, w, v, MakeVector({1.0, nan, 3.0}), x));
    EXPECT_EQ(x.Count(), 2);
    CFitVctr tinyW = w;
    tinyW[0] = 1e-300;
    EXPECT_FALSE(SvdBackSubst(u, tinyW, v, MakeVector({1e300, 1e300, 1e300}), x)) << "overflow";

    // A broken value that the result would not show is still reported: an infinite singular
    // value contributes 0, and a NaN in a column whose value is cut off is never used.
    CFitVctr infiniteW = w;
    infiniteW[0] = inf;
    EXPECT_FALSE(SvdBackSubst(u, infiniteW, v, MakeVector({1.0, 2.0, 3.0}), x));
    CFitVctr cutW = w;
    cutW[1] = 0.0;
    CFitMtrx brokenU = u;
    brokenU[0][1] = nan;
    EXPECT_FALSE(SvdBackSubst(brokenU, cutW, v, MakeVector({1.0, 2.0, 3.0}), x));
    CFitMtrx brokenV = v;
    brokenV[1][1] = nan;
    EXPECT_FALSE(SvdBackSubst(u, w, brokenV, MakeVector({1.0, 2.0, 3.0}), x));

    // Sizes that do not fit together: nothing is read, x is empty.
    x = MakeVector({1.0});
    EXPECT_FALSE(SvdBackSubst(u, w, v, MakeVector({1.0, 2.0}), x));
    EXPECT_EQ(x.Count(), 0);
    EXPECT_FALSE(SvdBackSubst(u, CFitVctr(3), v, MakeVector({1.0, 2.0, 3.0}), x));
    EXPECT_FALSE(SvdBackSubst(u, w, CFitMtrx(2, 3), MakeVector({1.0, 2.0, 3.0}), x));
    EXPECT_EQ(x.Count(), 0);
}

TEST(SolveSvdProjected, GivesTheDecompositionAndUTransposedBWithoutU) {
    // Tall, square and wide matrices, one with equal columns (a singular value 0): w and V are
    // SolveSvd's to the bit, and U^T b that of SolveSvd's U to rounding.
    std::mt19937 random(17);
    for (const auto& [rows, columns] : {std::pair{9, 5}, std::pair{6, 6}, std::pair{3, 7}}) {
        SCOPED_TRACE(rows * 100 + columns);
        CFitMtrx a = RandomMatrix(rows, columns, random);
        for (int r = 0; r < rows; ++r) {
            a[r][1] = a[r][0];
        }
        const CFitVctr b = RandomVector(rows, random);
        CFitMtrx u = a;
        CFitVctr w;
        CFitMtrx v;
        ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
        CFitMtrx used = a;
        CFitVctr wp;
        CFitMtrx vp;
        CFitVctr ub;
        ASSERT_EQ(SolveSvdProjected(used, b, wp, vp, ub), SvdStatus::Converged);
        ASSERT_EQ(wp.Count(), columns);
        ASSERT_EQ(ub.Count(), columns);
        for (int j = 0; j < columns; ++j) {
            EXPECT_EQ(wp[j], w[j]) << j;
            for (int k = 0; k < columns; ++k) {
                EXPECT_EQ(vp[j][k], v[j][k]) << j << "," << k;
            }
            double expected = 0.0;
            for (int r = 0; r < rows; ++r) {
                expected += u[r][j] * b[r];
            }
            EXPECT_NEAR(ub[j], expected, 1e-12) << j;
        }
    }
    // b of the wrong size or not finite.
    CFitMtrx a = MakeMatrix(2, 2, {1, 0, 0, 1});
    CFitVctr w;
    CFitMtrx v;
    CFitVctr ub;
    EXPECT_EQ(SolveSvdProjected(a, MakeVector({1}), w, v, ub), SvdStatus::NonFinite);
    a = MakeMatrix(2, 2, {1, 0, 0, 1});
    EXPECT_EQ(SolveSvdProjected(a, MakeVector({1, NAN}), w, v, ub), SvdStatus::NonFinite);
}
