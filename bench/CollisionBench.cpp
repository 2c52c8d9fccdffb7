// The collision test on a design of about 2,000 elements: the sample play tower replicated side
// by side, drawn into the check feedback buffer of a headless GL context, then sorted, swept and
// tested. The buffer keeps its grown size between runs, as the view keeps it. Goal: under 1 s a
// test (the user waits for it under the wait cursor).
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "app/checks/CollisionTest.h"
#include "bench/BenchDesign.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr int TargetElements = 2000;

void BM_CollisionTest(benchmark::State& state) {
    InstallBenchEnvironment();
    std::string error;
    if (!MakeGlContextCurrent(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::unique_ptr<CZarnelDcmt> dcmt = LoadReplicatedTower(TargetElements, error);
    if (!dcmt) {
        state.SkipWithError(error.c_str());
        return;
    }
    int bufferSize = CheckFeedbackStartSize;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto result = RunCollisionTest(*dcmt, 2, CouplingSnap::NormalSq, bufferSize);
        if (!result) {
            state.SkipWithError("the feedback buffer could not grow far enough");
            return;
        }
        found = result->size();
    }
    std::size_t alive = 0;
    for ([[maybe_unused]] const CElmnt& elmnt : dcmt->GetAliveElements()) {
        ++alive;
    }
    state.counters["elements"] = static_cast<double>(alive);
    state.counters["colliding"] = static_cast<double>(found);
    state.counters["bufferFloats"] = bufferSize;
}
BENCHMARK(BM_CollisionTest)->Unit(benchmark::kMillisecond);

} // namespace
