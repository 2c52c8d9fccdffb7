// Text reader, token layer: classes, keywords, numbers, texts, the error reports and the round
// trip of numbers through the text writer.
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// A reader over its own copy of a text.
struct TextReader {
    explicit TextReader(std::string source, uint32_t options = ReadOptions::DropCr,
                        uint32_t mask = ReadErrors::Quiet)
        : text(std::move(source)) {
        reader.OpenString(text.c_str(), "t", '\0', mask, options);
    }
    CFileRead* operator->() { return &reader; }

    std::string text;
    CFileRead reader;
};

// What is left unread.
std::string Rest(CFileRead& reader) {
    std::string rest;
    while (!reader.AtEnd()) {
        rest += static_cast<char>(reader.GetChar());
    }
    return rest;
}

// The position part of a report over the text source "t".
std::string Position(int line, int column, const std::string& history) {
    return "String: t, Zeile: " + std::to_string(line) + ", Spalte: " + std::to_string(column) +
           "\n\n" + history + " <Fehlerposition> \n";
}

const std::string kFormat = "Lesefehler: Formatfehler !\n";
const std::string kRange = "Lesefehler: Wert liegt außerhalb des zulässigend Bereichs !\n";
const std::string kRepeated = "Lesefehler: Wiederholte Fehler !\n";

std::string WriteDouble(double value, int decimals) {
    char buffer[512];
    CFileWrite writer;
    writer.OpenBuffer(buffer, sizeof buffer, "t", 0xFFFFFFFF, WriteFlags::CrLf);
    writer.PutDouble(value, decimals, 0, '.');
    writer.Close();
    return buffer;
}

// A number's text, the decimal characters allowed, its value and the text left after it.
struct SDoubleRow {
    const char* text;
    const char* decimals;
    double value;
    const char* rest;
};

double ReadBack(const std::string& text) {
    TextReader reader(text, ReadOptions::DropCr, ReadErrors::AbortOnFirst);
    double value = reader->ReadDouble(".");
    EXPECT_TRUE(reader->AtEnd()) << text;
    return value;
}

} // namespace

TEST(FileReadClasses, ClassesAreAsciiOnly) {
    struct Row {
        int c;
        int charClass;
        bool expected;
    };
    const Row rows[] = {
        {'a', 0, true},      {'Z', 0, true},      {'5', 0, false},    {0xE4, 0, false},
        {'Q', 1, true},      {'q', 1, false},     {'q', 2, true},     {'7', 3, true},
        {'_', 3, false},     {'_', 4, true},      {'1', 4, false},    {'1', 5, true},
        {'-', 6, true},      {'2', 7, false},     {'1', 7, true},     {'7', 8, true},
        {'8', 8, false},     {'9', 9, true},      {'f', 10, true},    {'g', 10, false},
        {'+', 11, true},     {'.', 11, false},    {'.', 12, true},    {'!', 13, true},
        {'~', 13, true},     {'a', 13, false},    {0x7F, 14, true},   {'\t', 14, true},
        {' ', 15, true},     {'\t', 15, false},   {'\r', 16, true},   {0x0B, 16, true},
        {0xA0, 16, false},   {16, 17, true},      {12, 17, true},     {'\\', 18, true},
        {':', 18, true},     {'/', 18, false},    {'a', 19, false},   {-1, 20, true},
        {-1, 0, false},      {-1, 16, false},     {-1, 0x8006, true}, {'a', 0x8006, false},
        {'2', 0x8006, true}, {-1, 0x8014, false}, {0xFF, 20, true},   {'a', 21, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.c) + " in " + std::to_string(row.charClass));
        EXPECT_EQ(CFileRead::IsClass(row.c, row.charClass), row.expected);
    }
}

TEST(FileReadKeywords, AKeywordMustBeAWholeWord) {
    TextReader reader("camera2{ cameras camera-x camera");
    EXPECT_TRUE(reader->TestKeyword("camera", 0x8006));
    EXPECT_TRUE(reader->ReadKeyword("camera", 0x8006));
    EXPECT_EQ(reader->ReadInt(), 2);
    reader->Expect("{");
    reader->SkipWhitespace();
    EXPECT_FALSE(reader->ReadKeyword("camera", 0x8006));
    EXPECT_TRUE(reader->ReadKeyword("camera", 20));
    reader->Expect("s");
    reader->SkipWhitespace();
    EXPECT_FALSE(reader->TestKeyword("camera", 0x8006));
    reader->Expect("camera-x ");
    EXPECT_TRUE(reader->ReadKeyword("camera", 0x8006)); // the end is no letter
    EXPECT_TRUE(reader->AtEnd());
    EXPECT_EQ(reader->GetErrors(), 0u);
}

TEST(FileReadKeywords, WhitespaceIsSkippedOnlyWhenAsked) {
    TextReader reader(" \t\r\n\v\fx y");
    EXPECT_FALSE(reader->TestKeyword("x", 20));
    reader->SkipWhitespace();
    EXPECT_TRUE(reader->ReadKeyword("x", 20));
    reader->SkipWhitespace();
    EXPECT_EQ(Rest(reader.reader), "y");
}

TEST(FileReadIntegers, ThirtyTwoBitEdges) {
    struct Row {
        const char* text;
        int32_t value;
        uint32_t errors;
    };
    const Row rows[] = {
        {"-2147483648", INT_MIN, 0},
        {"2147483647", INT_MAX, 0},
        {"+2147483647", INT_MAX, 0},
        {"2147483648", 0, ReadErrors::Range},
        {"-2147483649", 0, ReadErrors::Range},
        {"99999999999999999999", 0, ReadErrors::Range},
        {"0", 0, 0},
        {"007", 7, 0},
        {"+-5", -5, 0},
        {"-+5", 0, ReadErrors::Format},
        {"--5", 0, ReadErrors::Format},
        {"x", 0, ReadErrors::Format},
        {"", 0, ReadErrors::Format},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TextReader reader(row.text);
        EXPECT_EQ(reader->ReadInt(), row.value);
        EXPECT_EQ(reader->GetErrors(), row.errors);
    }

    TextReader unsignedReader("4294967295,4294967296");
    EXPECT_EQ(unsignedReader->ReadUnsigned(0x7fffffff, false, 10), 4294967295u);
    unsignedReader->Expect(",");
    EXPECT_EQ(unsignedReader->ReadUnsigned(0x7fffffff, false, 10), 0u);
    EXPECT_EQ(unsignedReader->GetErrors(), ReadErrors::Range);
}

TEST(FileReadIntegers, AMissingNumberNamesWhatWasExpected) {
    TextReader reader("7;x", ReadOptions::DropCr, ReadErrors::AbortOnFirst);
    EXPECT_EQ(reader->ReadInt(), 7);
    reader->Expect(";");
    EXPECT_THROW(reader->ReadInt(), ReadAbort);
    EXPECT_EQ(reader->GetLastReport(), kFormat + "'Zahl' erwartet\n" + Position(1, 4, "7;x"));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Error);
}

TEST(FileReadIntegers, RadixPrefixesFollowTheOptions) {
    using namespace ReadOptions;
    struct Row {
        const char* text;
        uint32_t options;
        uint32_t value;
        const char* rest;
    };
    const Row rows[] = {
        {"0x1F", ZeroPrefixes, 31, ""},  {"0X1f", ZeroPrefixes, 31, ""},
        {"0d19", ZeroPrefixes, 19, ""},  {"0o17", ZeroPrefixes, 15, ""},
        {"0b101", ZeroPrefixes, 5, ""},  {"012", ZeroPrefixes, 12, ""},
        {"0x1F", 0, 0, "x1F"},           {"^hFF", CaretPrefixes, 255, ""},
        {"^B11", CaretPrefixes, 3, ""},  {"^x1", CaretPrefixes, 0, "^x1"},
        {"\"1F", QuotePrefixes, 31, ""}, {"`17", QuotePrefixes, 15, ""},
        {"0b102", ZeroPrefixes, 2, "2"}, {"789", ZeroPrefixes, 789, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TextReader reader(row.text, row.options);
        EXPECT_EQ(reader->ReadUnsigned(0x7fffffff, true, 0), row.value);
        EXPECT_EQ(reader->GetErrors(), 0u);
        EXPECT_EQ(Rest(reader.reader), row.rest);
    }

    // A prefix without a digit is a format error.
    TextReader noDigit("0xg", ZeroPrefixes);
    EXPECT_EQ(noDigit->ReadUnsigned(0x7fffffff, false, 0), 0u);
    EXPECT_EQ(noDigit->GetErrors(), ReadErrors::Format);

    // An explicit radix takes no prefix.
    TextReader hex("ffZ");
    EXPECT_EQ(hex->ReadUnsigned(0x7fffffff, false, 16), 255u);
    TextReader base36("zz");
    EXPECT_EQ(base36->ReadUnsigned(0x7fffffff, false, 36), 35u * 36u + 35u);
}

TEST(FileReadIntegers, MaxCharsCountsPrefixAndSigns) {
    TextReader digits("12345");
    EXPECT_EQ(digits->ReadUnsigned(2, false, 0), 12u);
    EXPECT_EQ(Rest(digits.reader), "345");

    TextReader prefixed("0x1F", ReadOptions::ZeroPrefixes);
    EXPECT_EQ(prefixed->ReadUnsigned(3, false, 0), 1u);
    EXPECT_EQ(Rest(prefixed.reader), "F");

    TextReader signs("-12");
    EXPECT_EQ(signs->ReadSigned(2, false, 0), -1);
    EXPECT_EQ(Rest(signs.reader), "2");

    TextReader none("5");
    EXPECT_EQ(none->ReadUnsigned(0, true, 0), 0u);
    EXPECT_EQ(none->GetErrors(), 0u);
    EXPECT_EQ(none->ReadUnsigned(0, false, 0), 0u);
    EXPECT_EQ(none->GetErrors(), ReadErrors::Format);
}

TEST(FileReadDoubles, DecimalCharactersSignsAndNoExponent) {
    const SDoubleRow rows[] = {
        {"3,25", ".,", 3.25, ""}, {"3,25", ".", 3.0, ",25"}, {"3.25", ".,", 3.25, ""},
        {"1e5", ".", 1.0, "e5"},  {"5", ".", 5.0, ""},       {"5.", ".", 5.0, ""},
        {".5", ".", 0.5, ""},     {"+-2.5", ".", -2.5, ""},  {"-0.125x", ".", -0.125, "x"},
        {"", ".", 0.0, ""},       {";", ".", 0.0, ";"},      {"0.1", ".", 0.1, ""},
        {"350.", ".", 350.0, ""},
    };
    for (const SDoubleRow& row : rows) {
        SCOPED_TRACE(row.text);
        TextReader reader(row.text);
        EXPECT_EQ(reader->ReadDouble(row.decimals), row.value);
        EXPECT_EQ(reader->GetErrors(), 0u);
        EXPECT_EQ(Rest(reader.reader), row.rest);
    }

    TextReader many("123456789012345678901234567890");
    EXPECT_DOUBLE_EQ(many->ReadDouble("."), 1.2345678901234568e29);

    // Only signs: nothing but the signs is read, and the value is a zero.
    TextReader minus("-x");
    double value = minus->ReadDouble(".");
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(std::signbit(value));
    EXPECT_EQ(Rest(minus.reader), "x");
}

TEST(FileReadDoubles, NumbersWithTextAfterThemReadAsCharacterByCharacter) {
    // With more text after it, a number is taken where it lies in its source: it must give the
    // same value, leave the same rest and position, and report the same text.
    const SDoubleRow rows[] = {
        {"3,25;", ".,", 3.25, ";"}, {"3,25;", ".", 3.0, ",25;"}, {" \t+-2.5 ", ".", -2.5, " "},
        {"5.,", ".", 5.0, ","},     {".5}", ".", 0.5, "}"},      {"-;", ".", -0.0, ";"},
        {"007.250x", ".", 7.25, "x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        TextReader reader(row.text);
        reader->SkipWhitespace();
        const double value = reader->ReadDouble(row.decimals);
        EXPECT_EQ(value, row.value);
        EXPECT_EQ(std::signbit(value), std::signbit(row.value));
        EXPECT_EQ(reader->GetColumn(),
                  static_cast<int>(std::strlen(row.text) - std::strlen(row.rest)) + 2);
        EXPECT_EQ(Rest(reader.reader), row.rest);
    }
    // A number that goes on after the value of a define.
    TextReader defined("#define N 12\nN.25;", ReadOptions::HashDefine);
    defined->SkipWhitespace();
    EXPECT_EQ(defined->ReadDouble("."), 12.25);
    EXPECT_EQ(Rest(defined.reader), ";");
    // The report of a number too large shows it and the character after it.
    const std::string digits(400, '9');
    TextReader overlong(digits + ";", ReadOptions::DropCr, ReadErrors::AbortOnFirst);
    EXPECT_THROW(overlong->ReadDouble("."), ReadAbort);
    EXPECT_EQ(overlong->GetLastReport(), kRange + Position(1, 402, digits.substr(145) + ";"));
}

TEST(FileReadDoubles, OverlongDigitStringsAreRangeErrorsNotInfinity) {
    const std::string huge(400, '9');
    const std::string longFraction = "1." + std::string(400, '0');
    const std::string tinyFraction = "0." + std::string(400, '0') + "1";
    for (const std::string& text : {huge, "-" + huge}) {
        SCOPED_TRACE(text.substr(0, 3));
        TextReader reader(text);
        EXPECT_EQ(reader->ReadDouble("."), 0.0);
        EXPECT_EQ(reader->GetErrors(), ReadErrors::Range);
        TextReader single(text);
        EXPECT_EQ(single->ReadFloat("."), 0.0);
        EXPECT_EQ(single->GetErrors(), ReadErrors::Range);
    }
    // Many digits that give a finite value are that value.
    TextReader one(longFraction);
    EXPECT_EQ(one->ReadDouble("."), 1.0);
    EXPECT_EQ(one->GetErrors(), 0u);
    TextReader tiny(tinyFraction);
    EXPECT_EQ(tiny->ReadDouble("."), 0.0); // finite: no error
    EXPECT_EQ(tiny->GetErrors(), 0u);
}

TEST(FileReadDoubles, FloatsStayInTheFloatRange) {
    TextReader largest("340282346000000000000000000000000000000");
    EXPECT_DOUBLE_EQ(largest->ReadFloat("."), 3.40282346e38);
    EXPECT_EQ(largest->GetErrors(), 0u);

    TextReader beyond("-340282350000000000000000000000000000000");
    EXPECT_EQ(beyond->ReadFloat("."), 0.0);
    EXPECT_EQ(beyond->GetErrors(), ReadErrors::Range);
}

TEST(FileReadTexts, QuotedStrings) {
    TextReader doubled("\"a\"\"b\"c");
    std::string out = "unchanged";
    doubled->ReadQuoted(out, '"', '\0');
    EXPECT_EQ(out, "a\"b");
    EXPECT_EQ(Rest(doubled.reader), "c");

    TextReader escaped("\"a\\\"b\\c\"");
    escaped->ReadQuoted(out, '"', '\\');
    EXPECT_EQ(out, "a\"b\\c");

    TextReader empty("\"\",");
    empty->ReadQuoted(out, '"', '\0');
    EXPECT_EQ(out, "");
    EXPECT_EQ(Rest(empty.reader), ",");

    const std::string longText(5000, 'L');
    TextReader unterminated("\"" + longText);
    unterminated->ReadQuoted(out, '"', '\0');
    EXPECT_EQ(out, longText);
    EXPECT_EQ(unterminated->GetErrors(), 0u);

    TextReader utf8("\"Größe\"");
    utf8->ReadQuoted(out, '"', '\0');
    EXPECT_EQ(out, "Größe");

    TextReader missing("abc", ReadOptions::DropCr, ReadErrors::AbortOnFirst);
    out = "kept";
    EXPECT_THROW(missing->ReadQuoted(out, '"', '\0'), ReadAbort);
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(missing->GetLastReport(), kFormat + "'\"' erwartet\n" + Position(1, 2, "a"));
}

TEST(FileReadTexts, ReadUntilAtAndBeyondTheBufferSize) {
    char buffer[8];
    TextReader fits("abcdefg;rest");
    fits->ReadUntil(buffer, sizeof buffer, ";");
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(fits->GetErrors(), 0u);
    EXPECT_EQ(Rest(fits.reader), "rest");

    TextReader tooLong("abcdefgh;");
    tooLong->ReadUntil(buffer, sizeof buffer, ";");
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(tooLong->GetErrors(), ReadErrors::Range);

    TextReader stops("a,b;c");
    stops->ReadUntil(buffer, sizeof buffer, ";,");
    EXPECT_STREQ(buffer, "a");
    stops->ReadUntil(buffer, sizeof buffer, ";,");
    EXPECT_STREQ(buffer, "b");

    TextReader end("abc");
    end->ReadUntil(buffer, sizeof buffer, ";");
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(end->GetErrors(), ReadErrors::EndExceeded);

    // No room at all: nothing is written, a stop character still ends the field.
    char untouched = 'U';
    TextReader zero(";x");
    zero->ReadUntil(&untouched, 0, ";");
    EXPECT_EQ(untouched, 'U');
    EXPECT_EQ(zero->GetErrors(), 0u);
    zero->ReadUntil(&untouched, 0, ";");
    EXPECT_EQ(untouched, 'U');
    EXPECT_EQ(zero->GetErrors(), ReadErrors::Range);

    TextReader one("x;");
    one->ReadUntil(buffer, 1, ";");
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(one->GetErrors(), ReadErrors::Range);
}

TEST(FileReadReports, AMissingCommaIsReportedWithPositionAndHistory) {
    TextReader reader("tube2{1\r\n, 2;3}", ReadOptions::DropCr, ReadErrors::AbortOnFirst);
    EXPECT_TRUE(reader->ReadKeyword("tube", 0x8006));
    EXPECT_EQ(reader->ReadInt(), 2);
    reader->Expect("{");
    EXPECT_EQ(reader->ReadInt(), 1);
    reader->SkipWhitespace();
    reader->Expect(",");
    reader->SkipWhitespace();
    EXPECT_EQ(reader->ReadInt(), 2);
    EXPECT_THROW(reader->Expect(","), ReadAbort);
    const std::string expected = kFormat + "',' erwartet\n" + Position(2, 5, "tube2{1\n, 2;");
    EXPECT_EQ(reader->GetLastReport(), expected);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, expected);
    EXPECT_EQ(TestUi().Boxes()[0].caption, "Error");

    // Reading has ended: later operations fail without a word.
    EXPECT_EQ(reader->Peek(), -1);
    EXPECT_EQ(reader->ReadInt(), 0);
    EXPECT_FALSE(reader->TestKeyword("3", 20));
    EXPECT_TRUE(reader->AtEnd());
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(reader->GetErrors(), ReadErrors::Format);
}

TEST(FileReadReports, LaterErrorsListTheEarlierOnes) {
    TextReader quiet("a");
    quiet->Expect("b");
    EXPECT_EQ(quiet->Peek(), -1);
    EXPECT_EQ(quiet->GetErrors(), ReadErrors::Format | ReadErrors::Repeated);
    EXPECT_EQ(quiet->GetLastReport(),
              "Bisherige Fehler:\n" + kFormat + kRepeated + Position(1, 2, "a"));
    EXPECT_TRUE(TestUi().Boxes().empty());

    // The error that ends reading is marked as such.
    TextReader marked("a", ReadOptions::DropCr, ReadErrors::Repeated);
    marked->Expect("b");
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_THROW(marked->Peek(), ReadAbort);
    EXPECT_EQ(marked->GetLastReport(), "Bisherige Fehler:\n" + kFormat +
                                           "Fehler der zum Abbruch führte:\n" + kRepeated +
                                           Position(1, 2, "a"));
    EXPECT_EQ(TestUi().Boxes().size(), 2u);
}

TEST(FileReadReports, TheHistoryHoldsTheLastCharactersButNotTheEnd) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    TextReader reader(text);
    reader->Expect(text);
    reader->Expect(",");
    // The end of input took one place of the 256 and is not printed.
    EXPECT_EQ(reader->GetLastReport(),
              kFormat + "',' erwartet\n" + Position(1, 301, text.substr(300 - 255)));

    // A history that starts inside a UTF-8 sequence starts at the next whole character.
    std::string umlauts;
    for (int i = 0; i < 200; ++i) {
        umlauts += "ü";
    }
    TextReader utf8(umlauts);
    utf8->Expect(umlauts);
    utf8->Expect(",");
    EXPECT_EQ(utf8->GetLastReport(),
              kFormat + "',' erwartet\n" + Position(1, 401, umlauts.substr(146)));

    // An error at the first byte of a character leaves that character out.
    TextReader cut("a€");
    cut->Expect("a,");
    EXPECT_EQ(cut->GetLastReport(), kFormat + "',' erwartet\n" + Position(1, 3, "a"));
}

TEST(FileReadReports, AReportLongerThanItsBufferIsCutAtAWholeCharacter) {
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        expected += "ü";
    }
    TextReader reader("x");
    reader->Expect(expected);
    const std::string& report = reader->GetLastReport();
    EXPECT_EQ(report.size(), 4094u);
    EXPECT_EQ(report.substr(0, kFormat.size() + 1), kFormat + "'");
    EXPECT_EQ(report.substr(report.size() - 2), "ü");
}

TEST(FileReadReports, ACallersMessageCarriesErrorsAndPosition) {
    TextReader reader("door9{", ReadOptions::DropCr, ReadErrors::AbortOnFirst);
    reader->Peek();
    reader->ShowMessage("Elementtypenbezeichnung erwartet");
    EXPECT_EQ(reader->GetErrors(), 0u);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Elementtypenbezeichnung erwartet\n" + Position(1, 2, "d"));
    EXPECT_EQ(TestUi().Boxes()[0].caption, "Error");

    TextReader quiet("x");
    quiet->Expect("y");
    quiet->ShowMessage("Eigene Meldung");
    EXPECT_EQ(quiet->GetLastReport(), "Eigene Meldung\n" + kFormat + Position(1, 2, "x"));
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
}

TEST(FileReadReports, AnOwnMessageStreamTakesTheReportInsteadOfABox) {
    char stream[1024];
    CFileWrite messages;
    messages.OpenBuffer(stream, sizeof stream, "messages", 0xFFFFFFFF, 0);
    const std::string text = "a";
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text.c_str(), "t", '\0', ReadErrors::AbortOnFirst, 0, &messages));
    EXPECT_THROW(reader.Expect(";"), ReadAbort);
    messages.Close();
    EXPECT_EQ(std::string(stream), kFormat + "';' erwartet\n" + Position(1, 2, "a"));
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(reader.GetLastReport(), "");
}

TEST(FileReadRoundTrip, DoublesWrittenWithTwelveDecimalsReadBackEqual) {
    std::mt19937_64 random(20240501);
    // Values as a design holds them: up to a metre, with any number of decimals up to twelve.
    std::uniform_real_distribution<double> value(-1000.0, 1000.0);
    std::uniform_int_distribution<int> places(0, 12);
    for (int i = 0; i < 20000; ++i) {
        const double scale = std::pow(10.0, places(random));
        const double x = std::round(value(random) * scale) / scale;
        const std::string text = WriteDouble(x, -12);
        ASSERT_EQ(ReadBack(text), x) << text;
    }
    // Any double of that range comes back within a unit of the twelfth decimal, and its text
    // is stable: writing what was read gives the same text again.
    for (int i = 0; i < 20000; ++i) {
        const double x = value(random);
        const std::string text = WriteDouble(x, -12);
        const double y = ReadBack(text);
        ASSERT_LE(std::fabs(y - x), 1e-12) << text;
        ASSERT_EQ(WriteDouble(y, -12), text);
    }
    // The precisions of material factors and camera values.
    for (int i = 0; i < 5000; ++i) {
        const double factor = std::round(std::fabs(value(random)) * 10.0) / 1e4;
        ASSERT_EQ(ReadBack(WriteDouble(factor, -4)), factor);
        const double camera = std::round(value(random) * 1e5) / 1e6;
        ASSERT_EQ(ReadBack(WriteDouble(camera, 6)), camera);
    }
    for (double special : {0.0, -0.0, 1.0, -1.0, 0.5, 1e-12, -999.999999999999}) {
        EXPECT_EQ(ReadBack(WriteDouble(special, -12)), special);
    }
}
