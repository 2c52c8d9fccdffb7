// Formatted text output, character by character, to a file, a memory buffer and a callback at
// once, keeping the line and column of the text written. Numbers are formatted here (no format
// strings, no locale), so that a file gets the decimal character its format names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "support/File.h"

// Bits of the second flag word of the opening operations.
namespace WriteFlags {
inline constexpr uint32_t Echo = 0x4; // every character also goes to standard output
inline constexpr uint32_t CrLf = 0x8; // a CR before every LF; the caller's own CRs are dropped
} // namespace WriteFlags

class CFileWrite {
public:
    // Sink 3: gets every character; a non-zero answer (low 16 bits) refuses it.
    using CharCallback = std::function<int(int)>;

    CFileWrite() { Init(); }
    // Releases an owned file like Close, without writing a terminator anywhere.
    ~CFileWrite();
    CFileWrite(const CFileWrite&) = delete;
    CFileWrite& operator=(const CFileWrite&) = delete;

    // Clears everything: no sink, line and column 0, no error.
    void Init();
    // Writes into buffer from its start. The buffer keeps one byte for the terminator: it takes
    // at most capacity - 1 characters and its text is NUL-terminated after every character
    // (capacity 0 takes nothing). The buffer is not owned; name is kept for the caller only.
    void OpenBuffer(char* buffer, uint32_t capacity, const char* name, uint32_t flags1,
                    uint32_t flags2);
    // Writes into the file, which the writer does not own.
    void Open(File* file, uint32_t flags1, uint32_t flags2);
    // Writes into the file and owns it: Close closes it and its failure is a write error.
    void Open(std::unique_ptr<File> file, uint32_t flags1, uint32_t flags2);
    // Ends a buffer with a NUL written through the sinks, flushes the file sink (an owned file is
    // closed and deleted) and forgets file and buffer. False when any write of this writer failed.
    bool Close();

    // Sink 3, kept until the next opening operation or Init.
    void SetCallback(CharCallback callback) { m_callback = std::move(callback); }
    // While set, every character is refused; the opening operations clear it.
    void SetStop(bool stop) { m_stop = stop; }

    // 1 when written, 0 when refused (stop, no sink, full buffer, failed file write, callback
    // refusal, or a CR that the CR LF flag drops).
    int PutChar(int c);

    // Every Put operation returns the number of characters written, padding included. A positive
    // width pads with blanks before the text, a negative one after it, up to |width| characters.
    int PutUnsigned(uint32_t value, int width = 0);
    int PutInt(int32_t value, int width = 0);
    // decimals >= 0: exactly that many fraction digits; decimals < 0: at most -decimals, trailing
    // zeros dropped. The decimal character is always written ("1."). The digits are the value's
    // own, correctly rounded (halfway goes away from zero), so that reading the text back gives
    // the same double wherever the places can hold it, and writing that again gives the same
    // text. A negative value and -0.0 get the sign, also when every digit is 0 ("-0.").
    // A NaN or infinite value is refused: nothing is written, the result is 0 and the writer's
    // error state is set.
    int PutDouble(double value, int decimals, int width = 0, char decimalChar = '.');
    int PutString(const char* text, int width = 0);
    int PutString(const std::string& text, int width = 0) { return PutString(text.c_str(), width); }
    // As PutString, but at most maxLength characters.
    int PutChars(const char* text, size_t maxLength, int width = 0);
    // The quote, the text with every quote in it doubled, the quote.
    int PutQuoted(const char* text, char quote, int width = 0);
    int PutQuoted(const std::string& text, char quote, int width = 0) {
        return PutQuoted(text.c_str(), quote, width);
    }

    // Position of the next character: line and column from 1 (0 after Init).
    int GetLine() const { return m_line; }
    int GetColumn() const { return m_column; }
    const std::string& GetName() const { return m_name; }
    // True once a character or value was lost: a failed file write, a full buffer, a refused
    // non-finite number. Cleared by the opening operations and Init.
    bool HasError() const { return m_error; }

private:
    // Steps of PutChar after the CR LF handling: position, then the sinks in order.
    int Emit(int c);
    // Writes count blanks.
    int Pad(int count);
    // Writes length characters of text with the padding that width asks for.
    int PutPadded(const char* text, size_t length, int width);

    File* m_file = nullptr;
    std::unique_ptr<File> m_ownedFile;
    std::string m_name;
    char* m_buffer = nullptr;
    CharCallback m_callback;
    uint32_t m_index = 0;
    uint32_t m_capacity = 0;
    int m_column = 0;
    int m_line = 0;
    bool m_stop = false;
    bool m_error = false;
    uint32_t m_flags1 = 0;
    uint32_t m_flags2 = 0;
};
