// The main window, its toolbars and status bar.
#include "app/frame/MainFrm.h"

#include <wx/app.h>
#include <wx/icon.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/frame/ChldFrm.h"
#include "app/frame/CommandBars.h"
#include "app/frame/CommandIds.h"
#include "app/frame/CommandTable.h"
#include "app/frame/DocumentArea.h"
#include "app/frame/FirstShowSize.h"
#include "app/frame/RecentFileList.h"
#include "app/frame/ToolbarLayout.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocTemplate.h"
#include "support/LangText.h"
#include "support/Profile.h"
#include "support/Resources.h"

namespace {

constexpr uint32_t kAppTitle = 57344;
constexpr uint32_t kIdleText = 57345;
constexpr uint32_t kIndicators[3] = {59137, 59138, 59139}; // caps, num and scroll lock
constexpr wxKeyCode kIndicatorKeys[3] = {WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL};

constexpr const char* kToolbarsSection = "Toolbars";
constexpr const char* kLayoutEntry = "Layout";
constexpr const char* kStatusBarEntry = "StatusBar";
constexpr const char* kVersionEntry = "Version";
// Raised when the panes change, so that a layout saved by another version is not used.
constexpr int kLayoutVersion = 1;

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

wxString PaneName(const SToolbarInfo& info) { return wxString::Format("Bar%u", info.windowId); }

// The toggle's label without its mnemonic, as the caption of a floating bar.
wxString PaneCaption(const SToolbarInfo& info) {
    wxString caption = FromUtf8(info.name);
    caption.Replace("&", "");
    return caption;
}

// Icon 100 of the resources: a BMP file, magenta transparent.
wxIcon WindowIcon() {
    constexpr uint32_t kIconResource = 3;
    uint32_t size = 0;
    const unsigned char* data = FindResourceData(kIconResource, 100, &size);
    wxIcon icon;
    if (data != nullptr && size > 14) {
        wxImage image = ImageFromDib(data + 14, size - 14);
        if (image.IsOk()) {
            image.SetMaskColour(255, 0, 255);
            icon.CopyFromBitmap(wxBitmap(image));
        }
    }
    return icon;
}

} // namespace

CMainFrm::CMainFrm(wxDocManager* manager) {
    // Made here rather than by the base's constructor, so that the frame creates this class's
    // document area. The window menu is the program's own.
    Create(manager, nullptr, wxID_ANY, FromUtf8(LoadLangText(kAppTitle)), wxDefaultPosition,
           wxSize(1024, 768), wxDEFAULT_FRAME_STYLE | wxMAXIMIZE | wxFRAME_NO_WINDOW_MENU);
    if (wxMenuBar* menuBar = BuildMenuBar(100)) {
        SetMenuBar(menuBar);
        m_fileMenu = menuBar->GetMenu(0);
        if (wxFileHistory* history = manager->GetFileHistory()) {
            history->UseMenu(m_fileMenu);
        }
    }
    SetAcceleratorTable(BuildAcceleratorTable());
    SetIcon(WindowIcon());
    if (!CreateBars()) {
        return;
    }
    DockForFirstStart();
    m_firstStartLayout = m_aui.SavePerspective().utf8_string();
    m_layoutStored = LoadBarState();
    m_aui.Update();
    // What this copy of the program starts with: at the end only what differs is written.
    m_layoutAtStart = m_aui.SavePerspective().utf8_string();
    m_statusBarStored = FindProfileInt(kToolbarsSection, kStatusBarEntry);
    SizeBeforeFirstShow(*this);

    Bind(wxEVT_CLOSE_WINDOW, &CMainFrm::OnClose, this);
    Bind(wxEVT_IDLE, &CMainFrm::OnIdle, this);
    for (const SToolbarInfo& info : GetToolbars()) {
        Bind(wxEVT_MENU, &CMainFrm::OnViewBar, this, WxCommandId(info.toggleCommand));
        Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateViewBar, this, WxCommandId(info.toggleCommand));
    }
    Bind(wxEVT_MENU, &CMainFrm::OnViewStatusBar, this, WxCommandId(CommandId::ViewStatusBar));
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateViewStatusBar, this,
         WxCommandId(CommandId::ViewStatusBar));
    Bind(wxEVT_MENU, &CMainFrm::OnWindowNew, this, WxCommandId(CommandId::WindowNew));
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateWindowNew, this, WxCommandId(CommandId::WindowNew));
    for (uint32_t command : {CommandId::WindowCascade, CommandId::WindowTileHorz,
                             CommandId::WindowTileVert, CommandId::WindowArrange,
                             CommandId::NextPane, CommandId::PrevPane}) {
        Bind(wxEVT_MENU, &CMainFrm::OnWindowArrange, this, WxCommandId(command));
    }
    for (uint32_t command : {CommandId::WindowCascade, CommandId::WindowTileHorz,
                             CommandId::WindowTileVert, CommandId::WindowArrange}) {
        Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateWindowArrange, this, WxCommandId(command));
    }
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdatePane, this, WxCommandId(CommandId::NextPane));
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdatePane, this, WxCommandId(CommandId::PrevPane));
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateRecentFile, this, wxID_FILE1, wxID_FILE9);
    Bind(wxEVT_MENU, &CMainFrm::OnAppExit, this, WxCommandId(CommandId::AppExit));
    Bind(wxEVT_MENU, &CMainFrm::OnFileClose, this, WxCommandId(CommandId::FileClose));
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateFileClose, this, WxCommandId(CommandId::FileClose));
    // Commands that the frame and the document manager carry out whatever is open.
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateEnabled, this, WxCommandId(CommandId::AppExit));
    Bind(wxEVT_UPDATE_UI, &CMainFrm::OnUpdateEnabled, this,
         WxCommandId(CommandId::FilePrintSetup));
    m_created = true;
}

CMainFrm::~CMainFrm() {
    // The document manager may be gone already when start-up failed.
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    if (m_fileMenu != nullptr && manager != nullptr && manager->GetFileHistory() != nullptr) {
        manager->GetFileHistory()->RemoveMenu(m_fileMenu);
    }
    m_aui.UnInit();
}

wxAuiMDIClientWindow* CMainFrm::OnCreateClient() {
    m_pClientWindow = new CDocumentArea(this);
    return m_pClientWindow;
}

CDocumentArea* CMainFrm::GetDocumentArea() const {
    return static_cast<CDocumentArea*>(GetClientWindow());
}

bool CMainFrm::CreateBars() {
    m_aui.SetManagedWindow(this);
    m_aui.SetHeldWindow(GetClientWindow());
    for (const SToolbarInfo& info : GetToolbars()) {
        auto* toolbar = new CCmdToolBar(this, info);
        m_toolbars.push_back(toolbar);
    }
    wxStatusBar* statusBar = CreateStatusBar(4);
    if (statusBar == nullptr) {
        return false;
    }
    int widths[4] = {-1, 0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        widths[i + 1] = statusBar->GetTextExtent(FromUtf8(LoadLangText(kIndicators[i]))).x + 16;
    }
    statusBar->SetStatusWidths(4, widths);
    ShowIdleText();
    SetStatusBarPane(0);
    return true;
}

void CMainFrm::DockForFirstStart() {
    const std::vector<SToolbarInfo>& toolbars = GetToolbars();
    for (const SToolbarInfo& info : toolbars) {
        // A bar docked right of another starts where the bars to its left end, shown or not,
        // so that showing the hidden bars of a row in any order keeps them in this order.
        int position = 0;
        for (int left = info.rightOf; left >= 0;
             left = toolbars[static_cast<size_t>(left)].rightOf) {
            position += m_toolbars[static_cast<size_t>(left)]->GetBestSize().x;
        }
        m_aui.AddPane(m_toolbars[static_cast<size_t>(info.bar)],
                      wxAuiPaneInfo()
                          .Name(PaneName(info))
                          .Caption(PaneCaption(info))
                          .ToolbarPane()
                          .Top()
                          .Row(info.row)
                          .Position(position)
                          .Show(info.visibleAtStart));
    }
}

std::vector<std::string> CMainFrm::PaneNames() {
    std::vector<std::string> names;
    wxAuiPaneInfoArray& panes = m_aui.GetAllPanes();
    for (size_t i = 0; i < panes.GetCount(); ++i) {
        names.push_back(panes[i].name.utf8_string());
    }
    return names;
}

bool CMainFrm::Show(bool show) {
    if (!CDocParentFrame::Show(show)) {
        return false;
    }
    // A saved layout's floating bars appeared while this frame was not on screen yet, and the
    // window manager then stacks them like windows of their own: the maximised frame covered
    // them. Shown again now, they are taken as the frame's own.
    wxAuiPaneInfoArray& panes = m_aui.GetAllPanes();
    for (size_t i = 0; show && i < panes.GetCount(); ++i) {
        wxAuiPaneInfo& pane = panes.Item(i);
        if (pane.IsFloating() && pane.IsShown() && pane.frame != nullptr) {
            pane.frame->Hide();
            pane.frame->Show();
        }
    }
    return true;
}

void CMainFrm::SaveBarState() {
    const std::string layout = m_aui.SavePerspective().utf8_string();
    const int statusBar = GetStatusBar() != nullptr && GetStatusBar()->IsShown() ? 1 : 0;
    // A layout that another running copy stored after this one started stays, unless this
    // copy changed its own layout (or found none it could use).
    const bool writeLayout = !m_layoutStored || layout != m_layoutAtStart;
    const bool writeStatusBar = m_statusBarStored != statusBar;
    if (!writeLayout && !writeStatusBar) {
        return;
    }
    const bool written = EditProfile([&](ProfileEdit& profile) {
        if (writeLayout) {
            profile.WriteInt(kToolbarsSection, kVersionEntry, kLayoutVersion);
            profile.WriteString(kToolbarsSection, kLayoutEntry, layout);
        }
        if (writeStatusBar) {
            profile.WriteInt(kToolbarsSection, kStatusBarEntry, statusBar);
        }
    });
    if (written) {
        m_layoutStored = true;
        m_layoutAtStart = layout;
        m_statusBarStored = statusBar;
    }
}

bool CMainFrm::LoadBarState() {
    if (GetProfileInt(kToolbarsSection, kVersionEntry, 0) != kLayoutVersion) {
        return false;
    }
    std::string layout = GetProfileString(kToolbarsSection, kLayoutEntry);
    std::string centre = m_aui.GetPane(GetClientWindow()).name.utf8_string();
    if (!IsUsableToolbarLayout(layout, PaneNames(), centre)) {
        return false;
    }
    if (!m_aui.LoadPerspective(FromUtf8(layout), false)) {
        m_aui.LoadPerspective(FromUtf8(m_firstStartLayout), false);
        return false;
    }
    // The document area always stays in the centre, whatever a layout says.
    m_aui.GetPane(GetClientWindow()).CentrePane().Show();
    if (wxStatusBar* statusBar = GetStatusBar()) {
        statusBar->Show(GetProfileInt(kToolbarsSection, kStatusBarEntry, 1) != 0);
    }
    return true;
}

CCmdToolBar* CMainFrm::GetToolbar(int bar) const {
    return bar >= 0 && static_cast<size_t>(bar) < m_toolbars.size()
               ? m_toolbars[static_cast<size_t>(bar)]
               : nullptr;
}

bool CMainFrm::IsBarShown(int bar) const {
    CCmdToolBar* toolbar = GetToolbar(bar);
    return toolbar != nullptr && const_cast<CFrameAuiManager&>(m_aui).GetPane(toolbar).IsShown();
}

void CMainFrm::ShowBar(int bar, bool show) {
    if (CCmdToolBar* toolbar = GetToolbar(bar)) {
        m_aui.GetPane(toolbar).Show(show);
        m_aui.Update();
    }
}

void CMainFrm::SetStatusText(const wxString& text, int number) {
    CDocParentFrame::SetStatusText(text, number);
    if (wxStatusBar* statusBar = GetStatusBar()) {
        statusBar->Update();
    }
}

void CMainFrm::ShowIdleText() {
    SetStatusText(FromUtf8(LoadLangText(kIdleText)), 0);
}

bool CMainFrm::IsCommandEnabled(int wxId) {
    wxUpdateUIEvent probe(wxId);
    probe.SetEventObject(this);
    m_probing = true;
    ProcessWindowEvent(probe);
    m_probing = false;
    return !probe.GetSetEnabled() || probe.GetEnabled();
}

bool CMainFrm::IsComingUpFromDocumentArea(const wxEvent& event) const {
    return event.GetPropagatedFrom() == GetClientWindow();
}

bool CMainFrm::ProcessEvent(wxEvent& event) {
    // Checked before the base hands the event to the active document window, once: not again
    // when the window passes it back up.
    if (!m_probing && !IsComingUpFromDocumentArea(event) && event.GetEventType() == wxEVT_MENU &&
        SystemCommandId(event.GetId()) != 0 && !IsCommandEnabled(event.GetId())) {
        return true;
    }
    return CDocParentFrame::ProcessEvent(event);
}

bool CMainFrm::TryAfter(wxEvent& event) {
    // The base hands every command to the active document window first; what that window
    // leaves comes up through the document area and reaches this frame's own handlers after.
    if (IsComingUpFromDocumentArea(event)) {
        return false;
    }
    if (CDocParentFrame::TryAfter(event)) {
        return true;
    }
    if (event.GetEventType() != wxEVT_UPDATE_UI) {
        return false;
    }
    uint32_t command = SystemCommandId(event.GetId());
    if (command == 0) {
        return false;
    }
    auto& update = static_cast<wxUpdateUIEvent&>(event);
    update.Enable(false);
    const SCommandInfo* info = FindCommand(command);
    if (info != nullptr && info->checkable) {
        update.Check(false);
    }
    return true;
}

void CMainFrm::OnClose(wxCloseEvent& event) {
    SaveBarState();
    event.Skip();
}

void CMainFrm::OnIdle(wxIdleEvent& event) {
    UpdateIndicators();
    UpdateTitle();
    event.Skip();
}

void CMainFrm::UpdateIndicators() {
    wxStatusBar* statusBar = GetStatusBar();
    if (statusBar == nullptr) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        wxString text = wxGetKeyState(kIndicatorKeys[i])
                            ? FromUtf8(LoadLangText(kIndicators[i]))
                            : wxString();
        if (text != m_indicatorTexts[i]) {
            m_indicatorTexts[i] = text;
            statusBar->SetStatusText(text, i + 1);
        }
    }
}

void CMainFrm::UpdateTitle() {
    // As the framework titles its frame: the program, and the active document after a dash.
    wxString title = FromUtf8(LoadLangText(kAppTitle));
    if (wxDocument* document = GetDocumentManager()->GetCurrentDocument()) {
        title += " - " + document->GetUserReadableName();
    }
    if (GetTitle() != title) {
        SetTitle(title);
    }
}

void CMainFrm::OnViewBar(wxCommandEvent& event) {
    const SToolbarInfo* info = FindToolbarByToggle(SystemCommandId(event.GetId()));
    if (info != nullptr) {
        ShowBar(info->bar, !IsBarShown(info->bar));
    }
}

void CMainFrm::OnUpdateViewBar(wxUpdateUIEvent& event) {
    const SToolbarInfo* info = FindToolbarByToggle(SystemCommandId(event.GetId()));
    event.Enable(info != nullptr);
    event.Check(info != nullptr && IsBarShown(info->bar));
}

void CMainFrm::OnViewStatusBar(wxCommandEvent&) {
    if (wxStatusBar* statusBar = GetStatusBar()) {
        statusBar->Show(!statusBar->IsShown());
        SendSizeEvent();
    }
}

void CMainFrm::OnUpdateViewStatusBar(wxUpdateUIEvent& event) {
    event.Enable(GetStatusBar() != nullptr);
    event.Check(GetStatusBar() != nullptr && GetStatusBar()->IsShown());
}

void CMainFrm::OnWindowNew(wxCommandEvent&) {
    wxDocument* document = GetDocumentManager()->GetCurrentDocument();
    wxView* view = GetDocumentManager()->GetCurrentView();
    if (document == nullptr || view == nullptr || document->GetDocumentTemplate() == nullptr) {
        return;
    }
    // Another window of the same kind on the same design, brought up to date at once: the
    // template whose menu the active window shows.
    auto* frame = dynamic_cast<CChldFrm*>(view->GetFrame());
    wxDocTemplate* viewTemplate = document->GetDocumentTemplate();
    for (wxList::compatibility_iterator node = GetDocumentManager()->GetTemplates().GetFirst();
         node != nullptr && frame != nullptr; node = node->GetNext()) {
        auto* candidate = dynamic_cast<CZarnelDocTemplate*>(
            static_cast<wxDocTemplate*>(node->GetData()));
        if (candidate != nullptr && candidate->GetResourceId() == frame->GetMenuId()) {
            viewTemplate = candidate;
            break;
        }
    }
    if (wxView* newView = viewTemplate->CreateView(document)) {
        newView->OnUpdate(nullptr, nullptr);
    }
}

void CMainFrm::OnUpdateWindowNew(wxUpdateUIEvent& event) {
    event.Enable(GetDocumentManager()->GetCurrentView() != nullptr);
}

void CMainFrm::Cascade() { GetDocumentArea()->Join(); }

void CMainFrm::Tile(wxOrientation orientation) { GetDocumentArea()->Tile(orientation); }

void CMainFrm::ArrangeIcons() { GetDocumentArea()->Join(); }

void CMainFrm::ActivateNext() { GetDocumentArea()->ActivateShown(1); }

void CMainFrm::ActivatePrevious() { GetDocumentArea()->ActivateShown(-1); }

void CMainFrm::OnWindowArrange(wxCommandEvent& event) {
    switch (SystemCommandId(event.GetId())) {
    case CommandId::WindowCascade: Cascade(); break;
    case CommandId::WindowTileHorz: Tile(wxHORIZONTAL); break;
    case CommandId::WindowTileVert: Tile(wxVERTICAL); break;
    case CommandId::WindowArrange: ArrangeIcons(); break;
    case CommandId::NextPane: ActivateNext(); break;
    case CommandId::PrevPane: ActivatePrevious(); break;
    default: break;
    }
}

void CMainFrm::OnUpdateWindowArrange(wxUpdateUIEvent& event) {
    event.Enable(GetActiveChild() != nullptr);
}

void CMainFrm::OnUpdatePane(wxUpdateUIEvent& event) {
    event.Enable(GetDocumentArea()->GetShownWindows().size() > 1);
}

void CMainFrm::OnUpdateRecentFile(wxUpdateUIEvent& event) {
    wxFileHistory* history = GetDocumentManager()->GetFileHistory();
    size_t index = static_cast<size_t>(event.GetId() - wxID_FILE1);
    event.Enable(history != nullptr && index < history->GetCount());
}

void CMainFrm::OnUpdateEnabled(wxUpdateUIEvent& event) { event.Enable(true); }

void CMainFrm::OnAppExit(wxCommandEvent&) { Close(); }

void CMainFrm::OnFileClose(wxCommandEvent& event) { GetDocumentManager()->OnFileClose(event); }

void CMainFrm::OnUpdateFileClose(wxUpdateUIEvent& event) {
    event.Enable(GetDocumentManager()->GetCurrentDocument() != nullptr);
}
