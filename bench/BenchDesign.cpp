// The benchmarks' environment, GL context and large designs.
#include "bench/BenchDesign.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Box3.h"
#include "support/Resources.h"

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
    std::vector<const CElmnt*> tower;
    CBox3 extent;
    extent.Reset();
    for (const CElmnt& elmnt : dcmt->GetAliveElements()) {
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
    for (int copy = 1; copy < copies; ++copy) {
        const double dx = stepX * (copy % perRow);
        const double dz = stepZ * (copy / perRow);
        for (const CElmnt* original : tower) {
            auto moved = std::make_unique<CElmnt>(*original);
            moved->Translate(dx, 0.0, dz);
            dcmt->AddElement(std::move(moved));
        }
    }
    return dcmt;
}
