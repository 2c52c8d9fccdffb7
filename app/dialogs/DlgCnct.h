// Dialog 209 "Verbinder": the position-adjustment choice of a coupling, which changes the
// coupling in place without a revision, and the buttons for the ramp and the surface dialogs.
#pragma once

#include "app/dialogs/ElmntDlg.h"

class CDlgCnct : public CElmntDlg {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdRamp = 1031,
    };

    CDlgCnct(wxWindow* parent, const SElmntDlgContext& context, ElmntId id);

    bool GetFixedValue() const { return m_fixedValue; }

    // Shows the dialog modally on the coupling alive with the identity (kinds 0x820003, 0x820007,
    // 0x900023, 0x920004 to 0x920006); OK sets its fixed flag (SetCouplingFixed) and answers
    // true. Cancel (Escape, the close box) leaves what the buttons already took over. False
    // without a dialog for any other element.
    static bool Edit(wxWindow* parent, const SElmntDlgContext& context, ElmntId id);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    void Apply() override;

private:
    void OnRamp(wxCommandEvent& event);

    bool m_fixedValue = false;
};
