// Panel fit between two tubes: the parallel test at its distance and overlap edges, antiparallel
// tubes, the corner test, and the frames the panel gets in both cases.
#include <memory>

#include <gtest/gtest.h>

#include "model/PanelFit.h"
#include "support/Matrix3.h"

namespace {

constexpr double Tol = 1e-12;

void ExpectNear(CVector3 actual, CVector3 expected) {
    EXPECT_NEAR(actual.x, expected.x, Tol);
    EXPECT_NEAR(actual.y, expected.y, Tol);
    EXPECT_NEAR(actual.z, expected.z, Tol);
}

class PanelFitTest : public ::testing::Test {
protected:
    // A tube of the given length whose end 0 is at the point and whose X runs along the axis
    // (an axis-aligned rotation that keeps the frame right-handed).
    std::unique_ptr<CElmnt> Tube(CVector3 start, CVector3 axisX, float length = 750.0f) {
        CVector3 axisY = {-axisX.y, axisX.x, axisX.z};
        CVector3 axisZ = {0, 0, 1};
        if (axisX.z != 0.0) {
            axisY = {0, 1, 0};
            axisZ = CVector3::Cross(axisX, axisY);
        }
        CTransform t(CMatrix3::FromColumns(axisX, axisY, axisZ), start);
        return std::make_unique<CElmnt>(m_ids, 0, ElmntKind::Tube, 2, t, true, length, 0.0f);
    }

    bool Fits(const CElmnt& t1, const CElmnt& t2, float width, float height, bool parallel = true,
              bool corner = true) {
        return CanHoldPanel(&t1, &t2, 1, width, height, parallel, corner);
    }

    CElmntIdSource m_ids;
};

TEST_F(PanelFitTest, ParallelTubesAtTheDistanceOfHeightOrWidth) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0});
    auto near = Tube({0, 400, 0}, {1, 0, 0});
    auto far = Tube({0, 460, 0}, {1, 0, 0});
    EXPECT_TRUE(Fits(*t1, *near, 350, 350));
    EXPECT_FALSE(Fits(*t1, *far, 350, 350));
    EXPECT_TRUE(Fits(*t1, *far, 460, 350)) << "the width may span the gap too";
    EXPECT_TRUE(Fits(*t1, *far, 350, 409)) << "within 51 mm of the height";
}

TEST_F(PanelFitTest, ToleranceEdge) {
    auto t1 = Tube({0, 0, 0}, {0, 0, 1});
    auto atEdge = Tube({401, 0, 0}, {0, 0, 1});
    auto past = Tube({401.01, 0, 0}, {0, 0, 1});
    auto below = Tube({299, 0, 0}, {0, 0, 1});
    EXPECT_TRUE(Fits(*t1, *atEdge, 350, 350));
    EXPECT_FALSE(Fits(*t1, *past, 350, 350));
    EXPECT_TRUE(Fits(*t1, *below, 350, 350));
    // Both points of the second tube are measured: a skewed tube whose far end leaves the band
    // does not fit even though its start is in it.
    CTransform skew = atEdge->placement;
    skew.RotateDeg(-0.5, 0, 2); // the far end 7 mm further out
    CElmnt skewed(m_ids, 0, ElmntKind::Tube, 2, skew, true, 750.0f, 0.0f);
    EXPECT_FALSE(Fits(*t1, skewed, 350, 350));
}

TEST_F(PanelFitTest, OverlapEdge) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0}); // 800 mm between coupling centres
    auto overlap149 = Tube({651, 400, 0}, {1, 0, 0});
    auto overlap140 = Tube({660, 400, 0}, {1, 0, 0});
    auto before149 = Tube({-651, 400, 0}, {1, 0, 0});
    EXPECT_TRUE(Fits(*t1, *overlap149, 350, 350));
    EXPECT_FALSE(Fits(*t1, *overlap140, 350, 350));
    EXPECT_TRUE(Fits(*t1, *before149, 350, 350));
}

TEST_F(PanelFitTest, AntiparallelTubesCountAsParallel) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0});
    auto back = Tube({800, 400, 0}, {-1, 0, 0});
    EXPECT_TRUE(Fits(*t1, *back, 350, 350));
    const CTransform frame = GetPanelFrame(*t1, *back, 350);
    ExpectNear(frame.translation, {0, 0, 0});
    ExpectNear(frame.GetAxis(0), {1, 0, 0});
    ExpectNear(frame.GetAxis(1), {0, 1, 0});
    ExpectNear(frame.GetAxis(2), {0, 0, 1});
}

TEST_F(PanelFitTest, TubesMeetingAtARightAngle) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0}, 350);
    auto up = Tube({400, 0, 0}, {0, 1, 0}, 350);
    // The corner test alone accepts them; the parallel test alone does not.
    EXPECT_TRUE(Fits(*t1, *up, 350, 350, false, true));
    EXPECT_FALSE(Fits(*t1, *up, 350, 350, true, false));
    EXPECT_TRUE(Fits(*t1, *up, 350, 350));
    // Ends 7.2 mm apart (51.84 mm²) no longer meet.
    auto off = Tube({400, 7.2, 0}, {0, 1, 0}, 350);
    EXPECT_FALSE(Fits(*t1, *off, 350, 350));
    auto justMeets = Tube({400, 7.1, 0}, {0, 1, 0}, 350);
    EXPECT_TRUE(Fits(*t1, *justMeets, 350, 350));

    // The panel's origin is the meeting end of the first tube, X along it and Y along the
    // second, both away from the corner.
    const CTransform frame = GetPanelFrame(*t1, *up, 350);
    ExpectNear(frame.translation, {400, 0, 0});
    ExpectNear(frame.GetAxis(0), {-1, 0, 0});
    ExpectNear(frame.GetAxis(1), {0, 1, 0});
    ExpectNear(frame.GetAxis(2), {0, 0, -1});
}

TEST_F(PanelFitTest, ParallelFrameSpansTheGapWithLengthOrWidth) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0});
    auto t2 = Tube({0, 0, 400}, {1, 0, 0});
    // Gap within 51 mm of the height: X along the first tube, Y across the gap.
    CTransform frame = GetPanelFrame(*t1, *t2, 350);
    ExpectNear(frame.translation, {0, 0, 0});
    ExpectNear(frame.GetAxis(0), {1, 0, 0});
    ExpectNear(frame.GetAxis(1), {0, 0, 1});
    ExpectNear(frame.GetAxis(2), {0, -1, 0});
    // Otherwise the width spans the gap: X across, Y along the first tube.
    frame = GetPanelFrame(*t1, *t2, 750);
    ExpectNear(frame.GetAxis(0), {0, 0, 1});
    ExpectNear(frame.GetAxis(1), {1, 0, 0});
    ExpectNear(frame.GetAxis(2), {0, 1, 0});
}

TEST_F(PanelFitTest, NeverAPartnerOfItselfNorOfNothing) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0});
    auto t2 = Tube({0, 400, 0}, {1, 0, 0});
    EXPECT_FALSE(Fits(*t1, *t1, 350, 350));
    EXPECT_FALSE(CanHoldPanel(nullptr, t2.get(), 1, 350, 350, true, true));
    EXPECT_FALSE(CanHoldPanel(t1.get(), nullptr, 1, 350, 350, true, true));
    // A copy at the same place is too close to carry anything.
    auto same = Tube({0, 0, 0}, {1, 0, 0});
    EXPECT_FALSE(Fits(*t1, *same, 350, 350));
}

TEST_F(PanelFitTest, FirstTubeNoLongerAliveIsNoPartner) {
    auto t1 = Tube({0, 0, 0}, {1, 0, 0});
    auto t2 = Tube({0, 400, 0}, {1, 0, 0});
    t1->firstRevision = 2; // placed in a revision that undo has taken back
    EXPECT_FALSE(CanHoldPanel(t1.get(), t2.get(), 1, 350, 350, true, true));
    EXPECT_TRUE(CanHoldPanel(t1.get(), t2.get(), 2, 350, 350, true, true));
    t1->endRevision = 2; // deleted in revision 2
    EXPECT_FALSE(CanHoldPanel(t1.get(), t2.get(), 2, 350, 350, true, true));
}

} // namespace
