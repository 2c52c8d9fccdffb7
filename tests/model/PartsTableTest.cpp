// The parts table: counts of a design at a revision (dead states not counted, floating ones
// counted), entries that stay at count 0, articles outside the price list, the sort order, and
// lookups by designation that survive a recount.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Elmnt.h"
#include "model/ElmntList.h"
#include "model/PartsTable.h"

namespace {

// The German names of the default materials by slot (1 to 14); the other slots are empty.
std::string_view DefaultName(int32_t slot) {
    static const std::array<std::string_view, 15> names = {
        "",     "schwarz", "rot",     "grün", "blau",    "gelb", "rot", "grün",
        "blau", "gelb",    "Spiegel", "Alu",  "schwarz", "weiß", "weiß"};
    return slot >= 0 && slot < static_cast<int32_t>(names.size()) ? names[slot] : "";
}

class PartsTableTest : public ::testing::Test {
protected:
    // Appends a state alive from first to end.
    CElmnt& Add(ElmntKind kind, int32_t material, float length, float secondSize = 0.0f,
                Revision first = 0, Revision end = RevisionOpen) {
        auto elmnt = std::make_unique<CElmnt>(m_ids, first, kind, material, length, secondSize);
        elmnt->endRevision = end;
        return m_list.Append(std::move(elmnt));
    }
    CElmnt& AddConnector(uint32_t arms, int32_t material, Revision first = 0) {
        CElmnt& c = Add(ElmntKind::Connector, material, 0, 0, first);
        EXPECT_TRUE(c.SetOccupiedArms(arms));
        return c;
    }
    void Recount(Revision revision) { m_table.Recount(m_list, revision, DefaultName); }
    int32_t CountOf(const std::string& designation) const {
        const SPartEntry* entry = m_table.Find(designation);
        return entry != nullptr ? entry->count : -1;
    }
    std::vector<std::string> Designations() const {
        std::vector<std::string> out;
        for (const SPartEntry& entry : m_table) {
            out.push_back(entry.designation);
        }
        return out;
    }

    CElmntIdSource m_ids;
    CElmntList m_list;
    CPartsTable m_table;
};

TEST_F(PartsTableTest, AnEmptyDesignCountsNothing) {
    AddConnector(0, 1);                 // the start coupling has no occupied arm
    Add(ElmntKind::FloorGrid, 1, 0.0f); // the floor grid is no article
    Recount(0);
    EXPECT_TRUE(m_table.IsEmpty());
}

TEST_F(PartsTableTest, EqualArticlesShareOneEntry) {
    Add(ElmntKind::Tube, 2, 350.0f);
    Add(ElmntKind::Tube, 2, 350.0f);
    Add(ElmntKind::Tube, 6, 350.0f); // another slot with the same name: the same article
    Add(ElmntKind::Tube, 3, 350.0f);
    AddConnector(3, 1);
    Recount(0);
    ASSERT_EQ(m_table.Size(), 3u);
    EXPECT_EQ(CountOf("Rohr, 35 cm, rot"), 3);
    EXPECT_EQ(CountOf("Rohr, 35 cm, grün"), 1);
    EXPECT_EQ(CountOf("Gerade Kupplung, 2-armig, schwarz"), 1);
    const SPartEntry* tube = m_table.Find("Rohr, 35 cm, rot");
    ASSERT_NE(tube, nullptr);
    EXPECT_EQ(tube->sortKey, SPartEntry::NotInPriceList);
    EXPECT_EQ(tube->orderNumber, "");
    EXPECT_EQ(tube->price, 0.0);
    EXPECT_EQ(tube->available, 0);
}

TEST_F(PartsTableTest, OnlyStatesAliveAtTheRevisionCount) {
    // Revision 1 places a tube; revision 2 changes it (old state ends, new state begins);
    // revision 3 deletes it.
    Add(ElmntKind::Tube, 2, 350.0f, 0, 1, 2);
    Add(ElmntKind::Tube, 2, 750.0f, 0, 2, 3);
    Add(ElmntKind::Tube, 2, 150.0f, 0, 1); // stays

    Recount(0);
    EXPECT_TRUE(m_table.IsEmpty());

    Recount(1);
    EXPECT_EQ(CountOf("Rohr, 35 cm, rot"), 1);
    EXPECT_EQ(CountOf("Rohr, 15 cm, rot"), 1);

    Recount(2);
    EXPECT_EQ(CountOf("Rohr, 35 cm, rot"), 0) << "the entry stays with count 0";
    EXPECT_EQ(CountOf("Rohr, 75 cm, rot"), 1);

    Recount(3);
    EXPECT_EQ(CountOf("Rohr, 35 cm, rot"), 0);
    EXPECT_EQ(CountOf("Rohr, 75 cm, rot"), 0);
    EXPECT_EQ(CountOf("Rohr, 15 cm, rot"), 1);

    // Undo to revision 1 counts the first state again.
    Recount(1);
    EXPECT_EQ(CountOf("Rohr, 35 cm, rot"), 1);
    EXPECT_EQ(CountOf("Rohr, 75 cm, rot"), 0);
    EXPECT_EQ(m_table.Size(), 3u);
}

TEST_F(PartsTableTest, AddingAndRemovingElementsRecounts) {
    CElmnt& first = Add(ElmntKind::Panel, 7, 350.0f, 350.0f);
    Add(ElmntKind::Panel, 7, 350.0f, 350.0f);
    Recount(0);
    EXPECT_EQ(CountOf("Steckplatte, für 35 cm x 35 cm, grün"), 2);

    Add(ElmntKind::Panel, 7, 350.0f, 350.0f);
    Recount(0);
    EXPECT_EQ(CountOf("Steckplatte, für 35 cm x 35 cm, grün"), 3);

    ASSERT_TRUE(m_list.Remove(first));
    Recount(0);
    EXPECT_EQ(CountOf("Steckplatte, für 35 cm x 35 cm, grün"), 2);

    m_list.DeleteAll();
    Recount(0);
    EXPECT_EQ(CountOf("Steckplatte, für 35 cm x 35 cm, grün"), 0);
}

TEST_F(PartsTableTest, FloatingAndSelectedElementsCount) {
    CElmnt& pasted = Add(ElmntKind::Tube, 4, 250.0f);
    pasted.MarkFloating();
    pasted.Select();
    Recount(0);
    EXPECT_EQ(CountOf("Rohr, 25 cm, blau"), 1);
}

TEST_F(PartsTableTest, ChangedArmsAndMaterialsMoveTheCount) {
    CElmnt& coupling = AddConnector(3, 1);
    Recount(0);
    EXPECT_EQ(CountOf("Gerade Kupplung, 2-armig, schwarz"), 1);
    ASSERT_TRUE(coupling.SetOccupiedArms(7));
    Recount(0);
    EXPECT_EQ(CountOf("Gerade Kupplung, 2-armig, schwarz"), 0);
    EXPECT_EQ(CountOf("Flächenkupplung, 3-armig, schwarz"), 1);
    ASSERT_TRUE(coupling.SetMaterial(11));
    Recount(0);
    EXPECT_EQ(CountOf("Flächenkupplung, 3-armig, schwarz"), 0);
    EXPECT_EQ(CountOf("Flächenkupplung, 3-armig, Alu"), 1);
}

TEST_F(PartsTableTest, ElementsWithAnEmptySlotAreCountedWithAnEmptyName) {
    Add(ElmntKind::Tube, 50, 350.0f);
    Recount(0);
    EXPECT_EQ(CountOf("Rohr, 35 cm, "), 1);
}

TEST_F(PartsTableTest, PriceListArticlesComeFirstInListOrderTheRestAlphabetically) {
    m_table.Append(SPartEntry(0, "Rohr, 75 cm, rot", "A-75", 3.5));
    m_table.Append(SPartEntry(1, "Dach", "R-1", 99.0));
    m_table.Append(SPartEntry(2, "Rohr, 35 cm, rot", "A-35", 1.95));
    Add(ElmntKind::Tube, 2, 350.0f);
    Add(ElmntKind::Tube, 4, 350.0f);       // blau: not in the list
    Add(ElmntKind::Bag, 6, 0.0f);          // Spielsack: not in the list
    Add(ElmntKind::Casters, 1, 0.0f);      // Laufrollen: not in the list
    Add(ElmntKind::Connector45, 12, 0.0f); // Winkelkupplung 45°: not in the list
    Recount(0);
    const std::vector<std::string> expected = {
        "Rohr, 75 cm, rot",  "Dach",           "Rohr, 35 cm, rot",           "Laufrollen, schwarz",
        "Rohr, 35 cm, blau", "Spielsack, rot", "Winkelkupplung 45°, schwarz"};
    EXPECT_EQ(Designations(), expected);
    EXPECT_EQ(CountOf("Rohr, 75 cm, rot"), 0);
    EXPECT_EQ(CountOf("Dach"), 0);
    EXPECT_EQ(CountOf("Rohr, 35 cm, rot"), 1);
    const SPartEntry* listed = m_table.Find("Rohr, 35 cm, rot");
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->orderNumber, "A-35");
    EXPECT_EQ(listed->price, 1.95);
    EXPECT_EQ(listed->sortKey, 2);
}

TEST_F(PartsTableTest, SortComparesBytesAndSignedKeys) {
    m_table.Append(SPartEntry("b"));
    m_table.Append(SPartEntry("Z"));
    m_table.Append(SPartEntry("\xC3\xA4")); // ä sorts behind every ASCII letter
    m_table.Append(SPartEntry("a"));
    m_table.Append(SPartEntry(-5, "negative", "", 0.0));
    m_table.Append(SPartEntry(7, "seven", "", 0.0));
    m_table.Append(SPartEntry(0, "zero", "", 0.0));
    m_table.Sort();
    const std::vector<std::string> expected = {"negative", "zero", "seven",   "Z",
                                               "a",        "b",    "\xC3\xA4"};
    EXPECT_EQ(Designations(), expected);
}

TEST_F(PartsTableTest, SortingManyEntriesKeepsEveryEntryOnce) {
    for (int i = 0; i < 1000; ++i) {
        const int key = (i * 7919) % 1000;
        m_table.Append(SPartEntry(key % 3 == 0 ? SPartEntry::NotInPriceList : key,
                                  "article " + std::to_string(key), "", 0.0));
    }
    m_table.Sort();
    ASSERT_EQ(m_table.Size(), 1000u);
    for (std::size_t i = 1; i < m_table.Size(); ++i) {
        const SPartEntry& a = *m_table.GetAt(i - 1);
        const SPartEntry& b = *m_table.GetAt(i);
        ASSERT_TRUE(a.sortKey < b.sortKey ||
                    (a.sortKey == b.sortKey && a.designation < b.designation))
            << i;
    }
    for (int key = 0; key < 1000; ++key) {
        EXPECT_NE(m_table.Find("article " + std::to_string(key)), nullptr) << key;
    }
}

TEST_F(PartsTableTest, EntriesAreFoundByDesignationAndIndexAfterEveryRecount) {
    m_table.Append(SPartEntry(0, "Rohr, 35 cm, rot", "A-35", 1.95));
    Recount(0);
    ASSERT_EQ(m_table.IndexOf("Rohr, 35 cm, rot"), 0u);
    ASSERT_TRUE(m_table.SetEntryValues(0, 12, "B-35", 2.5));
    // Many new articles move the storage; the edited entry keeps its values and is found.
    for (int i = 1; i <= 200; ++i) {
        Add(ElmntKind::Tube, 2, static_cast<float>(i * 10));
    }
    Recount(0);
    const std::size_t index = m_table.IndexOf("Rohr, 35 cm, rot");
    ASSERT_LT(index, m_table.Size());
    const SPartEntry* entry = m_table.GetAt(index);
    EXPECT_EQ(entry->available, 12);
    EXPECT_EQ(entry->orderNumber, "B-35");
    EXPECT_EQ(entry->price, 2.5);
    EXPECT_EQ(entry->count, 1);
    EXPECT_EQ(entry->designation, "Rohr, 35 cm, rot");
    EXPECT_EQ(m_table.IndexOf("nothing"), m_table.Size());
    EXPECT_EQ(m_table.Find("nothing"), nullptr);
    EXPECT_EQ(m_table.GetAt(m_table.Size()), nullptr);
    EXPECT_FALSE(m_table.SetEntryValues(m_table.Size(), 1, "", 0.0));
    EXPECT_FALSE(m_table.SetAvailable(m_table.Size(), 1));
}

TEST_F(PartsTableTest, ADesignationListedTwiceCountsOnItsFirstEntry) {
    m_table.Append(SPartEntry(0, "Rohr, 35 cm, rot", "first", 1.0));
    m_table.Append(SPartEntry(1, "Rohr, 35 cm, rot", "second", 2.0));
    Add(ElmntKind::Tube, 2, 350.0f);
    Recount(0);
    ASSERT_EQ(m_table.Size(), 2u);
    EXPECT_EQ(m_table.GetAt(0)->count, 1);
    EXPECT_EQ(m_table.GetAt(1)->count, 0);
    EXPECT_EQ(m_table.Find("Rohr, 35 cm, rot")->orderNumber, "first");
}

TEST_F(PartsTableTest, ClearEmptiesAndSwapExchanges) {
    m_table.Append(SPartEntry(0, "Dach", "R", 9.0));
    CPartsTable other;
    other.Append(SPartEntry(0, "Dach, groß", "RL", 19.0));
    m_table.Swap(other);
    ASSERT_NE(m_table.Find("Dach, groß"), nullptr);
    EXPECT_EQ(m_table.Find("Dach"), nullptr);
    ASSERT_NE(other.Find("Dach"), nullptr);
    m_table.ClearAvailable();
    m_table.Clear();
    EXPECT_TRUE(m_table.IsEmpty());
    EXPECT_EQ(m_table.Find("Dach, groß"), nullptr);
}

} // namespace
