// The text reader's sources: a file, read whole and handed on as UTF-8 (a file that is not valid
// UTF-8 is taken as Windows-1252; a UTF-8 byte-order mark is skipped), and text in memory, whose
// bytes pass unchanged. Positions count the bytes as delivered.
#pragma once

#include <string>
#include <string_view>

#include "support/FileRead.h"

struct CFileRead::SReadSrc {
    explicit SReadSrc(std::string name) : m_name(std::move(name)) {}
    virtual ~SReadSrc() = default;
    SReadSrc(const SReadSrc&) = delete;
    SReadSrc& operator=(const SReadSrc&) = delete;

    // The next byte (0..255), or -1 at the end, for good.
    int GetChar() { return m_cursor < m_end ? *m_cursor++ : Underflow(); }
    // True when the source can deliver text.
    virtual bool IsOpen() const = 0;
    // True when it is not open because memory could not hold it.
    virtual bool IsRefusedForMemory() const { return false; }
    // Back to the first character; characters given back are forgotten.
    virtual void Rewind() = 0;
    // The source's label and name, for reports ("Datei: ..." or "String: ...").
    virtual void Describe(CFileWrite& out) const = 0;
    virtual std::string GetName() const = 0;
    // True once if reading the source failed, so that its end came early.
    virtual bool TakeReadFailure() { return false; }

    // Gives characters back: they come again, in order, before the rest of the source.
    void GiveBack(std::string text);
    // In place, the behind bytes that GetChar gave last and then those it gives next without a
    // pause (often not all of the rest); empty when fewer than behind lie before the cursor.
    std::string_view Around(size_t behind) const {
        if (static_cast<size_t>(m_cursor - m_begin) < behind) {
            return {};
        }
        return {reinterpret_cast<const char*>(m_cursor - behind),
                static_cast<size_t>(m_end - m_cursor) + behind};
    }
    // Takes count of the next bytes at once; count at most those that Around gives.
    void Skip(size_t count) { m_cursor += count; }

    int m_column = 1;
    int m_line = 1;
    std::string m_name;
    // The value of a define being read in place of its name: the name is not replaced again
    // while this source is on the stack.
    bool m_isReplacement = false;

protected:
    void SetText(const unsigned char* begin, const unsigned char* end);

private:
    int Underflow();

    const unsigned char* m_begin = nullptr; // where the text that the cursor walks starts
    const unsigned char* m_cursor = nullptr;
    const unsigned char* m_end = nullptr;
    // While given-back characters are read, the cursor walks m_givenBack and these keep the
    // place in the text.
    std::string m_givenBack;
    const unsigned char* m_resumeBegin = nullptr;
    const unsigned char* m_resumeCursor = nullptr;
    const unsigned char* m_resumeEnd = nullptr;
    bool m_readingGivenBack = false;
};

struct CFileRead::SReadSrcFile final : CFileRead::SReadSrc {
    // Opens the named file and reads it; not open when it cannot be opened.
    explicit SReadSrcFile(const std::string& name);
    // Reads the caller's file from its position; the file stays the caller's.
    explicit SReadSrcFile(File& file);

    bool IsOpen() const override { return m_open; }
    bool IsRefusedForMemory() const override { return m_noMemory; }
    void Rewind() override;
    void Describe(CFileWrite& out) const override;
    // The absolute path of the file (the given name when it could not be opened).
    std::string GetName() const override;
    bool TakeReadFailure() override;

private:
    void Load(File& file);

    bool m_open = false;
    bool m_readFailed = false;
    bool m_noMemory = false;
    std::string m_path;
    std::string m_text; // the whole file as UTF-8
};

struct CFileRead::SReadSrcStrg final : CFileRead::SReadSrc {
    // Over the caller's text, up to endChar or a NUL.
    SReadSrcStrg(const char* text, std::string name, char endChar);
    // Over its own copy of text (a define's value, which a later define may replace).
    SReadSrcStrg(std::string text, std::string name);

    bool IsOpen() const override { return m_start != nullptr; }
    void Rewind() override;
    void Describe(CFileWrite& out) const override;
    std::string GetName() const override { return m_name; }

private:
    std::string m_ownText;
    const unsigned char* m_start = nullptr;
    const unsigned char* m_stop = nullptr;
};

// Bytes of a text file as UTF-8: without a leading byte-order mark, and converted from
// Windows-1252 unless the whole text is valid UTF-8.
std::string DecodeTextFile(std::string bytes);
