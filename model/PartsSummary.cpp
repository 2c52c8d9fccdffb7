// Rows, totals and order lines of the parts table.
#include "model/PartsSummary.h"

#include "model/PartsTable.h"

SPartsListSummary SummarizePartsList(const CPartsTable& table, bool showAll) {
    SPartsListSummary summary;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        const SPartEntry& entry = *table.GetAt(i);
        if (!showAll && entry.count == 0) {
            continue;
        }
        SPartsListRow row;
        row.index = i;
        row.count = entry.count;
        row.available = entry.available;
        row.unitPrice = entry.price;
        row.totalPrice = static_cast<double>(row.count) * entry.price;
        row.covered = row.available >= row.count;
        if (row.covered) {
            row.leftOver = row.available - row.count;
        } else {
            row.missing = row.count - row.available;
            row.missingPrice = static_cast<double>(row.missing) * entry.price;
        }

        SPartsListTotals& totals = summary.totals;
        totals.pieces += row.count;
        totals.totalPrice += row.totalPrice;
        totals.available += row.available;
        totals.leftOver += row.leftOver;
        totals.missing += row.missing;
        totals.missingPrice += row.missingPrice;
        summary.rows.push_back(row);
    }
    return summary;
}

std::vector<SOrderLine> CollectOrderLines(const CPartsTable& table, bool showAll) {
    std::vector<SOrderLine> lines;
    for (const SPartEntry& entry : table) {
        const int64_t count = entry.count;
        const int64_t available = entry.available;
        if (!showAll && available >= count) {
            continue;
        }
        SOrderLine line;
        line.designation = entry.designation;
        line.orderNumber = entry.orderNumber;
        line.quantity = available < count ? count - available : 0;
        line.unitPrice = entry.price;
        line.amount = static_cast<double>(line.quantity) * entry.price;
        lines.push_back(std::move(line));
    }
    return lines;
}
