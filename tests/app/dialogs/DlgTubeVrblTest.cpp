// The tube-length dialog on a virtual display: its texts, the length shown and read in the user's
// locale, lengths outside 10 to 1000 cm refused with the dialog staying open, and Escape.
#include <gtest/gtest.h>
#include <wx/textctrl.h>

#include "app/dialogs/DlgTubeVrbl.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_tubevrbl_tests"), true);

using D = CDlgTubeVrbl;

// Opens the dialog with the length, lets the action work on it, and answers the result.
int Show(float length, std::function<void(D&)> action, float& result) {
    D dialog(nullptr);
    dialog.SetLength(length);
    WhenShown<D>(std::move(action));
    const int answer = dialog.ShowModal();
    result = dialog.GetLength();
    return answer;
}

} // namespace

TEST(DlgTubeVrbl, TheLengthInTheUsersLocaleAndOk) {
    float length = 0.0f;
    const int answer = Show(
        35.0f,
        [](D& dialog) {
            EXPECT_EQ(dialog.GetTitle().utf8_string(), "Variable Rohrlänge");
            EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel().utf8_string(), "OK");
            EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel().utf8_string(), "Abbruch");
            EXPECT_EQ(FieldText(dialog, D::IdLength), "35");
            EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(D::IdLength));
            Screenshot(dialog, "dlg-tubevrbl.png");
            Type(dialog, D::IdLength, Local("12.5"));
            Click(dialog, wxID_OK);
        },
        length);
    EXPECT_EQ(answer, wxID_OK);
    EXPECT_EQ(length, 12.5f);

    // A length not whole shows with the locale's decimal character.
    Show(
        22.5f,
        [](D& dialog) {
            EXPECT_EQ(FieldText(dialog, D::IdLength), Local("22.5"));
            Click(dialog, wxID_OK);
        },
        length);
    EXPECT_EQ(length, 22.5f);
}

TEST(DlgTubeVrbl, LengthsOutsideTheRangeKeepTheDialogOpen) {
    for (const char* typed : {"9.99", "1000.5", "abc", "", "1e40"}) {
        SCOPED_TRACE(typed);
        TestUi().Reset();
        float length = 0.0f;
        const int answer = Show(
            35.0f,
            [typed](D& dialog) {
                Type(dialog, D::IdLength, Local(typed));
                Click(dialog, wxID_OK);
                EXPECT_TRUE(dialog.IsModal()) << "the dialog stays open";
                Type(dialog, D::IdLength, "10");
                Click(dialog, wxID_OK);
            },
            length);
        EXPECT_EQ(answer, wxID_OK);
        EXPECT_EQ(length, 10.0f);
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        const std::string expected = std::string(typed) == "9.99" || std::string(typed) == "1000.5"
                                         ? "Geben Sie eine Zahl zwischen 10 und 1000 ein."
                                         : "Geben Sie eine Zahl ein.";
        EXPECT_EQ(TestUi().Boxes()[0].text, expected);
    }
    // The bounds themselves are lengths.
    float length = 0.0f;
    Show(
        35.0f,
        [](D& dialog) {
            Type(dialog, D::IdLength, "1000");
            Click(dialog, wxID_OK);
        },
        length);
    EXPECT_EQ(length, 1000.0f);
    // Escape gives the length back untouched.
    EXPECT_EQ(Show(
                  35.0f,
                  [](D& dialog) {
                      Type(dialog, D::IdLength, "50");
                      PressEscape(dialog);
                  },
                  length),
              wxID_CANCEL);
    EXPECT_EQ(length, 35.0f);
}
