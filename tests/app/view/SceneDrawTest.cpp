// The 3D view's picture in a headless context: the camera's matrices put known points where the
// camera says, the elements alive now are drawn and no others, the picture is lit, the
// selection box shows only while a side of it is chosen, the walk hatching keeps its spacing,
// and an off-screen picture drawn in tiles is the picture drawn whole.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "app/view/OffscreenRender.h"
#include "app/view/SceneDraw.h"
#include "app/view/ViewState.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The default camera (eye 130 cm high, 320 cm away, 40° vertical field of view), looking
// straight at the model, for a viewport of the given size.
CCmra StraightCamera(int width, int height) {
    CCmra camera;
    camera.modelTurn = 0;
    camera.eyeUp = 0;
    camera.viewportWidth = width;
    camera.viewportHeight = height;
    camera.Update();
    return camera;
}

// The window position of a world point (mm) through the view's two matrix set-ups.
CVector3 Project(const CCmra& camera, const CVector3& point) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewScene::SetProjection(camera);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    ViewScene::SetModelTransform(camera);
    GLdouble model[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const GLint viewport[4] = {0, 0, camera.viewportWidth, camera.viewportHeight};
    GLdouble x = 0.0;
    GLdouble y = 0.0;
    GLdouble z = 0.0;
    EXPECT_EQ(gluProject(point.x, point.y, point.z, model, projection, viewport, &x, &y, &z),
              GL_TRUE);
    return {x, y, z};
}

// Half the picture height at the camera distance of 3200 mm.
const double kHalfHeight = 3200.0 * std::tan(20.0 * kPi / 180.0);

class SceneMatrices : public GlTest {};

TEST_F(SceneMatrices, KnownPointsLandWhereTheCameraSays) {
    struct Row {
        const char* what;
        int modelTurn;
        int modelTilt;
        int modelHeight; // cm
        int eyeUp;
        CVector3 point; // mm
        double x;       // expected window position in a 200 x 100 viewport
        double y;
    };
    const double h = kHalfHeight;
    const Row rows[] = {
        {"eye height straight ahead", 0, 0, 0, 0, {0.0, 1300.0, 0.0}, 100.0, 50.0},
        {"half a picture height to the right", 0, 0, 0, 0, {h, 1300.0, 0.0}, 150.0, 50.0},
        {"half a picture height below the eye",
         0,
         0,
         0,
         0,
         {0.0, 1300.0 - h / 2, 0.0},
         100.0,
         25.0},
        {"eye offset 55 raises the picture", 0, 0, 0, 55, {0.0, 1300.0, 0.0}, 100.0, 77.5},
        {"model height lowers the model", 0, 0, 30, 0, {0.0, 1600.0, 0.0}, 100.0, 50.0},
        {"turn about y brings +x to the front", 90, 0, 0, 0, {1000.0, 1300.0, 0.0}, 100.0, 50.0},
        // Turn first, then tilt: +x turns to -z, which the tilt lifts to +y.
        {"tilt after turn", 90, 90, 0, 0, {1000.0, 0.0, 0.0}, 100.0, 50.0 - 300.0 / h * 50.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CCmra camera = StraightCamera(200, 100);
        camera.modelTurn = row.modelTurn;
        camera.modelTilt = row.modelTilt;
        camera.modelHeight = row.modelHeight;
        camera.eyeUp = row.eyeUp;
        ASSERT_DOUBLE_EQ(camera.aspect, 2.0);
        const CVector3 at = Project(camera, row.point);
        EXPECT_NEAR(at.x, row.x, 0.01);
        EXPECT_NEAR(at.y, row.y, 0.01);
    }
    ExpectNoGlError("projection");
}

// ---- Elements ---------------------------------------------------------------------------------

TEST_F(SceneMatrices, EveryElementAliveNowIsDrawnAndNoOther) {
    CZarnelDcmt dcmt;
    const Revision first = dcmt.NewRevision();
    CElmnt& kept = dcmt.AddElement(
        std::make_unique<CElmnt>(dcmt.GetIdSource(), first, ElmntKind::Tube, 2, 350.0f, 0.0f));
    CElmnt& ended = dcmt.AddElement(
        std::make_unique<CElmnt>(dcmt.GetIdSource(), first, ElmntKind::Tube, 2, 750.0f, 0.0f));
    const Revision second = dcmt.NewRevision();
    ended.endRevision = second;
    CElmnt& undone = dcmt.AddElement(
        std::make_unique<CElmnt>(dcmt.GetIdSource(), second, ElmntKind::Tube, 2, 150.0f, 0.0f));
    dcmt.OnEditUndo(1, 1600.0);
    ASSERT_EQ(dcmt.GetCurrentRevision(), first);

    const std::vector<SFeedbackToken> tokens = CaptureFeedback([&] {
        const CRndrPass pass(RndrMode::AxisFeedback, nullptr);
        ViewScene::DrawElements(dcmt, pass, ToolMode::AtConnection, DrawFlags::None, nullptr);
    });
    std::vector<uint32_t> drawn;
    for (uint32_t name : PassThroughNames(tokens)) {
        if (name >= ElmntId::First) {
            drawn.push_back(name);
        }
    }
    // The start coupling, the floor grid and the tube, in list order; the tube ended in the
    // second revision is alive at the first one again.
    const CElmntList& list = dcmt.GetElmntList();
    EXPECT_EQ(drawn,
              (std::vector<uint32_t>{list.GetAt(0)->GetId().Value(), list.GetAt(1)->GetId().Value(),
                                     kept.GetId().Value(), ended.GetId().Value()}));

    // Back in the second revision the ended tube is gone and the undone one is there.
    dcmt.OnEditRedo(1, 1600.0);
    const std::vector<SFeedbackToken> redone = CaptureFeedback([&] {
        const CRndrPass pass(RndrMode::AxisFeedback, nullptr);
        ViewScene::DrawElements(dcmt, pass, ToolMode::AtConnection, DrawFlags::None, nullptr);
    });
    const std::vector<uint32_t> names = PassThroughNames(redone);
    EXPECT_EQ(std::count(names.begin(), names.end(), ended.GetId().Value()), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), undone.GetId().Value()), 1);
    ExpectNoGlError("element passes");
}

// ---- Pictures ---------------------------------------------------------------------------------

struct SPixelCounts {
    int nonWhite = 0;
    int black = 0;
    int red = 0;      // clearly red: a lit red tube
    int boxFaces = 0; // white seen through the pale box faces: light, not grey, not white
    int green = 0;
};

SPixelCounts CountScene(const std::vector<uint8_t>& rgba) {
    SPixelCounts counts;
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const int r = rgba[i];
        const int g = rgba[i + 1];
        const int b = rgba[i + 2];
        if (r == 255 && g == 255 && b == 255) {
            continue;
        }
        ++counts.nonWhite;
        counts.black += r == 0 && g == 0 && b == 0 ? 1 : 0;
        counts.red += r > 100 && r > 2 * g && r > 2 * b ? 1 : 0;
        counts.green += g > 200 && r < 50 && b < 50 ? 1 : 0;
        counts.boxFaces += r > 180 && g > 160 && b > 160 && (r < 255 || g < 255 || b < 255) &&
                                   std::abs(r - g) + std::abs(g - b) > 10
                               ? 1
                               : 0;
    }
    return counts;
}

class ScenePicture : public GlTest {
protected:
    ScenePicture() { m_camera = StraightCamera(256, 256); }

    SPixelCounts Draw(ToolMode mode, const std::vector<SWalkBox>& walk = {}) {
        const CBox3 box = CViewState::kDefaultSelectionBox;
        const ViewScene::SScene scene{m_dcmt, m_camera, &m_quality, mode,    DrawFlags::None,
                                      box,    walk,     nullptr,    nullptr, &m_meshes};
        glViewport(0, 0, 256, 256);
        ViewScene::DrawScene(scene);
        ExpectNoGlError("scene");
        return CountScene(m_gl.ReadPixels());
    }

    CZarnelDcmt m_dcmt;
    CCmra m_camera;
    CRndrQult m_quality;
    CMeshCache m_meshes;
};

TEST_F(ScenePicture, LitTubeOnWhite) {
    SRndrQultValues values;
    values.shading = 2;
    values.modell = 2;
    m_quality.SetValues(values);
    // A red tube along x through the middle of the picture, at eye height, 1 m away.
    m_camera.cameraDistance = 100;
    const Revision r = m_dcmt.NewRevision();
    m_dcmt.AddElement(std::make_unique<CElmnt>(m_dcmt.GetIdSource(), r, ElmntKind::Tube, 2,
                                               CTransform({}, CVector3(-175.0, 1300.0, 0.0)), true,
                                               350.0f, 0.0f));
    const SPixelCounts counts = Draw(ToolMode::Select);
    EXPECT_GT(counts.red, 200) << "the tube is not drawn lit in its red";
    // The lit tube is not a black silhouette, and the rest of the picture is the white ground.
    EXPECT_LT(counts.black, counts.red / 4);
    EXPECT_LT(counts.nonWhite, 256 * 256 / 4);
}

TEST_F(ScenePicture, SelectionBoxOnlyWhileASideIsChosen) {
    // Nothing but the box: no elements.
    m_dcmt.DeleteAllElements();
    for (ToolMode mode : {ToolMode::BoxTop, ToolMode::BoxBack}) {
        SCOPED_TRACE(ToolModeCode(mode));
        const SPixelCounts counts = Draw(mode);
        EXPECT_GT(counts.boxFaces, 1000);
        EXPECT_GT(counts.black, 100) << "edges";
    }
    for (ToolMode mode : {ToolMode::Select, ToolMode::SelectGroup, ToolMode::AtConnection,
                          ToolMode::NoSelectionLines, ToolMode::Pan}) {
        SCOPED_TRACE(ToolModeCode(mode));
        EXPECT_EQ(Draw(mode).nonWhite, 0);
    }
}

TEST_F(ScenePicture, WalkHeightsHatchedInGreen) {
    m_dcmt.DeleteAllElements();
    const std::vector<SWalkBox> walk = {{-500.0, 500.0, -500.0, 500.0, 1000.0}};
    EXPECT_GT(Draw(ToolMode::Select, walk).green, 100);
    EXPECT_EQ(Draw(ToolMode::Select).green, 0);

    // A box 100 mm wide on both axes: lines at -25, 0, ..., 125 from its minimum, seven on
    // each axis, 25 mm beyond the box on both ends, 26 mm above its height.
    const std::vector<SWalkBox> small = {{0.0, 100.0, 200.0, 300.0, 400.0}};
    const std::vector<SFeedbackToken> tokens =
        CaptureFeedback([&] { ViewScene::DrawWalkBoxes(small); });
    std::vector<double> alongZ;
    std::vector<double> alongX;
    for (const SFeedbackToken& token : tokens) {
        ASSERT_EQ(token.type, static_cast<GLenum>(GL_LINE_TOKEN));
        const CVector3& a = token.vertices[0];
        const CVector3& b = token.vertices[1];
        EXPECT_NEAR(a.y, 426.0, 0.01);
        if (std::abs(a.x - b.x) < 0.01) {
            alongZ.push_back(a.x);
            EXPECT_NEAR(std::min(a.z, b.z), 175.0, 0.5);
            EXPECT_NEAR(std::max(a.z, b.z), 325.0, 0.5);
        } else {
            alongX.push_back(a.z);
        }
    }
    EXPECT_EQ(alongZ, (std::vector<double>{-25.0, 0.0, 25.0, 50.0, 75.0, 100.0, 125.0}));
    ASSERT_EQ(alongX.size(), 7u);
    EXPECT_NEAR(alongX.front(), 175.0, 0.5);
    EXPECT_NEAR(alongX.back(), 325.0, 0.5);
}

// ---- Off-screen -------------------------------------------------------------------------------

TEST_F(ScenePicture, PictureInTilesIsThePictureWhole) {
    SRndrQultValues values;
    values.shading = 2;
    m_quality.SetValues(values);
    const Revision r = m_dcmt.NewRevision();
    m_dcmt.AddElement(std::make_unique<CElmnt>(m_dcmt.GetIdSource(), r, ElmntKind::Tube, 2,
                                               CTransform({}, CVector3(-350.0, 1200.0, 0.0)), true,
                                               750.0f, 0.0f));
    m_camera = StraightCamera(200, 150);
    m_camera.cameraDistance = 100;
    const CBox3 box = CViewState::kDefaultSelectionBox;
    const ViewScene::SScene scene{m_dcmt, m_camera, &m_quality, ToolMode::BoxTop, DrawFlags::None,
                                  box,    {},       nullptr,    nullptr,          &m_meshes};
    auto render = [&](int maxTile) {
        return RenderOffscreen(
            200, 150,
            [&](const SOffscreenTile& tile) {
                const std::array<double, 16> prefix = tile.ProjectionPrefix();
                ViewScene::DrawScene(scene, &prefix);
            },
            SOffscreenOptions{maxTile, std::nullopt});
    };
    std::unique_ptr<CDIB> whole = render(0);
    std::unique_ptr<CDIB> tiled = render(64);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(tiled, nullptr);
    ASSERT_EQ(whole->GetWidth(), 200);
    ASSERT_EQ(whole->GetHeight(), 150);
    int differing = 0;
    int red = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            const uint32_t colour = whole->GetPixel(x, y);
            differing += colour != tiled->GetPixel(x, y) ? 1 : 0;
            const int rr = static_cast<int>(colour >> 16 & 0xFF);
            red += rr > 100 && rr > 2 * static_cast<int>(colour >> 8 & 0xFF) ? 1 : 0;
        }
    }
    EXPECT_GT(red, 200) << "nothing drawn";
    // Tile borders may round a few edge pixels differently, nothing more.
    EXPECT_LT(differing, 200 * 150 / 100);

    // The window's framebuffer and viewport are bound again.
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    ExpectNoGlError("off-screen");
}

TEST_F(ScenePicture, PictureWithoutAreaIsRefused) {
    int draws = 0;
    EXPECT_EQ(RenderOffscreen(0, 10, [&](const SOffscreenTile&) { ++draws; }), nullptr);
    EXPECT_EQ(RenderOffscreen(10, CDIB::kMaxSide + 1, [&](const SOffscreenTile&) { ++draws; }),
              nullptr);
    EXPECT_EQ(draws, 0);
}

TEST(OffscreenWithoutContext, ReportsInsteadOfAnEmptyPicture) {
    TestUi().Reset();
    EXPECT_EQ(RenderOffscreen(10, 10, [](const SOffscreenTile&) {}), nullptr);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Das Bild konnte nicht gerendert werden: Es ist kein OpenGL-Kontext aktiv.");
}

} // namespace
