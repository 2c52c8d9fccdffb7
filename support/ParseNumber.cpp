// Dialog numbers through strtod, which honours the locale's decimal character, with the forms
// strtod accepts beyond plain decimals (infinity, NaN, hexadecimal) refused before they count.
#include "support/ParseNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "support/LocaleNumber.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Digits, signs, the exponent letter and the decimal character: everything a plain decimal
// number consists of. Anything else that strtod took (letters of "inf" and "nan", the "x" and
// "p" of hexadecimal floats) makes the text no number for a dialog.
bool IsPlainDecimal(std::string_view number, char decimalChar) {
    for (char c : number) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && c != '+' && c != '-' && c != 'e' && c != 'E' && c != decimalChar) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ParseDouble(std::string_view text, EmptyField mode, double& value) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty()) {
        switch (mode) {
        case EmptyField::Zero:
            value = 0.0;
            return true;
        case EmptyField::Keep:
            return true;
        case EmptyField::Invalid:
            return false;
        }
        return false;
    }
    const std::string number(trimmed);
    char* end = nullptr;
    const double parsed = std::strtod(number.c_str(), &end);
    const std::size_t used = static_cast<std::size_t>(end - number.c_str());
    if (used != number.size() || !IsPlainDecimal(number, LocaleDecimalChar())) {
        return false;
    }
    if (!std::isfinite(parsed) || (parsed == 0.0 && number.front() != '0')) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseInt(std::string_view text, int& value) {
    std::string_view trimmed = TrimBlanks(text);
    if (!trimmed.empty() && trimmed.front() == '+') {
        trimmed.remove_prefix(1);
        if (!trimmed.empty() && trimmed.front() == '-') {
            return false;
        }
    }
    int parsed = 0;
    const std::from_chars_result result =
        std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), parsed);
    if (trimmed.empty() || result.ec != std::errc() ||
        result.ptr != trimmed.data() + trimmed.size()) {
        return false;
    }
    value = parsed;
    return true;
}
