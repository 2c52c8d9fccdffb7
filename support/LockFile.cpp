// The lock file. A holder removes the file before it releases the lock; whoever was waiting on
// the removed file then finds that the path names another file (or none) and starts again with
// the file now there, so that every holder locked the file the path names.
#include "support/LockFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool SameFile(int descriptor, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return fstat(descriptor, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

LockFile::LockFile(const std::string& targetPath) : m_path(targetPath + kSuffix) {
    for (;;) {
        const int descriptor = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            return;
        }
        int result = 0;
        while ((result = flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (result != 0) {
            // A file system without locks: the write that follows is still atomic.
            close(descriptor);
            m_held = true;
            return;
        }
        if (SameFile(descriptor, m_path)) {
            m_descriptor = descriptor;
            m_held = true;
            m_locked = true;
            return;
        }
        close(descriptor);
    }
}

LockFile::~LockFile() {
    if (m_locked) {
        unlink(m_path.c_str());
    }
    if (m_descriptor >= 0) {
        close(m_descriptor);
    }
}
