// Axis-aligned box in doubles (millimetres): selection in a box and the extent of a group of
// couplings. The bounds are kept in the order max y, min y, max x, min x, max z, min z, the
// order in which the 3D view's selection box names its sides (top, bottom, right, left, front,
// back). A new box has all six bounds 0.
#pragma once

#include "support/Vector3.h"

class CBox3 {
public:
    double maxY = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double minX = 0.0;
    double maxZ = 0.0;
    double minZ = 0.0;

    constexpr CBox3() = default;
    constexpr CBox3(double maxYValue, double minYValue, double maxXValue, double minXValue,
                    double maxZValue, double minZValue)
        : maxY(maxYValue), minY(minYValue), maxX(maxXValue), minX(minXValue), maxZ(maxZValue),
          minZ(minZValue) {}

    // Makes the box empty: every maximum the most negative double, every minimum the largest,
    // so that it contains no point and the first point extended into it sets all bounds.
    void Reset();
    // Grows the box on each axis independently so that it holds the point.
    void Extend(CVector3 point);
    // True when the point lies inside or on a face (bounds included).
    bool Contains(CVector3 point) const;

    friend bool operator==(const CBox3& a, const CBox3& b) = default;
};
