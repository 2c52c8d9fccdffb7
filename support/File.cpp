// Byte files over C streams.
#include "support/File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <new>
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
    if (mode == Mode::Write) {
        errno = 0;
        std::FILE* stream = std::fopen(path.c_str(), "wb");
        if (stream == nullptr) {
            Fail(errno);
            return false;
        }
        m_stream = stream;
        return true;
    }
    // Without O_NONBLOCK a named pipe would hold the program until a writer comes.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        Fail(errno);
        return false;
    }
    // Only a regular file has an end: a folder, pipe or device (/dev/zero) is refused.
    struct stat info {};
    int refusal = 0;
    if (fstat(descriptor, &info) != 0) {
        refusal = errno;
    } else if (S_ISDIR(info.st_mode)) {
        refusal = EISDIR;
    } else if (!S_ISREG(info.st_mode)) {
        refusal = EINVAL;
    } else if (fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        refusal = errno;
    }
    std::FILE* stream = refusal == 0 ? fdopen(descriptor, "rb") : nullptr;
    if (stream == nullptr) {
        Fail(refusal != 0 ? refusal : errno);
        close(descriptor);
        return false;
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

bool File::ReadAll(std::string& out, int64_t limit) {
    if (Size() > limit) {
        Fail(EFBIG);
        return false;
    }
    try {
        std::string bytes;
        bytes.reserve(static_cast<size_t>(std::max<int64_t>(Size(), 0)));
        char block[65536];
        while (size_t count = Read(block, sizeof block)) {
            if (static_cast<int64_t>(bytes.size() + count) > limit) {
                Fail(EFBIG); // it grew while it was read
                return false;
            }
            bytes.append(block, count);
        }
        if (HasError()) {
            return false;
        }
        out += bytes;
    } catch (const std::bad_alloc&) {
        Fail(ENOMEM);
        return false;
    }
    return true;
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

int64_t File::Size() const {
    struct stat info {};
    if (m_stream == nullptr || fstat(fileno(m_stream), &info) != 0) {
        return -1;
    }
    return static_cast<int64_t>(info.st_size);
}

std::string File::LastError() const {
    return m_errorNumber != 0 ? std::strerror(m_errorNumber) : std::string();
}

std::string File::GetFileName() const {
    return std::filesystem::path(m_path).filename().string();
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}
