// Laying out the main frame without painting its document area half-way.
#include "app/frame/FrameAuiManager.h"

#include <vector>

#include <wx/wupdlock.h>

bool CFrameAuiManager::ProcessEvent(wxEvent& event) {
    if (event.GetEventType() != wxEVT_SIZE || m_held == nullptr) {
        return wxAuiManager::ProcessEvent(event);
    }
    // The toolbars are placed before the document area, and a toolbar given its new size
    // repaints at once (wxWindow::Update), which on GTK paints everything pending in the frame:
    // the 3D view would draw the whole design at the size it is about to lose (at start, the
    // restored size the window manager has just maximised). Held, the document area is painted
    // once, at its new size, on the toolkit's next frame.
    // The notebook gives its pages their new size only when it is thawed, after its children
    // and after repainting its tab row at once: the pages stay held until they have it.
    std::vector<wxWindow*> pages;
    for (size_t page = 0; page < m_held->GetPageCount(); ++page) {
        pages.push_back(m_held->GetPage(page));
        pages.back()->Freeze();
    }
    bool processed = false;
    {
        wxWindowUpdateLocker hold(m_held);
        processed = wxAuiManager::ProcessEvent(event);
    }
    for (wxWindow* page : pages) {
        page->Thaw();
    }
    return processed;
}
