// Price list reading: neutral designations translated by the system's patterns (the roof pair
// exactly), point and comma prices, the order of the file, malformed lines reported by number
// and skipped without shifting the lines after them, untranslatable designations asked about,
// the old table kept when a read fails, and the default price list from the settings.
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "model/PartsTable.h"
#include "model/PriceList.h"
#include "support/FileRead.h"
#include "support/Profile.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

class PriceListTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
            .DeleteKeyTree(ListFilesKey);
        SettingsStore(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine)
            .DeleteKeyTree(ListFilesKey);
    }

    SListReadResult Read(const std::string& text, bool store = false) {
        return ReadPriceList(m_table, m_folder.Write("list.zpl", text), store);
    }
    std::vector<std::string> Designations() const {
        std::vector<std::string> out;
        for (const SPartEntry& entry : m_table) {
            out.push_back(entry.designation);
        }
        return out;
    }
    // A table as a design and an earlier list left it.
    void FillOldTable() {
        m_table.Append(SPartEntry(0, "Rohr, 35 cm, rot", "OLD-1", 1.0));
        m_table.Append(SPartEntry("Dach"));
        ASSERT_TRUE(m_table.SetAvailable(1, 4));
    }

    TempFolder m_folder;
    CPartsTable m_table;
};

TEST_F(PriceListTest, NeutralDesignationsBecomeGermanEntriesInFileOrder) {
    const SListReadResult result = Read("tube, 35 cm, red;10035-02;1.95\r\n"
                                        "tube bend, alu;11000-07;6.90\r\n"
                                        "6way connector, black;20002-01;4.90\r\n"
                                        "2way connector, white;20009-08;2.10\r\n"
                                        "panel, for 35 cm x 75 cm, green;20110-03;11.80\r\n"
                                        "1way hole coupling, mirror;20320-06;3.90\r\n"
                                        "straight slide without run-out, yellow;20250-05;89\r\n"
                                        "tube, 35 cm, lila;10035-99;1.95\r\n");
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_TRUE(result.skippedLines.empty());
    const std::vector<std::string> expected = {
        "Rohr, 35 cm, rot",
        "Rohrbogen, Alu",
        "Raumkupplung, 6-armig, schwarz",
        "Gerade Kupplung, 2-armig, weiß",
        "Steckplatte, für 35 cm x 75 cm, grün",
        "Lochzapfenkupplung, Spiegel",
        "Rutsche, gerade, gelb",
        "Rohr, 35 cm, lila", // a colour outside the names is carried over unchanged
    };
    EXPECT_EQ(Designations(), expected);
    for (std::size_t i = 0; i < m_table.Size(); ++i) {
        const SPartEntry& entry = *m_table.GetAt(i);
        EXPECT_EQ(entry.sortKey, static_cast<int32_t>(i));
        EXPECT_EQ(entry.count, 0);
        EXPECT_EQ(entry.available, 0);
    }
    EXPECT_EQ(m_table.GetAt(0)->orderNumber, "10035-02");
    EXPECT_EQ(m_table.GetAt(0)->price, 1.95);
    EXPECT_EQ(m_table.GetAt(6)->price, 89.0);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(PriceListTest, TheRoofPairTranslatesExactly) {
    // Each roof text begins like the other; only the whole text may match.
    ASSERT_EQ(Read("roof cover, large;R2;69\nroof cover;R1;45\n").status, ListReadStatus::Clean);
    const std::vector<std::string> expected = {"Dach, groß", "Dach"};
    EXPECT_EQ(Designations(), expected);
    EXPECT_EQ(m_table.Find("Dach")->orderNumber, "R1");
    EXPECT_EQ(m_table.Find("Dach, groß")->orderNumber, "R2");
}

TEST_F(PriceListTest, PointAndCommaPricesAreTheSame) {
    ASSERT_EQ(Read("tube, 35 cm, red;A;1,95\ntube, 75 cm, red;B;1.95\ntube, 15 cm, red;C;-,5\n"
                   "tube, 25 cm, red;D;+2\ntube, 10 cm, red;E;3.\ntube, 15 cm, blue;F;+-0.25\n")
                  .status,
              ListReadStatus::Clean);
    EXPECT_EQ(m_table.GetAt(0)->price, 1.95);
    EXPECT_EQ(m_table.GetAt(1)->price, 1.95);
    EXPECT_EQ(m_table.GetAt(2)->price, -0.5);
    EXPECT_EQ(m_table.GetAt(3)->price, 2.0);
    EXPECT_EQ(m_table.GetAt(4)->price, 3.0);
    EXPECT_EQ(m_table.GetAt(5)->price, -0.25);
}

TEST_F(PriceListTest, WhiteSpaceBeforeFieldsIsSkippedAndInsideKept) {
    ASSERT_EQ(
        Read("\n  \t tube, 35 cm, red;  A 1 ;\t 1.95 \t\r\n\r\n\f\ntube bend, red;B;2\n").status,
        ListReadStatus::Clean);
    ASSERT_EQ(m_table.Size(), 2u);
    EXPECT_EQ(m_table.GetAt(0)->designation, "Rohr, 35 cm, rot");
    EXPECT_EQ(m_table.GetAt(0)->orderNumber, "A 1 ");
    EXPECT_EQ(m_table.GetAt(1)->sortKey, 1);
}

TEST_F(PriceListTest, MalformedLinesAreReportedByNumberAndSkipped) {
    const std::string longName(1025, 'x');
    const std::string text = "tube, 10 cm, red;A;1\n"        // 1 good
                             "tube, 15 cm, red;B\n"          // 2 no price field
                             "tube, 25 cm, red;C;\n"         // 3 empty price
                             "tube, 35 cm, red\n"            // 4 one field
                             "tube, 75 cm, red;E;1,2,3\n"    // 5 two decimal characters
                             "tube, 10 cm, blue;F;1.5 EUR\n" // 6 text after the price
                             "tube, 15 cm, blue;G;1e3\n"     // 7 exponent
                             "tube, 25 cm, blue;H;nan\n"     // 8 no number
                             "tube, 35 cm, blue;I;inf\n"     // 9 no number
                             "tube, 75 cm, blue;J;1;2\n"     // 10 a fourth field
                             "tube, 10 cm, green;" +
                             longName + ";1\n" // 11 order number too long
                             + longName +
                             ";K;1\n" // 12 designation too long
                             "tube, 15 cm, green;L;" +
                             std::string(400, '9') +
                             "\n"                       // 13 range
                             "tube, 25 cm, green;M;-\n" // 14 a sign alone
                             "tube, 10 cm, yellow;O;1" +
                             std::string(308, '0') + // 15 finite, but no price
                             "\n"
                             "tube, 15 cm, yellow;P;-1000000000000000.5\n" // 16 beyond the limit
                             "tube, 25 cm, yellow;Q;-1000000000000000\n"   // 17 good
                             "tube, 35 cm, green;N;2.50\n";                // 18 good
    const SListReadResult result = Read(text);
    EXPECT_EQ(result.status, ListReadStatus::SkippedLines);
    EXPECT_TRUE(result.IsLoaded());
    const std::vector<SSkippedLine> expected = {
        {2, ListLineFault::MissingField},      {3, ListLineFault::BadNumber},
        {4, ListLineFault::MissingField},      {5, ListLineFault::BadNumber},
        {6, ListLineFault::BadNumber},         {7, ListLineFault::BadNumber},
        {8, ListLineFault::BadNumber},         {9, ListLineFault::BadNumber},
        {10, ListLineFault::BadNumber},        {11, ListLineFault::FieldTooLong},
        {12, ListLineFault::FieldTooLong},     {13, ListLineFault::NumberOutOfRange},
        {14, ListLineFault::BadNumber},        {15, ListLineFault::NumberOutOfRange},
        {16, ListLineFault::NumberOutOfRange},
    };
    EXPECT_EQ(result.skippedLines, expected);
    // The lines after each malformed one keep their own fields.
    const std::vector<std::string> designations = {"Rohr, 10 cm, rot", "Rohr, 25 cm, gelb",
                                                   "Rohr, 35 cm, grün"};
    EXPECT_EQ(Designations(), designations);
    EXPECT_EQ(m_table.GetAt(1)->price, -1e15);
    EXPECT_EQ(m_table.GetAt(2)->orderNumber, "N");
    EXPECT_EQ(m_table.GetAt(2)->price, 2.5);
    EXPECT_EQ(m_table.GetAt(2)->sortKey, 2);
    // One box names the file and the lines.
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const std::string& box = TestUi().Boxes()[0].text;
    EXPECT_NE(box.find(m_folder.File("list.zpl")), std::string::npos) << box;
    EXPECT_NE(box.find("2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16"), std::string::npos)
        << box;
}

TEST_F(PriceListTest, AMissingFieldNeverShiftsTheNextLine) {
    // Read as one stream of fields, the line without a price would take the next line's
    // designation as its price text and shift everything after it.
    const SListReadResult result = Read("tube, 35 cm, red;A\n"
                                        "tube, 75 cm, red;B;7.50\n"
                                        "tube, 15 cm, red;C;1.50\n");
    ASSERT_EQ(result.skippedLines.size(), 1u);
    EXPECT_EQ(result.skippedLines[0].line, 1);
    ASSERT_EQ(m_table.Size(), 2u);
    EXPECT_EQ(m_table.GetAt(0)->designation, "Rohr, 75 cm, rot");
    EXPECT_EQ(m_table.GetAt(0)->orderNumber, "B");
    EXPECT_EQ(m_table.GetAt(0)->price, 7.5);
    EXPECT_EQ(m_table.GetAt(1)->designation, "Rohr, 15 cm, rot");
    EXPECT_EQ(m_table.GetAt(1)->orderNumber, "C");
}

TEST_F(PriceListTest, LinesWithANulOrBeyondTheLengthLimitAreSkipped) {
    std::string text = "tube, 35 cm, red;A;1\n";
    text += std::string("tube, 75 cm,\0 red;B;2\n", 22);
    text += "tube, 15 cm, red;C;" + std::string(ListLineMaxLength, '1') + "\n";
    text += "tube, 25 cm, red;D;4\n";
    const SListReadResult result = Read(text);
    const std::vector<SSkippedLine> expected = {{2, ListLineFault::NulCharacter},
                                                {3, ListLineFault::LineTooLong}};
    EXPECT_EQ(result.skippedLines, expected);
    const std::vector<std::string> designations = {"Rohr, 35 cm, rot", "Rohr, 25 cm, rot"};
    EXPECT_EQ(Designations(), designations);
}

TEST_F(PriceListTest, ManySkippedLinesAreSummedUpInOneBox) {
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "broken\n";
    }
    text += "tube, 75 cm, red;B;2\n";
    const SListReadResult result = Read(text);
    EXPECT_EQ(result.status, ListReadStatus::SkippedLines);
    EXPECT_EQ(result.skippedLines.size(), 30u);
    EXPECT_EQ(Designations(), std::vector<std::string>{"Rohr, 75 cm, rot"});
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("20 (+10)"), std::string::npos)
        << TestUi().Boxes()[0].text;
}

TEST_F(PriceListTest, AnUntranslatableDesignationIsAskedAboutAndOkSkipsIt) {
    TestUi().QueueAnswer(MsgAnswer::Ok);
    const SListReadResult result = Read("tube, 35 cm, red;A;1\nspaceship, red;X;9\n"
                                        "tube, 75 cm, red;B;2\n");
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_EQ(result.ignoredLines, 1);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Der Artikelname:\nspaceship, red\nin der Preisliste (*.zpl) konnte nicht "
              "interpretiert werden. Der Artikel wird ignoriert.");
    EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::OkCancel);
    const std::vector<std::string> designations = {"Rohr, 35 cm, rot", "Rohr, 75 cm, rot"};
    EXPECT_EQ(Designations(), designations);
    EXPECT_EQ(m_table.GetAt(1)->sortKey, 1);
}

TEST_F(PriceListTest, CancelOnAnUntranslatableDesignationKeepsTheOldTable) {
    FillOldTable();
    const CPartsTable before = m_table;
    TestUi().QueueAnswer(MsgAnswer::Cancel);
    const SListReadResult result =
        Read("tube, 35 cm, red;A;1\n%s;X;9\ntube, 75 cm, red;B;2\n", true);
    EXPECT_EQ(result.status, ListReadStatus::Failed);
    EXPECT_TRUE(m_table == before);
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), "");
}

TEST_F(PriceListTest, AFileOfWhichNoLineCanBeReadIsNoPriceListAndKeepsTheOldPrices) {
    // A stock list, a design and lines whose designations the user chose to skip: each has
    // lines, and not one of them gives an article.
    const std::string files[] = {"tube, 35 cm, red;12\nroof cover;2\n",
                                 "ZARNEL 1\n{ tube 350 }\n\n", "spaceship;X;9\nrocket;Y;8\n"};
    for (const std::string& text : files) {
        SCOPED_TRACE(text);
        FillOldTable();
        const CPartsTable before = m_table;
        TestUi().Reset(); // untranslatable designations are skipped: OK
        const SListReadResult result = Read(text, true);
        EXPECT_EQ(result.status, ListReadStatus::NotAList);
        EXPECT_FALSE(result.IsLoaded());
        EXPECT_TRUE(m_table == before);
        EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), "");
        // One box says what the file is not, instead of the numbers of all its lines.
        ASSERT_FALSE(TestUi().Boxes().empty());
        EXPECT_EQ(TestUi().Boxes().back().text, "Die Datei\n" + m_folder.File("list.zpl") +
                                                    "\nist keine Preisliste (*.zpl): keine ihrer "
                                                    "Zeilen konnte gelesen werden. Die bisherigen "
                                                    "Preise bleiben erhalten.");
        m_table = CPartsTable();
    }
}

TEST_F(PriceListTest, AFileThatCannotBeOpenedKeepsTheOldTableSilently) {
    FillOldTable();
    const CPartsTable before = m_table;
    const SListReadResult result = ReadPriceList(m_table, m_folder.File("missing.zpl"), true);
    EXPECT_EQ(result.status, ListReadStatus::Failed);
    EXPECT_FALSE(result.IsLoaded());
    EXPECT_TRUE(m_table == before);
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), "");
}

TEST_F(PriceListTest, ASuccessfulReadReplacesTheWholeTable) {
    FillOldTable();
    ASSERT_TRUE(Read("tube, 75 cm, red;B;2\n").IsLoaded());
    const std::vector<std::string> designations = {"Rohr, 75 cm, rot"};
    EXPECT_EQ(Designations(), designations);
    // An empty list is a list too.
    ASSERT_EQ(Read("").status, ListReadStatus::Clean);
    EXPECT_TRUE(m_table.IsEmpty());
}

TEST_F(PriceListTest, TheReadersPathIsStoredOnlyWhenAsked) {
    ASSERT_TRUE(Read("tube, 75 cm, red;B;2\n", false).IsLoaded());
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), "");
    ASSERT_TRUE(Read("tube, 75 cm, red;B;2\nbroken\n", true).IsLoaded());
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), m_folder.File("list.zpl"));
}

TEST_F(PriceListTest, AReaderOverTextReadsTheSame) {
    const char* text = "tube, 35 cm, red;A;1,95\n";
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text, "memory", '\0', ReadErrors::Quiet, ReadOptions::DropCr));
    EXPECT_EQ(ReadPriceList(m_table, reader).status, ListReadStatus::Clean);
    ASSERT_NE(m_table.Find("Rohr, 35 cm, rot"), nullptr);
    EXPECT_EQ(m_table.Find("Rohr, 35 cm, rot")->price, 1.95);
}

TEST_F(PriceListTest, TheDefaultListIsNamedByTheUsersSettingsThenTheMachines) {
    const std::string machineList = m_folder.Write("machine.zpl", "tube bend, red;M;1\n");
    const std::string userList = m_folder.Write("user.zpl", "tube bend, blue;U;1\n");
    SettingsStore machine(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine);
    ASSERT_TRUE(
        machine.WriteValue(ListFilesKey, "OrdrCodeFile", SettingValue::String(machineList)));
    EXPECT_EQ(LoadDefaultPriceList(m_table), ListReadStatus::Clean);
    EXPECT_NE(m_table.Find("Rohrbogen, rot"), nullptr);
    // The path of the list taken is now the user's default.
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), machineList);

    ASSERT_TRUE(WriteProfileString(ListFilesSection, "OrdrCodeFile", userList));
    EXPECT_EQ(LoadDefaultPriceList(m_table), ListReadStatus::Clean);
    EXPECT_NE(m_table.Find("Rohrbogen, blau"), nullptr);
    EXPECT_EQ(m_table.Find("Rohrbogen, rot"), nullptr);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(PriceListTest, WithoutSettingsTheDefaultListIsZarnelZplInTheWorkingFolder) {
    m_folder.Write("Zarnel.zpl", "tube cap, black;T;0.45\n");
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.Path());
    const ListReadStatus status = LoadDefaultPriceList(m_table);
    std::filesystem::current_path(saved);
    EXPECT_EQ(status, ListReadStatus::Clean);
    EXPECT_NE(m_table.Find("Rohrkappe, schwarz"), nullptr);
}

TEST_F(PriceListTest, AMissingDefaultListAsksAndNoLeavesTheTable) {
    WriteProfileString(ListFilesSection, "OrdrCodeFile", m_folder.File("gone.zpl"));
    FillOldTable();
    const CPartsTable before = m_table;
    TestUi().QueueAnswer(MsgAnswer::No);
    EXPECT_EQ(LoadDefaultPriceList(m_table), ListReadStatus::Failed);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Die Preisliste (*.zpl) konnte nicht gefunden werden. Ohne diese Datei können keine "
              "Bestellnummern und Preise angezeigt werden. \nMöchten Sie eine Preisliste von Hand "
              "auswählen ?\n");
    EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(TestUi().FileDialogs().empty());
    EXPECT_TRUE(m_table == before);
}

TEST_F(PriceListTest, AMissingDefaultListAsksUntilAChosenFileIsRead) {
    WriteProfileString(ListFilesSection, "OrdrCodeFile", m_folder.File("gone.zpl"));
    const std::string chosen = m_folder.Write("chosen.zpl", "bag, red;S;19.90\n");
    TestUi().QueueAnswer(MsgAnswer::Yes);
    TestUi().QueueFileChoice(m_folder.File("also-gone.zpl"));
    TestUi().QueueAnswer(MsgAnswer::Yes);
    TestUi().QueueFileChoice(chosen);
    EXPECT_EQ(LoadDefaultPriceList(m_table), ListReadStatus::Clean);
    EXPECT_EQ(TestUi().Boxes().size(), 2u);
    ASSERT_EQ(TestUi().FileDialogs().size(), 2u);
    const FileChoice& dialog = TestUi().FileDialogs()[0];
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.defaultExtension, "zpl");
    EXPECT_EQ(dialog.filter, "Zarnel Preisliste (*.zpl)|*.zpl");
    EXPECT_EQ(dialog.initialPath, "");
    EXPECT_NE(m_table.Find("Spielsack, rot"), nullptr);
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), chosen);
}

TEST_F(PriceListTest, ACancelledFileDialogEndsTheDefaultLoader) {
    TestUi().QueueAnswer(MsgAnswer::Yes);
    TestUi().QueueFileChoice("");
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.Path()); // no Zarnel.zpl here
    const ListReadStatus status = LoadDefaultPriceList(m_table);
    std::filesystem::current_path(saved);
    EXPECT_EQ(status, ListReadStatus::Failed);
    EXPECT_EQ(TestUi().FileDialogs().size(), 1u);
}

} // namespace
