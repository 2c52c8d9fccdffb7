// The text writer: sinks, line and column, padding and the locale-free number formatting.
#include "support/FileWrite.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/File.h"

namespace {

constexpr unsigned kMaxPlaces = 1100;

// Adds one unit in the last place of a string of decimal digits; a carry out of the first digit
// makes the string one digit longer.
void RoundUp(std::string& digits) {
    for (size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits of a finite magnitude rounded to places fraction digits, without the decimal point:
// at least one integer digit, then exactly places fraction digits. They are the value's own
// digits, correctly rounded from its exact binary value (a value exactly halfway goes away from
// zero), so that reading them back gives the same double wherever places can hold it.
// std::to_chars knows no locale.
std::string RoundedDigits(double magnitude, unsigned places) {
    // A value halfway between two results has places + 1 fraction digits, so it has at most
    // places + 1 binary fraction digits too; only then is the text one digit longer exact, and
    // its last digit decides. Every other value to_chars rounds itself: it cannot be halfway.
    const double scaled = std::ldexp(magnitude, static_cast<int>(places) + 1);
    const bool exactOneLonger = scaled == std::floor(scaled);
    const unsigned precision = exactOneLonger ? places + 1 : places;
    // 309 integer digits at most, the point and the fraction.
    std::string text(312 + precision, '\0');
    const std::to_chars_result result =
        std::to_chars(text.data(), text.data() + text.size(), magnitude, std::chars_format::fixed,
                      static_cast<int>(precision));
    text.resize(static_cast<size_t>(result.ptr - text.data()));
    const size_t point = text.find('.');
    if (point != std::string::npos) {
        text.erase(point, 1);
    }
    if (exactOneLonger) {
        const bool up = text.back() >= '5';
        text.pop_back();
        if (up) {
            RoundUp(text);
        }
    }
    return text;
}

} // namespace

CFileWrite::~CFileWrite() = default;

void CFileWrite::Init() {
    m_file = nullptr;
    m_ownedFile.reset();
    m_name.clear();
    m_buffer = nullptr;
    m_callback = nullptr;
    m_index = 0;
    m_capacity = 0;
    m_column = 0;
    m_line = 0;
    m_stop = false;
    m_error = false;
    m_flags1 = 0;
    m_flags2 = 0;
}

void CFileWrite::OpenBuffer(char* buffer, uint32_t capacity, const char* name, uint32_t flags1,
                            uint32_t flags2) {
    m_file = nullptr;
    m_ownedFile.reset();
    m_name = name != nullptr ? name : "";
    m_buffer = buffer;
    m_callback = nullptr;
    m_index = 0;
    m_capacity = buffer != nullptr ? capacity : 0;
    if (m_capacity > 0) {
        m_buffer[0] = '\0';
    }
    m_column = 1;
    m_line = 1;
    m_stop = false;
    m_error = false;
    m_flags1 = flags1;
    m_flags2 = flags2;
}

void CFileWrite::Open(File* file, uint32_t flags1, uint32_t flags2) {
    m_ownedFile.reset();
    m_file = file;
    m_name = file != nullptr ? file->GetFileName() : std::string();
    m_buffer = nullptr;
    m_callback = nullptr;
    m_index = 0;
    m_capacity = 0;
    m_column = 1;
    m_line = 1;
    m_stop = false;
    m_error = false;
    m_flags1 = flags1;
    m_flags2 = flags2;
}

void CFileWrite::Open(std::unique_ptr<File> file, uint32_t flags1, uint32_t flags2) {
    Open(file.get(), flags1, flags2);
    m_ownedFile = std::move(file);
}

bool CFileWrite::Close() {
    if (m_buffer != nullptr) {
        // The text is terminated already; this NUL also reaches a callback.
        PutChar('\0');
    }
    if (m_ownedFile != nullptr) {
        if (!m_ownedFile->Close()) {
            m_error = true;
        }
        m_ownedFile.reset();
    } else if (m_file != nullptr && m_file->IsOpen() && !m_file->Flush()) {
        m_error = true;
    }
    m_file = nullptr;
    m_buffer = nullptr;
    m_capacity = 0;
    m_index = 0;
    return !m_error;
}

int CFileWrite::PutChar(int c) {
    if (m_stop || (m_file == nullptr && m_buffer == nullptr && !m_callback)) {
        return 0;
    }
    if ((m_flags2 & WriteFlags::CrLf) != 0) {
        if (c == '\r') {
            m_column = 1;
            return 0;
        }
        if (c == '\n') {
            Emit('\r');
        }
    }
    return Emit(c);
}

int CFileWrite::Emit(int c) {
    ++m_column;
    if (c == '\n') {
        ++m_line;
        m_column = 1;
    } else if (c == '\r') {
        m_column = 1;
    } else if (c == '\f') {
        m_line = 1;
        m_column = 1;
    }

    const char byte = static_cast<char>(c);
    if (m_file != nullptr && !m_file->Write(&byte, 1)) {
        m_error = true;
        return 0;
    }
    if (m_buffer != nullptr) {
        // The last byte is kept for the terminator; only a NUL may go there.
        uint32_t room = c == '\0' ? m_capacity : (m_capacity > 0 ? m_capacity - 1 : 0);
        if (m_index >= room) {
            m_error = true;
            return 0;
        }
        m_buffer[m_index++] = byte;
        if (m_index < m_capacity) {
            m_buffer[m_index] = '\0';
        }
    }
    if (m_callback && (m_callback(c) & 0xFFFF) != 0) {
        return 0;
    }
    if ((m_flags2 & WriteFlags::Echo) != 0) {
        std::fputc(static_cast<unsigned char>(byte), stdout);
    }
    return 1;
}

int CFileWrite::Pad(int count) {
    int written = 0;
    for (int i = 0; i < count; ++i) {
        written += PutChar(' ');
    }
    return written;
}

int CFileWrite::PutPadded(const char* text, size_t length, int width) {
    const long long missing =
        static_cast<long long>(width < 0 ? -static_cast<long long>(width) : width) -
        static_cast<long long>(length);
    int written = 0;
    if (width > 0 && missing > 0) {
        written += Pad(static_cast<int>(missing));
    }
    for (size_t i = 0; i < length; ++i) {
        written += PutChar(static_cast<unsigned char>(text[i]));
    }
    if (width < 0 && missing > 0) {
        written += Pad(static_cast<int>(missing));
    }
    return written;
}

int CFileWrite::PutUnsigned(uint32_t value, int width) {
    char digits[10];
    size_t count = 0;
    do {
        digits[sizeof digits - 1 - count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    return PutPadded(digits + sizeof digits - count, count, width);
}

int CFileWrite::PutInt(int32_t value, int width) {
    // The magnitude in unsigned arithmetic, so that the most negative value has one too.
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char text[11];
    size_t count = 0;
    do {
        text[sizeof text - 1 - count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        text[sizeof text - 1 - count++] = '-';
    }
    return PutPadded(text + sizeof text - count, count, width);
}

int CFileWrite::PutDouble(double value, int decimals, int width, char decimalChar) {
    if (!std::isfinite(value)) {
        m_error = true;
        return 0;
    }
    // No double has more than 1074 fraction digits; the bound keeps the text's buffer small.
    const unsigned places = std::min(decimals < 0 ? 0u - static_cast<unsigned>(decimals)
                                                  : static_cast<unsigned>(decimals),
                                     kMaxPlaces);
    std::string digits = RoundedDigits(std::fabs(value), places);
    const size_t integerDigits = digits.size() - places;
    size_t fractionDigits = places;
    if (decimals < 0) {
        // Trailing zeros are dropped; the decimal character stays ("1.").
        while (fractionDigits > 0 && digits[integerDigits + fractionDigits - 1] == '0') {
            --fractionDigits;
        }
    }

    // The sign of the value, not of its digits: a tiny negative value is "-0.", and so is
    // -0.0, which is what reading "-0." gives back.
    const bool negative = std::signbit(value);
    const long long length =
        static_cast<long long>(integerDigits) + 1 + fractionDigits + (negative ? 1 : 0);
    const long long padding = (width < 0 ? -static_cast<long long>(width) : width) - length;
    int written = 0;
    if (width > 0 && padding > 0) {
        written += Pad(static_cast<int>(padding));
    }
    if (negative) {
        written += PutChar('-');
    }
    for (size_t i = 0; i < integerDigits; ++i) {
        written += PutChar(digits[i]);
    }
    written += PutChar(static_cast<unsigned char>(decimalChar));
    for (size_t i = 0; i < fractionDigits; ++i) {
        written += PutChar(digits[integerDigits + i]);
    }
    if (width < 0 && padding > 0) {
        written += Pad(static_cast<int>(padding));
    }
    return written;
}

int CFileWrite::PutString(const char* text, int width) {
    if (text == nullptr) {
        text = "";
    }
    return PutPadded(text, std::strlen(text), width);
}

int CFileWrite::PutChars(const char* text, size_t maxLength, int width) {
    if (text == nullptr) {
        text = "";
    }
    return PutPadded(text, strnlen(text, maxLength), width);
}

int CFileWrite::PutQuoted(const char* text, char quote, int width) {
    if (text == nullptr) {
        text = "";
    }
    std::string quoted(1, quote);
    for (const char* p = text; *p != '\0'; ++p) {
        quoted += *p;
        if (*p == quote) {
            quoted += quote;
        }
    }
    quoted += quote;
    return PutPadded(quoted.data(), quoted.size(), width);
}
