#include "tests/harness/GlTestContext.h"

#include <algorithm>
#include <cstdlib>

#include <EGL/egl.h>
#include <EGL/eglext.h>
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

namespace {

// One display for the whole test program, initialised on first use and never terminated:
// terminating unloads the driver, after which the leak checker can no longer name (and so
// suppress) the driver's own process-lifetime allocations.
EGLDisplay SurfacelessDisplay(std::string& error) {
    static EGLDisplay display = EGL_NO_DISPLAY;
    static std::string failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        EGLDisplay candidate = EGL_NO_DISPLAY;
        if (getPlatformDisplay != nullptr) {
            candidate =
                getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        }
        EGLint major = 0;
        EGLint minor = 0;
        if (candidate == EGL_NO_DISPLAY) {
            failure = "no EGL display on the surfaceless platform";
        } else if (!eglInitialize(candidate, &major, &minor)) {
            failure = "eglInitialize failed";
        } else {
            display = candidate;
        }
    }
    error = failure;
    return display;
}

} // namespace

GlTestContext::~GlTestContext() { Release(); }

bool GlTestContext::Create(int width, int height, std::string& error) {
    Release();
    EGLDisplay display = SurfacelessDisplay(error);
    if (display == EGL_NO_DISPLAY) {
        return false;
    }
    m_display = display;
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,    EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,        8,
                                       EGL_GREEN_SIZE,      8,
                                       EGL_BLUE_SIZE,       8,
                                       EGL_ALPHA_SIZE,      8,
                                       EGL_DEPTH_SIZE,      24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) ||
        configCount < 1) {
        error = "no EGL configuration with a pbuffer and OpenGL";
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = "eglBindAPI(EGL_OPENGL_API) failed";
        return false;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        error = "no compatibility-profile OpenGL context";
        return false;
    }
    m_context = context;
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) {
        error = "no pbuffer surface";
        return false;
    }
    m_surface = surface;
    if (!eglMakeCurrent(display, surface, surface, context)) {
        error = "eglMakeCurrent failed";
        return false;
    }
    m_width = width;
    m_height = height;
    glViewport(0, 0, width, height);
    return true;
}

void GlTestContext::Release() {
    if (m_display == nullptr) {
        return;
    }
    EGLDisplay display = m_display;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_surface != nullptr) {
        eglDestroySurface(display, m_surface);
    }
    if (m_context != nullptr) {
        eglDestroyContext(display, m_context);
    }
    m_display = nullptr;
    m_surface = nullptr;
    m_context = nullptr;
}

std::vector<uint8_t> GlTestContext::ReadPixels() const {
    std::vector<uint8_t> pixels(static_cast<size_t>(m_width) * m_height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void GlTest::SetUp() {
    std::string error;
    ASSERT_TRUE(m_gl.Create(256, 256, error)) << "headless OpenGL unavailable: " << error;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ExpectNoGlError("context creation");
}

void GlTest::TearDown() { m_gl.Release(); }

void GlTest::ExpectNoGlError(const char* where) {
    GLenum error = glGetError();
    EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << "GL error after " << where;
}

SPictureComparison ComparePictures(const std::vector<uint8_t>& reference,
                                   const std::vector<uint8_t>& other,
                                   const std::array<uint8_t, 3>& background, int tolerance) {
    SPictureComparison result;
    EXPECT_EQ(reference.size(), other.size());
    for (std::size_t i = 0; i + 3 < std::min(reference.size(), other.size()); i += 4) {
        bool isBackground = true;
        bool differs = false;
        for (std::size_t c = 0; c < 3; ++c) {
            isBackground = isBackground && reference[i + c] == background[c];
            differs = differs || std::abs(int(reference[i + c]) - int(other[i + c])) > tolerance;
        }
        result.drawn += isBackground ? 0 : 1;
        result.different += differs ? 1 : 0;
    }
    return result;
}

int GlTest::CountPixelsNotEqual(uint8_t r, uint8_t g, uint8_t b) const {
    std::vector<uint8_t> pixels = m_gl.ReadPixels();
    int count = 0;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (pixels[i] != r || pixels[i + 1] != g || pixels[i + 2] != b) {
            ++count;
        }
    }
    return count;
}
