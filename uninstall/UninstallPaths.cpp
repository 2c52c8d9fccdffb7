// The program's own path and the paths derived from it.
#include "uninstall/UninstallPaths.h"

#include <vector>

#include <unistd.h>

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
