// Fit of a panel between two tubes: the corner test, the parallel test and the panel frame.
#include "model/PanelFit.h"

#include <algorithm>
#include <cmath>

namespace {

// Distance of a point, given relative to a point on an axis, from that axis (unit direction).
double DistFromAxis(CVector3 relative, CVector3 axis) {
    const double along = CVector3::Dot(relative, axis);
    return (relative - along * axis).Length();
}

bool IsWithin(double distance, double size) {
    return std::fabs(distance - size) <= PanelFit::SizeTolerance;
}

// The first pair of ends (first tube's ends outer, second's inner) that meet at a right angle.
struct SCornerPair {
    int first = -1;
    int second = -1;
};

SCornerPair FindCorner(const CElmnt& t1, const CElmnt& t2) {
    const double cosAxes = CVector3::Dot(t1.placement.GetAxis(0), t2.placement.GetAxis(0));
    if (std::fabs(cosAxes) >= PanelFit::PerpendicularCos) {
        return {};
    }
    for (int i = 0; i < t1.GetEndCount(); ++i) {
        const CVector3 e = t1.GetEndFrame(i).translation;
        for (int j = 0; j < t2.GetEndCount(); ++j) {
            if (CVector3::DistSq(e, t2.GetEndFrame(j).translation) <= PanelFit::EndMeetDistSq) {
                return {i, j};
            }
        }
    }
    return {};
}

} // namespace

bool CanHoldPanel(const CElmnt* firstTube, const CElmnt* secondTube, Revision currentRevision,
                  float panelWidth, float panelHeight, bool parallelTest, bool cornerTest) {
    if (firstTube == nullptr || secondTube == nullptr || firstTube == secondTube ||
        !firstTube->IsAliveAt(currentRevision)) {
        return false;
    }
    const CElmnt& t1 = *firstTube;
    const CElmnt& t2 = *secondTube;
    if (cornerTest && FindCorner(t1, t2).first >= 0) {
        return true;
    }
    if (!parallelTest) {
        return false;
    }
    const CVector3 a1 = t1.placement.GetAxis(0);
    if (std::fabs(CVector3::Dot(a1, t2.placement.GetAxis(0))) < PanelFit::ParallelCos) {
        return false;
    }
    const CVector3 p1 = t1.placement.translation;
    const CVector3 d = t2.placement.translation - p1;
    const CVector3 g = t2.GetEndFrame(1).translation - p1;
    if (d.Length() <= PanelFit::MinPointDist || g.Length() <= PanelFit::MinPointDist) {
        return false;
    }
    for (double r : {DistFromAxis(d, a1), DistFromAxis(g, a1)}) {
        if (!IsWithin(r, panelHeight) && !IsWithin(r, panelWidth)) {
            return false;
        }
    }
    const double p = CVector3::Dot(d, a1);
    const double q = CVector3::Dot(g, a1);
    const double lo = std::max(std::min(p, q), 0.0);
    const double hi = std::min(std::max(p, q), t1.GetLength());
    return hi - lo >= PanelFit::MinOverlap;
}

CTransform GetPanelFrame(const CElmnt& firstTube, const CElmnt& secondTube, float panelHeight) {
    const CElmnt& t1 = firstTube;
    const CElmnt& t2 = secondTube;
    CVector3 origin;
    CVector3 u;
    CVector3 v;
    const SCornerPair corner = FindCorner(t1, t2);
    if (corner.first >= 0) {
        origin = t1.GetEndFrame(corner.first).translation;
        u = t1.GetEndFrame(1 - corner.first).translation - origin;
        v = t2.GetEndFrame(1 - corner.second).translation -
            t2.GetEndFrame(corner.second).translation;
    } else {
        const CVector3 e0 = t1.GetEndFrame(0).translation;
        const CVector3 e1 = t1.GetEndFrame(1).translation;
        const CVector3 f0 = t2.GetEndFrame(0).translation;
        origin = t1.placement.translation;
        const double gap = DistFromAxis(t2.placement.translation - origin, t1.placement.GetAxis(0));
        if (IsWithin(gap, panelHeight)) {
            u = e1 - e0;
            v = f0 - e0;
        } else {
            u = f0 - e0;
            v = e1 - e0;
            v.Normalise();
            u = u - CVector3::Dot(u, v) * v;
            u.Normalise();
        }
    }
    u.Normalise();
    v = v - CVector3::Dot(v, u) * u;
    v.Normalise();
    return CTransform(CMatrix3::FromColumns(u, v, CVector3::Cross(u, v)), origin);
}
