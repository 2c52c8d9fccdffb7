// The tube, panel and connector dialogs on a virtual display, on a real design: each opens with
// the element's values and texts, OK applies them as the document operation, Escape and the
// close box change nothing, refused input keeps the dialog open, the buttons that show a change
// at once apply it at once; the panel dialog stays inside the work area. One screenshot each.
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app/dialogs/DlgCnct.h"
#include "app/dialogs/DlgPnl.h"
#include "app/dialogs/DlgTube.h"
#include "support/LocaleNumber.h"
#include "support/Orientation.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/model/TestDesign.h"

namespace {

// One wx application for the whole program.
class WxEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "dialogs_elmnt_tests";
        static char* argv[] = {name, nullptr};
        wxApp::SetInstance(new wxApp); // a GUI application; wxEntryCleanup deletes it
        ASSERT_TRUE(wxEntryStart(argc, argv));
        ASSERT_TRUE(wxTheApp->CallOnInit());
    }
    void TearDown() override {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

const auto* const g_wx = ::testing::AddGlobalTestEnvironment(new WxEnvironment);

class CHints : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

// A decimal number as the user types it in the current locale.
wxString Typed(const std::string& text) {
    std::string typed = text;
    for (char& c : typed) {
        if (c == '.') {
            c = LocaleDecimalChar();
        }
    }
    return wxString::FromUTF8(typed);
}

wxTextCtrl* Field(wxWindow& dialog, int id) {
    auto* field = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
    EXPECT_NE(field, nullptr) << id;
    return field;
}

wxRadioButton* Radio(wxWindow& dialog, int id) {
    auto* radio = dynamic_cast<wxRadioButton*>(dialog.FindWindow(id));
    EXPECT_NE(radio, nullptr) << id;
    return radio;
}

void Click(wxWindow& dialog, int id) {
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

void ChooseRadio(wxWindow& dialog, int id) {
    wxRadioButton* radio = Radio(dialog, id);
    radio->SetValue(true);
    wxCommandEvent choose(wxEVT_RADIOBUTTON, id);
    choose.SetEventObject(radio);
    choose.SetInt(1);
    radio->GetEventHandler()->ProcessEvent(choose);
}

void PressEscape(wxDialog& dialog) {
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(escape);
}

// Runs action on the open dialog of the type once its modal loop runs.
template <typename Dialog> void WhenShown(std::function<void(Dialog&)> action) {
    wxTheApp->CallAfter([action] {
        for (wxWindow* window : wxTopLevelWindows) {
            if (auto* dialog = dynamic_cast<Dialog*>(window); dialog != nullptr) {
                action(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "the dialog is not open";
    });
}

// The screen around the dialog, for a person to look at, once the toolkit's animations of the
// controls have ended.
void TakeScreenshot(wxDialog& dialog, const std::string& name) {
    for (int i = 0; i < 40; ++i) {
        wxYield();
        wxMilliSleep(20);
    }
    const wxRect rect = dialog.GetScreenRect().Inflate(30);
    const std::string path = std::string(ZARNEL_ARTIFACT_DIR) + "/" + name;
    const std::string command =
        "import -window root -crop " + std::to_string(rect.width) + "x" +
        std::to_string(rect.height) + "+" + std::to_string(std::max(rect.x, 0)) + "+" +
        std::to_string(std::max(rect.y, 0)) + " '" + path + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

// A design with a tube, a coupling and a panel in a square of tubes; the views are counted.
class ElmntDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        tube = d.Place(*d.start, 1, ElmntKind::Tube, 350, 0, Side::PlusX);
        ASSERT_TRUE(d.Place(*d.start, 1, ElmntKind::Tube, 350, 0, Side::PlusY));
        ASSERT_TRUE(d.Place(*d.CouplingAt({400, 0, 0}), 1, ElmntKind::Tube, 350, 0, Side::PlusY));
        ASSERT_TRUE(d.Place(*d.CouplingAt({0, 400, 0}), 1, ElmntKind::Tube, 350, 0, Side::PlusX));
        panel = d.Place(*d.start, 0x10000, ElmntKind::Panel, 350, 350, 0);
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
    CElmnt* tube = nullptr;
    CElmnt* panel = nullptr;
    CElmnt* coupling = nullptr;
    Revision revision = 0;
};

} // namespace

TEST_F(ElmntDlgTest, TubeOpensWithItsValuesAndOkApplies) {
    WhenShown<CDlgTube>([](CDlgTube& dialog) {
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "Rohr");
        EXPECT_EQ(Field(dialog, CDlgTube::IdLength)->GetValue(), "35");
        EXPECT_EQ(Field(dialog, CDlgTube::IdCorrection)->GetValue(), Typed("-1.25"));
        EXPECT_TRUE(Radio(dialog, CElmntDlg::IdFixed)->GetValue());
        EXPECT_EQ(Radio(dialog, CElmntDlg::IdFree)->GetLabel().utf8_string(),
                  "frei (automatisch anpassen)");
        EXPECT_EQ(dialog.FindWindow(CElmntDlg::IdRedraw)->GetLabel().utf8_string(),
                  "3D-Bild sofort neu zeichnen");
        TakeScreenshot(dialog, "dialog-tube.png");
        Field(dialog, CDlgTube::IdLength)->ChangeValue(Typed("45.5"));
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    EXPECT_EQ(d.Current(), revision + 1);
    EXPECT_EQ(tube->length, 455.0f);
    EXPECT_EQ(tube->correction, -12.5f) << "left as loaded";
    EXPECT_EQ(hints.hints, std::vector<ViewHint>{ViewHint::Change});
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(ElmntDlgTest, TubeEscapeAndCloseBoxChangeNothing) {
    WhenShown<CDlgTube>([](CDlgTube& dialog) {
        Field(dialog, CDlgTube::IdLength)->ChangeValue("50");
        Radio(dialog, CElmntDlg::IdFree)->SetValue(true);
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    WhenShown<CDlgTube>([](CDlgTube& dialog) {
        Field(dialog, CDlgTube::IdLength)->ChangeValue("50");
        dialog.Close();
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
            Field(dialog, CDlgTube::IdLength)->ChangeValue(text);
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
        Field(dialog, CDlgTube::IdCorrection)->ChangeValue("2");
        Click(dialog, CElmntDlg::IdRedraw);
        EXPECT_EQ(tube->correction, 20.0f);
        EXPECT_EQ(d.Current(), revision + 1);
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(CDlgTube::Edit(nullptr, context, tube->GetId()));
    EXPECT_EQ(d.Current(), revision + 1) << "OK found nothing more to change";
    EXPECT_EQ(hints.hints, (std::vector<ViewHint>{ViewHint::Change, ViewHint::Everything}));
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
        EXPECT_EQ(dialog.FindWindow(CDlgCnct::IdRamp)->GetLabel().utf8_string(), "Rampen...");
        TakeScreenshot(dialog, "dialog-connector.png");
        Radio(dialog, CElmntDlg::IdFree)->SetValue(true);
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgCnct::Edit(nullptr, context, coupling->GetId()));
    ExpectNothingChanged();

    WhenShown<CDlgCnct>([](CDlgCnct& dialog) {
        Radio(dialog, CElmntDlg::IdFree)->SetValue(true);
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
        EXPECT_EQ(Radio(dialog, 1007)->GetLabel().utf8_string(), "Holzplatte mit Knopf");
        EXPECT_EQ(Field(dialog, CDlgPnl::IdLength)->GetValue(), "35");
        EXPECT_EQ(Field(dialog, CDlgPnl::IdWidth)->GetValue(), "35");
        EXPECT_EQ(Field(dialog, CDlgPnl::IdCorrection)->GetValue(), "2");
        EXPECT_EQ(Field(dialog, CDlgPnl::IdSecondCorrection)->GetValue(), "0");
        TakeScreenshot(dialog, "dialog-panel.png");
        Field(dialog, CDlgPnl::IdWidth)->ChangeValue("40");
        Field(dialog, CDlgPnl::IdCorrection)->ChangeValue("7");
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(CDlgPnl::Edit(nullptr, context, panel->GetId(), {}));
    EXPECT_EQ(d.Current(), revision + 1);
    EXPECT_EQ(panel->secondSize, 400.0f);
    EXPECT_EQ(panel->correction, 20.0f) << "corrections are not taken over";
}

TEST_F(ElmntDlgTest, PanelTypeAndTurnActAtOnceAndEscapeKeepsThem) {
    WhenShown<CDlgPnl>([this](CDlgPnl& dialog) {
        ChooseRadio(dialog, 1005);
        EXPECT_EQ(panel->kind, ElmntKind::Wood);
        EXPECT_EQ(d.Current(), revision) << "the type changes in place";
        EXPECT_TRUE(d.dcmt.IsModified());
        // A refused size leaves the type as it was.
        Field(dialog, CDlgPnl::IdLength)->ChangeValue("4");
        ChooseRadio(dialog, 1008);
        EXPECT_EQ(panel->kind, ElmntKind::Wood);
        EXPECT_TRUE(Radio(dialog, 1005)->GetValue());
        Field(dialog, CDlgPnl::IdLength)->ChangeValue("35");
        Click(dialog, CDlgPnl::IdTurn);
        EXPECT_EQ(d.Current(), revision + 1);
        Field(dialog, CDlgPnl::IdLength)->ChangeValue("60");
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
    wxYield();
    context.view = view;
    const wxPoint click(view->GetClientSize().x - 5, 100);
    CDlgPnl dialog(nullptr, context, panel->GetId(), click);
    const wxRect placed = dialog.GetRect();
    EXPECT_TRUE(area.Contains(placed)) << placed.x << "," << placed.y;
    EXPECT_EQ(placed.GetRight(), area.GetRight());
    EXPECT_EQ(placed.y, view->ClientToScreen(click).y + CDlgPnl::OffsetY);
    view->Destroy();
}
