#include "support/LangText.h"

#include <cerrno>

#include "support/Messages.h"
#include "support/Resources.h"
#include "support/UserInterface.h"

std::string LoadLangText(uint32_t id) {
    // The program's own texts are always German: article designations it builds must match the
    // translated list entries whatever the user's locale is.
    std::string text;
    if (!LoadResourceString(id, LANG_ID_GERMAN, text) || text.empty()) {
        ShowMessage("Error loading language specific text!", "", MsgButtons::Ok,
                    MsgIcon::Exclamation);
        return {};
    }
    return text;
}

std::string LoadLangTextEx(uint32_t id, uint16_t langId) {
    std::string text;
    if (!LoadResourceString(id, langId, text)) {
        errno = ENOENT;
        ShowLastError();
        return {};
    }
    if (text.empty()) {
        // An empty entry is of no use to any caller: it is reported like a missing one.
        errno = EINVAL;
        ShowLastError();
        return {};
    }
    return text;
}
