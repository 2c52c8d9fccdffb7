// Byte files for the readers and writers: buffered, with every failure kept so that a caller
// can tell a full disk or a read error from a clean end. AtomicFile (AtomicFile.cpp) writes a new
// file beside the target and renames it over the target only when everything was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The largest text file the programs read whole (designs, price and stock lists, included
// files, the slide model, the uninstaller's list): 1 GiB. A larger one is refused before anything
// is read (README, "Limits").
inline constexpr int64_t kMaxTextFileBytes = int64_t(1) << 30;

class File {
public:
    enum class Mode { Read, Write };

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens the path; Write creates or truncates. Read takes regular files only: a folder
    // (EISDIR), a pipe or a device (EINVAL) is refused without waiting for a writer. On failure
    // the reason is kept (LastError).
    bool Open(const std::string& path, Mode mode);
    // Takes over an open stream (owned from now on); path is what GetFilePath reports.
    bool Adopt(std::FILE* stream, const std::string& path, Mode mode);
    // Flushes and closes; false when any write, the flush or the close failed.
    bool Close();

    bool IsOpen() const { return m_stream != nullptr; }
    // Up to count bytes; 0 at the end or on an error (HasError tells which).
    size_t Read(void* buffer, size_t count);
    // The rest of the file appended to out. False, with out as it was and the reason kept, when
    // reading fails, when the file holds more than limit bytes (EFBIG, refused before anything
    // is read where its size says so) or when memory runs out (ENOMEM).
    bool ReadAll(std::string& out, int64_t limit);
    // All bytes or false; a failed write is kept as the file's error.
    bool Write(const void* buffer, size_t count);
    bool SeekToBegin();
    bool Flush();
    // Flushes and asks the system to put the data on the disk.
    bool Sync();

    // Bytes of the open file as the system gives them now; -1 when there is none.
    int64_t Size() const;

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

// Writing a file so that a failure anywhere leaves the previous file as it was, as the text
// editors of this platform do: a symbolic link is followed and its target replaced (the link
// stays a link); the new file gets the old file's mode and, where the process may, its owner and
// group; a file the user may not write is refused with the system's reason. The temporary file
// lies beside the target as "<name>.zarnel-save-XXXXXX"; a save that was killed leaves it there,
// and the next successful save of the same target removes such leftovers (none that another
// save still holds).
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile(); // discards the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates a temporary file beside the target (through links: beside the link's target);
    // false (with LastError) when it cannot, or when the target exists and may not be written.
    bool Open(const std::string& targetPath);
    File& GetFile() { return m_file; }
    // Flushes, syncs and renames over the target; false (target untouched) on any failure. On
    // success stale temporary files of the same target are removed.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Discard();

    // The file that is replaced: the given path with its symbolic links followed.
    const std::string& GetTargetPath() const { return m_targetPath; }
    std::string LastError() const;

private:
    void ReleaseLock();

    File m_file;
    std::string m_targetPath;
    std::string m_tempPath;
    int m_lockDescriptor = -1; // keeps the temporary file locked as this save's own
    int m_errorNumber = 0;
};

// The path with every symbolic link in its last component followed (a link to a link, relative
// links from the link's folder), up to 40 links; a link whose target does not exist gives that
// target. Folders on the way are left as they are.
std::string FollowLinks(const std::string& path);

// The absolute form of a path (relative to the working folder), without touching the disk.
std::string AbsolutePath(const std::string& path);
