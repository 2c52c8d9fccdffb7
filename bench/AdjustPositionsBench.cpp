// The position adjustment of a long box girder built as a user builds one: one bay of tubes
// (four along the girder, a square frame of four across it) placed at the fixed start coupling,
// copied, and pasted again and again, each copy moved on by a bay and linked. The couplings then
// stand up to 2 mm off their places along each axis, and "Automatischer Positionsausgleich"
// adjusts the whole girder: about 1,000 and 2,000 connected unfixed elements in one system of
// three independent blocks. Goal: under 1 s at 2,000. Each run checks that every tube end meets
// its coupling afterwards; the counters give the elements, the unknowns and the solver's time.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/BenchDesign.h"
#include "model/AdjustPositions.h"
#include "model/Clipboard.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"

namespace {

constexpr int32_t kCouplingMaterial = 1;
constexpr double kSnapSq = CouplingSnap::NormalSq;
constexpr double kBay = 400.0; // 350 mm tubes between coupling centres

// The girder of about `elements` elements, its couplings moved off their places in the last
// revision.
std::unique_ptr<CZarnelDcmt> BuildGirder(int elements) {
    // Recounting asks for the missing price and stock lists.
    static CSilentUi silent;
    InstallUserInterface(&silent);
    SetResourceModule(&ZarnelResources());
    auto dcmt = std::make_unique<CZarnelDcmt>();
    CElmntList& list = dcmt->GetElmntList();
    // One bay, from the start coupling at the origin: local X of each tube along its way.
    const CMatrix3 alongX;
    const CMatrix3 alongY = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    const CMatrix3 alongZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});
    const struct {
        CVector3 at;
        CMatrix3 rotation;
    } bay[] = {{{0, 0, 0}, alongX},       {{0, kBay, 0}, alongX},   {{0, 0, kBay}, alongX},
               {{0, kBay, kBay}, alongX}, {{kBay, 0, 0}, alongY},   {{kBay, 0, kBay}, alongY},
               {{kBay, 0, 0}, alongZ},    {{kBay, kBay, 0}, alongZ}};
    const Revision first = dcmt->NewRevision();
    for (const auto& tube : bay) {
        CElmnt& added = dcmt->AddElement(
            std::make_unique<CElmnt>(dcmt->GetIdSource(), first, ElmntKind::Tube, 2,
                                     CTransform(tube.rotation, tube.at), false, 350.0f, 0.0f));
        added.LinkEnds(first, list, kCouplingMaterial, kSnapSq);
        added.Select();
    }
    const std::string text = CopySelectionText(*dcmt).value_or("");
    dcmt->ClearSelection(kCouplingMaterial, kSnapSq);
    // Eight tubes and four couplings a bay.
    for (int copy = 1; copy < elements / 12; ++copy) {
        PasteText(*dcmt, text);
        dcmt->MoveSelection(kBay * copy, 0.0, 0.0, kCouplingMaterial, kSnapSq, false, false);
        dcmt->ClearSelection(kCouplingMaterial, kSnapSq);
    }

    // Each tube is placed at the coupling at its end 0 and moves with it.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> error(-2.0, 2.0);
    std::map<CElmnt*, CVector3> offsets;
    std::map<CElmnt*, CElmnt*> tubeCouplings;
    const Revision r = dcmt->NewRevision();
    for (CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Connector && !elmnt.fixed) {
            offsets[&elmnt] = {error(random), error(random), error(random)};
        } else if (elmnt.kind == ElmntKind::Tube) {
            tubeCouplings[&elmnt] =
                CElmnt::FindNearestCoupling(r, list, elmnt.GetEndFrame(0), kSnapSq);
        }
    }
    for (auto& [tube, coupling] : tubeCouplings) {
        offsets[tube] = offsets[coupling];
    }
    for (auto& [elmnt, offset] : offsets) {
        elmnt->BeginChange(r, list, kCouplingMaterial);
        elmnt->Translate(offset.x, offset.y, offset.z);
    }
    return dcmt;
}

// The largest distance (mm) from a tube end to the coupling nearest to it.
double WorstGap(CZarnelDcmt& dcmt) {
    double worst = 0.0;
    const Revision r = dcmt.GetCurrentRevision();
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.kind != ElmntKind::Tube) {
            continue;
        }
        for (int end = 0; end < 2; ++end) {
            const CTransform frame = elmnt.GetEndFrame(end);
            const CElmnt* coupling =
                CElmnt::FindNearestCoupling(r, dcmt.GetElmntList(), frame, kSnapSq);
            if (coupling == nullptr) {
                return INFINITY;
            }
            worst = std::max(
                worst, std::sqrt(CVector3::DistSq(frame.translation, coupling->GetConnPoint(0))));
        }
    }
    return worst;
}

void BM_AdjustLongGirder(benchmark::State& state) {
    const std::unique_ptr<CZarnelDcmt> dcmt = BuildGirder(static_cast<int>(state.range(0)));
    int unfixed = 0;
    CElmnt* from = nullptr;
    for (CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (!elmnt.fixed && elmnt.kind == ElmntKind::Tube) {
            from = from != nullptr ? from : &elmnt;
        }
        unfixed += elmnt.fixed || elmnt.kind == ElmntKind::FloorGrid ? 0 : 1;
    }
    CFitSystem system;
    if (from == nullptr) {
        state.SkipWithError("no girder was built");
        return;
    }
    system.BuildFitEquations(*from, dcmt->GetCurrentRevision(), dcmt->GetElmntList(), kSnapSq);
    const double before = WorstGap(*dcmt);
    double after = 0.0;
    for (auto _ : state) {
        if (!dcmt->AdjustAll(kCouplingMaterial, kSnapSq)) {
            state.SkipWithError("the adjustment changed nothing");
            break;
        }
        state.PauseTiming();
        after = WorstGap(*dcmt);
        dcmt->OnEditUndo(kCouplingMaterial, kSnapSq);
        state.ResumeTiming();
    }
    if (!(before > 1.0 && after < 1e-3)) {
        state.SkipWithError("the tubes do not meet their couplings after the adjustment");
    }
    state.counters["elements"] = unfixed;
    state.counters["unknowns"] = static_cast<double>(system.GetVars().size());
    state.counters["gap_before_mm"] = before;
    // The solver's share of the time.
    CFitVctr x;
    const auto start = std::chrono::steady_clock::now();
    system.Solve(x);
    state.counters["solve_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
BENCHMARK(BM_AdjustLongGirder)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
