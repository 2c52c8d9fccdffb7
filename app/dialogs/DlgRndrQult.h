// Dialog 205 "3D-Darstellungsqualität": the six settings of a render-quality profile as radio
// groups and a check box. The dialog edits a copy of the values; OK hands them back.
#pragma once

#include <cstdint>
#include <vector>

#include <wx/dialog.h>

#include "app/render/RndrQult.h"

class wxCheckBox;
class wxRadioButton;

class CDlgRndrQult : public wxDialog {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdMinNearest = 1033, // minification group 1033..1038
        IdMagNearest = 1039, // magnification group 1039, 1040
        IdLinear = 1041,     // interpolation group 1041, 1042
        IdTexture = 1043,
        IdShadingNone = 1044, // shading group 1044..1047
        IdModellVeryCoarse = 1048,
        IdModellFine = 1049,
        IdModellCoarse = 1050,
        IdModellVeryFine = 1051,
    };

    CDlgRndrQult(wxWindow* parent, const SRndrQultValues& values);

    // The values as the dialog holds them (after OK, as the user left them).
    const SRndrQultValues& GetValues() const { return m_values; }

    // Shows the dialog modally on the profile's values; OK stores them in the profile and
    // answers true, Cancel (also Escape and the close box) changes nothing.
    static bool Edit(wxWindow* parent, CRndrQult& quality);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

private:
    // One radio group: its buttons in the order of the values 0, 1, ...
    struct SRadioGroup {
        int SRndrQultValues::*field;
        std::vector<wxRadioButton*> buttons;
    };

    void AddGroup(wxSizer* column, uint32_t captionId, int SRndrQultValues::*field,
                  const std::vector<int>& ids);

    SRndrQultValues m_values;
    std::vector<SRadioGroup> m_groups;
    wxCheckBox* m_texture = nullptr;
};
