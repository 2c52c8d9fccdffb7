// Columns and rows of the parts list.
#include "app/partlist/PartListCtrl.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "model/PartsSummary.h"
#include "model/PartsTable.h"
#include "support/LangText.h"
#include "support/LocaleNumber.h"

namespace {

struct SColumnInfo {
    uint32_t captionId;
    int width; // pixels at the standard resolution
    wxListColumnFormat format;
};

// Captions 4135 "Bezeichnung" to 4143 "Preis".
constexpr SColumnInfo kColumns[CPartListCtrl::ColumnCount] = {
    {4135, 200, wxLIST_FORMAT_LEFT}, {4136, 50, wxLIST_FORMAT_RIGHT},
    {4137, 60, wxLIST_FORMAT_LEFT},  {4138, 70, wxLIST_FORMAT_RIGHT},
    {4139, 70, wxLIST_FORMAT_RIGHT}, {4140, 50, wxLIST_FORMAT_RIGHT},
    {4141, 50, wxLIST_FORMAT_RIGHT}, {4142, 50, wxLIST_FORMAT_RIGHT},
    {4143, 70, wxLIST_FORMAT_RIGHT},
};
constexpr uint32_t kTotalsCaption = 4144; // "Gesamt"
constexpr double kSystemCharWidth = 6.0;

wxString FromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.c_str());
}
wxString Count(int64_t value) {
    return FromUtf8(std::to_string(value));
}
wxString Price(double value) {
    return FromUtf8(FormatFixed(value, 2, LocaleDecimalChar()));
}

} // namespace

CPartListCtrl::CPartListCtrl(wxWindow* parent, wxWindowID id)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, wxLC_REPORT) {
    // The widths are pixels of the system's 8-point dialog font, six to an average character;
    // they grow with this window's font, and a column is never narrower than its caption.
    const double scale = std::max(1.0, GetCharWidth() / kSystemCharWidth);
    for (int column = 0; column < ColumnCount; ++column) {
        const SColumnInfo& info = kColumns[column];
        const wxString caption = FromUtf8(LoadLangText(info.captionId));
        const int width = std::max(static_cast<int>(info.width * scale),
                                   GetTextExtent(caption).GetWidth() + 3 * GetCharWidth());
        AppendColumn(caption, info.format, width);
    }
}

long CPartListCtrl::AppendRow(const wxString& designation) {
    return InsertItem(GetItemCount(), designation);
}

void CPartListCtrl::Fill(const CPartsTable& table, bool showAll) {
    const SPartsListSummary summary = SummarizePartsList(table, showAll);
    Freeze();
    DeleteAllItems();
    m_rowEntries.clear();
    for (const SPartsListRow& row : summary.rows) {
        const SPartEntry& entry = *table.GetAt(row.index);
        const long item = AppendRow(FromUtf8(entry.designation));
        SetItem(item, ColCount, Count(row.count));
        SetItem(item, ColOrderNumber, FromUtf8(entry.orderNumber));
        SetItem(item, ColUnitPrice, Price(row.unitPrice));
        SetItem(item, ColTotalPrice, Price(row.totalPrice));
        SetItem(item, ColAvailable, Count(row.available));
        if (row.covered) {
            SetItem(item, ColLeftOver, Count(row.leftOver));
        } else {
            SetItem(item, ColMissing, Count(row.missing));
            SetItem(item, ColMissingPrice, Price(row.missingPrice));
        }
        m_rowEntries.push_back(row.index);
    }

    const long rule = AppendRow(wxString());
    for (int column : {ColCount, ColAvailable, ColLeftOver, ColMissing}) {
        SetItem(rule, column, "====");
    }
    for (int column : {ColTotalPrice, ColMissingPrice}) {
        SetItem(rule, column, "========");
    }

    const SPartsListTotals& totals = summary.totals;
    const long total = AppendRow(FromUtf8(LoadLangText(kTotalsCaption)));
    SetItem(total, ColCount, Count(totals.pieces));
    SetItem(total, ColTotalPrice, Price(totals.totalPrice));
    SetItem(total, ColAvailable, Count(totals.available));
    SetItem(total, ColLeftOver, Count(totals.leftOver));
    SetItem(total, ColMissing, Count(totals.missing));
    SetItem(total, ColMissingPrice, Price(totals.missingPrice));
    Thaw();
}

std::optional<std::size_t> CPartListCtrl::GetEntryIndex(long row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rowEntries.size()) {
        return std::nullopt;
    }
    return m_rowEntries[static_cast<std::size_t>(row)];
}
