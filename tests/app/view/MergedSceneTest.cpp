// The elements gathered into merged geometry draw the picture that drawing them one by one
// draws: lit and highlighted, with textured elements drawn by themselves, and again after an
// element moved, when only its run of elements is gathered anew; a copy pasted in place too.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/render/MergedScene.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "app/view/SceneDraw.h"
#include "app/view/ViewState.h"
#include "model/Clipboard.h"
#include "model/Cmra.h"
#include "model/Coupling.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;

class MergedScene : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        std::string error;
        ASSERT_TRUE(m_gl.Create(kWidth, kHeight, error)) << error;
        ASSERT_TRUE(m_dcmt.LoadFile(ZARNEL_DATA_DIR "/play-tower.zdf"));
        SRndrQultValues values = SRndrQultValues::ProfileDefaults();
        values.shading = 2;
        values.texture = 1;
        values.modell = 2;
        m_quality.SetValues(values);
        m_camera.viewportWidth = kWidth;
        m_camera.viewportHeight = kHeight;
        m_camera.modelTilt = 10;
        m_camera.modelTurn = 35;
        m_camera.modelHeight = 110;
        m_camera.modelLeftRight = 130;
        m_camera.modelDistance = 300;
        m_camera.Update();
    }

    std::vector<uint8_t> Draw(CMergedScene* merged) {
        const CBox3 box = CViewState::kDefaultSelectionBox;
        const ViewScene::SScene scene{m_dcmt, m_camera, &m_quality, ToolMode::Select, m_drawFlags,
                                      box,    {},       nullptr,    merged,           &m_meshes};
        glViewport(0, 0, kWidth, kHeight);
        ViewScene::DrawScene(scene);
        ExpectNoGlError("scene");
        return m_gl.ReadPixels();
    }

    // The merged picture against the one drawn element by element: the same but for a few
    // pixels where faces of two elements lie in one plane.
    void ExpectSamePicture(const std::vector<uint8_t>& merged, const char* when) {
        const std::vector<uint8_t> single = Draw(nullptr);
        const SPictureComparison seen = ComparePictures(single, merged, {255, 255, 255}, 6);
        EXPECT_GT(seen.drawn, kWidth * kHeight / 10) << when;
        EXPECT_LT(seen.different, seen.drawn / 300)
            << when << ": " << seen.different << " of " << seen.drawn;
    }

    CZarnelDcmt m_dcmt;
    DrawFlags m_drawFlags = DrawFlags::None;
    CCmra m_camera;
    CRndrQult m_quality;
    CMeshCache m_meshes;
    TempFolder m_folder;
};

TEST_F(MergedScene, GatheredPictureIsThePictureDrawnElementByElement) {
    RecordingUserInterface ui;
    // One material textured (its elements are drawn by themselves) and a few elements
    // highlighted.
    CDIB texture;
    ASSERT_TRUE(texture.Create(16, 16, 24, 0));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            texture.SetPixel(x, y, ((x / 4 + y / 4) % 2) != 0 ? 0x2060c0u : 0xf0e0a0u);
        }
    }
    ASSERT_TRUE(texture.Save(m_folder.File("checks.bmp")));
    int selected = 0;
    CElmnt* moved = nullptr;
    for (CElmnt& elmnt : m_dcmt.GetAliveElements()) {
        if (elmnt.kind == ElmntKind::Panel || elmnt.kind == ElmntKind::Slide) {
            if (CMtrl* material = m_dcmt.GetMaterial(elmnt.GetMaterial())) {
                material->SetTextureFile(m_folder.File("checks.bmp"));
            }
        } else if (elmnt.kind == ElmntKind::Tube && selected < 3) {
            elmnt.Select();
            ++selected;
        } else if (elmnt.kind == ElmntKind::Connector) {
            moved = &elmnt;
        }
    }
    ASSERT_EQ(selected, 3);
    ASSERT_NE(moved, nullptr);

    CMergedScene merged;
    const std::vector<uint8_t> first = Draw(&merged);
    EXPECT_GT(merged.GetRunsGathered(), 0u);
    ExpectSamePicture(first, "gathered");

    // Nothing changed: nothing is gathered again, and the picture is the same to the pixel.
    EXPECT_EQ(Draw(&merged), first);
    EXPECT_EQ(merged.GetRunsGathered(), 0u);
    EXPECT_GT(merged.GetMergedCalls(), 0u);

    // A look at the selected elements alone is drawn one by one and leaves the gathering alone.
    m_drawFlags = DrawFlags::OnlySelected;
    EXPECT_NE(Draw(&merged), first);
    EXPECT_EQ(merged.GetMergedCalls(), 0u);
    m_drawFlags = DrawFlags::None;
    EXPECT_EQ(Draw(&merged), first);
    EXPECT_EQ(merged.GetRunsGathered(), 0u);

    // Looking away from the tower, its geometry is not sent; the picture (the floor grid) is
    // the one drawn element by element.
    const std::size_t wholeCalls = merged.GetMergedCalls();
    m_camera.modelTurn += 180;
    m_camera.Update();
    const std::vector<uint8_t> away = Draw(&merged);
    EXPECT_LT(merged.GetMergedCalls(), wholeCalls);
    EXPECT_EQ(away, Draw(nullptr));
    m_camera.modelTurn -= 180;
    m_camera.Update();

    // From far away most triangles are smaller than a pixel: those that cover no pixel centre
    // are not sent, and the picture is the same to the pixel.
    m_camera.modelDistance = 1500;
    m_camera.Update();
    merged.SetCoverageCull(false);
    const std::vector<uint8_t> everyTriangle = Draw(&merged);
    const std::size_t allTriangles = merged.GetTrianglesSent();
    merged.SetCoverageCull(true);
    EXPECT_EQ(Draw(&merged), everyTriangle);
    EXPECT_LT(merged.GetTrianglesSent(), allTriangles / 2);
    EXPECT_NE(everyTriangle, std::vector<uint8_t>(everyTriangle.size(), 255)); // not blank
    m_camera.modelDistance = 300;
    m_camera.Update();

    // One element moved: its run alone is gathered anew.
    moved->Translate(0.0, 300.0, 0.0);
    const std::vector<uint8_t> afterMove = Draw(&merged);
    EXPECT_EQ(merged.GetRunsGathered(), 1u);
    EXPECT_NE(afterMove, first);
    ExpectSamePicture(afterMove, "after a move");

    // Another material: everything is gathered anew.
    m_dcmt.GetMaterial(moved->GetMaterial())->SetTextureFile(m_folder.File("checks.bmp"));
    ExpectSamePicture(Draw(&merged), "after a material change");
    EXPECT_EQ(merged.GetRunsGathered(),
              (m_dcmt.GetElmntList().Size() + CMergedScene::kRunLength - 1) /
                  CMergedScene::kRunLength);
}

// A copy pasted in place lies exactly on its original; its highlight shows all the same.
TEST_F(MergedScene, ACopyPastedInPlaceShowsItsHighlight) {
    RecordingUserInterface ui;
    for (CElmnt& elmnt : m_dcmt.GetAliveElements()) {
        elmnt.Select();
    }
    const std::optional<std::string> text = CopySelectionText(m_dcmt);
    m_dcmt.ClearSelection(2, CouplingSnap::NormalSq);
    const std::vector<uint8_t> before = Draw(nullptr);
    ASSERT_TRUE(text && PasteText(m_dcmt, *text));
    CMergedScene merged;
    const std::vector<uint8_t> after = Draw(&merged);
    EXPECT_GT(ComparePictures(before, after, {255, 255, 255}, 6).different, 300)
        << "the copy's highlight";
    ExpectSamePicture(after, "pasted in place");
}

} // namespace
