// The head-trap test: the measures of an opening between two tubes, the panels that close it,
// and the command's selection and messages.
#include <cmath>

#include <gtest/gtest.h>

#include "app/checks/HeadTrapTest.h"
#include "tests/app/checks/CheckDesign.h"

namespace {

// A tube of 500 mm (550 mm between the coupling centres) from the point along the axis.
struct STubeAt {
    CVector3 at;
    CMatrix3 rotation = AlongX;
    ElmntKind kind = ElmntKind::Tube;
};

// Local X turned from world X towards world Z until its cosine with X is c.
CMatrix3 TurnedFromX(double c) {
    const double s = std::sqrt(1.0 - c * c);
    return CMatrix3::FromColumns({c, 0, s}, {0, 1, 0}, {-s, 0, c});
}

// A panel in the plane z = 0 centred at (x, y) with the local X and Y extent between its
// corner points (mm).
CElmnt& PutPanel(CCheckDesign& design, ElmntKind kind, double x, double y, double width,
                 double height, CMatrix3 rotation = {}) {
    return design.Put(kind, {x, y, 0}, static_cast<float>(height - 50.0), rotation,
                      static_cast<float>(width - 50.0));
}

} // namespace

TEST(HeadTrap, MeasuresOfTheOpeningBetweenTwoTubes) {
    const struct {
        const char* what;
        STubeAt a;
        STubeAt b;
        std::size_t selected;
    } rows[] = {
        {"side by side 200 apart at 700", {{0, 700, 0}}, {{0, 700, 200}}, 2},
        {"151 apart", {{0, 700, 0}}, {{0, 700, 151}}, 2},
        {"299 apart", {{0, 700, 0}}, {{0, 700, 299}}, 2},
        {"150 apart", {{0, 700, 0}}, {{0, 700, 150}}, 0},
        {"300 apart", {{0, 700, 0}}, {{0, 700, 300}}, 0},
        {"overlap 149", {{0, 700, 0}}, {{401, 700, 200}}, 2},
        {"overlap 148", {{0, 700, 0}}, {{402, 700, 200}}, 0},
        {"opposite ways, overlap 149", {{0, 700, 0}}, {{951, 700, 200}, AlongMinusX}, 2},
        {"opposite ways, overlap 148", {{0, 700, 0}}, {{952, 700, 200}, AlongMinusX}, 0},
        {"one above the other at 300 and 500", {{0, 300, 0}}, {{0, 500, 0}}, 0},
        {"one above the other at 450 and 650", {{0, 450, 0}}, {{0, 650, 0}}, 2},
        {"upright beside each other", {{0, 100, 0}, AlongY}, {{0, 100, 200}, AlongY}, 2},
        {"cosine 0.995", {{0, 700, 0}}, {{0, 700, 200}, TurnedFromX(0.995)}, 2},
        {"cosine 0.99", {{0, 700, 0}}, {{0, 700, 200}, TurnedFromX(0.99)}, 0},
        {"a bent tube", {{0, 700, 0}}, {{0, 700, 200}, AlongX, ElmntKind::RoundTube}, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CCheckDesign design;
        const CElmnt& a = design.Put(row.a.kind, row.a.at, 500.0f, row.a.rotation);
        const CElmnt& b = design.Put(row.b.kind, row.b.at, 500.0f, row.b.rotation);
        const std::vector<ElmntId> found = FindHeadTraps(design.Dcmt());
        EXPECT_EQ(found.size(), row.selected);
        if (found.size() == 2) {
            EXPECT_EQ(found, (std::vector<ElmntId>{a.GetId(), b.GetId()}));
        }
    }
}

TEST(HeadTrap, OnlyAPlugInPanelInThePlaneClosesTheOpening) {
    // Tubes at heights 700 and 900: the opening is 550 x 200 mm in the plane z = 0.
    const struct {
        const char* what;
        ElmntKind kind;
        double z;
        double height;
        CMatrix3 rotation;
        bool closed;
    } rows[] = {
        {"plug-in panel", ElmntKind::Panel, 0.0, 200.0, {}, true},
        {"plug-in panel turned half round", ElmntKind::Panel, 0.0, 200.0,
         CMatrix3::FromColumns({-1, 0, 0}, {0, -1, 0}, {0, 0, 1}), true},
        {"plug-in panel 0.1 mm aside", ElmntKind::Panel, 0.1, 200.0, {}, true},
        {"plug-in panel 0.2 mm aside", ElmntKind::Panel, 0.2, 200.0, {}, false},
        {"plug-in panel 1 mm short", ElmntKind::Panel, 0.0, 199.0, {}, false},
        {"wooden panel", ElmntKind::Wood, 0.0, 200.0, {}, false},
        {"display panel", ElmntKind::Display, 0.0, 200.0, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CCheckDesign design;
        design.Put(ElmntKind::Tube, {0, 700, 0}, 500.0f);
        design.Put(ElmntKind::Tube, {0, 900, 0}, 500.0f);
        CElmnt& panel = PutPanel(design, row.kind, 275.0, 800.0, 550.0, row.height, row.rotation);
        panel.placement.translation.z = row.z;
        EXPECT_EQ(FindHeadTraps(design.Dcmt()).empty(), row.closed);
    }
    // A panel bigger than the opening covers it; one beside it, or degenerate, does not.
    const Outline panel = {{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}}};
    EXPECT_TRUE(PanelCoversOpening(panel, {{{0, 10, 0}, {100, 10, 0}, {100, 90, 0}, {0, 90, 0}}}));
    EXPECT_TRUE(PanelCoversOpening(panel, {{{100.05, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}));
    EXPECT_FALSE(PanelCoversOpening(panel, {{{100.2, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}));
    const Outline flat = {{{0, 0, 0}, {100, 0, 0}, {100, 0, 0}, {0, 0, 0}}};
    EXPECT_FALSE(PanelCoversOpening(flat, {{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}));
}

TEST(HeadTrap, CommandSelectsEachTubeOnceAndTellsTheCount) {
    CCheckDesign design;
    // Three tubes 200 mm apart: two openings that share the middle tube.
    const CElmnt& a = design.Put(ElmntKind::Tube, {0, 700, 0}, 500.0f);
    const CElmnt& b = design.Put(ElmntKind::Tube, {0, 700, 200}, 500.0f);
    const CElmnt& c = design.Put(ElmntKind::Tube, {0, 700, 400}, 500.0f);
    CElmnt& low = design.Put(ElmntKind::Tube, {0, 100, 0}, 500.0f);
    low.Select();
    const std::vector<ElmntId> expected = {a.GetId(), b.GetId(), c.GetId()};
    EXPECT_EQ(
        RunHeadTrapTest(design.Dcmt(), CCheckDesign::CouplingMaterial, CCheckDesign::SnapRadiusSq),
        expected);
    EXPECT_EQ(design.Selected(), expected);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "3 Elemente bilden möglicherweise ein Kopffalle und wurden selektiert!\n"
              "Betätigen Sie \"Nur selektierte Elemente\" um diese Elemente besser erkennen zu "
              "können. Überprüfen Sie, ob man zwischen den Elemenen mit dem Kopf hängen bleiben "
              "kann!");
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Error);
    EXPECT_EQ(design.Views().hints, std::vector<ViewHint>{ViewHint::Selection});
    EXPECT_EQ(design.Views().boxesBefore, std::vector<std::size_t>{0});
}

TEST(HeadTrap, CommandOnADesignWithoutTraps) {
    CCheckDesign design;
    CElmnt& start = *design.Dcmt().GetElmntList().GetAt(0);
    start.Select();
    EXPECT_TRUE(
        RunHeadTrapTest(design.Dcmt(), CCheckDesign::CouplingMaterial, CCheckDesign::SnapRadiusSq)
            .empty());
    EXPECT_FALSE(start.selected);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Es wurden keine Kopffallen gefunden.");
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Information);
}
