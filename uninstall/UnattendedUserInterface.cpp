// Boxes without a screen for unattended removal, and the option that chooses them.
#include "uninstall/UnattendedUserInterface.h"

#include <cstdio>
#include <cstring>

bool WantsUnattendedRemoval(const std::vector<std::string>& arguments,
                            const char* environmentValue) {
    for (const std::string& argument : arguments) {
        if (argument == "--yes") {
            return true;
        }
    }
    // Only a plain yes counts: "no", "false" or a typing error must not remove anything.
    return environmentValue != nullptr &&
           (std::strcmp(environmentValue, "1") == 0 || std::strcmp(environmentValue, "yes") == 0);
}

MsgAnswer UnattendedUserInterface::ShowMessageBox(const std::string& text,
                                                  const std::string& caption, MsgButtons buttons,
                                                  MsgIcon) {
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
        return MsgAnswer::Cancel; // retrying unattended could go on for ever
    }
    return MsgAnswer::Ok;
}
