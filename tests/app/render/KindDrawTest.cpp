// The panel, wood, textile, wheel, cap, clamp, profile, slide, pool and roof kinds through the
// dispatcher, row by row: they draw in the drawing pass without GL errors, answer a pick with
// their identity alone, give the axis feedback nothing but their name, give the collision test
// surfaces, follow the detail stride where they are curved, vanish when dead and, where they
// are panels, while only the frame is shown.
#include <memory>
#include <vector>

#include "app/render/ElmntDraw.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

struct SKindRow {
    ElmntKind kind;
    float length;
    float width;
    double view;    // half size of the picture scene (mm)
    bool curved;    // divided by the detail stride
    bool panelLike; // hidden while only the frame is shown
};

// Sizes as the tools make them.
constexpr SKindRow Kinds[] = {
    {ElmntKind::Panel, 350, 350, 300, true, true},
    {ElmntKind::Display, 350, 350, 300, false, true},
    {ElmntKind::Wood, 350, 350, 300, false, true},
    {ElmntKind::WoodKnob, 350, 350, 300, true, true},
    {ElmntKind::RoundWood, 350, 350, 300, false, true},
    {ElmntKind::Lattice, 350, 350, 300, false, true},
    {ElmntKind::WoodBed, 750, 350, 500, true, true},
    {ElmntKind::Textil, 350, 350, 300, true, true},
    {ElmntKind::ChairSeatBack, 350, 350, 300, true, true},
    {ElmntKind::TextilRound, 350, 0, 600, true, true},
    {ElmntKind::Bag, 0, 0, 400, true, true},
    {ElmntKind::MultiWheel, 0, 0, 250, true, true},
    {ElmntKind::FloatingWheel, 0, 0, 250, true, true},
    {ElmntKind::Bearing, 0, 0, 100, true, false},
    {ElmntKind::Casters, 0, 0, 200, true, false},
    {ElmntKind::SteeringLock, 0, 0, 100, true, false},
    {ElmntKind::HubCap, 0, 0, 100, true, false},
    {ElmntKind::TubeCap, 0, 0, 100, true, false},
    {ElmntKind::Clamp, 0, 0, 100, false, false},
    {ElmntKind::Clip, 0, 0, 100, false, false},
    {ElmntKind::Alu, 600, 0, 500, true, false},
    {ElmntKind::AluConnector, 300, 0, 300, true, false},
    {ElmntKind::Roof, 0, 0, 900, false, true},
    {ElmntKind::RoofLarge, 0, 0, 1500, false, true},
    {ElmntKind::Slide, 0, 0, 1200, true, true},
    {ElmntKind::CurvedSlide, 0, 0, 1000, true, true},
    {ElmntKind::SlideEnd, 0, 0, 500, true, true},
    {ElmntKind::Pool, 0, 0, 1500, true, true},
    {ElmntKind::PoolSmall, 0, 0, 1200, true, true},
};

class KindDrawTest : public GlTest {
protected:
    std::unique_ptr<CElmnt> Make(const SKindRow& row) {
        return std::make_unique<CElmnt>(m_ids, 1, row.kind, 4, CTransform(), true, row.length,
                                        row.width);
    }

    std::vector<SFeedbackToken> Surfaces(CDrawProbe& probe, const CElmnt& elmnt,
                                         DrawFlags flags = DrawFlags::None) {
        return probe.Feedback(RndrMode::SurfaceFeedback, {&elmnt}, ToolMode::NoSelectionLines,
                              flags);
    }

    CElmntIdSource m_ids;
    CDrawProbe m_probe;
};

} // namespace

TEST_F(KindDrawTest, EveryKindDrawsAndKeepsTheMatrixStack) {
    for (const SKindRow& row : Kinds) {
        SCOPED_TRACE(KindCode(row.kind));
        auto elmnt = Make(row);
        for (DrawFlags flags : {DrawFlags::None, DrawFlags::Explosion}) {
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            m_probe.Draw(*elmnt, ToolMode::Select, flags, row.view);
            EXPECT_LT(CountPixels(255, 255, 255), 256 * 256 - 50);
            GLint after = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
            EXPECT_EQ(after, depth);
        }
    }
}

TEST_F(KindDrawTest, NamesInPickingAndFeedback) {
    for (const SKindRow& row : Kinds) {
        SCOPED_TRACE(KindCode(row.kind));
        auto elmnt = Make(row);
        const uint32_t id = elmnt->GetId().Value();
        // A pick over the whole scene: the identity alone, no sub-name.
        EXPECT_EQ(m_probe.Select(*elmnt, ToolMode::Select, 0.0, 0.0, 4096.0),
                  (std::vector<std::vector<GLuint>>{{id}}));
        // Placing: no axes, no body.
        const auto axes = m_probe.Feedback(RndrMode::AxisFeedback, {elmnt.get()}, ToolMode::Select);
        ASSERT_EQ(axes.size(), 1u);
        EXPECT_EQ(axes[0].name, id);
        // Collision test: surfaces under the identity (the lattice is all lines).
        const auto surfaces = Surfaces(m_probe, *elmnt);
        EXPECT_EQ(PassThroughNames(surfaces), std::vector<uint32_t>{id});
        if (row.kind == ElmntKind::Lattice) {
            EXPECT_EQ(CountTokens(surfaces, GL_POLYGON_TOKEN), 0);
            EXPECT_GT(CountTokens(surfaces, GL_LINE_TOKEN), 0);
        } else {
            EXPECT_GT(CountTokens(surfaces, GL_POLYGON_TOKEN), 0);
        }
    }
}

TEST_F(KindDrawTest, CurvedKindsFollowTheDetailStride) {
    CDrawProbe coarse(0);
    for (const SKindRow& row : Kinds) {
        SCOPED_TRACE(KindCode(row.kind));
        auto elmnt = Make(row);
        const int fine = CountTokens(Surfaces(m_probe, *elmnt), GL_POLYGON_TOKEN);
        const int rough = CountTokens(Surfaces(coarse, *elmnt), GL_POLYGON_TOKEN);
        if (row.curved) {
            EXPECT_LT(rough, fine);
        } else {
            EXPECT_EQ(rough, fine);
        }
    }
}

TEST_F(KindDrawTest, DeadStatesAndTheFrameOnlyView) {
    for (const SKindRow& row : Kinds) {
        SCOPED_TRACE(KindCode(row.kind));
        auto elmnt = Make(row);
        const uint32_t id = elmnt->GetId().Value();
        const auto frameOnly = Surfaces(m_probe, *elmnt, DrawFlags::WithoutPanels);
        if (row.panelLike) {
            EXPECT_EQ(frameOnly.size(), 1u);
        } else {
            EXPECT_GT(CountTokens(frameOnly, GL_POLYGON_TOKEN), 0);
        }
        EXPECT_EQ(PassThroughNames(frameOnly), std::vector<uint32_t>{id});
        elmnt->endRevision = 1;
        EXPECT_TRUE(Surfaces(m_probe, *elmnt).empty());
        m_probe.Draw(*elmnt, ToolMode::Select, DrawFlags::None, row.view);
        EXPECT_EQ(CountPixels(255, 255, 255), 256 * 256);
    }
}
