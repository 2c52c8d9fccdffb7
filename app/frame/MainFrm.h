// The main window: a multi-document frame (document windows as tabs) with menu 100 while no
// document window is open, the thirteen toolbars, the status bar with its prompt and key
// indicator panes, and the accelerators. It keeps the toolbar layout in the profile section
// "Toolbars", shows and hides the bars through their toggle commands, and disables every
// command of the program that no handler on the active route enabled.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <wx/docmdi.h>

#include "app/frame/FrameAuiManager.h"

class CCmdToolBar;

class CMainFrm : public wxDocMDIParentFrame {
public:
    // Creates the frame with its bars and the layout saved by an earlier run (or the first
    // start's). Check IsCreated(): a frame that could not be made is to be destroyed.
    explicit CMainFrm(wxDocManager* manager);
    ~CMainFrm() override;

    bool IsCreated() const { return m_created; }

    // The text of status pane 0, shown at once (the 3D view shows element names there).
    void SetStatusText(const wxString& text, int number = 0) override;

    // Bar 0 to 12 of the command table.
    CCmdToolBar* GetToolbar(int bar) const;
    bool IsBarShown(int bar) const;
    void ShowBar(int bar, bool show);
    wxAuiManager& GetAuiManager() { return m_aui; }

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
    // A command given by an accelerator while its update handlers disable it is dropped.
    bool TryBefore(wxEvent& event) override;
    // The last stop of every update: a command of the program that nobody enabled is disabled.
    bool TryAfter(wxEvent& event) override;

private:
    bool CreateBars();
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
