// The test kit itself: the headless context really draws, selects and gives feedback tokens,
// the recording interface answers as scripted, and the settings folder is private.
#include <cstdlib>
#include <string>

#include <GL/gl.h>
#include <GL/glu.h>

#include "support/UserInterface.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

void DrawTriangle() {
    glBegin(GL_TRIANGLES);
    glVertex3f(-0.5f, -0.5f, 0.0f);
    glVertex3f(0.5f, -0.5f, 0.0f);
    glVertex3f(0.0f, 0.5f, 0.0f);
    glEnd();
}

} // namespace

using HeadlessGl = GlTest;

TEST_F(HeadlessGl, DrawsIntoTheBoundFramebuffer) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0, 1);
    DrawTriangle();
    glFinish();
    ExpectNoGlError("drawing");
    EXPECT_GT(CountPixelsNotEqual(0, 0, 0), 1000);
}

TEST_F(HeadlessGl, SelectionReturnsTheNameUnderThePickMatrix) {
    GLuint buffer[64] = {};
    glSelectBuffer(64, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    GLint viewport[4] = {0, 0, 256, 256};
    gluPickMatrix(128, 100, 4, 4, viewport);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushName(123456);
    DrawTriangle();
    glPopName();
    GLint hits = glRenderMode(GL_RENDER);
    ExpectNoGlError("selection");
    ASSERT_EQ(hits, 1);
    EXPECT_EQ(buffer[0], 1u);   // one name on the stack
    EXPECT_EQ(buffer[3], 123456u);
}

TEST_F(HeadlessGl, FeedbackCarriesPassThroughTokensExactly) {
    GLfloat buffer[256] = {};
    glFeedbackBuffer(256, GL_2D, buffer);
    glRenderMode(GL_FEEDBACK);
    // Identities stay below 2^24 so that they survive the float exactly.
    const GLfloat identity = 16777215.0f;
    glPassThrough(identity);
    glBegin(GL_LINES);
    glVertex2f(0, 0);
    glVertex2f(0.5f, 0.5f);
    glEnd();
    GLint count = glRenderMode(GL_RENDER);
    ExpectNoGlError("feedback");
    ASSERT_GE(count, 7);
    EXPECT_EQ(buffer[0], static_cast<GLfloat>(GL_PASS_THROUGH_TOKEN));
    EXPECT_EQ(buffer[1], identity);
    EXPECT_TRUE(buffer[2] == static_cast<GLfloat>(GL_LINE_TOKEN) ||
                buffer[2] == static_cast<GLfloat>(GL_LINE_RESET_TOKEN));
}

TEST(RecordingUserInterface, AnswersFromItsScriptThenTheDefault) {
    TestUi().QueueAnswer(MsgAnswer::Yes);
    TestUi().SetDefaultAnswer(MsgAnswer::Cancel);
    EXPECT_EQ(ShowMessage("first", "", MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(ShowMessage("second", "", MsgButtons::OkCancel), MsgAnswer::Cancel);
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_EQ(TestUi().Boxes()[1].text, "second");
    {
        BusyScope busy;
        EXPECT_EQ(TestUi().BusyDepth(), 1);
    }
    EXPECT_EQ(TestUi().BusyDepth(), 0);
}

TEST(TestSettingsFolder, IsPrivateToTheTestRun) {
    const char* user = std::getenv("ZARNEL_CONFIG_DIR");
    ASSERT_NE(user, nullptr);
    EXPECT_NE(std::string(user).find("zarnel-test-"), std::string::npos);
}
