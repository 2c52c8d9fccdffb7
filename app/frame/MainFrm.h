// The main window: a multi-document frame (document windows as tabs of a document area that
// can show them side by side) with menu 100 while no document window is open, the thirteen
// toolbars, the status bar with its prompt and key indicator panes, and the accelerators. It
// keeps the toolbar layout in the profile section "Toolbars", shows and hides the bars through
// their toggle commands, and disables every command of the program that no handler on the
// active route enabled.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <wx/defs.h> // before the notebook MDI header, which tests its settings
#include <wx/aui/tabmdi.h>
#include <wx/docview.h>

#include "app/frame/FrameAuiManager.h"

class CCmdToolBar;
class CDocumentArea;

// The document framework's parent frame over the toolkit's notebook-based multi-document frame.
using CDocParentFrame = wxDocParentFrameAny<wxAuiMDIParentFrame>;

class CMainFrm : public CDocParentFrame {
public:
    // Creates the frame with its bars and the layout saved by an earlier run (or the first
    // start's). Check IsCreated(): a frame that could not be made is to be destroyed.
    explicit CMainFrm(wxDocManager* manager);
    ~CMainFrm() override;

    bool IsCreated() const { return m_created; }

    // Shows the floating bars again once the frame is on screen, so that the window manager
    // keeps them above the frame they belong to.
    bool Show(bool show = true) override;

    // The text of status pane 0, shown at once (the 3D view shows element names there).
    void SetStatusText(const wxString& text, int number = 0) override;
    // "Bereit" in status pane 0.
    void ShowIdleText();

    // Bar 0 to 12 of the command table.
    CCmdToolBar* GetToolbar(int bar) const;
    bool IsBarShown(int bar) const;
    void ShowBar(int bar, bool show);
    wxAuiManager& GetAuiManager() { return m_aui; }
    CDocumentArea* GetDocumentArea() const;

    // The window commands: "Nebeneinander" and "Übereinander" tile, "Überlappend" and
    // "Symbole anordnen" join the windows in one pane; F6 and Shift+F6 step through the panes.
    void Cascade() override;
    void Tile(wxOrientation orientation = wxHORIZONTAL) override;
    void ArrangeIcons() override;
    void ActivateNext() override;
    void ActivatePrevious() override;

    // The layout into the profile section "Toolbars": bars, rows, floating places, status bar.
    // Only what changed since the start (or the last save) is written, into the settings as
    // they are on disk then.
    void SaveBarState();
    // The saved layout, when there is a usable one; false leaves the first start's layout.
    bool LoadBarState();

    // Whether the active route (document window, documents, this frame, the application)
    // enables the command of this wx number.
    bool IsCommandEnabled(int wxId);

protected:
    wxAuiMDIClientWindow* OnCreateClient() override;
    // A command given by an accelerator while its update handlers disable it is dropped,
    // before the active document window sees it.
    bool ProcessEvent(wxEvent& event) override;
    // The last stop of every update: a command of the program that nobody enabled is disabled.
    bool TryAfter(wxEvent& event) override;

private:
    bool CreateBars();
    // Whether the event is one that the base handed to the active document window first and
    // that the window passed back up unhandled.
    bool IsComingUpFromDocumentArea(const wxEvent& event) const;
    void DockForFirstStart();
    std::vector<std::string> PaneNames();
    void UpdateIndicators();
    void UpdateTitle();

    void OnClose(wxCloseEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnViewBar(wxCommandEvent& event);
    void OnUpdateViewBar(wxUpdateUIEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnWindowNew(wxCommandEvent& event);
    void OnUpdateWindowNew(wxUpdateUIEvent& event);
    void OnWindowArrange(wxCommandEvent& event);
    void OnUpdateWindowArrange(wxUpdateUIEvent& event);
    void OnUpdatePane(wxUpdateUIEvent& event);
    void OnUpdateRecentFile(wxUpdateUIEvent& event);
    void OnUpdateEnabled(wxUpdateUIEvent& event);
    void OnAppExit(wxCommandEvent& event);
    void OnFileClose(wxCommandEvent& event);
    void OnUpdateFileClose(wxUpdateUIEvent& event);

    CFrameAuiManager m_aui;
    std::vector<CCmdToolBar*> m_toolbars;
    std::string m_firstStartLayout;
    std::string m_layoutAtStart;          // the layout in use once start-up placed the bars
    bool m_layoutStored = false;          // the profile held a usable layout
    std::optional<int> m_statusBarStored; // the profile's status bar entry
    wxMenu* m_fileMenu = nullptr;
    bool m_created = false;
    bool m_probing = false; // an enabled-state probe is under way
    wxString m_indicatorTexts[3];
};
