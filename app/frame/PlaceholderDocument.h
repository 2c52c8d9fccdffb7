// TEMPORARY: a stand-in document and view so that the frame can open design windows before the
// design document and its views exist. It reads nothing from a design file (it only checks that
// the file can be opened) and saves nothing. Remove both classes, and their registration in
// CZarnelApp::InitInstance, when CZarnelDcmt, CZarnelView and CPartListView take their place.
#pragma once

#include <wx/docview.h>

class CPlaceholderDocument : public wxDocument {
public:
    CPlaceholderDocument() = default;

protected:
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    wxDECLARE_DYNAMIC_CLASS(CPlaceholderDocument);
};

// An empty window in the document's frame.
class CPlaceholderView : public wxView {
public:
    CPlaceholderView() = default;

    bool OnCreate(wxDocument* document, long flags) override;
    void OnDraw(wxDC* dc) override;

private:
    wxDECLARE_DYNAMIC_CLASS(CPlaceholderView);
};
