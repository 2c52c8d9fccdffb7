// Dialog 202 "Platte": the type, length and width of a panel, its position-adjustment choice, a
// turn and its surface; the corrections are shown, not taken over. The type changes the panel in
// place at once; a new size re-links it in a new revision, corner 0 staying where it is. The
// dialog opens beside the double-click that asked for it.
#pragma once

#include <array>

#include <wx/gdicmn.h>

#include "app/dialogs/ElmntDlg.h"
#include "model/ElmntEdit.h"

// The top-left corner for a window of the size wanted at the point, kept in the work area: a
// point left of (above) the area goes to its left (top) edge, otherwise a window that would
// cross the right (bottom) edge ends at it.
wxPoint KeepInWorkArea(wxPoint wanted, wxSize size, const wxRect& area);

class CDlgPnl : public CElmntDlg {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdWidth = 1026,
        IdLength = 1027,
        IdCorrection = 1028,
        IdSecondCorrection = 1031,
        IdTurn = 1091,
    };
    // The type radios in the order of the panel types (GetPanelTypes).
    static constexpr std::array<int, 8> TypeIds = {1003, 1004, 1005, 1007, 1006, 1008, 1009, 1010};
    // Where the dialog goes, relative to the click, in pixels.
    static constexpr int OffsetX = 30;
    static constexpr int OffsetY = -60;

    // click: the double-click in the client pixels of the context's view.
    CDlgPnl(wxWindow* parent, const SElmntDlgContext& context, ElmntId id, wxPoint click);
    // Without an element, for the special-panel tool: the type index and the sizes (cm) are the
    // caller's; the dialog opens in the middle of its parent. Nothing here acts on an element:
    // the type radios and the redraw button only show, the turn button is disabled, and
    // "Oberfläche..." chooses the view's slot for panels.
    CDlgPnl(wxWindow* parent, const SElmntDlgContext& context, int type, const SPanelProps& values);

    const SPanelProps& GetValues() const { return m_values; }
    int GetTypeIndex() const { return m_type; }

    // Shows the dialog modally on the panel-like element alive with the identity (kinds
    // 0x280008 to 0x28000c, 0x28000e, 0x28000f and the lattice 0x88000d); OK applies the sizes
    // and the fixed flag (ApplyPanelProps) and answers true. Cancel (Escape, the close box)
    // leaves what the type radios and the buttons already took over. False without a dialog
    // for any other element.
    static bool Edit(wxWindow* parent, const SElmntDlgContext& context, ElmntId id, wxPoint click);

    // The special-panel tool's dialog: type (index of GetPanelTypes()) and values given; OK
    // stores the type and the values entered and answers true, Cancel leaves both as they were.
    static bool Choose(wxWindow* parent, const SElmntDlgContext& context, int& type,
                       SPanelProps& values);

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;
    void Apply() override;

private:
    void CreateControls();
    void PlaceBesideClick(wxPoint click);
    void OnSetType(wxCommandEvent& event);
    void OnTurn(wxCommandEvent& event);

    SPanelProps m_values;
    int m_type = 0;
    std::array<wxRadioButton*, 8> m_types{};
    CFloatField m_length;
    CFloatField m_width;
    CFloatField m_correction;
    CFloatField m_secondCorrection;
};
