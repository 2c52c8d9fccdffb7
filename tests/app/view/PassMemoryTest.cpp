// Selection and feedback passes over a design give back all the memory they take: the process's
// resident memory stays flat over 50 selection passes and 50 feedback passes, as the user's picks
// and placings repeat them all day.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

#include "app/render/RndrPass.h"
#include "app/view/SceneDraw.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/GlTestContext.h"

namespace {

// The process's resident memory, bytes.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

CElmnt& Put(CZarnelDcmt& dcmt, Revision r, ElmntKind kind, CVector3 at, float length = 0.0f,
            CMatrix3 rotation = {}) {
    return dcmt.AddElement(std::make_unique<CElmnt>(dcmt.GetIdSource(), r, kind, 2,
                                                    CTransform(rotation, at), true, length, 0.0f));
}

// Couplings on a 20 x 20 grid 400 mm apart with tubes between them, and a slide on each row:
// about 1,200 elements of curved bodies.
std::unique_ptr<CZarnelDcmt> BuildGrid() {
    auto dcmt = std::make_unique<CZarnelDcmt>();
    const Revision r = dcmt->NewRevision();
    const CMatrix3 alongZ = CMatrix3::FromColumns({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});
    for (int i = 0; i < 20; ++i) {
        for (int j = 0; j < 20; ++j) {
            const CVector3 at(400.0 * i - 4000.0, 0.0, 400.0 * j - 4000.0);
            Put(*dcmt, r, ElmntKind::Connector, at);
            Put(*dcmt, r, ElmntKind::Tube, at, 350.0f);
            Put(*dcmt, r, ElmntKind::Tube, at, 350.0f, alongZ);
        }
        Put(*dcmt, r, ElmntKind::Slide, CVector3(400.0 * i - 4000.0, 1500.0, 4500.0));
    }
    return dcmt;
}

class PassMemory : public GlTest {
protected:
    void SetProjection(bool pickBox) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        if (pickBox) {
            GLint viewport[4] = {0, 0, 256, 256};
            gluPickMatrix(128.0, 128.0, 200.0, 200.0, viewport);
        }
        ViewScene::SetProjection(m_camera);
        glMatrixMode(GL_MODELVIEW);
        ViewScene::SetModelTransform(m_camera);
    }

    // One selection pass over the design; the number of hit records.
    int SelectionPass() {
        glSelectBuffer(static_cast<GLsizei>(m_select.size()), m_select.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        SetProjection(true);
        ViewScene::DrawElements(*m_dcmt, CRndrPass(RndrMode::Select, nullptr), ToolMode::Select,
                                DrawFlags::None, nullptr);
        return glRenderMode(GL_RENDER);
    }

    // One feedback pass of the surfaces (the collision test's) and the connection axes (the
    // placing's); the number of floats returned.
    int FeedbackPass() {
        int floats = 0;
        for (RndrMode mode : {RndrMode::SurfaceFeedback, RndrMode::AxisFeedback}) {
            glFeedbackBuffer(static_cast<GLsizei>(m_feedback.size()), GL_3D, m_feedback.data());
            glRenderMode(GL_FEEDBACK);
            SetProjection(false);
            ViewScene::DrawElements(*m_dcmt, CRndrPass(mode, nullptr), ToolMode::AtConnection,
                                    DrawFlags::None, nullptr);
            floats += glRenderMode(GL_RENDER);
        }
        return floats;
    }

    std::unique_ptr<CZarnelDcmt> m_dcmt = BuildGrid();
    CCmra m_camera;
    std::vector<GLuint> m_select = std::vector<GLuint>(1 << 20);
    std::vector<GLfloat> m_feedback = std::vector<GLfloat>(1 << 23);
};

TEST_F(PassMemory, FiftySelectionAndFiftyFeedbackPassesKeepMemoryFlat) {
    m_camera.viewportWidth = 256;
    m_camera.viewportHeight = 256;
    m_camera.eyeUp = 0;
    m_camera.modelDistance = 900;
    m_camera.Update();
    // The first passes of each kind make what GL keeps for good.
    ASSERT_GT(SelectionPass(), 100);
    ASSERT_GT(FeedbackPass(), 100000);
    ExpectNoGlError("first passes");
    const long before = ResidentBytes();
    for (int pass = 0; pass < 50; ++pass) {
        ASSERT_GT(SelectionPass(), 100);
        ASSERT_GT(FeedbackPass(), 100000);
    }
    ExpectNoGlError("fifty passes");
    const long growth = ResidentBytes() - before;
    EXPECT_LT(growth, 4L << 20) << growth / 1024 << " KB more after 100 passes";
}

} // namespace
