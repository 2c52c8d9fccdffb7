// Writing price lists, stock lists and the parts list export: byte-exact lines under the test's
// locale (run under C and de_DE), numbers rounded as "%.2lf" rounds, neutral designations, the
// list readers taking back what the writers wrote, and a failed write leaving the old file.
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "model/ListFile.h"
#include "model/ListWriter.h"
#include "model/PartsExport.h"
#include "model/PartsTable.h"
#include "model/PriceList.h"
#include "model/StockList.h"
#include "support/FileWrite.h"
#include "support/LocaleNumber.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

// printf's own text of "%.2f" under the test's locale: what the lines must show.
std::string Printf2(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

class ListWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
            .DeleteKeyTree(ListFilesKey);
        // A design's table: two price-list articles, one of them unused, and one the design
        // brought in that the price list does not name. Counts come from a recount of a design;
        // here they are set on the entries directly.
        SPartEntry tube(0, "Rohr, 35 cm, rot", "10035-02", 1.955);
        tube.count = 3;
        tube.available = 2;
        m_table.Append(tube);
        m_table.Append(SPartEntry(1, "Dach, groß", "R2", 69.0));
        SPartEntry coupling("Raumkupplung, 6-armig, schwarz");
        coupling.count = 4;
        m_table.Append(coupling);
    }

    TempFolder m_folder;
    CPartsTable m_table;
    const char m_decimal = LocaleDecimalChar();
};

TEST(FormatFixed, RoundsAsPrintfDoesWithTheLocaleDecimalCharacter) {
    for (double value : {0.0, 1.955, 2.675, 0.125, 0.135, -0.001, 1e6, 999999.995, 1234567.891,
                         0.005, 1e21, -45.5, 4.35 * 3}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(FormatFixed(value, 2, LocaleDecimalChar()), Printf2(value));
    }
    EXPECT_EQ(FormatFixed(2.675, 2, ','), "2,67"); // 2.675 is just below in binary
    EXPECT_EQ(FormatFixed(1.5, 0, ','), "2");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2, ','), "inf");
}

TEST_F(ListWriterTest, PriceListLinesAreNeutralWithTheLocalePrice) {
    const std::string path = m_folder.File("prices.zpl");
    const SListWriteResult result = WritePriceListFile(m_table, path);
    ASSERT_TRUE(result.IsWritten()) << result.reason;
    EXPECT_TRUE(result.untranslated.empty());
    // Every entry, the unused one included.
    EXPECT_EQ(TempFolder::Read(path), "tube, 35 cm, red;10035-02;" + Printf2(1.955) + "\r\n" +
                                          "roof cover, large;R2;" + Printf2(69.0) + "\r\n" +
                                          "6way connector, black;;" + Printf2(0.0) + "\r\n");
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(ListWriterTest, StockListLeavesOutArticlesWithoutStock) {
    ASSERT_TRUE(m_table.SetAvailable(2, -7));
    const std::string path = m_folder.File("stock.zbl");
    ASSERT_TRUE(WriteStockListFile(m_table, path).IsWritten());
    EXPECT_EQ(TempFolder::Read(path), "tube, 35 cm, red;2\r\n6way connector, black;-7\r\n");

    CPartsTable none;
    none.Append(SPartEntry(0, "Dach", "R1", 45.0));
    ASSERT_TRUE(WriteStockListFile(none, path).IsWritten());
    EXPECT_EQ(TempFolder::Read(path), "");
}

TEST_F(ListWriterTest, UntranslatableDesignationsAreWrittenInGermanAndReported) {
    m_table.Append(SPartEntry(2, "Sonderteil Eigenbau", "X", 1.0));
    ASSERT_TRUE(m_table.SetAvailable(3, 1));
    const std::string path = m_folder.File("stock.zbl");
    const SListWriteResult result = WriteStockListFile(m_table, path);
    ASSERT_TRUE(result.IsWritten());
    EXPECT_EQ(result.untranslated, std::vector<std::string>{"Sonderteil Eigenbau"});
    EXPECT_NE(TempFolder::Read(path).find("Sonderteil Eigenbau;1\r\n"), std::string::npos);
    EXPECT_TRUE(TestUi().Boxes().empty()); // the caller shows the boxes
}

TEST_F(ListWriterTest, ReadersTakeBackWhatTheWritersWrote) {
    // Lengths with a fraction are formatted in the user's locale and copied through the
    // translation character by character; prices with the locale's decimal character.
    m_table.Append(
        SPartEntry(2, std::string("Rohr, 17") + m_decimal + "5 cm, blau", "17-5", 1234.5));
    ASSERT_TRUE(m_table.SetAvailable(3, 11));
    const std::string prices = m_folder.File("prices.zpl");
    const std::string stock = m_folder.File("stock.zbl");
    ASSERT_TRUE(WritePriceListFile(m_table, prices).IsWritten());
    ASSERT_TRUE(WriteStockListFile(m_table, stock).IsWritten());

    CPartsTable read;
    ASSERT_EQ(ReadPriceList(read, prices, false).status, ListReadStatus::Clean);
    ASSERT_EQ(ReadStockList(read, stock, false, false).status, ListReadStatus::Clean);
    ASSERT_EQ(read.Size(), m_table.Size());
    const double roundedPrices[] = {1.96, 69.0, 0.0, 1234.5};
    for (std::size_t i = 0; i < read.Size(); ++i) {
        const SPartEntry& written = *m_table.GetAt(i);
        const SPartEntry& back = *read.GetAt(i);
        SCOPED_TRACE(written.designation);
        EXPECT_EQ(back.designation, written.designation);
        EXPECT_EQ(back.orderNumber, written.orderNumber);
        EXPECT_EQ(back.sortKey, static_cast<int32_t>(i)); // the order of the file
        EXPECT_DOUBLE_EQ(back.price, roundedPrices[i]);
        EXPECT_EQ(back.available, written.available);
        EXPECT_EQ(back.count, 0);
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(ListWriterTest, ExportLinesOfCountedArticlesInTheLocale) {
    const std::string path = m_folder.File("parts.csv");
    ASSERT_TRUE(WritePartsExportFile(m_table, path).IsWritten());
    // German designations as shown; the unused roof is left out; 3 × 1.955 = 5.865 rounds as
    // printf rounds the product.
    EXPECT_EQ(TempFolder::Read(path), "Rohr, 35 cm, rot;3;10035-02;" + Printf2(1.955) + ";" +
                                          Printf2(3 * 1.955) + ";2\r\n" +
                                          "Raumkupplung, 6-armig, schwarz;4;;" + Printf2(0.0) +
                                          ";" + Printf2(0.0) + ";0\r\n");

    CPartsTable unused;
    unused.Append(SPartEntry(0, "Dach", "R1", 45.0));
    ASSERT_TRUE(WritePartsExportFile(unused, path).IsWritten());
    EXPECT_EQ(TempFolder::Read(path), "");
}

TEST_F(ListWriterTest, FailedWritesLeaveTheOldFile) {
    const std::string path = m_folder.Write("prices.zpl", "old contents\r\n");

    // A file that cannot be made in a folder that does not exist.
    const SListWriteResult missing =
        WritePriceListFile(m_table, m_folder.File("no such folder/prices.zpl"));
    EXPECT_FALSE(missing.IsWritten());
    EXPECT_FALSE(missing.reason.empty());

    // A value that must never reach a file, and a total too large to be a number: the user is
    // told why.
    const std::string tooLarge = "Ein Betrag ist zu groß, um geschrieben zu werden.";
    CPartsTable broken = m_table;
    ASSERT_TRUE(broken.SetEntryValues(1, 0, "R2", std::numeric_limits<double>::infinity()));
    const SListWriteResult refused = WritePriceListFile(broken, path);
    EXPECT_FALSE(refused.IsWritten());
    EXPECT_EQ(refused.reason, tooLarge);
    CPartsTable overflowing;
    SPartEntry huge(0, "Dach", "R1", 1e308);
    huge.count = 2;
    overflowing.Append(huge);
    const SListWriteResult overflow = WritePartsExportFile(overflowing, path);
    EXPECT_FALSE(overflow.IsWritten());
    EXPECT_EQ(overflow.reason, tooLarge);
    EXPECT_EQ(TempFolder::Read(path), "old contents\r\n");

    // A disk that fills up while the list is written: the file size limit stands in for it.
    CPartsTable large;
    for (int i = 0; i < 2000; ++i) {
        SPartEntry entry(i, "Rohr, " + std::to_string(i) + " cm, rot", "N", 1.0);
        entry.count = 1;
        large.Append(entry);
    }
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const SListWriteResult full = WritePriceListFile(large, path);
    const SListWriteResult fullExport = WritePartsExportFile(large, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(full.IsWritten());
    EXPECT_FALSE(full.reason.empty());
    EXPECT_FALSE(fullExport.IsWritten());
    EXPECT_EQ(TempFolder::Read(path), "old contents\r\n");
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& item : std::filesystem::directory_iterator(m_folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

} // namespace
