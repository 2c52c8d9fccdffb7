// Numbers typed into dialog fields, in the locale the test runs under (C and de_DE): the
// locale's decimal character, the empty-field modes, the 0.0 rule, trailing text, and every
// non-finite or hexadecimal form that the C library would otherwise accept.
#include <string>

#include <gtest/gtest.h>

#include "support/LocaleNumber.h"
#include "support/ParseNumber.h"

namespace {

// The text with '.' replaced by the locale's decimal character.
std::string Local(std::string text) {
    for (char& c : text) {
        if (c == '.') {
            c = LocaleDecimalChar();
        }
    }
    return text;
}

// The decimal character of the other locale.
char OtherDecimalChar() {
    return LocaleDecimalChar() == ',' ? '.' : ',';
}

} // namespace

TEST(ParseDouble, EmptyFieldByMode) {
    for (const char* empty : {"", "  \t "}) {
        SCOPED_TRACE(empty);
        double value = 7.5;
        EXPECT_TRUE(ParseDouble(empty, EmptyField::Zero, value));
        EXPECT_EQ(value, 0.0);
        value = 7.5;
        EXPECT_TRUE(ParseDouble(empty, EmptyField::Keep, value));
        EXPECT_EQ(value, 7.5);
        EXPECT_FALSE(ParseDouble(empty, EmptyField::Invalid, value));
        EXPECT_EQ(value, 7.5);
    }
}

TEST(ParseDouble, NumbersInTheLocale) {
    struct SCase {
        std::string text;
        double expected;
    };
    const SCase cases[] = {
        {Local("1.5"), 1.5},
        {Local(" \t-69.25 \t"), -69.25},
        {"40", 40.0},
        {Local("0.0"), 0.0},
        {"0", 0.0},
        {Local("2.5e2"), 250.0},
        {Local("0.125"), 0.125},
        {"+3", 3.0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.text);
        double value = -1.0;
        EXPECT_TRUE(ParseDouble(c.text, EmptyField::Invalid, value));
        EXPECT_EQ(value, c.expected);
    }
}

TEST(ParseDouble, RefusesWhatIsNoPlainNumber) {
    const std::string refused[] = {
        "-0",        // 0.0 from a text that does not start with '0'
        Local(".0"), // likewise
        "12a",       // trailing letter
        "1 2",       // two numbers
        "abc",
        std::string("1") + OtherDecimalChar() + "5", // the other locale's decimal character
        "nan",
        "NAN",
        "-nan",
        "inf",
        "-inf",
        "Infinity",
        "0x10",
        "0x1p3",
        "-0X1P-2", // hexadecimal floats
        "1e999",
        "-1e999", // overflow to infinity
        "1e-400", // underflow to 0 from a text not starting with '0'
        "\n5",
    };
    for (const std::string& text : refused) {
        SCOPED_TRACE(text);
        double value = 7.5;
        EXPECT_FALSE(ParseDouble(text, EmptyField::Zero, value));
        EXPECT_EQ(value, 7.5) << "a refused text leaves the value";
    }
}

TEST(ParseInt, DecimalIntsOnly) {
    int value = 0;
    EXPECT_TRUE(ParseInt(" -2000 \t", value));
    EXPECT_EQ(value, -2000);
    EXPECT_TRUE(ParseInt("+35", value));
    EXPECT_EQ(value, 35);
    for (const char* text : {"", " ", "-", "+-1", "4.5", "12a", "0x10", "99999999999", "1 2"}) {
        SCOPED_TRACE(text);
        value = 9;
        EXPECT_FALSE(ParseInt(text, value));
        EXPECT_EQ(value, 9);
    }
}
