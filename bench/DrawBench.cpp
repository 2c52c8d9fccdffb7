// The 3D view's passes over large designs: the sample play tower replicated in a square field
// until the design holds about 1,000 or 10,000 elements, all in view of a 1280 x 800 picture in a
// headless context. A frame (the whole picture, finished; also after one element moved and
// after a change that every element depends on), a selection pass of a 5-pixel pick box
// on an element and on empty space, the placing feedback pass of connection axes around a point,
// and the memory the process holds after 50 selection passes. Goals on this machine's software
// GL: a frame under 16 ms at 1,000 and under 60 ms at 10,000 elements, a selection pass under
// 20 ms at 10,000, and no memory growth over 50 passes beyond 5 MB.
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include "app/render/MergedScene.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrPass.h"
#include "app/render/RndrQult.h"
#include "app/view/SceneDraw.h"
#include "bench/BenchDesign.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "support/Box3.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr double kPi = 3.14159265358979323846;

// The design of about target elements with the camera that shows all of it.
struct SField {
    std::unique_ptr<CZarnelDcmt> dcmt;
    CCmra camera;
    CVector3 elementPoint; // a point on an element (mm)
    std::size_t elements = 0;
};

// The play tower copied in a square field.
std::unique_ptr<SField> BuildField(int target, std::string& error) {
    InstallBenchEnvironment();
    auto field = std::make_unique<SField>();
    field->dcmt = LoadReplicatedTower(target, error, 0);
    if (!field->dcmt) {
        return nullptr;
    }
    CBox3 extent;
    extent.Reset();
    for (const CElmnt& elmnt : field->dcmt->GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid) {
            extent.Extend(elmnt.placement.translation);
        }
        if (elmnt.kind == ElmntKind::Connector) {
            field->elementPoint = elmnt.placement.translation;
        }
        ++field->elements;
    }
    // From above and aside, far enough that the whole field fits the picture. The model view
    // turns the world by tilt and turn after moving it, so the move that puts the field's
    // centre c straight ahead at distance D is the turned-back (0, 0, -D) less c.
    const CVector3 centre((extent.minX + extent.maxX) / 2.0, (extent.minY + extent.maxY) / 2.0,
                          (extent.minZ + extent.maxZ) / 2.0);
    const double size = std::max(extent.maxX - extent.minX, extent.maxZ - extent.minZ);
    const double radius = (size + 3000.0) * 0.75 / 10.0; // cm
    const double distance = radius / std::tan(20.0 * kPi / 180.0);
    const double tilt = 35.0 * kPi / 180.0;
    const double turn = 30.0 * kPi / 180.0;
    CCmra& camera = field->camera;
    camera.viewportWidth = kWidth;
    camera.viewportHeight = kHeight;
    camera.modelTilt = 35;
    camera.modelTurn = 30;
    camera.modelLeftRight =
        static_cast<int>(distance * std::cos(tilt) * std::sin(turn) - centre.x / 10.0);
    camera.modelHeight = static_cast<int>(distance * std::sin(tilt) + centre.y / 10.0);
    camera.modelDistance =
        static_cast<int>(distance * std::cos(tilt) * std::cos(turn) + centre.z / 10.0);
    camera.farClip = static_cast<int>(distance * 3) + 1000;
    camera.nearClip = 10;
    camera.Update();
    return field;
}

SField* GetField(int target, std::string& error) {
    static std::unique_ptr<SField> fields[2];
    const int slot = target > 5000 ? 1 : 0;
    if (!fields[slot]) {
        fields[slot] = BuildField(target, error);
    }
    return fields[slot].get();
}

CRndrQult& EditQuality() {
    static CRndrQult quality;
    static bool set = false;
    if (!set) {
        quality.SetValues(SRndrQultValues::ProfileDefaults());
        set = true;
    }
    return quality;
}

// The process's resident memory, bytes.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0;
}

// The view's kept gathering of the elements; drawn element by element when tessellations are
// not kept either.
CMergedScene* Merged() {
    static CMergedScene merged;
    return MeshCache::IsEnabled() ? &merged : nullptr;
}

void Frame(const SField& field) {
    const CBox3 noBox;
    const ViewScene::SScene scene{
        *field.dcmt, field.camera, &EditQuality(), ToolMode::Select, DrawFlags::None,
        noBox,       {},           nullptr,        Merged()};
    glViewport(0, 0, kWidth, kHeight);
    ViewScene::DrawScene(scene);
}

// One selection pass of a size x size pixel box around the window point; the number of hits.
int SelectPass(const SField& field, double x, double y, double size, ToolMode tool) {
    static std::vector<GLuint> buffer(1 << 20);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    GLint viewport[4] = {0, 0, kWidth, kHeight};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(x, y, size, size, viewport);
    ViewScene::SetProjection(field.camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(field.camera);
    const CRndrPass pass(RndrMode::Select, &EditQuality());
    ViewScene::DrawElements(*field.dcmt, pass, tool, DrawFlags::None, nullptr);
    return glRenderMode(GL_RENDER);
}

// The placing pass: connection axes in feedback around the window point; floats returned.
int AxisFeedbackPass(const SField& field, double x, double y) {
    static std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    GLint viewport[4] = {0, 0, kWidth, kHeight};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(x, y, 60.0, 60.0, viewport);
    ViewScene::SetProjection(field.camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(field.camera);
    const CRndrPass pass(RndrMode::AxisFeedback, &EditQuality());
    ViewScene::DrawElements(*field.dcmt, pass, ToolMode::AtConnection, DrawFlags::None, nullptr);
    return glRenderMode(GL_RENDER);
}

// The window point of the field's element point.
std::array<double, 2> ElementPixel(const SField& field) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewScene::SetProjection(field.camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(field.camera);
    GLdouble model[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLint viewport[4] = {0, 0, kWidth, kHeight};
    const CVector3& p = field.elementPoint;
    GLdouble x = 0.0;
    GLdouble y = 0.0;
    GLdouble z = 0.0;
    gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z);
    return {x, y};
}

SField* Prepare(benchmark::State& state) {
    std::string error;
    if (!MakeGlContextCurrent(error, kWidth, kHeight)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    SField* field = GetField(static_cast<int>(state.range(0)), error);
    if (field == nullptr) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    state.counters["elements"] = static_cast<double>(field->elements);
    // The second argument, when 0, draws every tessellation anew and every element by itself
    // (for comparison).
    MeshCache::SetEnabled(state.range(1) != 0);
    if (Merged() != nullptr) {
        Merged()->Clear();
    }
    return field;
}

void BM_Frame(benchmark::State& state) {
    SField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    for (auto _ : state) {
        Frame(*field);
    }
    // The share of the picture that shows the design, so that a camera that misses it shows.
    std::vector<unsigned char> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    double drawn = 0.0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        drawn += pixels[i] != 255 || pixels[i + 1] != 255 || pixels[i + 2] != 255 ? 1.0 : 0.0;
    }
    state.counters["drawnShare"] = drawn / (static_cast<double>(kWidth) * kHeight);
}
BENCHMARK(BM_Frame)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

// A frame after one element moved (its run of elements is gathered anew), and a frame after
// a change that every element's drawing depends on (everything is gathered anew).
void BM_FrameAfterChange(benchmark::State& state) {
    SField* field = Prepare(state);
    if (field == nullptr || Merged() == nullptr) {
        return;
    }
    const bool everything = state.range(1) == 2;
    CElmnt* moved = nullptr;
    for (CElmnt& elmnt : field->dcmt->GetAliveElements()) {
        moved = &elmnt;
    }
    Frame(*field);
    double step = 1.0;
    for (auto _ : state) {
        if (everything) {
            Merged()->Clear();
        } else {
            moved->Translate(step, 0.0, 0.0);
            step = -step;
        }
        Frame(*field);
    }
}
BENCHMARK(BM_FrameAfterChange)->ArgsProduct({{1000, 10000}, {1, 2}})->Unit(benchmark::kMillisecond);

void BM_PickOnElement(benchmark::State& state) {
    SField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const auto at = ElementPixel(*field);
    int hits = 0;
    for (auto _ : state) {
        hits = SelectPass(*field, at[0], at[1], 5.0, ToolMode::Select);
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_PickOnElement)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_PickOnEmptySpace(benchmark::State& state) {
    SField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    int hits = 0;
    for (auto _ : state) {
        hits = SelectPass(*field, 4.0, kHeight - 4.0, 5.0, ToolMode::Select);
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_PickOnEmptySpace)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_PlacingFeedback(benchmark::State& state) {
    SField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const auto at = ElementPixel(*field);
    int floats = 0;
    for (auto _ : state) {
        floats = AxisFeedbackPass(*field, at[0], at[1]);
    }
    state.counters["floats"] = floats;
}
BENCHMARK(BM_PlacingFeedback)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

// The growth of resident memory over 50 selection passes after a first one (MB).
void BM_MemoryAfter50Picks(benchmark::State& state) {
    SField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const auto at = ElementPixel(*field);
    double growth = 0.0;
    for (auto _ : state) {
        SelectPass(*field, at[0], at[1], 5.0, ToolMode::Select);
        const double before = ResidentBytes();
        for (int pick = 0; pick < 50; ++pick) {
            SelectPass(*field, at[0], at[1], 5.0, ToolMode::Select);
        }
        growth = (ResidentBytes() - before) / (1024.0 * 1024.0);
    }
    state.counters["growthMB"] = growth;
}
BENCHMARK(BM_MemoryAfter50Picks)->Args({10000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
