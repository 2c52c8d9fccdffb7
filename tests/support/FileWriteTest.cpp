// Text writer: line ends, positions, padding, number texts, full and failing sinks.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/File.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "tests/harness/TempFolder.h"

namespace {

// A writer on a large memory buffer, for the formatting tests.
class BufferWriter {
public:
    explicit BufferWriter(uint32_t flags2 = 0) {
        m_writer.OpenBuffer(m_buffer.data(), static_cast<uint32_t>(m_buffer.size()), "test",
                            0xFFFFFFFF, flags2);
    }
    CFileWrite& operator*() { return m_writer; }
    CFileWrite* operator->() { return &m_writer; }
    std::string Text() const { return m_buffer.data(); }

private:
    std::vector<char> m_buffer = std::vector<char>(4096, 'X');
    CFileWrite m_writer;
};

std::string Double(double value, int decimals, int width = 0, char decimalChar = '.') {
    BufferWriter writer;
    int written = writer->PutDouble(value, decimals, width, decimalChar);
    EXPECT_EQ(written, static_cast<int>(writer.Text().size()));
    return writer.Text();
}

// Writes through a file sink and returns the bytes of the file.
template <typename Body> std::string WriteFile(uint32_t flags2, Body body) {
    TempFolder folder;
    std::string path = folder.File("out.txt");
    {
        CFileWrite writer;
        auto file = std::make_unique<File>();
        EXPECT_TRUE(file->Open(path, File::Mode::Write));
        writer.Open(std::move(file), 0xFFFFFFFF, flags2);
        body(writer);
        EXPECT_TRUE(writer.Close());
    }
    return TempFolder::Read(path);
}

} // namespace

TEST(FileWriteLineEnds, CrLfFlagWritesOneCrBeforeEveryLf) {
    std::string bytes = WriteFile(WriteFlags::CrLf, [](CFileWrite& writer) {
        EXPECT_EQ(writer.PutString("a\n"), 2);
        EXPECT_EQ(writer.PutChar('\r'), 0); // the caller's CR is dropped...
        EXPECT_EQ(writer.PutChar('\n'), 1); // ...and the LF brings its own
        writer.PutString("b\r\nc");
    });
    EXPECT_EQ(bytes, "a\r\n\r\nb\r\nc");
}

TEST(FileWriteLineEnds, WithoutTheFlagBytesPassUnchanged) {
    std::string bytes = WriteFile(0, [](CFileWrite& writer) {
        writer.PutString("a\nb\r\nc\r");
        EXPECT_EQ(writer.PutChar('\r'), 1);
    });
    EXPECT_EQ(bytes, "a\nb\r\nc\r\r");
}

TEST(FileWriteLineEnds, AFileGetsNoTerminatorOnClose) {
    std::string bytes = WriteFile(0, [](CFileWrite& writer) { writer.PutString("x"); });
    EXPECT_EQ(bytes, "x");
}

TEST(FileWritePosition, CountsLinesAndColumns) {
    CFileWrite writer;
    EXPECT_EQ(writer.GetLine(), 0);
    EXPECT_EQ(writer.GetColumn(), 0);

    BufferWriter buffer(WriteFlags::CrLf);
    EXPECT_EQ(buffer->GetLine(), 1);
    EXPECT_EQ(buffer->GetColumn(), 1);
    buffer->PutString("abc");
    EXPECT_EQ(buffer->GetColumn(), 4);
    buffer->PutString("\n");
    EXPECT_EQ(buffer->GetLine(), 2);
    EXPECT_EQ(buffer->GetColumn(), 1);
    buffer->PutString("de\r"); // dropped, but the column goes back
    EXPECT_EQ(buffer->GetColumn(), 1);
    buffer->PutString("fg\f");
    EXPECT_EQ(buffer->GetLine(), 1);
    EXPECT_EQ(buffer->GetColumn(), 1);
    buffer->PutUnsigned(5, 4); // padding counts in the column
    EXPECT_EQ(buffer->GetColumn(), 5);
    EXPECT_EQ(buffer.Text(), "abc\r\ndefg\f   5");
}

TEST(FileWritePadding, PositiveWidthPadsBeforeAndNegativeAfter) {
    struct Row {
        const char* expected;
        std::function<int(CFileWrite&)> put;
    };
    const Row rows[] = {
        {"  7", [](CFileWrite& w) { return w.PutUnsigned(7, 3); }},
        {"7  ", [](CFileWrite& w) { return w.PutUnsigned(7, -3); }},
        {" -7", [](CFileWrite& w) { return w.PutInt(-7, 3); }},
        {"-7 ", [](CFileWrite& w) { return w.PutInt(-7, -3); }},
        {"12345", [](CFileWrite& w) { return w.PutUnsigned(12345, 3); }},
        {"12345", [](CFileWrite& w) { return w.PutUnsigned(12345, -5); }},
        {"0", [](CFileWrite& w) { return w.PutUnsigned(0, 0); }},
        {"  abc", [](CFileWrite& w) { return w.PutString("abc", 5); }},
        {"abc  ", [](CFileWrite& w) { return w.PutString("abc", -5); }},
        {"abcdef", [](CFileWrite& w) { return w.PutString("abcdef", 2); }},
        {"  ab", [](CFileWrite& w) { return w.PutChars("abcdef", 2, 4); }},
        {"abc", [](CFileWrite& w) { return w.PutChars("abc", 10, 0); }},
        {" \"x\"", [](CFileWrite& w) { return w.PutQuoted("x", '"', 4); }},
        {"\"x\" ", [](CFileWrite& w) { return w.PutQuoted("x", '"', -4); }},
        {"  1.5", [](CFileWrite& w) { return w.PutDouble(1.5, -12, 5, '.'); }},
        {"-1.5 ", [](CFileWrite& w) { return w.PutDouble(-1.5, -12, -5, '.'); }},
        {"2.000000", [](CFileWrite& w) { return w.PutDouble(2.0, 6, 3, '.'); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        BufferWriter writer;
        EXPECT_EQ(row.put(*writer), static_cast<int>(std::strlen(row.expected)));
        EXPECT_EQ(writer.Text(), row.expected);
    }
}

TEST(FileWriteNumbers, IntegersCoverTheWholeRange) {
    BufferWriter writer;
    EXPECT_EQ(writer->PutInt(INT_MIN), 11);
    writer->PutChar(' ');
    writer->PutInt(INT_MAX);
    writer->PutChar(' ');
    writer->PutInt(0);
    writer->PutChar(' ');
    writer->PutUnsigned(UINT_MAX);
    EXPECT_EQ(writer.Text(), "-2147483648 2147483647 0 4294967295");
}

TEST(FileWriteNumbers, QuotesInsideAQuotedTextAreDoubled) {
    BufferWriter writer;
    EXPECT_EQ(writer->PutQuoted("say \"hi\"", '"'), 12);
    writer->PutQuoted("", '\'');
    EXPECT_EQ(writer.Text(), "\"say \"\"hi\"\"\"''");
}

TEST(FileWriteDouble, WritesTheTextsOfEveryPrecisionInUse) {
    struct Row {
        double value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        // Placements and sizes: at most 12 decimals, trailing zeros dropped, point always.
        {0.5, -12, "0.5"},
        {1.0, -12, "1."},
        {-2.25, -12, "-2.25"},
        {0.0, -12, "0."},
        {350.0, -12, "350."},
        {0.1, -12, "0.1"},
        {1.0 / 3.0, -12, "0.333333333333"},
        {2.0 / 3.0, -12, "0.666666666667"},
        {0.15, -12, "0.15"},
        {2.675, -12, "2.675"},
        {123.456, -12, "123.456"},
        {-1234.5678, -12, "-1234.5678"},
        {9.9999999999995, -12, "10."},
        // The doubles nearest 5e-13 and 5e-7 lie just below them: their own digits round down.
        {5e-13, -12, "0."},
        {5.0000000000001e-13, -12, "0.000000000001"},
        {4e-13, -12, "0."},
        {1234567.891, -12, "1234567.891000000061"}, // 1234567.89100000006146...
        {0.125, -2, "0.13"},                        // exactly halfway: away from zero
        {-0.125, -2, "-0.13"},
        {0.375, -2, "0.38"},
        // Material factors: at most 4 decimals.
        {0.8, -4, "0.8"},
        {0.99996, -4, "1."},
        {0.33333, -4, "0.3333"},
        {0.66666, -4, "0.6667"},
        {128.0, -4, "128."},
        // Camera values: exactly 6 decimals.
        {2.0, 6, "2.000000"},
        {1.0 / 3.0, 6, "0.333333"},
        {-1.5, 6, "-1.500000"},
        {45.0, 6, "45.000000"},
        {0.0000004, 6, "0.000000"},
        {0.0000005, 6, "0.000000"},
        {0.00000050001, 6, "0.000001"},
        // No fraction at all.
        {2.5, 0, "3."},
        {-7.0, 0, "-7."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.expected) + " @" + std::to_string(row.decimals));
        EXPECT_EQ(Double(row.value, row.decimals), row.expected);
    }
}

TEST(FileWriteDouble, NegativeZeroAndTinyNegativesKeepTheirTexts) {
    // A negative value that rounds to zero keeps its sign, and so does -0.0, which is what
    // reading "-0." gives: such a text is written again as it was read.
    EXPECT_EQ(Double(-0.0, -12), "-0.");
    EXPECT_EQ(Double(-0.0, 6), "-0.000000");
    EXPECT_EQ(Double(0.0, -12), "0.");
    EXPECT_EQ(Double(-4.9e-14, -12), "-0.");
    EXPECT_EQ(Double(std::numeric_limits<double>::denorm_min(), -12), "0.");
}

// What the design file does with every number: written, read back, written again. The second
// text must be the first, and where 12 places hold the double (the grid of 12 places finer than
// the doubles there), reading gives the double itself.
TEST(FileWriteDouble, TextsReadBackToTheSameTextAndValue) {
    std::mt19937_64 random(23);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> decade(-14.0, 6.0);
    // Numbers separated by commas, written into a string.
    const auto writeAll = [](const std::vector<double>& values, int decimals) {
        std::string text;
        CFileWrite writer;
        writer.OpenBuffer(nullptr, 0, "numbers", 0, 0);
        writer.SetCallback([&text](int c) {
            text += static_cast<char>(c);
            return 0;
        });
        for (double value : values) {
            writer.PutDouble(value, decimals);
            writer.PutChar(',');
        }
        return text;
    };
    for (int decimals : {-12, -4, 6}) {
        SCOPED_TRACE(decimals);
        std::vector<double> values(decimals == -12 ? 200000 : 20000);
        for (double& value : values) {
            value = unit(random) * std::pow(10.0, decade(random));
        }
        const std::string text = writeAll(values, decimals);
        CFileRead reader;
        ASSERT_TRUE(reader.OpenString(text.c_str(), "numbers", '\0', ReadErrors::Quiet, 0));
        std::vector<double> read(values.size());
        for (size_t i = 0; i < values.size(); ++i) {
            read[i] = reader.ReadDouble(".");
            reader.Expect(",");
            if (decimals == -12 && std::fabs(values[i]) >= 1e4) {
                ASSERT_EQ(read[i], values[i]) << Double(values[i], decimals);
            }
        }
        ASSERT_EQ(reader.GetErrors(), 0u);
        EXPECT_TRUE(writeAll(read, decimals) == text) << "a text changed on its way back";
    }
    // A float field goes through the same text.
    const float size = 351.123456789f;
    const std::string text = Double(size, -12);
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text.c_str(), "number", '\0', ReadErrors::Quiet, 0));
    EXPECT_EQ(static_cast<float>(reader.ReadFloat(".")), size);
}

TEST(FileWriteDouble, LargeValuesGetAllTheirIntegerDigits) {
    std::string text = Double(1e300, -12);
    ASSERT_EQ(text.size(), 302u);
    EXPECT_EQ(text.substr(0, 22), "1000000000000000052504"); // the double's own digits
    EXPECT_EQ(text.back(), '.');

    text = Double(-DBL_MAX, 6);
    ASSERT_EQ(text.size(), 1u + 309u + 1u + 6u);
    EXPECT_EQ(text.substr(0, 7), "-179769");
    EXPECT_EQ(text.substr(text.size() - 7), ".000000");
}

TEST(FileWriteDouble, TheDecimalCharacterIsTheCallersNotTheLocales) {
    EXPECT_EQ(Double(3.25, -12), "3.25");
    EXPECT_EQ(Double(3.25, -12, 0, ','), "3,25");
    EXPECT_EQ(Double(3.0, 2, 0, ','), "3,00");
}

TEST(FileWriteDouble, NonFiniteValuesAreRefused) {
    const double refused[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (double value : refused) {
        SCOPED_TRACE(value);
        BufferWriter writer;
        writer->PutString("a");
        EXPECT_FALSE(writer->HasError());
        EXPECT_EQ(writer->PutDouble(value, -12, 8, '.'), 0);
        EXPECT_TRUE(writer->HasError());
        EXPECT_EQ(writer.Text(), "a");
        EXPECT_EQ(writer->GetColumn(), 2);
        EXPECT_FALSE(writer->Close());
    }
}

TEST(FileWriteBuffer, AFullBufferKeepsItsTerminatorAndNeverOverruns) {
    // Guard bytes around a 4-byte buffer catch any write past its ends.
    char memory[8];
    std::memset(memory, '#', sizeof memory);
    char* buffer = memory + 2;

    CFileWrite writer;
    writer.OpenBuffer(buffer, 4, "small", 0xFFFFFFFF, 0);
    EXPECT_EQ(writer.PutChar('a'), 1);
    EXPECT_EQ(writer.PutChar('b'), 1);
    EXPECT_EQ(writer.PutChar('c'), 1);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_FALSE(writer.HasError());
    EXPECT_EQ(writer.PutChar('d'), 0); // the last byte is the terminator's
    EXPECT_TRUE(writer.HasError());
    EXPECT_EQ(writer.PutString("efgh"), 0);
    EXPECT_FALSE(writer.Close());
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(std::string(memory, 2), "##");
    EXPECT_EQ(std::string(memory + 6, 2), "##");
}

TEST(FileWriteBuffer, TinyBuffers) {
    char one = 'X';
    CFileWrite writer;
    writer.OpenBuffer(&one, 1, "one", 0, 0);
    EXPECT_EQ(one, '\0'); // terminated from the start
    EXPECT_EQ(writer.PutChar('a'), 0);
    writer.Close();
    EXPECT_EQ(one, '\0');

    char none = 'X';
    writer.OpenBuffer(&none, 0, "none", 0, 0);
    EXPECT_EQ(writer.PutChar('a'), 0);
    writer.Close();
    EXPECT_EQ(none, 'X');
}

TEST(FileWriteBuffer, CloseTerminatesAndForgetsTheBuffer) {
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    CFileWrite writer;
    writer.OpenBuffer(buffer, sizeof buffer, "report", 0xFFFFFFFF, 0);
    writer.PutString("hello");
    EXPECT_TRUE(writer.Close());
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(writer.PutChar('!'), 0); // no sink any more
    EXPECT_STREQ(buffer, "hello");

    // The writer can be opened again.
    writer.OpenBuffer(buffer, sizeof buffer, "again", 0, 0);
    writer.PutString("x");
    writer.Close();
    EXPECT_STREQ(buffer, "x");
}

TEST(FileWriteSinks, StopOrNoSinkRefusesWithoutMoving) {
    CFileWrite writer;
    EXPECT_EQ(writer.PutChar('a'), 0);
    EXPECT_EQ(writer.GetColumn(), 0);

    BufferWriter buffer;
    buffer->PutChar('a');
    buffer->SetStop(true);
    EXPECT_EQ(buffer->PutString("bc", 4), 0);
    EXPECT_EQ(buffer->GetColumn(), 2);
    EXPECT_FALSE(buffer->HasError()); // stopping is the caller's wish, not a failure
    buffer->SetStop(false);
    buffer->PutChar('d');
    EXPECT_EQ(buffer.Text(), "ad");
}

TEST(FileWriteSinks, TheCallbackSeesEveryCharacterAndMayRefuse) {
    char buffer[16];
    CFileWrite writer;
    writer.OpenBuffer(buffer, sizeof buffer, "cb", 0, WriteFlags::CrLf);
    std::string seen;
    writer.SetCallback([&seen](int c) {
        seen += static_cast<char>(c);
        return c == 'x' ? 0x10000 | 1 : 0; // only the low 16 bits count
    });
    EXPECT_EQ(writer.PutString("ax\n"), 2);
    writer.Close();
    EXPECT_EQ(seen, std::string("ax\r\n") + '\0');
    EXPECT_STREQ(buffer, "ax\r\n"); // the buffer came first and kept the character

    // A callback alone is a sink.
    CFileWrite callbackOnly;
    std::string only;
    callbackOnly.Init();
    callbackOnly.SetCallback([&only](int c) {
        only += static_cast<char>(c);
        return 0;
    });
    EXPECT_EQ(callbackOnly.PutInt(-12, 4), 4);
    EXPECT_EQ(only, " -12");
}

TEST(FileWriteSinks, EchoGoesToStandardOutput) {
    testing::internal::CaptureStdout();
    {
        BufferWriter writer(WriteFlags::Echo | WriteFlags::CrLf);
        writer->PutString("echo\n");
        std::fflush(stdout);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "echo\r\n");
}

TEST(FileWriteSinks, AFullDiskIsAFailedWrite) {
    CFileWrite writer;
    auto file = std::make_unique<File>();
    ASSERT_TRUE(file->Open("/dev/full", File::Mode::Write));
    writer.Open(std::move(file), 0xFFFFFFFF, WriteFlags::CrLf);
    int written = 0;
    const int attempted = 100000;
    for (int i = 0; i < attempted; ++i) {
        written += writer.PutChar(i % 64 == 63 ? '\n' : 'x');
    }
    EXPECT_LT(written, attempted);
    EXPECT_TRUE(writer.HasError());
    EXPECT_FALSE(writer.Close());
}

TEST(FileWriteSinks, AFullDiskIsSeenAtCloseOfABorrowedFileToo) {
    File file;
    ASSERT_TRUE(file.Open("/dev/full", File::Mode::Write));
    CFileWrite writer;
    writer.Open(&file, 0xFFFFFFFF, 0);
    EXPECT_EQ(writer.PutString("short"), 5); // still in the stream's buffer
    EXPECT_FALSE(writer.Close());
    EXPECT_TRUE(writer.HasError());
    EXPECT_TRUE(file.IsOpen()); // borrowed: left open for its owner
}

TEST(FileWriteSinks, ABorrowedFileKeepsItsNameAndStaysOpen) {
    TempFolder folder;
    File file;
    ASSERT_TRUE(file.Open(folder.File("named.zdf"), File::Mode::Write));
    {
        CFileWrite writer;
        writer.Open(&file, 0xFFFFFFFF, WriteFlags::CrLf);
        EXPECT_EQ(writer.GetName(), "named.zdf");
        writer.PutString("x\n");
        EXPECT_TRUE(writer.Close());
    }
    EXPECT_TRUE(file.IsOpen());
    EXPECT_TRUE(file.Write("y", 1));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(TempFolder::Read(folder.File("named.zdf")), "x\r\ny");
}
