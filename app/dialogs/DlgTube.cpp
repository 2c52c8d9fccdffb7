// Layout and data exchange of the tube dialog: the length validated in 10 to 10000 cm, the
// correction any number.
#include "app/dialogs/DlgTube.h"

#include <wx/sizer.h>

#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr uint32_t TextBase = 2040000;

} // namespace

CDlgTube::CDlgTube(wxWindow* parent, const SElmntDlgContext& context, ElmntId id)
    : CElmntDlg(parent, context, id, TextBase) {
    if (const CElmnt* tube = FindElmnt(); tube != nullptr) {
        m_values = STubeProps::Of(*tube);
    }

    auto* grid = new wxFlexGridSizer(3, FromDIP(5), FromDIP(5));
    m_length = AddFloatRow(grid, IdLength);
    m_correction = AddFloatRow(grid, IdCorrection);

    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(grid, 0, wxBOTTOM, FromDIP(10));
    left->Add(CreateAdjustGroup(), 0, wxEXPAND);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 0, wxALL, FromDIP(10));
    top->Add(CreateButtons({IdSurface, IdRedraw}), 0, wxTOP | wxRIGHT | wxBOTTOM, FromDIP(10));
    SetSizerAndFit(top);
    CentreOnParent();
}

bool CDlgTube::TransferDataToWindow() {
    m_length.Load(m_values.length);
    m_correction.Load(m_values.correction);
    SetFixed(m_values.fixed);
    return true;
}

bool CDlgTube::TransferDataFromWindow() {
    STubeProps values = m_values;
    if (!m_length.Save(values.length, STubeProps::LengthMin, STubeProps::LengthMax)) {
        return false;
    }
    values.fixed = GetFixed();
    if (!m_correction.Save(values.correction)) {
        return false;
    }
    m_values = values;
    return true;
}

void CDlgTube::Apply() {
    if (m_context.dcmt == nullptr) {
        return;
    }
    ApplyTubeProps(*m_context.dcmt, m_id, m_values, GetCouplingMaterial(), m_context.snapRadiusSq);
}

bool CDlgTube::Edit(wxWindow* parent, const SElmntDlgContext& context, ElmntId id) {
    const CElmnt* tube = context.dcmt != nullptr ? context.dcmt->FindElement(id) : nullptr;
    if (tube == nullptr || GetPropertiesDialog(tube->kind) != PropertiesDialog::Tube) {
        return false;
    }
    CDlgTube dialog(parent, context, id);
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    dialog.Apply();
    return true;
}
