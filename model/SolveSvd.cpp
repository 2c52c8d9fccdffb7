#include "model/SolveSvd.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The working storage of one decomposition. U has rows >= columns (a matrix with fewer rows is
// padded with zero rows first), V is columns x columns; both row by row.
//
// The published procedure walks columns; here the inner loops walk memory in order. Where the
// procedure forms one dot product per column and then updates that column, all the dot products
// are formed together row by row first (each still summed in the same order); the reflections
// of one bidiagonalisation step reach each row while it is in cache; and the rotations of the QR
// iterations are recorded and applied in batches (each entry meets the same operations in the
// same order). The results are the same to the bit as the column-wise procedure's.
class CSvdWork {
public:
    // With b (rows entries), U is not formed: every left reflection and rotation that would go
    // into U is applied to b instead, so that its first columns entries end as U^T b.
    CSvdWork(double* u, int rows, double* v, int columns, double* w, int maxSweeps,
             double* b = nullptr)
        : m_u(u), m_v(v), m_q(w), m_b(b), m_rows(rows), m_n(columns), m_maxSweeps(maxSweeps),
          m_e(static_cast<std::size_t>(columns), 0.0),
          m_dots(static_cast<std::size_t>(columns), 0.0) {}

    // Runs the three stages; false when a singular value did not converge.
    bool Run() {
        double norm = Bidiagonalise();
        AccumulateRight();
        if (m_b == nullptr) {
            AccumulateLeft();
        }
        return Diagonalise(norm);
    }

private:
    double* URow(int r) { return m_u + static_cast<std::size_t>(r) * m_n; }
    double* VRow(int r) { return m_v + static_cast<std::size_t>(r) * m_n; }
    double& U(int r, int c) { return URow(r)[c]; }
    double& V(int r, int c) { return VRow(r)[c]; }

    // dots[j] = sum over rows k = from .. to - 1 of m[k][i] * m[k][j], for j = first .. n - 1,
    // summed in the order of k.
    void ColumnDots(double* m, int i, int from, int to, int first) {
        double* dots = m_dots.data();
        for (int j = first; j < m_n; ++j) {
            dots[j] = 0.0;
        }
        for (int k = from; k < to; ++k) {
            const double* row = m + static_cast<std::size_t>(k) * m_n;
            const double mki = row[i];
            for (int j = first; j < m_n; ++j) {
                dots[j] += mki * row[j];
            }
        }
    }

    // m[k][j] += factors[j] * m[k][i] for rows k = from .. to - 1 and j = first .. n - 1.
    void AddColumnMultiples(double* m, int i, int from, int to, int first) {
        const double* factors = m_dots.data();
        for (int k = from; k < to; ++k) {
            double* row = m + static_cast<std::size_t>(k) * m_n;
            const double mki = row[i];
            for (int j = first; j < m_n; ++j) {
                row[j] += factors[j] * mki;
            }
        }
    }

    // Householder reduction to upper bidiagonal form: alternately a reflection from the left
    // clears column i below the diagonal and one from the right clears row i beyond the
    // superdiagonal. The diagonal goes to q, the superdiagonal to e (e[0] = 0); the reflection
    // vectors stay in U's storage for the accumulation. Each vector is scaled by the sum of its
    // magnitudes while its reflection is formed, so that squares neither overflow nor
    // underflow. Returns the norm max(|q[i]| + |e[i]|) that judges convergence later.
    //
    // Both reflections of step i change the rows below i, each row on its own; so every row
    // takes the left reflection and then the right one while it is in cache.
    double Bidiagonalise() {
        double norm = 0.0;
        for (int i = 0; i < m_n; ++i) {
            // From the left: column i, rows i and below. Its factors for the columns beyond i
            // go to m_dots.
            double leftG = 0.0;
            const double leftScale = FormLeftReflection(i, leftG);
            const bool left = leftScale != 0.0;
            if (left) {
                AddColumnMultiples(m_u, i, i, i + 1, i + 1);
                if (m_b != nullptr) {
                    ReflectB(i);
                }
            }

            // From the right: row i, columns i + 2 and beyond. The scaled vector divided by h
            // goes to e beyond i, which is free until the next step sets it.
            double rightG = 0.0;
            const double rightScale = FormRightReflection(i, rightG);
            const bool right = rightScale != 0.0;

            int j = i + 1;
            for (; j + 4 <= m_rows; j += 4) {
                if (left) {
                    AddColumnMultiples(m_u, i, j, j + 4, i + 1);
                }
                if (right) {
                    ReflectFourRowsFromRight(i, j);
                }
            }
            for (; j < m_rows; ++j) {
                if (left) {
                    AddColumnMultiples(m_u, i, j, j + 1, i + 1);
                }
                if (right) {
                    ReflectRowFromRight(i, j);
                }
            }

            if (left) {
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) *= leftScale;
                }
            }
            if (right) {
                double* rowI = URow(i);
                for (int k = i + 1; k < m_n; ++k) {
                    rowI[k] *= rightScale;
                }
            }
            m_q[i] = leftScale * leftG;
            norm = std::max(norm, std::fabs(m_q[i]) + std::fabs(m_e[i]));
            if (i + 1 < m_n) {
                m_e[i + 1] = rightScale * rightG;
            }
        }
        return norm;
    }

    // The reflection from the left for column i, rows i and below, kept in U divided by the
    // scale; m_dots beyond i gets the factors of the columns beyond i. Returns the scale (0: no
    // reflection) and sets g, the new diagonal entry divided by the scale.
    double FormLeftReflection(int i, double& g) {
        double scale = 0.0;
        for (int k = i; k < m_rows; ++k) {
            scale += std::fabs(U(k, i));
        }
        g = 0.0;
        if (scale == 0.0) {
            return 0.0;
        }
        double s = 0.0;
        for (int k = i; k < m_rows; ++k) {
            U(k, i) /= scale;
            s += U(k, i) * U(k, i);
        }
        const double f = U(i, i);
        g = f < 0.0 ? std::sqrt(s) : -std::sqrt(s);
        const double h = f * g - s;
        U(i, i) = f - g;
        m_leftH = h;
        ColumnDots(m_u, i, i, m_rows, i + 1);
        for (int j = i + 1; j < m_n; ++j) {
            m_dots[j] /= h;
        }
        return scale;
    }

    // The reflection from the right for row i, columns i + 1 and beyond, kept in U divided by
    // the scale; e beyond i gets that vector divided by h. Returns the scale (0: no reflection) and
    // sets g, the new superdiagonal entry divided by the scale.
    double FormRightReflection(int i, double& g) {
        double* rowI = URow(i);
        double scale = 0.0;
        for (int k = i + 1; k < m_n; ++k) {
            scale += std::fabs(rowI[k]);
        }
        g = 0.0;
        if (scale == 0.0) {
            return 0.0;
        }
        double s = 0.0;
        for (int k = i + 1; k < m_n; ++k) {
            rowI[k] /= scale;
            s += rowI[k] * rowI[k];
        }
        const double f = rowI[i + 1];
        g = f < 0.0 ? std::sqrt(s) : -std::sqrt(s);
        const double h = f * g - s;
        rowI[i + 1] = f - g;
        for (int k = i + 1; k < m_n; ++k) {
            m_e[k] = rowI[k] / h;
        }
        return scale;
    }

    // b takes the left reflection of step i as a further column of U would.
    void ReflectB(int i) {
        double dot = 0.0;
        for (int k = i; k < m_rows; ++k) {
            dot += U(k, i) * m_b[k];
        }
        const double f = dot / m_leftH;
        for (int k = i; k < m_rows; ++k) {
            m_b[k] += f * U(k, i);
        }
    }

    // Rows j to j + 3: row += (row . row i) e, over columns i + 1 and beyond. The four sums
    // (each in column order) proceed side by side.
    void ReflectFourRowsFromRight(int i, int j) {
        const double* rowI = URow(i);
        const double* e = m_e.data();
        double* r0 = URow(j);
        double* r1 = URow(j + 1);
        double* r2 = URow(j + 2);
        double* r3 = URow(j + 3);
        double d0 = 0.0;
        double d1 = 0.0;
        double d2 = 0.0;
        double d3 = 0.0;
        for (int k = i + 1; k < m_n; ++k) {
            d0 += r0[k] * rowI[k];
            d1 += r1[k] * rowI[k];
            d2 += r2[k] * rowI[k];
            d3 += r3[k] * rowI[k];
        }
        for (int k = i + 1; k < m_n; ++k) {
            r0[k] += d0 * e[k];
            r1[k] += d1 * e[k];
            r2[k] += d2 * e[k];
            r3[k] += d3 * e[k];
        }
    }

    void ReflectRowFromRight(int i, int j) {
        const double* rowI = URow(i);
        double* row = URow(j);
        double dot = 0.0;
        for (int k = i + 1; k < m_n; ++k) {
            dot += row[k] * rowI[k];
        }
        for (int k = i + 1; k < m_n; ++k) {
            row[k] += dot * m_e[k];
        }
    }

    // V = the product of the right reflections, built from the last one backwards.
    void AccumulateRight() {
        for (int i = m_n - 1; i >= 0; --i) {
            int l = i + 1;
            double g = l < m_n ? m_e[l] : 0.0;
            if (g != 0.0) {
                const double* rowI = URow(i);
                double h = rowI[l] * g;
                for (int j = l; j < m_n; ++j) {
                    V(j, i) = rowI[j] / h;
                }
                // dots[j] = sum over k of U[i][k] V[k][j], then V[k][j] += dots[j] V[k][i].
                for (int j = l; j < m_n; ++j) {
                    m_dots[j] = 0.0;
                }
                for (int k = l; k < m_n; ++k) {
                    const double* row = VRow(k);
                    const double uik = rowI[k];
                    for (int j = l; j < m_n; ++j) {
                        m_dots[j] += uik * row[j];
                    }
                }
                AddColumnMultiples(m_v, i, l, m_n, l);
            }
            for (int j = l; j < m_n; ++j) {
                V(i, j) = 0.0;
                V(j, i) = 0.0;
            }
            V(i, i) = 1.0;
        }
    }

    // U = the product of the left reflections (its first n columns), built in place from the
    // last one backwards.
    void AccumulateLeft() {
        for (int i = m_n - 1; i >= 0; --i) {
            int l = i + 1;
            double g = m_q[i];
            double* rowI = URow(i);
            for (int j = l; j < m_n; ++j) {
                rowI[j] = 0.0;
            }
            if (g != 0.0) {
                double h = rowI[i] * g;
                ColumnDots(m_u, i, l, m_rows, l);
                for (int j = l; j < m_n; ++j) {
                    m_dots[j] /= h;
                }
                AddColumnMultiples(m_u, i, i, m_rows, l);
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) /= g;
                }
            } else {
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) = 0.0;
                }
            }
            rowI[i] += 1.0;
        }
    }

    // The QR iterations turn and negate columns of U and V. The operations depend on the
    // bidiagonal matrix only, so they are recorded and applied later in batches, to copies of U
    // and V packed in panels of sixteen rows, each panel column by column: the panel's entries
    // of one column lie together, and a panel is taken through the whole batch while it stays
    // in cache. Each entry still meets the same operations in the same order.
    static constexpr int kPanelRows = 16;
    static constexpr std::size_t kBatch = 16384;

    // A plane rotation of the columns first and second, or the negation of column first when
    // second is negative.
    struct SColumnOp {
        int first;
        int second;
        double c;
        double s;
    };

    // A packed copy of U or V with its pending operations.
    struct SPacked {
        std::vector<double> values; // panels x columns x kPanelRows; rows past the end are 0
        int panels = 0;
        std::vector<SColumnOp> pending;
    };

    std::size_t PanelSize() const { return static_cast<std::size_t>(m_n) * kPanelRows; }

    void Pack(const double* m, int rows, SPacked& out) {
        out.panels = (rows + kPanelRows - 1) / kPanelRows;
        out.values.assign(static_cast<std::size_t>(out.panels) * PanelSize(), 0.0);
        for (int r = 0; r < rows; ++r) {
            const double* row = m + static_cast<std::size_t>(r) * m_n;
            double* to = out.values.data() +
                         static_cast<std::size_t>(r / kPanelRows) * PanelSize() + r % kPanelRows;
            for (int c = 0; c < m_n; ++c) {
                to[static_cast<std::size_t>(c) * kPanelRows] = row[c];
            }
        }
    }

    void Unpack(const SPacked& from, int rows, double* m) {
        for (int r = 0; r < rows; ++r) {
            double* row = m + static_cast<std::size_t>(r) * m_n;
            const double* in = from.values.data() +
                               static_cast<std::size_t>(r / kPanelRows) * PanelSize() +
                               r % kPanelRows;
            for (int c = 0; c < m_n; ++c) {
                row[c] = in[static_cast<std::size_t>(c) * kPanelRows];
            }
        }
    }

    void Record(SPacked& t, int first, int second, double c, double s) {
        if (&t == &m_uPacked && m_b != nullptr) {
            // U^T b: the rotation of U's columns turns the two entries alike.
            const double x = m_b[first];
            const double z = m_b[second];
            m_b[first] = x * c + z * s;
            m_b[second] = z * c - x * s;
            return;
        }
        t.pending.push_back({first, second, c, s});
        if (t.pending.size() >= kBatch) {
            ApplyPending(t);
        }
    }

    // Applies the pending operations in order, panel by panel, and forgets them. A QR sweep
    // turns the columns (l, l + 1), (l + 1, l + 2), ... in turn; along such a chain the column
    // passed on from one rotation to the next is kept in registers.
    void ApplyPending(SPacked& t) {
        const SColumnOp* begin = t.pending.data();
        const SColumnOp* end = begin + t.pending.size();
        for (int p = 0; p < t.panels; ++p) {
            double* panel = t.values.data() + static_cast<std::size_t>(p) * PanelSize();
            const SColumnOp* op = begin;
            while (op != end) {
                double* a = panel + static_cast<std::size_t>(op->first) * kPanelRows;
                if (op->second < 0) {
                    for (int r = 0; r < kPanelRows; ++r) {
                        a[r] = -a[r];
                    }
                    ++op;
                    continue;
                }
                double x[kPanelRows];
                for (int r = 0; r < kPanelRows; ++r) {
                    x[r] = a[r];
                }
                for (;;) {
                    double* b = panel + static_cast<std::size_t>(op->second) * kPanelRows;
                    const double c = op->c;
                    const double s = op->s;
                    double z[kPanelRows];
                    for (int r = 0; r < kPanelRows; ++r) {
                        z[r] = b[r];
                    }
                    for (int r = 0; r < kPanelRows; ++r) {
                        a[r] = x[r] * c + z[r] * s;
                        x[r] = z[r] * c - x[r] * s;
                    }
                    const SColumnOp* next = op + 1;
                    if (next == end || next->second < 0 || next->first != op->second) {
                        for (int r = 0; r < kPanelRows; ++r) {
                            b[r] = x[r];
                        }
                        op = next;
                        break;
                    }
                    a = b;
                    op = next;
                }
            }
        }
        t.pending.clear();
    }

    // A negligible diagonal entry q[l - 1] decouples the block l..k: rotations from the left
    // chase the superdiagonal entry e[l] down to the end of the block.
    void Cancel(int l, int k, double tolerance) {
        double c = 0.0;
        double s = 1.0;
        for (int i = l; i <= k; ++i) {
            double f = s * m_e[i];
            m_e[i] = c * m_e[i];
            if (std::fabs(f) <= tolerance) {
                break;
            }
            double g = m_q[i];
            double h = std::hypot(f, g);
            m_q[i] = h;
            c = g / h;
            s = -f / h;
            Record(m_uPacked, l - 1, i, c, s);
        }
    }

    // The rotation that takes (f, h) to (r, 0); the identity when both are 0.
    static void Givens(double f, double h, double& r, double& c, double& s) {
        r = std::hypot(f, h);
        if (r != 0.0) {
            c = f / r;
            s = h / r;
        } else {
            c = 1.0;
            s = 0.0;
        }
    }

    // One implicitly shifted QR sweep over the block l..k (l < k): the shift is the eigenvalue
    // of the trailing 2 x 2 block of B^T B nearer to its last diagonal entry, and the bulge is
    // chased down by alternate rotations from the right (into V) and the left (into U).
    void Sweep(int l, int k) {
        double x = m_q[l];
        double z = m_q[k];
        double y = m_q[k - 1];
        double g = m_e[k - 1];
        double h = m_e[k];
        double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
        g = std::hypot(f, 1.0);
        f = ((x - z) * (x + z) + h * (y / (f < 0.0 ? f - g : f + g) - h)) / x;

        double c = 1.0;
        double s = 1.0;
        for (int i = l + 1; i <= k; ++i) {
            g = m_e[i];
            y = m_q[i];
            h = s * g;
            g = c * g;
            Givens(f, h, z, c, s);
            m_e[i - 1] = z;
            f = x * c + g * s;
            g = g * c - x * s;
            h = y * s;
            y = y * c;
            Record(m_vPacked, i - 1, i, c, s);
            Givens(f, h, z, c, s);
            m_q[i - 1] = z;
            f = c * g + s * y;
            x = c * y - s * g;
            Record(m_uPacked, i - 1, i, c, s);
        }
        m_e[l] = 0.0;
        m_e[k] = f;
        m_q[k] = x;
    }

    // QR iterations on the bidiagonal matrix, from its last singular value to its first. An
    // entry counts as zero when it is not above machine precision times the matrix's norm.
    bool Diagonalise(double norm) {
        if (m_b == nullptr) {
            Pack(m_u, m_rows, m_uPacked);
        }
        Pack(m_v, m_n, m_vPacked);

        const double tolerance = std::numeric_limits<double>::epsilon() * norm;
        bool converged = true;
        for (int k = m_n - 1; k >= 0; --k) {
            for (int sweep = 0;; ++sweep) {
                // The block l..k: e[l] negligible (e[0] is 0), or q[l - 1] negligible, which
                // first needs the cancellation of e[l].
                int l = k;
                for (; l > 0; --l) {
                    if (std::fabs(m_e[l]) <= tolerance) {
                        break;
                    }
                    if (std::fabs(m_q[l - 1]) <= tolerance) {
                        Cancel(l, k, tolerance);
                        break;
                    }
                }
                if (l == k) {
                    if (m_q[k] < 0.0) {
                        m_q[k] = -m_q[k];
                        Record(m_vPacked, k, -1, 0.0, 0.0);
                    }
                    break;
                }
                if (sweep >= m_maxSweeps) {
                    converged = false;
                    break;
                }
                Sweep(l, k);
            }
        }

        if (m_b == nullptr) {
            ApplyPending(m_uPacked);
            Unpack(m_uPacked, m_rows, m_u);
        }
        ApplyPending(m_vPacked);
        Unpack(m_vPacked, m_n, m_v);
        return converged;
    }

    double* m_u;
    double* m_v;
    double* m_q;
    double* m_b;
    double m_leftH = 0.0; // h of the last left reflection
    int m_rows;
    int m_n;
    int m_maxSweeps;
    std::vector<double> m_e;
    // Scratch: the dot products of one reflection with every column.
    std::vector<double> m_dots;
    // U and V during the QR iterations.
    SPacked m_uPacked;
    SPacked m_vPacked;
};

} // namespace

namespace {

// SolveSvd, or with b (m entries, replaced by U^T b in its first n entries) the decomposition
// without U.
SvdStatus Decompose(CFitMtrx& a, CFitVctr& w, CFitMtrx& v, int maxSweeps, std::vector<double>* b) {
    const int m = a.Rows();
    const int n = a.Columns();
    w.Resize(n);
    v.Resize(n, n);
    if (!a.AllFinite()) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (int j = 0; j < n; ++j) {
            w[j] = nan;
            for (int k = 0; k < n; ++k) {
                v[j][k] = nan;
            }
        }
        return SvdStatus::NonFinite;
    }
    if (n == 0) {
        return SvdStatus::Converged;
    }

    bool converged = false;
    if (m >= n) {
        CSvdWork work(a[0], m, v[0], n, &w[0], maxSweeps, b != nullptr ? b->data() : nullptr);
        converged = work.Run();
    } else {
        // Fewer equations than unknowns: the algorithm needs at least as many rows as columns,
        // so it works on a copy with n - m zero rows added and keeps U's first m rows.
        CFitMtrx padded(n, n);
        for (int r = 0; r < m; ++r) {
            for (int c = 0; c < n; ++c) {
                padded[r][c] = a[r][c];
            }
        }
        if (b != nullptr) {
            b->resize(static_cast<std::size_t>(n), 0.0);
        }
        CSvdWork work(padded[0], n, v[0], n, &w[0], maxSweeps,
                      b != nullptr ? b->data() : nullptr);
        converged = work.Run();
        for (int r = 0; r < m; ++r) {
            for (int c = 0; c < n; ++c) {
                a[r][c] = padded[r][c];
            }
        }
    }

    if (!a.AllFinite() || !w.AllFinite() || !v.AllFinite()) {
        return SvdStatus::NonFinite;
    }
    return converged ? SvdStatus::Converged : SvdStatus::NotConverged;
}

} // namespace

SvdStatus SolveSvd(CFitMtrx& a, CFitVctr& w, CFitMtrx& v, int maxSweeps) {
    return Decompose(a, w, v, maxSweeps, nullptr);
}

SvdStatus SolveSvdProjected(CFitMtrx& a, const CFitVctr& b, CFitVctr& w, CFitMtrx& v,
                            CFitVctr& ub, int maxSweeps) {
    const int m = a.Rows();
    const int n = a.Columns();
    std::vector<double> work(static_cast<std::size_t>(m));
    bool finite = b.Count() == m;
    for (int i = 0; finite && i < m; ++i) {
        work[static_cast<std::size_t>(i)] = b[i];
        finite = std::isfinite(b[i]);
    }
    const SvdStatus status = Decompose(a, w, v, maxSweeps, &work);
    ub.Resize(n);
    for (int j = 0; j < n && j < static_cast<int>(work.size()); ++j) {
        ub[j] = work[static_cast<std::size_t>(j)];
    }
    if (!finite || !ub.AllFinite()) {
        return SvdStatus::NonFinite;
    }
    return status;
}

bool SvdBackSubst(const CFitMtrx& u, const CFitVctr& w, const CFitMtrx& v, const CFitVctr& b,
                  CFitVctr& x) {
    const int m = u.Rows();
    const int n = u.Columns();
    if (w.Count() != n || v.Rows() != n || v.Columns() != n || b.Count() != m) {
        x.Resize(0);
        return false;
    }
    x.Resize(n);

    // tmp = diag(1/w) U^T b, walking U row by row.
    std::vector<double> tmp(static_cast<std::size_t>(n), 0.0);
    for (int i = 0; i < m; ++i) {
        const double* row = u[i];
        for (int j = 0; j < n; ++j) {
            tmp[j] += row[j] * b[i];
        }
    }
    for (int j = 0; j < n; ++j) {
        tmp[j] = w[j] != 0.0 ? tmp[j] / w[j] : 0.0;
    }
    for (int j = 0; j < n; ++j) {
        const double* row = v[j];
        double sum = 0.0;
        for (int k = 0; k < n; ++k) {
            sum += row[k] * tmp[k];
        }
        x[j] = sum;
    }
    return u.AllFinite() && w.AllFinite() && v.AllFinite() && b.AllFinite() && x.AllFinite();
}
