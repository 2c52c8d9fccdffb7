// The connected lattice of the position adjustment's benchmarks: unfixed couplings on a
// side x side x floors grid 400 mm apart, a few millimetres off their places, joined by unfixed
// 350 mm tubes, those of the floors and up to standingMax standing ones, every element alive
// in the first revision. The tubes stand where the couplings belong, so that the tubes, which
// follow the coupling at their end 0, come to meet theirs only as far as the loops allow.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "model/AdjustPositions.h"
#include "model/Coupling.h"
#include "model/CouplingIndex.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Matrix3.h"
#include "support/Resources.h"

namespace BenchLattice {

// 5, 4, 40: 100 couplings and 200 tubes.
inline std::unique_ptr<CZarnelDcmt> BuildFrame(int side = 5, int floors = 4, int standingMax = 40) {
    SetResourceModule(&ZarnelResources());
    // Local X along world +X, +Y and +Z.
    const CMatrix3 alongX;
    const CMatrix3 alongY = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    const CMatrix3 alongZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});
    auto dcmt = std::make_unique<CZarnelDcmt>();
    const Revision r = dcmt->NewRevision();
    auto put = [&](ElmntKind kind, CVector3 at, float length, const CMatrix3& rotation) -> CElmnt& {
        return dcmt->AddElement(std::make_unique<CElmnt>(
            dcmt->GetIdSource(), r, kind, 2, CTransform(rotation, at), false, length, 0.0f));
    };
    std::mt19937 random(5);
    std::uniform_real_distribution<double> error(-3.0, 3.0);
    auto at = [](int i, int j, int k) {
        return CVector3(5000.0 + 400.0 * i, 400.0 * k, 400.0 * j);
    };
    for (int k = 0; k < floors; ++k) {
        for (int i = 0; i < side; ++i) {
            for (int j = 0; j < side; ++j) {
                CElmnt& c = put(ElmntKind::Connector, at(i, j, k), 0.0f, alongX);
                c.Translate(error(random), error(random), error(random));
            }
        }
    }
    int standing = 0;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            for (int k = 0; k < floors; ++k) {
                if (i + 1 < side) {
                    put(ElmntKind::Tube, at(i, j, k), 350.0f, alongX);
                }
                if (j + 1 < side) {
                    put(ElmntKind::Tube, at(i, j, k), 350.0f, alongZ);
                }
                if (k + 1 < floors && standing < standingMax) {
                    put(ElmntKind::Tube, at(i, j, k), 350.0f, alongY);
                    ++standing;
                }
            }
        }
    }
    return dcmt;
}

// The largest distance (mm) from a tube end to the coupling nearest to it, alive now; infinite
// when an end has none within the snap radius.
inline double WorstGap(CZarnelDcmt& dcmt, double snapRadiusSq = CouplingSnap::NormalSq) {
    double worst = 0.0;
    const Revision r = dcmt.GetCurrentRevision();
    CCouplingIndexScope couplings(dcmt.GetElmntList(), r);
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.kind != ElmntKind::Tube) {
            continue;
        }
        for (int end = 0; end < 2; ++end) {
            const CTransform frame = elmnt.GetEndFrame(end);
            const CElmnt* coupling =
                CElmnt::FindNearestCoupling(r, dcmt.GetElmntList(), frame, snapRadiusSq);
            if (coupling == nullptr) {
                return INFINITY;
            }
            worst = std::max(
                worst, std::sqrt(CVector3::DistSq(frame.translation, coupling->GetConnPoint(0))));
        }
    }
    return worst;
}

// How far the loops through the element are from closing: the largest right-hand side (mm) of
// the adjustment's equations collected from it, each the gap left when nothing moves. Clears
// the adjust-pending flags of what it reaches.
inline double LoopResidual(CZarnelDcmt& dcmt, CElmnt& from,
                           double snapRadiusSq = CouplingSnap::NormalSq) {
    CFitSystem system;
    system.BuildFitEquations(from, dcmt.GetCurrentRevision(), dcmt.GetElmntList(), snapRadiusSq);
    double worst = 0.0;
    for (const SFitEqtn& eq : system.GetEqtns()) {
        worst = std::max(worst, std::fabs(eq.rhs));
    }
    return worst;
}

} // namespace BenchLattice
