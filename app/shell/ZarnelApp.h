// The design program's application object: settings that outlive every document (print
// margins, the 15 cm snap option, the two render-quality profiles, the two document templates),
// start-up and shut-down, and the application's commands (about box, help).
#pragma once

#include <memory>

#include <wx/app.h>
#include <wx/weakref.h>

#include "app/frame/DocumentAppHost.h"
#include "app/frame/MainFrm.h"
#include "app/view/AppOptions.h"

class CRndrQult;
class CZarnelDocManager;
class WxUserInterface;
class wxDocTemplate;

class CZarnelApp : public wxApp, public CDocumentAppHost, public CAppOptionsHost {
public:
    CZarnelApp();
    ~CZarnelApp() override;

    // Sets what must be set before the toolkit starts: OpenGL windows need GLX, so the X11
    // backend is chosen unless the user chose one.
    static void PrepareEnvironment();

    bool OnInit() override;
    int OnExit() override;
    // The last guard: an exception that no operation caught (an event handler's) is shown with
    // its reason, and the program goes on with every open design instead of ending.
    bool OnExceptionInMainLoop() override;

    // Start-up: false when a step failed (the reason is on stderr and, where the failing step
    // has one, in a box); ExitInstance then still runs.
    bool InitInstance();
    // Shut-down: the profiles write their settings back and are freed (edit quality first).
    int ExitInstance();

    wxDocTemplate* GetDesignTemplate() const { return m_designTemplate; }
    wxDocTemplate* GetPartsListTemplate() const override { return m_partsListTemplate; }
    // "RndrQultLow" and "RndrQultHigh"; null when they could not be made.
    CRndrQult* GetEditQuality() const override { return m_editQuality; }
    CRndrQult* GetPhotoQuality() const override { return m_photoQuality; }
    const SPrintMargins& GetPrintMargins() const { return m_printMargins; }
    // The option "Fangradius=15cm": couplings are searched within 150 mm instead of 40 mm.
    bool IsWideSnap() const override { return m_wideSnap; }
    void SetWideSnap(bool wide) override { m_wideSnap = wide; }
    // The options above as the windows take them.
    SAppOptions GetAppOptions() const override {
        return {m_wideSnap, m_editQuality, m_photoQuality, m_printMargins};
    }

    // The main window; null before start-up and after it closed.
    CMainFrm* GetMainFrame() const override { return m_mainFrame.get(); }
    CZarnelDocManager* GetDocManager() const { return m_docManager; }

private:
    bool ProcessCommandLine();
    void LoadToolkitTexts();
    void OnAppAbout(wxCommandEvent& event);
    void OnHelpIndex(wxCommandEvent& event);
    void OnUpdateEnabled(wxUpdateUIEvent& event);

    wxDocTemplate* m_partsListTemplate = nullptr;
    wxDocTemplate* m_designTemplate = nullptr;
    CRndrQult* m_editQuality = nullptr;
    CRndrQult* m_photoQuality = nullptr;
    SPrintMargins m_printMargins;
    bool m_wideSnap = false;

    CZarnelDocManager* m_docManager = nullptr;
    wxWeakRef<CMainFrm> m_mainFrame; // null once the main window is gone
    std::unique_ptr<WxUserInterface> m_userInterface;
    bool m_exited = false;
    bool m_reportingException = false; // the last guard's box is up
};

wxDECLARE_APP(CZarnelApp);

// The application object under the name the rest of the program uses: theApp->IsWideSnap().
// wx owns the object; this only finds it.
struct CZarnelAppRef {
    CZarnelApp* operator->() const { return &wxGetApp(); }
    CZarnelApp& operator*() const { return wxGetApp(); }
};
inline constexpr CZarnelAppRef theApp{};
