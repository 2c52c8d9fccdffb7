// TEMPORARY: a stand-in for the 3D view (CZarnelView) so that designs open in windows before
// that view exists. It shows the design's name and the number of its elements alive now.
// Replace the class, in CZarnelApp::InitInstance, by the view it stands for, and then remove
// this file.
#pragma once

#include "app/frame/ZarnelWxView.h"

class wxStaticText;

class CPlaceholderView : public CZarnelWxView {
public:
    bool OnCreate(wxDocument* document, long flags) override;
    void OnDraw(wxDC*) override {}

    // What the window shows, the hints it heard, the last one.
    wxString GetShownText() const;
    int GetUpdateCount() const { return m_updateCount; }
    ViewHint GetLastHint() const { return m_lastHint; }

protected:
    void OnDesignUpdate(wxView* sender, ViewHint hint) override;

private:
    void ShowDesign();

    wxStaticText* m_text = nullptr;
    int m_updateCount = 0;
    ViewHint m_lastHint = ViewHint::Everything;
};

// Stands for CZarnelView (template 101).
class CPlaceholderZarnelView : public CPlaceholderView {
    wxDECLARE_DYNAMIC_CLASS(CPlaceholderZarnelView);
};
