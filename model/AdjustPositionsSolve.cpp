// Solving the position adjustment's system by blocks.
//
// The system is sparse: an equation holds one element's corrections and the shifts of the two
// couplings it joins, along one world axis. A shift along x never meets a shift along y in any
// equation, and a tube along x carries its correction into the x equations only; so the columns
// of the matrix fall into groups that share no equation. Ordered by groups, the matrix is block
// diagonal, its singular values are those of the blocks together, and its least-squares solution
// of minimal norm is that of each block side by side. Each block is decomposed on its own (the
// decomposition's cost grows with the cube of the unknowns, so a thousand elements in three
// blocks cost about a ninth), and the small singular values are cut against the largest of the
// whole matrix, as one decomposition of the whole would cut them.
//
// A block of more than a few hundred unknowns (a long structure or a large frame: a thousand
// elements give blocks of five hundred and more) goes to the sparse solver instead, whose time
// grows about linearly with the block for such structures, and which gives the same solution of
// minimal norm with the same cut (SolveSparse.cpp). The largest singular values of all blocks are
// known before any block is solved, so that every block is cut against the same largest value.
//
// Entries not above machine precision times the largest coefficient (a direction component of
// 1e-17 left by the rotation of a tube that lies along an axis) count as 0: they lie below what
// the decomposition's own rounding changes in the matrix, so they would tie blocks together
// without changing the solution beyond rounding.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "model/AdjustPositions.h"
#include "model/SolveSparse.h"

namespace {

// Groups of columns joined by a shared equation (union by path halving).
class CColumnGroups {
public:
    explicit CColumnGroups(int columns) : m_parent(static_cast<std::size_t>(columns)) {
        std::iota(m_parent.begin(), m_parent.end(), 0);
    }

    int Root(int c) {
        while (m_parent[static_cast<std::size_t>(c)] != c) {
            int& parent = m_parent[static_cast<std::size_t>(c)];
            parent = m_parent[static_cast<std::size_t>(parent)];
            c = parent;
        }
        return c;
    }

    void Join(int a, int b) {
        const int ra = Root(a);
        const int rb = Root(b);
        if (ra != rb) {
            m_parent[static_cast<std::size_t>(std::max(ra, rb))] = std::min(ra, rb);
        }
    }

private:
    std::vector<int> m_parent;
};

// One diagonal block: its columns and equations in the system's order, and its decomposition.
struct SFitBlock {
    std::vector<int> columns;
    std::vector<int> rows;
    CFitVctr w;
    CFitMtrx v;
    CFitVctr ub;          // U^T b
    SSparseSystem sparse; // a block for the sparse solver: its entries, and no decomposition
    bool isSparse = false;
};

// Decomposes a block meant for the sparse solver densely. False when it does not converge.
bool DecomposeSparseBlock(SFitBlock& block, int maxSweeps) {
    const SSparseSystem& sparse = block.sparse;
    CFitMtrx a(sparse.rows, sparse.columns);
    CFitVctr b(sparse.rows);
    for (const SSparseSystem::SEntry& entry : sparse.entries) {
        a[entry.row][entry.column] += entry.value;
    }
    for (int r = 0; r < sparse.rows; ++r) {
        b[r] = sparse.rhs[static_cast<std::size_t>(r)];
    }
    return SolveSvdProjected(a, b, block.w, block.v, block.ub, maxSweeps) == SvdStatus::Converged;
}

} // namespace

bool CFitSystem::Solve(CFitVctr& x, int maxSweeps, int denseColumns) const {
    const int columns = static_cast<int>(m_vars.size());
    // A NaN or an infinity anywhere makes the solution unusable, as it would the whole
    // decomposition's.
    double largest = 0.0;
    for (const SFitEqtn& eq : m_eqtns) {
        if (!std::isfinite(eq.rhs)) {
            return false;
        }
        for (const SFitEqtn::STerm& term : eq.terms) {
            if (!std::isfinite(term.coefficient)) {
                return false;
            }
            largest = std::max(largest, std::fabs(term.coefficient));
        }
    }
    const double negligible = std::numeric_limits<double>::epsilon() * largest;
    auto counts = [negligible](const SFitEqtn::STerm& term) {
        return std::fabs(term.coefficient) > negligible;
    };

    CColumnGroups groups(columns);
    for (const SFitEqtn& eq : m_eqtns) {
        int first = -1;
        for (const SFitEqtn::STerm& term : eq.terms) {
            if (counts(term)) {
                first = first < 0 ? term.index : first;
                groups.Join(first, term.index);
            }
        }
    }

    // Blocks in the order of their first column; a column no equation reaches has none and
    // comes out 0, as the minimal-norm solution has it.
    std::vector<int> blockOf(static_cast<std::size_t>(columns), -1);
    std::vector<int> positionInBlock(static_cast<std::size_t>(columns), -1);
    std::vector<SFitBlock> blocks;
    for (int row = 0; row < static_cast<int>(m_eqtns.size()); ++row) {
        for (const SFitEqtn::STerm& term : m_eqtns[static_cast<std::size_t>(row)].terms) {
            if (counts(term)) {
                const int root = groups.Root(term.index);
                if (blockOf[static_cast<std::size_t>(root)] < 0) {
                    blockOf[static_cast<std::size_t>(root)] = static_cast<int>(blocks.size());
                    blocks.emplace_back();
                }
                blocks[static_cast<std::size_t>(blockOf[static_cast<std::size_t>(root)])]
                    .rows.push_back(row);
                break;
            }
        }
    }
    for (int c = 0; c < columns; ++c) {
        const int block = blockOf[static_cast<std::size_t>(groups.Root(c))];
        if (block >= 0) {
            std::vector<int>& own = blocks[static_cast<std::size_t>(block)].columns;
            positionInBlock[static_cast<std::size_t>(c)] = static_cast<int>(own.size());
            own.push_back(c);
        }
    }

    x.Resize(columns);
    // First every block's largest singular value: the dense blocks decomposed, the sparse ones
    // estimated.
    double largestSingular = 0.0;
    for (SFitBlock& block : blocks) {
        const int rows = static_cast<int>(block.rows.size());
        const int blockColumns = static_cast<int>(block.columns.size());
        // Calls f(row in block, column in block, coefficient) for every entry that counts.
        auto forEachEntry = [&](auto&& f) {
            for (int r = 0; r < rows; ++r) {
                for (const SFitEqtn::STerm& term :
                     m_eqtns[static_cast<std::size_t>(block.rows[static_cast<std::size_t>(r)])]
                         .terms) {
                    if (counts(term)) {
                        f(r, positionInBlock[static_cast<std::size_t>(term.index)],
                          term.coefficient);
                    }
                }
            }
        };
        auto rhs = [&](int r) {
            return m_eqtns[static_cast<std::size_t>(block.rows[static_cast<std::size_t>(r)])].rhs;
        };
        if (blockColumns > denseColumns) {
            block.isSparse = true;
            SSparseSystem& sparse = block.sparse;
            sparse.rows = rows;
            sparse.columns = blockColumns;
            forEachEntry([&sparse](int r, int c, double value) {
                sparse.entries.push_back({r, c, value});
            });
            for (int r = 0; r < rows; ++r) {
                sparse.rhs.push_back(rhs(r));
            }
            largestSingular = std::max(largestSingular, EstimateLargestSingular(sparse));
            continue;
        }
        CFitMtrx a(rows, blockColumns);
        CFitVctr b(rows);
        forEachEntry([&a](int r, int c, double value) { a[r][c] += value; });
        for (int r = 0; r < rows; ++r) {
            b[r] = rhs(r);
        }
        if (SolveSvdProjected(a, b, block.w, block.v, block.ub, maxSweeps) !=
            SvdStatus::Converged) {
            return false;
        }
        largestSingular = std::max(largestSingular, block.w.Max());
    }

    const double cut = largestSingular * FitSingularCut;
    for (SFitBlock& block : blocks) {
        if (block.isSparse) {
            SSparseSolution solved;
            const SparseStatus status = SolveSparseMinimalNorm(block.sparse, cut, solved);
            if (status == SparseStatus::Solved) {
                for (std::size_t j = 0; j < block.columns.size(); ++j) {
                    x[block.columns[j]] = solved.x[j];
                }
                continue;
            }
            // A singular value near the cut: the decomposition decides, where it takes a few
            // seconds at most.
            if (status == SparseStatus::Failed ||
                static_cast<int>(block.columns.size()) > FitDenseFallbackColumns ||
                !DecomposeSparseBlock(block, maxSweeps)) {
                return false;
            }
        }
        for (int j = 0; j < block.w.Count(); ++j) {
            if (block.w[j] < cut) {
                block.w[j] = 0.0;
            }
        }
        // x = V diag(1/w) U^T b, a singular value 0 contributing 0.
        const int n = block.w.Count();
        std::vector<double> scaled(static_cast<std::size_t>(n));
        for (int k = 0; k < n; ++k) {
            scaled[static_cast<std::size_t>(k)] =
                block.w[k] != 0.0 ? block.ub[k] / block.w[k] : 0.0;
        }
        for (int j = 0; j < n; ++j) {
            const double* row = block.v[j];
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                sum += row[k] * scaled[static_cast<std::size_t>(k)];
            }
            x[block.columns[static_cast<std::size_t>(j)]] = sum;
        }
    }
    return x.Count() == columns && x.AllFinite();
}
