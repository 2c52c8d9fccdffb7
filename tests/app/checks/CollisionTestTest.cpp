// The collision test: the exact test of a pair of triangles, reading the surface feedback, the
// sweep, and the whole command on designs drawn in a headless GL context.
#include <algorithm>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/checks/CollisionTest.h"
#include "app/render/RndrPass.h"
#include "app/render/VrmlViewer.h"
#include "support/SettingsStore.h"
#include "tests/app/checks/CheckDesign.h"
#include "tests/harness/GlTestContext.h"

namespace {

STrngl Trngl(uint32_t element, CVector3 p0, CVector3 p1, CVector3 p2) {
    STrngl trngl;
    trngl.element = ElmntId(element);
    trngl.vertices = {p0, p1, p2};
    trngl.CalcBox();
    return trngl;
}

// The right triangle of 100 mm legs in the plane z = 0, anticlockwise seen from +z.
const STrngl Base = Trngl(2000, {0, 0, 0}, {100, 0, 0}, {0, 100, 0});

} // namespace

TEST(TriHitsTri, CoplanarAndPiercingTriangles) {
    const struct {
        const char* what;
        STrngl b;
        bool hits;
    } rows[] = {
        {"same face, same corners", Trngl(2001, {0, 0, 0}, {100, 0, 0}, {0, 100, 0}), true},
        {"same face, corners 0.07 mm off",
         Trngl(2001, {0.05, 0, 0.05}, {100.05, 0, 0.05}, {0, 100.05, 0.05}), true},
        {"facing face (touching bodies)", Trngl(2001, {0, 0, 0}, {0, 100, 0}, {100, 0, 0}), false},
        {"corner inside, same winding", Trngl(2001, {20, 20, 0}, {200, 20, 0}, {20, 200, 0}), true},
        {"edge crossing only", Trngl(2001, {50, -10, 0}, {60, -10, 0}, {50, 200, 0}), true},
        {"beside, sharing an edge", Trngl(2001, {0, 0, 0}, {0, -100, 0}, {100, 0, 0}), false},
        {"far away in the plane", Trngl(2001, {300, 0, 0}, {400, 0, 0}, {300, 100, 0}), false},
        {"parallel 0.2 mm above", Trngl(2001, {20, 20, 0.2}, {200, 20, 0.2}, {20, 200, 0.2}),
         false},
        {"edge pierces the inside", Trngl(2001, {20, 20, -10}, {20, 20, 10}, {200, 200, 10}), true},
        {"edge passes outside", Trngl(2001, {80, 80, -10}, {80, 80, 10}, {200, 200, 10}), false},
        {"reaches 0.1 mm through", Trngl(2001, {20, 20, -0.1}, {20, 20, 50}, {30, 20, 50}), false},
        {"reaches 0.2 mm through", Trngl(2001, {20, 20, -0.2}, {20, 20, 50}, {30, 20, 50}), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(TriHitsTri(Base, row.b) || TriHitsTri(row.b, Base), row.hits);
    }
    // A degenerate triangle is never cut into.
    const STrngl line = Trngl(2001, {0, 0, 0}, {50, 0, 0}, {100, 0, 0});
    EXPECT_FALSE(TriHitsTri(line, Base));
}

TEST(ReadSurfaceFeedback, ElementsPolygonsAndSkippedTokens) {
    const float id = CRndrPass::NameToToken(2345);
    const float small = CRndrPass::NameToToken(7);
    // Window units: x and y times 32 mm, depth 0.5 + z / 65536 (mirrored).
    // clang-format off
    const std::vector<float> buffer = {
        GL_POLYGON_TOKEN, 3, 0, 0, 0.5f, 1, 0, 0.5f, 0, 1, 0.5f, // before any element
        GL_PASS_THROUGH_TOKEN, id,
        GL_LINE_TOKEN, 0, 0, 0, 9, 9, 9,
        GL_PASS_THROUGH_TOKEN, small, // a sub-name: still the same element
        GL_LINE_RESET_TOKEN, 0, 0, 0, 9, 9, 9,
        GL_POLYGON_TOKEN, 4, 1, 2, 0.25f, 3, 2, 0.25f, 3, 4, 0.25f, 1, 4, 0.25f,
        GL_POLYGON_TOKEN, 3, 0, 0, 0.5f, 1, 0}; // cut off at the end
    // clang-format on
    CTrnglList list;
    ReadSurfaceFeedback(buffer, list);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_FALSE(list[0].element.IsValid());
    const STrngl& quad = list[1];
    EXPECT_EQ(quad.element, ElmntId(2345));
    // Only the first three corners of the quad.
    EXPECT_EQ(quad.vertices[0], CVector3(32, 64, -16384));
    EXPECT_EQ(quad.vertices[2], CVector3(96, 128, -16384));
    EXPECT_EQ(quad.minX, 32.0);
    EXPECT_EQ(quad.maxY, 128.0);
    // An unknown token ends the reading.
    CTrnglList stopped;
    ReadSurfaceFeedback(std::vector<float>{12345, GL_POLYGON_TOKEN, 3, 0, 0, 0, 1, 0, 0, 0, 1, 0},
                        stopped);
    EXPECT_EQ(stopped.GetCount(), 0);
}

TEST(FindCollisions, EachElementOnceAndOnlyOverlappingXRanges) {
    // Three crossing triangles of three elements, plus a second triangle of the first one.
    CTrnglList list;
    list.Append(Trngl(2000, {0, 0, 0}, {100, 0, 0}, {0, 100, 0}));
    list.Append(Trngl(2000, {0, 0, 0}, {0, 100, 0}, {0, 0, 100}));
    list.Append(Trngl(2001, {20, 20, -10}, {20, 20, 10}, {200, 200, 10}));
    list.Append(Trngl(2002, {10, 30, -10}, {10, 30, 10}, {-200, 200, 10}));
    EXPECT_EQ(Sorted(FindCollisions(list)),
              (std::vector<ElmntId>{ElmntId(2000), ElmntId(2001), ElmntId(2002)}));
    // Two equal faces in the plane x = 10: their x ranges only touch, so they are not compared.
    CTrnglList flat;
    flat.Append(Trngl(2000, {10, 0, 0}, {10, 100, 0}, {10, 0, 100}));
    flat.Append(Trngl(2001, {10, 0, 0}, {10, 100, 0}, {10, 0, 100}));
    EXPECT_TRUE(TriHitsTri(flat[0], flat[1]));
    EXPECT_TRUE(FindCollisions(flat).empty());
    // Surfaces that no element named are never selected.
    CTrnglList unnamed;
    unnamed.Append(Trngl(0, {0, 0, 0}, {100, 0, 0}, {0, 100, 0}));
    unnamed.Append(Trngl(2001, {20, 20, -10}, {20, 20, 10}, {200, 200, 10}));
    EXPECT_TRUE(FindCollisions(unnamed).empty());
}

namespace {

class CollisionTest : public GlTest {
protected:
    std::optional<std::vector<ElmntId>> Run(int limit = CheckFeedbackMaxSize) {
        return RunCollisionTest(m_design.Dcmt(), CCheckDesign::CouplingMaterial,
                                CCheckDesign::SnapRadiusSq, m_bufferSize, limit);
    }

    CCheckDesign m_design;
    int m_bufferSize = CheckFeedbackStartSize;
};

} // namespace

TEST_F(CollisionTest, CrossingTubesAreSelectedAndCounted) {
    CElmnt& a = m_design.Put(ElmntKind::Tube, {0, 1000, 0}, 750.0f, AlongX);
    CElmnt& b = m_design.Put(ElmntKind::Tube, {400, 1000, -400}, 750.0f, AlongZ);
    CElmnt& apart = m_design.Put(ElmntKind::Tube, {0, 2000, 0}, 750.0f, AlongX);
    apart.Select();
    const auto found = Run();
    ASSERT_TRUE(found.has_value());
    const std::vector<ElmntId> pair = Sorted({a.GetId(), b.GetId()});
    EXPECT_EQ(Sorted(*found), pair);
    // The selection before the test does not count: only what collides is selected afterwards.
    EXPECT_EQ(Sorted(m_design.Selected()), pair);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const RecordedBox& box = TestUi().Boxes()[0];
    EXPECT_EQ(box.text, "2 Elemente weisen überschneidungen auf und wurden selektiert!\nBetätigen "
                        "Sie \"Nur selektierte Elemente\" um die Elemente mit Überschneidungen "
                        "besser erkennen zu können.");
    EXPECT_EQ(box.icon, MsgIcon::Error);
    // The views hear of the new selection before the message is shown.
    EXPECT_EQ(m_design.Views().hints, std::vector<ViewHint>{ViewHint::Selection});
    EXPECT_EQ(m_design.Views().boxesBefore, std::vector<std::size_t>{0});
    EXPECT_EQ(TestUi().BusyScopes(), 1);
    EXPECT_EQ(TestUi().BusyDepth(), 0);
    ExpectNoGlError("collision test");
}

TEST_F(CollisionTest, JoinedElementsDoNotCollide) {
    // A frame of tubes linked to the couplings at their ends, and a tube through a hole coupling
    // that sits on it: all as the kit joins them.
    m_design.Put(ElmntKind::Tube, {0, 1000, 0}, 350.0f, AlongX, 0.0f, true);
    m_design.Put(ElmntKind::Tube, {0, 1000, 0}, 350.0f, AlongY, 0.0f, true);
    m_design.Put(ElmntKind::Tube, {400, 1000, 0}, 350.0f, AlongZ, 0.0f, true);
    m_design.Put(ElmntKind::Tube, {0, 3000, 0}, 750.0f, AlongX);
    // Its X arms hold the tube it sits on.
    m_design.Put(ElmntKind::HoleConnector, {400, 3000, 0}, 0.0f, AlongX).SetArmMasks(0);
    const auto found = Run();
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->empty());
    EXPECT_TRUE(m_design.Selected().empty());
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Es wurden keine Überschneidungen gefunden.");
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Information);
    // A plain coupling in the hole coupling's place cuts into the tube.
    CElmnt& plain = m_design.Put(ElmntKind::Connector, {400, 3000, 0}, 0.0f);
    plain.SetOccupiedArms(3);
    const auto withPlain = Run();
    ASSERT_TRUE(withPlain.has_value());
    EXPECT_NE(std::find(withPlain->begin(), withPlain->end(), plain.GetId()), withPlain->end());
}

TEST_F(CollisionTest, OverlappingPanelsCollideTouchingPanelsDoNot) {
    // A panel of 400 x 400 mm between the coupling centres, its face 25.125 mm above the middle
    // on local Z; a second one turned over puts its face onto the first one's; a tube along +Z
    // ends just past the face (its mantle from 25 mm to 375 mm after its origin).
    const CMatrix3 over = CMatrix3::FromColumns({1, 0, 0}, {0, -1, 0}, {0, 0, -1});
    const struct {
        const char* what;
        ElmntKind kind;
        CVector3 at;
        CMatrix3 rotation;
        bool collide;
    } rows[] = {
        {"panel half over the other", ElmntKind::Panel, {200, 1000, 0}, {}, true},
        {"panel beside, sharing an edge", ElmntKind::Panel, {400, 1000, 0}, {}, false},
        {"panel turned over onto its face", ElmntKind::Panel, {0, 1000, 50.25}, over, false},
        {"panel turned over, 1 mm into it", ElmntKind::Panel, {0, 1010, 49.25}, over, true},
        {"tube end 1 mm short of the face", ElmntKind::Tube, {0, 1000, -350.875}, AlongZ, false},
        {"tube end 0.2 mm past the face", ElmntKind::Tube, {0, 1000, -349.675}, AlongZ, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TestUi().Reset();
        CCheckDesign design;
        design.Put(ElmntKind::Panel, {0, 1000, 0}, 350.0f, {}, 350.0f);
        design.Put(row.kind, row.at, 350.0f, row.rotation, 350.0f);
        const auto found = RunCollisionTest(design.Dcmt(), CCheckDesign::CouplingMaterial,
                                            CCheckDesign::SnapRadiusSq, m_bufferSize);
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->size(), row.collide ? 2u : 0u);
    }
}

TEST_F(CollisionTest, BufferGrowsToWhatIsNeededAndKeepsItsSize) {
    m_design.Put(ElmntKind::Tube, {0, 1000, 0}, 750.0f, AlongX);
    m_design.Put(ElmntKind::Tube, {400, 1000, -400}, 750.0f, AlongZ);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    m_bufferSize = 16;
    const auto found = Run(1 << 20);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->size(), 2u);
    const int grown = m_bufferSize;
    EXPECT_GT(grown, 16);
    EXPECT_EQ(grown & (grown - 1), 0) << "doubled from 16";
    // The kept size is enough the next time.
    ASSERT_TRUE(Run(1 << 20).has_value());
    EXPECT_EQ(m_bufferSize, grown);
    // The caller's viewport and matrices are as they were.
    GLint after[4] = {};
    glGetIntegerv(GL_VIEWPORT, after);
    EXPECT_TRUE(std::equal(viewport, viewport + 4, after));
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    EXPECT_EQ(mode, GL_RENDER);
    ExpectNoGlError("grown buffer");
}

TEST_F(CollisionTest, BufferAtItsLimitReportsOnlyTheInternalError) {
    CElmnt& a = m_design.Put(ElmntKind::Tube, {0, 1000, 0}, 750.0f, AlongX);
    m_design.Put(ElmntKind::Tube, {400, 1000, -400}, 750.0f, AlongZ);
    a.Select();
    m_bufferSize = 16;
    EXPECT_FALSE(Run(64).has_value());
    // 16, 32 and 64 were tried; 128 would pass the limit.
    EXPECT_EQ(m_bufferSize, 64);
    EXPECT_TRUE(m_design.Selected().empty());
    ASSERT_EQ(TestUi().Boxes().size(), 1u) << "no result after the error";
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Interner Fehler: Der Feedback-Puffer konnte nicht ausreichend vergrößert werden. "
              "Bitte wenden Sie sich an den Hersteller des Programms!");
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Error);
    EXPECT_EQ(m_design.Views().hints, std::vector<ViewHint>{ViewHint::Selection});
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    EXPECT_EQ(mode, GL_RENDER);
    ExpectNoGlError("buffer at its limit");
}

TEST_F(CollisionTest, ASlideModelCollidesThroughTheViewsDrawing) {
    // The slide of kind 41 is drawn from the model file by the view's viewer.
    {
        SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
        ASSERT_TRUE(user.WriteValue(VrmlSettingsKey, VrmlSettingsValue,
                                    SettingValue::String(ZARNEL_DATA_DIR)));
    }
    CElmnt& slide = m_design.Put(ElmntKind::SlideNew, {3000, 2000, 0}, 0.0f);
    // An upright tube through the slide's bed.
    CElmnt& tube = m_design.Put(ElmntKind::Tube, {3000, 1000, 300}, 1500.0f, AlongY);
    CVrmlViewer viewer;
    const SDrawView drawView{nullptr, 0.0f, 0.0f, &viewer};
    const auto found =
        RunCollisionTest(m_design.Dcmt(), CCheckDesign::CouplingMaterial,
                         CCheckDesign::SnapRadiusSq, m_bufferSize, CheckFeedbackMaxSize, &drawView);
    ASSERT_NE(viewer.GetScene(), nullptr) << "the model was read";
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(Sorted(*found), Sorted({slide.GetId(), tube.GetId()}));
    EXPECT_EQ(Sorted(m_design.Selected()), Sorted({slide.GetId(), tube.GetId()}));
    ASSERT_FALSE(TestUi().Boxes().empty());
    EXPECT_EQ(TestUi().Boxes().back().text.rfind("2 Elemente", 0), 0u);
    ExpectNoGlError("collision test with the slide model");
}
