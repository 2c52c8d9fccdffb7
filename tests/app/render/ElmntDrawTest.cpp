// The element dispatcher: revision interval, display flags, the element's name in every pass,
// unknown kinds, the explosion transform, the highlight material, and that every kind with a
// routine draws in every pass without GL errors and leaves the matrix stack as it found it.
#include <algorithm>

#include "app/render/ElmntDraw.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

class ElmntDrawTest : public GlTest {
protected:
    // Names and the number of polygons of a surface feedback pass.
    std::pair<std::vector<uint32_t>, int> Surfaces(const std::vector<const CElmnt*>& elmnts,
                                                   DrawFlags flags, Revision revision = 1) {
        const auto tokens = m_probe.Feedback(RndrMode::SurfaceFeedback, elmnts,
                                             ToolMode::NoSelectionLines, flags, revision);
        return {PassThroughNames(tokens), CountTokens(tokens, GL_POLYGON_TOKEN)};
    }

    CElmntIdSource m_ids;
    CDrawProbe m_probe;
};

} // namespace

TEST_F(ElmntDrawTest, AliveFromTheFirstRevisionUpToTheEnd) {
    auto tube = MakeElmnt(m_ids, ElmntKind::Tube, 350.0f);
    tube->firstRevision = 3;
    tube->endRevision = 5;
    for (Revision r : {2u, 3u, 4u, 5u}) {
        const auto [names, polygons] = Surfaces({tube.get()}, DrawFlags::None, r);
        EXPECT_EQ(names.size(), r == 3 || r == 4 ? 1u : 0u) << r;
        EXPECT_EQ(polygons > 0, r == 3 || r == 4) << r;
    }
}

TEST_F(ElmntDrawTest, DisplayFlagsAndUnknownKinds) {
    auto tube = MakeElmnt(m_ids, ElmntKind::Tube, 350.0f);
    auto panel = MakeElmnt(m_ids, ElmntKind::Panel, 350.0f);
    auto unknown = MakeElmnt(m_ids, ElmntKind::None);
    const uint32_t tubeId = tube->GetId().Value();
    const uint32_t panelId = panel->GetId().Value();
    // Only selected elements: an unselected one emits nothing, not even its name.
    EXPECT_TRUE(Surfaces({tube.get(), panel.get()}, DrawFlags::OnlySelected).first.empty());
    tube->Select();
    EXPECT_EQ(Surfaces({tube.get(), panel.get()}, DrawFlags::OnlySelected).first,
              std::vector<uint32_t>{tubeId});
    // Without panels a panel still names itself in both feedback passes and draws nothing; a
    // tube is drawn as ever; a kind outside the catalogue is named and draws nothing.
    for (RndrMode mode : {RndrMode::AxisFeedback, RndrMode::SurfaceFeedback}) {
        const auto tokens = m_probe.Feedback(mode, {panel.get(), unknown.get()},
                                             ToolMode::AtConnection, DrawFlags::WithoutPanels);
        EXPECT_EQ(tokens.size(), 2u);
        EXPECT_EQ(PassThroughNames(tokens),
                  (std::vector<uint32_t>{panelId, unknown->GetId().Value()}));
    }
    EXPECT_GT(Surfaces({tube.get()}, DrawFlags::WithoutPanels).second, 0);
}

TEST_F(ElmntDrawTest, IdentitiesAreTheTokensAndSelectionNames) {
    std::vector<std::unique_ptr<CElmnt>> owned;
    std::vector<const CElmnt*> tubes;
    std::vector<uint32_t> ids;
    for (int i = 0; i < 40; ++i) {
        owned.push_back(MakeElmnt(m_ids, ElmntKind::Tube, 100.0f));
        tubes.push_back(owned.back().get());
        ids.push_back(owned.back()->GetId().Value());
    }
    EXPECT_EQ(Surfaces(tubes, DrawFlags::None).first, ids);
    // The tube lies along X from 25 to 125 mm; the caller's name is replaced.
    EXPECT_EQ(m_probe.Select(*owned.back(), ToolMode::Select, 75.0, 0.0, 4.0),
              (std::vector<std::vector<GLuint>>{{ids.back()}}));
    EXPECT_TRUE(m_probe.Select(*owned.back(), ToolMode::Select, 75.0, 60.0, 4.0).empty());
}

TEST_F(ElmntDrawTest, ExplosionShrinksEachElementInPlace) {
    auto tube = MakeElmnt(m_ids, ElmntKind::Tube, 550.0f, {100.0, 200.0, 0.0});
    const auto extent = [&](DrawFlags flags) {
        double lo = 1e9;
        double hi = -1e9;
        for (const auto& token : m_probe.Feedback(RndrMode::SurfaceFeedback, {tube.get()},
                                                  ToolMode::NoSelectionLines, flags)) {
            for (const CVector3& v : token.vertices) {
                lo = std::min(lo, v.x);
                hi = std::max(hi, v.x);
            }
        }
        return std::pair(lo, hi);
    };
    const auto [lo, hi] = extent(DrawFlags::None);
    EXPECT_NEAR(lo, 125.0, 1e-3);
    EXPECT_NEAR(hi, 675.0, 1e-3);
    const auto [xlo, xhi] = extent(DrawFlags::Explosion);
    EXPECT_NEAR(xlo + xhi, lo + hi, 1e-3);
    EXPECT_NEAR(xhi - xlo, 0.6 * (hi - lo), 1e-3);
}

TEST_F(ElmntDrawTest, HighlightIsOneSharedMagentaMaterial) {
    const CMtrl& highlight = ElmntDraw::GetHighlightMtrl();
    EXPECT_EQ(&highlight, &ElmntDraw::GetHighlightMtrl());
    EXPECT_EQ(highlight, CMtrl(0, "", 511, 1.0f, 0.0f, 1.0f, {1.0f, 0.0f, 1.0f, 7.5f},
                               {0.8f, 0.0f, 1.0f, 7.5f}));
}

TEST_F(ElmntDrawTest, EveryKindDrawsInEveryPassAndKeepsTheMatrixStack) {
    const std::pair<ElmntKind, float> kinds[] = {
        {ElmntKind::Tube, 350.0f},         {ElmntKind::RoundTube, 300.0f},
        {ElmntKind::Connector, 0.0f},      {ElmntKind::Bolt, 100.0f},
        {ElmntKind::Connector45, 0.0f},    {ElmntKind::HoleConnector, 0.0f},
        {ElmntKind::FlexiConnector, 0.0f}, {ElmntKind::BearingConnector, 0.0f},
        {ElmntKind::Adapter, 0.0f},        {ElmntKind::OpenConnector, 0.0f},
    };
    for (const auto& [kind, length] : kinds) {
        SCOPED_TRACE(KindCode(kind));
        auto elmnt = MakeElmnt(m_ids, kind, length);
        elmnt->SetOccupiedArms(1 | 2 | 4); // a T: sleeves and sphere corners
        for (DrawFlags flags : {DrawFlags::None, DrawFlags::Explosion | DrawFlags::ConnectorEnds}) {
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            m_probe.Draw(*elmnt, ToolMode::NoSelectionLines, flags, 300.0);
            EXPECT_LT(CountPixels(255, 255, 255), 256 * 256 - 100);
            GLint after = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
            EXPECT_EQ(after, depth);
            // Pass 3: surfaces under the element's name; pass 2 without a tool: the name only.
            const auto [names, polygons] = Surfaces({elmnt.get()}, flags);
            EXPECT_EQ(names, std::vector<uint32_t>{elmnt->GetId().Value()});
            EXPECT_GT(polygons, 0);
            EXPECT_EQ(m_probe
                          .Feedback(RndrMode::AxisFeedback, {elmnt.get()},
                                    ToolMode::NoSelectionLines, flags)
                          .size(),
                      1u);
        }
    }
}

TEST_F(ElmntDrawTest, MaterialTableOfADocumentIsIndexedBySlot) {
    CZarnelDcmt dcmt;
    const std::vector<const CMtrl*> table = GetMtrlTable(dcmt);
    ASSERT_EQ(table.size(), static_cast<std::size_t>(dcmt.GetSlotsUsed()));
    EXPECT_EQ(table[0], nullptr);
    EXPECT_EQ(table[4], dcmt.GetMaterial(4));
    // An element whose slot is empty is still drawn.
    auto tube = MakeElmnt(m_ids, ElmntKind::Tube, 350.0f);
    tube->SetMaterial(40);
    EXPECT_GT(Surfaces({tube.get()}, DrawFlags::None).second, 0);
}
