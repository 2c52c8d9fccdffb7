// Triangle frame, its inverse, and the planar orientation test.
#include "support/TriFrame.h"

#include <cmath>

namespace {

// Relative limit, against the product of the edge lengths, below which a triangle counts as
// degenerate.
constexpr double DegenerateLimit = 1e-6;

} // namespace

CTriFrame::CTriFrame(CVector3 p0, CVector3 p1, CVector3 p2) {
    CVector3 e1 = p1 - p0;
    CVector3 e2 = p2 - p0;
    CVector3 n = CVector3::Cross(e1, e2);
    double e1Sq = CVector3::Dot(e1, e1);
    double e2Sq = CVector3::Dot(e2, e2);
    m_product = std::sqrt(e2Sq * e1Sq);
    double length = n.Length();
    CVector3 normal;
    if (length > DegenerateLimit * m_product) {
        normal = CVector3(n.x / length, n.y / length, n.z / length);
    }
    m_matrix = CMatrix3::FromColumns(e1, e2, normal);
}

bool CTriFrame::Invert() {
    const auto& m = m_matrix.m;
    // Rule of Sarrus.
    double det = m[0][0] * m[1][1] * m[2][2] + m[0][1] * m[1][2] * m[2][0] +
                 m[1][0] * m[2][1] * m[0][2] - m[2][1] * m[1][2] * m[0][0] -
                 m[0][1] * m[1][0] * m[2][2] - m[1][1] * m[2][0] * m[0][2];
    // Written so that a NaN determinant also fails.
    if (!(std::fabs(det) > DegenerateLimit * m_product)) {
        return false;
    }
    CMatrix3 inverse;
    inverse.m[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    inverse.m[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    inverse.m[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    inverse.m[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    inverse.m[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    inverse.m[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    inverse.m[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    inverse.m[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    inverse.m[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    m_matrix = inverse;
    m_product = 1.0 / m_product;
    return true;
}

double Orient2D(CVector3 p1, CVector3 p2, CVector3 p3) {
    return (p2.x - p1.x) * (p3.y - p1.y) - (p3.x - p1.x) * (p2.y - p1.y);
}
