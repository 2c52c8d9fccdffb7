// Document windows.
#include "app/frame/ChldFrm.h"

#include <wx/docview.h>

#include "app/frame/CommandBars.h"

CChldFrm::CChldFrm(wxDocument* document, wxView* view, wxAuiMDIParentFrame* parent,
                   uint32_t menuId)
    : wxDocChildFrameAny(document, view, parent, wxID_ANY, document->GetUserReadableName(),
                         wxDefaultPosition, wxDefaultSize,
                         wxDEFAULT_FRAME_STYLE | wxMAXIMIZE),
      m_menuId(menuId) {
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
