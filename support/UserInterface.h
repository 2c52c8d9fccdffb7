// The one seam through which support and model code talk to the user: message boxes, the beep,
// the wait cursor, file choice and the clipboard. The application installs the wx implementation
// at start-up; tests install a recording one. Without an installed one, a console implementation
// writes boxes to standard error and answers with the safe choice (OK, Cancel or No).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Error };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct FileChoice {
    bool save = false;          // a save dialog (asks before overwriting) or an open dialog
    std::string title;          // empty: the platform's default title
    std::string filter;         // "Description|*.ext|Description|*.*" as the system writes it
    std::string defaultExtension; // appended to a typed name without extension (without dot)
    std::string initialPath;    // folder and/or file name shown first
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows a modal box; caption empty means the program's name.
    virtual MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                     MsgButtons buttons, MsgIcon icon) = 0;
    // A Yes/No box whose default button is No, for a question whose Yes gives something up.
    // An implementation without default buttons shows the plain Yes/No box.
    virtual MsgAnswer AskYesNoDefaultNo(const std::string& text, const std::string& caption,
                                        MsgIcon icon) {
        return ShowMessageBox(text, caption, MsgButtons::YesNo, icon);
    }
    virtual void Beep() = 0;
    // Wait cursor; calls nest.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFile(const FileChoice& choice) = 0;
    // Plain text on the clipboard; false when the clipboard could not be opened.
    virtual bool SetClipboardText(const std::string& text) = 0;
    // Nothing when the clipboard holds no text or cannot be opened.
    virtual std::optional<std::string> GetClipboardText() = 0;
    // The system's face colour of buttons and dialogs, 0x00BBGGRR.
    virtual uint32_t GetButtonFaceColour() = 0;
};

// The installed implementation (the console one when none is installed).
UserInterface& GetUserInterface();
// Installs an implementation that the caller keeps alive; nullptr goes back to the console one.
void InstallUserInterface(UserInterface* ui);

// Shortcut for the common box.
MsgAnswer ShowMessage(const std::string& text, const std::string& caption = {},
                      MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None);

// Shows the wait cursor for its lifetime.
class BusyScope {
public:
    BusyScope() { GetUserInterface().BeginBusy(); }
    ~BusyScope() { GetUserInterface().EndBusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};
