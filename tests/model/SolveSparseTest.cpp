// The sparse least-squares solver against the dense decomposition on systems whose singular
// values are known: spread over the whole range the position adjustment keeps, with exact null
// directions among them, and a few below the cut.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "model/AdjustPositions.h"
#include "model/SolveSparse.h"
#include "model/SolveSvd.h"

namespace {

// A rows x columns matrix with the given singular values (one per column), made sparse but not
// diagonal by a few rounds of plane rotations of random pairs of rows and of columns, which keep
// the singular values.
CFitMtrx WithSingularValues(int rows, const std::vector<double>& singular, std::mt19937& random) {
    const int columns = static_cast<int>(singular.size());
    CFitMtrx a(rows, columns);
    for (int j = 0; j < columns; ++j) {
        a[j][j] = singular[static_cast<std::size_t>(j)];
    }
    std::uniform_real_distribution<double> angle(-M_PI, M_PI);
    auto rotate = [&](int count, auto&& at) {
        std::vector<int> order(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            order[static_cast<std::size_t>(i)] = i;
        }
        std::shuffle(order.begin(), order.end(), random);
        for (int i = 0; i + 1 < count; i += 2) {
            const double t = angle(random);
            const int p = order[static_cast<std::size_t>(i)];
            const int q = order[static_cast<std::size_t>(i + 1)];
            at(p, q, std::cos(t), std::sin(t));
        }
    };
    for (int round = 0; round < 3; ++round) {
        rotate(rows, [&](int p, int q, double c, double s) {
            for (int j = 0; j < columns; ++j) {
                const double ap = a[p][j];
                const double aq = a[q][j];
                a[p][j] = c * ap - s * aq;
                a[q][j] = s * ap + c * aq;
            }
        });
        rotate(columns, [&](int p, int q, double c, double s) {
            for (int i = 0; i < rows; ++i) {
                const double ap = a[i][p];
                const double aq = a[i][q];
                a[i][p] = c * ap - s * aq;
                a[i][q] = s * ap + c * aq;
            }
        });
    }
    return a;
}

TEST(SolveSparseTest, GivesTheDecompositionsSolutionWithItsCut) {
    // Kept: 1 and values spread between 2e-8 and 1e-1 of it; cut: exact zeros. Where a value
    // lies between rounding and the cut (1e-10, 1e-12), the decomposition must decide.
    struct SCase {
        std::vector<double> belowCut;
        SparseStatus expected;
    };
    const SCase cases[] = {{{}, SparseStatus::Solved},
                           {{1e-10}, SparseStatus::NearCut},
                           {{1e-12}, SparseStatus::NearCut}};
    for (const SCase& test : cases) {
        SCOPED_TRACE(test.belowCut.size());
        std::mt19937 random(11);
        std::vector<double> singular{1.0};
        for (int k = 0; k < 240; ++k) {
            singular.push_back(2e-8 * std::pow(5e6, k / 239.0));
        }
        singular.insert(singular.end(), 20, 0.0);
        singular.insert(singular.end(), test.belowCut.begin(), test.belowCut.end());
        std::shuffle(singular.begin(), singular.end(), random);
        const int rows = 300;
        const int columns = static_cast<int>(singular.size());
        const CFitMtrx a = WithSingularValues(rows, singular, random);
        std::uniform_real_distribution<double> value(-1.0, 1.0);
        CFitVctr b(rows);
        SSparseSystem system;
        system.rows = rows;
        system.columns = columns;
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < columns; ++j) {
                if (a[i][j] != 0.0) {
                    system.entries.push_back({i, j, a[i][j]});
                }
            }
            b[i] = value(random);
            system.rhs.push_back(b[i]);
        }
        ASSERT_LT(system.entries.size(), static_cast<std::size_t>(rows * columns / 4));
        const double largest = EstimateLargestSingular(system);
        EXPECT_NEAR(largest, 1.0, 0.05);

        SSparseSolution sparse;
        ASSERT_EQ(SolveSparseMinimalNorm(system, largest * FitSingularCut, sparse), test.expected);
        if (test.expected != SparseStatus::Solved) {
            continue;
        }
        CFitMtrx u = a;
        CFitVctr w;
        CFitMtrx v;
        ASSERT_EQ(SolveSvd(u, w, v), SvdStatus::Converged);
        int kept = 0;
        for (int j = 0; j < w.Count(); ++j) {
            w[j] = w[j] < w.Max() * FitSingularCut ? 0.0 : w[j];
            kept += w[j] != 0.0 ? 1 : 0;
        }
        EXPECT_EQ(kept, 241);
        EXPECT_EQ(sparse.rank, kept);
        CFitVctr dense;
        ASSERT_TRUE(SvdBackSubst(u, w, v, b, dense));
        double scale = 0.0;
        for (int j = 0; j < columns; ++j) {
            scale = std::max(scale, std::fabs(dense[j]));
        }
        EXPECT_GT(scale, 1e6) << "the smallest kept values take part";
        for (int j = 0; j < columns; ++j) {
            EXPECT_NEAR(sparse.x[static_cast<std::size_t>(j)], dense[j], 1e-6 * scale) << j;
        }
    }
}

} // namespace
