// The main frame's bar manager: it places the toolbars and the document area, and holds the
// document area's painting while it does so on a new frame size.
#pragma once

#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>

class CFrameAuiManager : public wxAuiManager {
public:
    // The notebook whose windows are not painted while the frame is laid out anew on a size
    // change (the document area with the 3D views); nullptr holds nothing.
    void SetHeldWindow(wxAuiNotebook* notebook) { m_held = notebook; }

    bool ProcessEvent(wxEvent& event) override;

private:
    wxAuiNotebook* m_held = nullptr;
};
