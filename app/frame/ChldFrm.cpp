// Document windows.
#include "app/frame/ChldFrm.h"

#include <wx/docview.h>

#include "app/frame/CommandBars.h"

CChldFrm::CChldFrm(wxDocument* document, wxView* view, wxAuiMDIParentFrame* parent,
                   uint32_t menuId)
    : m_menuId(menuId) {
    // Created here rather than by the base's constructor: the page is realised while it is
    // created when the document area is on the screen already, and only from here on do
    // the toolkit's calls reach this class's overrides.
    Create(document, view, parent, wxID_ANY, document->GetUserReadableName(), wxDefaultPosition,
           wxDefaultSize, wxDEFAULT_FRAME_STYLE | wxMAXIMIZE);
    if (wxMenuBar* menuBar = BuildMenuBar(menuId)) {
        SetMenuBar(menuBar);
        m_fileMenu = menuBar->GetMenu(0);
        if (wxFileHistory* history = document->GetDocumentManager()->GetFileHistory()) {
            history->UseMenu(m_fileMenu);
        }
    }
}

CChldFrm::~CChldFrm() {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (m_fileMenu != nullptr && manager != nullptr && manager->GetFileHistory() != nullptr) {
        manager->GetFileHistory()->RemoveMenu(m_fileMenu);
    }
}

void CChldFrm::DoGiveHelp(const wxString& text, bool show) {
    if (wxAuiMDIParentFrame* parent = GetMDIParentFrame()) {
        parent->DoGiveHelp(text, show);
    }
}

#ifdef __WXGTK__
void CChldFrm::GTKHandleRealized() {
    wxWindow::GTKHandleRealized();
}
#endif
