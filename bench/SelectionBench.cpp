// Groups and the position adjustment at the sizes the program must handle. Goals: counting the
// connected groups of a design of 10,000 elements with a history of 1,000 revisions, and marking
// one group there, each under 10 ms; adjusting a connected group of 200 tubes and 100 couplings
// under 1 s.
#include <memory>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/BenchLattice.h"

#include "model/AdjustPositions.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Matrix3.h"
#include "support/Resources.h"

namespace {

constexpr int32_t kCouplingMaterial = 1;

// Local X along world +X and +Z.
const CMatrix3 AlongX;
const CMatrix3 AlongZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});

CElmnt& Put(CZarnelDcmt& dcmt, Revision r, ElmntKind kind, CVector3 at, bool fixed,
            float length = 0.0f, CMatrix3 rotation = {}) {
    return dcmt.AddElement(std::make_unique<CElmnt>(dcmt.GetIdSource(), r, kind, 2,
                                                    CTransform(rotation, at), fixed, length, 0.0f));
}

// A square grid of side x side couplings 400 mm apart in the floor plane with a 350 mm tube
// between every two neighbours (about 10,000 elements for side 58), then 1,000 revisions each
// changing 10 tubes, which leaves their old states in the history.
std::unique_ptr<CZarnelDcmt> BuildGrid(int side) {
    SetResourceModule(&ZarnelResources()); // the default materials' names
    auto dcmt = std::make_unique<CZarnelDcmt>();
    const Revision first = dcmt->NewRevision();
    std::vector<CElmnt*> tubes;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const CVector3 at(5000.0 + 400.0 * i, 0.0, 400.0 * j);
            Put(*dcmt, first, ElmntKind::Connector, at, true);
            if (i + 1 < side) {
                tubes.push_back(&Put(*dcmt, first, ElmntKind::Tube, at, true, 350.0f, AlongX));
            }
            if (j + 1 < side) {
                tubes.push_back(&Put(*dcmt, first, ElmntKind::Tube, at, true, 350.0f, AlongZ));
            }
        }
    }
    std::mt19937 random(3);
    std::uniform_int_distribution<std::size_t> pick(0, tubes.size() - 1);
    for (int rev = 0; rev < 1000; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < 10; ++i) {
            tubes[pick(random)]->BeginChange(r, dcmt->GetElmntList(), kCouplingMaterial);
        }
    }
    return dcmt;
}

CZarnelDcmt& Grid() {
    static const std::unique_ptr<CZarnelDcmt> dcmt = BuildGrid(58);
    return *dcmt;
}

void BM_CountGroups(benchmark::State& state) {
    CZarnelDcmt& dcmt = Grid();
    int groups = 0;
    for (auto _ : state) {
        groups = dcmt.CountGroups();
        benchmark::DoNotOptimize(groups);
    }
    int alive = 0;
    for (const CElmnt& e : dcmt.GetAliveElements()) {
        alive += e.kind != ElmntKind::FloorGrid ? 1 : 0;
    }
    state.counters["elements"] = alive;
    state.counters["states"] = double(dcmt.GetElmntList().Size());
    state.counters["groups"] = groups;
}
BENCHMARK(BM_CountGroups)->Unit(benchmark::kMillisecond);

void BM_MarkGroup(benchmark::State& state) {
    CZarnelDcmt& dcmt = Grid();
    CElmnt& start = *dcmt.GetElmntList().GetAt(2);
    int32_t n = 1;
    for (auto _ : state) {
        start.MarkGroup(dcmt.GetCurrentRevision(), dcmt.GetElmntList(), ++n);
    }
}
BENCHMARK(BM_MarkGroup)->Unit(benchmark::kMillisecond);

using BenchLattice::BuildFrame;

void BM_AdjustConnectedGroup(benchmark::State& state) {
    std::unique_ptr<CZarnelDcmt> dcmt = BuildFrame();
    CElmntList& list = dcmt->GetElmntList();
    CElmnt& start = *list.GetAt(2); // the first coupling of the lattice
    CFitSystem system;
    system.BuildFitEquations(start, dcmt->GetCurrentRevision(), list, CouplingSnap::NormalSq);
    for (auto _ : state) {
        // The design meets after the first run; the system is as large every time.
        bool wrote = start.AdjustPositions(dcmt->GetCurrentRevision(), list, kCouplingMaterial,
                                           CouplingSnap::NormalSq);
        benchmark::DoNotOptimize(wrote);
    }
    state.counters["unknowns"] = double(system.GetVars().size());
    state.counters["equations"] = double(system.GetEqtns().size());
}
BENCHMARK(BM_AdjustConnectedGroup)->Unit(benchmark::kMillisecond);

// The adjustment after a placing on a connected design of about 1,000 unfixed elements (an
// 8 x 8 x 5 lattice: 320 couplings, 560 tubes in the floors, 120 standing), every element
// adjust-pending. Goal: under 1 s.
void BM_AdjustPendingOnAThousand(benchmark::State& state) {
    std::unique_ptr<CZarnelDcmt> dcmt = BuildFrame(8, 5, 120);
    std::size_t elements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        elements = 0;
        for (CElmnt& elmnt : dcmt->GetElmntList()) {
            elmnt.adjustPending = elmnt.IsAliveAt(dcmt->GetCurrentRevision());
            ++elements;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(dcmt->AdjustPending(kCouplingMaterial, CouplingSnap::NormalSq));
    }
    state.counters["elements"] = double(elements);
}
BENCHMARK(BM_AdjustPendingOnAThousand)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
