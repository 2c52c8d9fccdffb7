// Byte files for the readers and writers: buffered, with every failure kept so that a caller
// can tell a full disk or a read error from a clean end. AtomicFile writes a new file beside
// the target and renames it over the target only when everything was written.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class File {
public:
    enum class Mode { Read, Write };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens the path; Write creates or truncates. On failure the reason is kept (LastError).
    bool Open(const std::string& path, Mode mode);
    // Takes over an open stream (owned from now on); path is what GetFilePath reports.
    bool Adopt(std::FILE* stream, const std::string& path, Mode mode);
    // Flushes and closes; false when any write, the flush or the close failed.
    bool Close();

    bool IsOpen() const { return m_stream != nullptr; }
    // Up to count bytes; 0 at the end or on an error (HasError tells which).
    size_t Read(void* buffer, size_t count);
    // All bytes or false; a failed write is kept as the file's error.
    bool Write(const void* buffer, size_t count);
    bool SeekToBegin();
    bool Flush();
    // Flushes and asks the system to put the data on the disk.
    bool Sync();

    bool HasError() const { return m_errorNumber != 0; }
    int LastErrorNumber() const { return m_errorNumber; }
    std::string LastError() const; // the system's text of the last failure

    // The absolute path given at opening, and its last component.
    const std::string& GetFilePath() const { return m_path; }
    std::string GetFileName() const;

private:
    void Fail(int errorNumber);

    std::FILE* m_stream = nullptr;
    std::string m_path;
    Mode m_mode = Mode::Read;
    int m_errorNumber = 0;
};

// Writing a file so that a failure anywhere leaves the previous file as it was.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile(); // discards the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates a temporary file in the target's folder; false (with LastError) when it cannot.
    bool Open(const std::string& targetPath);
    File& GetFile() { return m_file; }
    // Flushes, syncs and renames over the target; false (target untouched) on any failure.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Discard();

    const std::string& GetTargetPath() const { return m_targetPath; }
    std::string LastError() const;

private:
    File m_file;
    std::string m_targetPath;
    std::string m_tempPath;
    int m_errorNumber = 0;
};

// The absolute form of a path (relative to the working folder), without touching the disk.
std::string AbsolutePath(const std::string& path);
