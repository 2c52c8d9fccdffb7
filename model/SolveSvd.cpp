#include "model/SolveSvd.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// The working storage of one decomposition. U has rows >= columns (a matrix with fewer rows is
// padded with zero rows first), V is columns x columns; both row by row.
class CSvdWork {
public:
    CSvdWork(double* u, int rows, double* v, int columns, double* w, int maxSweeps)
        : m_u(u), m_v(v), m_q(w), m_rows(rows), m_n(columns), m_maxSweeps(maxSweeps),
          m_e(static_cast<std::size_t>(columns), 0.0) {}

    // Runs the three stages; false when a singular value did not converge.
    bool Run() {
        double norm = Bidiagonalise();
        AccumulateRight();
        AccumulateLeft();
        return Diagonalise(norm);
    }

private:
    double& U(int r, int c) { return m_u[static_cast<std::size_t>(r) * m_n + c]; }
    double& V(int r, int c) { return m_v[static_cast<std::size_t>(r) * m_n + c]; }

    // Householder reduction to upper bidiagonal form: alternately a reflection from the left
    // clears column i below the diagonal and one from the right clears row i beyond the
    // superdiagonal. The diagonal goes to q, the superdiagonal to e (e[0] = 0); the reflection
    // vectors stay in U's storage for the accumulation. Each vector is scaled by the sum of its
    // magnitudes while its reflection is formed, so that squares neither overflow nor
    // underflow. Returns the norm max(|q[i]| + |e[i]|) that judges convergence later.
    double Bidiagonalise() {
        double norm = 0.0;
        for (int i = 0; i < m_n; ++i) {
            // From the left: column i, rows i and below.
            double g = 0.0;
            double scale = 0.0;
            for (int k = i; k < m_rows; ++k) {
                scale += std::fabs(U(k, i));
            }
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) /= scale;
                    s += U(k, i) * U(k, i);
                }
                double f = U(i, i);
                g = f < 0.0 ? std::sqrt(s) : -std::sqrt(s);
                double h = f * g - s;
                U(i, i) = f - g;
                for (int j = i + 1; j < m_n; ++j) {
                    double dot = 0.0;
                    for (int k = i; k < m_rows; ++k) {
                        dot += U(k, i) * U(k, j);
                    }
                    double factor = dot / h;
                    for (int k = i; k < m_rows; ++k) {
                        U(k, j) += factor * U(k, i);
                    }
                }
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) *= scale;
                }
            }
            m_q[i] = scale * g;

            // From the right: row i, columns i + 2 and beyond.
            g = 0.0;
            scale = 0.0;
            for (int k = i + 1; k < m_n; ++k) {
                scale += std::fabs(U(i, k));
            }
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = i + 1; k < m_n; ++k) {
                    U(i, k) /= scale;
                    s += U(i, k) * U(i, k);
                }
                double f = U(i, i + 1);
                g = f < 0.0 ? std::sqrt(s) : -std::sqrt(s);
                double h = f * g - s;
                U(i, i + 1) = f - g;
                // e beyond i is free until the next step sets it: it holds the scaled vector.
                for (int k = i + 1; k < m_n; ++k) {
                    m_e[k] = U(i, k) / h;
                }
                for (int j = i + 1; j < m_rows; ++j) {
                    double dot = 0.0;
                    for (int k = i + 1; k < m_n; ++k) {
                        dot += U(j, k) * U(i, k);
                    }
                    for (int k = i + 1; k < m_n; ++k) {
                        U(j, k) += dot * m_e[k];
                    }
                }
                for (int k = i + 1; k < m_n; ++k) {
                    U(i, k) *= scale;
                }
            }
            norm = std::max(norm, std::fabs(m_q[i]) + std::fabs(m_e[i]));
            if (i + 1 < m_n) {
                m_e[i + 1] = scale * g;
            }
        }
        return norm;
    }

    // V = the product of the right reflections, built from the last one backwards.
    void AccumulateRight() {
        for (int i = m_n - 1; i >= 0; --i) {
            int l = i + 1;
            double g = l < m_n ? m_e[l] : 0.0;
            if (g != 0.0) {
                double h = U(i, l) * g;
                for (int j = l; j < m_n; ++j) {
                    V(j, i) = U(i, j) / h;
                }
                for (int j = l; j < m_n; ++j) {
                    double dot = 0.0;
                    for (int k = l; k < m_n; ++k) {
                        dot += U(i, k) * V(k, j);
                    }
                    for (int k = l; k < m_n; ++k) {
                        V(k, j) += dot * V(k, i);
                    }
                }
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
            for (int j = l; j < m_n; ++j) {
                U(i, j) = 0.0;
            }
            if (g != 0.0) {
                double h = U(i, i) * g;
                for (int j = l; j < m_n; ++j) {
                    double dot = 0.0;
                    for (int k = l; k < m_rows; ++k) {
                        dot += U(k, i) * U(k, j);
                    }
                    double factor = dot / h;
                    for (int k = i; k < m_rows; ++k) {
                        U(k, j) += factor * U(k, i);
                    }
                }
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) /= g;
                }
            } else {
                for (int k = i; k < m_rows; ++k) {
                    U(k, i) = 0.0;
                }
            }
            U(i, i) += 1.0;
        }
    }

    // Plane rotation of columns first and second of U or V: (x, z) -> (x c + z s, z c - x s).
    static void RotateColumns(double* m, int rows, int columns, int first, int second, double c,
                              double s) {
        for (int r = 0; r < rows; ++r) {
            double* row = m + static_cast<std::size_t>(r) * columns;
            double x = row[first];
            double z = row[second];
            row[first] = x * c + z * s;
            row[second] = z * c - x * s;
        }
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
            RotateColumns(m_u, m_rows, m_n, l - 1, i, c, s);
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
            RotateColumns(m_v, m_n, m_n, i - 1, i, c, s);
            Givens(f, h, z, c, s);
            m_q[i - 1] = z;
            f = c * g + s * y;
            x = c * y - s * g;
            RotateColumns(m_u, m_rows, m_n, i - 1, i, c, s);
        }
        m_e[l] = 0.0;
        m_e[k] = f;
        m_q[k] = x;
    }

    // QR iterations on the bidiagonal matrix, from its last singular value to its first. An
    // entry counts as zero when it is not above machine precision times the matrix's norm.
    bool Diagonalise(double norm) {
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
                        for (int r = 0; r < m_n; ++r) {
                            V(r, k) = -V(r, k);
                        }
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
        return converged;
    }

    double* m_u;
    double* m_v;
    double* m_q;
    int m_rows;
    int m_n;
    int m_maxSweeps;
    std::vector<double> m_e;
};

} // namespace

SvdStatus SolveSvd(CFitMtrx& a, CFitVctr& w, CFitMtrx& v, int maxSweeps) {
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
        CSvdWork work(a[0], m, v[0], n, &w[0], maxSweeps);
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
        CSvdWork work(padded[0], n, v[0], n, &w[0], maxSweeps);
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
