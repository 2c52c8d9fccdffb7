// Arranging the document windows in the notebook's panes.
#include "app/frame/DocumentArea.h"

#include <algorithm>

CDocumentArea::CDocumentArea(wxAuiMDIParentFrame* parent) : wxAuiMDIClientWindow(parent) {}

void CDocumentArea::Tile(wxOrientation orientation) {
    wxWindow* active = GetCurrentPage();
    Join();
    // Each split docks its page at the far side of what is there, so splitting in the order
    // of the pages lays them out in that order.
    const int side = orientation == wxVERTICAL ? wxRIGHT : wxBOTTOM;
    for (size_t page = 1; page < GetPageCount(); ++page) {
        Split(page, side);
    }
    Select(active);
}

void CDocumentArea::Join() {
    if (GetPageCount() < 2) {
        return;
    }
    wxWindow* active = GetCurrentPage();
    wxAuiTabCtrl* target = nullptr;
    int index = 0;
    if (!FindTab(GetPage(0), &target, &index)) {
        return;
    }
    bool moved = false;
    for (size_t page = 1; page < GetPageCount(); ++page) {
        wxWindow* window = GetPage(page);
        wxAuiTabCtrl* source = nullptr;
        if (!FindTab(window, &source, &index) || source == target) {
            continue;
        }
        wxAuiNotebookPage info = source->GetPage(static_cast<size_t>(index));
        info.active = false;
        source->RemovePage(window);
        target->AddPage(window, info);
        moved = true;
    }
    if (!moved) {
        return;
    }
    RemoveEmptyTabFrames();
    DoSizing();
    Select(active);
}

std::vector<wxWindow*> CDocumentArea::GetShownWindows() {
    std::vector<wxWindow*> shown;
    for (size_t page = 0; page < GetPageCount(); ++page) {
        wxWindow* window = GetPage(page);
        wxAuiTabCtrl* tabs = nullptr;
        int index = 0;
        if (FindTab(window, &tabs, &index) && tabs->GetActivePage() == index) {
            shown.push_back(window);
        }
    }
    std::stable_sort(shown.begin(), shown.end(), [](wxWindow* a, wxWindow* b) {
        const wxPoint pa = a->GetScreenPosition();
        const wxPoint pb = b->GetScreenPosition();
        return pa.x != pb.x ? pa.x < pb.x : pa.y < pb.y;
    });
    return shown;
}

void CDocumentArea::ActivateShown(int step) {
    const std::vector<wxWindow*> shown = GetShownWindows();
    if (shown.size() < 2) {
        return;
    }
    const auto count = static_cast<int>(shown.size());
    const auto found = std::find(shown.begin(), shown.end(), GetCurrentPage());
    const int at = found == shown.end() ? 0 : static_cast<int>(found - shown.begin());
    wxWindow* next = shown[static_cast<size_t>(((at + step) % count + count) % count)];
    SetSelection(static_cast<size_t>(FindPage(next)));
    // The page itself takes no keys: its content does (the 3D view's canvas, the list).
    for (wxWindow* child : next->GetChildren()) {
        if (child->IsShown() && child->AcceptsFocus()) {
            child->SetFocus();
            break;
        }
    }
}

wxSize CDocumentArea::CalculateNewSplitSize() {
    wxSize size = GetClientSize();
    const int count = std::max(1, static_cast<int>(GetPageCount()));
    return {size.x / count, size.y / count};
}

void CDocumentArea::Select(wxWindow* page) {
    const int index = page != nullptr ? FindPage(page) : wxNOT_FOUND;
    if (index == wxNOT_FOUND) {
        return;
    }
    // The notebook ignores a selection of the page it holds selected; forgetting it makes the
    // page's pane show it in front and tells the window that it is active.
    m_curPage = wxNOT_FOUND;
    SetSelection(static_cast<size_t>(index));
}
