// Dialog 204 "Rohr": length, correction and the position-adjustment choice of a tube or tube
// bend, in centimetres. A change of length or correction re-links the tube in a new revision.
#pragma once

#include "app/dialogs/ElmntDlg.h"
#include "model/ElmntEdit.h"

class CDlgTube : public CElmntDlg {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdLength = 1027,
        IdCorrection = 1028,
    };

    CDlgTube(wxWindow* parent, const SElmntDlgContext& context, ElmntId id);

    // The values as the dialog holds them (after OK, as the user left them).
    const STubeProps& GetValues() const { return m_values; }

    // Shows the dialog modally on the tube or tube bend alive with the identity; OK applies the
    // values (ApplyTubeProps) and answers true. Cancel (Escape, the close box) leaves what the
    // buttons of the dialog already took over. False without a dialog for any other element.
    static bool Edit(wxWindow* parent, const SElmntDlgContext& context, ElmntId id);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    void Apply() override;

private:
    STubeProps m_values;
    CFloatField m_length;
    CFloatField m_correction;
};
