// Leaving out what cannot be seen: every kind's selection drawing stays inside the sphere the
// culling takes for it, in every tool mode and with the explosion; the view volume's planes keep
// an element partly inside and one around the camera, and drop one wholly outside.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/render/ElmntDraw.h"
#include "app/render/Frustum.h"
#include "app/render/RndrQult.h"
#include "model/Mtrl.h"
#include "tests/harness/GlTestContext.h"

namespace {

constexpr ToolMode kToolModes[] = {
    ToolMode::AtConnection,     ToolMode::RoundTubeUp,        ToolMode::Select,
    ToolMode::BoxTop,           ToolMode::SpecialPanel,       ToolMode::Coupling45Flat,
    ToolMode::Coupling45AtEnd,  ToolMode::OnPickedMultiWheel, ToolMode::OnPickedWheel,
    ToolMode::SteeringLock,     ToolMode::AtTubeEnd,          ToolMode::OnPickedSlide,
    ToolMode::OnPickedSlideEnd, ToolMode::OnPickedRoof,       ToolMode::OnPickedTextile,
    ToolMode::OnPickedClamp,    ToolMode::OnPickedAlu,        ToolMode::OnPickedAluConnector,
    ToolMode::OnPickedFlexiArm, ToolMode::StartCoupling,      ToolMode::NoSelectionLines,
    ToolMode::DeleteSingle,     ToolMode::ChangeSurface,      ToolMode::PanelFirstTube,
};

class DrawReach : public GlTest {
protected:
    DrawReach() : m_materials(MtrlSlotCount, nullptr) {
        for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
            m_owned.push_back(CMtrl::CreateDefault(slot));
            m_materials[static_cast<std::size_t>(slot)] = m_owned.back().get();
        }
        SRndrQultValues values;
        values.modell = 3;
        m_quality.SetValues(values);
    }

    // The farthest vertex from the origin (mm) that the element at the origin sends in the
    // pass, seen through a box of ±reach mm on every axis.
    double FarthestVertex(const CElmnt& elmnt, RndrMode mode, ToolMode tool, DrawFlags flags,
                          double reach) {
        glViewport(0, 0, 256, 256);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-reach, reach, -reach, reach, -reach, reach);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        std::vector<GLfloat>& buffer = m_buffer;
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        DrawElmnt(elmnt, CRndrPass(mode, &m_quality), m_materials, 1, tool, flags);
        const GLint size = glRenderMode(GL_RENDER);
        EXPECT_GE(size, 0) << "feedback overflow";
        double farthest = 0.0;
        auto vertex = [&](GLint at) {
            const double x = (buffer[at] / 128.0 - 1.0) * reach;
            const double y = (buffer[at + 1] / 128.0 - 1.0) * reach;
            const double z = -(2.0 * buffer[at + 2] - 1.0) * reach;
            farthest = std::max(farthest, std::sqrt(x * x + y * y + z * z));
        };
        for (GLint at = 0; at < size;) {
            const auto token = static_cast<GLint>(buffer[at++]);
            GLint vertices = 0;
            if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
                vertices = 1;
            } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                vertices = 2;
            } else if (token == GL_POLYGON_TOKEN) {
                vertices = static_cast<GLint>(buffer[at++]);
            } else if (token == GL_PASS_THROUGH_TOKEN) {
                ++at;
            }
            for (GLint v = 0; v < vertices; ++v, at += 3) {
                vertex(at);
            }
        }
        return farthest;
    }

    std::vector<std::unique_ptr<CMtrl>> m_owned;
    std::vector<const CMtrl*> m_materials;
    CRndrQult m_quality;
    std::vector<GLfloat> m_buffer = std::vector<GLfloat>(1 << 20);
};

TEST_F(DrawReach, EveryKindStaysInsideItsSphere) {
    CElmntIdSource ids;
    int measured = 0;
    for (const SKindInfo& info : GetKindCatalogue()) {
        for (float length : {0.0f, 2000.0f}) {
            CElmnt elmnt(ids, 1, info.kind, 4, CTransform(), true, length, length * 0.75f);
            elmnt.correction = length > 0.0f ? 50.0f : 0.0f;
            elmnt.secondCorrection = elmnt.correction;
            const double radius = GetDrawRadius(elmnt);
            if (radius < 0.0) {
                continue;
            }
            double farthest = 0.0;
            for (DrawFlags flags : {DrawFlags::None, DrawFlags::Explosion}) {
                for (ToolMode tool : kToolModes) {
                    farthest = std::max(farthest, FarthestVertex(elmnt, RndrMode::Select, tool,
                                                                 flags, radius * 4.0));
                }
            }
            EXPECT_LE(farthest, radius) << "kind " << static_cast<int>(info.kind);
            measured += farthest > 0.0 ? 1 : 0;
        }
    }
    EXPECT_GT(measured, 40); // the kinds did draw
    ExpectNoGlError("drawing every kind");
}

class FrustumPlanes : public GlTest {
protected:
    // 90° vertical field, square, near 100 mm, far 10 m, the eye at the origin looking down -Z.
    static CFrustum Perspective() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90.0, 1.0, 100.0, 10000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        return CFrustum::FromGl();
    }
};

TEST_F(FrustumPlanes, KeepWhatCanReachTheVolumeAndDropTheRest) {
    const CFrustum frustum = Perspective();
    // Inside, wholly and partly: 45° to the left at 1 m the left plane passes x = -1000.
    EXPECT_FALSE(frustum.IsSphereOutside({0, 0, -1000}, 10));
    EXPECT_FALSE(frustum.IsSphereOutside({-1050, 0, -1000}, 100)); // 35 mm inside the plane
    EXPECT_TRUE(frustum.IsSphereOutside({-1300, 0, -1000}, 100));  // 212 mm outside
    // Beyond the far plane, and reaching back over it.
    EXPECT_TRUE(frustum.IsSphereOutside({0, 0, -10200}, 100));
    EXPECT_FALSE(frustum.IsSphereOutside({0, 0, -10050}, 100));
    // The camera inside an element's sphere: kept while the sphere reaches past the near
    // plane, dropped when it lies wholly behind the near plane.
    EXPECT_FALSE(frustum.IsSphereOutside({0, 0, 0}, 150));
    EXPECT_FALSE(frustum.IsSphereOutside({0, 0, 200}, 350));
    EXPECT_TRUE(frustum.IsSphereOutside({0, 0, 200}, 250));
    // A pick box narrows the volume to a few pixels around its point.
    GLint viewport[4] = {0, 0, 200, 200};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(100.0, 100.0, 4.0, 4.0, viewport);
    gluPerspective(90.0, 1.0, 100.0, 10000.0);
    const CFrustum pick = CFrustum::FromGl();
    EXPECT_FALSE(pick.IsSphereOutside({0, 0, -1000}, 10));
    EXPECT_TRUE(pick.IsSphereOutside({300, 0, -1000}, 100));
}

} // namespace
