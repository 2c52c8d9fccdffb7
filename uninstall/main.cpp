// The uninstaller UnInstall: removes an installation as the remove list beside it says, reports
// the result and removes itself. No main window: the boxes are wx message boxes without owner,
// shown before any event loop, so the exit code stays the program's own. Without a display
// (and without unattended removal) the texts go to standard error and the question is answered
// Cancel, so nothing is removed.
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/strconv.h>
#include <wx/utils.h>

#include "support/Resources.h"
#include "support/UserInterface.h"
#include "uninstall/UnattendedUserInterface.h"
#include "uninstall/Uninstall.h"
#include "uninstall/UninstallPaths.h"
#include "uninstall/resources/UninstallResources.h"

namespace {

// wx needs an application object for its GUI part; its event loop is never run.
class UninstallApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// Texts are UTF-8; a path from the remove list that is not is shown as Windows-1252, so the box
// never goes blank.
wxString ToWx(const std::string& text) {
    wxString converted = wxString::FromUTF8(text);
    if (converted.empty() && !text.empty()) {
        converted = wxString(text.c_str(), wxCSConv(wxFONTENCODING_CP1252));
    }
    return converted;
}

class WxUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) override {
        long style = 0;
        switch (buttons) {
        case MsgButtons::Ok:
            style = wxOK;
            break;
        case MsgButtons::OkCancel:
            style = wxOK | wxCANCEL;
            break;
        case MsgButtons::YesNo:
            style = wxYES_NO;
            break;
        case MsgButtons::YesNoCancel:
            style = wxYES_NO | wxCANCEL;
            break;
        case MsgButtons::RetryCancel:
            style = wxOK | wxCANCEL;
            break;
        }
        switch (icon) {
        case MsgIcon::None:
            style |= wxICON_NONE;
            break;
        case MsgIcon::Information:
            style |= wxICON_INFORMATION;
            break;
        case MsgIcon::Question:
            style |= wxICON_QUESTION;
            break;
        case MsgIcon::Exclamation:
            style |= wxICON_EXCLAMATION;
            break;
        case MsgIcon::Error:
            style |= wxICON_ERROR;
            break;
        }
        wxMessageDialog dialog(nullptr, ToWx(text), ToWx(caption), style);
        if (buttons == MsgButtons::RetryCancel) {
            dialog.SetOKLabel(_("&Retry"));
        }
        switch (dialog.ShowModal()) {
        case wxID_OK:
            return buttons == MsgButtons::RetryCancel ? MsgAnswer::Retry : MsgAnswer::Ok;
        case wxID_YES:
            return MsgAnswer::Yes;
        case wxID_NO:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel; // Cancel, Escape and the close box
        }
    }
    void Beep() override { wxBell(); }
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0x00D4D0C8; }
};

bool HasDisplay() {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, ""); // the system's error texts in the user's language
    SetResourceModule(&UninstallResources());
    std::string programPath = GetProgramPath();

    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (WantsUnattendedRemoval(arguments, std::getenv("ZARNEL_UNINSTALL_YES"))) {
        UnattendedUserInterface unattended;
        InstallUserInterface(&unattended);
        int exitCode = RunUninstall(programPath);
        InstallUserInterface(nullptr);
        return exitCode;
    }
    if (HasDisplay()) {
        wxApp::SetInstance(new UninstallApp); // owned and deleted by wx's clean-up
        wxInitializer initializer(argc, argv);
        if (initializer.IsOk()) {
            WxUserInterface boxes;
            InstallUserInterface(&boxes);
            int exitCode = RunUninstall(programPath);
            InstallUserInterface(nullptr);
            return exitCode;
        }
    }
    // The support library's console boxes: texts to standard error, the question cancelled.
    return RunUninstall(programPath);
}
