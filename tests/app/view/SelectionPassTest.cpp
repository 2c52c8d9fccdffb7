// Selection and feedback passes over a design: they give back all the memory they take (the
// process's resident memory stays flat over 50 selection passes and 50 feedback passes, as the
// user's picks and placings repeat them all day), and a selection pass that leaves out what
// cannot reach the pick volume returns the records of one that sends everything.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <memory>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of heap bytes in use.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "app/render/ElmntDraw.h"
#include "app/render/RndrPass.h"
#include "app/view/SceneDraw.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/GlTestContext.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer freed memory waits in a quarantine and the resident size grows anyway:
// the heap bytes in use tell a loss there.
long MemoryInUse() {
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
}
#else
// The process's resident memory, bytes.
long MemoryInUse() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}
#endif

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

    // The hit records of a selection pass of a size x size pixel box around (x, y), drawn
    // through the view (culling) or element by element (sending everything).
    std::vector<GLuint> Records(double x, double y, double size, bool throughView) {
        glSelectBuffer(static_cast<GLsizei>(m_select.size()), m_select.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        GLint viewport[4] = {0, 0, 256, 256};
        gluPickMatrix(x, y, size, size, viewport);
        ViewScene::SetProjection(m_camera);
        glMatrixMode(GL_MODELVIEW);
        ViewScene::SetModelTransform(m_camera);
        const CRndrPass pass(RndrMode::Select, nullptr);
        if (throughView) {
            ViewScene::DrawElements(*m_dcmt, pass, ToolMode::Select, DrawFlags::None, nullptr);
        } else {
            const std::vector<const CMtrl*> materials = GetMtrlTable(*m_dcmt);
            for (const CElmnt& elmnt : m_dcmt->GetElmntList()) {
                DrawElmnt(elmnt, pass, materials, m_dcmt->GetCurrentRevision(), ToolMode::Select,
                          DrawFlags::None, nullptr);
            }
        }
        const GLint hits = glRenderMode(GL_RENDER);
        std::vector<GLuint> records;
        for (GLint hit = 0, at = 0; hit < hits; ++hit) {
            const GLuint names = m_select[static_cast<std::size_t>(at)];
            records.insert(records.end(), m_select.begin() + at,
                           m_select.begin() + at + 3 + static_cast<GLint>(names));
            at += 3 + static_cast<GLint>(names);
        }
        return records;
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
    const long before = MemoryInUse();
    for (int pass = 0; pass < 50; ++pass) {
        ASSERT_GT(SelectionPass(), 100);
        ASSERT_GT(FeedbackPass(), 100000);
    }
    ExpectNoGlError("fifty passes");
    const long growth = MemoryInUse() - before;
    EXPECT_LT(growth, 4L << 20) << growth / 1024 << " KB more after 100 passes";
}

} // namespace

namespace {

// Among the couplings and tubes, close up (elements beside, behind and around the camera) and
// from afar: every pick box gives the records, names and depths, of the pass that sends all.
TEST_F(PassMemory, SelectionLeavingOutTheUnseenFindsWhatSendingAllFinds) {
    m_camera.eyeUp = 0;
    int found = 0;
    for (int distance : {-300, 0, 900}) {
        m_camera.modelDistance = distance;
        m_camera.Update();
        for (double x = 8.0; x < 256.0; x += 40.0) {
            for (double y = 8.0; y < 256.0; y += 40.0) {
                for (double size : {2.0, 9.0}) {
                    const std::vector<GLuint> all = Records(x, y, size, false);
                    EXPECT_EQ(Records(x, y, size, true), all) << x << ", " << y;
                    found += all.empty() ? 0 : 1;
                }
            }
        }
    }
    EXPECT_GT(found, 40);
    EXPECT_LT(found, 7 * 7 * 6); // empty space was picked too
    ExpectNoGlError("selection passes");
}

} // namespace
