// The merged picture is the picture drawn element by element: every kind of the catalogue in the
// tool modes that highlight, again after each input that drawing reads has changed (the new
// picture gathered only where the keys say), and after the panel tool's first tube was moved by
// another window of the design.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/render/MergedScene.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "app/render/VrmlViewer.h"
#include "model/Coupling.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/SettingsStore.h"
#include "tests/app/render/KindPlacements.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// Pixels in which the two pictures may differ (where faces of two elements lie in one plane). A
// change of an input must show in at least three times as many, or a stale picture could pass.
constexpr int kTolerance = 8;
constexpr ToolMode kHighlightModes[] = {ToolMode::Select, ToolMode::AtConnection,
                                        ToolMode::SpecialPanel, ToolMode::PanelSecondTube};

class MergedPicture : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        std::string error;
        ASSERT_TRUE(m_gl.Create(kWidth, kHeight, error)) << error;
        SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
        ASSERT_TRUE(user.WriteValue(VrmlSettingsKey, VrmlSettingsValue,
                                    SettingValue::String(ZARNEL_DATA_DIR)));
        ASSERT_TRUE(WriteCheckedTexture(m_folder.File("checks.bmp")));
        auto textured = std::make_unique<CMtrl>(*m_dcmt.GetMaterial(10));
        textured->SetTextureFile(m_folder.File("checks.bmp"));
        ASSERT_TRUE(m_dcmt.SetMaterial(TexturedSlot, std::move(textured)));
        SRndrQultValues values = SRndrQultValues::ProfileDefaults();
        values.shading = 2;
        values.texture = 1;
        values.modell = 2;
        m_quality.SetValues(values);
    }

    // The first of the placed elements of the kind.
    CElmnt& Placed(ElmntKind kind) {
        const auto found = std::ranges::find(m_placed, kind, &CElmnt::kind);
        EXPECT_NE(found, m_placed.end()) << KindCode(kind);
        return **found;
    }

    CElmnt& Place(const SPlaced& placed, CVector3 offset) {
        CElmnt& elmnt = m_dcmt.AddElement(
            MakePlaced(m_dcmt.GetIdSource(), m_dcmt.GetCurrentRevision(), placed, offset));
        m_placed.push_back(&elmnt);
        return elmnt;
    }

    // The picture of the design from above the front, merged when a scene is given.
    std::vector<uint8_t> Draw(CMergedScene* merged, ToolMode mode) {
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(50.0, double(kWidth) / kHeight, 100.0, 30000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(-1300.0, 5500.0, -3000.0, -1300.0, 0.0, 1800.0, 0.0, 1.0, 0.0);
        const GLfloat light[] = {0.4f, 1.0f, -0.7f, 0.0f};
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        glEnable(GL_LIGHT0);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
        glEnable(GL_NORMALIZE);
        const CRndrPass pass(RndrMode::Draw, &m_quality, &m_meshes);
        if (merged != nullptr) {
            merged->Draw(m_dcmt, pass, mode, m_flags, &m_view);
            EXPECT_GT(merged->GetMergedCalls(), 0u) << "drawn element by element";
        } else {
            const std::vector<const CMtrl*> materials = GetMtrlTable(m_dcmt);
            DrawElmntList(m_dcmt.GetElmntList(), pass, [&](const CElmnt& elmnt) {
                DrawElmnt(elmnt, pass, materials, m_dcmt.GetCurrentRevision(), mode, m_flags,
                          &m_view);
            });
        }
        glDisable(GL_NORMALIZE);
        ExpectNoGlError("picture");
        return m_gl.ReadPixels();
    }

    TempFolder m_folder;
    CZarnelDcmt m_dcmt;
    std::vector<CElmnt*> m_placed;
    CRndrQult m_quality;
    CMeshCache m_meshes;
    DrawFlags m_flags = DrawFlags::None;
    CVrmlViewer m_viewer;
    SDrawView m_view{nullptr, 350.0f, 500.0f, &m_viewer};
};

TEST_F(MergedPicture, IsThePictureDrawnElementByElementForEveryKindAndEveryKeyedInput) {
    const std::vector<SPlaced> rest = {
        {ElmntKind::Tube, 600, 0, {-1500, 0, 600}, 1},
        {ElmntKind::RoundTube, 300, 0, {-1500, 0, 1200}, 1},
        {ElmntKind::Bolt, 100, 0, {-800, 0, 1600}, 2},
        {ElmntKind::Adapter, 0, 0, {-600, 0, 1600}, 3},
        {ElmntKind::OpenConnector, 0, 0, {-400, 0, 1600}, 4},
        {ElmntKind::HoleConnector, 0, 0, {-200, 0, 1600}, 5},
        {ElmntKind::AluConnector, 300, 0, {-1500, 0, 2000}, 11},
        {ElmntKind::SlideNew, 0, 0, {-2500, 0, 1000}, 6},
    };
    for (const auto& [list, offset] : std::vector<std::pair<std::vector<SPlaced>, CVector3>>{
             {PanelsAndTextiles(), {0, 0, 0}},
             {Joined(WheelsAndCaps(), Couplings()), {0, 0, 1900}},
             {Joined(Slides(), PoolsAndRoofs()), {-1500, 0, 3300}},
             {rest, {}}}) {
        for (const SPlaced& placed : list) {
            Place(placed, offset);
        }
    }
    // The second tube of the panel tool fits the first one (parallel, 350 mm apart) and lies in
    // the first run of gathered elements, the first tube in the second run.
    Place({ElmntKind::Tube, 1500, 0, {-1000, 0, -1200}, 1}, {});
    for (const SKindInfo& info : GetKindCatalogue()) {
        EXPECT_TRUE(info.kind == ElmntKind::FloorGrid ||
                    std::ranges::find(m_placed, info.kind, &CElmnt::kind) != m_placed.end())
            << "kind " << KindCode(info.kind) << " is not placed";
    }
    // Couplings and a blue tube far behind the camera fill the first run. The second starts with
    // a tube whose slot is emptied later: drawn element by element it follows the blue tube,
    // gathered it is the first of its run.
    while (m_dcmt.GetElmntList().Size() < CMergedScene::kRunLength - 1) {
        Place({ElmntKind::Connector, 0, 0, {0, 0, -20000}, 2}, {});
    }
    Place({ElmntKind::Tube, 600, 0, {0, 0, -20000}, 4}, {});
    CElmnt& afterRunStart = Place({ElmntKind::Tube, 900, 0, {-2600, 0, -1000}, 7}, {});
    CElmnt& first = Place({ElmntKind::Tube, 1500, 0, {-1000, 0, -850}, 1}, {});
    m_view.firstTube = &first;

    // One window per tool mode, each keeping what it gathered from row to row.
    std::vector<std::unique_ptr<CMergedScene>> windows;
    for (std::size_t m = 0; m < std::size(kHighlightModes); ++m) {
        windows.push_back(std::make_unique<CMergedScene>());
    }
    const auto expectSamePictures = [&](const std::string& when) {
        std::vector<std::vector<uint8_t>> pictures;
        for (std::size_t m = 0; m < std::size(kHighlightModes); ++m) {
            pictures.push_back(Draw(nullptr, kHighlightModes[m]));
            const SPictureComparison seen = ComparePictures(
                pictures.back(), Draw(windows[m].get(), kHighlightModes[m]), {255, 255, 255}, 6);
            EXPECT_GT(seen.drawn, kWidth * kHeight / 20) << when;
            EXPECT_LE(seen.different, kTolerance)
                << when << " in tool mode " << ToolModeCode(kHighlightModes[m]);
        }
        return pictures;
    };

    struct SRow {
        const char* input;
        std::function<void()> change;
    };
    // Each on an element without texture: textured ones are drawn by themselves at every picture.
    const SRow rows[] = {
        {"position", [&] { Placed(ElmntKind::Bag).Translate(0.0, 200.0, 300.0); }},
        {"rotation", [&] { Placed(ElmntKind::RoundWood).placement.RotateDeg(40.0, 1, 2); }},
        {"length", [&] { Placed(ElmntKind::Tube).length = 1800.0f; }},
        {"second size", [&] { Placed(ElmntKind::Lattice).secondSize = 700.0f; }},
        {"correction", [&] { Placed(ElmntKind::RoundTube).correction = 200.0f; }},
        {"second correction", [&] { Placed(ElmntKind::WoodBed).secondCorrection = 300.0f; }},
        {"kind", [&] { Placed(ElmntKind::Slide).kind = ElmntKind::CurvedSlide; }},
        {"material slot", [&] { EXPECT_TRUE(Placed(ElmntKind::Pool).SetMaterial(3)); }},
        {"empty material slot", [&] { EXPECT_TRUE(afterRunStart.SetMaterial(17)); }},
        {"occupied arms", [&] { EXPECT_TRUE(Placed(ElmntKind::Connector).SetOccupiedArms(63)); }},
        {"free arms", [&] { EXPECT_TRUE(Placed(ElmntKind::Connector).SetFreeArms(0)); }},
        {"free corner slots",
         [&] { EXPECT_TRUE(Placed(ElmntKind::Connector).SetFreeCornerSlots(0)); }},
        {"turn variant", [&] { Placed(ElmntKind::Clip).turnVariant = 2; }},
        {"selected", [&] { Placed(ElmntKind::TextilRound).Select(); }},
        {"alive", [&] { EXPECT_TRUE(m_dcmt.DeleteSelection(2)); }},
        {"a material's colour", [&] { m_dcmt.GetMaterial(3)->SetColor(0.9f, 0.1f, 0.6f); }},
        {"quality profile",
         [&] {
             SRndrQultValues values = m_quality.GetValues();
             values.shading = 1;
             m_quality.SetValues(values);
         }},
        {"display flags", [&] { m_flags = DrawFlags::Explosion; }},
        // The second tube no longer fits; when the first one has moved, it fits again.
        {"panel sizes", [&] { m_view.panelWidth = 950.0f; }},
        {"first tube moved in another window",
         [&] {
             CMergedScene other;
             Draw(&other, ToolMode::Select);
             m_dcmt.ClearSelection(2, CouplingSnap::NormalSq);
             first.Select();
             EXPECT_TRUE(
                 m_dcmt.MoveSelection(0.0, 0.0, 600.0, 2, CouplingSnap::NormalSq, false, false));
             Draw(&other, ToolMode::Select);
         }},
    };
    std::vector<std::vector<uint8_t>> before = expectSamePictures("as placed");
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.input);
        row.change();
        const std::vector<std::vector<uint8_t>> after = expectSamePictures("changed");
        int changed = 0;
        for (std::size_t m = 0; m < after.size(); ++m) {
            changed = std::max(changed,
                               ComparePictures(before[m], after[m], {255, 255, 255}, 6).different);
        }
        EXPECT_GT(changed, 3 * kTolerance) << "the change does not show";
        before = after;
    }
}

} // namespace
