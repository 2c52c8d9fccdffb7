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

void ShowFormattedMessage(uint32_t id, const std::vector<FormatArg>& args) {
    std::string text;
    FormatChecked(LoadLangText(id), args, kMessageFmtMaxLength, text);
    ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Information);
}
