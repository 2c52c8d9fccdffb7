// Quality profiles: the profile section (defaults, ranges, writing back at the end) and the GL
// state that the settings give, in a headless context.
#include <cstdint>
#include <vector>

#include <GL/gl.h>

#include "app/render/RndrQult.h"
#include "support/Profile.h"
#include "tests/harness/GlTestContext.h"

namespace {

constexpr int kAbsent = -12345;

// The six values as they are stored in a section, kAbsent where one is missing.
SRndrQultValues Stored(const std::string& section) {
    SRndrQultValues values;
    values.shading = GetProfileInt(section, "shading", kAbsent);
    values.textureMax = GetProfileInt(section, "textureMax", kAbsent);
    values.textureMin = GetProfileInt(section, "textureMin", kAbsent);
    values.texture = GetProfileInt(section, "texture", kAbsent);
    values.texturePerspective = GetProfileInt(section, "texturePerspective", kAbsent);
    values.modell = GetProfileInt(section, "modell", kAbsent);
    return values;
}

SRndrQultValues Values(int shading, int textureMax, int textureMin, int texture,
                       int texturePerspective, int modell) {
    SRndrQultValues values;
    values.shading = shading;
    values.textureMax = textureMax;
    values.textureMin = textureMin;
    values.texture = texture;
    values.texturePerspective = texturePerspective;
    values.modell = modell;
    return values;
}

} // namespace

TEST(RndrQultProfile, MissingSectionGivesTheDefaultsAndIsWrittenAtTheEnd) {
    {
        CRndrQult quality("RndrQultHigh");
        EXPECT_EQ(quality.GetValues(), Values(2, 0, 0, 1, 0, 2));
        EXPECT_EQ(Stored("RndrQultHigh").shading, kAbsent); // reading creates nothing
    }
    EXPECT_EQ(Stored("RndrQultHigh"), Values(2, 0, 0, 1, 0, 2));
}

TEST(RndrQultProfile, ChangedValuesSurviveTheRun) {
    const SRndrQultValues changed = Values(1, 1, 5, 0, 1, 3);
    {
        CRndrQult quality("RndrQultLow");
        quality.SetValues(changed);
    }
    CRndrQult again("RndrQultLow");
    EXPECT_EQ(again.GetValues(), changed);
}

TEST(RndrQultProfile, AtTheEndOnlyTheValuesChangedHereAreWritten) {
    const std::string section = "RndrQultTwoCopies";
    { CRndrQult first(section); }
    {
        CRndrQult quality(section);
        // Another running copy of the program changes the shading meanwhile; this one changes
        // the modelling detail.
        ASSERT_TRUE(WriteProfileInt(section, "shading", 1));
        SRndrQultValues values = quality.GetValues();
        values.modell = 3;
        quality.SetValues(values);
    }
    EXPECT_EQ(Stored(section), Values(1, 0, 0, 1, 0, 3));
}

TEST(RndrQultProfile, ValuesOutOfRangeAreReadAsTheirDefaults) {
    const std::string section = "RndrQultRange";
    ASSERT_TRUE(WriteProfileInt(section, "shading", 4));
    ASSERT_TRUE(WriteProfileInt(section, "textureMax", -1));
    ASSERT_TRUE(WriteProfileInt(section, "textureMin", 6));
    ASSERT_TRUE(WriteProfileInt(section, "texture", 2));
    ASSERT_TRUE(WriteProfileInt(section, "texturePerspective", 1));
    ASSERT_TRUE(WriteProfileInt(section, "modell", 99));
    CRndrQult quality(section);
    EXPECT_EQ(quality.GetValues(), Values(2, 0, 0, 1, 1, 2));
}

TEST(RndrQultProfile, SetValuesKeepsTheRanges) {
    CRndrQult quality;
    quality.SetValues(Values(3, 1, 5, 1, 1, 3));
    EXPECT_EQ(quality.GetValues(), Values(3, 1, 5, 1, 1, 3));
    quality.SetValues(Values(-1, 2, -3, 7, 2, 4));
    EXPECT_EQ(quality.GetValues(), SRndrQultValues::ProfileDefaults());
}

TEST(RndrQultProfile, WithoutSectionEverythingIsZeroAndNothingIsWritten) {
    CRndrQult quality;
    EXPECT_EQ(quality.GetValues(), Values(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(quality.GetDetail(), 4);
    EXPECT_FALSE(quality.WriteBack());
}

TEST(RndrQultProfile, DetailStrideByModelling) {
    CRndrQult quality;
    const int expected[] = {4, 2, 1, 1};
    for (int modell = 0; modell < 4; ++modell) {
        SCOPED_TRACE(modell);
        quality.SetValues(Values(0, 0, 0, 0, 0, modell));
        EXPECT_EQ(quality.GetDetail(), expected[modell]);
    }
}

namespace {

class RndrQultGl : public GlTest {
protected:
    static GLint Integer(GLenum name) {
        GLint value = -1;
        glGetIntegerv(name, &value);
        return value;
    }
    static GLint TexParameter(GLenum name) {
        GLint value = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }
    // A width x height texture of one colour, as bitmap rows of blue, green, red.
    static std::vector<uint8_t> SolidBgr(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
        const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
        std::vector<uint8_t> rows(stride * static_cast<size_t>(height), 0xEE);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* pixel =
                    &rows[stride * static_cast<size_t>(y) + 3 * static_cast<size_t>(x)];
                pixel[0] = b;
                pixel[1] = g;
                pixel[2] = r;
            }
        }
        return rows;
    }
};

} // namespace

TEST_F(RndrQultGl, UnlitShadingSwitchesLightingAndTexturingOff) {
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    CRndrQult quality;
    quality.SetValues(Values(0, 0, 0, 1, 0, 2));
    EXPECT_FALSE(quality.ApplyGl());
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    ExpectNoGlError("ApplyGl");
}

TEST_F(RndrQultGl, FlatAndGouraudShading) {
    CRndrQult quality;
    quality.SetValues(Values(1, 0, 0, 1, 0, 2));
    EXPECT_TRUE(quality.ApplyGl());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
    quality.SetValues(Values(2, 0, 0, 1, 0, 2));
    EXPECT_TRUE(quality.ApplyGl());
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    ExpectNoGlError("ApplyGl");
}

TEST_F(RndrQultGl, PhongShadingDoesNotInheritThePreviousElementsState) {
    // An element drawn unlit and flat before must not leave its state to the next one.
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    CRndrQult quality;
    quality.SetValues(Values(3, 0, 0, 1, 0, 2));
    EXPECT_TRUE(quality.ApplyGl());
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
}

TEST_F(RndrQultGl, TextureMappingOffTouchesNothing) {
    CRndrQult quality;
    quality.SetValues(Values(2, 1, 1, 0, 1, 2));
    quality.ApplyGl();
    const std::vector<uint8_t> rows = SolidBgr(4, 4, 255, 0, 0);
    EXPECT_FALSE(quality.ApplyTexture(4, 4, rows.data()));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR); // GL's initial
    ExpectNoGlError("ApplyTexture");
}

TEST_F(RndrQultGl, FiltersAndHintFollowTheProfile) {
    const GLint minFilters[] = {GL_NEAREST,
                                GL_LINEAR,
                                GL_NEAREST_MIPMAP_NEAREST,
                                GL_LINEAR_MIPMAP_NEAREST,
                                GL_NEAREST_MIPMAP_LINEAR,
                                GL_LINEAR_MIPMAP_LINEAR};
    const std::vector<uint8_t> rows = SolidBgr(8, 4, 0, 255, 0);
    CRndrQult quality;
    for (int textureMin = 0; textureMin < 6; ++textureMin) {
        SCOPED_TRACE(textureMin);
        const int textureMax = textureMin % 2;
        const int perspective = 1 - textureMin % 2;
        quality.SetValues(Values(2, textureMax, textureMin, 1, perspective, 2));
        ASSERT_TRUE(quality.ApplyTexture(8, 4, rows.data()));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), minFilters[textureMin]);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), textureMax == 0 ? GL_NEAREST : GL_LINEAR);
        EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), perspective ? GL_NICEST : GL_FASTEST);
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_GT(width, 0);
        // Mipmap filters build the smaller levels as well.
        GLint levelOneWidth = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
        EXPECT_EQ(levelOneWidth > 0, textureMin >= 2);
        ExpectNoGlError("ApplyTexture");
    }
}

TEST_F(RndrQultGl, TexturePixelsAreBlueGreenRed) {
    // An odd width exercises the row padding of bitmap rows.
    const std::vector<uint8_t> rows = SolidBgr(5, 3, 255, 0, 0);
    CRndrQult quality;
    quality.SetValues(Values(0, 0, 0, 1, 0, 2));
    ASSERT_TRUE(quality.ApplyTexture(5, 3, rows.data()));
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    glFinish();
    ExpectNoGlError("textured quad");
    EXPECT_EQ(CountPixelsNotEqual(255, 0, 0), 0);
}
