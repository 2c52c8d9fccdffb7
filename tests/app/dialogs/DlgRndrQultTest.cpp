// The quality dialog on a virtual display: its texts, the radio groups exchanged with the six
// values in the system's control order, OK storing and Escape leaving the profile as it was.
#include <functional>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/init.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include "app/dialogs/DlgRndrQult.h"

namespace {

// One wx application for the whole program.
class WxEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "dialogs_rndrqult_tests";
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

SRndrQultValues Values(int shading, int textureMax, int textureMin, int texture,
                       int texturePerspective, int modell) {
    SRndrQultValues values;
    values.shading = shading;
    values.textureMax = textureMax;
    values.textureMin = textureMin;
    values.texture = texture;
    values.texturePerspective = texturePerspective;
    values.modell = modell;
    return values;
}

wxRadioButton* Radio(wxWindow& dialog, int id) {
    auto* button = dynamic_cast<wxRadioButton*>(dialog.FindWindow(id));
    EXPECT_NE(button, nullptr) << id;
    return button;
}

// Runs action on the open dialog once its modal loop runs.
void WhenShown(std::function<void(CDlgRndrQult&)> action) {
    wxTheApp->CallAfter([action] {
        for (wxWindow* window : wxTopLevelWindows) {
            if (auto* dialog = dynamic_cast<CDlgRndrQult*>(window); dialog != nullptr) {
                action(*dialog);
                return;
            }
        }
        ADD_FAILURE() << "the dialog is not open";
    });
}

} // namespace

TEST(DlgRndrQult, TextsOfTheSystem) {
    CDlgRndrQult dialog(nullptr, SRndrQultValues::ProfileDefaults());
    EXPECT_EQ(dialog.GetTitle().utf8_string(), "3D-Darstellungsqualität");
    EXPECT_EQ(Radio(dialog, 1044)->GetLabel().utf8_string(), "nicht schatiert");
    EXPECT_EQ(Radio(dialog, 1038)->GetLabel().utf8_string(),
              "MipMap, 2 Ebenen interpolieren, 4 Pixel interpolieren");
    EXPECT_EQ(Radio(dialog, 1050)->GetLabel().utf8_string(), "grob");
    auto* texture = dynamic_cast<wxCheckBox*>(dialog.FindWindow(1043));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetLabel().utf8_string(), "Texturemapping Ein");
    EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel().utf8_string(), "Abbruch");
}

TEST(DlgRndrQult, RadioGroupsShowTheValues) {
    CDlgRndrQult dialog(nullptr, Values(3, 1, 4, 0, 1, 1));
    dialog.TransferDataToWindow();
    EXPECT_TRUE(Radio(dialog, 1047)->GetValue());
    EXPECT_FALSE(Radio(dialog, 1046)->GetValue());
    EXPECT_TRUE(Radio(dialog, 1040)->GetValue());
    EXPECT_TRUE(Radio(dialog, 1037)->GetValue());
    EXPECT_FALSE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1043))->GetValue());
    EXPECT_TRUE(Radio(dialog, 1042)->GetValue());
    EXPECT_TRUE(Radio(dialog, 1050)->GetValue()); // "grob" is modelling value 1
    EXPECT_FALSE(Radio(dialog, 1049)->GetValue());
}

TEST(DlgRndrQult, ModellingRadiosInTheSystemsOrder) {
    const int ids[] = {1048, 1050, 1049, 1051};
    for (int modell = 0; modell < 4; ++modell) {
        SCOPED_TRACE(modell);
        CDlgRndrQult dialog(nullptr, Values(0, 0, 0, 1, 0, 0));
        dialog.TransferDataToWindow();
        Radio(dialog, ids[modell])->SetValue(true);
        ASSERT_TRUE(dialog.TransferDataFromWindow());
        EXPECT_EQ(dialog.GetValues().modell, modell);
    }
}

TEST(DlgRndrQult, OkStoresTheValues) {
    CRndrQult quality;
    quality.SetValues(SRndrQultValues::ProfileDefaults());
    WhenShown([](CDlgRndrQult& dialog) {
        Radio(dialog, 1045)->SetValue(true);
        Radio(dialog, 1036)->SetValue(true);
        dynamic_cast<wxCheckBox*>(dialog.FindWindow(1043))->SetValue(false);
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        click.SetEventObject(dialog.FindWindow(wxID_OK));
        dialog.FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(click);
    });
    EXPECT_TRUE(CDlgRndrQult::Edit(nullptr, quality));
    EXPECT_EQ(quality.GetValues(), Values(1, 0, 3, 0, 0, 2));
}

TEST(DlgRndrQult, EscapeLeavesTheProfileAsItWas) {
    CRndrQult quality;
    quality.SetValues(Values(2, 1, 5, 1, 1, 3));
    WhenShown([](CDlgRndrQult& dialog) {
        Radio(dialog, 1044)->SetValue(true);
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(&dialog);
        dialog.GetEventHandler()->ProcessEvent(escape);
    });
    EXPECT_FALSE(CDlgRndrQult::Edit(nullptr, quality));
    EXPECT_EQ(quality.GetValues(), Values(2, 1, 5, 1, 1, 3));
}
