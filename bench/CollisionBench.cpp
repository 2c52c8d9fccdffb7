// The collision test on a design of about 2,000 elements: the sample play tower replicated side
// by side, drawn into the check feedback buffer of a headless GL context, then sorted, swept and
// tested. The buffer keeps its grown size between runs, as the view keeps it. Goal: under 1 s a
// test (the user waits for it under the wait cursor).
#include <memory>
#include <string>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <benchmark/benchmark.h>

#include "app/checks/CollisionTest.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Box3.h"
#include "support/Resources.h"
#include "support/UserInterface.h"

namespace {

constexpr int TargetElements = 2000;

// Answers every box with its default and shows nothing.
class CSilentUi final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string&, const std::string&, MsgButtons buttons,
                             MsgIcon) override {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0x00D4D0C8; }
};

// A compatibility-profile context on a small pbuffer of Mesa's surfaceless platform.
bool MakeGlContextCurrent(std::string& error) {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        error = "no eglGetPlatformDisplayEXT";
        return false;
    }
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        error = "no surfaceless EGL display";
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs < 1 ||
        !eglBindAPI(EGL_OPENGL_API)) {
        error = "no EGL configuration for OpenGL";
        return false;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    const EGLint surfaceAttributes[] = {EGL_WIDTH, 16, EGL_HEIGHT, 16, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (context == EGL_NO_CONTEXT || surface == EGL_NO_SURFACE ||
        !eglMakeCurrent(display, surface, surface, context)) {
        error = "no current OpenGL context";
        return false;
    }
    return true;
}

// The play tower, copied side by side in rows until the design holds about 2,000 elements,
// each copy far enough from the others that copies do not touch.
std::unique_ptr<CZarnelDcmt> LoadReplicatedTower(std::string& error) {
    auto dcmt = std::make_unique<CZarnelDcmt>();
    if (!dcmt->LoadFile(ZARNEL_DATA_DIR "/play-tower.zdf")) {
        error = "play-tower.zdf could not be read";
        return nullptr;
    }
    std::vector<const CElmnt*> tower;
    CBox3 extent;
    extent.Reset();
    for (const CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid) {
            tower.push_back(&elmnt);
            extent.Extend(elmnt.placement.translation);
        }
    }
    const double stepX = extent.maxX - extent.minX + 3000.0;
    const double stepZ = extent.maxZ - extent.minZ + 3000.0;
    const int copies = TargetElements / static_cast<int>(tower.size());
    for (int copy = 1; copy < copies; ++copy) {
        const double dx = stepX * (copy % 4);
        const double dz = stepZ * (copy / 4);
        for (const CElmnt* original : tower) {
            auto moved = std::make_unique<CElmnt>(*original);
            moved->Translate(dx, 0.0, dz);
            dcmt->AddElement(std::move(moved));
        }
    }
    return dcmt;
}

void BM_CollisionTest(benchmark::State& state) {
    static CSilentUi silent;
    InstallUserInterface(&silent);
    SetResourceModule(&ZarnelResources());
    std::string error;
    if (!MakeGlContextCurrent(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::unique_ptr<CZarnelDcmt> dcmt = LoadReplicatedTower(error);
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
