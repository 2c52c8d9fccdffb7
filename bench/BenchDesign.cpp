// The benchmarks' environment, GL context and large designs.
#include "bench/BenchDesign.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "model/Clipboard.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Box3.h"
#include "support/Resources.h"

namespace {

constexpr int32_t kCouplingMaterial = 1;

} // namespace

void InstallBenchEnvironment() {
    static CSilentUi silent;
    InstallUserInterface(&silent);
    SetResourceModule(&ZarnelResources());
}

bool MakeGlContextCurrent(std::string& error, int width, int height) {
    static bool made = false;
    if (made) {
        return true;
    }
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
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       24,
                                       EGL_NONE};
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
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (context == EGL_NO_CONTEXT || surface == EGL_NO_SURFACE ||
        !eglMakeCurrent(display, surface, surface, context)) {
        error = "no current OpenGL context";
        return false;
    }
    made = true;
    return true;
}

std::unique_ptr<CZarnelDcmt> LoadReplicatedTower(int targetElements, std::string& error,
                                                 int copiesPerRow, double gap) {
    auto dcmt = std::make_unique<CZarnelDcmt>();
    if (!dcmt->LoadFile(ZARNEL_DATA_DIR "/play-tower.zdf")) {
        error = "play-tower.zdf could not be read";
        return nullptr;
    }
    std::vector<CElmnt*> tower;
    CBox3 extent;
    extent.Reset();
    for (CElmnt& elmnt : dcmt->GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid) {
            tower.push_back(&elmnt);
            extent.Extend(elmnt.placement.translation);
        }
    }
    const double stepX = extent.maxX - extent.minX + gap;
    const double stepZ = extent.maxZ - extent.minZ + gap;
    const int copies = targetElements / static_cast<int>(tower.size());
    const int perRow = copiesPerRow > 0
                           ? copiesPerRow
                           : std::max(1, static_cast<int>(std::ceil(std::sqrt(copies))));
    // Each copy as a user makes it: pasted, moved to its place and deselected (linked there),
    // which leaves the pasted states in the history.
    for (CElmnt* elmnt : tower) {
        elmnt->Select();
    }
    const std::string text = CopySelectionText(*dcmt).value_or("");
    dcmt->ClearSelection(kCouplingMaterial, CouplingSnap::NormalSq);
    for (int copy = 1; copy < copies; ++copy) {
        if (!PasteText(*dcmt, text) ||
            !dcmt->MoveSelection(stepX * (copy % perRow), 0.0, stepZ * (copy / perRow),
                                 kCouplingMaterial, CouplingSnap::NormalSq, false, false)) {
            error = "a copy of the tower could not be pasted and moved";
            return nullptr;
        }
        dcmt->ClearSelection(kCouplingMaterial, CouplingSnap::NormalSq);
    }
    // What linking left adjust-pending, adjusted as the view does after each change.
    dcmt->AdjustPending(kCouplingMaterial, CouplingSnap::NormalSq);
    return dcmt;
}
