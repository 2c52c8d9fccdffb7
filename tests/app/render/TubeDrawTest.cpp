// Tubes and bent tubes: the end axes of the tools that place parts at tube ends, the whole-tube
// targets and the target zones that picking returns with the element.
#include <numeric>

#include "app/render/ElmntDraw.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"

namespace {

class TubeDrawTest : public GlTest {
protected:
    // A tube along X from (100, 50, 0).
    std::unique_ptr<CElmnt> Tube(float length = 350.0f) {
        return MakeElmnt(m_ids, ElmntKind::Tube, length, {100.0, 50.0, 0.0});
    }

    CElmntIdSource m_ids;
    CDrawProbe m_probe;
};

void ExpectPoint(const CVector3& actual, const CVector3& expected) {
    EXPECT_NEAR(CVector3::Sub(actual, expected).Length(), 0.0, 0.1);
}

} // namespace

TEST_F(TubeDrawTest, EndAxesStartAtTheEndsAndPointOutwards) {
    auto tube = Tube();
    const uint32_t id = tube->GetId().Value();
    const auto tokens = m_probe.Feedback(RndrMode::AxisFeedback, {tube.get()}, ToolMode::AtTubeEnd);
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(PassThroughNames(tokens), (std::vector<uint32_t>{id, 0, 1}));
    for (int end = 0; end < 2; ++end) {
        const SFeedbackToken& line = tokens[2 + 2 * static_cast<std::size_t>(end)];
        ASSERT_EQ(line.type, static_cast<GLenum>(GL_LINE_TOKEN));
        ExpectPoint(line.vertices[0], tube->GetEndFrame(end).translation);
        ExpectPoint(line.vertices[1], tube->GetEndFrame(end).MapPoint({-200.0, 0.0, 0.0}));
    }
    // The 45° coupling at an end: a triangle per direction across the tube, named 6 end + side.
    const auto triangles =
        m_probe.Feedback(RndrMode::AxisFeedback, {tube.get()}, ToolMode::Coupling45AtEnd);
    EXPECT_EQ(PassThroughNames(triangles), (std::vector<uint32_t>{id, 2, 3, 4, 5, 8, 9, 10, 11}));
    EXPECT_EQ(CountTokens(triangles, GL_LINE_TOKEN), 8 * 3);
    // Without the free end bit there is nothing to place at.
    tube->SetFreeArms(0);
    EXPECT_EQ(m_probe.Feedback(RndrMode::AxisFeedback, {tube.get()}, ToolMode::AtTubeEnd).size(),
              1u);
}

TEST_F(TubeDrawTest, WholeTubeTargetsOfTheTools) {
    auto first = Tube(750.0f);
    auto parallel = MakeElmnt(m_ids, ElmntKind::Tube, 750.0f, {100.0, 450.0, 0.0});
    const SDrawView fits{first.get(), 400.0f, 350.0f}; // 400 mm apart, panel height 350
    const SDrawView itself{parallel.get(), 400.0f, 350.0f};
    const struct {
        ToolMode tool;
        float length;
        const SDrawView* view;
        bool target;
    } rows[] = {
        {ToolMode::OnPickedSlide, 350.0f, nullptr, true},
        {ToolMode::OnPickedSlide, 350.5f, nullptr, false},
        {ToolMode::OnPickedRoof, 750.0f, nullptr, true},
        {ToolMode::OnPickedRoof, 350.0f, nullptr, false},
        {ToolMode::PanelFirstTube, 123.0f, nullptr, true},
        {ToolMode::PanelSecondTube, 0.0f, &fits, true},
        {ToolMode::PanelSecondTube, 0.0f, &itself, false},
        {ToolMode::PanelSecondTube, 750.0f, nullptr, false},
        {ToolMode::Select, 350.0f, nullptr, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << ToolModeCode(row.tool) << " " << row.length);
        auto own = Tube(row.length);
        const CElmnt& tube = row.view != nullptr ? *parallel : *own;
        const double y = tube.placement.translation.y;
        const uint32_t id = tube.GetId().Value();
        EXPECT_EQ(m_probe.Select(tube, row.tool, 200.0, y, 4.0, row.view),
                  (std::vector<std::vector<GLuint>>{row.target ? std::vector<GLuint>{id, 0}
                                                               : std::vector<GLuint>{id}}));
    }
}

TEST_F(TubeDrawTest, ZonesOfToolsThatPlaceOnThePickedTube) {
    const struct {
        ToolMode tool;
        float length;
        GLuint zones;
    } rows[] = {
        {ToolMode::OnPickedMultiWheel, 350.0f, 4}, {ToolMode::OnPickedMultiWheel, 49.0f, 0},
        {ToolMode::OnPickedMultiWheel, 50.0f, 1},  {ToolMode::OnPickedWheel, 350.0f, 2},
        {ToolMode::OnPickedWheel, 40.0f, 0},       {ToolMode::OnPickedClamp, 350.0f, 4},
        {ToolMode::OnPickedClamp, 40.0f, 0},       {ToolMode::OnPickedAlu, 350.0f, 2},
        {ToolMode::OnPickedSlide, 300.0f, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << ToolModeCode(row.tool) << " " << row.length);
        auto tube = Tube(row.length);
        std::vector<GLuint> zones;
        for (const auto& names : m_probe.Select(*tube, row.tool, 300.0, 50.0, 1000.0)) {
            if (names.size() == 2) {
                zones.push_back(names[1]);
            }
        }
        std::vector<GLuint> expected(row.zones);
        std::iota(expected.begin(), expected.end(), 0u);
        EXPECT_EQ(zones, expected);
    }
    // A pick on the third wheel zone (225 to 275 mm along the tube) returns the tube and it.
    auto tube = Tube();
    const uint32_t id = tube->GetId().Value();
    EXPECT_EQ(m_probe.Select(*tube, ToolMode::OnPickedMultiWheel, 350.0, 50.0, 2.0),
              (std::vector<std::vector<GLuint>>{{id}, {id, 2}}));
}

TEST_F(TubeDrawTest, TargetsShowInMagenta) {
    CRndrQult lit;
    SRndrQultValues values = SRndrQultValues::ProfileDefaults();
    values.shading = 2;
    lit.SetValues(values);
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glEnable(GL_LIGHT0);
    auto tube = MakeElmnt(m_ids, ElmntKind::Tube, 350.0f);
    const auto magenta = [&](ToolMode tool) {
        m_probe.Draw(*tube, tool, DrawFlags::None, 250.0, &lit);
        return CountPixels(255, 0, 255);
    };
    EXPECT_EQ(magenta(ToolMode::Select), 0);
    EXPECT_GT(magenta(ToolMode::OnPickedSlide), 200);
    EXPECT_GT(magenta(ToolMode::OnPickedMultiWheel), 100);
}

TEST_F(TubeDrawTest, BentTubeIsTheTextileTarget) {
    auto bent = MakeElmnt(m_ids, ElmntKind::RoundTube, 300.0f);
    const uint32_t id = bent->GetId().Value();
    // The straight start piece lies on X from 25 to 75 mm.
    EXPECT_EQ(m_probe.Select(*bent, ToolMode::OnPickedTextile, 50.0, 0.0, 2.0),
              (std::vector<std::vector<GLuint>>{{id, 0}}));
    EXPECT_EQ(m_probe.Select(*bent, ToolMode::Select, 50.0, 0.0, 2.0),
              (std::vector<std::vector<GLuint>>{{id}}));
    // The end piece stops 25 mm before the end frame, on its axis.
    const CVector3 end = bent->GetEndFrame(1).translation;
    EXPECT_EQ(m_probe.Select(*bent, ToolMode::Select, end.x, end.y - 30.0, 2.0).size(), 1u);
    EXPECT_TRUE(m_probe.Select(*bent, ToolMode::Select, end.x, end.y - 20.0, 2.0).empty());
}
