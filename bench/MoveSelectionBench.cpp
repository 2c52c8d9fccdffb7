// One step of the "Selektieren und Verschieben" bar in the model: a box selection of about
// 1,000 elements of the sample play tower's field (copies of the tower side by side, about 1,000,
// 10,000 and 50,000 elements) moved by 5 cm with adapting couplings, so that every moved tube and
// panel leaves its couplings and finds or makes couplings at its new place. Each step is undone
// untimed, so that every step meets the same design. Goals on 4 cores: under 50 ms at 10,000
// elements and under 250 ms at 50,000. Deleting and turning the selection at 10,000 likewise.
#include <cmath>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/BenchDesign.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "support/Box3.h"

namespace {

constexpr int32_t kCouplingMaterial = 1;
constexpr double kStep = 50.0; // mm, the bar's smallest step
constexpr int kSelected = 1000;

// The field with about target elements, and about 1,000 of them selected: the box around as
// many towers of the first row as make up that many elements.
struct SField {
    std::unique_ptr<CZarnelDcmt> dcmt;
    int elements = 0;
    int selected = 0;
    CBox3 box;
};

void Reselect(SField& field) {
    field.dcmt->SelectInBox(field.box, SelectionMode::Select, kCouplingMaterial,
                            CouplingSnap::NormalSq);
}

std::unique_ptr<SField> BuildField(int target, std::string& error) {
    InstallBenchEnvironment();
    CZarnelDcmt tower;
    if (!tower.LoadFile(ZARNEL_DATA_DIR "/play-tower.zdf")) {
        error = "play-tower.zdf could not be read";
        return nullptr;
    }
    CBox3 extent;
    extent.Reset();
    int towerElements = 0;
    for (const CElmnt& elmnt : tower.GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid) {
            extent.Extend(elmnt.placement.translation);
            ++towerElements;
        }
    }
    auto field = std::make_unique<SField>();
    field->dcmt = LoadReplicatedTower(target, error, 0);
    if (!field->dcmt) {
        return nullptr;
    }
    // The copies stand extent + 3 m apart in a square field, row by row; the box reaches 1 m
    // around the first towers.
    const int towers = std::max(1, kSelected / towerElements);
    const int perRow = std::max(1, static_cast<int>(std::ceil(std::sqrt(target / towerElements))));
    const int columns = std::min(towers, perRow);
    const int rows = (towers + perRow - 1) / perRow;
    const double stepX = extent.maxX - extent.minX + 3000.0;
    const double stepZ = extent.maxZ - extent.minZ + 3000.0;
    field->box =
        CBox3(1e6, -1e6, extent.maxX + stepX * (columns - 1) + 1000.0, extent.minX - 1000.0,
              extent.maxZ + stepZ * (rows - 1) + 1000.0, extent.minZ - 1000.0);
    CZarnelDcmt& dcmt = *field->dcmt;
    Reselect(*field);
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        field->elements += elmnt.kind != ElmntKind::FloorGrid ? 1 : 0;
        field->selected += elmnt.selected ? 1 : 0;
    }
    return field;
}

// The field of the benchmark's size; nullptr, and the benchmark skipped, when it cannot be built.
SField* GetField(benchmark::State& state) {
    static std::unique_ptr<SField> fields[3];
    const int target = static_cast<int>(state.range(0));
    const int slot = target > 20000 ? 2 : target > 5000 ? 1 : 0;
    std::string error;
    if (!fields[slot]) {
        fields[slot] = BuildField(target, error);
    }
    if (!fields[slot]) {
        state.SkipWithError(error.c_str());
    }
    return fields[slot].get();
}

// Undoing a step brings back the states from before it, which are not selected.
void UndoStep(SField& field) {
    field.dcmt->OnEditUndo(kCouplingMaterial, CouplingSnap::NormalSq);
    Reselect(field);
}

void BM_MoveSelectionAdapting(benchmark::State& state) {
    SField* field = GetField(state);
    if (field == nullptr) {
        return;
    }
    CZarnelDcmt& dcmt = *field->dcmt;
    int moved = 0;
    int linked = 0;
    for (auto _ : state) {
        if (!dcmt.MoveSelection(kStep, 0.0, 0.0, kCouplingMaterial, CouplingSnap::NormalSq, true,
                                false)) {
            state.SkipWithError("the move changed nothing");
            return;
        }
        state.PauseTiming();
        // What the step did: selected parts that begin at the step's revision (moved), and
        // couplings that begin there and hold an arm (found or made at the new places).
        const Revision r = dcmt.GetCurrentRevision();
        moved = 0;
        linked = 0;
        for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
            if (elmnt.firstRevision != r) {
                continue;
            }
            moved += elmnt.selected && elmnt.kind != ElmntKind::Connector ? 1 : 0;
            linked += elmnt.kind == ElmntKind::Connector && elmnt.GetOccupiedArms() != 0 ? 1 : 0;
        }
        UndoStep(*field);
        state.ResumeTiming();
    }
    if (moved == 0 || linked == 0) {
        state.SkipWithError("the step moved nothing or linked no coupling");
    }
    state.counters["elements"] = field->elements;
    state.counters["states"] = double(dcmt.GetElmntList().Size());
    state.counters["selected"] = field->selected;
    state.counters["moved"] = moved;
    state.counters["linked"] = linked;
}
BENCHMARK(BM_MoveSelectionAdapting)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Deleting and turning the same selection use the same lookups: every deleted part frees its
// arms, and the turned parts are unlinked and linked again where they turn about a tube end.
// Checked by the states that end (deleted parts, couplings left empty) or begin in the step.
template <class Step> void RunSelectionStep(benchmark::State& state, Step step) {
    SField* field = GetField(state);
    if (field == nullptr) {
        return;
    }
    CZarnelDcmt& dcmt = *field->dcmt;
    int changed = 0;
    for (auto _ : state) {
        if (!step(dcmt)) {
            state.SkipWithError("the step changed nothing");
            return;
        }
        state.PauseTiming();
        const Revision r = dcmt.GetCurrentRevision();
        changed = 0;
        for (const CElmnt& elmnt : dcmt.GetElmntList()) {
            changed += elmnt.endRevision == r || elmnt.firstRevision == r ? 1 : 0;
        }
        UndoStep(*field);
        state.ResumeTiming();
    }
    state.counters["selected"] = field->selected;
    state.counters["changed"] = changed;
}

void BM_DeleteSelection(benchmark::State& state) {
    RunSelectionStep(state,
                     [](CZarnelDcmt& dcmt) { return dcmt.DeleteSelection(kCouplingMaterial); });
}
BENCHMARK(BM_DeleteSelection)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TurnSelection(benchmark::State& state) {
    RunSelectionStep(state, [](CZarnelDcmt& dcmt) {
        return dcmt.TurnSelection(kCouplingMaterial, CouplingSnap::NormalSq);
    });
}
BENCHMARK(BM_TurnSelection)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
