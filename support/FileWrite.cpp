// The text writer: sinks, line and column, padding and the locale-free number formatting.
#include "support/FileWrite.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "support/File.h"

namespace {

// One digit of the fixed-point formatting: a holds the remaining digits scaled so that the next
// one is its integer part (0 <= a < 10).
int NextDigit(double& a) {
    int digit = static_cast<int>(a);
    a = (a - digit) * 10.0;
    return digit;
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
    // The digits come from repeated multiplication by 0.1 and 10.0, not from the C library, so
    // that the text is the same on every platform and in every locale.
    const unsigned places =
        decimals < 0 ? 0u - static_cast<unsigned>(decimals) : static_cast<unsigned>(decimals);
    double half = 0.5; // half a unit of the last place, for rounding
    for (unsigned i = 0; i < places; ++i) {
        half = half * 0.1;
    }
    double a = std::fabs(value) + half;
    int exponent = 0; // the number has exponent + 1 integer digits
    while (a >= 10.0) {
        a = a * 0.1;
        ++exponent;
    }

    unsigned fractionDigits = places;
    if (decimals < 0) {
        // Trailing zeros are dropped: find the last non-zero fraction digit in advance.
        double scan = a;
        for (int i = 0; i <= exponent; ++i) {
            NextDigit(scan);
        }
        fractionDigits = 0;
        for (unsigned i = 1; i <= places; ++i) {
            if (NextDigit(scan) != 0) {
                fractionDigits = i;
            }
        }
    }

    const bool negative = value < 0.0;
    const long long length =
        static_cast<long long>(exponent) + 2 + fractionDigits + (negative ? 1 : 0);
    const long long padding = (width < 0 ? -static_cast<long long>(width) : width) - length;
    int written = 0;
    if (width > 0 && padding > 0) {
        written += Pad(static_cast<int>(padding));
    }
    if (negative) {
        written += PutChar('-');
    }
    for (int i = 0; i <= exponent; ++i) {
        written += PutChar('0' + NextDigit(a));
    }
    written += PutChar(static_cast<unsigned char>(decimalChar));
    for (unsigned i = 0; i < fractionDigits; ++i) {
        written += PutChar('0' + NextDigit(a));
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
