// An exclusive lock that programs writing the same file take before they read, change and
// replace it: a lock file beside the target, held with flock(2) and removed when released, so
// that no lock file stays behind. Two programs never both hold the lock for the same target.
#pragma once

#include <string>

class LockFile {
public:
    // Waits for the lock on "<targetPath>.lock", creating the file. The target's folder must
    // exist.
    explicit LockFile(const std::string& targetPath);
    // Removes the lock file and releases the lock.
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // False when the lock file could not be made (the folder cannot be written). When the file
    // system takes no locks at all, the caller goes on unlocked and this is still true.
    bool IsHeld() const { return m_held; }

    static constexpr const char* kSuffix = ".lock";

private:
    std::string m_path;
    int m_descriptor = -1;
    bool m_held = false;
    bool m_locked = false; // flock succeeded: the file is ours to remove
};
