// The report list of the parts list window: one row per article with its count, order number,
// prices and the comparison with the stock, then a rule row and a totals row. It only shows
// what SummarizePartsList computed; rows name their articles by position in the parts table,
// valid until the next refill, which follows every change of the table.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <wx/listctrl.h>

class CPartsTable;

class CPartListCtrl : public wxListCtrl {
public:
    enum Column : int {
        ColDesignation,
        ColCount,
        ColOrderNumber,
        ColUnitPrice,
        ColTotalPrice,
        ColAvailable,
        ColLeftOver,
        ColMissing,
        ColMissingPrice,
        ColumnCount
    };

    CPartListCtrl(wxWindow* parent, wxWindowID id = wxID_ANY);

    // All rows anew from the table: the articles in the design (every article when showAll is
    // set), the rule row and the totals row. Numbers follow the user's locale.
    void Fill(const CPartsTable& table, bool showAll);

    // The position in the parts table of the article in row; nothing for the rule and totals
    // rows and for rows that do not exist.
    std::optional<std::size_t> GetEntryIndex(long row) const;

private:
    long AppendRow(const wxString& designation);

    std::vector<std::size_t> m_rowEntries; // the table position of each article row
};
