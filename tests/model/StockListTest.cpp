// Stock list reading: counts set or added on the entries the table holds, entries not named set
// to 0 when replacing, articles outside the table passed over, malformed lines and sums out of
// range reported by number and skipped, a cancelled read changing nothing, and the default
// stock list.
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "model/PartsTable.h"
#include "model/StockList.h"
#include "support/Profile.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

class StockListTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
            .DeleteKeyTree(ListFilesKey);
        m_table.Append(SPartEntry(0, "Rohr, 35 cm, rot", "A", 1.95));
        m_table.Append(SPartEntry(1, "Dach", "R1", 45.0));
        m_table.Append(SPartEntry(2, "Dach, groß", "R2", 69.0));
        m_table.Append(SPartEntry("Rohrbogen, Alu"));
    }

    SListReadResult Read(const std::string& text, bool add, bool store = false) {
        return ReadStockList(m_table, m_folder.Write("list.zbl", text), store, add);
    }
    int32_t Stock(const std::string& designation) const {
        const SPartEntry* entry = m_table.Find(designation);
        return entry != nullptr ? entry->available : -1;
    }

    TempFolder m_folder;
    CPartsTable m_table;
};

TEST_F(StockListTest, ReplacingSetsNamedCountsAndZeroesTheRest) {
    ASSERT_TRUE(m_table.SetAvailable(3, 9));
    const SListReadResult result =
        Read("tube, 35 cm, red;12\r\nroof cover, large;2\r\nroof cover;1\r\n", false);
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 12);
    EXPECT_EQ(Stock("Dach"), 1);
    EXPECT_EQ(Stock("Dach, groß"), 2);
    EXPECT_EQ(Stock("Rohrbogen, Alu"), 0);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(StockListTest, AddingTwiceDoublesAndReplacingRestores) {
    const std::string text = "tube, 35 cm, red;12\ntube bend, alu;-3\nroof cover;+1\n";
    ASSERT_TRUE(Read(text, true).IsLoaded());
    ASSERT_TRUE(Read(text, true).IsLoaded());
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 24);
    EXPECT_EQ(Stock("Rohrbogen, Alu"), -6);
    EXPECT_EQ(Stock("Dach"), 2);
    EXPECT_EQ(Stock("Dach, groß"), 0);
    ASSERT_TRUE(Read(text, false).IsLoaded());
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 12);
    EXPECT_EQ(Stock("Rohrbogen, Alu"), -3);
}

TEST_F(StockListTest, TheLastLineOfAnArticleWinsWhenReplacing) {
    ASSERT_TRUE(Read("tube, 35 cm, red;12\ntube, 35 cm, red;5\n", false).IsLoaded());
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 5);
    ASSERT_TRUE(Read("tube, 35 cm, red;12\ntube, 35 cm, red;5\n", true).IsLoaded());
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 22);
}

TEST_F(StockListTest, ArticlesOutsideTheTableHaveNoEffect) {
    const CPartsTable before = m_table;
    const SListReadResult result = Read("tube, 75 cm, blue;7\nbag, red;3\n", true);
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_TRUE(m_table == before);
}

TEST_F(StockListTest, MalformedLinesAreReportedByNumberAndSkipped) {
    const SListReadResult result = Read("tube, 35 cm, red;1\n"     // 1
                                        "roof cover\n"             // 2 no count field
                                        "roof cover;\n"            // 3 empty count
                                        "roof cover;2.5\n"         // 4 not an integer
                                        "roof cover;3;4\n"         // 5 a third field
                                        "roof cover;99999999999\n" // 6 beyond int32
                                        "roof cover;0x10\n"        // 7 no prefixes
                                        "roof cover, large;8\n",   // 8
                                        false);
    EXPECT_EQ(result.status, ListReadStatus::SkippedLines);
    const std::vector<SSkippedLine> expected = {
        {2, ListLineFault::MissingField},     {3, ListLineFault::BadNumber},
        {4, ListLineFault::BadNumber},        {5, ListLineFault::BadNumber},
        {6, ListLineFault::NumberOutOfRange}, {7, ListLineFault::BadNumber}};
    EXPECT_EQ(result.skippedLines, expected);
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 1);
    EXPECT_EQ(Stock("Dach"), 0);
    EXPECT_EQ(Stock("Dach, groß"), 8);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("2, 3, 4, 5, 6, 7"), std::string::npos);
}

TEST_F(StockListTest, AFileOfWhichNoLineCanBeReadIsNoStockListAndKeepsTheStock) {
    ASSERT_TRUE(Read("roof cover;2\n", false).IsLoaded());
    const CPartsTable before = m_table;
    TestUi().Reset();
    // A price list: every line has a third field where the count should end.
    for (bool add : {false, true}) {
        const SListReadResult result = Read("tube, 35 cm, red;A;1.95\nroof cover;R1;45\n", add);
        EXPECT_EQ(result.status, ListReadStatus::NotAList);
        EXPECT_TRUE(m_table == before);
    }
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Die Datei\n" + m_folder.File("list.zbl") +
                  "\nist keine Bestandsliste (*.zbl): keine ihrer Zeilen konnte gelesen werden. "
                  "Der bisherige Bestand bleibt erhalten.");
    // Articles outside the table are lines that were read: such a list is taken.
    EXPECT_EQ(Read("bag, red;3\nbroken\n", false).status, ListReadStatus::SkippedLines);
    EXPECT_EQ(Stock("Dach"), 0);
}

TEST_F(StockListTest, CountsAtTheEdgesOfTheRangeAreTaken) {
    ASSERT_EQ(Read("roof cover;2147483647\nroof cover, large;-2147483648\n", false).status,
              ListReadStatus::Clean);
    EXPECT_EQ(Stock("Dach"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Stock("Dach, groß"), std::numeric_limits<int32_t>::min());
    // Adding past the range skips that line; the others are added.
    const SListReadResult result = Read("roof cover;1\ntube, 35 cm, red;4\n", true);
    EXPECT_EQ(result.status, ListReadStatus::SkippedLines);
    ASSERT_EQ(result.skippedLines.size(), 1u);
    EXPECT_EQ(result.skippedLines[0], (SSkippedLine{1, ListLineFault::NumberOutOfRange}));
    EXPECT_EQ(Stock("Dach"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 4);
}

TEST_F(StockListTest, AnUntranslatableDesignationAsks4179) {
    TestUi().QueueAnswer(MsgAnswer::Ok);
    const SListReadResult result = Read("kite, red;1\nroof cover;3\n", false);
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_EQ(result.ignoredLines, 1);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Der Artikelname:\nkite, red\nin der Bestandsliste (*.zbl) konnte nicht "
              "interpretiert werden. Der Artikel wird ignoriert.");
    EXPECT_EQ(Stock("Dach"), 3);
}

TEST_F(StockListTest, CancelChangesNoCount) {
    ASSERT_TRUE(m_table.SetAvailable(0, 5));
    const CPartsTable before = m_table;
    TestUi().QueueAnswer(MsgAnswer::Cancel);
    const SListReadResult result =
        Read("roof cover;3\nkite, red;1\ntube, 35 cm, red;9\n", false, true);
    EXPECT_EQ(result.status, ListReadStatus::Failed);
    EXPECT_TRUE(m_table == before);
    EXPECT_EQ(GetProfileString(ListFilesSection, "NmbrAvlFile"), "");
}

TEST_F(StockListTest, AFileThatCannotBeOpenedChangesNothing) {
    ASSERT_TRUE(m_table.SetAvailable(0, 5));
    const CPartsTable before = m_table;
    EXPECT_EQ(ReadStockList(m_table, m_folder.File("missing.zbl"), true, false).status,
              ListReadStatus::Failed);
    EXPECT_TRUE(m_table == before);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(StockListTest, TheDefaultStockListReplacesTheCounts) {
    const std::string list = m_folder.Write("stock.zbl", "roof cover;3\n");
    ASSERT_TRUE(m_table.SetAvailable(0, 5));
    ASSERT_TRUE(WriteProfileString(ListFilesSection, "NmbrAvlFile", list));
    EXPECT_EQ(LoadDefaultStockList(m_table), ListReadStatus::Clean);
    EXPECT_EQ(Stock("Dach"), 3);
    EXPECT_EQ(Stock("Rohr, 35 cm, rot"), 0);
}

TEST_F(StockListTest, AMissingDefaultStockListAsks4177) {
    WriteProfileString(ListFilesSection, "NmbrAvlFile", m_folder.File("gone.zbl"));
    const std::string chosen = m_folder.Write("chosen.zbl", "roof cover;6\n");
    TestUi().QueueAnswer(MsgAnswer::Yes);
    TestUi().QueueFileChoice(chosen);
    EXPECT_EQ(LoadDefaultStockList(m_table), ListReadStatus::Clean);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Die Bestandsliste (*.zbl) konnte nicht gefunden werden. "
                                        "Möchten Sie eine Bestandsliste von Hand auswählen ?\n");
    ASSERT_EQ(TestUi().FileDialogs().size(), 1u);
    EXPECT_EQ(TestUi().FileDialogs()[0].defaultExtension, "zbl");
    EXPECT_EQ(TestUi().FileDialogs()[0].filter, "Zarnel Bestandsliste (*.zbl)|*.zbl");
    EXPECT_EQ(Stock("Dach"), 6);
    EXPECT_EQ(GetProfileString(ListFilesSection, "NmbrAvlFile"), chosen);

    TestUi().Reset();
    InstallUserInterface(&TestUi());
    WriteProfileString(ListFilesSection, "NmbrAvlFile", m_folder.File("gone.zbl"));
    TestUi().QueueAnswer(MsgAnswer::No);
    EXPECT_EQ(LoadDefaultStockList(m_table), ListReadStatus::Failed);
    EXPECT_EQ(Stock("Dach"), 6);
}

} // namespace
