// Replacing a file atomically: a temporary file beside the target is written, synced and renamed
// over it, and the new file keeps what the old one was to the user (the link that named it, its
// mode and owner). Leftovers of killed saves are removed by the next successful one.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/File.h"

namespace {

// Temporary files are named "<target name>.zarnel-save-" and the six characters of mkstemp.
constexpr const char* kTempInfix = ".zarnel-save-";
constexpr size_t kTempSuffixLength = 6;
// As many links as the system follows before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

// Why the user may not replace the existing file, 0 when they may. The system's answer for the
// effective user counts; a privileged process passes that check for every file, so for it a file
// without any write permission is read-only too, as the platform's editors treat it.
int WriteRefusal(const std::string& path, const struct stat& info) {
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return EACCES;
    }
    return 0;
}

// The new file takes the old one's owner and group where the process may (a user may at least
// give it a group of their own), then its mode, which a change of owner may have cleared.
void TakeOverOwnerAndMode(int descriptor, const struct stat& old) {
    if (fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int ignored = fchown(descriptor, static_cast<uid_t>(-1), old.st_gid);
    }
    fchmod(descriptor, old.st_mode & 07777);
}

// The usual mode of a new file: 0666 less the process's umask.
void GiveNewFileMode(int descriptor) {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

// Removes the temporary files of earlier saves of the target that no save holds any more: a
// running save keeps its file locked until it is renamed or discarded.
void RemoveStaleTemporaries(const std::string& targetPath, const std::string& ownTemp) {
    const std::filesystem::path target(targetPath);
    const std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
    const std::string prefix = target.filename().string() + kTempInfix;
    // Listed through the system: the standard library's listing is noexcept, and memory that
    // runs out in it would end the program. Strings that cannot be made throw to the caller.
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    std::unique_ptr<DIR, int (*)(DIR*)> closing(listing, closedir);
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        const std::string path = (std::filesystem::path(folder) / name).string();
        if (name.size() != prefix.size() + kTempSuffixLength ||
            name.compare(0, prefix.size(), prefix) != 0 || path == ownTemp) {
            continue;
        }
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
            continue;
        }
        const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) {
            continue;
        }
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        close(descriptor);
    }
}

// Puts the rename itself on the disk.
void SyncFolder(const std::string& targetPath) {
    const std::string folder = std::filesystem::path(targetPath).parent_path().string();
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

} // namespace

std::string FollowLinks(const std::string& path) {
    std::filesystem::path current = AbsolutePath(path);
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) {
            break;
        }
        const std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error) {
            break;
        }
        // Not normalised: ".." in a link counts from the link's real folder, which the system
        // resolves.
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current.string();
}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open(const std::string& targetPath) {
    Discard();
    m_errorNumber = 0;
    m_targetPath = FollowLinks(targetPath);

    struct stat old {};
    const bool exists = stat(m_targetPath.c_str(), &old) == 0;
    struct stat link {};
    if (!exists && lstat(m_targetPath.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        m_errorNumber = ELOOP; // links without end: nothing to replace
        return false;
    }
    if (exists) {
        m_errorNumber = S_ISDIR(old.st_mode)    ? EISDIR
                        : !S_ISREG(old.st_mode) ? EINVAL
                                                : WriteRefusal(m_targetPath, old);
        if (m_errorNumber != 0) {
            return false;
        }
    }

    std::string pattern = m_targetPath + kTempInfix + std::string(kTempSuffixLength, 'X');
    const int descriptor = mkostemp(pattern.data(), O_CLOEXEC);
    if (descriptor < 0) {
        m_errorNumber = errno;
        return false;
    }
    m_tempPath = pattern;
    // Held (through a second descriptor) until the rename, so that no other save takes this
    // file for a leftover.
    flock(descriptor, LOCK_EX | LOCK_NB);
    m_lockDescriptor = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (exists) {
        TakeOverOwnerAndMode(descriptor, old);
    } else {
        GiveNewFileMode(descriptor);
    }
    std::FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        m_errorNumber = errno;
        close(descriptor);
        Discard();
        return false;
    }
    m_file.Adopt(stream, m_targetPath, File::Mode::Write);
    return true;
}

bool AtomicFile::Commit() {
    if (m_tempPath.empty()) {
        return false;
    }
    // The data must be on the disk before the rename makes it the file.
    bool ok = m_file.Sync();
    if (!m_file.Close() || !ok) {
        m_errorNumber = m_file.LastErrorNumber() != 0 ? m_file.LastErrorNumber() : EIO;
        Discard();
        return false;
    }
    if (std::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0) {
        m_errorNumber = errno;
        Discard();
        return false;
    }
    // The file is saved now; what follows is tidying up, which may fail without harm (memory
    // that runs out, a folder that cannot be listed).
    try {
        SyncFolder(m_targetPath);
        RemoveStaleTemporaries(m_targetPath, m_tempPath);
    } catch (const std::exception&) {
    }
    m_tempPath.clear();
    ReleaseLock();
    return true;
}

void AtomicFile::Discard() {
    m_file.Close();
    if (!m_tempPath.empty()) {
        std::remove(m_tempPath.c_str());
        m_tempPath.clear();
    }
    ReleaseLock();
}

void AtomicFile::ReleaseLock() {
    if (m_lockDescriptor >= 0) {
        close(m_lockDescriptor);
        m_lockDescriptor = -1;
    }
}

std::string AtomicFile::LastError() const {
    if (m_errorNumber != 0) {
        return std::strerror(m_errorNumber);
    }
    return m_file.LastError();
}
