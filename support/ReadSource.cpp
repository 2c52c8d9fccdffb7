// Sources of the text reader, and the decoding of text files to UTF-8.
#include "support/ReadSource.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include "support/File.h"
#include "support/Utf8.h"

namespace {

// Code points of the Windows-1252 bytes 0x80 to 0x9F; the five unassigned bytes keep their C1
// control code points, as Windows converts them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char16_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace

std::string DecodeTextFile(std::string bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bytes.erase(0, 3);
    }
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x80) {
            text += byte;
        } else if (value < 0xA0) {
            AppendUtf8(text, kWindows1252High[value - 0x80]);
        } else {
            AppendUtf8(text, value);
        }
    }
    return text;
}

void CFileRead::SReadSrc::SetText(const unsigned char* begin, const unsigned char* end) {
    m_begin = begin;
    m_cursor = begin;
    m_end = end;
    m_givenBack.clear();
    m_readingGivenBack = false;
}

void CFileRead::SReadSrc::GiveBack(std::string text) {
    if (text.empty()) {
        return;
    }
    if (m_readingGivenBack) {
        text.append(reinterpret_cast<const char*>(m_cursor), m_end - m_cursor);
    } else {
        m_resumeBegin = m_begin;
        m_resumeCursor = m_cursor;
        m_resumeEnd = m_end;
        m_readingGivenBack = true;
    }
    m_givenBack = std::move(text);
    m_begin = reinterpret_cast<const unsigned char*>(m_givenBack.data());
    m_cursor = m_begin;
    m_end = m_cursor + m_givenBack.size();
}

int CFileRead::SReadSrc::Underflow() {
    if (m_readingGivenBack) {
        m_readingGivenBack = false;
        m_begin = m_resumeBegin;
        m_cursor = m_resumeCursor;
        m_end = m_resumeEnd;
        m_givenBack.clear();
        if (m_cursor < m_end) {
            return *m_cursor++;
        }
    }
    return -1;
}

CFileRead::SReadSrcFile::SReadSrcFile(const std::string& name) : SReadSrc(name) {
    File file;
    m_path = AbsolutePath(name);
    if (!name.empty() && file.Open(name, File::Mode::Read)) {
        m_path = file.GetFilePath();
        Load(file);
    }
}

CFileRead::SReadSrcFile::SReadSrcFile(File& file) : SReadSrc(file.GetFileName()) {
    m_path = file.GetFilePath();
    if (file.IsOpen()) {
        Load(file);
    }
}

void CFileRead::SReadSrcFile::Load(File& file) {
    // The whole file is read first: whether it is UTF-8 or Windows-1252 is decided for the
    // file as a whole, and a read error is then known before its place is reached. A file
    // beyond the limit is refused before anything is read, and so is a file that memory cannot
    // hold: it is not open, and the reader reports a source that could not be opened.
    std::string bytes;
    if (!file.ReadAll(bytes, kMaxTextFileBytes)) {
        const int error = file.LastErrorNumber();
        if (error == EFBIG || error == ENOMEM) {
            m_noMemory = error == ENOMEM;
            return;
        }
        m_readFailed = true; // the reader reports it where the text ends
    }
    try {
        m_text = DecodeTextFile(std::move(bytes));
    } catch (const std::bad_alloc&) {
        m_noMemory = true;
        return;
    }
    m_open = true;
    Rewind();
}

void CFileRead::SReadSrcFile::Rewind() {
    const auto* begin = reinterpret_cast<const unsigned char*>(m_text.data());
    SetText(begin, begin + m_text.size());
}

void CFileRead::SReadSrcFile::Describe(CFileWrite& out) const {
    out.PutString("Datei: ");
    out.PutString(m_name);
}

std::string CFileRead::SReadSrcFile::GetName() const {
    return m_open ? m_path : m_name;
}

bool CFileRead::SReadSrcFile::TakeReadFailure() {
    bool failed = m_readFailed;
    m_readFailed = false;
    return failed;
}

CFileRead::SReadSrcStrg::SReadSrcStrg(const char* text, std::string name, char endChar)
    : SReadSrc(std::move(name)) {
    if (text != nullptr) {
        m_start = reinterpret_cast<const unsigned char*>(text);
        const char* stop = std::strchr(text, endChar);
        m_stop = reinterpret_cast<const unsigned char*>(stop != nullptr ? stop
                                                                        : text + std::strlen(text));
        Rewind();
    }
}

CFileRead::SReadSrcStrg::SReadSrcStrg(std::string text, std::string name)
    : SReadSrc(std::move(name)), m_ownText(std::move(text)) {
    m_start = reinterpret_cast<const unsigned char*>(m_ownText.data());
    m_stop = m_start + m_ownText.size();
    Rewind();
}

void CFileRead::SReadSrcStrg::Rewind() {
    SetText(m_start, m_stop);
}

void CFileRead::SReadSrcStrg::Describe(CFileWrite& out) const {
    out.PutString("String: ");
    out.PutString(m_name);
}
