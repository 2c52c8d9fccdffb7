#include "support/Messages.h"

#include <cerrno>
#include <cstring>

#include "support/LangText.h"
#include "support/UserInterface.h"

void ShowLastError() {
    int errorNumber = errno;
    std::string text = errorNumber != 0 ? std::strerror(errorNumber) : "";
    ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Error);
}

void ShowFileFailure(const std::string& text, const std::string& path, const std::string& reason) {
    std::string shown = text;
    for (const std::string* line : {&path, &reason}) {
        if (!line->empty()) {
            shown += "\n";
            shown += *line;
        }
    }
    ShowMessage(shown, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

std::string OutOfMemoryReason() {
    return std::strerror(ENOMEM);
}

void ShowFormattedMessage(uint32_t id, const std::vector<FormatArg>& args) {
    std::string text;
    FormatChecked(LoadLangText(id), args, kMessageFmtMaxLength, text);
    ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Information);
}
