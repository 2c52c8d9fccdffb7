// printf-style formatting of string-table texts whose conversions are checked against the kinds
// of the arguments at run time: a text that does not fit its arguments is never formatted, so a
// wrong or edited text cannot read an argument as something it is not.
#pragma once

#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// What a conversion takes. Signedness is not told apart (printf shows the same bits either way);
// size and category are.
enum class FormatArgKind {
    Int,        // integers of up to 32 bits and characters: %d %i %u %o %x %X %c, also %hd, %hhd
    LongInt,    // 64-bit integers: %ld %lld %lu %zu %jd %td ...
    Double,     // float and double: %f %e %g %a (also with l)
    LongDouble, // long double: %Lf %Le %Lg %La
    String,     // C strings and std::string: %s
    Pointer     // any other pointer: %p
};

struct FormatArg {
    FormatArgKind kind = FormatArgKind::Int;
    long long integer = 0; // Int and LongInt (unsigned values keep their bits)
    double real = 0.0;
    long double longReal = 0.0L;
    const void* pointer = nullptr;
    std::string text;
};

template <typename T> constexpr FormatArgKind FormatArgKindOf() {
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_same_v<U, bool> || (std::is_integral_v<U> && sizeof(U) <= 4)) {
        return FormatArgKind::Int;
    } else if constexpr (std::is_integral_v<U> && sizeof(U) == 8) {
        return FormatArgKind::LongInt;
    } else if constexpr (std::is_enum_v<U>) {
        return FormatArgKindOf<std::underlying_type_t<U>>();
    } else if constexpr (std::is_same_v<U, float> || std::is_same_v<U, double>) {
        return FormatArgKind::Double;
    } else if constexpr (std::is_same_v<U, long double>) {
        return FormatArgKind::LongDouble;
    } else if constexpr (std::is_convertible_v<const U&, std::string_view>) {
        return FormatArgKind::String;
    } else if constexpr (std::is_pointer_v<U> || std::is_null_pointer_v<U>) {
        return FormatArgKind::Pointer;
    } else {
        static_assert(sizeof(U) == 0, "this type cannot be an argument of a formatted text");
    }
}

template <typename T> FormatArg MakeFormatArg(const T& value) {
    FormatArg arg;
    arg.kind = FormatArgKindOf<T>();
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_enum_v<U>) {
        arg.integer = static_cast<long long>(value);
    } else if constexpr (std::is_integral_v<U>) {
        arg.integer = static_cast<long long>(value);
    } else if constexpr (std::is_floating_point_v<U>) {
        arg.real = static_cast<double>(value);
        arg.longReal = static_cast<long double>(value);
    } else if constexpr (std::is_convertible_v<const U&, const char*>) {
        const char* text = value;
        arg.text = text != nullptr ? text : "(null)";
    } else if constexpr (std::is_convertible_v<const U&, std::string_view>) {
        arg.text = std::string(std::string_view(value));
    } else {
        arg.pointer = value;
    }
    return arg;
}

// The kinds that the given argument types pass, for tables of the texts formatted by callers.
template <typename... Args> std::vector<FormatArgKind> FormatArgKinds() {
    return {FormatArgKindOf<Args>()...};
}

// True when every conversion of format takes the next of kinds (a '*' width or precision takes
// an Int) and no kind is left over. %n, positional arguments and unknown conversions never fit.
bool FormatFitsArguments(const std::string& format, const std::vector<FormatArgKind>& kinds);

// Formats into at most maxLength bytes, cut at a character boundary; numbers follow the C
// library's locale. When the format does not fit the arguments, text is the format itself (cut
// the same way) and the result is false.
bool FormatChecked(const std::string& format, const std::vector<FormatArg>& args, size_t maxLength,
                   std::string& text);
