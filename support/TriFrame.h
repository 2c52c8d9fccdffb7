// Triangle frame for the collision and head-trap tests: the matrix whose columns are a
// triangle's two edges from its first corner p0 and its unit normal. Once inverted, it turns a
// point (minus p0) into coordinates (a, b, c) with point = p0 + a * e1 + b * e2 + c * normal:
// c is the signed distance from the triangle's plane, and the point lies over the triangle when
// a >= 0, b >= 0 and a + b <= 1. The caller keeps p0.
#pragma once

#include "support/Matrix3.h"
#include "support/Vector3.h"

class CTriFrame {
public:
    // Columns e1 = p1 - p0, e2 = p2 - p0 and the unit normal e1 x e2 / |e1 x e2|; the normal
    // column is zero for a triangle whose normal is shorter than 1e-6 * |e1| * |e2| (corners
    // on one line or coinciding).
    CTriFrame(CVector3 p0, CVector3 p1, CVector3 p2);

    // Replaces the matrix by its inverse and the edge-length product by its reciprocal. False,
    // and nothing changed, when the determinant is not larger than 1e-6 times the product
    // (always so for a degenerate triangle).
    bool Invert();

    // The frame matrix, or its inverse after Invert; apply it with CMatrix3::MulVec.
    const CMatrix3& GetMatrix() const { return m_matrix; }
    // |e1| * |e2|, or its reciprocal after Invert.
    double GetProduct() const { return m_product; }

private:
    CMatrix3 m_matrix;
    double m_product = 0.0;
};

// Twice the signed area of the triangle p1 p2 p3 projected onto the x-y plane: positive when
// the corners turn anticlockwise, negative when clockwise, 0 when they lie on one line.
double Orient2D(CVector3 p1, CVector3 p2, CVector3 p3);
