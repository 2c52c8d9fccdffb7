// The frame of every document window (3D view and parts list alike): a page of the main frame's
// document area, filling its pane, with the menu of its document template. It has no status bar of its own:
// its menus' prompts show in the main frame's.
#pragma once

#include <cstdint>

#include <wx/defs.h> // before the notebook MDI header, which tests its settings
#include <wx/aui/tabmdi.h>
#include <wx/docview.h>

class CChldFrm : public wxDocChildFrameAny<wxAuiMDIChildFrame, wxAuiMDIParentFrame> {
public:
    // menuId is the template's resource number: 101 for the 3D window, 102 for the parts list.
    CChldFrm(wxDocument* document, wxView* view, wxAuiMDIParentFrame* parent, uint32_t menuId);
    ~CChldFrm() override;

    uint32_t GetMenuId() const { return m_menuId; }

    void DoGiveHelp(const wxString& text, bool show) override;

#ifdef __WXGTK__
    // The page is a plain child widget, although its class derives from the toolkit's top
    // level frame: only a plain window's handling applies when it is realised (the frame's
    // would treat the widget as a top level window and make GTK report a failed cast).
    void GTKHandleRealized() override;
#endif

private:
    uint32_t m_menuId;
    wxMenu* m_fileMenu = nullptr; // the File menu, whose recent-file list is kept up to date
};
