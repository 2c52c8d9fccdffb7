#include "support/Messages.h"

#include <cerrno>
#include <cstring>

#include "support/UserInterface.h"

void ShowLastError() {
    int errorNumber = errno;
    std::string text = errorNumber != 0 ? std::strerror(errorNumber) : "";
    ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Error);
}
