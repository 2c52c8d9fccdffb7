// Positions and page breaks of the order form.
#include "app/partlist/OrderFormLayout.h"

namespace {

int TenthsToUnits(int tenths, int resolution) {
    return static_cast<int>(static_cast<int64_t>(tenths) * resolution / 10);
}

} // namespace

int COrderFormLayout::X(int tenths) const {
    return TenthsToUnits(tenths, m_metrics.resolutionX);
}

int COrderFormLayout::Y(int tenths) const {
    return TenthsToUnits(tenths, m_metrics.resolutionY);
}

int COrderFormLayout::AddressRuleTop(int rule) const {
    return TitleBottom() + LineHeight() + Fifth() + rule * 2 * LineHeight();
}

int COrderFormLayout::AddressBoxBottom() const {
    return AddressRuleTop(4) + Fifth();
}

int COrderFormLayout::HeaderTop(bool firstPage) const {
    return (firstPage ? AddressBoxBottom() : TitleBottom()) + LineHeight();
}

std::vector<SOrderFormPage> PaginateOrderForm(const std::vector<SOrderLine>& lines,
                                              bool tableHasEntries,
                                              const COrderFormLayout& layout) {
    std::vector<SOrderFormPage> pages;
    if (!tableHasEntries) {
        return pages;
    }
    std::size_t next = 0;
    int64_t pieces = 0;
    double amount = 0.0;
    do {
        SOrderFormPage page;
        page.firstLine = next;
        page.carriedPieces = pieces;
        page.carriedAmount = amount;
        page.firstPosition = static_cast<int64_t>(next) + 1;
        int rowTop = layout.FirstRowTop(pages.empty());
        while (next < lines.size() && (rowTop <= layout.RowLimit() || next == page.firstLine)) {
            pieces += lines[next].quantity;
            amount += lines[next].amount;
            rowTop += layout.LineHeight();
            ++next;
        }
        page.endLine = next;
        page.pieces = pieces;
        page.amount = amount;
        page.last = next == lines.size();
        pages.push_back(page);
    } while (next < lines.size());
    return pages;
}
