// Arranging the document windows in the notebook's panes.
#include "app/frame/DocumentArea.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>

#include <wx/aui/dockart.h>

namespace {

// Below this a 3D view or a parts list is of no use: panes keep it while the area has room.
constexpr int kMinPaneLength = 150;

// A "dock_size(direction,layer,row)=size" entry of the pane manager's layout text.
struct SDockEntry {
    size_t at = 0;     // where its size starts in the text
    size_t length = 0; // the size's digits
    int direction = 0;
    int size = 0;
};

std::vector<SDockEntry> FindDockEntries(const std::string& layout) {
    static constexpr char kKey[] = "dock_size(";
    std::vector<SDockEntry> entries;
    for (size_t at = layout.find(kKey); at != std::string::npos; at = layout.find(kKey, at)) {
        at += sizeof kKey - 1;
        const size_t equals = layout.find(")=", at);
        if (equals == std::string::npos) {
            break;
        }
        SDockEntry entry;
        int layer = 0;
        int row = 0;
        if (std::sscanf(layout.c_str() + at, "%d,%d,%d", &entry.direction, &layer, &row) != 3) {
            continue;
        }
        entry.at = equals + 2;
        entry.length = layout.find('|', entry.at) - entry.at;
        entry.size = std::atoi(layout.c_str() + entry.at);
        entries.push_back(entry);
    }
    return entries;
}

// The sizes of the panes docked along one side when the area's length changes from before to
// after (both without the sashes): each keeps its share of the length, the middle pane (the
// rest) too, and none of them, the middle one included, gets less than minimum while the length
// holds them all.
std::vector<int> ShareLength(std::vector<int> sizes, int before, int after, int minimum) {
    if (sizes.empty() || before <= 0 || after <= 0) {
        return sizes;
    }
    const auto panes = static_cast<int>(sizes.size()) + 1; // the middle one too
    if (after < panes * minimum) {
        std::fill(sizes.begin(), sizes.end(), after / panes);
        return sizes;
    }
    const double scale = static_cast<double>(after) / before;
    for (int& size : sizes) {
        size = std::max(minimum, static_cast<int>(std::lround(size * scale)));
    }
    // What the docked panes take beyond the middle pane's minimum comes off their part above
    // their own minimum, in proportion.
    const int excess = std::accumulate(sizes.begin(), sizes.end(), 0) - (after - minimum);
    if (excess > 0) {
        const int spare =
            std::accumulate(sizes.begin(), sizes.end(), 0) - minimum * (panes - 1);
        int taken = 0;
        for (int& size : sizes) {
            const int share = static_cast<int>(
                std::ceil(static_cast<double>(excess) * (size - minimum) / spare));
            const int take = std::min({share, size - minimum, excess - taken});
            size -= take;
            taken += take;
        }
    }
    return sizes;
}

} // namespace

CDocumentArea::CDocumentArea(wxAuiMDIParentFrame* parent) : wxAuiMDIClientWindow(parent) {
    Bind(wxEVT_SIZE, &CDocumentArea::OnSize, this);
}

void CDocumentArea::Tile(wxOrientation orientation) {
    wxWindow* active = GetCurrentPage();
    Join();
    m_tiled = orientation;
    // Each split docks its page at the far side of what is there, so splitting in the order
    // of the pages lays them out in that order.
    const int side = orientation == wxVERTICAL ? wxRIGHT : wxBOTTOM;
    for (size_t page = 1; page < GetPageCount(); ++page) {
        Split(page, side);
    }
    Select(active);
}

void CDocumentArea::Join() {
    m_tiled.reset();
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

void CDocumentArea::PlaceNewWindow(wxWindow* page) {
    const int index = page != nullptr ? FindPage(page) : wxNOT_FOUND;
    if (!m_tiled || index == wxNOT_FOUND) {
        return;
    }
    Split(static_cast<size_t>(index), *m_tiled == wxVERTICAL ? wxRIGHT : wxBOTTOM);
    Select(page);
}

void CDocumentArea::OnSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize before = m_sharedSize;
    const wxSize after = GetClientSize();
    m_sharedSize = after;
    if (before.x <= 0 || before.y <= 0 || after == before || GetShownWindows().size() < 2) {
        return;
    }
    // The pane manager keeps the panes beside the middle one at their size, so that the middle
    // one alone took every change: each pane gets its share of the new size instead.
    std::string layout = m_mgr.SavePerspective().utf8_string();
    std::vector<SDockEntry> entries = FindDockEntries(layout);
    const int sash = m_mgr.GetArtProvider()->GetMetric(wxAUI_DOCKART_SASH_SIZE);
    bool changed = false;
    for (const bool acrossX : {true, false}) {
        std::vector<SDockEntry*> docks;
        for (SDockEntry& entry : entries) {
            const bool alongX =
                entry.direction == wxAUI_DOCK_LEFT || entry.direction == wxAUI_DOCK_RIGHT;
            const bool alongY =
                entry.direction == wxAUI_DOCK_TOP || entry.direction == wxAUI_DOCK_BOTTOM;
            if (acrossX ? alongX : alongY) {
                docks.push_back(&entry);
            }
        }
        if (docks.empty()) {
            continue;
        }
        std::vector<int> sizes;
        for (const SDockEntry* dock : docks) {
            sizes.push_back(dock->size);
        }
        const int sashes = sash * static_cast<int>(docks.size());
        sizes = ShareLength(sizes, (acrossX ? before.x : before.y) - sashes,
                            (acrossX ? after.x : after.y) - sashes, kMinPaneLength);
        for (size_t i = 0; i < docks.size(); ++i) {
            changed = changed || sizes[i] != docks[i]->size;
            docks[i]->size = sizes[i];
        }
    }
    if (!changed) {
        return;
    }
    // Written back from the end, so that the places of the entries before stay valid.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        layout.replace(entry->at, entry->length, std::to_string(entry->size));
    }
    m_mgr.LoadPerspective(wxString::FromUTF8(layout.c_str()), true);
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
