// The document's price and stock list reading: a list taken replaces the table, the design is
// recounted into it and every view is told; a list refused leaves the table and the views
// alone; views keep designations, not entries, across the update.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Coupling.h"
#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"
#include "support/Profile.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

// A view that looks its entry up by designation at every update, as the parts list view does.
class CEntryWatcher : public CDcmtObserver {
public:
    CEntryWatcher(CZarnelDcmt& dcmt, std::string designation)
        : m_dcmt(dcmt), m_designation(std::move(designation)) {
        m_dcmt.AddObserver(*this);
    }
    ~CEntryWatcher() override { m_dcmt.RemoveObserver(*this); }

    void OnUpdate(ViewHint hint) override {
        m_hints.push_back(hint);
        const SPartEntry* entry = m_dcmt.GetPartsTable().Find(m_designation);
        m_price = entry != nullptr ? entry->price : -1.0;
        m_count = entry != nullptr ? entry->count : -1;
    }

    std::vector<ViewHint> m_hints;
    double m_price = -1.0;
    int32_t m_count = -1;

private:
    CZarnelDcmt& m_dcmt;
    std::string m_designation;
};

class DcmtListsTest : public ::testing::Test {
protected:
    DcmtListsTest() {
        SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
        user.DeleteKeyTree(ListFilesKey);
        user.WriteValue(ListFilesKey, "OrdrCodeFile",
                        SettingValue::String(m_folder.Write("default.zpl", "tube, 35 cm, red;"
                                                                           "D35;1.00\n")));
        user.WriteValue(
            ListFilesKey, "NmbrAvlFile",
            SettingValue::String(m_folder.Write("default.zbl", "tube, 35 cm, red;3\n")));
        m_dcmt = std::make_unique<CZarnelDcmt>();
        const Revision r = m_dcmt->NewRevision();
        for (int i = 0; i < 2; ++i) {
            m_dcmt->AddElement(std::make_unique<CElmnt>(m_dcmt->GetIdSource(), r, ElmntKind::Tube,
                                                        2, 350.0f, 0.0f));
        }
        m_dcmt->UpdatePartsList();
    }
    ~DcmtListsTest() override {
        SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
            .DeleteKeyTree(ListFilesKey);
    }

    TempFolder m_folder;
    std::unique_ptr<CZarnelDcmt> m_dcmt;
};

TEST_F(DcmtListsTest, APriceListTakenIsRecountedAndShownEverywhere) {
    CEntryWatcher first(*m_dcmt, "Rohr, 35 cm, rot");
    CEntryWatcher second(*m_dcmt, "Rohr, 35 cm, rot");
    const std::string path =
        m_folder.Write("new.zpl", "tube bend, red;B;6.90\ntube, 35 cm, red;N35;2.25\n");
    const SListReadResult result = m_dcmt->ReadPriceList(path, true);
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    for (const CEntryWatcher* view : {&first, &second}) {
        EXPECT_EQ(view->m_hints, std::vector<ViewHint>{ViewHint::Everything});
        EXPECT_EQ(view->m_price, 2.25);
        EXPECT_EQ(view->m_count, 2);
    }
    const SPartEntry* entry = m_dcmt->GetPartsTable().Find("Rohr, 35 cm, rot");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->sortKey, 1);
    EXPECT_EQ(entry->available, 0) << "stock comes with the next stock list";
    EXPECT_EQ(GetProfileString(ListFilesSection, "OrdrCodeFile"), path);
}

TEST_F(DcmtListsTest, APriceListRefusedLeavesTableAndViewsAlone) {
    CEntryWatcher view(*m_dcmt, "Rohr, 35 cm, rot");
    const CPartsTable before = m_dcmt->GetPartsTable();
    EXPECT_FALSE(m_dcmt->ReadPriceList(m_folder.File("missing.zpl"), true).IsLoaded());
    TestUi().QueueAnswer(MsgAnswer::Cancel);
    EXPECT_FALSE(
        m_dcmt->ReadPriceList(m_folder.Write("bad.zpl", "kite;K;1\ntube, 35 cm, red;X;9\n"), true)
            .IsLoaded());
    EXPECT_TRUE(m_dcmt->GetPartsTable() == before);
    EXPECT_TRUE(view.m_hints.empty());
    const SPartEntry* entry = m_dcmt->GetPartsTable().Find("Rohr, 35 cm, rot");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->orderNumber, "D35");
    EXPECT_EQ(entry->count, 2);
    EXPECT_EQ(entry->available, 3);
}

TEST_F(DcmtListsTest, StockListsSetAndAddCounts) {
    const std::string path = m_folder.Write("more.zbl", "tube, 35 cm, red;5\n");
    EXPECT_EQ(m_dcmt->ReadStockList(path, false, true).status, ListReadStatus::Clean);
    EXPECT_EQ(m_dcmt->GetPartsTable().Find("Rohr, 35 cm, rot")->available, 8);
    EXPECT_EQ(m_dcmt->ReadStockList(path, true, false).status, ListReadStatus::Clean);
    EXPECT_EQ(m_dcmt->GetPartsTable().Find("Rohr, 35 cm, rot")->available, 5);
    EXPECT_EQ(GetProfileString(ListFilesSection, "NmbrAvlFile"), path);
    // Recounting keeps what the lists gave.
    m_dcmt->OnEditUndo(1, CouplingSnap::NormalSq);
    const SPartEntry* entry = m_dcmt->GetPartsTable().Find("Rohr, 35 cm, rot");
    EXPECT_EQ(entry->count, 0);
    EXPECT_EQ(entry->available, 5);
    EXPECT_EQ(entry->orderNumber, "D35");
}

} // namespace
