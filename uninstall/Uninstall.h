// One run of the uninstaller: confirm, carry out the remove list, report, remove itself.
#pragma once

#include <string>

// The program's exit codes.
namespace UninstallExit {
constexpr int Done = 0;      // everything in the list was removed
constexpr int Cancelled = 1; // the user did not confirm; nothing was changed
constexpr int Failed = 2;    // the list could not be read or a file or folder stayed
} // namespace UninstallExit

// Runs the uninstaller whose program file is programPath (the list lies beside it) and gives
// the exit code. Unless cancelled, the program file is removed at the end, also after a failure.
int RunUninstall(const std::string& programPath);
