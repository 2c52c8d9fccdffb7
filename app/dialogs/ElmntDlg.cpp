// Layout helpers, float fields, the shared buttons and the Cancel paths of the element dialogs.
#include "app/dialogs/ElmntDlg.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/DlgMtrl.h"
#include "model/ElmntEdit.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/ParseNumber.h"
#include "support/UserInterface.h"

namespace {

// The framework's messages of a failed number exchange.
constexpr uint32_t TextParseReal = 61713;      // no number
constexpr uint32_t TextParseRealRange = 61715; // a number outside %1 to %2

// Six significant digits, as the framework shows floats, with the locale's decimal character.
std::string FormatFloat(float value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", static_cast<double>(value));
    return buffer;
}

void FocusField(wxTextCtrl* control) {
    control->SetFocus();
    control->SelectAll();
}

// Replaces %1 and %2 in the framework's range message.
std::string RangeMessage(float min, float max) {
    std::string text = LoadLangText(TextParseRealRange);
    const std::string args[] = {FormatFloat(min), FormatFloat(max)};
    for (int n = 0; n < 2; ++n) {
        const std::string mark = "%" + std::to_string(n + 1);
        if (const std::size_t at = text.find(mark); at != std::string::npos) {
            text.replace(at, mark.size(), args[n]);
        }
    }
    return text;
}

} // namespace

void CFloatField::Load(float value) {
    m_loaded = value;
    m_loadedText = wxString::FromUTF8(FormatFloat(value));
    m_control->ChangeValue(m_loadedText);
}

bool CFloatField::Save(float& value) const {
    const wxString text = m_control->GetValue();
    if (text == m_loadedText) {
        value = m_loaded;
        return true;
    }
    double parsed = 0.0;
    if (!ParseDouble(text.utf8_string(), EmptyField::Invalid, parsed) ||
        !std::isfinite(static_cast<float>(parsed))) {
        ShowMessage(LoadLangText(TextParseReal), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        FocusField(m_control);
        return false;
    }
    value = static_cast<float>(parsed);
    return true;
}

bool CFloatField::Save(float& value, float min, float max) const {
    float saved = 0.0f;
    if (!Save(saved)) {
        return false;
    }
    if (saved < min || saved > max) {
        ShowMessage(RangeMessage(min, max), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        FocusField(m_control);
        return false;
    }
    value = saved;
    return true;
}

CElmntDlg::CElmntDlg(wxWindow* parent, const SElmntDlgContext& context, ElmntId id,
                     uint32_t textBase)
    : m_context(context), m_id(id), m_textBase(textBase) {
    Create(parent, wxID_ANY, Text(TextCaption));
    Bind(wxEVT_BUTTON, &CElmntDlg::OnRedraw, this, IdRedraw);
    Bind(wxEVT_BUTTON, &CElmntDlg::OnSurface, this, IdSurface);
    Bind(wxEVT_CHAR_HOOK, &CElmntDlg::OnCharHook, this);
    Bind(wxEVT_CLOSE_WINDOW, &CElmntDlg::OnClose, this);
}

CElmnt* CElmntDlg::FindElmnt() const {
    return m_context.dcmt != nullptr ? m_context.dcmt->FindElement(m_id) : nullptr;
}

wxString CElmntDlg::Text(int n) const {
    return wxString::FromUTF8(LoadLangText(m_textBase + static_cast<uint32_t>(n)));
}

CFloatField CElmntDlg::AddFloatRow(wxSizer* grid, int id) {
    auto* control = new wxTextCtrl(this, id, wxEmptyString, wxDefaultPosition,
                                   wxSize(FromDIP(80), -1), wxTE_RIGHT);
    grid->Add(new wxStaticText(this, wxID_ANY, Text(id)), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(control, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxStaticText(this, wxID_ANY, Text(TextCm)), 0, wxALIGN_CENTER_VERTICAL);
    return CFloatField(control);
}

wxSizer* CElmntDlg::CreateAdjustGroup() {
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, Text(TextAdjustGroup));
    m_free = new wxRadioButton(box->GetStaticBox(), IdFree, Text(IdFree), wxDefaultPosition,
                               wxDefaultSize, wxRB_GROUP);
    m_fixed = new wxRadioButton(box->GetStaticBox(), IdFixed, Text(IdFixed));
    box->Add(m_free, 0, wxALL, 3);
    box->Add(m_fixed, 0, wxALL, 3);
    return box;
}

wxSizer* CElmntDlg::CreateButtons(std::initializer_list<int> ids) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* ok = new wxButton(this, wxID_OK, Text(TextOk));
    ok->SetDefault();
    column->Add(ok, 0, wxEXPAND | wxBOTTOM, FromDIP(12));
    for (int id : ids) {
        auto* button = new wxButton(this, id, Text(id));
        if (id == IdSurface) {
            button->Enable(m_context.dcmt != nullptr && m_context.categorySlots != nullptr);
        }
        column->Add(button, 0, wxEXPAND | wxBOTTOM, FromDIP(4));
    }
    return column;
}

bool CElmntDlg::GetFixed() const {
    return m_fixed->GetValue();
}

void CElmntDlg::SetFixed(bool fixed) {
    (fixed ? m_fixed : m_free)->SetValue(true);
}

bool CElmntDlg::TakeOver() {
    if (!Validate() || !TransferDataFromWindow()) {
        return false;
    }
    Apply();
    return true;
}

void CElmntDlg::ShowNow() {
    if (m_context.dcmt != nullptr) {
        m_context.dcmt->UpdateAllViews(ViewHint::Everything);
    }
    RepaintView();
}

int32_t CElmntDlg::GetCouplingMaterial() const {
    if (m_context.categorySlots != nullptr) {
        return (*m_context.categorySlots)[static_cast<std::size_t>(MtrlCategory::Connectors)];
    }
    return m_context.couplingMaterial;
}

void CElmntDlg::RepaintView() const {
    if (m_context.repaint) {
        m_context.repaint();
    } else if (m_context.view != nullptr) {
        m_context.view->Refresh();
        m_context.view->Update();
    }
}

void CElmntDlg::OnRedraw(wxCommandEvent&) {
    if (TakeOver()) {
        ShowNow();
    }
}

void CElmntDlg::OnSurface(wxCommandEvent&) {
    if (m_context.dcmt == nullptr || m_context.categorySlots == nullptr) {
        return;
    }
    const CElmnt* elmnt = FindElmnt();
    if (elmnt == nullptr) {
        if (m_id.IsValid() || m_toolKind == ElmntKind::None) {
            return; // the element is gone
        }
        // A tool's dialog: the chosen slot becomes the view's slot of the kind's category.
        const std::optional<int32_t> slot =
            CDlgMtrl::Run(this, *m_context.dcmt, nullptr, m_toolKind, *m_context.categorySlots,
                          true, [this] { RepaintView(); });
        const std::optional<MtrlCategory> category = GetMtrlCategory(m_toolKind);
        if (slot && category) {
            (*m_context.categorySlots)[static_cast<std::size_t>(*category)] = *slot;
        }
        return;
    }
    const std::optional<int32_t> slot =
        CDlgMtrl::Run(this, *m_context.dcmt, elmnt, elmnt->kind, *m_context.categorySlots, true,
                      [this] { RepaintView(); });
    if (!slot) {
        return;
    }
    // In place, without a revision; the materials themselves may have changed as well.
    SetElementMaterial(*m_context.dcmt, m_id, *slot);
    ShowNow();
}

void CElmntDlg::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && IsModal()) {
        EndModal(wxID_CANCEL);
        return;
    }
    event.Skip();
}

void CElmntDlg::OnClose(wxCloseEvent& event) {
    // The dialogs have no Cancel button, so the framework would take the close box for OK.
    if (IsModal()) {
        EndModal(wxID_CANCEL);
        return;
    }
    event.Skip();
}
