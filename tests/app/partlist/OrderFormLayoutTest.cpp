// Page breaks of the order form, computed without a printer: how many rows page 1 (with the
// address boxes) and the later pages take, the carry-over sums and positions that run on over
// the pages, a parts table without entries printing nothing, and a page too small for its head
// still ending.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app/partlist/OrderFormLayout.h"

namespace {

// A printer of 600 × 300 units per inch, lines of 50 units, an 11" printable height.
SOrderFormMetrics Metrics() {
    SOrderFormMetrics metrics;
    metrics.resolutionX = 600;
    metrics.resolutionY = 300;
    metrics.lineHeight = 50;
    metrics.titleLineHeight = 100;
    metrics.printableHeight = 3300;
    return metrics;
}

std::vector<SOrderLine> Lines(int count) {
    std::vector<SOrderLine> lines;
    for (int i = 1; i <= count; ++i) {
        SOrderLine line;
        line.quantity = i;
        line.unitPrice = 0.5;
        line.amount = 0.5 * i;
        lines.push_back(line);
    }
    return lines;
}

// Rows that fit: a row whose top lies below printable height - 1" starts a new page.
// Page 1: title at 2.0" (600), date 700, address boxes from 800, their bottom 1270, the header
// at 1320 and the first row at 1390; rows up to a top of 3000: 33. Later pages: header at 850,
// first row at 920: 42 rows.
constexpr int kFirstPageRows = 33;
constexpr int kLaterPageRows = 42;

TEST(OrderFormLayout, MeasuresAcrossAndDownUseTheirOwnResolution) {
    const COrderFormLayout layout(Metrics());
    EXPECT_EQ(layout.X(70), 4200);
    EXPECT_EQ(layout.Y(70), 2100);
    EXPECT_EQ(layout.TitleBottom(), 800);
    EXPECT_EQ(layout.AddressRuleTop(1), 960);
    EXPECT_EQ(layout.AddressBoxBottom(), 1270);
    EXPECT_EQ(layout.FirstRowTop(true), 1390);
    EXPECT_EQ(layout.FirstRowTop(false), 920);
    EXPECT_EQ(layout.RowLimit(), 3000);

    SOrderFormMetrics odd = Metrics();
    odd.resolutionY = 203; // 1.5" = 304.5 units, truncated
    EXPECT_EQ(COrderFormLayout(odd).Y(15), 304);
}

TEST(OrderFormLayout, OneMoreRowThanFitsCarriesOverToPageTwo) {
    const COrderFormLayout layout(Metrics());
    const std::vector<SOrderFormPage> full = PaginateOrderForm(Lines(kFirstPageRows), true, layout);
    ASSERT_EQ(full.size(), 1u);
    EXPECT_TRUE(full[0].last);
    EXPECT_EQ(full[0].endLine, static_cast<std::size_t>(kFirstPageRows));

    const std::vector<SOrderLine> lines = Lines(kFirstPageRows + 1);
    const std::vector<SOrderFormPage> pages = PaginateOrderForm(lines, true, layout);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_FALSE(pages[0].last);
    EXPECT_EQ(pages[0].carriedPieces, 0);
    // The carry-over row of page 1: 1 + 2 + ... + 33.
    EXPECT_EQ(pages[0].pieces, 561);
    EXPECT_DOUBLE_EQ(pages[0].amount, 280.5);
    // Page 2: one row, position 34, brought in what page 1 carried, ends with the sum.
    EXPECT_TRUE(pages[1].last);
    EXPECT_EQ(pages[1].firstLine, 33u);
    EXPECT_EQ(pages[1].endLine, 34u);
    EXPECT_EQ(pages[1].firstPosition, 34);
    EXPECT_EQ(pages[1].carriedPieces, 561);
    EXPECT_DOUBLE_EQ(pages[1].carriedAmount, 280.5);
    EXPECT_EQ(pages[1].pieces, 595);
    EXPECT_DOUBLE_EQ(pages[1].amount, 297.5);
}

TEST(OrderFormLayout, LaterPagesTakeMoreRowsWithoutTheAddressBoxes) {
    const COrderFormLayout layout(Metrics());
    const int count = kFirstPageRows + 2 * kLaterPageRows + 1;
    const std::vector<SOrderFormPage> pages = PaginateOrderForm(Lines(count), true, layout);
    ASSERT_EQ(pages.size(), 4u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pages[i].last, i == 3);
        if (i > 0) {
            EXPECT_EQ(pages[i].firstLine, pages[i - 1].endLine);
            EXPECT_EQ(pages[i].carriedPieces, pages[i - 1].pieces);
            EXPECT_EQ(pages[i].firstPosition, static_cast<int64_t>(pages[i].firstLine) + 1);
        }
    }
    EXPECT_EQ(pages[1].endLine - pages[1].firstLine, static_cast<std::size_t>(kLaterPageRows));
    EXPECT_EQ(pages[3].endLine - pages[3].firstLine, 1u);
    EXPECT_EQ(pages[3].pieces, static_cast<int64_t>(count) * (count + 1) / 2);
}

TEST(OrderFormLayout, EmptyTablePrintsNothingAndAllInStockPrintsOnePage) {
    const COrderFormLayout layout(Metrics());
    EXPECT_TRUE(PaginateOrderForm({}, false, layout).empty());

    const std::vector<SOrderFormPage> pages = PaginateOrderForm({}, true, layout);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].last);
    EXPECT_EQ(pages[0].endLine, 0u);
    EXPECT_EQ(pages[0].pieces, 0);
    EXPECT_EQ(pages[0].amount, 0.0);
}

TEST(OrderFormLayout, PageTooSmallForItsHeadStillTakesOneRowAPage) {
    SOrderFormMetrics tiny = Metrics();
    tiny.printableHeight = 600; // the head alone reaches below the row limit
    const std::vector<SOrderFormPage> pages =
        PaginateOrderForm(Lines(5), true, COrderFormLayout(tiny));
    ASSERT_EQ(pages.size(), 5u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].endLine - pages[i].firstLine, 1u);
    }
}

} // namespace
