// A tiny design in a headless GL context for the tests of picking, placing and the mouse: a new
// document (start coupling and floor grid) seen by the view's default camera from the front, in
// a 256 x 256 viewport, with the view's state, camera binding and the GL passes; window points
// of world points; and what the document told its views.
#pragma once

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/render/MeshCache.h"
#include "app/view/SceneDraw.h"
#include "app/view/ScenePick.h"
#include "app/view/ViewCommand.h"
#include "model/Cmra.h"
#include "model/DcmtObserver.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"

struct SViewHints : CDcmtObserver {
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

class ViewPickTest : public GlTest {
protected:
    static constexpr int Size = 256;

    void SetUp() override {
        GlTest::SetUp();
        glViewport(0, 0, Size, Size);
        m_camera.BindDefault();
        CCmra& camera = m_dcmt.GetCamera(0);
        // Straight at the model, its origin 1100 mm below the eye: the start coupling a little
        // below the middle of the picture, 3200 mm away.
        camera.modelTurn = 0;
        camera.modelTilt = 0;
        camera.eyeUp = 0;
        camera.modelHeight = -110;
        camera.viewportWidth = Size;
        camera.viewportHeight = Size;
        camera.Update();
        m_dcmt.AddObserver(m_views);
        TestUi().Reset();
    }
    void TearDown() override {
        m_dcmt.RemoveObserver(m_views);
        GlTest::TearDown();
    }

    SViewContext Context() { return SViewContext{&m_dcmt, m_state, m_camera, SAppOptions()}; }

    // The scene as the view draws it for picking, with its two-click panel state.
    SPickScene Scene() {
        m_drawView = SDrawView{m_dcmt.FindElement(m_state.tool.firstTube), m_state.tool.panelWidth,
                               m_state.tool.panelLength, nullptr};
        return SPickScene{m_dcmt,
                          m_dcmt.GetCamera(0),
                          nullptr,
                          m_state.tool.mode,
                          m_state.display.flags,
                          &m_drawView,
                          &m_meshes};
    }
    CGlScenePicker Picker() {
        return CGlScenePicker(Scene(), m_state.pickBuffers.selectionSize,
                              m_state.pickBuffers.placingFeedbackSize);
    }

    // The GL window point of a world point (mm), rounded to whole pixels.
    std::pair<int, int> Window(const CVector3& point) {
        const CCmra& camera = m_dcmt.GetCamera(0);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        ViewScene::SetProjection(camera);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        ViewScene::SetModelTransform(camera);
        GLdouble model[16];
        GLdouble projection[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        const GLint viewport[4] = {0, 0, Size, Size};
        GLdouble x = 0.0;
        GLdouble y = 0.0;
        GLdouble z = 0.0;
        gluProject(point.x, point.y, point.z, model, projection, viewport, &x, &y, &z);
        return {static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    }

    // A new element alive from a new revision of its own, at the placement.
    CElmnt& Put(ElmntKind kind, const CVector3& at, float length = 350.0f,
                const CMatrix3& rotation = {}) {
        const Revision r = m_dcmt.NewRevision();
        return m_dcmt.AddElement(std::make_unique<CElmnt>(
            m_dcmt.GetIdSource(), r, kind, 2, CTransform(rotation, at), true, length, 0.0f));
    }

    // The elements of the kind alive now, in list order.
    std::vector<CElmnt*> Alive(ElmntKind kind) {
        std::vector<CElmnt*> found;
        for (CElmnt& elmnt : m_dcmt.GetAliveElements()) {
            if (elmnt.kind == kind) {
                found.push_back(&elmnt);
            }
        }
        return found;
    }

    CZarnelDcmt m_dcmt;
    CViewState m_state;
    CViewCamera m_camera;
    SDrawView m_drawView;
    CMeshCache m_meshes;
    SViewHints m_views;
};
