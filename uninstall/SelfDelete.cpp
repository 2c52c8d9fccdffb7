// Removal of the uninstaller's own file and folder.
#include "uninstall/SelfDelete.h"

#include <cerrno>

#include <unistd.h>

#include "uninstall/UninstallPaths.h"

bool DeleteSelf(const std::string& programPath) {
    if (programPath.empty()) {
        return false;
    }
    const bool removed = unlink(programPath.c_str()) == 0;
    // A remove list that named the program file has taken it already; its folder still goes.
    if (!removed && errno != ENOENT) {
        return false;
    }
    std::string folder = FolderOf(programPath);
    if (!folder.empty() && folder != programPath) {
        rmdir(folder.c_str()); // fails, as it should, while anything else is left in the folder
    }
    return removed;
}
