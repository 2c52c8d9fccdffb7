// Laying out the main frame without painting its document area half-way.
#include "app/frame/FrameAuiManager.h"

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
    wxWindowUpdateLocker hold(m_held);
    return wxAuiManager::ProcessEvent(event);
}
