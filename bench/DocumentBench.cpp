// The history scan of a design document: a design of 10,000 elements with a history of 1,000
// revisions (the last 900 each changing 10 elements, so about 19,000 states). Goals: listing
// the states alive at the current revision, and one undo followed by one redo (each recounting
// the parts table), each under 1 ms.
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"

namespace {

constexpr int kElements = 10000;
constexpr int kRevisions = 1000;
constexpr int kPlacingRevisions = 100;
constexpr int kChangesPerRevision = 10;

std::unique_ptr<CZarnelDcmt> BuildDesign() {
    SetResourceModule(&ZarnelResources()); // the default materials' names
    auto dcmt = std::make_unique<CZarnelDcmt>();
    std::mt19937 random(11);
    std::vector<CElmnt*> tubes;
    tubes.reserve(kElements);
    for (int rev = 0; rev < kPlacingRevisions; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < kElements / kPlacingRevisions; ++i) {
            auto tube =
                std::make_unique<CElmnt>(dcmt->GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f);
            tube->Translate(400.0 * i, 0.0, 400.0 * rev);
            tubes.push_back(&dcmt->AddElement(std::move(tube)));
        }
    }
    std::uniform_int_distribution<std::size_t> pick(0, tubes.size() - 1);
    for (int rev = kPlacingRevisions; rev < kRevisions; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < kChangesPerRevision; ++i) {
            CElmnt& tube = *tubes[pick(random)];
            tube.BeginChange(r, dcmt->GetElmntList(), 1);
            tube.Translate(0.0, 400.0, 0.0);
        }
    }
    return dcmt;
}

CZarnelDcmt& Design() {
    static const std::unique_ptr<CZarnelDcmt> dcmt = BuildDesign();
    return *dcmt;
}

void BM_ListAliveStates(benchmark::State& state) {
    const CZarnelDcmt& dcmt = Design();
    std::vector<const CElmnt*> alive;
    alive.reserve(dcmt.GetElmntList().Size());
    for (auto _ : state) {
        alive.clear();
        for (const CElmnt& e : dcmt.GetAliveElements()) {
            alive.push_back(&e);
        }
        benchmark::DoNotOptimize(alive.data());
    }
    state.counters["alive"] = static_cast<double>(alive.size());
    state.counters["states"] = static_cast<double>(dcmt.GetElmntList().Size());
}
BENCHMARK(BM_ListAliveStates)->Unit(benchmark::kMicrosecond);

void BM_UndoAndRedoOneStep(benchmark::State& state) {
    CZarnelDcmt& dcmt = Design();
    for (auto _ : state) {
        dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
        dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    }
    if (dcmt.GetCurrentRevision() != kRevisions) {
        state.SkipWithError("undo and redo did not come back to the newest revision");
    }
}
BENCHMARK(BM_UndoAndRedoOneStep)->Unit(benchmark::kMicrosecond);

// A revision that changes nothing, opened after an undo: the redo branch is taken out and put
// back whole.
void BM_RevisionThatChangesNothing(benchmark::State& state) {
    CZarnelDcmt& dcmt = Design();
    dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    for (auto _ : state) {
        CRevisionScope scope(dcmt);
        benchmark::DoNotOptimize(scope.Close());
    }
    dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
}
BENCHMARK(BM_RevisionThatChangesNothing)->Unit(benchmark::kMicrosecond);

void BM_FindElementByIdentity(benchmark::State& state) {
    const CZarnelDcmt& dcmt = Design();
    std::vector<ElmntId> ids;
    for (const CElmnt& e : dcmt.GetElmntList()) {
        ids.push_back(e.GetId());
    }
    std::mt19937 random(3);
    std::shuffle(ids.begin(), ids.end(), random);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dcmt.FindElement(ids[next]));
        next = next + 1 < ids.size() ? next + 1 : 0;
    }
}
BENCHMARK(BM_FindElementByIdentity);

} // namespace
