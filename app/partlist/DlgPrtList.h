// Dialog 207 "Teileliste": the values of one parts-list article that the user may change in
// place (count in stock, order number, unit price), with its designation shown for reference.
// The dialog edits a copy; the caller applies the values after OK.
#pragma once

#include <cstdint>
#include <string>

#include <wx/dialog.h>

class wxTextCtrl;

struct SPrtListValues {
    std::string designation; // shown, never taken back
    int32_t available = 0;   // 0 to 1000000
    std::string orderNumber;
    double price = 0.0; // 0.0 to 1000000.0

    friend bool operator==(const SPrtListValues&, const SPrtListValues&) = default;
};

class CDlgPrtList : public wxDialog {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdDesignation = 1060,
        IdOrderNumber = 1061,
        IdPrice = 1062,
        IdAvailable = 1063,
    };
    static constexpr int32_t kMaxAvailable = 1000000;
    static constexpr double kMaxPrice = 1000000.0;

    CDlgPrtList(wxWindow* parent, const SPrtListValues& values);

    // The values as the dialog holds them (after OK, as the user left them).
    const SPrtListValues& GetValues() const { return m_values; }

    bool TransferDataToWindow() override;
    // Takes the fields in the order designation, stock, order number, price. A stock that is
    // no whole number or lies outside 0 to 1000000, or a price that is no number or lies
    // outside 0 to 1000000, is reported with the framework's message; an order number that a
    // price list line cannot carry (a ";", a line break, more than 1024 bytes) with its own.
    // The field gets the focus and the dialog stays open.
    bool TransferDataFromWindow() override;

private:
    wxTextCtrl* AddField(wxSizer* grid, uint32_t labelId, int id, long style = 0);
    // Reports messageId (with the bounds for %1 and %2), then focuses and selects the field.
    void Refuse(wxTextCtrl* field, uint32_t messageId, const std::string& low,
                const std::string& high);

    SPrtListValues m_values;
    wxTextCtrl* m_designation = nullptr;
    wxTextCtrl* m_available = nullptr;
    wxTextCtrl* m_orderNumber = nullptr;
    wxTextCtrl* m_price = nullptr;
};
