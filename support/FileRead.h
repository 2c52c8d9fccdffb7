// The text reader behind every text format and the clipboard: a stack of sources (files and
// text in memory), a character layer with optional preprocessing (comments, includes, defines,
// quotes, line continuation, entities, CR dropping) and the token operations that the record
// readers call. Failures are error bits; each is reported in German with the source, line,
// column and the text just read, and ends reading by ReadAbort when its bit is in the abort mask.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "support/File.h"
#include "support/FileWrite.h"
#include "support/ReadAbort.h"

// Bits of the error state and of the abort mask.
namespace ReadErrors {
inline constexpr uint32_t OpenFailed = 0x1;
inline constexpr uint32_t CloseFailed = 0x2;
inline constexpr uint32_t ReadFailed = 0x4;
inline constexpr uint32_t NotOpen = 0x8;
inline constexpr uint32_t EndExceeded = 0x10;
inline constexpr uint32_t Repeated = 0x20;
inline constexpr uint32_t Internal = 0x40;
inline constexpr uint32_t Format = 0x80;
inline constexpr uint32_t Range = 0x100;
// Abort-mask bit, no error: reports are composed and kept but never shown.
inline constexpr uint32_t Silent = 0x200;
// The two masks in use: the first error is shown and ends reading (design file, clipboard);
// nothing is shown or thrown and the caller checks AtEnd and its results (price and stock lists).
inline constexpr uint32_t AbortOnFirst = ~Silent;
inline constexpr uint32_t Quiet = Silent;
} // namespace ReadErrors

// The option word: each set bit switches one kind of preprocessing on.
namespace ReadOptions {
inline constexpr uint32_t PercentComments = 0x1;    // '%' to the line end, unless after '\'
inline constexpr uint32_t InputInclude = 0x2;       // "\input name" includes a file
inline constexpr uint32_t QuotePrefixes = 0x4;      // number prefixes '"' (16) and '`' (8)
inline constexpr uint32_t SlashComments = 0x10;     // "//" and "/* */" outside quotes
inline constexpr uint32_t HashInclude = 0x20;       // #include "name" outside quotes
inline constexpr uint32_t ZeroPrefixes = 0x40;      // number prefixes 0x, 0d, 0o, 0b
inline constexpr uint32_t Quotes = 0x80;            // '"' and '\'' are tracked as quotes
inline constexpr uint32_t LineContinuation = 0x100; // '\' before a line end drops both
inline constexpr uint32_t HashDefine = 0x200;       // #define name value, and replacement
inline constexpr uint32_t LineFeedEndsQuotes = 0x400;
inline constexpr uint32_t QuoteAtComments = 0x1000; // '"' and '@' to the line end
inline constexpr uint32_t CaretPrefixes = 0x2000;   // number prefixes ^h, ^d, ^o, ^b
inline constexpr uint32_t SingleQuotes = 0x4000;    // '\'' tracked as a quote alone
inline constexpr uint32_t Entities = 0x20000;       // "&quot;" is '"', "<br>" is dropped
inline constexpr uint32_t Echo = 0x100000;          // delivered characters to standard output
inline constexpr uint32_t DropCr = 0x200000;        // every carriage return is dropped
inline constexpr uint32_t LineFeedAsBlank = 0x400000;
inline constexpr uint32_t HashComments = 0x1000000; // other '#' lines are comments
} // namespace ReadOptions

class CFileRead {
public:
    struct SReadSrc;     // a source of bytes with its name and position
    struct SReadSrcFile; // a file, decoded to UTF-8 (support/ReadSource.h)
    struct SReadSrcStrg; // text in memory

    // Sources may nest this deep (includes and define replacements); deeper is error 256.
    static constexpr size_t MaxSourceDepth = 64;
    // Define replacements of one reading may put at most this much text in place of names
    // (each replacement counts its value and ReplacementCost); more is error 256, and the name
    // stays as it is. Values that name several others would otherwise grow without end.
    static constexpr size_t MaxReplacementText = size_t{1} << 20;
    static constexpr size_t ReplacementCost = 16;

    CFileRead();
    ~CFileRead();
    CFileRead(const CFileRead&) = delete;
    CFileRead& operator=(const CFileRead&) = delete;

    // Opening makes one source the only one (a reader that still has sources is closed first)
    // and resets history, lookahead and position; the error state and quote state stay. When a
    // file cannot be opened, error 1 is reported (thrown with a mask that holds it) and the
    // result is false. messageStream, when given, receives the reports instead of a box.
    bool Open(const std::string& name, uint32_t abortMask, uint32_t options,
              CFileWrite* messageStream = nullptr);
    // Over a file opened for reading by the caller, who keeps it; it is read from its position.
    bool OpenFile(File& file, uint32_t abortMask, uint32_t options,
                  CFileWrite* messageStream = nullptr);
    // Over text in memory that the caller keeps alive and unchanged until Close; it ends at
    // endChar or at a NUL, whichever comes first. False (error 1) only for a null text.
    bool OpenString(const char* text, const std::string& name, char endChar, uint32_t abortMask,
                    uint32_t options, CFileWrite* messageStream = nullptr);
    // Drops every source and the defines, and forgets the message stream. Errors stay.
    void Close();

    // The current source's name: the absolute path of a file; empty without a source.
    std::string GetSourceName() const;
    // Line and column (from 1) of the current source's next raw character; 0 without a source.
    int GetLine() const;
    int GetColumn() const;

    // A file (or text) read next, before the rest of the current source.
    void PushFile(const std::string& name);
    void PushString(const char* text, const std::string& name, char endChar);

    // Character layer: the next character after preprocessing, 0..255 or -1 at the end.
    int ReadChar();
    // Consumes the next character; -1 silently once an error is recorded, and -1 with error 16
    // at the end of the input.
    int GetChar() {
        if (m_errors == 0 && !m_token.Empty() && m_token.At(0) >= 0) {
            return m_token.Pop();
        }
        return GetCharSlow();
    }
    // The next character (and the one after it) without consuming; -1 with error 32 once an
    // error is recorded.
    int Peek() {
        if (m_errors == 0 && !m_token.Empty()) {
            return m_token.At(0);
        }
        return PeekSlow();
    }
    int Peek2();

    // Tokens. None skips white space unless it says so.
    // Character classes: see the table in the implementation; class + 0x8000 negates.
    static bool IsClass(int c, int charClass);
    void SkipWhitespace();
    // Consumes text; error 128 naming the rest of it at the first mismatch.
    void Expect(std::string_view text);
    // True when text follows and the character after it is of followClass; nothing consumed.
    bool TestKeyword(std::string_view text, int followClass);
    // As TestKeyword, and on success the text (not the character after it) is consumed.
    bool ReadKeyword(std::string_view text, int followClass);
    // At most maxChars characters, prefix included; radix 0 takes the radix from a prefix that
    // the options allow, else 10. A missing number is 0, and error 128 unless optional.
    uint32_t ReadUnsigned(int maxChars, bool optional, int radix);
    // An optional '+', then an optional '-', then ReadUnsigned; outside int32: error 256 and 0.
    int32_t ReadSigned(int maxChars, bool optional, int radix);
    int32_t ReadInt() { return ReadSigned(0x7fffffff, false, 0); }
    // Signs, digits and one of decimalChars followed by digits; no exponent. No digits at all is
    // 0.0 without an error. A result that is not finite is error 256 and 0.0.
    double ReadDouble(std::string_view decimalChars);
    // ReadDouble limited to the float range (error 256 and 0.0 outside).
    double ReadFloat(std::string_view decimalChars);
    // Characters up to one of stopChars or a NUL (consumed, not stored) into buffer, always
    // NUL-terminated when size > 0. The end of input first: error 16. More than size - 1
    // characters: error 256, and the one that did not fit stays unread.
    void ReadUntil(char* buffer, size_t size, std::string_view stopChars);
    // A text between quote characters; a doubled quote, or escape followed by the quote, is one
    // quote ('\0' for no escape). A missing opening quote is error 128 and leaves out as it was;
    // an input that ends first ends the text without an error.
    void ReadQuoted(std::string& out, char quote, char escape);
    // True at the end of the input or once an error is recorded; reports nothing.
    bool AtEnd() {
        if (m_errors == 0 && !m_token.Empty()) {
            return m_token.At(0) < 0;
        }
        return AtEndSlow();
    }

    // Reports a caller's own message with the recorded errors and the position; records
    // nothing and throws nothing.
    void ShowMessage(const std::string& text);
    // Records the bits of code and reports them (expected: the text that was expected, or
    // null). Throws ReadAbort, after the box, when a new bit is in the abort mask.
    void ReportError(uint32_t code, const char* expected = nullptr);

    // Memory ran out while reading: reports that memory ran out, with the system's reason, and
    // that the source could not be read (error 4), without throwing. A reader without a source
    // names the one given.
    void ReportNoMemory(const std::string& sourceName);

    uint32_t GetErrors() const { return m_errors; }
    uint32_t GetAbortMask() const { return m_abortMask; }
    uint32_t GetOptions() const { return m_options; }
    // The text of the last report composed without a message stream (shown or not).
    const std::string& GetLastReport() const { return m_lastReport; }

private:
    // Characters taken but not yet consumed, oldest first; grows instead of overwriting.
    class Ring {
    public:
        size_t Size() const { return m_tail - m_head; }
        bool Empty() const { return m_tail == m_head; }
        int At(size_t k) const { return m_data[(m_head + k) & m_mask]; }
        void Push(int c) {
            if (Size() == m_data.size()) {
                Grow();
            }
            m_data[m_tail++ & m_mask] = c;
        }
        int Pop() { return m_data[m_head++ & m_mask]; }
        void Drop(size_t count) { m_head += static_cast<uint32_t>(count); }
        void Clear() { m_head = m_tail = 0; }

    private:
        void Grow();

        std::vector<int> m_data = std::vector<int>(256);
        uint32_t m_mask = 255;
        uint32_t m_head = 0;
        uint32_t m_tail = 0;
    };

    void Begin(uint32_t abortMask, uint32_t options, CFileWrite* messageStream);
    // ReportError for a failure for want of memory: the report says so first.
    void ReportNoMemoryAt(uint32_t code);
    bool Start(std::unique_ptr<SReadSrc> source);
    void PushSource(std::unique_ptr<SReadSrc> source);
    void PopSource();
    bool CanPush();

    // How far TakeRaw may read past the end of the current source: not at all (-1), past ended
    // includes but not past a define's value (lookahead, -1 there: the value's end stays until
    // it is consumed, so that its name stays hidden that long), or past every ended source.
    enum class RawScope { Source, Lookahead, Stream };
    // Raw layer. The bottom source is never popped.
    int TakeRaw(RawScope scope);
    int ConsumeRaw();
    int PeekRaw(size_t k);
    bool MatchRaw(std::string_view text, size_t k);
    void Advance(int c);
    // The same within the current source only: its end is -1 and is not kept in the lookahead.
    int ConsumeRawInSource(bool counted);
    int PeekRawInSource();
    void SkipRestOfLine();
    void SkipBlockComment();

    // Preprocessing of a special character: true when it was dropped (c then is no character),
    // false when c (possibly changed) is to be delivered.
    bool Preprocess(int& c);
    void ToggleQuote(uint32_t flag);
    bool TryHashInclude();
    bool TryHashDefine();
    bool TryInputInclude();
    // Reads a file name up to one of stopChars (consumed) and reads that file next; a name of
    // more than maxLength characters is error 256 and includes nothing.
    void IncludeNamed(std::string_view stopChars, size_t maxLength);
    bool TryReplace(int c);
    // True while the value of the define of that name is being read.
    bool IsBeingReplaced(const std::string& name) const;
    int Deliver(int c);

    // Token lookahead without the error-32 check.
    int PeekAt(size_t k);
    // Consumes the next character and returns it when accept(c) holds; otherwise it stays
    // unread and the result is -2. Peek and GetChar in one, for the token loops.
    template <typename Accept> int TakeIf(Accept accept);
    int GetCharSlow();
    bool AtEndSlow();
    int PeekSlow();
    // ReadDouble on the characters in the current source's text where they lie, when the number
    // and the character after it are there and none of them means anything to the options;
    // false, with nothing read, otherwise.
    bool ReadDoubleInPlace(std::string_view decimalChars, double& value);
    // The value of a number's text (digits, '.' for the decimal character); false (after error
    // 256) for a number too large.
    bool DecimalValue(std::string_view text, bool integerDigits, double& value);
    // ReadChar with its common case inline.
    int NextChar();
    // ReadChar after its first raw character c was consumed.
    int ReadCharFrom(int c);

    void PutErrorLines(CFileWrite& out, uint32_t bits) const;
    void PutPosition(CFileWrite& out) const;

    std::vector<std::unique_ptr<SReadSrc>> m_sources; // bottom first; owned
    SReadSrc* m_current = nullptr;
    uint32_t m_errors = 0;
    uint32_t m_abortMask = 0;
    uint32_t m_options = 0;
    CFileWrite* m_messageStream = nullptr;
    std::string m_lastReport;
    uint32_t m_quote = 0; // 1: inside single quotes, 2: inside double quotes
    uint16_t m_history[256] = {};
    uint32_t m_historyNext = 0;
    Ring m_raw;
    Ring m_token;
    int m_last = 0;
    bool m_special[256] = {}; // bytes that the options give a meaning in ReadChar
    std::unique_ptr<std::unordered_map<std::string, std::string>> m_defines;
    size_t m_replacementText = 0; // counted against MaxReplacementText since opening
};
