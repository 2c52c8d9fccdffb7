// Materials applied to GL state: nothing outside the draw pass; lit and unlit drawing; the
// highlight of selected elements, textured ones included; textures loaded once.
#include <array>
#include <string>

#include <GL/gl.h>

#include "app/render/MtrlGl.h"
#include "app/render/RndrPass.h"
#include "app/render/RndrQult.h"
#include "model/Mtrl.h"
#include "support/DIB.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

SRndrQultValues Quality(int shading, int texture) {
    SRndrQultValues values = SRndrQultValues::ProfileDefaults();
    values.shading = shading;
    values.texture = texture;
    return values;
}

std::array<float, 4> Material(GLenum face, GLenum name) {
    std::array<float, 4> value{-1, -1, -1, -1};
    glGetMaterialfv(face, name, value.data());
    return value;
}

std::array<float, 4> CurrentColor() {
    std::array<float, 4> value{-1, -1, -1, -1};
    glGetFloatv(GL_CURRENT_COLOR, value.data());
    return value;
}

class MtrlGlApply : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        m_material = CMtrl::CreateDefault(10); // the mirror: front and back differ
    }

    std::unique_ptr<CMtrl> m_material;
};

} // namespace

TEST_F(MtrlGlApply, OnlyTheDrawPassChangesState) {
    CRndrQult quality;
    quality.SetValues(Quality(2, 1));
    const std::array<float, 4> grey{0.25f, 0.25f, 0.25f, 1.0f};
    glDisable(GL_LIGHTING);
    glColor4fv(grey.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, grey.data());
    for (RndrMode mode : {RndrMode::Select, RndrMode::AxisFeedback, RndrMode::SurfaceFeedback}) {
        SCOPED_TRACE(static_cast<int>(mode));
        CRndrPass pass(mode, &quality);
        MtrlGl::Apply(*m_material, pass, true, true);
        MtrlGl::SetPlainColor(*m_material, pass, false);
        EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
        EXPECT_EQ(CurrentColor(), grey);
        EXPECT_EQ(Material(GL_FRONT, GL_AMBIENT), grey);
    }
    ExpectNoGlError("other passes");
}

TEST_F(MtrlGlApply, LitDrawingSetsFrontAndBack) {
    CRndrQult quality;
    quality.SetValues(Quality(2, 1));
    CRndrPass pass(RndrMode::Draw, &quality);
    MtrlGl::Apply(*m_material, pass, false, false);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(Material(GL_FRONT, GL_AMBIENT), m_material->GetFront().ambient);
    EXPECT_EQ(Material(GL_FRONT, GL_DIFFUSE), m_material->GetFront().diffuse);
    EXPECT_EQ(Material(GL_FRONT, GL_SPECULAR), m_material->GetFront().specular);
    EXPECT_EQ(Material(GL_BACK, GL_DIFFUSE), m_material->GetBack().diffuse);
    EXPECT_EQ(Material(GL_BACK, GL_SPECULAR), m_material->GetBack().specular);
    GLfloat shininess = -1;
    glGetMaterialfv(GL_BACK, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 7.5f);
    ExpectNoGlError("lit drawing");
}

// A design file may carry a shininess outside what GL takes (0 to 128): GL would refuse it and
// leave the element before's in force, and an off-screen picture would fail on the error.
TEST_F(MtrlGlApply, ShininessBeyondGlsRangeIsHeldToIt) {
    SLightFactors outside = m_material->GetOutside();
    outside.shininess = -7.5f;
    m_material->SetOutside(outside);
    SLightFactors inside = m_material->GetInside();
    inside.shininess = 500.0f;
    m_material->SetInside(inside);
    CRndrQult quality;
    quality.SetValues(Quality(2, 1));
    CRndrPass pass(RndrMode::Draw, &quality);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 30.0f);
    MtrlGl::Apply(*m_material, pass, false, false);
    ExpectNoGlError("shininess out of range");
    EXPECT_EQ(Material(GL_FRONT, GL_SHININESS)[0], 0.0f);
    EXPECT_EQ(Material(GL_BACK, GL_SHININESS)[0], 128.0f);
}

TEST_F(MtrlGlApply, SelectedGetsTheHighlightOnBothFaces) {
    CRndrQult quality;
    quality.SetValues(Quality(1, 1));
    CRndrPass pass(RndrMode::Draw, &quality);
    MtrlGl::Apply(*m_material, pass, true, false);
    const std::array<float, 4> turquoise{0.0f, 0.8f, 0.8f, 1.0f};
    EXPECT_EQ(Material(GL_FRONT, GL_AMBIENT), turquoise);
    EXPECT_EQ(Material(GL_BACK, GL_AMBIENT), turquoise);
    EXPECT_EQ(Material(GL_BACK, GL_DIFFUSE), (std::array<float, 4>{0, 0, 0, 1}));
}

TEST_F(MtrlGlApply, UnlitDrawingSetsAPlainColour) {
    CRndrQult quality; // shading 0
    CRndrPass pass(RndrMode::Draw, &quality);
    glEnable(GL_LIGHTING);
    MtrlGl::Apply(*m_material, pass, false, false);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(CurrentColor(), m_material->GetFront().diffuse);
    MtrlGl::Apply(*m_material, pass, true, false);
    EXPECT_EQ(CurrentColor(), m_material->GetHighlight().ambient);
}

TEST_F(MtrlGlApply, PlainColourForLattices) {
    CRndrQult quality;
    quality.SetValues(Quality(2, 1));
    CRndrPass pass(RndrMode::Draw, &quality);
    glEnable(GL_LIGHTING);
    MtrlGl::SetPlainColor(*m_material, pass, false);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(CurrentColor(), m_material->GetFront().diffuse);
    MtrlGl::SetPlainColor(*m_material, pass, true);
    EXPECT_EQ(CurrentColor(), m_material->GetHighlight().ambient);
}

TEST_F(MtrlGlApply, TextureReplacesTheColourButNotTheHighlight) {
    TempFolder folder;
    {
        CDIB bitmap;
        CDIB::SetDefaultStorage(CDIB::Storage::Memory);
        ASSERT_TRUE(bitmap.Create(4, 4, 24, 0x0000FF));
        ASSERT_TRUE(bitmap.Save(folder.File("t.bmp")));
    }
    m_material->SetTextureFile(folder.File("t.bmp"));
    CRndrQult quality;
    quality.SetValues(Quality(2, 1));
    CRndrPass pass(RndrMode::Draw, &quality);

    MtrlGl::Apply(*m_material, pass, false, true);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_DECAL);

    // A routine without texture coordinates draws the colour.
    MtrlGl::Apply(*m_material, pass, false, false);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Material(GL_FRONT, GL_DIFFUSE), m_material->GetFront().diffuse);

    // Selected: the highlight, not the texture.
    MtrlGl::Apply(*m_material, pass, true, true);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Material(GL_FRONT, GL_AMBIENT), m_material->GetHighlight().ambient);

    // Texture mapping off: the colour.
    quality.SetValues(Quality(2, 0));
    MtrlGl::Apply(*m_material, pass, false, true);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Material(GL_FRONT, GL_DIFFUSE), m_material->GetFront().diffuse);
    ExpectNoGlError("textured material");
}

TEST_F(MtrlGlApply, MissingTextureIsReportedOnceForAllElementsAndFrames) {
    m_material->SetTextureFile("/nowhere/at/all.bmp");
    CRndrQult quality;
    quality.SetValues(Quality(2, 1));
    CRndrPass pass(RndrMode::Draw, &quality);
    for (int frame = 0; frame < 3; ++frame) {
        for (int element = 0; element < 20; ++element) {
            MtrlGl::Apply(*m_material, pass, false, true);
        }
    }
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Material(GL_FRONT, GL_DIFFUSE), m_material->GetFront().diffuse);
}
