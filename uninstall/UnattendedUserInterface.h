// Removal without anyone at the screen: the boxes' texts go to standard error and every
// question is answered yes. Chosen by the option --yes or by ZARNEL_UNINSTALL_YES set to "1" or
// "yes" (for scripted removal and for tests).
#pragma once

#include <string>
#include <vector>

#include "support/UserInterface.h"

// Whether the arguments (without the program name) or the variable's value (nullptr when
// unset) ask for unattended removal. Other arguments are ignored.
bool WantsUnattendedRemoval(const std::vector<std::string>& arguments,
                            const char* environmentValue);

class UnattendedUserInterface final : public UserInterface {
public:
    // Writes "caption: text" to standard error; answers OK or Yes (Cancel to Retry/Cancel).
    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) override;
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0x00D4D0C8; }
};
