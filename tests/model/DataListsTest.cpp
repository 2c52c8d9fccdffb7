// The default price list and stock list in data/: read back without a skipped line or a
// question, and naming every article designation that the catalogue gives with the default
// materials and the sizes that the part tools place.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ArticleDesignation.h"
#include "model/Elmnt.h"
#include "model/ListFile.h"
#include "model/Mtrl.h"
#include "model/PartsTable.h"
#include "model/PriceList.h"
#include "model/StockList.h"
#include "support/FileRead.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

const std::string PricesPath = std::string(ZARNEL_DATA_DIR) + "/prices.zpl";
const std::string StockPath = std::string(ZARNEL_DATA_DIR) + "/stock.zbl";

// Sizes (length, second size in mm) that the part tools give each kind whose designation shows
// sizes: tube lengths 10 to 75 cm, bolts 5 and 15 cm, profiles 60 and 80 cm and their
// connector 40 cm, and the panels as the two-click panel tools make them (length = panel
// height, second size = panel width).
const std::map<ElmntKind, std::vector<std::pair<float, float>>> ToolSizes = {
    {ElmntKind::Tube, {{100, 0}, {150, 0}, {250, 0}, {350, 0}, {750, 0}}},
    {ElmntKind::Bolt, {{150, 0}, {50, 0}}},
    {ElmntKind::Alu, {{600, 0}, {800, 0}}},
    {ElmntKind::AluConnector, {{400, 0}}},
    {ElmntKind::Panel, {{250, 250}, {350, 350}, {150, 350}, {350, 150}}},
    {ElmntKind::ChairSeatBack, {{150, 250}}},
    {ElmntKind::Display, {{350, 350}}},
    {ElmntKind::Wood, {{350, 350}, {350, 750}}},
    {ElmntKind::WoodKnob, {{350, 350}, {350, 750}}},
    {ElmntKind::RoundWood, {{350, 350}}},
    {ElmntKind::Lattice, {{450, 450}}},
    {ElmntKind::WoodBed, {{350, 750}}},
};

std::vector<std::string> DefaultMaterialNames() {
    std::vector<std::string> names;
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        names.push_back(CMtrl::CreateDefault(slot)->GetName());
    }
    return names;
}

// Every designation the catalogue gives with the default materials and the tool sizes.
std::set<std::string> CatalogueDesignations() {
    std::set<std::string> out;
    const std::vector<std::string> materials = DefaultMaterialNames();
    CElmntIdSource ids;
    for (const SKindInfo& info : GetKindCatalogue()) {
        std::vector<std::pair<float, float>> sizes = {{0, 0}};
        const auto listed = ToolSizes.find(info.kind);
        if (listed != ToolSizes.end()) {
            sizes = listed->second;
        }
        for (const auto& [length, secondSize] : sizes) {
            CElmnt elmnt(ids, 0, info.kind, 1, length, secondSize);
            for (uint32_t arms = 0; arms < 64; ++arms) {
                EXPECT_TRUE(elmnt.SetOccupiedArms(arms));
                const uint32_t id = GetDesignationId(elmnt);
                if (id != 0 && GetDesignationSizes(id) != DesignationSizes::None) {
                    EXPECT_NE(listed, ToolSizes.end()) << info.keyword << " shows sizes";
                }
                for (const std::string& material : materials) {
                    const std::string name = GetArticleName(elmnt, material);
                    if (!name.empty()) {
                        out.insert(name);
                    }
                }
            }
        }
    }
    return out;
}

// The German designations that a stock list file names.
std::set<std::string> StockDesignations(const std::string& path) {
    std::set<std::string> out;
    CFileRead reader;
    EXPECT_TRUE(OpenListFile(reader, path));
    CListLineReader lines(reader);
    const CTextTrns translator = MakeListReadTranslator();
    std::string line;
    while (lines.Next(line)) {
        std::string_view rest = line;
        const std::optional<std::string_view> field = TakeListField(rest);
        std::string german;
        if (field && translator.Translate(std::string(*field), german)) {
            out.insert(german);
        }
    }
    return out;
}

TEST(DataLists, ThePriceListReadsCleanAndNamesEveryArticle) {
    CPartsTable table;
    const SListReadResult result = ReadPriceList(table, PricesPath, false);
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_EQ(result.ignoredLines, 0);
    EXPECT_TRUE(TestUi().Boxes().empty());

    const std::set<std::string> designations = CatalogueDesignations();
    // Tubes of 5 lengths, 8 connectors, 3 hole couplings, ... in 8 colour names, two roofs.
    EXPECT_GT(designations.size(), 400u);
    for (const std::string& designation : designations) {
        const SPartEntry* entry = table.Find(designation);
        ASSERT_NE(entry, nullptr) << designation;
        EXPECT_FALSE(entry->orderNumber.empty()) << designation;
        EXPECT_GE(entry->price, 0.0) << designation;
    }
    // Each article once, and nothing that the program cannot count.
    EXPECT_EQ(table.Size(), designations.size());
    std::set<std::string> orderNumbers;
    for (const SPartEntry& entry : table) {
        EXPECT_TRUE(designations.contains(entry.designation)) << entry.designation;
        EXPECT_TRUE(orderNumbers.insert(entry.orderNumber).second) << entry.orderNumber;
    }
}

TEST(DataLists, TheStockListReadsCleanAndNamesEveryArticle) {
    CPartsTable table;
    ASSERT_TRUE(ReadPriceList(table, PricesPath, false).IsLoaded());
    const SListReadResult result = ReadStockList(table, StockPath, false, false);
    EXPECT_EQ(result.status, ListReadStatus::Clean);
    EXPECT_EQ(result.ignoredLines, 0);
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(StockDesignations(StockPath), CatalogueDesignations());
    // The starter set is in stock.
    ASSERT_NE(table.Find("Rohr, 35 cm, schwarz"), nullptr);
    EXPECT_GT(table.Find("Rohr, 35 cm, schwarz")->available, 0);
}

} // namespace
