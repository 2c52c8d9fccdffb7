// Text reader, lower layers: sources, positions, encodings, failures of files and the
// preprocessing options.
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/File.h"
#include "support/FileRead.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

// Every delivered character up to the end of the input.
std::string DeliverAll(CFileRead& reader) {
    std::string text;
    for (int c; (c = reader.ReadChar()) >= 0;) {
        text += static_cast<char>(c);
    }
    return text;
}

std::string DeliverString(const std::string& text, uint32_t options) {
    CFileRead reader;
    EXPECT_TRUE(reader.OpenString(text.c_str(), "t", '\0', ReadErrors::Quiet, options));
    std::string delivered = DeliverAll(reader);
    EXPECT_EQ(reader.GetErrors(), 0u);
    return delivered;
}

std::string DeliverFile(const std::string& path, uint32_t options = 0) {
    CFileRead reader;
    EXPECT_TRUE(reader.Open(path, ReadErrors::Quiet, options));
    return DeliverAll(reader);
}

} // namespace

TEST(FileReadLineEnds, DropCrTakesEveryCarriageReturnOut) {
    EXPECT_EQ(DeliverString("a\r\r\nb\r", ReadOptions::DropCr), "a\nb");
    EXPECT_EQ(DeliverString("a\r\r\nb\r", 0), "a\r\r\nb\r");
}

TEST(FileReadLineEnds, LinesCountLineFeedsAndCarriageReturnsResetTheColumn) {
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString("ab\r\ncd", "t", '\0', ReadErrors::Quiet, 0));
    EXPECT_EQ(reader.GetLine(), 1);
    EXPECT_EQ(reader.GetColumn(), 1);
    struct Step {
        int c, line, column;
    };
    const Step steps[] = {{'a', 1, 2}, {'b', 1, 3}, {'\r', 1, 1}, {'\n', 2, 1}, {'c', 2, 2}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.c);
        EXPECT_EQ(reader.ReadChar(), step.c);
        EXPECT_EQ(reader.GetLine(), step.line);
        EXPECT_EQ(reader.GetColumn(), step.column);
    }
}

TEST(FileReadLineEnds, ANulByteCountsAsALine) {
    TempFolder folder;
    std::string path = folder.Write("nul.txt", std::string("a\0b", 3));
    CFileRead reader;
    ASSERT_TRUE(reader.Open(path, ReadErrors::Quiet, 0));
    EXPECT_EQ(reader.ReadChar(), 'a');
    EXPECT_EQ(reader.ReadChar(), 0);
    EXPECT_EQ(reader.GetLine(), 2);
    EXPECT_EQ(reader.ReadChar(), 'b');
    EXPECT_EQ(reader.ReadChar(), -1);
}

TEST(FileReadSources, AnEmptyTextIsAtItsEnd) {
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString("", "empty", '\0', ReadErrors::AbortOnFirst, 0));
    EXPECT_EQ(reader.Peek(), -1);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.GetErrors(), 0u);
    EXPECT_THROW(reader.GetChar(), ReadAbort); // consuming past the end is error 16
    EXPECT_EQ(reader.GetErrors(), ReadErrors::EndExceeded);
}

TEST(FileReadSources, TextEndsAtTheEndCharacterOrAtNul) {
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString("ab$cd", "t", '$', ReadErrors::Quiet, 0));
    EXPECT_EQ(DeliverAll(reader), "ab");
    ASSERT_TRUE(reader.OpenString("ab", "t", '$', ReadErrors::Quiet, 0));
    EXPECT_EQ(DeliverAll(reader), "ab");
    EXPECT_FALSE(reader.OpenString(nullptr, "t", '\0', ReadErrors::Quiet, 0));
    EXPECT_EQ(reader.GetErrors(), ReadErrors::OpenFailed);
}

TEST(FileReadSources, BytesAboveAsciiAreCharactersNotTheEnd) {
    const std::string text = "\xC3\xBC\xFF!";
    EXPECT_EQ(DeliverString(text, 0), text); // memory text passes unchanged, 0xFF included
}

TEST(FileReadSources, PushedTextComesFirstAndReportsNameEverySource) {
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString("ab\ncd", "outer", '\0', ReadErrors::Quiet, 0));
    EXPECT_EQ(reader.ReadChar(), 'a');
    reader.PushString("xy", "inner", '\0');
    EXPECT_EQ(reader.ReadChar(), 'x');
    EXPECT_EQ(reader.GetSourceName(), "inner");
    reader.ShowMessage("Test");
    EXPECT_EQ(reader.GetLastReport(), "Test\n"
                                      "String: inner, Zeile: 1, Spalte: 2\n"
                                      "String: outer, Zeile: 1, Spalte: 2\n"
                                      "\n"
                                      "ax <Fehlerposition> \n");
    EXPECT_EQ(DeliverAll(reader), "yb\ncd");
    EXPECT_EQ(reader.GetSourceName(), "outer");
    EXPECT_EQ(reader.GetLine(), 2);
}

TEST(FileReadSources, FileNamesAreAbsolutePaths) {
    TempFolder folder;
    folder.Write("list.zpl", "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    CFileRead reader;
    bool opened = reader.Open("list.zpl", ReadErrors::Quiet, 0);
    std::string name = reader.GetSourceName();
    std::filesystem::current_path(previous);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(std::filesystem::path(name).is_absolute());
    EXPECT_TRUE(std::filesystem::equivalent(name, folder.File("list.zpl")));

    File file;
    ASSERT_TRUE(file.Open(folder.File("list.zpl"), File::Mode::Read));
    CFileRead overFile;
    ASSERT_TRUE(overFile.OpenFile(file, ReadErrors::Quiet, 0));
    EXPECT_TRUE(std::filesystem::path(overFile.GetSourceName()).is_absolute());
    overFile.ShowMessage("m"); // the label names the file without its folder
    EXPECT_NE(overFile.GetLastReport().find("Datei: list.zpl, Zeile: 1"), std::string::npos);
    EXPECT_EQ(DeliverAll(overFile), "x");
    EXPECT_TRUE(file.IsOpen()); // the caller's file stays open
}

TEST(FileReadSources, AMissingFileIsReportedOnceAndThenThrown) {
    TempFolder folder;
    const std::string path = folder.File("missing.zdf");
    CFileRead reader;
    EXPECT_THROW(reader.Open(path, ReadErrors::AbortOnFirst, ReadOptions::DropCr), ReadAbort);
    const std::string expected = "Lesefehler: Quelle konnte nicht geöffnet werden !\n"
                                 "Datei: " +
                                 path +
                                 ", Zeile: 1, Spalte: 1\n"
                                 "\n"
                                 " <Fehlerposition> \n";
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, expected);
    EXPECT_EQ(TestUi().Boxes()[0].caption, "Error");
    EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(reader.GetLastReport(), expected);
    EXPECT_EQ(reader.GetSourceName(), "");

    // Reading has ended: nothing more is shown or thrown.
    EXPECT_EQ(reader.GetChar(), -1);
    EXPECT_EQ(reader.Peek(), -1);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
}

TEST(FileReadSources, AMissingFileWithTheQuietMaskIsOnlyAResult) {
    TempFolder folder;
    CFileRead reader;
    EXPECT_FALSE(reader.Open(folder.File("missing.zbl"), ReadErrors::Quiet, ReadOptions::DropCr));
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(reader.GetErrors(), ReadErrors::OpenFailed);
    EXPECT_NE(reader.GetLastReport().find("nicht geöffnet"), std::string::npos);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FileReadSources, AReadErrorIsAnErrorNotAShortFile) {
    // Reading the start of the process's own memory file fails with an I/O error.
    CFileRead reader;
    ASSERT_TRUE(reader.Open("/proc/self/mem", ReadErrors::Quiet, 0));
    EXPECT_EQ(reader.ReadChar(), -1);
    EXPECT_EQ(reader.GetErrors(), ReadErrors::ReadFailed);
    EXPECT_NE(
        reader.GetLastReport().find("Lesefehler: Von der Quelle konnte nicht gelesen werden !\n"),
        std::string::npos);

    // The same through a file that the caller opened and that cannot be read.
    TempFolder folder;
    std::FILE* stream = std::fopen(folder.File("w.txt").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    File file;
    file.Adopt(stream, folder.File("w.txt"), File::Mode::Read);
    CFileRead overFile;
    ASSERT_TRUE(overFile.OpenFile(file, ReadErrors::AbortOnFirst, 0));
    EXPECT_THROW(overFile.Peek(), ReadAbort);
    EXPECT_EQ(overFile.GetErrors(), ReadErrors::ReadFailed);
}

TEST(FileReadSources, ReadingWithoutASourceIsError8) {
    CFileRead reader;
    reader.Open("", ReadErrors::Quiet, 0);
    EXPECT_EQ(reader.ReadChar(), -1);
    EXPECT_EQ(reader.GetErrors(), ReadErrors::OpenFailed | ReadErrors::NotOpen);
    EXPECT_EQ(reader.GetLastReport(), "Bisherige Fehler:\n"
                                      "Lesefehler: Quelle konnte nicht geöffnet werden !\n"
                                      "Lesefehler: Quelle ist nicht offen !\n"
                                      "Unbekannte Textquelle\n"
                                      " <Fehlerposition> \n");
}

TEST(FileReadEncoding, Windows1252FilesAreHandedOnAsUtf8) {
    TempFolder folder;
    // "Größe 5 €" as the Windows program wrote it.
    std::string path = folder.Write("w.zpl", "Gr\xF6\xDF"
                                             "e 5 \x80\x81\x9F");
    CFileRead reader;
    ASSERT_TRUE(reader.Open(path, ReadErrors::Quiet, 0));
    EXPECT_EQ(DeliverAll(reader), "Größe 5 €\xC2\x81Ÿ");
    EXPECT_EQ(reader.GetColumn(), 18); // positions count the delivered bytes
}

TEST(FileReadEncoding, OneInvalidByteMakesTheWholeFileWindows1252) {
    TempFolder folder;
    // Valid UTF-8 "ü" first, then a lone Windows-1252 "ü" far beyond the first block.
    std::string bytes = "\xC3\xBC" + std::string(5000, 'x') + "\xFC";
    std::string path = folder.Write("mixed.txt", bytes);
    std::string delivered = DeliverFile(path);
    EXPECT_EQ(delivered.substr(0, 4), "Ã¼");
    EXPECT_EQ(delivered.substr(delivered.size() - 2), "ü");
}

TEST(FileReadEncoding, ValidUtf8PassesAndAByteOrderMarkIsSkipped) {
    TempFolder folder;
    const std::string text = "Größe €, 𝄞 and 丁\n";
    EXPECT_EQ(DeliverFile(folder.Write("u.txt", text)), text);

    CFileRead reader;
    ASSERT_TRUE(reader.Open(folder.Write("bom.txt", "\xEF\xBB\xBF"
                                                    "ab"),
                            ReadErrors::Quiet, 0));
    EXPECT_EQ(reader.ReadChar(), 'a');
    EXPECT_EQ(reader.GetColumn(), 2);
    EXPECT_EQ(DeliverAll(reader), "b");

    // Overlong forms, surrogates and a cut sequence are not UTF-8.
    EXPECT_EQ(DeliverFile(folder.Write("overlong.txt", "\xC0\xAF")), "À¯");
    EXPECT_EQ(DeliverFile(folder.Write("surrogate.txt", "\xED\xA0\x80")), "í\xC2\xA0€");
    EXPECT_EQ(DeliverFile(folder.Write("cut.txt", "a\xE2\x82")), "aâ‚");
}

TEST(FileReadOptions, PercentCommentsTakeTheLineEndWithThem) {
    EXPECT_EQ(DeliverString("a %note\nb", ReadOptions::PercentComments), "a b");
    EXPECT_EQ(DeliverString("a\\%b", ReadOptions::PercentComments), "a\\%b");
    EXPECT_EQ(DeliverString("a%x\r\nb%y", ReadOptions::PercentComments), "ab");
    EXPECT_EQ(DeliverString("a %note\nb", 0), "a %note\nb");
}

TEST(FileReadOptions, SlashCommentsOutsideQuotesOnly) {
    const uint32_t options = ReadOptions::SlashComments | ReadOptions::Quotes;
    EXPECT_EQ(DeliverString("a/*x\ny*/b//c\nd", options), "abd");
    EXPECT_EQ(DeliverString("\"/*x*/\"//c", options), "\"/*x*/\"");
    EXPECT_EQ(DeliverString("a/b", options), "a/b");
    EXPECT_EQ(DeliverString("a/*open", options), "a");
}

TEST(FileReadOptions, QuotesLineEndsAndEntities) {
    using namespace ReadOptions;
    EXPECT_EQ(DeliverString("a\\\nb\\\r\nc", LineContinuation), "abc");
    EXPECT_EQ(DeliverString("\"a\\\nb\"", LineContinuation | Quotes), "\"a\\\nb\"");
    // A line feed ends an open quote, so the continuation after it works again.
    EXPECT_EQ(DeliverString("\"a\n\\\nb", LineContinuation | Quotes | LineFeedEndsQuotes),
              "\"a\nb");
    EXPECT_EQ(DeliverString("a\nb", LineFeedAsBlank), "a b");
    EXPECT_EQ(DeliverString("x&quot;y<br>z&amp;", Entities), "x\"yz&amp;");
    EXPECT_EQ(DeliverString("a@b\nc\"d\ne", QuoteAtComments), "ace");
    EXPECT_EQ(DeliverString("a#x\nb", HashComments), "ab");
}

TEST(FileReadOptions, DefinesAreReplacedWhereANameStarts) {
    using namespace ReadOptions;
    EXPECT_EQ(DeliverString("#define W 350\nW,xW,W_,W", HashDefine), "\n350,xW,W_,350");
    // Values are replaced again, and a later define replaces an earlier one.
    EXPECT_EQ(DeliverString("#define A B+B\n#define B 1\nA\n#define B 2\nA;", HashDefine),
              "\n\n1+1\n\n2+2;");
    // Inside quotes nothing is defined or replaced.
    EXPECT_EQ(DeliverString("#define Q 1\n\"Q\"Q", HashDefine | Quotes), "\n\"Q\"1");
    // A value ends with its source when no line end follows.
    EXPECT_EQ(DeliverString("#define E end", HashDefine), "");
}

TEST(FileReadOptions, AHashThatIsNoDefineIsACommentOrText) {
    using namespace ReadOptions;
    EXPECT_EQ(DeliverString("#define 9x\nb", HashDefine), "#define 9x\nb");
    EXPECT_EQ(DeliverString("#define 9x\nb", HashDefine | HashComments), "b");
}

TEST(FileReadOptions, ANameIsNotReplacedInsideItsOwnValue) {
    using namespace ReadOptions;
    EXPECT_EQ(DeliverString("#define W W\nW.", HashDefine), "\nW.");
    EXPECT_EQ(DeliverString("#define W X W\nW.", HashDefine), "\nX W.");
    EXPECT_EQ(DeliverString("#define A (A)\nA.", HashDefine), "\n(A).");
    // Through another define, and where lookahead at '#' reaches past the end of the value.
    EXPECT_EQ(DeliverString("#define A B\n#define B A\nA B", HashDefine), "\n\nA B");
    EXPECT_EQ(DeliverString("#define W #W\nW.", HashDefine), "\n#W.");
    EXPECT_EQ(DeliverString("#define W x&W\nW;", HashDefine | Entities), "\nx&W;");
}

TEST(FileReadOptions, DefinesBeyondTheLimitsEndWithARangeError) {
    // A chain of distinct names deeper than the source stack.
    std::string chain;
    for (int i = 0; i < 70; ++i) {
        chain += "#define D" + std::to_string(i) + " (D" + std::to_string(i + 1) + ")\n";
    }
    chain += "D0.";
    CFileRead deep;
    ASSERT_TRUE(
        deep.OpenString(chain.c_str(), "t", '\0', ReadErrors::Quiet, ReadOptions::HashDefine));
    const size_t replaced = CFileRead::MaxSourceDepth - 1;
    EXPECT_EQ(DeliverAll(deep), std::string(70, '\n') + std::string(replaced, '(') + "D" +
                                    std::to_string(replaced) + std::string(replaced, ')') + ".");
    EXPECT_EQ(deep.GetErrors(), ReadErrors::Range);

    // Values that name the next one twice: 2^40 names unless the replaced text is limited.
    std::string doubling;
    for (int i = 0; i < 40; ++i) {
        doubling += "#define E" + std::to_string(i) + " E" + std::to_string(i + 1) + " E" +
                    std::to_string(i + 1) + "\n";
    }
    doubling += "E0.";
    CFileRead wide;
    ASSERT_TRUE(
        wide.OpenString(doubling.c_str(), "t", '\0', ReadErrors::Quiet, ReadOptions::HashDefine));
    const std::string text = DeliverAll(wide);
    EXPECT_EQ(wide.GetErrors(), ReadErrors::Range);
    EXPECT_LT(text.size(), CFileRead::MaxReplacementText);
    EXPECT_EQ(text.back(), '.');
}

TEST(FileReadOptions, IncludedFilesAreReadInPlace) {
    TempFolder folder;
    std::string inner = folder.Write("inner.txt", "IN\n");
    std::string outer =
        folder.Write("outer.txt", "a\n#include \"" + inner + "\" tail\n\\input " + inner + "\nb");
    CFileRead reader;
    ASSERT_TRUE(reader.Open(outer, ReadErrors::Quiet,
                            ReadOptions::HashInclude | ReadOptions::InputInclude));
    std::string text;
    for (int c; (c = reader.ReadChar()) >= 0;) {
        text += static_cast<char>(c);
        if (c == 'I') {
            EXPECT_EQ(reader.GetSourceName(), inner);
        }
        if (c == 't') {
            EXPECT_EQ(reader.GetSourceName(), outer);
            EXPECT_EQ(reader.GetLine(), 2);
        }
    }
    EXPECT_EQ(text, "a\nIN\n tail\nIN\nb");
    EXPECT_EQ(reader.GetLine(), 4);
    EXPECT_EQ(reader.GetErrors(), 0u);
}

TEST(FileReadOptions, FailingIncludes) {
    TempFolder folder;
    // A missing file: error 1, reading goes on in the including text.
    CFileRead missing;
    std::string text = "x#include \"" + folder.File("none.txt") + "\"y";
    ASSERT_TRUE(
        missing.OpenString(text.c_str(), "t", '\0', ReadErrors::Quiet, ReadOptions::HashInclude));
    EXPECT_EQ(DeliverAll(missing), "xy");
    EXPECT_EQ(missing.GetErrors(), ReadErrors::OpenFailed);

    // A name longer than 255 characters: error 256 and nothing is pushed.
    CFileRead longName;
    text = "#include \"" + std::string(300, 'n') + "\"z";
    ASSERT_TRUE(
        longName.OpenString(text.c_str(), "t", '\0', ReadErrors::Quiet, ReadOptions::HashInclude));
    EXPECT_EQ(DeliverAll(longName), "z");
    EXPECT_EQ(longName.GetErrors(), ReadErrors::Range);

    // A file that includes itself ends at the depth limit.
    std::string self = folder.File("self.txt");
    folder.Write("self.txt", "#include \"" + self + "\"\n");
    CFileRead selfReader;
    ASSERT_TRUE(selfReader.Open(self, ReadErrors::AbortOnFirst, ReadOptions::HashInclude));
    EXPECT_THROW(DeliverAll(selfReader), ReadAbort);
    EXPECT_EQ(selfReader.GetErrors(), ReadErrors::Range);
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
}

TEST(FileReadOptions, EchoWritesDeliveredCharacters) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(DeliverString("a%x\nb", ReadOptions::Echo | ReadOptions::PercentComments), "ab");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ab");
}

TEST(FileReadLookahead, LongLookaheadIsNeverOverwritten) {
    // Keywords far longer than the 256-entry rings.
    const std::string keyword(1000, 'k');
    const std::string text = keyword + "2{";
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text.c_str(), "t", '\0', ReadErrors::AbortOnFirst, 0));
    EXPECT_FALSE(reader.TestKeyword(keyword + "k", 20));
    EXPECT_TRUE(reader.TestKeyword(keyword, 0x8006));
    EXPECT_TRUE(reader.ReadKeyword(keyword, 0x8006));
    EXPECT_EQ(reader.ReadInt(), 2);
    reader.Expect("{");
    EXPECT_TRUE(reader.AtEnd());

    // A defined name of the longest length, then a long unknown one.
    const std::string name(255, 'n');
    const std::string defined = "#define " + name + " v\n" + name + " " + std::string(600, 'm');
    EXPECT_EQ(DeliverString(defined, ReadOptions::HashDefine), "\nv " + std::string(600, 'm'));
}
