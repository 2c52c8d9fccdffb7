// The tube, panel and connector dialogs on a virtual display, on a real design: each opens with
// the element's values and texts, OK applies them as the document operation, Escape and the
// close box change nothing, refused input keeps the dialog open, the buttons that show a change
// at once apply it at once; the panel dialog stays inside the work area. One screenshot each.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/radiobut.h>

#include "app/dialogs/DlgCnct.h"
#include "app/dialogs/DlgMtrl.h"
#include "app/dialogs/DlgPnl.h"
#include "app/dialogs/DlgRamp.h"
#include "app/dialogs/DlgTube.h"
#include "support/Orientation.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/WindowWait.h"
#include "tests/model/TestDesign.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_elmnt_tests"), true);

class CHints : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

wxRadioButton* Radio(wxWindow& dialog, int id) {
    auto* radio = dynamic_cast<wxRadioButton*>(dialog.FindWindow(id));
    EXPECT_NE(radio, nullptr) << id;
    return radio;
}

std::string Label(wxWindow& dialog, int id) {
    wxWindow* control = dialog.FindWindow(id);
    EXPECT_NE(control, nullptr) << id;
    return control != nullptr ? control->GetLabel().utf8_string() : std::string();
}

// Picks a material by its name in the open surface dialog and confirms it.
void ChooseSurface(CDlgMtrl& dialog, const std::string& name) {
    auto* list = dynamic_cast<wxComboBox*>(dialog.FindWindow(CDlgMtrl::IdMaterial));
    ASSERT_NE(list, nullptr);
    const int index = list->FindString(wxString::FromUTF8(name), true);
    ASSERT_NE(index, wxNOT_FOUND) << name;
    list->SetSelection(index);
    wxCommandEvent event(wxEVT_COMBOBOX, CDlgMtrl::IdMaterial);
    event.SetEventObject(list);
    event.SetInt(index);
    list->GetEventHandler()->ProcessEvent(event);
    Click(dialog, wxID_OK);
}

// A design with a tube, a coupling and a panel in a square of tubes; the views are counted.
class ElmntDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        tube = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusX);
        ASSERT_TRUE(d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusY));
        ASSERT_TRUE(d.Place(*d.CouplingAt({400, 0, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusY));
        ASSERT_TRUE(d.Place(*d.CouplingAt({0, 400, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusX));
        panel = d.Place(*d.start, ToolMode::SpecialPanel, ElmntKind::Panel, 350, 350, 0);
        ASSERT_TRUE(tube && panel);
        tube->correction = -12.5f;
        coupling = d.CouplingAt({400, 400, 0});
        d.dcmt.UpdatePartsList();
        d.dcmt.SetModified(false);
        d.dcmt.AddObserver(hints);
        revision = d.Current();
        context.dcmt = &d.dcmt;
        context.couplingMaterial = TestDesign::CouplingMaterial;
        context.snapRadiusSq = d.snapRadiusSq;
        context.categorySlots = &slots;
        context.repaint = [this] { ++repaints; };
        TestUi().Reset(); // the new design asked for its price and stock lists
    }
    void TearDown() override { d.dcmt.RemoveObserver(hints); }

    void ExpectNothingChanged() {
        EXPECT_EQ(d.Current(), revision);
        EXPECT_FALSE(d.dcmt.IsModified());
        EXPECT_TRUE(hints.hints.empty());
    }

    TestDesign d;
    CHints hints;
    SElmntDlgContext context;
    CMtrlChoice::CategorySlots slots = {2, 6, 1, 2, 6, 7, 9, 11, 8}; // the view's
    int repaints = 0;
    CElmnt* tube = nullptr;
    CElmnt* panel = nullptr;
    CElmnt* coupling = nullptr;
    Revision revision = 0;
};

} // namespace

TEST_F(ElmntDlgTest, TubeOpensWithItsValuesAndOkApplies) {
    WhenShown<CDlgTube>([](CDlgTube& dialog) {
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "Rohr");
        EXPECT_EQ(FieldText(dialog, CDlgTube::IdLength), "35");
        EXPECT_EQ(FieldText(dialog, CDlgTube::IdCorrection), Local("-1.25"));
        EXPECT_TRUE(Radio(dialog, CElmntDlg::IdFixed)->GetValue());
        EXPECT_EQ(Label(dialog, CElmntDlg::IdFree), "frei (automatisch anpassen)");
        EXPECT_EQ(Label(dialog, CElmntDlg::IdRedraw), "3D-Bild sofort neu zeichnen");
        EXPECT_FALSE(Screenshot(dialog, "dialog-tube.png").empty());
        Type(dialog, CDlgTube::IdLength, Local("45.5"));
        Click(dialog, wxID_OK);
    });
    slots[2] = 3; // the view's "Verbinder" slot as it is now, not the context's copy
    EXPECT_TRUE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    EXPECT_EQ(d.Current(), revision + 1);
    EXPECT_EQ(tube->length, 455.0f);
    const CElmnt* created = d.CouplingAt(tube->GetEndFrame(1).translation);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetMaterial(), 3);
    EXPECT_EQ(tube->correction, -12.5f) << "left as loaded";
    EXPECT_EQ(hints.hints, std::vector<ViewHint>{ViewHint::Change});
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(ElmntDlgTest, TubeEscapeAndCloseBoxChangeNothing) {
    WhenShown<CDlgTube>([](CDlgTube& dialog) {
        Type(dialog, CDlgTube::IdLength, "50");
        Click(dialog, CElmntDlg::IdFree);
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    WhenShown<CDlgTube>([](CDlgTube& dialog) {
        Type(dialog, CDlgTube::IdLength, "50");
        PressCloseBox(dialog);
    });
    EXPECT_FALSE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    ExpectNothingChanged();
    EXPECT_EQ(tube->length, 350.0f);
}

TEST_F(ElmntDlgTest, TubeRefusedInputKeepsTheDialogOpen) {
    const char* refused[] = {"9", "10001", "nan", "inf", "0x20", "35 cm", ""};
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        TestUi().Reset();
        WhenShown<CDlgTube>([text](CDlgTube& dialog) {
            Type(dialog, CDlgTube::IdLength, text);
            Click(dialog, wxID_OK);
            EXPECT_TRUE(dialog.IsModal()) << "still open";
            ASSERT_EQ(TestUi().Boxes().size(), 1u);
            EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Exclamation);
            PressEscape(dialog);
        });
        EXPECT_FALSE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    }
    EXPECT_EQ(TestUi().Boxes()[0].text, "Geben Sie eine Zahl ein.");
    ExpectNothingChanged();
}

TEST_F(ElmntDlgTest, TubeRedrawAppliesAtOnce) {
    WhenShown<CDlgTube>([this](CDlgTube& dialog) {
        Type(dialog, CDlgTube::IdCorrection, "2");
        Click(dialog, CElmntDlg::IdRedraw);
        EXPECT_EQ(tube->correction, 20.0f);
        EXPECT_EQ(d.Current(), revision + 1);
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    EXPECT_EQ(d.Current(), revision + 1) << "OK found nothing more to change";
    EXPECT_EQ(hints.hints, (std::vector<ViewHint>{ViewHint::Change, ViewHint::Everything}));
}

TEST_F(ElmntDlgTest, SurfaceChangesTheMaterialInPlaceAndCancelKeepsIt) {
    ASSERT_EQ(tube->GetMaterial(), 2);
    WhenShown<CDlgTube>([this](CDlgTube& dialog) {
        WhenShown<CDlgMtrl>([](CDlgMtrl& surface) { ChooseSurface(surface, "Alu"); });
        Click(dialog, CElmntDlg::IdSurface);
        EXPECT_EQ(tube->GetMaterial(), 11);
        EXPECT_EQ(d.Current(), revision) << "no revision";
        EXPECT_TRUE(d.dcmt.IsModified());
        EXPECT_EQ(hints.hints.back(), ViewHint::Everything);
        EXPECT_GT(repaints, 0);
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    EXPECT_EQ(tube->GetMaterial(), 11);
    EXPECT_EQ(slots[0], 2) << "the tools' slots stay as they were";
    EXPECT_EQ(d.Current(), revision);
}

TEST_F(ElmntDlgTest, EditOpensOnlyOnTheKindsOfItsDialog) {
    EXPECT_FALSE(CDlgTube::Edit(nullptr, context, panel->GetId()));
    EXPECT_FALSE(CDlgCnct::Edit(nullptr, context, tube->GetId()));
    EXPECT_FALSE(CDlgPnl::Edit(nullptr, context, coupling->GetId(), {}));
    EXPECT_FALSE(CDlgTube::Edit(nullptr, context, ElmntId(ElmntId::End - 1)));
}

TEST_F(ElmntDlgTest, ConnectorFixedFlagChangesInPlace) {
    ASSERT_TRUE(coupling->fixed);
    WhenShown<CDlgCnct>([](CDlgCnct& dialog) {
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "Verbinder");
        EXPECT_TRUE(Radio(dialog, CElmntDlg::IdFixed)->GetValue());
        EXPECT_EQ(Label(dialog, CDlgCnct::IdRamp), "Rampen...");
        EXPECT_FALSE(Screenshot(dialog, "dialog-connector.png").empty());
        WhenShown<CDlgRamp>([](CDlgRamp& ramp) { PressEscape(ramp); });
        Click(dialog, CDlgCnct::IdRamp);
        Click(dialog, CElmntDlg::IdFree);
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgCnct::Edit(nullptr, context, coupling->GetId()));
    ExpectNothingChanged();
    EXPECT_EQ(coupling->placement.translation, CVector3(400, 400, 0));

    // Without the view's material slots there is no surface choice.
    context.categorySlots = nullptr;

    WhenShown<CDlgCnct>([](CDlgCnct& dialog) {
        EXPECT_FALSE(dialog.FindWindow(CElmntDlg::IdSurface)->IsEnabled());
        Click(dialog, CElmntDlg::IdFree);
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(CDlgCnct::Edit(nullptr, context, coupling->GetId()));
    EXPECT_FALSE(coupling->fixed);
    EXPECT_EQ(d.Current(), revision) << "no revision";
    EXPECT_TRUE(d.dcmt.IsModified());
}

TEST_F(ElmntDlgTest, PanelOpensWithItsValuesAndOkResizes) {
    panel->correction = 20.0f;
    WhenShown<CDlgPnl>([](CDlgPnl& dialog) {
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "Platte");
        EXPECT_TRUE(Radio(dialog, 1003)->GetValue());
        EXPECT_EQ(Label(dialog, 1007), "Holzplatte mit Knopf");
        EXPECT_EQ(FieldText(dialog, CDlgPnl::IdLength), "35");
        EXPECT_EQ(FieldText(dialog, CDlgPnl::IdWidth), "35");
        EXPECT_EQ(FieldText(dialog, CDlgPnl::IdCorrection), "2");
        EXPECT_EQ(FieldText(dialog, CDlgPnl::IdSecondCorrection), "0");
        EXPECT_FALSE(Screenshot(dialog, "dialog-panel.png").empty());
        Type(dialog, CDlgPnl::IdWidth, "40");
        Type(dialog, CDlgPnl::IdCorrection, "7");
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(CDlgPnl::Edit(nullptr, context, panel->GetId(), {}));
    EXPECT_EQ(d.Current(), revision + 1);
    EXPECT_EQ(panel->secondSize, 400.0f);
    EXPECT_EQ(panel->correction, 20.0f) << "corrections are not taken over";
}

TEST_F(ElmntDlgTest, PanelTypeAndTurnActAtOnceAndEscapeKeepsThem) {
    WhenShown<CDlgPnl>([this](CDlgPnl& dialog) {
        Click(dialog, 1005);
        EXPECT_EQ(panel->kind, ElmntKind::Wood);
        EXPECT_EQ(d.Current(), revision) << "the type changes in place";
        EXPECT_TRUE(d.dcmt.IsModified());
        // A refused size leaves the type as it was.
        Type(dialog, CDlgPnl::IdLength, "4");
        Click(dialog, 1008);
        EXPECT_EQ(panel->kind, ElmntKind::Wood);
        EXPECT_TRUE(Radio(dialog, 1005)->GetValue());
        Type(dialog, CDlgPnl::IdLength, "35");
        Click(dialog, CDlgPnl::IdTurn);
        EXPECT_EQ(d.Current(), revision + 1);
        Type(dialog, CDlgPnl::IdLength, "60");
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgPnl::Edit(nullptr, context, panel->GetId(), {}));
    EXPECT_EQ(panel->kind, ElmntKind::Wood);
    EXPECT_EQ(panel->length, 350.0f);
    EXPECT_EQ(d.Current(), revision + 1);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Geben Sie eine Zahl zwischen 5 und 10000 ein.");
}

TEST(KeepInWorkArea, PullsTheDialogInsideTheArea) {
    const wxRect area(100, 50, 1000, 800); // right edge 1099, bottom edge 849
    const wxSize size(300, 200);
    EXPECT_EQ(KeepInWorkArea({400, 300}, size, area), wxPoint(400, 300));
    EXPECT_EQ(KeepInWorkArea({50, 10}, size, area), wxPoint(100, 50));
    EXPECT_EQ(KeepInWorkArea({900, 700}, size, area), wxPoint(800, 650));
    EXPECT_EQ(KeepInWorkArea({800, 650}, size, area), wxPoint(800, 650)) << "just fits";
}

TEST_F(ElmntDlgTest, PanelBesideAClickAtTheScreensRightEdge) {
    const wxRect area = wxDisplay(0u).GetClientArea();
    auto* view = new wxFrame(nullptr, wxID_ANY, "view", wxPoint(area.GetRight() - 300, 200),
                             wxSize(300, 300));
    view->Show();
    ASSERT_TRUE(WaitUntilPainted(*view));
    context.view = view;
    const wxPoint click(view->GetClientSize().x - 5, 100);
    CDlgPnl dialog(nullptr, context, panel->GetId(), click);
    const wxRect placed = dialog.GetRect();
    EXPECT_TRUE(area.Contains(placed)) << placed.x << "," << placed.y;
    EXPECT_EQ(placed.GetRight(), area.GetRight());
    EXPECT_EQ(placed.y, view->ClientToScreen(click).y + CDlgPnl::OffsetY);
    view->Destroy();
}

TEST_F(ElmntDlgTest, PanelWithoutAnElementReturnsItsValuesAndActsOnNothing) {
    const std::vector<CElmnt*> before = d.Alive();
    int type = 0;
    SPanelProps values;
    values.width = 35.0f;
    values.length = 75.0f;
    WhenShown<CDlgPnl>([this](CDlgPnl& dialog) {
        EXPECT_EQ(FieldText(dialog, CDlgPnl::IdWidth), "35");
        EXPECT_EQ(FieldText(dialog, CDlgPnl::IdLength), "75");
        EXPECT_TRUE(Radio(dialog, 1003)->GetValue());
        EXPECT_FALSE(dialog.FindWindow(CDlgPnl::IdTurn)->IsEnabled());
        // The type radio and the redraw button change no element.
        Click(dialog, 1005);
        Click(dialog, CElmntDlg::IdRedraw);
        EXPECT_EQ(panel->kind, ElmntKind::Panel);
        // The surface is the view's slot for panels.
        const int32_t material = panel->GetMaterial();
        WhenShown<CDlgMtrl>([](CDlgMtrl& surface) { ChooseSurface(surface, "Spiegel"); });
        Click(dialog, CElmntDlg::IdSurface);
        EXPECT_EQ(slots[1], 10);
        EXPECT_EQ(panel->GetMaterial(), material);
        Type(dialog, CDlgPnl::IdWidth, Local("42.5"));
        Click(dialog, wxID_OK);
    });
    ASSERT_TRUE(CDlgPnl::Choose(nullptr, context, type, values));
    EXPECT_EQ(type, 2);
    EXPECT_EQ(values.width, 42.5f);
    EXPECT_EQ(values.length, 75.0f);
    EXPECT_EQ(d.Current(), revision);
    EXPECT_EQ(d.Alive(), before);
    EXPECT_EQ(panel->kind, ElmntKind::Panel);

    // Refused sizes keep the dialog open; Escape returns nothing.
    WhenShown<CDlgPnl>([](CDlgPnl& dialog) {
        Type(dialog, CDlgPnl::IdLength, "4");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal());
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgPnl::Choose(nullptr, context, type, values));
    EXPECT_EQ(type, 2);
    EXPECT_EQ(values.length, 75.0f);
    EXPECT_EQ(d.Current(), revision);
}
