// The user-interface seam on wx: German message boxes, the bell, the busy cursor, the file
// dialogs and the clipboard. The application installs one at start-up.
#pragma once

#include <string>

#include <wx/colour.h>

#include "support/UserInterface.h"

class WxUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) override;
    MsgAnswer AskYesNoDefaultNo(const std::string& text, const std::string& caption,
                                MsgIcon icon) override;
    void Beep() override;
    void BeginBusy() override;
    void EndBusy() override;
    // Filters list both cases of every pattern ("*.zdf;*.ZDF"); a name typed without an
    // extension gets the default extension.
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> GetClipboardText() override;
    // Leaves the program's clipboard text with the desktop, so that a copy outlives the
    // program. Called once at exit.
    static void FlushClipboard();
    // The face colour of the program's dialogs, 0x00BBGGRR.
    uint32_t GetButtonFaceColour() override;
    static wxColour DialogFaceColour();

    // A filter as the system writes it ("Description|*.ext|...") with each pattern also in
    // upper case, for the case-sensitive file names of this platform.
    static std::string BothCaseFilter(const std::string& filter);
    // The path with ".extension" appended when its file name has no extension.
    static std::string WithDefaultExtension(const std::string& path,
                                            const std::string& extension);

private:
    // extraStyle: wxNO_DEFAULT for a Yes/No box whose default button is No.
    MsgAnswer ShowBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                      MsgIcon icon, long extraStyle);

    int m_busyDepth = 0;
};
