// The toolkit is started once per test program: wx cannot be started again in one process.
#include "tests/app/dialogs/DialogTestKit.h"

#include <cstdlib>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/init.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "support/LocaleNumber.h"
#include "tests/harness/WindowWait.h"

namespace {

class WxEnvironment : public ::testing::Environment {
public:
    explicit WxEnvironment(const char* name) : m_name(name) {}
    void SetUp() override {
        static int argc = 1;
        static char* argv[] = {m_name.data(), nullptr};
        wxApp::SetInstance(new wxApp); // a GUI application; wxEntryCleanup deletes it
        ASSERT_TRUE(wxEntryStart(argc, argv));
        ASSERT_TRUE(wxTheApp->CallOnInit());
    }
    void TearDown() override {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }

private:
    std::string m_name;
};

} // namespace

void RegisterWxEnvironment(const char* programName) {
    ::testing::AddGlobalTestEnvironment(new WxEnvironment(programName));
}

void Click(wxWindow& dialog, int id) {
    wxWindow* control = dialog.FindWindow(id);
    ASSERT_NE(control, nullptr) << id;
    ASSERT_TRUE(control->IsEnabled()) << id;
    if (auto* check = dynamic_cast<wxCheckBox*>(control); check != nullptr) {
        check->SetValue(!check->GetValue());
        wxCommandEvent event(wxEVT_CHECKBOX, id);
        event.SetEventObject(check);
        event.SetInt(check->GetValue() ? 1 : 0);
        check->GetEventHandler()->ProcessEvent(event);
    } else if (auto* radio = dynamic_cast<wxRadioButton*>(control); radio != nullptr) {
        radio->SetValue(true);
        wxCommandEvent event(wxEVT_RADIOBUTTON, id);
        event.SetEventObject(radio);
        event.SetInt(1);
        radio->GetEventHandler()->ProcessEvent(event);
    } else {
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(control);
        control->GetEventHandler()->ProcessEvent(event);
    }
}

void PressEscape(wxDialog& dialog) {
    wxKeyEvent escape(wxEVT_CHAR_HOOK);
    escape.m_keyCode = WXK_ESCAPE;
    escape.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(escape);
}

void PressCloseBox(wxDialog& dialog) {
    dialog.Close();
}

void Type(wxWindow& dialog, int id, const std::string& text) {
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
    ASSERT_NE(edit, nullptr) << id;
    ASSERT_TRUE(edit->IsEditable()) << id;
    edit->SetValue(wxString::FromUTF8(text));
}

std::string FieldText(wxWindow& dialog, int id) {
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
    EXPECT_NE(edit, nullptr) << id;
    return edit != nullptr ? edit->GetValue().utf8_string() : std::string();
}

std::string Local(std::string text) {
    for (char& c : text) {
        if (c == '.') {
            c = LocaleDecimalChar();
        }
    }
    return text;
}

std::string Screenshot(wxWindow& dialog, const std::string& name) {
    dialog.Raise();
    WaitUntilPainted(dialog);
    // The window with the window manager's frame around it.
    const wxRect rect = dialog.GetScreenRect().Inflate(8, 8);
    const int top = std::max(0, rect.y - 28);
    const std::string path = std::string(ZARNEL_ARTIFACT_DIR) + "/" + name;
    const std::string command = "import -window root -crop " + std::to_string(rect.width) + "x" +
                                std::to_string(rect.GetBottom() - top) + "+" +
                                std::to_string(std::max(0, rect.x)) + "+" + std::to_string(top) +
                                " +repage '" + path + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? path : std::string();
}
