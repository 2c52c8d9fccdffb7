// Layout and data exchange of the parts-list entry dialog. Numbers are shown and read in the
// user's locale (a decimal comma under German settings), as the framework's exchange did.
#include "app/partlist/DlgPrtList.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/LangTextWx.h"
#include "model/ListFile.h"
#include "support/LangText.h"
#include "support/LocaleNumber.h"
#include "support/UserInterface.h"

namespace {

// Texts of dialog 207: the caption, the four labels and the buttons.
constexpr uint32_t kTextBase = 2070000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kDesignationLabel = kTextBase + 1;
constexpr uint32_t kAvailableLabel = kTextBase + 2;
constexpr uint32_t kOrderNumberLabel = kTextBase + 3;
constexpr uint32_t kPriceLabel = kTextBase + 4;
constexpr uint32_t kOk = kTextBase + 5;
constexpr uint32_t kCancel = kTextBase + 6;

// An order number that a price list line cannot carry.
constexpr uint32_t kOrderNumberRefused = 4385;

// The framework's messages of the exchange.
constexpr uint32_t kNotAnInteger = 61712;
constexpr uint32_t kNotANumber = 61713;
constexpr uint32_t kIntegerRange = 61714;
constexpr uint32_t kNumberRange = 61715;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A whole number: optional sign and decimal digits, blanks around it.
bool ParseWhole(std::string_view text, long long& value) {
    text = Trim(text);
    std::size_t digits = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    if (digits == text.size() || text.size() > 19) {
        return false;
    }
    for (std::size_t i = digits; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    errno = 0;
    value = std::strtoll(std::string(text).c_str(), nullptr, 10);
    return errno == 0;
}

// A decimal number in the locale: optional sign, digits with one decimal character, an optional
// exponent, blanks around it. Hexadecimal numbers, infinity and NaN, which the C library would
// take, are refused, and so is a value out of the range of a double.
bool ParseDecimal(std::string_view text, double& value) {
    text = Trim(text);
    const char decimal = LocaleDecimalChar();
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == decimal && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        if (exponent == text.size()) {
            return false;
        }
        for (i = exponent; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
        }
    }
    if (i != text.size()) {
        return false;
    }
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    value = std::strtod(copy.c_str(), &end);
    return end == copy.c_str() + copy.size() && errno != ERANGE && std::isfinite(value);
}

// The framework's text of a double: "%.15g" in the locale.
std::string DoubleText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

void ReplaceAll(std::string& text, std::string_view what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
}

} // namespace

CDlgPrtList::CDlgPrtList(wxWindow* parent, const SPrtListValues& values)
    : wxDialog(parent, wxID_ANY, LangTextWx(kCaption)), m_values(values) {
    auto* grid = new wxFlexGridSizer(2, FromDIP(wxSize(8, 6)));
    grid->AddGrowableCol(1);
    // The designation is the key of the article: shown, but not to be changed here.
    m_designation = AddField(grid, kDesignationLabel, IdDesignation, wxTE_READONLY);
    m_available = AddField(grid, kAvailableLabel, IdAvailable);
    m_orderNumber = AddField(grid, kOrderNumberLabel, IdOrderNumber);
    m_price = AddField(grid, kPriceLabel, IdPrice);
    m_designation->SetMinSize(FromDIP(wxSize(280, -1)));

    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(this, wxID_OK, LangTextWx(kOk));
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, LangTextWx(kCancel)));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, FromDIP(10));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

wxTextCtrl* CDlgPrtList::AddField(wxSizer* grid, uint32_t labelId, int id, long style) {
    grid->Add(new wxStaticText(this, wxID_ANY, LangTextWx(labelId)), 0, wxALIGN_CENTER_VERTICAL);
    auto* field = new wxTextCtrl(this, id, wxString(), wxDefaultPosition, wxDefaultSize, style);
    grid->Add(field, 1, wxEXPAND);
    return field;
}

bool CDlgPrtList::TransferDataToWindow() {
    m_designation->ChangeValue(wxString::FromUTF8(m_values.designation));
    m_available->ChangeValue(wxString::Format("%d", m_values.available));
    m_orderNumber->ChangeValue(wxString::FromUTF8(m_values.orderNumber));
    m_price->ChangeValue(wxString::FromUTF8(DoubleText(m_values.price)));
    return true;
}

bool CDlgPrtList::TransferDataFromWindow() {
    long long available = 0;
    if (!ParseWhole(m_available->GetValue().utf8_string(), available)) {
        Refuse(m_available, kNotAnInteger, {}, {});
        return false;
    }
    if (available < 0 || available > kMaxAvailable) {
        Refuse(m_available, kIntegerRange, "0", std::to_string(kMaxAvailable));
        return false;
    }
    // Saved in a price list, such an order number would break its line when read back.
    const std::string orderNumber = m_orderNumber->GetValue().utf8_string();
    if (!IsListFieldText(orderNumber)) {
        Refuse(m_orderNumber, kOrderNumberRefused, {}, {});
        return false;
    }
    double price = 0.0;
    if (!ParseDecimal(m_price->GetValue().utf8_string(), price)) {
        Refuse(m_price, kNotANumber, {}, {});
        return false;
    }
    if (price < 0.0 || price > kMaxPrice) {
        Refuse(m_price, kNumberRange, DoubleText(0.0), DoubleText(kMaxPrice));
        return false;
    }
    m_values.available = static_cast<int32_t>(available);
    m_values.orderNumber = orderNumber;
    m_values.price = price + 0.0; // "-0" is no negative price: never shown as "-0,00"
    return true;
}

void CDlgPrtList::Refuse(wxTextCtrl* field, uint32_t messageId, const std::string& low,
                         const std::string& high) {
    std::string text = LoadLangText(messageId);
    ReplaceAll(text, "%1", low);
    ReplaceAll(text, "%2", high);
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
    field->SetFocus();
    field->SelectAll();
}
