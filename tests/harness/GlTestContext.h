// A headless OpenGL context for drawing and picking tests: EGL on Mesa's surfaceless platform,
// a pbuffer surface and a compatibility-profile context (immediate mode, GL_SELECT, GL_FEEDBACK).
// A test that needs GL fails, never skips, when no context can be made.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class GlTestContext {
public:
    GlTestContext() = default;
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    // Makes the context current on a pbuffer of the given size; false with a reason on failure.
    bool Create(int width, int height, std::string& error);
    void Release();

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour buffer as RGBA bytes, bottom row first.
    std::vector<uint8_t> ReadPixels() const;

private:
    void* m_display = nullptr;
    void* m_context = nullptr;
    void* m_surface = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// Two pictures of one size (RGBA bytes) compared: the pixels of the reference that are not the
// background colour, and the pixels whose colours differ by more than tolerance in a channel.
struct SPictureComparison {
    int drawn = 0;
    int different = 0;
};
SPictureComparison ComparePictures(const std::vector<uint8_t>& reference,
                                   const std::vector<uint8_t>& other,
                                   const std::array<uint8_t, 3>& background, int tolerance);

// Fixture: a current 256 x 256 context for each test; the test fails at once without one.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Fails the test on any pending GL error.
    static void ExpectNoGlError(const char* where);
    // Number of pixels whose colour differs from the given clear colour.
    int CountPixelsNotEqual(uint8_t r, uint8_t g, uint8_t b) const;

    GlTestContext m_gl;
};
