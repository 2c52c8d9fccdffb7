// The exchange machinery of the dialogs. Numbers are shown and read in the user's locale, as the
// C library formats and parses them; the failure messages are the framework's texts.
#include "app/dialogs/DialogEx.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "support/LangText.h"
#include "support/ParseNumber.h"
#include "support/UserInterface.h"

namespace {

// The framework's messages of the data exchange.
constexpr uint32_t kTextInternalFailure = 61704;
constexpr uint32_t kTextParseInt = 61712;
constexpr uint32_t kTextParseReal = 61713;
constexpr uint32_t kTextParseIntRange = 61714;
constexpr uint32_t kTextParseRealRange = 61715;

// An edit field's text as the framework reads it: at most 31 characters.
constexpr std::size_t kFieldLength = 31;

void ShowFrameworkMessage(const std::string& text) {
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// The range message with %1 and %2 replaced by the bounds.
std::string RangeText(uint32_t id, const std::string& min, const std::string& max) {
    std::string text = LoadLangText(id);
    for (const auto& [mark, bound] : {std::pair{"%1", min}, std::pair{"%2", max}}) {
        if (const std::size_t at = text.find(mark); at != std::string::npos) {
            text.replace(at, 2, bound);
        }
    }
    return text;
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string FieldText(wxTextCtrl& edit) {
    return edit.GetValue().Left(kFieldLength).utf8_string();
}

void SetFieldText(wxTextCtrl& edit, const std::string& text) {
    const wxString shown = wxString::FromUTF8(text);
    if (edit.GetValue() != shown) {
        edit.ChangeValue(shown);
    }
}

void ExchangeDouble(CDataExchange& dx, int id, double& value, EmptyField empty, const char* format,
                    bool zeroEmpty) {
    wxTextCtrl& edit = dx.PrepareEditCtrl(id);
    if (dx.IsSaving()) {
        double parsed = value;
        if (!ParseDouble(FieldText(edit), empty, parsed)) {
            ShowFrameworkMessage(LoadLangText(kTextParseReal));
            dx.Fail();
        }
        value = parsed;
    } else {
        SetFieldText(edit, zeroEmpty && value == 0.0 ? std::string() : Format(format, value));
    }
}

} // namespace

wxTextCtrl& CDataExchange::PrepareEditCtrl(int id) {
    auto* edit = dynamic_cast<wxTextCtrl*>(m_dialog.FindWindow(id));
    if (edit == nullptr) {
        throw std::logic_error("the dialog has no edit field " + std::to_string(id));
    }
    m_lastEdit = edit;
    return *edit;
}

void CDataExchange::Fail() {
    if (m_lastEdit != nullptr) {
        m_lastEdit->SetFocus();
        m_lastEdit->SelectAll();
    }
    throw ExchangeFailed{};
}

CRadioGroup::CRadioGroup(wxWindow* parent, std::initializer_list<int> ids,
                         const std::vector<wxString>& labels) {
    std::size_t index = 0;
    for (int id : ids) {
        const wxString label = index < labels.size() ? labels[index] : wxString();
        m_buttons.push_back(new wxRadioButton(parent, id, label, wxDefaultPosition, wxDefaultSize,
                                              index == 0 ? wxRB_GROUP : 0));
        ++index;
    }
    m_none = new wxRadioButton(parent, wxID_ANY, wxString());
    m_none->Hide();
}

int CRadioGroup::GetValue() const {
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i]->GetValue()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CRadioGroup::SetValue(int value) {
    if (value >= 0 && static_cast<std::size_t>(value) < m_buttons.size()) {
        m_buttons[static_cast<std::size_t>(value)]->SetValue(true);
    } else {
        m_none->SetValue(true);
    }
}

CDialogEx::CDialogEx(wxWindow* parent, const wxString& title) : wxDialog(parent, wxID_ANY, title) {
    Bind(wxEVT_INIT_DIALOG, &CDialogEx::OnInitDialog, this);
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE) {
            Cancel();
            return;
        }
        event.Skip();
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Cancel(); });
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Cancel(); }, wxID_CANCEL);
}

void CDialogEx::OnInitDialog(wxInitDialogEvent&) {
    m_initialised = false;
    UpdateDataEx(false);
    OnInitDialogEx();
    m_initialised = true;
}

void CDialogEx::Cancel() {
    OnCancel();
    if (IsModal()) {
        EndModal(wxID_CANCEL);
    } else {
        Hide();
    }
}

bool CDialogEx::UpdateDataEx(bool save, const void* field) {
    if (field != nullptr && !m_initialised) {
        return false;
    }
    CDataExchange dx(*this, save);
    try {
        DoDataExchangeEx(dx, field);
        return true;
    } catch (const ExchangeFailed&) {
        return false;
    } catch (const std::exception&) {
        ShowMessage(LoadLangText(kTextInternalFailure), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
}

void CDialogEx::DoDataExchangeEx(CDataExchange&, const void*) {}

void DDX_TextZeroEmpty(CDataExchange& dx, int id, double& value) {
    ExchangeDouble(dx, id, value, EmptyField::Zero, "%lg", true);
}

void DDX_TextDbl(CDataExchange& dx, int id, double& value) {
    ExchangeDouble(dx, id, value, EmptyField::Keep, "%lg", false);
}

void DDX_Text(CDataExchange& dx, int id, double& value) {
    ExchangeDouble(dx, id, value, EmptyField::Invalid, "%.15g", false);
}

void DDX_Text(CDataExchange& dx, int id, float& value) {
    double wide = value;
    ExchangeDouble(dx, id, wide, EmptyField::Invalid, "%.6g", false);
    if (dx.IsSaving()) {
        const float narrow = static_cast<float>(wide);
        if (!std::isfinite(narrow)) {
            ShowFrameworkMessage(LoadLangText(kTextParseReal));
            dx.Fail();
        }
        value = narrow;
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    wxTextCtrl& edit = dx.PrepareEditCtrl(id);
    if (dx.IsSaving()) {
        int parsed = value;
        if (!ParseInt(FieldText(edit), parsed)) {
            ShowFrameworkMessage(LoadLangText(kTextParseInt));
            dx.Fail();
        }
        value = parsed;
    } else {
        SetFieldText(edit, std::to_string(value));
    }
}

void DDV_MinMaxDouble(CDataExchange& dx, double value, double min, double max) {
    if (dx.IsSaving() && (value < min || value > max)) {
        ShowFrameworkMessage(
            RangeText(kTextParseRealRange, Format("%.15g", min), Format("%.15g", max)));
        dx.Fail();
    }
}

void DDV_MinMaxFloat(CDataExchange& dx, float value, float min, float max) {
    if (dx.IsSaving() && !(value >= min && value <= max)) {
        ShowFrameworkMessage(
            RangeText(kTextParseRealRange, Format("%.6g", min), Format("%.6g", max)));
        dx.Fail();
    }
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int min, int max) {
    if (dx.IsSaving() && (value < min || value > max)) {
        ShowFrameworkMessage(
            RangeText(kTextParseIntRange, std::to_string(min), std::to_string(max)));
        dx.Fail();
    }
}

void DDX_Check(CDataExchange& dx, int id, bool& value) {
    auto* box = dynamic_cast<wxCheckBox*>(dx.GetDialog().FindWindow(id));
    if (box == nullptr) {
        throw std::logic_error("the dialog has no check box " + std::to_string(id));
    }
    if (dx.IsSaving()) {
        value = box->GetValue();
    } else {
        box->SetValue(value);
    }
}

void DDX_Radio(CDataExchange& dx, CRadioGroup& group, int& value) {
    if (dx.IsSaving()) {
        if (const int set = group.GetValue(); set >= 0) {
            value = set;
        }
    } else {
        group.SetValue(value);
    }
}
