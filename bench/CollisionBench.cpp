// The collision test on a design of about 2,000 elements: the sample play tower replicated side
// by side, drawn into the check feedback buffer of a headless GL context, then sorted, swept and
// tested. The buffer keeps its grown size between runs, as the view keeps it. A few tubes have a
// twin 20 mm beside them; each run checks that the test finds every twin and its tube, and
// nothing far from them. Goal: under 1 s a test (the user waits for it under the wait cursor).
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

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
    // Every 150th tube gets a twin beside it, in a revision of its own.
    const Revision r = dcmt->NewRevision();
    std::vector<const CElmnt*> tubes;
    for (const CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Tube) {
            tubes.push_back(&elmnt);
        }
    }
    std::vector<ElmntId> planted;
    std::vector<CVector3> places;
    for (std::size_t i = 0; i < tubes.size(); i += 150) {
        const CElmnt& tube = *tubes[i];
        CTransform beside = tube.placement;
        beside.translation = beside.translation + 20.0 * beside.rotation.GetColumn(1);
        const CElmnt& twin = dcmt->AddElement(
            std::make_unique<CElmnt>(dcmt->GetIdSource(), r, ElmntKind::Tube, tube.GetMaterial(),
                                     beside, false, tube.length, 0.0f));
        planted.push_back(tube.GetId());
        planted.push_back(twin.GetId());
        places.push_back(tube.placement.translation);
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
        state.PauseTiming();
        const bool everyTwin = std::all_of(planted.begin(), planted.end(), [&](ElmntId id) {
            return std::find(result->begin(), result->end(), id) != result->end();
        });
        // Anything else found touches a twin: it stands within a tube's length of one.
        const bool nearTwins = std::all_of(result->begin(), result->end(), [&](ElmntId id) {
            const CElmnt* elmnt = dcmt->FindElement(id);
            return elmnt != nullptr &&
                   std::any_of(places.begin(), places.end(), [&](const CVector3& p) {
                       return CVector3::DistSq(p, elmnt->placement.translation) < 1000.0 * 1000.0;
                   });
        });
        if (planted.empty() || !everyTwin || !nearTwins) {
            state.SkipWithError("the test did not find the twins, or found more");
            return;
        }
        state.ResumeTiming();
    }
    state.counters["planted"] = static_cast<double>(planted.size());
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
