// Where the uninstaller finds itself and its remove list. Paths have no length limit here: a
// path is never cut to fit a buffer, since a shortened path would name another file.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The name of the remove list, which the installer writes beside the uninstaller.
constexpr const char* kUninstallListName = "UnInstall.txt";

// The texts joined into one.
std::string StrJoin(std::initializer_list<std::string_view> texts);

// The running program's file (the target of /proc/self/exe); empty when the system cannot say.
std::string GetProgramPath();

// The path up to, not including, its last '/'; a path without one stays whole. The folder of
// "/x" is "" (the root), so callers check for an empty result.
std::string FolderOf(const std::string& path);

// The remove list beside the given program file.
std::string GetUninstallListPath(const std::string& programPath);

// The path that an argument of the list names: an absolute one as it stands, a relative one in
// the installation folder (where the list lies), never in the folder the program was started in.
std::string ResolveListedPath(const std::string& argument, const std::string& installFolder);

// Why a resolved path of the list must not be acted on, as an errno value; 0 when it may. A ".."
// component (EINVAL) could reach anything. A path whose folders enter the installation folder
// and then lead out of it through a symbolic link (EPERM) would act outside the installation.
// The last component counts only when followsLast (a library that is loaded; a file or folder
// that is removed is never followed). Folders that do not exist end the check: acting on them
// fails by itself.
int CheckListedPath(const std::string& path, const std::string& installFolder, bool followsLast);
