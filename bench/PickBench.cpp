// What a click and a move step cost the user, up to the picture that shows them, on the sample
// play tower replicated in a square field of about 1,000, 10,000 and 50,000 elements seen whole
// in a 1280 x 800 picture of a headless context: a placing click on a free coupling arm (as the
// left button carries it out), the same click followed by the next picture, and a move step of
// one tower selected as a group followed by the next picture. Each run is undone outside the
// measured time, and each checks that the click placed a tube and the step moved the tower; the
// buffers keep their grown sizes and the merged geometry its runs, as the view keeps them.
// Goals: the placing click under 3 ms at 10,000 elements, click and picture under 60 ms.
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include <benchmark/benchmark.h>

#include "app/frame/CommandIds.h"
#include "app/render/MergedScene.h"
#include "app/view/ScenePick.h"
#include "app/view/ViewCommand.h"
#include "app/view/ViewMouse.h"
#include "bench/BenchDesign.h"
#include "bench/BenchLattice.h"
#include "bench/BenchView.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr uint32_t kFreeUp = 4u; // the free-arm bit of +Y

// A field with the view's state and its kept merged geometry, drawn once.
struct SBenchView {
    std::unique_ptr<SBenchField> field;
    CViewState state;
    CViewCamera camera;
    CMergedScene merged;
};

SBenchView* GetView(benchmark::State& state) {
    static std::unique_ptr<SBenchView> views[3];
    const int target = static_cast<int>(state.range(0));
    const int slot = target > 20000 ? 2 : target > 5000 ? 1 : 0;
    std::string error;
    if (!MakeGlContextCurrent(error, kWidth, kHeight)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    if (!views[slot]) {
        auto view = std::make_unique<SBenchView>();
        view->field = BuildBenchField(target, kWidth, kHeight, error);
        if (!view->field) {
            state.SkipWithError(error.c_str());
            return nullptr;
        }
        view->camera.BindDefault();
        views[slot] = std::move(view);
    }
    SBenchView* view = views[slot].get();
    state.counters["elements"] = static_cast<double>(view->field->elements);
    return view;
}

SPickScene PickScene(SBenchView& view) {
    return SPickScene{*view.field->dcmt,       view.field->camera,       &BenchQuality(),
                      view.state.tool.mode,    view.state.display.flags, nullptr,
                      view.field->meshes.get()};
}

// The left button at (x, y) in the view's tool mode, as the window hands it over.
SMouseResult Click(SBenchView& view, int x, int y) {
    SViewContext context{view.field->dcmt.get(), view.state, view.camera, SAppOptions()};
    CGlScenePicker picker(PickScene(view), view.state.pickBuffers.selectionSize,
                          view.state.pickBuffers.placingFeedbackSize);
    SMouseEvent event;
    event.x = x;
    event.y = y;
    event.windowX = x;
    event.windowY = kHeight - 1 - y;
    return OnLeftDown(context, picker, event);
}

void Undo(SBenchView& view) {
    view.field->dcmt->OnEditUndo(view.state.GetCouplingMaterial(), CouplingSnap::NormalSq);
}

// The tube tool, and the window point 100 mm up the free upward arm of the coupling nearest to
// the picture's centre; false when no such arm shows.
bool AimAtFreeArm(SBenchView& view, int& x, int& y) {
    view.state.SetTool(ToolMode::AtConnection);
    view.state.tool.kind = ElmntKind::Tube;
    view.state.tool.length = 350.0f;
    double best = 1e30;
    for (const CElmnt& elmnt : view.field->dcmt->GetAliveElements()) {
        std::array<double, 3> w{};
        if (elmnt.kind != ElmntKind::Connector || (elmnt.GetFreeArms() & kFreeUp) == 0 ||
            !WindowPoint(*view.field, elmnt.placement.translation + CVector3(0, 100, 0), w)) {
            continue;
        }
        const double off = std::hypot(w[0] - kWidth / 2.0, w[1] - kHeight / 2.0);
        if (off < best) {
            best = off;
            x = static_cast<int>(w[0]);
            y = static_cast<int>(w[1]);
        }
    }
    return best < 1e30;
}

// True when the last click placed a tube in a revision of its own.
bool PlacedATube(SBenchView& view, Revision before, const SMouseResult& result) {
    const CElmnt* placed = view.field->dcmt->FindElement(view.state.tool.placing);
    return !result.change.beep && view.field->dcmt->GetCurrentRevision() == before + 1 &&
           placed != nullptr && placed->kind == ElmntKind::Tube;
}

void PlacingClick(benchmark::State& state, bool withPicture) {
    SBenchView* view = GetView(state);
    int x = 0;
    int y = 0;
    if (view == nullptr || !AimAtFreeArm(*view, x, y)) {
        state.SkipWithError("no free coupling arm in the picture");
        return;
    }
    CZarnelDcmt& dcmt = *view->field->dcmt;
    DrawBenchPicture(*view->field, &view->merged, view->state.tool.mode);
    std::size_t gathered = 0;
    for (auto _ : state) {
        const Revision before = dcmt.GetCurrentRevision();
        const SMouseResult result = Click(*view, x, y);
        if (withPicture) {
            DrawBenchPicture(*view->field, &view->merged, view->state.tool.mode);
            gathered += view->merged.GetRunsGathered();
        }
        state.PauseTiming();
        if (!PlacedATube(*view, before, result)) {
            state.SkipWithError("the click placed no tube");
            return;
        }
        Undo(*view);
        DrawBenchPicture(*view->field, &view->merged, view->state.tool.mode);
        state.ResumeTiming();
    }
    if (withPicture && gathered == 0) {
        state.SkipWithError("the picture after the click did not show it");
    }
    state.counters["bufferFloats"] = view->state.pickBuffers.placingFeedbackSize;
}

void BM_PlacingClick(benchmark::State& state) {
    PlacingClick(state, false);
}
BENCHMARK(BM_PlacingClick)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_PlacingClickToPicture(benchmark::State& state) {
    PlacingClick(state, true);
}
BENCHMARK(BM_PlacingClickToPicture)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// A placing click with "Automatischer Positionsausgleich" on, on the connected lattice of about
// 2,000 unfixed elements (BenchLattice.h, adjusted once before), and the next picture: the tube
// placed on a free upward arm is adjust-pending, so the adjustment after the click collects and
// solves the whole lattice again. Each run checks that the click placed a tube and that the
// adjustment reached it. Goal: under 300 ms.
void BM_AdjustingPlacingClickToPicture(benchmark::State& state) {
    static std::unique_ptr<SBenchView> lattice;
    std::string error;
    if (!MakeGlContextCurrent(error, kWidth, kHeight)) {
        state.SkipWithError(error.c_str());
        return;
    }
    if (!lattice) {
        InstallBenchEnvironment();
        std::unique_ptr<CZarnelDcmt> dcmt = BenchLattice::BuildFrame(10, 6, 320);
        if (!dcmt->AdjustAll(1, CouplingSnap::NormalSq)) {
            state.SkipWithError("the lattice was not adjusted");
            return;
        }
        auto view = std::make_unique<SBenchView>();
        view->field = ShowBenchField(std::move(dcmt), kWidth, kHeight);
        view->camera.BindDefault();
        lattice = std::move(view);
    }
    SBenchView& view = *lattice;
    state.counters["elements"] = static_cast<double>(view.field->elements);
    int x = 0;
    int y = 0;
    if (!AimAtFreeArm(view, x, y)) {
        state.SkipWithError("no free coupling arm in the picture");
        return;
    }
    view.state.tool.autoAdjust = true;
    CZarnelDcmt& dcmt = *view.field->dcmt;
    DrawBenchPicture(*view.field, &view.merged, view.state.tool.mode);
    for (auto _ : state) {
        const Revision before = dcmt.GetCurrentRevision();
        const SMouseResult result = Click(view, x, y);
        DrawBenchPicture(*view.field, &view.merged, view.state.tool.mode);
        state.PauseTiming();
        const CElmnt* placed = dcmt.FindElement(view.state.tool.placing);
        if (!PlacedATube(view, before, result) || placed->adjustPending) {
            state.SkipWithError("the click placed no tube, or the adjustment did not run");
            return;
        }
        Undo(view);
        DrawBenchPicture(*view.field, &view.merged, view.state.tool.mode);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AdjustingPlacingClickToPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

// The selected tubes: how many, and the sum of their x positions (mm).
std::pair<int, double> SelectedTubes(const CZarnelDcmt& dcmt) {
    std::pair<int, double> tubes{0, 0.0};
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.selected && elmnt.kind == ElmntKind::Tube) {
            ++tubes.first;
            tubes.second += elmnt.placement.translation.x;
        }
    }
    return tubes;
}

// The tower of the tube that shows nearest the centre, selected by a click in the group tool,
// then the step to the right ("Selektieren und Verschieben", 400 mm) and the next picture.
// Undoing deselects, and the records of the moved elements change: the tower is selected anew,
// at the same point, for every step.
void BM_MoveStepToPicture(benchmark::State& state) {
    SBenchView* view = GetView(state);
    if (view == nullptr) {
        return;
    }
    CZarnelDcmt& dcmt = *view->field->dcmt;
    const SBenchTarget target = FindShownTube(*view->field);
    const SViewCommand* move = FindViewCommand(CommandId::MoveRight);
    if (!target.element.IsValid() || move == nullptr) {
        state.SkipWithError("no tube shows in the picture");
        return;
    }
    view->state.SetTool(ToolMode::SelectGroup);
    DrawBenchPicture(*view->field, &view->merged, view->state.tool.mode);
    int moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Click(*view, target.x, target.y);
        const auto before = SelectedTubes(dcmt);
        state.ResumeTiming();
        SViewContext context{&dcmt, view->state, view->camera, SAppOptions()};
        move->run(context, CommandId::MoveRight);
        DrawBenchPicture(*view->field, &view->merged, view->state.tool.mode);
        state.PauseTiming();
        const auto after = SelectedTubes(dcmt);
        if (before.first < 10 || after.first != before.first ||
            std::abs(after.second - before.second - before.first * view->state.boxAndMove.step) >
                before.first * 0.5) {
            state.SkipWithError("the step did not move a tower");
            return;
        }
        moved = before.first;
        Undo(*view);
        DrawBenchPicture(*view->field, &view->merged, view->state.tool.mode);
        state.ResumeTiming();
    }
    state.counters["tubesMoved"] = moved;
}
BENCHMARK(BM_MoveStepToPicture)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace
