// What the parts list view and the order form show of the parts table, computed once here so
// that both only format it: per article the count, the stock and what is left over or missing
// with its price, the running sums, and the lines of an order (the pieces missing from stock).
//
// Counts and differences are 64-bit: a stock list may name any 32-bit count, negative ones
// included, so count - stock and the sums over all articles need more than 32 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CPartsTable;

// One article row of the parts list view.
struct SPartsListRow {
    std::size_t index = 0; // position of the entry in the table, valid until the table changes
    int64_t count = 0;     // in the design
    int64_t available = 0; // in stock
    double unitPrice = 0.0;
    double totalPrice = 0.0;   // count × unit price
    bool covered = false;      // stock >= count: leftOver applies, else missing and missingPrice
    int64_t leftOver = 0;      // stock - count when covered, else 0
    int64_t missing = 0;       // count - stock when not covered, else 0
    double missingPrice = 0.0; // missing × unit price
};

// The totals row.
struct SPartsListTotals {
    int64_t pieces = 0;
    double totalPrice = 0.0;
    int64_t available = 0;
    int64_t leftOver = 0;
    int64_t missing = 0;
    double missingPrice = 0.0;
};

struct SPartsListSummary {
    std::vector<SPartsListRow> rows;
    SPartsListTotals totals;
};

// The rows in the table's order: every entry when showAll is set, else those counted in the
// design (count not 0); the totals over the rows shown.
SPartsListSummary SummarizePartsList(const CPartsTable& table, bool showAll);

// One line of an order form: an article with the pieces to order.
struct SOrderLine {
    std::string designation;
    std::string orderNumber;
    int64_t quantity = 0; // count - stock when stock is short, else 0
    double unitPrice = 0.0;
    double amount = 0.0; // quantity × unit price
};

// The lines in the table's order: the articles whose stock is short of their count, or every
// article when showAll is set (those in stock with quantity 0). A copy, so that a print job
// that outlives a change of the design prints what was asked for.
std::vector<SOrderLine> CollectOrderLines(const CPartsTable& table, bool showAll);
