// A server library for the uninstaller's tests. Its unregistration function appends one line to
// the file named by ZARNEL_TEST_UNREGISTER_MARK: "present" or "absent" for the path named by
// ZARNEL_TEST_UNREGISTER_PROBE (so a test sees what was already removed), else "called".
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>

extern "C" __attribute__((visibility("default"))) int32_t DllUnregisterServer() {
    const char* mark = std::getenv("ZARNEL_TEST_UNREGISTER_MARK");
    if (mark == nullptr) {
        return 1;
    }
    const char* line = "called\n";
    if (const char* probe = std::getenv("ZARNEL_TEST_UNREGISTER_PROBE")) {
        struct stat info {};
        line = lstat(probe, &info) == 0 ? "present\n" : "absent\n";
    }
    std::FILE* file = std::fopen(mark, "ab");
    if (file == nullptr) {
        return 1;
    }
    std::fputs(line, file);
    std::fclose(file);
    return 0;
}
