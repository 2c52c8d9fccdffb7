// Layout, placing and data exchange of the panel dialog: length and width validated in 5 to
// 10000 cm; the type radios and the turn button act on the panel at once.
#include "app/dialogs/DlgPnl.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr uint32_t TextBase = 2020000;

} // namespace

wxPoint KeepInWorkArea(wxPoint wanted, wxSize size, const wxRect& area) {
    wxPoint placed = wanted;
    if (wanted.x < area.GetLeft()) {
        placed.x = area.GetLeft();
    } else if (wanted.x + size.x > area.GetRight() + 1) {
        placed.x = area.GetRight() + 1 - size.x;
    }
    if (wanted.y < area.GetTop()) {
        placed.y = area.GetTop();
    } else if (wanted.y + size.y > area.GetBottom() + 1) {
        placed.y = area.GetBottom() + 1 - size.y;
    }
    return placed;
}

CDlgPnl::CDlgPnl(wxWindow* parent, const SElmntDlgContext& context, ElmntId id, wxPoint click)
    : CElmntDlg(parent, context, id, TextBase) {
    if (const CElmnt* panel = FindElmnt(); panel != nullptr) {
        m_values = SPanelProps::Of(*panel);
        m_type = std::max(GetPanelTypeIndex(panel->kind), 0);
    }
    CreateControls();
    PlaceBesideClick(click);
}

CDlgPnl::CDlgPnl(wxWindow* parent, const SElmntDlgContext& context, int type,
                 const SPanelProps& values)
    : CElmntDlg(parent, context, ElmntId(), TextBase), m_values(values),
      m_type(type >= 0 && static_cast<std::size_t>(type) < TypeIds.size() ? type : 0) {
    SetToolKind(ElmntKind::Panel);
    CreateControls();
    FindWindow(IdTurn)->Disable();
    CentreOnParent();
}

void CDlgPnl::CreateControls() {
    auto* typeBox = new wxStaticBoxSizer(wxVERTICAL, this, wxEmptyString);
    for (std::size_t i = 0; i < TypeIds.size(); ++i) {
        m_types[i] = new wxRadioButton(typeBox->GetStaticBox(), TypeIds[i], Text(TypeIds[i]),
                                       wxDefaultPosition, wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        typeBox->Add(m_types[i], 0, wxALL, 3);
        Bind(wxEVT_RADIOBUTTON, &CDlgPnl::OnSetType, this, TypeIds[i]);
    }

    // Length and width, each with its correction beside it.
    auto* grid = new wxFlexGridSizer(7, FromDIP(5), FromDIP(5));
    m_length = AddFloatRow(grid, IdLength);
    grid->AddSpacer(FromDIP(10));
    m_correction = AddFloatRow(grid, IdCorrection);
    m_width = AddFloatRow(grid, IdWidth);
    grid->AddSpacer(FromDIP(10));
    m_secondCorrection = AddFloatRow(grid, IdSecondCorrection);

    auto* middle = new wxBoxSizer(wxVERTICAL);
    middle->Add(grid, 0, wxBOTTOM, FromDIP(10));
    middle->Add(CreateAdjustGroup(), 0, wxEXPAND);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(typeBox, 0, wxLEFT | wxTOP | wxBOTTOM, FromDIP(10));
    top->Add(middle, 0, wxALL, FromDIP(10));
    top->Add(CreateButtons({IdTurn, IdSurface, IdRedraw}), 0, wxTOP | wxRIGHT | wxBOTTOM,
             FromDIP(10));
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CDlgPnl::OnTurn, this, IdTurn);
}

void CDlgPnl::PlaceBesideClick(wxPoint click) {
    if (m_context.view == nullptr) {
        CentreOnParent();
        return;
    }
    const wxPoint wanted = m_context.view->ClientToScreen(click + wxPoint(OffsetX, OffsetY));
    int display = wxDisplay::GetFromPoint(wanted);
    if (display == wxNOT_FOUND) {
        display = wxDisplay::GetFromWindow(m_context.view);
    }
    const wxDisplay screen(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display));
    Move(KeepInWorkArea(wanted, GetSize(), screen.GetClientArea()));
}

bool CDlgPnl::TransferDataToWindow() {
    m_types[static_cast<std::size_t>(m_type)]->SetValue(true);
    m_length.Load(m_values.length);
    m_width.Load(m_values.width);
    SetFixed(m_values.fixed);
    m_secondCorrection.Load(m_values.secondCorrection);
    m_correction.Load(m_values.correction);
    return true;
}

bool CDlgPnl::TransferDataFromWindow() {
    SPanelProps values = m_values;
    int type = m_type;
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        if (m_types[i]->GetValue()) {
            type = static_cast<int>(i);
        }
    }
    if (!m_length.Save(values.length, SPanelProps::SizeMin, SPanelProps::SizeMax) ||
        !m_width.Save(values.width, SPanelProps::SizeMin, SPanelProps::SizeMax)) {
        return false;
    }
    values.fixed = GetFixed();
    if (!m_secondCorrection.Save(values.secondCorrection) ||
        !m_correction.Save(values.correction)) {
        return false;
    }
    m_values = values;
    m_type = type;
    return true;
}

void CDlgPnl::Apply() {
    if (m_context.dcmt == nullptr || !m_id.IsValid()) {
        return;
    }
    ApplyPanelProps(*m_context.dcmt, m_id, m_values, GetCouplingMaterial(), m_context.snapRadiusSq);
}

void CDlgPnl::OnSetType(wxCommandEvent&) {
    if (m_context.dcmt == nullptr || !m_id.IsValid()) {
        return;
    }
    const int shown = m_type;
    if (!TakeOver()) {
        // A refused value leaves the panel as it is, its type included.
        m_types[static_cast<std::size_t>(shown)]->SetValue(true);
        return;
    }
    SetPanelType(*m_context.dcmt, m_id, GetPanelTypes()[static_cast<std::size_t>(m_type)]);
    ShowNow();
}

void CDlgPnl::OnTurn(wxCommandEvent&) {
    if (m_context.dcmt == nullptr || !m_id.IsValid()) {
        return;
    }
    TurnPanel(*m_context.dcmt, m_id, GetCouplingMaterial(), m_context.snapRadiusSq);
    ShowNow();
}

bool CDlgPnl::Edit(wxWindow* parent, const SElmntDlgContext& context, ElmntId id, wxPoint click) {
    const CElmnt* panel = context.dcmt != nullptr ? context.dcmt->FindElement(id) : nullptr;
    if (panel == nullptr || GetPropertiesDialog(panel->kind) != PropertiesDialog::Panel) {
        return false;
    }
    CDlgPnl dialog(parent, context, id, click);
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    dialog.Apply();
    return true;
}

bool CDlgPnl::Choose(wxWindow* parent, const SElmntDlgContext& context, int& type,
                     SPanelProps& values) {
    CDlgPnl dialog(parent, context, type, values);
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    type = dialog.GetTypeIndex();
    values = dialog.GetValues();
    return true;
}
