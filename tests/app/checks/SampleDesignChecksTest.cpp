// The sample designs of data/ as a user meets them: the kit's own collision and head-trap tests
// find nothing in them, and the camera each one opens with shows the whole design, centred and
// large enough to see, in the window shapes a screen gives. Drawn in a headless GL context.
#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/checks/CollisionTest.h"
#include "app/checks/HeadTrapTest.h"
#include "app/view/SceneDraw.h"
#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const std::string kDataDir = ZARNEL_DATA_DIR;
const char* const kSamples[] = {"table.zdf", "play-tower.zdf", "display-stand.zdf"};

// Where an element stands, to name it in a failure.
std::string Describe(const CZarnelDcmt& dcmt, ElmntId id) {
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        if (elmnt.GetId() == id) {
            const CVector3 at = elmnt.placement.translation;
            const CVector3 along = elmnt.placement.GetAxis(0);
            return "kind " + std::to_string(static_cast<uint32_t>(elmnt.kind)) + " at " +
                   std::to_string(at.x) + " " + std::to_string(at.y) + " " + std::to_string(at.z) +
                   " along " + std::to_string(along.x) + " " + std::to_string(along.y) + " " +
                   std::to_string(along.z);
        }
    }
    return "?";
}

// The picture-area extent (normalised device coordinates, -1 to 1) of the triangles' corners
// through the camera with the window of the given shape.
struct SPictureExtent {
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    bool behindEye = false;
};

SPictureExtent Project(const CTrnglList& triangles, const std::set<ElmntId>& skipped, CCmra camera,
                       int width, int height) {
    camera.viewportWidth = width;
    camera.viewportHeight = height;
    camera.Update();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewScene::SetProjection(camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(camera);
    std::array<double, 16> projection{};
    std::array<double, 16> model{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, model.data());
    auto apply = [](const std::array<double, 16>& m, const std::array<double, 4>& v) {
        std::array<double, 4> out{};
        for (int row = 0; row < 4; ++row) {
            for (int k = 0; k < 4; ++k) {
                out[row] += m[k * 4 + row] * v[k];
            }
        }
        return out;
    };
    SPictureExtent extent;
    for (const STrngl& triangle : triangles) {
        if (skipped.contains(triangle.element)) {
            continue;
        }
        for (const CVector3& corner : triangle.vertices) {
            // The surface triangles hold the model's z mirrored.
            const auto clip = apply(projection, apply(model, {corner.x, corner.y, -corner.z, 1.0}));
            if (clip[3] <= 0.0) {
                extent.behindEye = true;
                continue;
            }
            extent.minX = std::min(extent.minX, clip[0] / clip[3]);
            extent.maxX = std::max(extent.maxX, clip[0] / clip[3]);
            extent.minY = std::min(extent.minY, clip[1] / clip[3]);
            extent.maxY = std::max(extent.maxY, clip[1] / clip[3]);
        }
    }
    return extent;
}

class SampleDesignChecks : public GlTest {
protected:
    // The sample and the surfaces of its parts, in model millimetres.
    void Load(const std::string& file) {
        m_dcmt = std::make_unique<CZarnelDcmt>();
        m_triangles = CTrnglList();
        m_floor.clear();
        ASSERT_TRUE(LoadDesignFile(*m_dcmt, kDataDir + "/" + file));
        for (const CElmnt& elmnt : m_dcmt->GetAliveElements()) {
            if (elmnt.kind == ElmntKind::FloorGrid) {
                m_floor.insert(elmnt.GetId());
            }
        }
        int bufferSize = CheckFeedbackStartSize;
        ASSERT_TRUE(CaptureSurfaces(*m_dcmt, bufferSize, CheckFeedbackMaxSize, m_triangles));
        ASSERT_GT(m_triangles.Size(), 500u);
    }

    std::unique_ptr<CZarnelDcmt> m_dcmt;
    CTrnglList m_triangles;
    std::set<ElmntId> m_floor; // the floor grid, which the camera need not show whole
};

} // namespace

TEST_F(SampleDesignChecks, NoPartCutsIntoAnotherAndNoOpeningTrapsAHead) {
    for (const char* file : kSamples) {
        SCOPED_TRACE(file);
        ASSERT_NO_FATAL_FAILURE(Load(file));
        for (ElmntId id : FindCollisions(m_triangles)) {
            ADD_FAILURE() << "collision: " << Describe(*m_dcmt, id);
        }
        for (ElmntId id : FindHeadTraps(*m_dcmt)) {
            ADD_FAILURE() << "head trap: " << Describe(*m_dcmt, id);
        }
    }
}

TEST_F(SampleDesignChecks, TheCameraShowsTheWholeDesignCentred) {
    // Window shapes from a nearly square document area to a wide one.
    const std::array<std::array<int, 2>, 3> windows = {{{1000, 800}, {1280, 720}, {1920, 900}}};
    for (const char* file : kSamples) {
        SCOPED_TRACE(file);
        ASSERT_NO_FATAL_FAILURE(Load(file));
        for (const auto& [width, height] : windows) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
            const SPictureExtent e =
                Project(m_triangles, m_floor, m_dcmt->GetCamera(0), width, height);
            EXPECT_FALSE(e.behindEye);
            // Inside the picture with a margin, ...
            EXPECT_GT(e.minX, -0.95);
            EXPECT_LT(e.maxX, 0.95);
            EXPECT_GT(e.minY, -0.95);
            EXPECT_LT(e.maxY, 0.95);
            // ... its middle near the picture's middle, ...
            EXPECT_NEAR((e.minX + e.maxX) / 2, 0.0, 0.1);
            EXPECT_NEAR((e.minY + e.maxY) / 2, 0.0, 0.1);
            // ... and filling a good part of it.
            EXPECT_GT(std::max(e.maxX - e.minX, e.maxY - e.minY), 1.2);
        }
    }
}
