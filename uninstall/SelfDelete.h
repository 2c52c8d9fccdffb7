// The uninstaller's removal of itself at the end of a run.
#pragma once

#include <string>

// Removes the program file and then its folder, when that folder is empty by then. A running
// program's file can be removed on this platform, so this is done at once, without a helper
// script. True when this call removed the program file; the folder's removal does not change the
// result. A program file that is gone already (the remove list named it) still lets the folder go.
bool DeleteSelf(const std::string& programPath);
