// The program's own path and the paths derived from it.
#include "uninstall/UninstallPaths.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include <unistd.h>

namespace {

// The path with every symbolic link resolved; empty when it does not exist.
std::string RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real != nullptr ? std::string(real.get()) : std::string();
}

bool IsInside(const std::string& path, const std::string& folder) {
    if (folder == "/") {
        return true;
    }
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

} // namespace

std::string StrJoin(std::initializer_list<std::string_view> texts) {
    size_t length = 0;
    for (std::string_view text : texts) {
        length += text.size();
    }
    std::string joined;
    joined.reserve(length);
    for (std::string_view text : texts) {
        joined += text;
    }
    return joined;
}

std::string GetProgramPath() {
    // readlink does not say how long the target is: grow the buffer until the answer fits.
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string GetUninstallListPath(const std::string& programPath) {
    return StrJoin({FolderOf(programPath), "/", kUninstallListName});
}

std::string ResolveListedPath(const std::string& argument, const std::string& installFolder) {
    if (!argument.empty() && argument[0] == '/') {
        return argument;
    }
    return StrJoin({installFolder, "/", argument});
}

int CheckListedPath(const std::string& path, const std::string& installFolder, bool followsLast) {
    // The prefixes of the path that end at a '/' (its folders), and the whole path.
    std::vector<std::string> prefixes;
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        const std::string component = path.substr(start, slash - start);
        if (component == "..") {
            return EINVAL;
        }
        if (slash == std::string::npos) {
            break;
        }
        if (slash > 0) {
            prefixes.push_back(path.substr(0, slash));
        }
        start = slash + 1;
    }
    if (followsLast) {
        prefixes.push_back(path);
    }
    std::string installation = RealPath(installFolder);
    if (installation.empty()) {
        installation = installFolder;
    }
    bool entered = false;
    for (const std::string& prefix : prefixes) {
        const std::string real = RealPath(prefix);
        if (real.empty()) {
            break;
        }
        if (IsInside(real, installation)) {
            entered = true;
        } else if (entered) {
            return EPERM;
        }
    }
    return 0;
}
