// File New, File Open and the recent files of the design program.
#include "app/frame/ZarnelDocManager.h"

#include <optional>

#include <wx/app.h>
#include <wx/filename.h>

#include "app/frame/MainFrm.h"
#include "app/frame/PreviewFrame.h"
#include "app/frame/RecentFileList.h"
#include "app/frame/ZarnelDocTemplate.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// "Fehler beim Öffnen des Dokuments."
constexpr uint32_t kFailedToOpenDocument = 61697;

} // namespace

CZarnelDocManager::CZarnelDocManager() : wxDocManager(0, false) {
    // Initialised here, not by the base: only now does it make our recent-file list.
    Initialize();
}

CRecentFileList* CZarnelDocManager::GetRecentFiles() const {
    return dynamic_cast<CRecentFileList*>(GetFileHistory());
}

wxFileHistory* CZarnelDocManager::OnCreateFileHistory() { return new CRecentFileList; }

void CZarnelDocManager::ActivateView(wxView* view, bool activate) {
    wxDocManager::ActivateView(view, activate);
    if (!activate || view == m_lastActiveView.get()) {
        return;
    }
    m_lastActiveView = view;
    if (auto* frame = dynamic_cast<CMainFrm*>(wxTheApp->GetTopWindow())) {
        frame->ShowIdleText();
    }
}

wxDocTemplate* CZarnelDocManager::SelectDocumentPath(wxDocTemplate** templates, int noTemplates,
                                                     wxString& path, long, bool save) {
    FileChoice choice;
    choice.save = save;
    for (int i = 0; i < noTemplates; ++i) {
        auto* zarnelTemplate = dynamic_cast<CZarnelDocTemplate*>(templates[i]);
        if (zarnelTemplate == nullptr || !zarnelTemplate->IsVisible()) {
            continue;
        }
        std::string filter = zarnelTemplate->GetDialogFilter();
        if (filter.empty()) {
            continue;
        }
        choice.filter += (choice.filter.empty() ? "" : "|") + filter;
        if (choice.defaultExtension.empty()) {
            choice.defaultExtension = zarnelTemplate->GetExtension();
        }
    }
    std::optional<std::string> chosen = GetUserInterface().ChooseFile(choice);
    if (!chosen) {
        path.clear();
        return nullptr;
    }
    path = wxString::FromUTF8(chosen->c_str());
    return FindTemplateForPath(path);
}

wxDocTemplate* CZarnelDocManager::FindTemplateForPath(const wxString& path) {
    if (wxDocTemplate* matching = wxDocManager::FindTemplateForPath(path)) {
        return matching;
    }
    for (wxList::compatibility_iterator node = GetTemplates().GetFirst(); node;
         node = node->GetNext()) {
        auto* candidate = static_cast<wxDocTemplate*>(node->GetData());
        if (candidate->IsVisible()) {
            return candidate;
        }
    }
    return nullptr;
}

wxString CZarnelDocManager::MakeNewDocumentName() {
    wxString name;
    for (wxList::compatibility_iterator node = GetTemplates().GetFirst(); node;
         node = node->GetNext()) {
        auto* candidate = static_cast<wxDocTemplate*>(node->GetData());
        if (candidate->IsVisible()) {
            name = candidate->GetDocumentName();
            break;
        }
    }
    return name + wxString::Format("%d", ++m_untitledCount);
}

void CZarnelDocManager::OnMRUFileNotExist(unsigned n, const wxString&) {
    ShowMessage(LoadLangText(kFailedToOpenDocument), {}, MsgButtons::Ok, MsgIcon::Exclamation);
    RemoveFileFromHistory(n);
}

wxPreviewFrame* CZarnelDocManager::CreatePreviewFrame(wxPrintPreviewBase* preview,
                                                      wxWindow* parent, const wxString& title) {
    return new CPreviewFrame(preview, parent, title);
}
