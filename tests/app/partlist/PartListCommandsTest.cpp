// The list file commands of the parts list window through the recording user interface: the
// file dialogs they ask for, what they write and read, the question before stock edits are
// lost, the messages of failures (the old file kept), the boxes of designations that stay
// German, and every window on the design told after a load.
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/partlist/PartListCommands.h"
#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"
#include "support/LocaleNumber.h"
#include "support/Profile.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

class CHintCounter : public CDcmtObserver {
public:
    explicit CHintCounter(CZarnelDcmt& dcmt) : m_dcmt(dcmt) { m_dcmt.AddObserver(*this); }
    ~CHintCounter() override { m_dcmt.RemoveObserver(*this); }
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }

    std::vector<ViewHint> hints;

private:
    CZarnelDcmt& m_dcmt;
};

class PartListCommands : public ::testing::Test {
protected:
    PartListCommands() {
        SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
        user.DeleteKeyTree(ListFilesKey);
        user.WriteValue(ListFilesKey, "OrdrCodeFile",
                        SettingValue::String(m_folder.Write(
                            "default.zpl", "tube bend, red;B;6.90\ntube, 35 cm, red;D35;1.25\n")));
        user.WriteValue(
            ListFilesKey, "NmbrAvlFile",
            SettingValue::String(m_folder.Write("default.zbl", "tube, 35 cm, red;1\n")));
        m_dcmt = std::make_unique<CZarnelDcmt>();
        const Revision r = m_dcmt->NewRevision();
        for (int i = 0; i < 3; ++i) {
            m_dcmt->AddElement(std::make_unique<CElmnt>(m_dcmt->GetIdSource(), r, ElmntKind::Tube,
                                                        2, 350.0f, 0.0f));
        }
        m_dcmt->UpdatePartsList();
        TestUi().Reset();
    }
    ~PartListCommands() override {
        SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
            .DeleteKeyTree(ListFilesKey);
    }

    std::string LastBox() const {
        return TestUi().Boxes().empty() ? std::string() : TestUi().Boxes().back().text;
    }
    const SPartEntry& Tube() const { return *m_dcmt->GetPartsTable().Find("Rohr, 35 cm, rot"); }

    TempFolder m_folder;
    std::unique_ptr<CZarnelDcmt> m_dcmt;
    const std::string m_decimal = std::string(1, LocaleDecimalChar());
};

TEST_F(PartListCommands, ExportAsksForACsvFileAndWritesTheCountedArticles) {
    const std::string path = m_folder.File("teile.csv");
    TestUi().QueueFileChoice(path);
    ExportPartsList(*m_dcmt);
    ASSERT_EQ(TestUi().FileDialogs().size(), 1u);
    const FileChoice& choice = TestUi().FileDialogs()[0];
    EXPECT_TRUE(choice.save);
    EXPECT_EQ(choice.filter, "Excel ASCII-Tabelle (*.csv)|*.csv");
    EXPECT_EQ(choice.defaultExtension, "csv");
    EXPECT_EQ(TempFolder::Read(path),
              "Rohr, 35 cm, rot;3;D35;1" + m_decimal + "25;3" + m_decimal + "75;1\r\n");
    EXPECT_TRUE(TestUi().Boxes().empty());

    // Cancelled: nothing happens.
    TestUi().QueueFileChoice("");
    ExportPartsList(*m_dcmt);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(PartListCommands, FailedWritesAreReportedAndKeepNothingHalfWritten) {
    const std::string missing = m_folder.File("no such folder/list");
    TestUi().QueueFileChoice(missing + ".csv");
    ExportPartsList(*m_dcmt);
    // Each box names the file and the system's reason, as the design save does.
    const std::string reason = std::string("\n") + std::strerror(ENOENT);
    EXPECT_EQ(LastBox(),
              "Excel-Datei konnte nicht geschrieben werden\n" + missing + ".csv" + reason);
    TestUi().QueueFileChoice(missing + ".zpl");
    SavePriceList(*m_dcmt);
    EXPECT_EQ(LastBox(),
              "Die Preisliste konnte nicht geschrieben werden.\n" + missing + ".zpl" + reason);
    TestUi().QueueFileChoice(missing + ".zbl");
    SaveStockList(*m_dcmt);
    EXPECT_EQ(LastBox(),
              "Die Bestandslist konnte nicht geschrieben werden.\n" + missing + ".zbl" + reason);
    ASSERT_EQ(TestUi().Boxes().size(), 3u);
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Exclamation);
}

TEST_F(PartListCommands, SavedListsAreNeutralAndGermanLeftoversReported) {
    // An article that no pattern translates, with stock, so that both lists name it.
    CPartsTable& table = m_dcmt->GetPartsTable();
    table.Append(SPartEntry(5, "Sonderteil", "S1", 3.0));
    ASSERT_TRUE(table.SetAvailable(table.IndexOf("Sonderteil"), 2));

    const std::string prices = m_folder.File("preise.zpl");
    TestUi().QueueFileChoice(prices);
    SavePriceList(*m_dcmt);
    EXPECT_EQ(TestUi().FileDialogs().back().filter, "Zarnel Preisliste (*.zpl)|*.zpl");
    EXPECT_EQ(TestUi().FileDialogs().back().defaultExtension, "zpl");
    EXPECT_EQ(TempFolder::Read(prices), "tube bend, red;B;6" + m_decimal + "90\r\n" +
                                            "tube, 35 cm, red;D35;1" + m_decimal + "25\r\n" +
                                            "Sonderteil;S1;3" + m_decimal + "00\r\n");
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(LastBox(), "Die Artikelbezeichnung\nSonderteil\nkonnt nicht von der Landenssprache "
                         "ins englische Übersetzt werden. In die Datei wird die Bezeichnung in "
                         "der Landessprache ausgegeben.");

    const std::string stock = m_folder.File("bestand.zbl");
    TestUi().QueueFileChoice(stock);
    SaveStockList(*m_dcmt);
    EXPECT_EQ(TestUi().FileDialogs().back().defaultExtension, "zbl");
    EXPECT_EQ(TempFolder::Read(stock), "tube, 35 cm, red;1\r\nSonderteil;2\r\n");
    EXPECT_EQ(TestUi().Boxes().size(), 2u);
}

TEST_F(PartListCommands, LoadingAPriceListAfterStockEditsAsksFirst) {
    CHintCounter view(*m_dcmt);
    const std::string path = m_folder.Write("neu.zpl", "tube, 35 cm, red;N35;2.50\n");

    TestUi().QueueAnswer(MsgAnswer::No);
    EXPECT_FALSE(LoadPriceList(*m_dcmt, true));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(TestUi().Boxes()[0].text.rfind("Durch das laden einer Preisliste", 0), 0u);
    EXPECT_TRUE(TestUi().FileDialogs().empty());
    EXPECT_EQ(Tube().orderNumber, "D35");

    TestUi().QueueAnswer(MsgAnswer::Yes);
    TestUi().QueueFileChoice(path);
    EXPECT_TRUE(LoadPriceList(*m_dcmt, true));
    EXPECT_EQ(TestUi().FileDialogs().back().defaultExtension, "zpl");
    // The new list in the table, the design recounted into it, the default stock read again.
    EXPECT_EQ(m_dcmt->GetPartsTable().Size(), 1u);
    EXPECT_EQ(Tube().orderNumber, "N35");
    EXPECT_EQ(Tube().count, 3);
    EXPECT_EQ(Tube().available, 1);
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), path);
    ASSERT_FALSE(view.hints.empty());
    EXPECT_EQ(view.hints.back(), ViewHint::Everything);

    // Without stock edits no question; a list that cannot be read is reported.
    TestUi().QueueFileChoice(m_folder.File("fehlt.zpl"));
    EXPECT_FALSE(LoadPriceList(*m_dcmt, false));
    EXPECT_EQ(LastBox(), "Die Preisliste konnte nicht geladen werden.");
    EXPECT_EQ(Tube().orderNumber, "N35");
}

TEST_F(PartListCommands, StockListsLoadedReplaceAndAddedAdd) {
    CHintCounter view(*m_dcmt);
    const std::string path = m_folder.Write("mehr.zbl", "tube, 35 cm, red;4\n");
    TestUi().QueueFileChoice(path);
    EXPECT_TRUE(LoadStockList(*m_dcmt, true));
    EXPECT_EQ(TestUi().FileDialogs().back().filter, "Zarnel Bestandsliste (*.zbl)|*.zbl");
    EXPECT_EQ(Tube().available, 5);
    // Adding does not make the list the default; loading does.
    EXPECT_NE(GetProfileString(ListFilesSection, "NmbrAvlFile"), path);
    TestUi().QueueFileChoice(path);
    EXPECT_TRUE(LoadStockList(*m_dcmt, false));
    EXPECT_EQ(Tube().available, 4);
    EXPECT_EQ(GetProfileString(ListFilesSection, "NmbrAvlFile"), path);
    EXPECT_EQ(view.hints, (std::vector<ViewHint>{ViewHint::Everything, ViewHint::Everything}));

    TestUi().QueueFileChoice(m_folder.File("fehlt.zbl"));
    EXPECT_FALSE(LoadStockList(*m_dcmt, true));
    EXPECT_EQ(LastBox(), "Die Bestandsliste konnte nicht geladen werden.");
    EXPECT_EQ(Tube().available, 4);
    EXPECT_EQ(view.hints.size(), 2u);
}

TEST_F(PartListCommands, AWrongFileChosenAsAListChangesNoPriceAndNoCount) {
    CHintCounter view(*m_dcmt);
    ASSERT_EQ(m_dcmt->LoadDefaultStockList(), ListReadStatus::Clean);
    const std::string design = m_folder.Write("modell.zdf", "ZARNEL\n{ Elemente 3 }\n");
    TestUi().QueueFileChoice(design);
    EXPECT_FALSE(LoadPriceList(*m_dcmt, false));
    TestUi().QueueFileChoice(design);
    EXPECT_FALSE(LoadStockList(*m_dcmt, false));
    // One box each, saying what the file is not; the prices and counts are as they were.
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("ist keine Preisliste"), std::string::npos);
    EXPECT_NE(TestUi().Boxes()[1].text.find("ist keine Bestandsliste"), std::string::npos);
    EXPECT_EQ(Tube().orderNumber, "D35");
    EXPECT_EQ(Tube().price, 1.25);
    EXPECT_EQ(Tube().available, 1);
    EXPECT_TRUE(view.hints.empty());
}

} // namespace
