// Numbers typed into the edit fields of dialogs. They follow the user's locale (the decimal
// character of the C library's numeric locale, which start-up takes from the user's settings),
// unlike the numbers of files. Only plain decimal numbers are taken: "nan", "inf", hexadecimal
// floats and values that overflow are refused, so no dialog ever hands on a non-finite value.
#pragma once

#include <string_view>

// What a field that is empty (or holds only blanks and tabs) gives.
enum class EmptyField : int {
    Zero = 0,    // the value 0.0
    Invalid = 1, // no number: the field is refused, as the framework's own double exchange does
    Keep = 2,    // the value stays as it was
};

// Reads a double: leading blanks and tabs, a decimal number with the locale's decimal character
// and an optional exponent, trailing blanks and tabs, nothing else. A result of 0.0 is taken only
// when the number's first character is '0' (so "-0" and ".0" are refused, "0" and "0,0" under a
// German locale are taken). On false value is unchanged.
bool ParseDouble(std::string_view text, EmptyField mode, double& value);

// Reads an int: leading blanks and tabs, an optional sign, decimal digits, trailing blanks and
// tabs. Empty fields, other characters and values outside the int range are refused. On false
// value is unchanged.
bool ParseInt(std::string_view text, int& value);
