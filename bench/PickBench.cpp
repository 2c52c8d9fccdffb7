// Picking and placing by mouse on a design of about 10,000 elements (the sample play tower
// copied side by side) in a headless GL context with a viewport of 1280 x 960 pixels: the pick
// of a tube of the first tower, and placing a tube at a free coupling arm of it (the insertion
// is undone between runs, outside the measured time). The buffers keep their grown sizes, as
// the view keeps them. Goal: each below 50 ms.
#include <memory>
#include <string>

#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include "app/view/SceneDraw.h"
#include "app/view/ScenePick.h"
#include "app/view/ViewCommand.h"
#include "app/view/ViewPlacing.h"
#include "bench/BenchDesign.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr int TargetElements = 10000;
constexpr int Width = 1280;
constexpr int Height = 960;

struct SBenchScene {
    std::unique_ptr<CZarnelDcmt> dcmt;
    CViewState state;
    CViewCamera camera;
};

// The design with camera 0 on the viewport; nullptr after SkipWithError.
std::unique_ptr<SBenchScene> MakeScene(benchmark::State& state) {
    InstallBenchEnvironment();
    std::string error;
    if (!MakeGlContextCurrent(error)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    auto scene = std::make_unique<SBenchScene>();
    scene->dcmt = LoadReplicatedTower(TargetElements, error);
    if (!scene->dcmt) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    glViewport(0, 0, Width, Height);
    CCmra& camera = scene->dcmt->GetCamera(0);
    camera.viewportWidth = Width;
    camera.viewportHeight = Height;
    camera.Update();
    scene->camera.BindDefault();
    return scene;
}

SPickScene PickScene(SBenchScene& scene) {
    return SPickScene{*scene.dcmt,          scene.dcmt->GetCamera(0), nullptr,
                      scene.state.toolMode, scene.state.drawFlags,    nullptr};
}

// The GL window point of a world point (mm).
bool Project(const CCmra& camera, const CVector3& point, int& x, int& y) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewScene::SetProjection(camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(camera);
    GLdouble model[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLint viewport[4] = {0, 0, Width, Height};
    GLdouble wx = 0.0;
    GLdouble wy = 0.0;
    GLdouble wz = 0.0;
    gluProject(point.x, point.y, point.z, model, projection, viewport, &wx, &wy, &wz);
    x = static_cast<int>(wx);
    y = static_cast<int>(wy);
    return x >= 0 && x < Width && y >= 0 && y < Height && wz > 0.0 && wz < 1.0;
}

std::size_t AliveCount(const CZarnelDcmt& dcmt) {
    std::size_t alive = 0;
    for ([[maybe_unused]] const CElmnt& elmnt : dcmt.GetAliveElements()) {
        ++alive;
    }
    return alive;
}

void BM_PickElement(benchmark::State& state) {
    std::unique_ptr<SBenchScene> scene = MakeScene(state);
    if (!scene) {
        return;
    }
    scene->state.toolMode = ToolMode::Select;
    // The middle of the first tube of the first tower that shows in the picture.
    int x = 0;
    int y = 0;
    bool found = false;
    for (const CElmnt& elmnt : scene->dcmt->GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Tube &&
            Project(scene->dcmt->GetCamera(0), elmnt.placement.MovedX(175.0).translation, x, y)) {
            found = true;
            break;
        }
    }
    if (!found) {
        state.SkipWithError("no tube in the picture");
        return;
    }
    SPickHit hit;
    for (auto _ : state) {
        hit = PickElement(PickScene(*scene), x, y, scene->state.selectionBufferSize).hit;
    }
    if (!hit.IsHit()) {
        state.SkipWithError("nothing picked");
        return;
    }
    state.counters["elements"] = static_cast<double>(AliveCount(*scene->dcmt));
    state.counters["box"] = hit.boxSize;
    state.counters["bufferEntries"] = scene->state.selectionBufferSize;
}
BENCHMARK(BM_PickElement)->Unit(benchmark::kMillisecond);

void BM_PlaceByFeedback(benchmark::State& state) {
    std::unique_ptr<SBenchScene> scene = MakeScene(state);
    if (!scene) {
        return;
    }
    CViewState& view = scene->state;
    view.SetTool(ToolMode::AtConnection);
    view.toolKind = ElmntKind::Tube;
    view.toolLength = 350.0f;
    // 100 mm up the free upward arm of a coupling in the picture.
    int x = 0;
    int y = 0;
    bool found = false;
    for (const CElmnt& elmnt : scene->dcmt->GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Connector && (elmnt.GetFreeArms() & 4u) != 0 &&
            Project(scene->dcmt->GetCamera(0), elmnt.GetConnPoint(0) + CVector3(0, 100, 0), x, y)) {
            found = true;
            break;
        }
    }
    if (!found) {
        state.SkipWithError("no free coupling arm in the picture");
        return;
    }
    CZarnelDcmt& dcmt = *scene->dcmt;
    for (auto _ : state) {
        SViewContext context{&dcmt, view, scene->camera, SAppOptions()};
        CGlScenePicker picker(PickScene(*scene), view.selectionBufferSize,
                              view.placingFeedbackSize);
        const Revision before = dcmt.GetCurrentRevision();
        const SViewChange change = PlaceByFeedback(context, picker, x, y);
        state.PauseTiming();
        if (change.beep || dcmt.GetCurrentRevision() != before + 1) {
            state.SkipWithError("nothing placed");
            return;
        }
        dcmt.OnEditUndo(view.GetCouplingMaterial(), CouplingSnap::NormalSq);
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(AliveCount(dcmt));
    state.counters["bufferFloats"] = view.placingFeedbackSize;
}
BENCHMARK(BM_PlaceByFeedback)->Unit(benchmark::kMillisecond);

} // namespace
