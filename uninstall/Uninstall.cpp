// The uninstaller's run from confirmation to self-removal.
#include "uninstall/Uninstall.h"

#include "uninstall/SelfDelete.h"
#include "uninstall/UninstallList.h"
#include "uninstall/UninstallMessages.h"

int RunUninstall(const std::string& programPath) {
    if (MessageBoxRes(UninstallText::Caption, UninstallText::Question, MsgButtons::OkCancel) !=
        MsgAnswer::Ok) {
        return UninstallExit::Cancelled;
    }
    bool succeeded = ProcessUninstallList(programPath);
    MessageBoxRes(UninstallText::Caption, succeeded ? UninstallText::Done : UninstallText::Failed,
                  MsgButtons::Ok);
    DeleteSelf(programPath);
    return succeeded ? UninstallExit::Done : UninstallExit::Failed;
}
