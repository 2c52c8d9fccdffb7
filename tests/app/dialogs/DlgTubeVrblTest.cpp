// The tube-length dialog on a virtual display: its texts, the length shown and read in the user's
// locale, lengths outside 10 to 1000 cm refused with the dialog staying open, and Escape.
#include <gtest/gtest.h>

#include "app/dialogs/DlgTubeVrbl.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_tubevrbl_tests"), true);

using D = CDlgTubeVrbl;

// The dialog opened on a length of 22.5 cm; the action works on it; the answer and the length.
std::pair<int, float> Show(const std::function<void(D&)>& action) {
    D dialog(nullptr);
    dialog.SetLength(22.5f);
    WhenShown<D>(action);
    const int answer = dialog.ShowModal();
    return {answer, dialog.GetLength()};
}

} // namespace

TEST(DlgTubeVrbl, LengthInTheUsersLocaleRefusedOutsideItsRange) {
    auto confirmed = Show([](D& dialog) {
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "Variable Rohrlänge");
        EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel().utf8_string(), "Abbruch");
        EXPECT_EQ(FieldText(dialog, D::IdLength), Local("22.5"));
        EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(D::IdLength));
        Screenshot(dialog, "dlg-tubevrbl.png");
        Type(dialog, D::IdLength, Local("12.5"));
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(confirmed, std::make_pair(int(wxID_OK), 12.5f));

    // Refused lengths keep the dialog open with the framework's message; the bounds are lengths.
    const std::pair<const char*, const char*> refused[] = {
        {"9.99", "Geben Sie eine Zahl zwischen 10 und 1000 ein."},
        {"1000.5", "Geben Sie eine Zahl zwischen 10 und 1000 ein."},
        {"abc", "Geben Sie eine Zahl ein."},
        {"1e40", "Geben Sie eine Zahl ein."}};
    for (const auto& [typed, message] : refused) {
        SCOPED_TRACE(typed);
        TestUi().Reset();
        auto answer = Show([typed](D& dialog) {
            Type(dialog, D::IdLength, Local(typed));
            Click(dialog, wxID_OK);
            EXPECT_TRUE(dialog.IsModal());
            Type(dialog, D::IdLength, "1000");
            Click(dialog, wxID_OK);
        });
        EXPECT_EQ(answer, std::make_pair(int(wxID_OK), 1000.0f));
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, message);
    }
    // Escape gives the length back untouched.
    auto cancelled = Show([](D& dialog) {
        Type(dialog, D::IdLength, "50");
        PressEscape(dialog);
    });
    EXPECT_EQ(cancelled, std::make_pair(int(wxID_CANCEL), 22.5f));
}
