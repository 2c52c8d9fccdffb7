// Start-up and shut-down of the design program.
#include "app/shell/ZarnelApp.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include <wx/filename.h>
#include <wx/translation.h>

#include "app/frame/DlgInfo.h"
#include "app/frame/MainFrm.h"
#include "app/frame/RecentFileList.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/WxUserInterface.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelDocTemplate.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/partlist/PartListView.h"
#include "app/render/RndrQult.h"
#include "app/view/ZarnelView.h"
#include "resources/ZarnelResources.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/Resources.h"
#include "support/UserInterface.h"

wxIMPLEMENT_APP_NO_MAIN(CZarnelApp);

namespace {

constexpr uint32_t kDesignTemplate = 101;
constexpr uint32_t kPartsListTemplate = 102;
// "Fehler beim Öffnen des Dokuments."
constexpr uint32_t kFailedToOpenDocument = 61697;
// No help file is installed.
constexpr uint32_t kNoHelpFile = 61703;
// "Ein unerwarteter Fehler ist aufgetreten. ..."
constexpr uint32_t kUnexpectedFailure = 4371;

void ReportStartFailure(const std::string& reason) {
    std::fprintf(stderr, "zarnel: %s\n", reason.c_str());
}

} // namespace

CZarnelApp::CZarnelApp() {
    Bind(wxEVT_MENU, &CZarnelApp::OnAppAbout, this, WxCommandId(CommandId::AppAbout));
    Bind(wxEVT_MENU, &CZarnelApp::OnHelpIndex, this, WxCommandId(CommandId::HelpIndex));
    for (uint32_t command : {CommandId::AppAbout, CommandId::HelpIndex}) {
        Bind(wxEVT_UPDATE_UI, &CZarnelApp::OnUpdateEnabled, this, WxCommandId(command));
    }
}

CZarnelApp::~CZarnelApp() = default;

void CZarnelApp::PrepareEnvironment() { setenv("GDK_BACKEND", "x11", 0); }

bool CZarnelApp::OnInit() {
    // The toolkit's own command-line parsing is not used: the program reads its arguments
    // itself, as the framework did.
    if (InitInstance()) {
        return true;
    }
    if (m_mainFrame != nullptr) {
        m_mainFrame->Destroy();
        m_mainFrame = nullptr;
        DeletePendingObjects();
    }
    ExitInstance();
    return false;
}

int CZarnelApp::OnExit() { return ExitInstance(); }

bool CZarnelApp::OnExceptionInMainLoop() {
    // While the box is up the windows paint; when memory stays short they fail again, and one
    // box at a time is enough.
    if (m_reportingException) {
        std::fputs("zarnel: an operation failed again while the last failure is shown\n", stderr);
        return true;
    }
    m_reportingException = true;
    try {
        std::string reason;
        try {
            throw;
        } catch (const std::bad_alloc&) {
            reason = OutOfMemoryReason();
        } catch (const std::exception& e) {
            reason = e.what();
        } catch (...) {
        }
        ShowFileFailure(LoadLangText(kUnexpectedFailure), {}, reason);
    } catch (...) {
        // Not even the box could be made (memory that ran out again).
        std::fputs("zarnel: an operation failed and could not be reported\n", stderr);
    }
    m_reportingException = false;
    return true;
}

bool CZarnelApp::InitInstance() {
    m_wideSnap = false;

    SetResourceModule(&ZarnelResources());
    m_userInterface = std::make_unique<WxUserInterface>();
    InstallUserInterface(m_userInterface.get());
    SetAppDisplayName(wxString::FromUTF8(LoadLangText(57344).c_str()));

    // The settings store keeps the profile under Software\Zarnel\Zarnel; the recent-file list
    // of four comes with the document manager.
    m_docManager = new CZarnelDocManager;
    if (CRecentFileList* recentFiles = m_docManager->GetRecentFiles()) {
        recentFiles->LoadFromProfile();
    }

    // ---- Render-quality profiles: each reads its profile section now and writes it back when
    // deleted in ExitInstance.
    m_editQuality = new (std::nothrow) CRndrQult("RndrQultLow");
    m_photoQuality = new (std::nothrow) CRndrQult("RndrQultHigh");

    // Numbers that the program formats itself follow the user's settings (decimal comma under
    // a German locale). Nothing in wx switches the C library's locale after this.
    std::setlocale(LC_ALL, "");
    LoadToolkitTexts();

    // ---- Document templates: the design in a 3D window (101) and in a parts-list window (102).
    m_designTemplate = new CZarnelDocTemplate(m_docManager, kDesignTemplate,
                                              wxCLASSINFO(CZarnelWxDocument),
                                              wxCLASSINFO(CZarnelView));
    m_partsListTemplate = new CZarnelDocTemplate(m_docManager, kPartsListTemplate,
                                                 wxCLASSINFO(CZarnelWxDocument),
                                                 wxCLASSINFO(CPartListView));

    m_mainFrame = new CMainFrm(m_docManager);
    if (!m_mainFrame->IsCreated()) {
        ReportStartFailure("the main window could not be created");
        return false;
    }
    SetTopWindow(m_mainFrame);

    if (!ProcessCommandLine()) {
        return false;
    }
    m_mainFrame->Maximize();
    m_mainFrame->Show();
    m_mainFrame->Update();
    return true;
}

void CZarnelApp::LoadToolkitTexts() {
    // The toolkit's own texts (standard buttons, message box captions, the print preview) in
    // the language that LC_ALL, LC_MESSAGES or LANG names, from its installed catalogue. Without
    // a catalogue for that language they stay English. The program's own texts do not pass
    // through here: they come from its resources.
    auto* translations = new wxTranslations; // owned by wx from here on
    wxTranslations::Set(translations);
    translations->AddStdCatalog();
}

bool CZarnelApp::ProcessCommandLine() {
    // The first argument that is not an option names the design to open; without one a new
    // design is made. Options (starting with '-') are ignored.
    wxString path;
    for (int i = 1; i < argc; ++i) {
        wxString argument = argv[i];
        if (!argument.empty() && argument[0] != '-') {
            path = argument;
            break;
        }
    }
    if (path.empty()) {
        if (m_docManager->CreateNewDocument() == nullptr) {
            ReportStartFailure("a new design could not be made");
            return false;
        }
        return true;
    }
    // A path relative to the folder the program was started in is kept as a full path, so that
    // the recent-file list names the design from anywhere.
    wxFileName file(path);
    file.MakeAbsolute();
    path = file.GetFullPath();
    if (m_docManager->CreateDocument(path, wxDOC_SILENT) == nullptr) {
        ReportStartFailure(path.utf8_string() + ": " + LoadLangText(kFailedToOpenDocument));
        return false;
    }
    return true;
}

int CZarnelApp::ExitInstance() {
    if (m_exited) {
        return 0;
    }
    m_exited = true;
    delete m_editQuality;
    m_editQuality = nullptr;
    delete m_photoQuality;
    m_photoQuality = nullptr;
    if (m_docManager != nullptr) {
        if (CRecentFileList* recentFiles = m_docManager->GetRecentFiles()) {
            recentFiles->SaveToProfile();
        }
        // The document manager frees the templates with it.
        delete m_docManager;
        m_docManager = nullptr;
        m_designTemplate = nullptr;
        m_partsListTemplate = nullptr;
    }
    m_mainFrame = nullptr;
    WxUserInterface::FlushClipboard();
    InstallUserInterface(nullptr);
    m_userInterface.reset();
    wxTranslations::Set(nullptr);
    return 0;
}

void CZarnelApp::OnAppAbout(wxCommandEvent&) {
    CDlgInfo dialog(GetTopWindow());
    dialog.ShowModal();
}

void CZarnelApp::OnHelpIndex(wxCommandEvent&) {
    ShowMessage(LoadLangText(kNoHelpFile), {}, MsgButtons::Ok, MsgIcon::Information);
}

void CZarnelApp::OnUpdateEnabled(wxUpdateUIEvent& event) { event.Enable(true); }
