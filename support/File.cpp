// Byte files over C streams, and atomic replacement by temporary file and rename.
#include "support/File.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

File::~File() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
    }
}

void File::Fail(int errorNumber) {
    m_errorNumber = errorNumber != 0 ? errorNumber : EIO;
}

bool File::Open(const std::string& path, Mode mode) {
    if (m_stream != nullptr) {
        Close();
    }
    m_errorNumber = 0;
    m_path = AbsolutePath(path);
    m_mode = mode;
    errno = 0;
    std::FILE* stream = std::fopen(path.c_str(), mode == Mode::Read ? "rb" : "wb");
    if (stream == nullptr) {
        Fail(errno);
        return false;
    }
    if (mode == Mode::Read) {
        // A folder opens as a stream on this platform but cannot be read: refuse it here.
        struct stat info {};
        if (fstat(fileno(stream), &info) == 0 && S_ISDIR(info.st_mode)) {
            std::fclose(stream);
            Fail(EISDIR);
            return false;
        }
    }
    m_stream = stream;
    return true;
}

bool File::Adopt(std::FILE* stream, const std::string& path, Mode mode) {
    if (m_stream != nullptr) {
        Close();
    }
    m_errorNumber = 0;
    m_stream = stream;
    m_path = AbsolutePath(path);
    m_mode = mode;
    return stream != nullptr;
}

bool File::Close() {
    if (m_stream == nullptr) {
        return !HasError();
    }
    errno = 0;
    if (std::fflush(m_stream) != 0) {
        Fail(errno);
    }
    if (std::fclose(m_stream) != 0 && !HasError()) {
        Fail(errno);
    }
    m_stream = nullptr;
    return !HasError();
}

size_t File::Read(void* buffer, size_t count) {
    if (m_stream == nullptr || count == 0) {
        return 0;
    }
    errno = 0;
    size_t done = std::fread(buffer, 1, count, m_stream);
    if (done < count && std::ferror(m_stream)) {
        Fail(errno);
    }
    return done;
}

bool File::Write(const void* buffer, size_t count) {
    if (m_stream == nullptr) {
        Fail(EBADF);
        return false;
    }
    if (count == 0) {
        return true;
    }
    errno = 0;
    if (std::fwrite(buffer, 1, count, m_stream) != count) {
        Fail(errno);
        return false;
    }
    return true;
}

bool File::SeekToBegin() {
    if (m_stream == nullptr) {
        return false;
    }
    errno = 0;
    if (std::fseek(m_stream, 0, SEEK_SET) != 0) {
        Fail(errno);
        return false;
    }
    std::clearerr(m_stream);
    return true;
}

bool File::Flush() {
    if (m_stream == nullptr) {
        return false;
    }
    errno = 0;
    if (std::fflush(m_stream) != 0) {
        Fail(errno);
        return false;
    }
    return true;
}

bool File::Sync() {
    if (!Flush()) {
        return false;
    }
    errno = 0;
    if (fsync(fileno(m_stream)) != 0 && errno != EINVAL && errno != EROFS) {
        Fail(errno);
        return false;
    }
    return true;
}

std::string File::LastError() const {
    return m_errorNumber != 0 ? std::strerror(m_errorNumber) : std::string();
}

std::string File::GetFileName() const {
    return std::filesystem::path(m_path).filename().string();
}

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& targetPath) {
    Discard();
    m_errorNumber = 0;
    m_targetPath = AbsolutePath(targetPath);
    std::string pattern = m_targetPath + ".XXXXXX";
    int descriptor = mkstemp(pattern.data());
    if (descriptor < 0) {
        m_errorNumber = errno;
        return false;
    }
    m_tempPath = pattern;
    // Keep the permissions of the file being replaced, or the usual ones for a new file.
    struct stat info {};
    if (stat(m_targetPath.c_str(), &info) == 0) {
        fchmod(descriptor, info.st_mode & 07777);
    } else {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(descriptor, 0666 & ~mask);
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
    m_tempPath.clear();
    return true;
}

void AtomicFile::Discard() {
    m_file.Close();
    if (!m_tempPath.empty()) {
        std::remove(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

std::string AtomicFile::LastError() const {
    if (m_errorNumber != 0) {
        return std::strerror(m_errorNumber);
    }
    return m_file.LastError();
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}
