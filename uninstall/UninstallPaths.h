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
