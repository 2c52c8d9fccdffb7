// Off-screen pictures in a headless context: a picture wider than the largest renderbuffer comes
// out whole from its tiles (no seam, no tile missing, the same as the picture drawn smaller),
// a picture that needs more memory than there is is refused before anything is drawn, and a
// render that fails tells what failed and is never saved.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "app/view/OffscreenRender.h"
#include "app/view/PictureExport.h"
#include "app/view/SceneDraw.h"
#include "app/view/ViewState.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

bool IsRed(uint32_t colour) {
    const int r = static_cast<int>(colour >> 16 & 0xFF);
    const int g = static_cast<int>(colour >> 8 & 0xFF);
    return r > 100 && r > 2 * g;
}

// A red tube across the whole picture at eye height, seen straight from 1 m, lit.
class OffscreenPicture : public GlTest {
protected:
    OffscreenPicture() {
        SRndrQultValues values;
        values.shading = 2;
        m_quality.SetValues(values);
        const Revision r = m_dcmt.NewRevision();
        m_dcmt.AddElement(std::make_unique<CElmnt>(m_dcmt.GetIdSource(), r, ElmntKind::Tube, 2,
                                                   CTransform({}, CVector3(-700.0, 1200.0, 0.0)),
                                                   true, 1400.0f, 0.0f));
        m_camera.modelTurn = 0;
        m_camera.eyeUp = 0;
        m_camera.viewportWidth = 200;
        m_camera.viewportHeight = 150;
        m_camera.cameraDistance = 100;
        m_camera.Update();
    }

    void DrawTile(const SOffscreenTile& tile) {
        const CBox3 box = CViewState::kDefaultSelectionBox;
        const ViewScene::SScene scene{
            m_dcmt,  m_camera, &m_quality, ToolMode::NoSelectionLines, DrawFlags::None, box, {},
            nullptr, nullptr,  &m_meshes};
        const std::array<double, 16> prefix = tile.ProjectionPrefix();
        ViewScene::DrawScene(scene, &prefix);
        ++m_tiles;
    }

    std::unique_ptr<CDIB> Render(int width, int height, const SOffscreenOptions& options = {}) {
        return RenderOffscreen(
            width, height, [this](const SOffscreenTile& tile) { DrawTile(tile); }, options);
    }

    CZarnelDcmt m_dcmt;
    CCmra m_camera;
    CRndrQult m_quality;
    CMeshCache m_meshes;
    int m_tiles = 0;
};

int RedInColumn(const CDIB& picture, int x) {
    int red = 0;
    for (int y = 0; y < picture.GetHeight(); ++y) {
        red += IsRed(picture.GetPixel(x, y)) ? 1 : 0;
    }
    return red;
}

} // namespace

TEST_F(OffscreenPicture, WiderThanTheLargestRenderbufferComesOutWhole) {
    GLint limit = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
    ASSERT_GT(limit, 0);
    // Eight times a picture drawn in one piece, wider than any renderbuffer can be.
    constexpr int kScale = 8;
    const int smallWidth = limit / kScale + 52;
    const int smallHeight = 96;
    const std::unique_ptr<CDIB> small = Render(smallWidth, smallHeight);
    ASSERT_NE(small, nullptr);
    ASSERT_EQ(m_tiles, 1);
    m_tiles = 0;
    const std::unique_ptr<CDIB> large = Render(smallWidth * kScale, smallHeight * kScale);
    ASSERT_NE(large, nullptr);
    ASSERT_GT(large->GetWidth(), limit);
    EXPECT_GT(m_tiles, 1);

    // Across every tile border the tube goes on as it was: as many red pixels on both sides.
    GLint viewportMax[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportMax);
    const int tileSide =
        std::min({4096, static_cast<int>(limit), static_cast<int>(viewportMax[0])});
    for (int border = tileSide; border < large->GetWidth(); border += tileSide) {
        SCOPED_TRACE(border);
        const int before = RedInColumn(*large, border - 1);
        EXPECT_GT(before, 10);
        EXPECT_NEAR(RedInColumn(*large, border), before, 1);
    }

    // Block by block the large picture is the small one: in every tile's stretch as much red.
    int differing = 0;
    int redSmall = 0;
    for (int sx = 0; sx < smallWidth; ++sx) {
        for (int sy = 0; sy < smallHeight; ++sy) {
            int redBlock = 0;
            for (int dx = 0; dx < kScale; ++dx) {
                for (int dy = 0; dy < kScale; ++dy) {
                    redBlock += IsRed(large->GetPixel(sx * kScale + dx, sy * kScale + dy)) ? 1 : 0;
                }
            }
            const bool redHere = IsRed(small->GetPixel(sx, sy));
            redSmall += redHere ? 1 : 0;
            differing += redHere != (2 * redBlock > kScale * kScale) ? 1 : 0;
        }
    }
    EXPECT_GT(redSmall, 1000) << "nothing drawn";
    // Only the tube's outline may round to the other side.
    EXPECT_LT(differing, redSmall / 10);
    ExpectNoGlError("off-screen");
}

TEST_F(OffscreenPicture, APictureLargerThanTheFreeMemoryIsRefusedBeforeDrawing) {
    // A 20000 x 15000 picture: 1.2 GB of bitmap, and 4096² tiles of colour, depth and read-back.
    const uint64_t need = OffscreenMemoryNeed(20000, 15000, 4096, 4096);
    EXPECT_EQ(need, uint64_t{20000} * 15000 * 4 + uint64_t{4096} * 4096 * 12);
    ASSERT_TRUE(AvailableMemory().has_value());

    TestUi().Reset();
    SOffscreenOptions options;
    options.availableBytes = need - 1;
    EXPECT_EQ(Render(20000, 15000, options), nullptr);
    EXPECT_EQ(m_tiles, 0);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Das Bild mit 20000 x 15000 Pixeln wird nicht gerendert: Es braucht etwa 1337 MB "
              "Arbeitsspeicher, frei sind nur 1336 MB.");
}

TEST_F(OffscreenPicture, AFailedRenderSaysWhatFailedAndSavesNothing) {
    TempFolder folder;
    struct SCase {
        const char* name;
        void (*breakDrawing)();
        const char* message;
    };
    const SCase cases[] = {
        {"framebuffer",
         [] {
             // The drawing binds a framebuffer without attachments.
             GLuint other = 0;
             glGenFramebuffers(1, &other);
             glBindFramebuffer(GL_FRAMEBUFFER, other);
         },
         "Das Bild konnte nicht gerendert werden: Der Framebuffer von 64 x 48 Pixeln ist "
         "unvollständig (Status 0x8CD7)."},
        {"GL error", [] { glEnable(0xFFFF); },
         "Das Bild konnte nicht gerendert werden: OpenGL meldet den Fehler 0x0500."},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestUi().Reset();
        TestUi().QueueFileChoice(folder.File("picture.bmp"));
        const bool saved = ExportPicture([&] {
            return RenderOffscreen(64, 48, [&](const SOffscreenTile& tile) {
                DrawTile(tile);
                c.breakDrawing();
            });
        });
        EXPECT_FALSE(saved);
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, c.message);
        EXPECT_TRUE(TestUi().FileDialogs().empty()) << "no file is asked for";
        EXPECT_TRUE(TempFolder::Read(folder.File("picture.bmp")).empty());
        GLint bound = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        EXPECT_EQ(bound, 0) << "the window's framebuffer is bound again";
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    // A render that succeeds is saved where the user says, and reads back as drawn.
    TestUi().Reset();
    TestUi().QueueFileChoice(folder.File("picture.bmp"));
    EXPECT_TRUE(ExportPicture([&] { return Render(200, 150); }));
    ASSERT_EQ(TestUi().FileDialogs().size(), 1u);
    EXPECT_TRUE(TestUi().FileDialogs()[0].save);
    const std::unique_ptr<CDIB> read = CDIB::FromFile(folder.File("picture.bmp"), 0);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetWidth(), 200);
    EXPECT_EQ(read->GetHeight(), 150);
    int red = 0;
    for (int x = 0; x < 200; ++x) {
        red += RedInColumn(*read, x);
    }
    EXPECT_GT(red, 200);
}
