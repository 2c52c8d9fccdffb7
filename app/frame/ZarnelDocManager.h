// The document manager of the design program: File New and File Open over the two templates,
// the open dialog through the user-interface seam (the string table's filter, both cases of the
// extension), new documents named the program's way ("Zarnel1", "Zarnel2", ...) and the
// recent-file list of four.
#pragma once

#include <string>

#include <wx/docview.h>
#include <wx/weakref.h>

class CRecentFileList;

class CZarnelDocManager : public wxDocManager {
public:
    CZarnelDocManager();

    CRecentFileList* GetRecentFiles() const;

    wxFileHistory* OnCreateFileHistory() override;
    wxDocTemplate* SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path,
                                      long flags, bool save = false) override;
    // The template whose extension the path has; otherwise the first template, which opens
    // files of any name as the framework did.
    wxDocTemplate* FindTemplateForPath(const wxString& path) override;
    // The design template's document name followed by a running number from 1.
    wxString MakeNewDocumentName() override;
    void OnMRUFileNotExist(unsigned n, const wxString& filename) override;
    // A window that becomes active, other than the one active before, starts with the status
    // bar's idle text: what the window before showed there (an element's article) was its own.
    void ActivateView(wxView* view, bool activate = true) override;

protected:
    // The framework's print preview window (the order form), sized before it is shown.
    wxPreviewFrame* CreatePreviewFrame(wxPrintPreviewBase* preview, wxWindow* parent,
                                       const wxString& title) override;

private:
    int m_untitledCount = 0;
    wxWeakRef<wxView> m_lastActiveView; // null once that window is gone
};
