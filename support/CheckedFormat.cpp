// The format is parsed once into literal runs and conversions; each conversion is formatted on
// its own with snprintf and exactly the C type that its rewritten length modifier names, so no
// argument is ever read through a variable argument list of the wrong type.
#include "support/CheckedFormat.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>

static_assert(sizeof(int) == 4 && sizeof(long long) == 8, "argument kinds assume LP64");

namespace {

// Widths and precisions beyond this give the same first 2047 characters; clamping them keeps
// snprintf from being asked for gigabytes by a damaged text.
constexpr long long kMaxFieldSize = 20000;

struct Piece {
    bool literal = true;
    std::string text; // literal runs; "%" for "%%"
    std::string flags;
    bool widthStar = false;
    std::optional<long long> width;
    bool precisionStar = false;
    std::optional<long long> precision;
    FormatArgKind kind = FormatArgKind::Int;
    char conversion = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

long long ReadNumber(const std::string& format, size_t& i) {
    long long value = 0;
    while (i < format.size() && IsDigit(format[i])) {
        value = std::min(value * 10 + (format[i] - '0'), kMaxFieldSize);
        ++i;
    }
    return value;
}

bool KindOfConversion(const std::string& length, char conversion, FormatArgKind& kind) {
    const std::string integers = "diouxX";
    const std::string reals = "fFeEgGaA";
    if (integers.find(conversion) != std::string::npos || conversion == 'c') {
        if (length.empty() || length == "h" || length == "hh") {
            kind = FormatArgKind::Int;
            return true;
        }
        if (conversion != 'c' && (length == "l" || length == "ll" || length == "q" ||
                                  length == "j" || length == "z" || length == "t")) {
            kind = FormatArgKind::LongInt;
            return true;
        }
        return false;
    }
    if (reals.find(conversion) != std::string::npos) {
        if (length.empty() || length == "l") {
            kind = FormatArgKind::Double;
            return true;
        }
        if (length == "L") {
            kind = FormatArgKind::LongDouble;
            return true;
        }
        return false;
    }
    if (length.empty() && conversion == 's') {
        kind = FormatArgKind::String;
        return true;
    }
    if (length.empty() && conversion == 'p') {
        kind = FormatArgKind::Pointer;
        return true;
    }
    return false; // %n, %m, wide characters and anything unknown
}

// Splits the format; false when a conversion is incomplete or not one this formatter takes.
bool Parse(const std::string& format, std::vector<Piece>& pieces) {
    pieces.clear();
    std::string literal;
    size_t i = 0;
    while (i < format.size()) {
        if (format[i] != '%') {
            literal += format[i++];
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            literal += '%';
            ++i;
            continue;
        }
        if (!literal.empty()) {
            pieces.push_back({});
            pieces.back().text = literal;
            literal.clear();
        }
        Piece piece;
        piece.literal = false;
        while (i < format.size() && std::string("-+ #0'").find(format[i]) != std::string::npos) {
            piece.flags += format[i++];
        }
        if (i < format.size() && format[i] == '*') {
            piece.widthStar = true;
            ++i;
        } else if (i < format.size() && IsDigit(format[i])) {
            piece.width = ReadNumber(format, i);
        }
        if (i < format.size() && format[i] == '$') {
            return false; // positional arguments
        }
        if (i < format.size() && format[i] == '.') {
            ++i;
            if (i < format.size() && format[i] == '*') {
                piece.precisionStar = true;
                ++i;
            } else {
                piece.precision = ReadNumber(format, i);
            }
        }
        std::string length;
        while (i < format.size() && std::string("hlLqjzt").find(format[i]) != std::string::npos &&
               length.size() < 2) {
            length += format[i++];
        }
        if (i >= format.size() || !KindOfConversion(length, format[i], piece.kind)) {
            return false;
        }
        piece.conversion = format[i++];
        pieces.push_back(piece);
    }
    if (!literal.empty()) {
        pieces.push_back({});
        pieces.back().text = literal;
    }
    return true;
}

bool Fits(const std::vector<Piece>& pieces, const std::vector<FormatArgKind>& kinds) {
    size_t next = 0;
    auto take = [&](FormatArgKind kind) { return next < kinds.size() && kinds[next++] == kind; };
    for (const Piece& piece : pieces) {
        if (piece.literal) {
            continue;
        }
        if ((piece.widthStar && !take(FormatArgKind::Int)) ||
            (piece.precisionStar && !take(FormatArgKind::Int)) || !take(piece.kind)) {
            return false;
        }
    }
    return next == kinds.size();
}

// Cuts text to at most maxLength bytes without leaving a partial UTF-8 sequence at its end.
void CutAtCharacter(std::string& text, size_t maxLength) {
    if (text.size() <= maxLength) {
        return;
    }
    text.resize(maxLength);
    size_t lead = text.size();
    int continuations = 0;
    while (lead > 0 && continuations < 4 &&
           (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80) {
        --lead;
        ++continuations;
    }
    if (lead == 0) {
        return;
    }
    unsigned char first = static_cast<unsigned char>(text[lead - 1]);
    int expected = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    if (first >= 0xC0 && continuations < expected) {
        text.resize(lead - 1);
    }
}

template <typename T> bool Append(std::string& out, const std::string& conversionText, T value) {
    int needed = std::snprintf(nullptr, 0, conversionText.c_str(), value);
    if (needed < 0) {
        return false;
    }
    std::string piece(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(piece.data(), piece.size(), conversionText.c_str(), value);
    piece.resize(static_cast<size_t>(needed));
    out += piece;
    return true;
}

bool FormatPiece(const Piece& piece, const std::vector<FormatArg>& args, size_t& next,
                 std::string& out) {
    std::string flags = piece.flags;
    std::optional<long long> width = piece.width;
    std::optional<long long> precision = piece.precision;
    if (piece.widthStar) {
        long long value = args[next++].integer;
        value = static_cast<int>(value); // an Int argument
        if (value < 0) {
            flags += '-';
            value = -value;
        }
        width = std::min(value, kMaxFieldSize);
    }
    if (piece.precisionStar) {
        long long value = static_cast<int>(args[next++].integer);
        precision =
            value < 0 ? std::nullopt : std::optional<long long>(std::min(value, kMaxFieldSize));
    }
    const FormatArg& arg = args[next++];
    std::string conversionText = "%" + flags;
    if (width) {
        conversionText += std::to_string(*width);
    }
    if (precision) {
        conversionText += "." + std::to_string(*precision);
    }
    switch (piece.kind) {
    case FormatArgKind::Int:
        return Append(out, conversionText + piece.conversion, static_cast<int>(arg.integer));
    case FormatArgKind::LongInt:
        return Append(out, conversionText + "ll" + piece.conversion, arg.integer);
    case FormatArgKind::Double:
        return Append(out, conversionText + piece.conversion, arg.real);
    case FormatArgKind::LongDouble:
        return Append(out, conversionText + "L" + piece.conversion, arg.longReal);
    case FormatArgKind::String:
        return Append(out, conversionText + piece.conversion, arg.text.c_str());
    case FormatArgKind::Pointer:
        return Append(out, conversionText + piece.conversion, arg.pointer);
    }
    return false;
}

} // namespace

bool FormatFitsArguments(const std::string& format, const std::vector<FormatArgKind>& kinds) {
    std::vector<Piece> pieces;
    return Parse(format, pieces) && Fits(pieces, kinds);
}

bool FormatChecked(const std::string& format, const std::vector<FormatArg>& args, size_t maxLength,
                   std::string& text) {
    std::vector<FormatArgKind> kinds;
    for (const FormatArg& arg : args) {
        kinds.push_back(arg.kind);
    }
    std::vector<Piece> pieces;
    bool fits = Parse(format, pieces) && Fits(pieces, kinds);
    text.clear();
    size_t next = 0;
    for (size_t i = 0; fits && i < pieces.size() && text.size() <= maxLength; ++i) {
        if (pieces[i].literal) {
            text += pieces[i].text;
        } else {
            fits = FormatPiece(pieces[i], args, next, text);
        }
    }
    if (!fits) {
        text = format;
    }
    CutAtCharacter(text, maxLength);
    return fits;
}
