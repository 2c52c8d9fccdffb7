// Removal of the uninstaller's own file and folder.
#include "uninstall/SelfDelete.h"

#include <unistd.h>

#include "uninstall/UninstallPaths.h"

bool DeleteSelf(const std::string& programPath) {
    if (programPath.empty() || unlink(programPath.c_str()) != 0) {
        return false;
    }
    std::string folder = FolderOf(programPath);
    if (!folder.empty() && folder != programPath) {
        rmdir(folder.c_str()); // fails, as it should, while anything else is left in the folder
    }
    return true;
}
