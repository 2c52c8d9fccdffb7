// Pictures of the element kinds side by side, lit and textured as the photo-quality profile
// draws them, written as bitmaps into the build folder for people to look at. The checks only
// make sure that every kind left its mark in the picture.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/render/ElmntDraw.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "model/Mtrl.h"
#include "support/DIB.h"
#include "tests/app/render/KindPlacements.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr int Width = 1200;
constexpr int Height = 720;
class KindPicture : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        std::string error;
        ASSERT_TRUE(m_gl.Create(Width, Height, error)) << error;
        m_materials.assign(MtrlSlotCount, nullptr);
        for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
            m_owned.push_back(CMtrl::CreateDefault(slot));
            m_materials[static_cast<std::size_t>(slot)] = m_owned.back().get();
        }
        ASSERT_TRUE(WriteCheckedTexture(m_folder.File("checks.bmp")));
        m_owned.push_back(std::make_unique<CMtrl>(*m_owned[9]));
        m_owned.back()->SetTextureFile(m_folder.File("checks.bmp"));
        m_materials[TexturedSlot] = m_owned.back().get();
        SRndrQultValues values = SRndrQultValues::ProfileDefaults();
        values.shading = 2;
        values.texture = 1;
        values.modell = 3;
        m_quality.SetValues(values);
    }

    // Draws the elements under a light from above, seen from eye towards centre (mm), and
    // writes the picture. Returns the number of elements that changed the picture.
    int Render(const std::vector<SPlaced>& placed, CVector3 eye, CVector3 centre,
               const std::string& name) {
        glViewport(0, 0, Width, Height);
        glClearColor(0.85f, 0.9f, 0.95f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(30.0, double(Width) / Height, 100.0, 30000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0.0, 1.0, 0.0);
        const GLfloat position[] = {0.4f, 1.0f, 0.7f, 0.0f};
        const GLfloat ambient[] = {0.35f, 0.35f, 0.35f, 1.0f};
        const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
        glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_SPECULAR, diffuse);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
        glEnable(GL_LIGHT0);
        glEnable(GL_NORMALIZE);
        CElmntIdSource ids;
        const CRndrPass pass(RndrMode::Draw, &m_quality, &m_meshes);
        int marked = 0;
        std::vector<uint8_t> before = m_gl.ReadPixels();
        for (const SPlaced& p : placed) {
            DrawElmnt(*MakePlaced(ids, 1, p), pass, m_materials, 1, ToolMode::NoSelectionLines,
                      DrawFlags::None);
            std::vector<uint8_t> after = m_gl.ReadPixels();
            marked += after != before ? 1 : 0;
            before = std::move(after);
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        Write(before, std::string(ZARNEL_ARTIFACT_DIR) + "/" + name);
        return marked;
    }

    static void Write(const std::vector<uint8_t>& rgba, const std::string& path) {
        CDIB picture;
        ASSERT_TRUE(picture.Create(Width, Height, 24, 0));
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const uint8_t* p = &rgba[(static_cast<std::size_t>(y) * Width + x) * 4];
                picture.SetPixel(x, y, uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
            }
        }
        EXPECT_TRUE(picture.Save(path));
    }

    TempFolder m_folder;
    std::vector<std::unique_ptr<CMtrl>> m_owned;
    std::vector<const CMtrl*> m_materials;
    CRndrQult m_quality;
    CMeshCache m_meshes;
};

} // namespace

TEST_F(KindPicture, PanelsWoodLatticeAndTextiles) {
    const std::vector<SPlaced> placed = PanelsAndTextiles();
    EXPECT_EQ(Render(placed, {800, 2600, -1800}, {800, 0, 800}, "render-panels.bmp"),
              static_cast<int>(placed.size()));
}

TEST_F(KindPicture, WheelsCapsClampsAndProfiles) {
    const std::vector<SPlaced> placed =
        Joined(WheelsAndCaps(), {{ElmntKind::AluConnector, 300, 0, {900, 0, 650}, 11}});
    EXPECT_EQ(Render(placed, {500, 1300, -1100}, {500, 0, 350}, "render-parts.bmp"),
              static_cast<int>(placed.size()));
}

TEST_F(KindPicture, SlidesPoolsAndRoofs) {
    const std::vector<SPlaced> placed = Joined(Slides(), PoolsAndRoofs());
    EXPECT_EQ(Render(placed, {-6500, 4500, 4500}, {-200, -200, 500}, "render-slides.bmp"),
              static_cast<int>(placed.size()));
}

// The kept tessellations draw the picture that drawing everything anew draws: the same pixels
// but for single ones where the rasteriser splits a quad or strip differently. Slides and
// couplings in one picture, wheels, caps, clamps, clips and couplings with arms in another.
TEST_F(KindPicture, KeptTessellationsDrawThePictureDrawnAnew) {
    struct SScene {
        std::vector<SPlaced> placed;
        CVector3 eye;
        CVector3 centre;
        std::string name;
    };
    const std::vector<SScene> scenes = {
        {Joined(Slides(),
                {
                    {ElmntKind::Connector, 0, 0, {-1000, 0, 0}, 2},
                    {ElmntKind::HoleConnector, 0, 0, {-1000, 0, 600}, 3},
                    {ElmntKind::FlexiConnector, 0, 0, {-1000, 0, -600}, 4},
                }),
         {-4500, 3500, 3500},
         {-200, 300, 500},
         "kept-slides"},
        {Joined(WheelsAndCaps(), Couplings()), {500, 1500, -1100}, {500, 0, 450}, "kept-parts"},
    };
    for (const SScene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        std::vector<uint8_t> anew;
        {
            const CMeshKeepingScope drawnAnew(m_meshes, false);
            Render(scene.placed, scene.eye, scene.centre, "render-" + scene.name + "-anew.bmp");
            anew = m_gl.ReadPixels();
        }
        EXPECT_TRUE(m_meshes.IsKeeping());
        m_meshes.Clear();
        Render(scene.placed, scene.eye, scene.centre, "render-" + scene.name + "-first.bmp");
        const std::size_t kept = m_meshes.GetCount();
        EXPECT_GT(kept, 0u);
        Render(scene.placed, scene.eye, scene.centre, "render-" + scene.name + ".bmp");
        EXPECT_EQ(m_meshes.GetCount(), kept); // drawn from the kept meshes, nothing new
        const std::vector<uint8_t> fromKept = m_gl.ReadPixels();
        const SPictureComparison seen = ComparePictures(anew, fromKept, {217, 230, 242}, 6);
        EXPECT_GT(seen.drawn, 20000);
        EXPECT_LT(seen.different, seen.drawn / 200)
            << seen.different << " of " << seen.drawn << " pixels differ";
    }
}

// A kept mesh is keyed by its detail: after a profile's detail changes, the shapes of the new
// detail are drawn, not the ones kept at the old.
TEST_F(KindPicture, KeptTessellationsFollowTheProfilesDetail) {
    const std::vector<SPlaced> placed = Joined(Slides(), WheelsAndCaps());
    const CVector3 eye{-3000, 3000, -2500};
    const CVector3 centre{300, 200, 400};
    Render(placed, eye, centre, "render-fine-fresh.bmp");
    const std::vector<uint8_t> fresh = m_gl.ReadPixels();
    m_meshes.Clear();
    SRndrQultValues coarse = m_quality.GetValues();
    coarse.modell = 0;
    const SRndrQultValues fine = m_quality.GetValues();
    m_quality.SetValues(coarse);
    Render(placed, eye, centre, "render-coarse.bmp");
    const std::vector<uint8_t> coarsePicture = m_gl.ReadPixels();
    m_quality.SetValues(fine);
    Render(placed, eye, centre, "render-fine-after-coarse.bmp");
    EXPECT_NE(coarsePicture, fresh);
    EXPECT_EQ(m_gl.ReadPixels(), fresh);
}
