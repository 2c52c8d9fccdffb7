// The position adjustment as "Automatischer Positionsausgleich" runs it (collecting, solving,
// writing back, the revision and the recount) on two kinds of design. A long box girder built as
// a user builds one: one bay of tubes (four along the girder, a square frame of four across it)
// placed at the fixed start coupling, copied, and pasted again and again, each copy moved on by
// a bay and linked, its couplings then up to 2 mm off their places along each axis: about 1,000
// to 20,000 connected unfixed elements in one system of three independent blocks. And the
// connected lattice of floors and standing tubes (BenchLattice.h), closed into many loops: about
// 2,000, 5,000 and 10,000 elements. Goals: the girder at 10,000 under 1 s and at 20,000 under
// 2 s; the lattice at 2,000 under 300 ms, 5,000 under 1 s and 10,000 under 2.5 s. Each run
// checks on the girder that every tube end meets its coupling afterwards, on the lattice that
// the couplings moved and the loops closed; the counters give the elements, the unknowns and the
// times of collecting and solving.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/BenchDesign.h"
#include "bench/BenchLattice.h"
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
    const double before = BenchLattice::WorstGap(*dcmt);
    double after = 0.0;
    for (auto _ : state) {
        if (!dcmt->AdjustAll(kCouplingMaterial, kSnapSq)) {
            state.SkipWithError("the adjustment changed nothing");
            break;
        }
        state.PauseTiming();
        after = BenchLattice::WorstGap(*dcmt);
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
BENCHMARK(BM_AdjustLongGirder)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The lattice of about `elements` connected unfixed elements (BenchLattice), its loops closed
// only to a few millimetres.
std::unique_ptr<CZarnelDcmt> BuildLattice(int elements) {
    static CSilentUi silent;
    InstallUserInterface(&silent);
    // Side, floors and standing tubes: 1,002, 2,002, 5,002 and 10,002 elements with the start
    // coupling and the floor grid.
    if (elements <= 1000) {
        return BenchLattice::BuildFrame(8, 5, 120);
    }
    if (elements <= 2000) {
        return BenchLattice::BuildFrame(10, 6, 320);
    }
    if (elements <= 5000) {
        return BenchLattice::BuildFrame(14, 8, 520);
    }
    return BenchLattice::BuildFrame(14, 16, 1040);
}

// "Automatischer Positionsausgleich" switched on over the lattice: the whole adjustment as the
// program runs it (collecting, solving, writing back, the revision, the recount). Each run is
// undone outside the measured time and checks that most couplings moved and that the loops
// closed: every equation of the system, collected anew, then holds with nothing moving.
void BM_AdjustLattice(benchmark::State& state) {
    const std::unique_ptr<CZarnelDcmt> dcmt = BuildLattice(static_cast<int>(state.range(0)));
    // Where the couplings stand before.
    std::set<std::array<double, 3>> places;
    int elements = 0;
    for (const CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Connector && !elmnt.fixed) {
            const CVector3& p = elmnt.placement.translation;
            places.insert({p.x, p.y, p.z});
        }
        ++elements;
    }
    // The loops through the first unfixed coupling alive: the whole lattice.
    auto residual = [&dcmt]() -> double {
        for (CElmnt& elmnt : dcmt->GetAliveElements()) {
            if (elmnt.kind == ElmntKind::Connector && !elmnt.fixed) {
                return BenchLattice::LoopResidual(*dcmt, elmnt);
            }
        }
        return INFINITY;
    };
    const double before = residual();
    double after = INFINITY;
    int moved = 0;
    for (auto _ : state) {
        if (!dcmt->AdjustAll(kCouplingMaterial, kSnapSq)) {
            state.SkipWithError("the adjustment changed nothing");
            return;
        }
        state.PauseTiming();
        after = residual();
        moved = 0;
        for (const CElmnt& elmnt : dcmt->GetAliveElements()) {
            const CVector3& p = elmnt.placement.translation;
            moved += elmnt.kind == ElmntKind::Connector && !elmnt.fixed &&
                     !places.contains({p.x, p.y, p.z});
        }
        dcmt->OnEditUndo(kCouplingMaterial, kSnapSq);
        state.ResumeTiming();
    }
    if (!(before > 1.0 && after < 1e-3 && moved > static_cast<int>(places.size()) / 2)) {
        state.SkipWithError("the loops of the lattice do not close after the adjustment");
    }
    state.counters["elements"] = elements;
    state.counters["couplings_moved"] = moved;
    state.counters["residual_before_mm"] = before;
    state.counters["residual_after_mm"] = after;
    // The shares of collecting and of solving.
    for (CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Connector && !elmnt.fixed) {
            CFitSystem system;
            auto start = std::chrono::steady_clock::now();
            system.BuildFitEquations(elmnt, dcmt->GetCurrentRevision(), dcmt->GetElmntList(),
                                     kSnapSq);
            state.counters["collect_ms"] =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            state.counters["unknowns"] = static_cast<double>(system.GetVars().size());
            CFitVctr x;
            start = std::chrono::steady_clock::now();
            system.Solve(x);
            state.counters["solve_ms"] =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
    }
}
BENCHMARK(BM_AdjustLattice)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
