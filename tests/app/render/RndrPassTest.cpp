// Render passes in a headless context: which names each pass emits into a selection or feedback
// buffer, and that a name crosses a feedback buffer bit for bit.
#include <cstdint>
#include <vector>

#include <GL/gl.h>

#include "app/render/RndrPass.h"
#include "app/render/RndrQult.h"
#include "tests/harness/GlTestContext.h"

namespace {

// The pass-through tokens of a feedback buffer, as names; fails on any other token.
std::vector<uint32_t> PassThroughNames(const std::vector<GLfloat>& buffer, GLint count) {
    std::vector<uint32_t> names;
    for (GLint i = 0; i < count; i += 2) {
        EXPECT_EQ(buffer[i], static_cast<GLfloat>(GL_PASS_THROUGH_TOKEN)) << "at " << i;
        if (i + 1 < count) {
            names.push_back(CRndrPass::TokenToName(buffer[i + 1]));
        }
    }
    return names;
}

class RndrPassFeedback : public GlTest {
protected:
    // Runs the pass's four name operations in feedback mode and returns the names emitted.
    std::vector<uint32_t> EmitAll(RndrMode mode) {
        CRndrQult quality;
        CRndrPass pass(mode, &quality);
        std::vector<GLfloat> buffer(64, -1.0f);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        pass.LoadName(2001);
        pass.LoadNameMarker(2002);
        pass.PushName(2003);
        pass.PopName();
        GLint count = glRenderMode(GL_RENDER);
        ExpectNoGlError("feedback pass");
        return PassThroughNames(buffer, count);
    }
};

void DrawTriangle() {
    glBegin(GL_TRIANGLES);
    glVertex3f(-0.5f, -0.5f, 0.0f);
    glVertex3f(0.5f, -0.5f, 0.0f);
    glVertex3f(0.0f, 0.5f, 0.0f);
    glEnd();
}

} // namespace

TEST_F(RndrPassFeedback, DrawPassEmitsNothing) {
    EXPECT_TRUE(EmitAll(RndrMode::Draw).empty());
}

TEST_F(RndrPassFeedback, AxisFeedbackEmitsEveryName) {
    EXPECT_EQ(EmitAll(RndrMode::AxisFeedback), (std::vector<uint32_t>{2001, 2002, 2003}));
}

TEST_F(RndrPassFeedback, SurfaceFeedbackEmitsOnlyTheElementName) {
    EXPECT_EQ(EmitAll(RndrMode::SurfaceFeedback), (std::vector<uint32_t>{2001}));
}

TEST_F(RndrPassFeedback, NamesCrossTheBufferBitForBit) {
    // Identities lie at 2000 and above; as float bits they are denormal numbers, which a value
    // conversion or a flush to zero would destroy. Full 32-bit patterns must survive as well.
    const std::vector<uint32_t> names = {0,          1,          1999,       2000,
                                         123456,     0x00FFFFFF, 0x01000000, 0x12345678,
                                         0x80000001, 0xDEADBEEF, 0x7F7FFFFF};
    CRndrPass pass(RndrMode::AxisFeedback, nullptr);
    std::vector<GLfloat> buffer(2 * names.size() + 8, 0.0f);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    for (uint32_t name : names) {
        pass.LoadName(name);
    }
    GLint count = glRenderMode(GL_RENDER);
    ExpectNoGlError("feedback");
    ASSERT_EQ(count, static_cast<GLint>(2 * names.size()));
    EXPECT_EQ(PassThroughNames(buffer, count), names);
}

TEST(RndrPassToken, ConversionKeepsTheBits) {
    for (uint32_t name : {0u, 2000u, 0x00FFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CRndrPass::TokenToName(CRndrPass::NameToToken(name)), name);
    }
}

using RndrPassSelection = GlTest;

TEST_F(RndrPassSelection, NamesTheElementAndItsSubPart) {
    GLuint buffer[64] = {};
    glSelectBuffer(64, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0); // the caller's name, which the element's name replaces
    CRndrPass pass(RndrMode::Select, nullptr);
    pass.LoadName(5000);
    pass.PushName(7);
    DrawTriangle();
    pass.PopName();
    pass.LoadNameMarker(5001);
    DrawTriangle();
    GLint hits = glRenderMode(GL_RENDER);
    ExpectNoGlError("selection");
    ASSERT_EQ(hits, 2);
    // Hit records: name count, min depth, max depth, names.
    EXPECT_EQ(buffer[0], 2u);
    EXPECT_EQ(buffer[3], 5000u);
    EXPECT_EQ(buffer[4], 7u);
    EXPECT_EQ(buffer[5], 1u);
    EXPECT_EQ(buffer[8], 5001u);
}

TEST_F(RndrPassSelection, OtherPassesLeaveTheNameStackAlone) {
    for (RndrMode mode : {RndrMode::Draw, RndrMode::AxisFeedback, RndrMode::SurfaceFeedback}) {
        SCOPED_TRACE(static_cast<int>(mode));
        GLuint buffer[64] = {};
        glSelectBuffer(64, buffer);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(9);
        CRndrPass pass(mode, nullptr);
        pass.LoadName(5000);
        pass.LoadNameMarker(5001);
        pass.PushName(7);
        DrawTriangle();
        pass.PopName();
        GLint hits = glRenderMode(GL_RENDER);
        ExpectNoGlError("selection");
        ASSERT_EQ(hits, 1);
        EXPECT_EQ(buffer[0], 1u);
        EXPECT_EQ(buffer[3], 9u);
    }
}

TEST(RndrPassDetail, FollowsTheProfileAndDefaultsToTheCoarsest) {
    CRndrQult quality;
    for (int modell : {0, 1, 2, 3}) {
        SRndrQultValues values;
        values.modell = modell;
        quality.SetValues(values);
        SCOPED_TRACE(modell);
        EXPECT_EQ(CRndrPass(RndrMode::Draw, &quality).GetDetail(), quality.GetDetail());
    }
    EXPECT_EQ(CRndrPass(RndrMode::SurfaceFeedback, nullptr).GetDetail(), 4);
}
