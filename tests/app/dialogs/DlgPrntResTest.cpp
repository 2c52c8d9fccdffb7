// The print resolution dialog on a virtual display: its rows, the step chosen at the start, OK
// with and without a chosen row.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/listctrl.h>

#include "app/dialogs/DlgPrntRes.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// One wx application for the whole program.
class WxEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "dialogs_prntres_tests";
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

// A 4000 x 3000 picture: 96,000,000 bytes, 92 whole megabytes.
constexpr int64_t kBytes = int64_t{4000} * 3000 * 8;

wxListView& List(wxDialog& dialog) {
    auto* list = dynamic_cast<wxListView*>(dialog.FindWindow(CDlgPrntRes::IdList));
    EXPECT_NE(list, nullptr);
    return *list;
}

TEST(DlgPrntRes, RowsOfTheFourStepsAndTheFirstAffordableChosen) {
    EXPECT_EQ(CDlgPrntRes::RowText(1, 600, 600, 4000, 3000, kBytes),
              "1/1 \t600 x 600 \t4000 x 3000 \t92");
    EXPECT_EQ(CDlgPrntRes::RowText(3, 600, 600, 4000, 3000, kBytes),
              "1/3 \t200 x 200 \t1333 x 1000 \t10");
    EXPECT_EQ(CDlgPrntRes::FirstAffordableDivisor(kBytes), 3);
    EXPECT_EQ(CDlgPrntRes::FirstAffordableDivisor(16777216), 1);
    EXPECT_EQ(CDlgPrntRes::FirstAffordableDivisor(int64_t{1} << 40), 4);

    CDlgPrntRes dialog(600, 600, 4000, 3000, kBytes, nullptr);
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Renderingauflösung zum Druck");
    wxListView& list = List(dialog);
    ASSERT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemText(3, 0).utf8_string(), "1/4");
    EXPECT_EQ(list.GetItemText(3, 2).utf8_string(), "1000 x 750");
    EXPECT_EQ(list.GetItemText(3, 3).utf8_string(), "5");
    EXPECT_EQ(list.GetFirstSelected(), 2);
    EXPECT_EQ(dialog.GetDivisor(), 1) << "nothing taken before OK";
    ASSERT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(dialog.GetDivisor(), 3);
}

TEST(DlgPrntRes, OkWithoutAChosenRowAsksForOne) {
    TestUi().Reset();
    CDlgPrntRes dialog(300, 300, 2000, 1000, int64_t{2000} * 1000 * 8, nullptr);
    wxListView& list = List(dialog);
    list.Select(list.GetFirstSelected(), false);
    EXPECT_FALSE(dialog.TransferDataFromWindow());
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Bitte wählen Sie eine Druckauflösung aus");
    EXPECT_EQ(dialog.GetDivisor(), 1);
    list.Select(1);
    EXPECT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_EQ(dialog.GetDivisor(), 2);
}

} // namespace
