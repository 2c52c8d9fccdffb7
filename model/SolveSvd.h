// Least-squares solution of a dense linear system A x = b of minimal norm, through the singular
// value decomposition A = U diag(w) V^T (Golub and Reinsch: Householder reduction to bidiagonal
// form, then implicitly shifted QR iterations on the bidiagonal matrix).
#pragma once

#include "model/FitMtrx.h"

enum class SvdStatus {
    // Every singular value converged and every result is finite.
    Converged,
    // At least one singular value was still moving after 30 QR iterations; the decomposition went
    // on with the next one and the results stand as they were left. Every result is finite.
    NotConverged,
    // The matrix held a NaN or an infinity, or a result is not finite.
    NonFinite,
};

// Decomposes the m x n matrix a in place, for any m and n (also m < n and m = 0): on return a
// holds U (m x n), w the n singular values and v the n x n matrix V, so that
// a = U diag(w) V^T. Earlier contents of w and v are replaced.
//
// The singular values are not sorted: w[j] belongs to column j of U and of V. A converged
// singular value is never negative (the sign goes into its column of V). The columns of V are
// orthonormal, and so are the columns of U whose singular value is not 0; when m < n, U is the
// first m rows of the decomposition of a padded with zero rows.
//
// Entries up to about 1e150 in magnitude are safe; beyond that the shifts of the QR iterations
// may overflow, which shows as NonFinite. When a holds a NaN or an infinity nothing is computed: a
// is left as it was, w and v get their sizes filled with NaN, and the result is NonFinite.
//
// maxSweeps bounds the QR iterations per singular value; the program always uses the default.
constexpr int kSvdMaxSweeps = 30;
SvdStatus SolveSvd(CFitMtrx& a, CFitVctr& w, CFitMtrx& v, int maxSweeps = kSvdMaxSweeps);

// The decomposition of SolveSvd without forming U, for a least-squares solution alone (about
// half the work): w and v as from SolveSvd, ub (n entries) U^T b for b of m entries, a's
// contents used up. NonFinite also when b does not have m entries or holds a NaN or an infinity.
SvdStatus SolveSvdProjected(CFitMtrx& a, const CFitVctr& b, CFitVctr& w, CFitMtrx& v,
                            CFitVctr& ub, int maxSweeps = kSvdMaxSweeps);

// x (n entries, replacing its earlier contents) = V diag(1/w) U^T b for the decomposition u, w, v
// of an m x n matrix and b of m entries, where a singular value exactly 0 contributes 0 instead
// of its reciprocal. Callers set small singular values to 0 first to cut them off; the result is
// then the least-squares solution of minimal norm.
//
// Returns false, x still computed, when an input or an entry of x is a NaN or an infinity, and
// false with x empty when the sizes do not fit together (u m x n, w n, v n x n, b m).
bool SvdBackSubst(const CFitMtrx& u, const CFitVctr& w, const CFitMtrx& v, const CFitVctr& b,
                  CFitVctr& x);
