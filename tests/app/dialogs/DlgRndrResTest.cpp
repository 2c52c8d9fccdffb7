// The picture size dialog on a virtual display: the stored size shown in the view's aspect,
// each typed size deriving the other, sizes refused by the range check, a view without area
// deriving nothing, and the confirmed size kept in the profile.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/textctrl.h>

#include "app/dialogs/DlgRndrRes.h"
#include "support/Profile.h"
#include "tests/app/dialogs/DialogTestKit.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const bool g_wx = (RegisterWxEnvironment("dialogs_rndrres_tests"), true);

using D = CDlgRndrRes;

constexpr const char* kSection = "RndrRslt";

void Store(int width, int height) {
    ASSERT_TRUE(WriteProfileInt(kSection, "rndrWdth", width));
    ASSERT_TRUE(WriteProfileInt(kSection, "rndrHght", height));
}

} // namespace

TEST(DlgRndrRes, TypedSizesKeepTheViewsAspectAndOkStoresThem) {
    Store(1024, 500);
    CDlgRndrRes dialog(kSection, nullptr);
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "Bildauflösung");
    EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel().utf8_string(), "Rendern");
    EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel().utf8_string(), "Abbruch");
    dialog.SetScreenSize(800, 600);
    dialog.InitDialog();
    EXPECT_EQ(FieldText(dialog, D::IdScreenWidth), "800");
    EXPECT_EQ(FieldText(dialog, D::IdScreenHeight), "600");
    EXPECT_FALSE(static_cast<wxTextCtrl*>(dialog.FindWindow(D::IdScreenWidth))->IsEditable());
    EXPECT_EQ(FieldText(dialog, D::IdRenderWidth), "1024");
    EXPECT_EQ(FieldText(dialog, D::IdRenderHeight), "768") << "whatever height was stored";

    Type(dialog, D::IdRenderWidth, "1000");
    EXPECT_EQ(FieldText(dialog, D::IdRenderHeight), "750");
    Type(dialog, D::IdRenderHeight, "1001");
    EXPECT_EQ(FieldText(dialog, D::IdRenderWidth), "1335"); // 1001 * 4/3 + 0.5, cut
    EXPECT_EQ(FieldText(dialog, D::IdRenderHeight), "1001") << "the typed field is kept";

    TestUi().Reset();
    ASSERT_TRUE(dialog.TransferDataFromWindow());
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(dialog.GetRenderWidth(), 1335);
    EXPECT_EQ(dialog.GetRenderHeight(), 1001);
    EXPECT_EQ(GetProfileInt(kSection, "rndrWdth", 0), 1335);
    EXPECT_EQ(GetProfileInt(kSection, "rndrHght", 0), 1001);

    // The next dialog starts with the confirmed size.
    CDlgRndrRes next(kSection, nullptr);
    EXPECT_EQ(next.GetRenderWidth(), 1335);
    EXPECT_EQ(next.GetRenderHeight(), 1001);
}

TEST(DlgRndrRes, NumbersOutsideTheRangeAreRefusedAndNotStored) {
    Store(640, 480);
    struct SCase {
        const char* typed;
        const char* derived;
    };
    // A text that is no number is 0 while typing, and 0 in the other field.
    for (const SCase& c : {SCase{"abc", "0"}, SCase{"20001", "15001"}, SCase{"-4", "-3"}}) {
        SCOPED_TRACE(c.typed);
        CDlgRndrRes dialog(kSection, nullptr);
        dialog.SetScreenSize(800, 600);
        dialog.InitDialog();
        Type(dialog, D::IdRenderWidth, c.typed);
        EXPECT_EQ(FieldText(dialog, D::IdRenderHeight), c.derived);
        TestUi().Reset();
        EXPECT_FALSE(dialog.TransferDataFromWindow());
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, "Geben Sie eine ganze Zahl zwischen 1 und 20000 ein.");
        EXPECT_EQ(GetProfileInt(kSection, "rndrWdth", 0), 640);
        EXPECT_EQ(GetProfileInt(kSection, "rndrHght", 0), 480);
    }
    // Escape leaves the profile as it was.
    CDlgRndrRes dialog(kSection, nullptr);
    WhenShown<CDlgRndrRes>([](CDlgRndrRes& shown) {
        Type(shown, D::IdRenderWidth, "2000");
        PressEscape(shown);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_EQ(GetProfileInt(kSection, "rndrWdth", 0), 640);
}

TEST(DlgRndrRes, AViewWithoutAreaDerivesNothing) {
    EXPECT_EQ(D::AspectRatio(800, 600), 800.0 / 600.0);
    EXPECT_EQ(D::AspectRatio(0, 600), 0.0);
    EXPECT_EQ(D::AspectRatio(800, 0), 0.0);
    for (const auto& [width, height] : {std::pair{0, 600}, std::pair{800, 0}}) {
        SCOPED_TRACE(width);
        Store(1024, 500);
        CDlgRndrRes dialog(kSection, nullptr);
        dialog.SetScreenSize(width, height);
        dialog.InitDialog();
        EXPECT_EQ(FieldText(dialog, D::IdRenderHeight), "500");
        Type(dialog, D::IdRenderWidth, "300");
        EXPECT_EQ(FieldText(dialog, D::IdRenderHeight), "500");
        Type(dialog, D::IdRenderHeight, "200");
        EXPECT_EQ(FieldText(dialog, D::IdRenderWidth), "300");
        ASSERT_TRUE(dialog.TransferDataFromWindow());
        EXPECT_EQ(dialog.GetRenderWidth(), 300);
        EXPECT_EQ(dialog.GetRenderHeight(), 200);
    }
}
