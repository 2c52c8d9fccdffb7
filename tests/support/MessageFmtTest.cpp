// Formatted messages: every conversion is checked against its argument, a text that does not fit
// is shown unformatted, nothing grows past 2047 bytes, and numbers follow the C locale.
#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CheckedFormat.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/Resources.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// Every string-table text that the program formats, with the argument types its callers pass.
// A caller that formats a text adds its row here.
struct FormattedText {
    uint32_t id;
    std::vector<FormatArgKind> kinds;
    const char* caller;
};

const std::vector<FormattedText>& FormattedTexts() {
    static const std::vector<FormattedText> texts = {
        {4273, FormatArgKinds<std::string>(), "saving the price list and the stock list"},
    };
    return texts;
}

std::string Format(const std::string& format, const std::vector<FormatArg>& args,
                   bool expectFits = true) {
    std::string text;
    EXPECT_EQ(FormatChecked(format, args, kMessageFmtMaxLength, text), expectFits) << format;
    return text;
}

template <typename... Args> std::vector<FormatArg> ArgsOf(const Args&... args) {
    return {MakeFormatArg(args)...};
}

std::string DecimalPoint() {
    return std::localeconv()->decimal_point;
}

} // namespace

TEST(FormattedTexts, FitTheArgumentsTheirCallersPass) {
    for (const FormattedText& row : FormattedTexts()) {
        SCOPED_TRACE(row.id);
        SCOPED_TRACE(row.caller);
        std::string text;
        ASSERT_TRUE(LoadResourceString(row.id, LANG_ID_GERMAN, text));
        EXPECT_TRUE(FormatFitsArguments(text, row.kinds)) << text;
    }
}

TEST(MessageFmt, ShowsTheFormattedTextInAnInformationBox) {
    MessageFmt(4273, std::string("Rohr, 35 cm, blau"));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const RecordedBox& box = TestUi().Boxes()[0];
    EXPECT_EQ(box.text, "Die Artikelbezeichnung\nRohr, 35 cm, blau\nkonnt nicht von der "
                        "Landenssprache ins englische Übersetzt werden. In die Datei wird die "
                        "Bezeichnung in der Landessprache ausgegeben.");
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(box.icon, MsgIcon::Information);
}

TEST(MessageFmt, ShowsATextThatDoesNotFitItsArgumentsUnformatted) {
    MessageFmt(4273, 42);
    MessageFmt(4273);
    MessageFmt(4273, "a", "b");
    ASSERT_EQ(TestUi().Boxes().size(), 3u);
    for (const RecordedBox& box : TestUi().Boxes()) {
        EXPECT_EQ(box.text, LoadLangText(4273));
    }
}

TEST(CheckedFormat, EachConversionTakesItsKind) {
    const std::string dp = DecimalPoint();
    EXPECT_EQ(Format("%d|%i|%u|%x|%X|%o|%c", ArgsOf(-7, 8, 9u, 255, 255u, 8, 'A')),
              "-7|8|9|ff|FF|10|A");
    EXPECT_EQ(Format("%hd %hhu", ArgsOf(short(-2), static_cast<unsigned char>(200))), "-2 200");
    EXPECT_EQ(Format("%ld %lld %lu %zu %jd %td", ArgsOf(-1L, -9000000000LL, 4000000000UL,
                                                        size_t(12), int64_t(-3), ptrdiff_t(-4))),
              "-1 -9000000000 4000000000 12 -3 -4");
    EXPECT_EQ(Format("%.2lf;%5.1f;%e;%g;%Lg", ArgsOf(1.005, 2.25f, 1e308, 0.0001, 1.5L)),
              "1" + dp + "00;  2" + dp + "2;1" + dp + "000000e+308;0" + dp + "0001;1" + dp + "5");
    EXPECT_EQ(Format("%.2lf", ArgsOf(-0.0)), "-0" + dp + "00");
    EXPECT_EQ(Format("[%s|%-6s|%6s|%.2s]", ArgsOf("ab", std::string("cd"), "ef", "ghij")),
              "[ab|cd    |    ef|gh]");
    const char* none = nullptr;
    EXPECT_EQ(Format("%s", ArgsOf(none)), "(null)");
    EXPECT_EQ(Format("%*d|%-*d|%.*f", ArgsOf(4, 7, 3, 8, 1, 2.25)), "   7|8  |2" + dp + "2");
    EXPECT_EQ(Format("%*d|%.*f", ArgsOf(-3, 7, -1, 0.5)), "7  |0" + dp + "500000");
    EXPECT_EQ(Format("100%% %s", ArgsOf("voll")), "100% voll");
    EXPECT_EQ(Format("kein Argument", {}), "kein Argument");
    int object = 0;
    EXPECT_EQ(Format("%p", ArgsOf(&object)).substr(0, 2), "0x");
}

TEST(CheckedFormat, RefusesEveryMismatch) {
    struct Case {
        const char* format;
        std::vector<FormatArg> args;
    };
    const Case cases[] = {
        {"%d", ArgsOf("text")},
        {"%s", ArgsOf(5)},
        {"%s", ArgsOf(5.0)},
        {"%f", ArgsOf(5)},
        {"%d", ArgsOf(5LL)},
        {"%ld", ArgsOf(5)},
        {"%Lf", ArgsOf(5.0)},
        {"%f", ArgsOf(5.0L)},
        {"%s %s", ArgsOf("one")},
        {"%s", ArgsOf("one", "two")},
        {"no conversion", ArgsOf(1)},
        {"%*d", ArgsOf(7)},
        {"%*d", ArgsOf(2.0, 7)},
        {"%n", ArgsOf(static_cast<int*>(nullptr))},
        {"%1$s", ArgsOf("a")},
        {"%ls", ArgsOf("a")},
        {"%lc", ArgsOf(65)},
        {"%Ld", ArgsOf(5LL)},
        {"%m", {}},
        {"%y", ArgsOf(1)},
        {"ends in %", {}},
        {"ends in %-5", ArgsOf(1)},
        {"%p", ArgsOf(1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Format(c.format, c.args, false), c.format);
    }
}

TEST(CheckedFormat, NeverFormatsPast2047Bytes) {
    std::string longText(5000, 'x');
    EXPECT_EQ(Format("%s", ArgsOf(longText)), std::string(2047, 'x'));
    EXPECT_EQ(Format("ab%s", ArgsOf(longText)).size(), 2047u);
    EXPECT_EQ(Format("%5000d", ArgsOf(1)), std::string(2047, ' '));
    EXPECT_EQ(Format("%-5000d", ArgsOf(1)), "1" + std::string(2046, ' '));
    EXPECT_EQ(Format("%*d", ArgsOf(INT32_MIN, 1)), "1" + std::string(2046, ' '));
    EXPECT_EQ(Format("%.2147483647f", ArgsOf(1.0)).size(), 2047u);
    EXPECT_EQ(Format("%99999999999999999999d", ArgsOf(1)).size(), 2047u);
    EXPECT_EQ(Format("%.9999f", ArgsOf(1e308)).size(), 2047u);

    // A cut never leaves half a character.
    std::string umlauts;
    for (int i = 0; i < 1500; ++i) {
        umlauts += "ä";
    }
    std::string cut = Format("x%s", ArgsOf(umlauts));
    EXPECT_EQ(cut.size(), 2047u);
    EXPECT_EQ(cut.back(), "ä"[1]);
    cut = Format("%s", ArgsOf(umlauts));
    EXPECT_EQ(cut.size(), 2046u);

    // An unformatted text is cut the same way.
    std::string longFormat = std::string(3000, 'y') + "%d";
    EXPECT_EQ(Format(longFormat, ArgsOf("no int"), false), std::string(2047, 'y'));

    MessageFmt(4273, longText);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text.size(), 2047u);
}

TEST(CheckedFormat, GroupsThousandsAsTheLocaleDoes) {
    std::string grouped = Format("%'d", ArgsOf(1234567));
    const char* separator = std::localeconv()->thousands_sep;
    if (*separator == '\0') {
        EXPECT_EQ(grouped, "1234567");
    } else {
        EXPECT_EQ(grouped, "1" + std::string(separator) + "234" + separator + "567");
    }
}

TEST(CheckedFormat, WritesTheDecimalCommaUnderAGermanLocale) {
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is not set up";
    std::string text = Format("%.2lf €", ArgsOf(1234.5));
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "1234,50 €");
}
