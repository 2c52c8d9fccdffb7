// Picking and the axis search in a headless GL context: the front element and its sub-name,
// the later of equal depths, the box that first reaches an element, the growing selection
// buffer, elements not alive now; the axis pass of a click's neighbourhood against the pass over
// the whole design; and the nearest-axis scan on hand-made feedback buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/render/RndrPass.h"
#include "app/view/ScenePick.h"
#include "app/view/ViewPlacing.h"
#include "tests/app/view/ViewPickTestKit.h"

namespace {

// The pick as a pass per box over the whole design, written out from the rules, to compare
// PickElement's single pass with.
SPickHit PickPerBox(const SPickScene& scene, int x, int y) {
    const CRndrPass pass(RndrMode::Select, scene.quality);
    for (int box : kPickBoxSizes) {
        std::vector<GLuint> buffer(1 << 16);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix(x, y, box, box, viewport);
        ViewScene::SetProjection(scene.camera);
        glMatrixMode(GL_MODELVIEW);
        ViewScene::SetModelTransform(scene.camera);
        glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        ViewScene::DrawElements(scene.dcmt, pass, scene.toolMode, scene.drawFlags, scene.drawView);
        const GLint hits = glRenderMode(GL_RENDER);
        EXPECT_GE(hits, 0);
        std::size_t at = 0;
        uint32_t best = 0xFFFFFFFFu;
        SPickHit hit;
        for (GLint n = 0; n < hits; ++n) {
            const GLuint names = buffer[at];
            if (buffer[at + 1] <= best) {
                best = buffer[at + 1];
                hit.element = ElmntId(buffer[at + 3]);
                hit.sub = names == 2 ? static_cast<int>(buffer[at + 4]) : -1;
                hit.depth = SelectionDepthToCm(best, scene.camera.nearClip, scene.camera.farClip);
                hit.boxSize = box;
            }
            at += 3 + names;
        }
        if (hit.element.Value() != 0) {
            return hit;
        }
    }
    return {};
}

class ScenePick : public ViewPickTest {};

TEST_F(ScenePick, FrontElementFoundAsAPassPerBoxWouldFindIt) {
    m_state.tool.mode = ToolMode::Select;
    // Two tubes across the picture, the second 300 mm behind the first, and a third one above
    // them, standing out over the floor.
    CElmnt& front = Put(ElmntKind::Tube, {-175.0, 200.0, 0.0});
    CElmnt& back = Put(ElmntKind::Tube, {-175.0, 200.0, -300.0}, 750.0f);
    Put(ElmntKind::Tube, {-175.0, 400.0, 0.0});

    const auto [x, y] = Window({0.0, 200.0, 0.0});
    int bufferSize = 64;
    const SPickResult picked = PickElement(Scene(), x, y, bufferSize);
    ASSERT_FALSE(picked.bufferLimit);
    EXPECT_EQ(picked.hit.element, front.GetId());
    EXPECT_EQ(picked.hit.sub, -1);
    EXPECT_EQ(picked.hit.boxSize, 1);
    // About 3200 mm from the eye, less the tube's radius.
    EXPECT_NEAR(picked.hit.depth, 320.0, 4.0);
    // Beyond the front tube's end only the one behind it is there.
    const auto [bx, by] = Window({300.0, 200.0, -300.0});
    EXPECT_EQ(PickElement(Scene(), bx, by, bufferSize).hit.element, back.GetId());

    // Along a column through the tubes, every point gives what a pass per box gives, and some
    // are reached only by a wider box.
    int widerHits = 0;
    for (int row = y - 20; row <= y + 45; ++row) {
        SCOPED_TRACE(row);
        const SPickHit hit = PickElement(Scene(), x, row, bufferSize).hit;
        const SPickHit expected = PickPerBox(Scene(), x, row);
        EXPECT_EQ(hit.element, expected.element);
        EXPECT_EQ(hit.sub, expected.sub);
        EXPECT_EQ(hit.boxSize, expected.boxSize);
        EXPECT_FLOAT_EQ(hit.depth, expected.depth);
        widerHits += hit.boxSize > 3 ? 1 : 0;
    }
    EXPECT_GT(widerHits, 0);
    ExpectNoGlError("pick");
}

TEST_F(ScenePick, SamplePlayTowerPickedAsAPassPerBoxWouldPickIt) {
    // Every kind of the tower (tubes, couplings, panels, a slide, a roof), in a tool mode that
    // draws no extras and in one that draws the axes, over a grid of points of the picture.
    ASSERT_TRUE(m_dcmt.LoadFile(std::string(ZARNEL_DATA_DIR) + "/play-tower.zdf"));
    CCmra& camera = m_dcmt.GetCamera(0);
    camera.viewportWidth = Size;
    camera.viewportHeight = Size;
    camera.Update();
    int hits = 0;
    for (ToolMode mode : {ToolMode::Select, ToolMode::AtConnection}) {
        m_state.tool.mode = mode;
        int bufferSize = 64;
        for (int y = 4; y < Size; y += 21) {
            for (int x = 4; x < Size; x += 21) {
                SCOPED_TRACE(testing::Message() << x << ", " << y << " in mode " << int(mode));
                const SPickHit hit = PickElement(Scene(), x, y, bufferSize).hit;
                const SPickHit expected = PickPerBox(Scene(), x, y);
                ASSERT_EQ(hit.element, expected.element);
                EXPECT_EQ(hit.sub, expected.sub);
                EXPECT_EQ(hit.boxSize, expected.boxSize);
                EXPECT_FLOAT_EQ(hit.depth, expected.depth);
                hits += hit.IsHit() ? 1 : 0;
            }
        }
    }
    EXPECT_GT(hits, 20);
}

TEST_F(ScenePick, EqualDepthsGiveTheLaterRecordAndUndoneElementsAreNotHit) {
    m_state.tool.mode = ToolMode::Select;
    Put(ElmntKind::Tube, {-175.0, 200.0, 0.0});
    CElmnt& same = Put(ElmntKind::Tube, {-175.0, 200.0, 0.0});
    const auto [x, y] = Window({0.0, 200.0, 0.0});
    int bufferSize = 64;
    EXPECT_EQ(PickElement(Scene(), x, y, bufferSize).hit.element, same.GetId());

    // A tube in front of both, added and undone: not alive now, not hit.
    CElmnt& undone = Put(ElmntKind::Tube, {-175.0, 200.0, 100.0});
    EXPECT_EQ(PickElement(Scene(), x, y, bufferSize).hit.element, undone.GetId());
    m_dcmt.OnEditUndo(2, CouplingSnap::NormalSq);
    EXPECT_EQ(PickElement(Scene(), x, y, bufferSize).hit.element, same.GetId());
    // Nothing at all in the empty sky.
    const SPickResult sky = PickElement(Scene(), 3, Size - 3, bufferSize);
    EXPECT_FALSE(sky.hit.IsHit());
    EXPECT_FALSE(sky.bufferLimit);
}

TEST_F(ScenePick, TubeFittingThePanelCarriesItsSubName) {
    CElmnt& first = Put(ElmntKind::Tube, {-175.0, 0.0, 0.0});
    CElmnt& second = Put(ElmntKind::Tube, {-175.0, 400.0, 0.0});
    m_state.tool.panelWidth = 350.0f;
    m_state.tool.panelLength = 350.0f;
    m_state.tool.firstTube = first.GetId();
    const auto [x, y] = Window({0.0, 400.0, 0.0});
    int bufferSize = 64;
    m_state.tool.mode = ToolMode::PanelSecondTube;
    const SPickHit carrier = PickElement(Scene(), x, y, bufferSize).hit;
    EXPECT_EQ(carrier.element, second.GetId());
    EXPECT_EQ(carrier.sub, 0);
    m_state.tool.mode = ToolMode::Select;
    EXPECT_EQ(PickElement(Scene(), x, y, bufferSize).hit.sub, -1);
}

TEST_F(ScenePick, SelectionBufferDoublesAndKeepsItsSize) {
    m_state.tool.mode = ToolMode::Select;
    std::vector<ElmntId> tubes;
    for (int k = 0; k < 40; ++k) {
        tubes.push_back(Put(ElmntKind::Tube, {-175.0, 200.0, -10.0 * k}).GetId());
    }
    const auto [x, y] = Window({0.0, 200.0, 0.0});
    int bufferSize = 4;
    const SPickResult grown = PickElement(Scene(), x, y, bufferSize);
    EXPECT_EQ(grown.hit.element, tubes.front());
    EXPECT_GE(bufferSize, 40 * 4);
    EXPECT_EQ(bufferSize & (bufferSize - 1), 0) << "doubled from 4";
    const int kept = bufferSize;
    EXPECT_EQ(PickElement(Scene(), x, y, bufferSize).hit.element, tubes.front());
    EXPECT_EQ(bufferSize, kept);

    // A limit the buffer cannot reach: no element, and the user is told once.
    int small = 4;
    const SPickResult limited = PickElement(Scene(), x, y, small, 64);
    EXPECT_TRUE(limited.bufferLimit);
    EXPECT_FALSE(limited.hit.IsHit());
    struct SLimitedPicker : CScenePicker {
        SPickResult Pick(int, int) override { return {{}, true}; }
        SAxisResult NearestAxis(int, int) override { return {}; }
    } picker;
    TestUi().Reset();
    EXPECT_FALSE(PickOrReport(picker, x, y).IsHit());
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("Selektionspuffer"), std::string::npos);
    ExpectNoGlError("growing buffer");
}

// A feedback pass of the axes over the whole design; its buffer cut to what was written.
std::vector<GLfloat> WholeAxisPass(const SPickScene& scene) {
    std::vector<GLfloat> buffer(1 << 22);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewScene::SetProjection(scene.camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(scene.camera);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    const CRndrPass pass(RndrMode::AxisFeedback, scene.quality);
    ViewScene::DrawElements(scene.dcmt, pass, scene.toolMode, scene.drawFlags, scene.drawView);
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GT(count, 0);
    buffer.resize(static_cast<std::size_t>(std::max(count, 0)));
    return buffer;
}

TEST_F(ScenePick, AxisPassOfTheNeighbourhoodFindsTheAxisOfTheWholePass) {
    // Three play towers side by side, seen whole from several places, so that at every point
    // most of the design lies outside the neighbourhood that is sent.
    ASSERT_TRUE(m_dcmt.LoadFile(std::string(ZARNEL_DATA_DIR) + "/play-tower.zdf"));
    std::vector<const CElmnt*> tower;
    for (const CElmnt& elmnt : m_dcmt.GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid) {
            tower.push_back(&elmnt);
        }
    }
    for (double dx : {-5000.0, 5000.0}) {
        for (const CElmnt* original : tower) {
            auto copy = std::make_unique<CElmnt>(*original);
            copy->Translate(dx, 0.0, 0.0);
            m_dcmt.AddElement(std::move(copy));
        }
    }
    CCmra& camera = m_dcmt.GetCamera(0);
    int found = 0;
    for (const auto& [turn, tilt] : {std::pair{0, 0}, {30, 20}, {-50, 45}}) {
        camera.modelTurn = turn;
        camera.modelTilt = tilt;
        camera.modelDistance = 2200;
        camera.modelHeight = -150;
        camera.farClip = 10000;
        camera.Update();
        for (ToolMode mode : {ToolMode::AtConnection, ToolMode::RoundTubeUp}) {
            m_state.tool.mode = mode;
            int bufferSize = 64;
            const std::vector<GLfloat> wholePass = WholeAxisPass(Scene());
            for (int y = 2; y < Size; y += 7) {
                for (int x = 2; x < Size; x += 7) {
                    SCOPED_TRACE(testing::Message() << x << ", " << y << " seen from " << turn
                                                    << "/" << tilt << " in mode " << int(mode));
                    const SAxisResult culled = FindAxisAt(Scene(), x, y, bufferSize);
                    ASSERT_FALSE(culled.bufferLimit);
                    const SAxisHit whole = FindNearestAxis(
                        wholePass, static_cast<long>(wholePass.size()), x, y);
                    if (whole.distance > kPlaceMaxDistance) {
                        EXPECT_TRUE(!culled.hit.element.IsValid() ||
                                    culled.hit.distance > kPlaceMaxDistance);
                        continue;
                    }
                    EXPECT_EQ(culled.hit.element, whole.element);
                    EXPECT_EQ(culled.hit.connection, whole.connection);
                    EXPECT_EQ(culled.hit.distance, whole.distance);
                    EXPECT_EQ(culled.hit.endDistance, whole.endDistance);
                    ++found;
                }
            }
        }
    }
    EXPECT_GT(found, 200);
    ExpectNoGlError("axis passes");
}

TEST(ChooseHitRecord, SmallestDepthLaterOnTiesAndNothingPastTheBuffer) {
    // Records: (names, min, max, names...).
    const std::vector<uint32_t> buffer = {1, 50, 60, 2001,       //
                                          2, 40, 70, 2002, 3,    //
                                          1, 40, 90, 2003,       //
                                          3, 45, 45, 2004, 1, 2, //
                                          5, 1,  1,  2005};      // runs past the end
    std::optional<SHitChoice> choice = ChooseHitRecord(buffer, 5);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->element, 2003u);
    EXPECT_EQ(choice->sub, -1);
    choice = ChooseHitRecord(buffer, 2);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->element, 2002u);
    EXPECT_EQ(choice->sub, 3);
    // Depths compare unsigned: 0xFFFFFFFF is the farthest and still a hit.
    const std::vector<uint32_t> far = {1, 0xFFFFFFFFu, 0xFFFFFFFFu, 2009};
    EXPECT_EQ(ChooseHitRecord(far, 1)->element, 2009u);
    EXPECT_FALSE(ChooseHitRecord(far, 0));
    EXPECT_FALSE(ChooseHitRecord(std::vector<uint32_t>{2, 1, 1, 2001}, 1));
    // Depth: the near plane at 0, the far plane at the top of the range.
    EXPECT_FLOAT_EQ(SelectionDepthToCm(0, 10.0, 1000.0), 10.0f);
    EXPECT_NEAR(SelectionDepthToCm(0xFFFFFFFFu, 10.0, 1000.0), 1000.0f, 0.01f);
}

TEST(FindNearestAxis, NearestSegmentTieBreakAndElementsFromPassThroughs) {
    const float element = CRndrPass::NameToToken(2345);
    const float other = CRndrPass::NameToToken(2346);
    const float arm = CRndrPass::NameToToken(3);
    // clang-format off
    const std::vector<float> buffer = {
        GL_PASS_THROUGH_TOKEN, element,
        GL_PASS_THROUGH_TOKEN, arm,
        GL_LINE_TOKEN, 10, 10, 10, 50,          // 5 px from (15, 30), first vertex 20.6 px
        GL_PASS_THROUGH_TOKEN, other,           // a new element resets the connection
        GL_LINE_RESET_TOKEN, 20, 100, 20, 30,   // 5 px too, first vertex farther: stays out
        GL_POINT_TOKEN, 15, 30,                 // skipped by their lengths
        GL_POLYGON_TOKEN, 3, 15, 30, 16, 30, 15, 31,
        GL_LINE_TOKEN, 20.004f, 30, 20.004f, 60, // 0.004 px farther, within the tie, first
                                                 // vertex nearer: it wins
        GL_LINE_TOKEN, 15, 30, 15, 31};         // would be nearest, but is cut off by the count
    // clang-format on
    const long count = static_cast<long>(buffer.size()) - 4;
    SAxisHit hit = FindNearestAxis(buffer, count, 15.0, 30.0);
    EXPECT_EQ(hit.element, ElmntId(2346));
    EXPECT_EQ(hit.connection, -1);
    EXPECT_NEAR(hit.distance, 5.004, 1e-4);
    EXPECT_NEAR(hit.endDistance, 5.004, 1e-4);
    // Up to the second line: the tie goes to the first axis, with its element and connection.
    hit = FindNearestAxis(buffer, 16, 15.0, 30.0);
    EXPECT_EQ(hit.element, ElmntId(2345));
    EXPECT_EQ(hit.connection, 3);
    EXPECT_DOUBLE_EQ(hit.distance, 5.0);
    // Beyond a segment's end the distance is to that end.
    hit = FindNearestAxis(buffer, 9, 13.0, 54.0);
    EXPECT_DOUBLE_EQ(hit.distance, 5.0);
    // Nothing but a pass-through: no axis.
    EXPECT_FALSE(FindNearestAxis(buffer, 2, 0.0, 0.0).element.IsValid());
}

} // namespace
