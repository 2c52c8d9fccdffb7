// Message boxes, file dialogs, clipboard and wait cursor on wx.
#include "app/frame/WxUserInterface.h"

#include <cctype>
#include <vector>

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include "support/LangText.h"

namespace {

// The program's name, the caption of boxes that give none.
constexpr uint32_t kAppTitle = 57344;
// Titles of the open and save dialogs.
constexpr uint32_t kOpenTitle = 61440;
constexpr uint32_t kSaveTitle = 61441;

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::string AsciiUpper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

wxWindow* DialogParent() {
    wxWindow* top = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    return top != nullptr && top->IsShown() ? top : nullptr;
}

} // namespace

MsgAnswer WxUserInterface::ShowMessageBox(const std::string& text, const std::string& caption,
                                          MsgButtons buttons, MsgIcon icon) {
    return ShowBox(text, caption, buttons, icon, 0);
}

MsgAnswer WxUserInterface::AskYesNoDefaultNo(const std::string& text, const std::string& caption,
                                             MsgIcon icon) {
    return ShowBox(text, caption, MsgButtons::YesNo, icon, wxNO_DEFAULT);
}

MsgAnswer WxUserInterface::ShowBox(const std::string& text, const std::string& caption,
                                   MsgButtons buttons, MsgIcon icon, long extraStyle) {
    long style = extraStyle;
    switch (buttons) {
    case MsgButtons::Ok: style |= wxOK; break;
    case MsgButtons::OkCancel: style |= wxOK | wxCANCEL; break;
    case MsgButtons::YesNo: style |= wxYES_NO; break;
    case MsgButtons::YesNoCancel: style |= wxYES_NO | wxCANCEL; break;
    case MsgButtons::RetryCancel: style |= wxOK | wxCANCEL; break;
    }
    switch (icon) {
    case MsgIcon::None: style |= wxICON_NONE; break;
    case MsgIcon::Information: style |= wxICON_INFORMATION; break;
    case MsgIcon::Question: style |= wxICON_QUESTION; break;
    case MsgIcon::Exclamation: style |= wxICON_EXCLAMATION; break;
    case MsgIcon::Error: style |= wxICON_ERROR; break;
    }
    wxString title = caption.empty() ? FromUtf8(LoadLangText(kAppTitle)) : FromUtf8(caption);
    wxMessageDialog dialog(DialogParent(), FromUtf8(text), title, style);
    switch (buttons) {
    case MsgButtons::Ok: dialog.SetOKLabel("OK"); break;
    case MsgButtons::OkCancel: dialog.SetOKCancelLabels("OK", "Abbrechen"); break;
    case MsgButtons::YesNo: dialog.SetYesNoLabels("Ja", "Nein"); break;
    case MsgButtons::YesNoCancel: dialog.SetYesNoCancelLabels("Ja", "Nein", "Abbrechen"); break;
    case MsgButtons::RetryCancel: dialog.SetOKCancelLabels("Wiederholen", "Abbrechen"); break;
    }
    int result = dialog.ShowModal();
    switch (result) {
    case wxID_OK: return buttons == MsgButtons::RetryCancel ? MsgAnswer::Retry : MsgAnswer::Ok;
    case wxID_YES: return MsgAnswer::Yes;
    case wxID_NO: return MsgAnswer::No;
    default: break;
    }
    // Closing the box is its safe choice: Cancel where there is one, No for Yes/No, OK alone.
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

void WxUserInterface::Beep() { wxBell(); }

void WxUserInterface::BeginBusy() {
    ++m_busyDepth;
    wxBeginBusyCursor();
}

void WxUserInterface::EndBusy() {
    if (m_busyDepth == 0) {
        return;
    }
    --m_busyDepth;
    wxEndBusyCursor();
}

std::string WxUserInterface::BothCaseFilter(const std::string& filter) {
    std::vector<std::string> parts = Split(filter, '|');
    std::string result;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        if (i % 2 == 1) {
            // The patterns of a description, separated by ";".
            std::string patterns;
            for (const std::string& pattern : Split(part, ';')) {
                patterns += (patterns.empty() ? "" : ";") + pattern;
                std::string upper = AsciiUpper(pattern);
                if (upper != pattern) {
                    patterns += ";" + upper;
                }
            }
            part = patterns;
        }
        result += (i == 0 ? "" : "|") + part;
    }
    return result;
}

std::string WxUserInterface::WithDefaultExtension(const std::string& path,
                                                  const std::string& extension) {
    if (extension.empty() || path.empty()) {
        return path;
    }
    size_t nameStart = path.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot > nameStart) {
        return path;
    }
    return path + "." + extension;
}

std::optional<std::string> WxUserInterface::ChooseFile(const FileChoice& choice) {
    long style = choice.save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    std::string folder;
    std::string name = choice.initialPath;
    size_t slash = choice.initialPath.find_last_of('/');
    if (slash != std::string::npos) {
        folder = choice.initialPath.substr(0, slash);
        name = choice.initialPath.substr(slash + 1);
    }
    wxString title = choice.title.empty()
                         ? FromUtf8(LoadLangText(choice.save ? kSaveTitle : kOpenTitle))
                         : FromUtf8(choice.title);
    wxFileDialog dialog(DialogParent(), title, FromUtf8(folder), FromUtf8(name),
                        FromUtf8(BothCaseFilter(choice.filter)), style);
    while (true) {
        if (dialog.ShowModal() != wxID_OK) {
            return std::nullopt;
        }
        std::string chosen = dialog.GetPath().utf8_string();
        std::string path = WithDefaultExtension(chosen, choice.defaultExtension);
        // The dialog asked about the name as typed; a file that the extension makes another
        // name of is asked about here, so that no file is replaced unasked.
        if (choice.save && path != chosen && wxFileExists(FromUtf8(path)) &&
            ShowMessageBox(path + " ist bereits vorhanden.\nMöchten Sie sie ersetzen?",
                           title.utf8_string(), MsgButtons::YesNo,
                           MsgIcon::Exclamation) != MsgAnswer::Yes) {
            continue;
        }
        return path;
    }
}

bool WxUserInterface::SetClipboardText(const std::string& text) {
    // Text that is not valid UTF-8 converts to nothing: that is a failure, not an empty copy.
    const wxString converted = FromUtf8(text);
    if (converted.empty() && !text.empty()) {
        return false;
    }
    wxClipboardLocker locker;
    if (!locker) {
        return false;
    }
    return wxTheClipboard->SetData(new wxTextDataObject(converted));
}

void WxUserInterface::FlushClipboard() {
    // The clipboard manager of the desktop takes over what this program put there.
    if (wxTheClipboard != nullptr) {
        wxTheClipboard->Flush();
    }
}

std::optional<std::string> WxUserInterface::GetClipboardText() {
    wxClipboardLocker locker;
    if (!locker || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT)) {
        return std::nullopt;
    }
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data)) {
        return std::nullopt;
    }
    return data.GetText().utf8_string();
}

wxColour WxUserInterface::DialogFaceColour() {
    // The theme paints dialogs in the window colour, which may differ from the buttons' face:
    // ask a dialog that is never shown.
    static const wxColour face = [] {
        wxDialog probe(nullptr, wxID_ANY, wxString());
        wxColour colour = probe.GetBackgroundColour();
        return colour.IsOk() ? colour : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    }();
    return face;
}

uint32_t WxUserInterface::GetButtonFaceColour() {
    wxColour face = DialogFaceColour();
    return static_cast<uint32_t>(face.Red()) | static_cast<uint32_t>(face.Green()) << 8 |
           static_cast<uint32_t>(face.Blue()) << 16;
}
