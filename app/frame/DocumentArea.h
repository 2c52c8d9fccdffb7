// The main frame's document area: the document windows (3D views and parts lists) as pages of
// the toolkit's splittable notebook. The window commands arrange it: each window in a pane of
// its own beside or above the others, or all of them back in one pane as tabs.
#pragma once

#include <optional>
#include <vector>

#include <wx/defs.h> // before the notebook MDI header, which tests its settings
#include <wx/aui/tabmdi.h>

class CDocumentArea : public wxAuiMDIClientWindow {
public:
    explicit CDocumentArea(wxAuiMDIParentFrame* parent);

    // Every window in a pane of its own, in the order they were opened, sharing the area
    // equally: wxVERTICAL side by side (left to right), wxHORIZONTAL one above the other. The
    // active window stays active.
    void Tile(wxOrientation orientation);
    // Every window back in the first pane, as tabs; the active window stays in front.
    void Join();
    // A window just opened goes into a pane of its own at the far side, when the windows were
    // last arranged side by side or one above the other; otherwise it stays a tab.
    void PlaceNewWindow(wxWindow* page);

    // The windows shown now, one per pane, left to right and then top to bottom.
    std::vector<wxWindow*> GetShownWindows();
    // Activates the shown window step places after the active one (−1: before it, cyclic) and
    // gives its content the keyboard focus; nothing happens while only one window is shown.
    void ActivateShown(int step);

protected:
    // While tiling, each new pane takes an equal share of the area.
    wxSize CalculateNewSplitSize() override;

private:
    void Select(wxWindow* page);
    // Gives every pane its share of the new size.
    void OnSize(wxSizeEvent& event);

    std::optional<wxOrientation> m_tiled; // how the windows were last tiled, if they were
    wxSize m_sharedSize;                  // the size the panes were last shared out in
};
