// Fixed-point texts through std::to_chars, which is exact and locale-free.
#include "support/LocaleNumber.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>

char LocaleDecimalChar() {
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr ||
        conventions->decimal_point[0] == '\0') {
        return '.';
    }
    return conventions->decimal_point[0];
}

std::string FormatFixed(double value, int decimals, char decimalChar) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0.0 ? "-inf" : "inf";
    }
    decimals = std::clamp(decimals, 0, 17);
    // The largest double has 309 integer digits; sign, point and fraction fit in the rest.
    char buffer[340];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (decimals > 0) {
        text[text.size() - static_cast<std::size_t>(decimals) - 1] = decimalChar;
    }
    return text;
}
