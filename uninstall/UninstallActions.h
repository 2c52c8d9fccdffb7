// The actions of the remove list's commands, one per letter. Paths are used exactly as given
// (no length limit, no change of encoding); a symbolic link named in the list is never followed.
#pragma once

#include <string>

#include "support/SettingsStore.h"

// F: removes the named file. A symbolic link is removed as a link, its target is left alone; a
// folder is refused. Permission bits of the file do not matter here (removing a name needs
// write access to its folder only), so there is no read-only attribute to clear first.
// 0 on success, else the errno value.
int RemoveListedFile(const std::string& path);

// D: removes the named folder, which must be empty by then. A symbolic link to a folder is
// refused (not a folder), and neither the link nor its target is removed. 0 or the errno value.
int RemoveListedFolder(const std::string& path);

// C: loads the library, calls its unregistration function when it exports one, and unloads it.
// The function's contract: extern "C" int32_t DllUnregisterServer(void), result ignored. A
// library that cannot be loaded is skipped without a word.
void UnregisterServerLibrary(const std::string& path);

// U, L: deletes the key with all its subkeys and values from the settings file of the root
// (CurrentUser: the user's file, LocalMachine: the machine's file). Keys beside it stay. An
// empty key path names the whole root and deletes nothing, and the classes root holds nothing.
// False when nothing was deleted; the uninstaller does not look at the result.
bool RegDeleteKeyTree(SettingsRoot root, const std::string& keyPath);
