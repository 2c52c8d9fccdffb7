// Numbers that follow the user's locale: the decimal character of the C library's current
// numeric locale, and fixed-point texts built without printf, so that a caller names the
// decimal character instead of depending on whatever locale is set while it writes.
#pragma once

#include <string>

// The decimal character of the C library's numeric locale (',' under de_DE, '.' under C).
char LocaleDecimalChar();

// value with exactly decimals fraction digits (0 to 17), rounded to nearest as printf's "%.*f"
// rounds, with decimalChar between the integer and the fraction digits; no grouping. A NaN or
// an infinite value gives "nan", "inf" or "-inf", as printf would.
std::string FormatFixed(double value, int decimals, char decimalChar);
