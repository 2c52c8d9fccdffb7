// Where the order form puts its parts, and which lines go on which page. The form is laid out
// in tenths of an inch from the top left of the printable area; the printout measures its fonts
// and the page and hands the measures in, so that the page breaks are computed here, before
// the first page is printed (the print system needs the page count first), and are tested
// without a printer or a display.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/PartsSummary.h"

// The measures of one print job, in the units the form is drawn in.
struct SOrderFormMetrics {
    int resolutionX = 0;     // units per inch across the page
    int resolutionY = 0;     // units per inch down the page
    int lineHeight = 0;      // height of a line of the 11-point form font
    int titleLineHeight = 0; // height of a line of the 24-point title font
    int printableHeight = 0; // height of the printable area
};

// Positions down the page (y from the top of the printable area) and across it.
class COrderFormLayout {
public:
    explicit COrderFormLayout(const SOrderFormMetrics& metrics) : m_metrics(metrics) {}

    const SOrderFormMetrics& GetMetrics() const { return m_metrics; }
    int LineHeight() const { return m_metrics.lineHeight; }
    // One fifth of a line: the gap around rules.
    int Fifth() const { return m_metrics.lineHeight / 5; }

    // Tenths of an inch in units, truncated towards zero: across with the horizontal
    // resolution, down with the vertical one.
    int X(int tenths) const;
    int Y(int tenths) const;

    // The title "Bestellung" at 2.0", the date one title line below it.
    int TitleTop() const { return Y(20); }
    int DateTop() const { return TitleTop() + m_metrics.titleLineHeight; }
    // The bottom of the title rectangle after the date: where the address boxes start.
    int TitleBottom() const { return DateTop() + 2 * m_metrics.lineHeight; }
    // The address boxes of page 1: the caption, then four ruled lines two lines apart.
    int AddressRuleTop(int rule) const; // rule 1 to 4
    int AddressBoxBottom() const;
    // The header row of the table: on page 1 one line below the address boxes, on the other
    // pages one line below the title rectangle.
    int HeaderTop(bool firstPage) const;
    int HeaderRuleTop(bool firstPage) const {
        return HeaderTop(firstPage) + LineHeight() + Fifth();
    }
    // The first article row, below the header and its rule.
    int FirstRowTop(bool firstPage) const {
        return HeaderTop(firstPage) + LineHeight() + 2 * Fifth();
    }
    // A row whose top lies below this line starts the next page: 1" above the bottom of the
    // printable area, room for the carry-over row.
    int RowLimit() const { return m_metrics.printableHeight - Y(10); }
    // The sum and carry-over rows: two double rules, then the row.
    int SumRuleTop(int rowsEnd, int rule) const { return rowsEnd + rule * Fifth(); } // 1, 2
    int SumRowTop(int rowsEnd) const { return rowsEnd + 3 * Fifth(); }

private:
    SOrderFormMetrics m_metrics;
};

// One page of the form: the lines [firstLine, endLine) of the order, and the sums that run
// over all pages.
struct SOrderFormPage {
    std::size_t firstLine = 0;
    std::size_t endLine = 0;
    int64_t carriedPieces = 0; // summed on the pages before ("Übertrag" brought in)
    double carriedAmount = 0.0;
    int64_t firstPosition = 1; // position number of the page's first line
    int64_t pieces = 0;        // summed up to the end of this page (carry-over or sum row)
    double amount = 0.0;
    bool last = false; // ends with the sum row, else with a carry-over row
};

// The pages of an order. A parts table without any entry prints no page; otherwise there is at
// least one page (with no line when nothing is missing). A line whose top would lie below the
// row limit goes to the next page, but every page takes at least one line, so that a page too
// small for the head still ends.
std::vector<SOrderFormPage> PaginateOrderForm(const std::vector<SOrderLine>& lines,
                                              bool tableHasEntries, const COrderFormLayout& layout);
