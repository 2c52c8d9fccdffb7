// Layout and data exchange of the connector dialog.
#include "app/dialogs/DlgCnct.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include "app/dialogs/DlgRamp.h"
#include "model/Elmnt.h"
#include "model/ElmntEdit.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr uint32_t TextBase = 2090000;

} // namespace

CDlgCnct::CDlgCnct(wxWindow* parent, const SElmntDlgContext& context, ElmntId id)
    : CElmntDlg(parent, context, id, TextBase) {
    if (const CElmnt* coupling = FindElmnt(); coupling != nullptr) {
        m_fixedValue = coupling->fixed;
    }

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(CreateAdjustGroup(), 0, wxALL, FromDIP(10));
    top->Add(CreateButtons({IdRamp, IdSurface, IdRedraw}), 0, wxTOP | wxRIGHT | wxBOTTOM,
             FromDIP(10));
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(wxEVT_BUTTON, &CDlgCnct::OnRamp, this, IdRamp);
}

bool CDlgCnct::TransferDataToWindow() {
    SetFixed(m_fixedValue);
    return true;
}

bool CDlgCnct::TransferDataFromWindow() {
    m_fixedValue = GetFixed();
    return true;
}

void CDlgCnct::Apply() {
    if (m_context.dcmt == nullptr) {
        return;
    }
    SetCouplingFixed(*m_context.dcmt, m_id, m_fixedValue);
}

void CDlgCnct::OnRamp(wxCommandEvent&) {
    if (m_context.dcmt == nullptr) {
        return;
    }
    CDlgRamp::Run(this, *m_context.dcmt, m_id, GetCouplingMaterial(), m_context.snapRadiusSq,
                  [this] { RepaintView(); });
}

bool CDlgCnct::Edit(wxWindow* parent, const SElmntDlgContext& context, ElmntId id) {
    const CElmnt* coupling = context.dcmt != nullptr ? context.dcmt->FindElement(id) : nullptr;
    if (coupling == nullptr || GetPropertiesDialog(coupling->kind) != PropertiesDialog::Connector) {
        return false;
    }
    CDlgCnct dialog(parent, context, id);
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    dialog.Apply();
    return true;
}
