// The seam's registry and its console implementation.
#include "support/UserInterface.h"

#include <cstdio>

namespace {

class ConsoleUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon) override {
        std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ",
                     text.c_str());
        switch (buttons) {
        case MsgButtons::Ok: return MsgAnswer::Ok;
        case MsgButtons::YesNo: return MsgAnswer::No;
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
        case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
        }
        return MsgAnswer::Cancel;
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string& text) override {
        m_clipboard = text;
        return true;
    }
    std::optional<std::string> GetClipboardText() override { return m_clipboard; }
    uint32_t GetButtonFaceColour() override { return 0x00D4D0C8; }

private:
    std::optional<std::string> m_clipboard;
};

ConsoleUserInterface g_console;
UserInterface* g_installed = nullptr;

} // namespace

UserInterface& GetUserInterface() {
    return g_installed != nullptr ? *g_installed : g_console;
}

void InstallUserInterface(UserInterface* ui) { g_installed = ui; }

MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgButtons buttons,
                      MsgIcon icon) {
    return GetUserInterface().ShowMessageBox(text, caption, buttons, icon);
}
