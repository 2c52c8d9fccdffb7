// The ramp dialog on a virtual display: it opens with its values and the element's axes, solves
// while the user types or picks a standard geometry, keeps two measures selected, refuses bad
// numbers with the framework's messages, hands back its copy on OK only, and as the view's entry
// applies a revision or leaves the element exactly as it was.
#include <vector>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>

#include "app/dialogs/DlgRamp.h"
#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"
#include "support/SettingsStore.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_ramp_tests"), true);

using D = CDlgRamp;

bool Checked(wxWindow& dialog, int id) {
    wxWindow* control = dialog.FindWindow(id);
    if (auto* check = dynamic_cast<wxCheckBox*>(control); check != nullptr) {
        return check->GetValue();
    }
    auto* radio = dynamic_cast<wxRadioButton*>(control);
    return radio != nullptr && radio->GetValue();
}

bool Editable(wxWindow& dialog, int id) {
    return static_cast<wxTextCtrl*>(dialog.FindWindow(id))->IsEditable();
}

// A coupling with tubes on X+ and X-: it may turn about X only.
struct SRampFixture {
    CElmntIdSource ids;
    CElmnt coupling{ids, 0, ElmntKind::Connector, 1, 0.0f, 0.0f};
    std::vector<CTransform> previews;

    SRampFixture() { EXPECT_TRUE(coupling.SetOccupiedArms(1 | 2)); }
    CDlgRamp::Preview Recorder() {
        return [this](const CTransform& placement) { previews.push_back(placement); };
    }
};

SRampValues Stored() {
    SRampValues values;
    values.height = 40;
    values.length = 80;
    values.run = 69.28203230275509;
    values.angle = 30;
    values.axis = 2; // Y+: not allowed for this coupling
    values.absolute = 0;
    return values;
}

} // namespace

TEST(DlgRamp, OpensWithItsValuesAndTheElementsAxes) {
    SRampFixture f;
    CDlgRamp dialog(nullptr, f.coupling, Stored(), f.Recorder());
    dialog.InitDialog();
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Rampen / Rutschen / Drehung");
    EXPECT_EQ(dialog.GetValues().axis, 0) << "a stored axis that is not allowed";
    EXPECT_TRUE(Checked(dialog, D::IdAxisXPlus));
    for (int id = D::IdAxisXPlus; id <= D::IdAxisXPlus + 5; ++id) {
        EXPECT_EQ(dialog.FindWindow(id)->IsEnabled(), id <= D::IdAxisXPlus + 1) << id;
    }
    EXPECT_TRUE(Checked(dialog, D::IdTypeRampOnly));
    EXPECT_TRUE(Checked(dialog, D::IdRelative));
    EXPECT_EQ(FieldText(dialog, D::IdHeight), "40");
    EXPECT_EQ(FieldText(dialog, D::IdLength), "80");
    EXPECT_EQ(FieldText(dialog, D::IdRun), Local("69.282"));
    EXPECT_EQ(FieldText(dialog, D::IdAngle), "30");
    EXPECT_TRUE(Checked(dialog, D::IdSelectHeight) && Checked(dialog, D::IdSelectHeight + 1));
    EXPECT_TRUE(Editable(dialog, D::IdHeight) && Editable(dialog, D::IdLength));
    EXPECT_FALSE(Editable(dialog, D::IdRun) || Editable(dialog, D::IdAngle));
    auto* table = static_cast<wxListCtrl*>(dialog.FindWindow(D::IdTable));
    EXPECT_EQ(table->GetItemCount(), 14);
    EXPECT_EQ(table->GetItemText(1, 0).utf8_string(), "41.81°");
    ASSERT_EQ(f.previews.size(), 1u);
    EXPECT_EQ(f.previews.back(), RampPlacement(f.coupling.placement, dialog.GetValues()));

    Click(dialog, D::IdTypeWholeModel);
    EXPECT_EQ(table->GetItemCount(), 6);
}

TEST(DlgRamp, ExchangeWaitsForTheDialogToBeInitialised) {
    SRampFixture f;
    SRampValues values = Stored();
    CDlgRamp dialog(nullptr, f.coupling, values, f.Recorder());
    EXPECT_FALSE(dialog.UpdateDataEx(false, &values.height));
    EXPECT_EQ(FieldText(dialog, D::IdLength), "") << "controls untouched";
    EXPECT_TRUE(f.previews.empty());
}

TEST(DlgRamp, TypingSolvesAndTheSelectionKeepsTwoMeasures) {
    SRampFixture f;
    CDlgRamp dialog(nullptr, f.coupling, Stored(), f.Recorder());
    dialog.InitDialog();

    Type(dialog, D::IdHeight, "60"); // with l = 80: t = sqrt(80² - 60²), a = asin(0.75)
    EXPECT_EQ(FieldText(dialog, D::IdHeight), "60");
    EXPECT_EQ(FieldText(dialog, D::IdRun), Local("52.915"));
    EXPECT_EQ(FieldText(dialog, D::IdAngle), Local("48.5903778907291"));
    EXPECT_EQ(f.previews.back(), RampPlacement(f.coupling.placement, dialog.GetValues()));

    Type(dialog, D::IdLength, ""); // an empty length keeps the value
    EXPECT_EQ(dialog.GetValues().length, 80);

    // Checking w clears h; now w and l are given and the angle can be typed.
    Click(dialog, D::IdSelectHeight + 3);
    EXPECT_FALSE(Checked(dialog, D::IdSelectHeight));
    EXPECT_TRUE(Editable(dialog, D::IdAngle));
    EXPECT_FALSE(Editable(dialog, D::IdHeight));
    // Clearing l is refused with a beep.
    Click(dialog, D::IdSelectHeight + 1);
    EXPECT_TRUE(Checked(dialog, D::IdSelectHeight + 1));
    EXPECT_EQ(TestUi().Beeps(), 1);

    // A standard geometry: h 0 and l 40 give a = 0 and t = 40.
    auto* table = static_cast<wxListCtrl*>(dialog.FindWindow(D::IdTable));
    table->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_EQ(FieldText(dialog, D::IdHeight), "0");
    EXPECT_EQ(FieldText(dialog, D::IdLength), "40");
    EXPECT_EQ(FieldText(dialog, D::IdRun), "40");
    EXPECT_EQ(FieldText(dialog, D::IdAngle), "0");
    EXPECT_TRUE(Checked(dialog, D::IdSelectHeight) && Checked(dialog, D::IdSelectHeight + 1));
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DlgRamp, BadNumbersAreRefusedWithTheFrameworksMessages) {
    SRampFixture f;
    CDlgRamp dialog(nullptr, f.coupling, Stored(), f.Recorder());
    dialog.InitDialog();
    for (const char* text : {"abc", "nan", "inf", "0x10", "-0"}) {
        SCOPED_TRACE(text);
        Type(dialog, D::IdHeight, text);
        ASSERT_FALSE(TestUi().Boxes().empty());
        EXPECT_EQ(TestUi().Boxes().back().text, "Geben Sie eine Zahl ein.");
        EXPECT_EQ(dialog.GetValues().height, 40);
    }
    Type(dialog, D::IdLength, Local("1000.5"));
    EXPECT_EQ(TestUi().Boxes().back().text, "Geben Sie eine Zahl zwischen 0 und 1000 ein.");
    EXPECT_EQ(dialog.GetValues().length, 80);
    EXPECT_EQ(FieldText(dialog, D::IdRun), Local("69.282")) << "nothing solved from it";
}

TEST(DlgRamp, OkHandsBackTheCopyCancelChangesNothing) {
    SRampFixture f;
    const SRampValues stored = Stored();
    SRampValues values = stored;
    WhenShown<CDlgRamp>([](CDlgRamp& dialog) {
        Type(dialog, D::IdLength, Local("100.5"));
        Click(dialog, wxID_OK);
    });
    ASSERT_TRUE(CDlgRamp::Edit(nullptr, f.coupling, values, f.Recorder()));
    EXPECT_EQ(values.length, 100.5);
    EXPECT_EQ(values.axis, 0);
    EXPECT_NEAR(values.angle, 23.45, 0.01);

    // Escape, the close box and "Abbruch" leave the values as they were.
    using Closer = std::function<void(CDlgRamp&)>;
    for (const Closer& close : {Closer([](CDlgRamp& d) { PressEscape(d); }),
                                Closer([](CDlgRamp& d) { PressCloseBox(d); }),
                                Closer([](CDlgRamp& d) { Click(d, wxID_CANCEL); })}) {
        values = stored;
        WhenShown<CDlgRamp>([close](CDlgRamp& dialog) {
            Type(dialog, D::IdHeight, "20");
            close(dialog);
        });
        EXPECT_FALSE(CDlgRamp::Edit(nullptr, f.coupling, values, f.Recorder()));
        EXPECT_EQ(values, stored);
    }

    // OK with a refused number keeps the dialog open.
    values = stored;
    WhenShown<CDlgRamp>([](CDlgRamp& dialog) {
        Type(dialog, D::IdHeight, "2000");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal());
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgRamp::Edit(nullptr, f.coupling, values, f.Recorder()));
}

TEST(DlgRamp, TheViewsEntryAppliesARevisionOrLeavesTheElement) {
    SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
        .DeleteKeyTree(kRampSettingsKey);
    CZarnelDcmt dcmt;
    CElmnt& coupling = *dcmt.GetElmntList().GetAt(0);
    const CTransform saved = coupling.placement;
    const Revision revision = dcmt.GetCurrentRevision();
    int repaints = 0;
    const auto repaint = [&repaints] { ++repaints; };

    // Cancel after previews: the element exactly as it was, nothing stored.
    WhenShown<CDlgRamp>([&](CDlgRamp& dialog) {
        Click(dialog, D::IdSelectHeight + 3); // w and l
        Type(dialog, D::IdLength, "80");
        Type(dialog, D::IdAngle, "30");
        EXPECT_NE(dcmt.GetElmntList().GetAt(0)->placement, saved) << "the preview";
        PressEscape(dialog);
    });
    EXPECT_FALSE(CDlgRamp::Run(nullptr, dcmt, coupling.GetId(), 1, 1600.0, repaint));
    EXPECT_EQ(coupling.placement, saved);
    EXPECT_EQ(dcmt.GetCurrentRevision(), revision);
    EXPECT_FALSE(SettingsStore(SettingsRoot::CurrentUser).KeyExists(kRampSettingsKey));
    EXPECT_GT(repaints, 1);

    // OK: one revision with the turned coupling, and the values stored for the next time.
    WhenShown<CDlgRamp>([](CDlgRamp& dialog) {
        Click(dialog, D::IdSelectHeight + 3);
        Type(dialog, D::IdAngle, "30");
        Click(dialog, D::IdAxisXPlus + 4); // Z+
        Click(dialog, wxID_OK);
    });
    ASSERT_TRUE(CDlgRamp::Run(nullptr, dcmt, coupling.GetId(), 1, 1600.0, repaint));
    EXPECT_EQ(dcmt.GetCurrentRevision(), revision + 1);
    SRampValues expected = LoadRampValues();
    EXPECT_EQ(expected.angle, 30);
    EXPECT_EQ(expected.axis, 4);
    EXPECT_EQ(coupling.placement, RampPlacement(saved, expected));
}

TEST(DlgRamp, Screenshot) {
    SRampFixture f;
    SRampValues values = Stored();
    WhenShown<CDlgRamp>([](CDlgRamp& dialog) {
        EXPECT_FALSE(Screenshot(dialog, "dialog-ramp.png").empty());
        Click(dialog, D::IdTypeWholeModel);
        EXPECT_FALSE(Screenshot(dialog, "dialog-ramp-model.png").empty());
        PressEscape(dialog);
    });
    CDlgRamp::Edit(nullptr, f.coupling, values, f.Recorder());
}
