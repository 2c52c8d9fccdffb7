// What the parts list view and the order form show of the parts table: which articles are
// listed with and without show all, left-over and missing pieces with their prices, the totals,
// and counts that leave the 32-bit range when stock lists name extreme counts.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/PartsSummary.h"
#include "model/PartsTable.h"

namespace {

SPartEntry Entry(int32_t sortKey, const std::string& designation, double price, int32_t count,
                 int32_t available) {
    SPartEntry entry(sortKey, designation, "N" + designation, price);
    entry.count = count;
    entry.available = available;
    return entry;
}

CPartsTable Table() {
    CPartsTable table;
    table.Append(Entry(0, "A", 2.0, 3, 5));  // left over 2
    table.Append(Entry(1, "B", 1.5, 0, 4));  // unused, in stock
    table.Append(Entry(2, "C", 10.0, 4, 1)); // 3 missing
    table.Append(Entry(3, "D", 0.5, 2, 2));  // exactly in stock
    return table;
}

TEST(PartsSummary, RowsAndTotalsOfTheArticlesInTheDesign) {
    const SPartsListSummary summary = SummarizePartsList(Table(), false);
    ASSERT_EQ(summary.rows.size(), 3u);
    EXPECT_EQ(summary.rows[0].index, 0u);
    EXPECT_EQ(summary.rows[1].index, 2u);
    EXPECT_EQ(summary.rows[2].index, 3u);

    const SPartsListRow& a = summary.rows[0];
    EXPECT_TRUE(a.covered);
    EXPECT_EQ(a.leftOver, 2);
    EXPECT_EQ(a.missing, 0);
    EXPECT_EQ(a.totalPrice, 6.0);

    const SPartsListRow& c = summary.rows[1];
    EXPECT_FALSE(c.covered);
    EXPECT_EQ(c.missing, 3);
    EXPECT_EQ(c.missingPrice, 30.0);
    EXPECT_EQ(c.leftOver, 0);

    const SPartsListRow& d = summary.rows[2];
    EXPECT_TRUE(d.covered); // equal counts: 0 left over, nothing missing
    EXPECT_EQ(d.leftOver, 0);
    EXPECT_EQ(d.missing, 0);

    const SPartsListTotals& totals = summary.totals;
    EXPECT_EQ(totals.pieces, 9);
    EXPECT_EQ(totals.totalPrice, 47.0);
    EXPECT_EQ(totals.available, 8);
    EXPECT_EQ(totals.leftOver, 2);
    EXPECT_EQ(totals.missing, 3);
    EXPECT_EQ(totals.missingPrice, 30.0);
}

TEST(PartsSummary, ShowAllListsUnusedArticlesWithTheirStock) {
    const SPartsListSummary summary = SummarizePartsList(Table(), true);
    ASSERT_EQ(summary.rows.size(), 4u);
    EXPECT_EQ(summary.rows[1].index, 1u);
    EXPECT_EQ(summary.rows[1].leftOver, 4);
    EXPECT_EQ(summary.totals.available, 12);
    EXPECT_EQ(summary.totals.leftOver, 6);

    const SPartsListSummary empty = SummarizePartsList(CPartsTable(), false);
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_EQ(empty.totals.pieces, 0);
    EXPECT_EQ(empty.totals.missingPrice, 0.0);
}

TEST(PartsSummary, ExtremeStockCountsDoNotOverflow) {
    CPartsTable table;
    table.Append(Entry(0, "A", 1.0, std::numeric_limits<int32_t>::max(),
                       std::numeric_limits<int32_t>::min()));
    table.Append(Entry(1, "B", 1.0, std::numeric_limits<int32_t>::max(), 0));
    const SPartsListSummary summary = SummarizePartsList(table, false);
    EXPECT_EQ(summary.rows[0].missing, int64_t{0xFFFFFFFF});
    EXPECT_EQ(summary.totals.pieces, int64_t{2} * std::numeric_limits<int32_t>::max());
    EXPECT_EQ(summary.totals.missing, int64_t{0xFFFFFFFF} + std::numeric_limits<int32_t>::max());

    const std::vector<SOrderLine> lines = CollectOrderLines(table, false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].quantity, int64_t{0xFFFFFFFF});
}

TEST(PartsSummary, OrderLinesAreThePiecesMissingFromStock) {
    const std::vector<SOrderLine> shortOnly = CollectOrderLines(Table(), false);
    ASSERT_EQ(shortOnly.size(), 1u);
    EXPECT_EQ(shortOnly[0].designation, "C");
    EXPECT_EQ(shortOnly[0].orderNumber, "NC");
    EXPECT_EQ(shortOnly[0].quantity, 3);
    EXPECT_EQ(shortOnly[0].unitPrice, 10.0);
    EXPECT_EQ(shortOnly[0].amount, 30.0);

    // Show all: every article, those in stock with quantity 0, unused ones too.
    const std::vector<SOrderLine> all = CollectOrderLines(Table(), true);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].quantity, 0);
    EXPECT_EQ(all[0].amount, 0.0);
    EXPECT_EQ(all[1].designation, "B");
    EXPECT_EQ(all[2].quantity, 3);
}

} // namespace
