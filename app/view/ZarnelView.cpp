// The 3D view: creation and destruction, updates of the design, carrying out what the view's
// logic asks, and the one handler pair of every command.
#include "app/view/ZarnelView.h"

#include <cmath>
#include <new>

#include <GL/gl.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/glcanvas.h>

#include "app/frame/WxCommandIds.h"
#include "app/view/EditRefusal.h"
#include "app/view/GlxCurrent.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelViewCommands.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

wxIMPLEMENT_DYNAMIC_CLASS(CZarnelView, wxView);

namespace {

// "Die Grafikkarte und das installierte OpenGL unterstützt kein Bildformat, ..."
constexpr uint32_t kNoPixelFormat = 4196;
// "... Die Annahme des ausgewählten Formats wurde verweigert."
constexpr uint32_t kPixelFormatRefused = 4197;

void ReportOk(uint32_t text) {
    ShowMessage(LoadLangText(text), {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace

CZarnelView::CZarnelView()
    // The slide model is first read while the view paints: its report waits until that is over.
    : m_vrmlViewer([this](const std::string& path, const std::string& reason) {
          CallAfter([path, reason] { CVrmlViewer::ShowReport(path, reason); });
      }) {
    BindCommands();
}

CZarnelView::~CZarnelView() {
    DestroyContext();
    if (CZarnelGlCanvas* canvas = GetCanvas()) {
        canvas->DetachView();
    }
}

bool CZarnelView::OnCreate(wxDocument* document, long flags) {
    if (!wxView::OnCreate(document, flags)) {
        return false;
    }
    wxWindow* frame = GetFrame();
    CZarnelDcmt* dcmt = GetDcmt();
    if (frame == nullptr || dcmt == nullptr) {
        return false;
    }
    std::optional<wxGLAttributes> pixelFormat = CZarnelGlCanvas::ChoosePixelFormat();
    if (pixelFormat) {
        m_canvas = new CZarnelGlCanvas(frame, *pixelFormat, this);
        CreateContext();
    } else {
        // The window stays empty; the design's other windows and commands go on.
        ReportOk(kNoPixelFormat);
    }
    m_camera.BindDefault();
    SetViewport();
    if (CZarnelGlCanvas* canvas = GetCanvas()) {
        m_mouse.BindTo(canvas);
        canvas->SetFocus();
    }
    return true;
}

void CZarnelView::CreateContext() {
    if (GetCanvas() == nullptr) {
        return;
    }
    auto context = std::make_unique<wxGLContext>(GetCanvas());
    if (!context->IsOK()) {
        ReportOk(kPixelFormatRefused);
        return;
    }
    m_context = std::move(context);
}

void CZarnelView::DestroyContext() {
    if (!m_context) {
        return;
    }
    ReleaseCurrentGlxContext();
    m_context.reset();
    m_keptPicture.LoseContext();
}

void CZarnelView::OnCanvasDestroyed() {
    // The frame takes its windows with it; the context cannot draw anywhere after that.
    DestroyContext();
}

CZarnelGlCanvas* CZarnelView::GetCanvas() const {
    return m_canvas.get();
}

std::optional<int32_t> CZarnelView::GetCouplingMaterial() const {
    return m_state.GetCouplingMaterial();
}

void CZarnelView::OnDesignUpdate(wxView*, ViewHint hint) {
    // Undo, redo, deleting and loading (or deleting the history) may take away the element being
    // placed and the first tube of a panel, and an identity freed by them may come back on a new
    // element: the view forgets both.
    if (hint == ViewHint::Everything || hint == ViewHint::UndoRedo || hint == ViewHint::Deletion) {
        m_state.tool.placing = ElmntId();
        m_state.tool.firstTube = ElmntId();
    }
    switch (hint) {
    case ViewHint::UndoRedo:
    case ViewHint::Insertion:
    case ViewHint::Change:
    case ViewHint::Deletion:
        Invalidate();
        break;
    case ViewHint::Everything:
    case ViewHint::Selection:
    default:
        SetViewport();
        Invalidate();
        break;
    }
}

void CZarnelView::OnSize() {
    if (GetDcmt() != nullptr) {
        m_camera.BindDefault();
    }
    // The toolkit paints the window at its new size on its next frame; painting here at once
    // would also paint every size the window passes through while it is laid out.
    SetViewport();
    Invalidate();
}

void CZarnelView::Invalidate() {
    m_keptPicture.Forget();
    if (CZarnelGlCanvas* canvas = GetCanvas()) {
        canvas->Refresh(false);
    }
}

void CZarnelView::RepaintNow() {
    m_keptPicture.Forget();
    if (CZarnelGlCanvas* canvas = GetCanvas()) {
        canvas->Refresh(false);
        canvas->Update();
    }
}

bool CZarnelView::MakeCurrent() {
    CZarnelGlCanvas* canvas = GetCanvas();
    if (!m_context || canvas == nullptr || !canvas->IsShownOnScreen()) {
        return false;
    }
    if (!canvas->SetCurrent(*m_context)) {
        return false;
    }
    glViewport(m_viewport.left, m_viewport.bottom, m_viewport.width, m_viewport.height);
    return true;
}

wxPoint CZarnelView::ToGlWindowPoint(const wxPoint& mouse) const {
    CZarnelGlCanvas* canvas = GetCanvas();
    const double scale = canvas != nullptr ? canvas->GetPixelScale() : 1.0;
    const int height = canvas != nullptr ? canvas->GetClientPixels().y : m_clientPixels.y;
    const int x = static_cast<int>(std::lround(mouse.x * scale));
    const int y = static_cast<int>(std::lround(mouse.y * scale));
    return wxPoint(x, height - 1 - y);
}

// ---- Tools ----------------------------------------------------------------------------------

CElmnt* CZarnelView::FindAlive(ElmntId id) const {
    CZarnelDcmt* dcmt = GetDcmt();
    return dcmt != nullptr && id.IsValid() ? dcmt->FindElement(id) : nullptr;
}

CElmnt* CZarnelView::GetPlacingElement() const {
    return FindAlive(m_state.tool.placing);
}

CElmnt* CZarnelView::GetFirstTube() const {
    return FindAlive(m_state.tool.firstTube);
}

CElmnt* CZarnelView::GetPanElement() const {
    return FindAlive(m_state.pan.element);
}

void CZarnelView::SetTool(ToolMode mode) {
    CarryOut(m_state.SetTool(mode));
}

SAppOptions CZarnelView::GetAppOptions() {
    auto* host = dynamic_cast<CAppOptionsHost*>(wxTheApp);
    return host != nullptr ? host->GetAppOptions() : SAppOptions();
}

const CRndrQult* CZarnelView::GetQuality() const {
    const SAppOptions options = GetAppOptions();
    return m_state.display.photoQuality && options.photoQuality != nullptr ? options.photoQuality
                                                                           : options.editQuality;
}

SViewContext CZarnelView::MakeContext() {
    return SViewContext{GetDcmt(), m_state, m_camera, GetAppOptions()};
}

void CZarnelView::CarryOut(const SViewChange& change) {
    if (change.wideSnap) {
        if (auto* host = dynamic_cast<CAppOptionsHost*>(wxTheApp)) {
            host->SetWideSnap(*change.wideSnap);
        }
    }
    if (change.clearSelection) {
        ClearDesignSelection(GetAppOptions());
    }
    if (change.setViewport) {
        SetViewport();
    }
    if (change.cameraChanged) {
        RedrawCameraViews();
    }
    if (change.hint) {
        if (CZarnelDcmt* dcmt = GetDcmt()) {
            dcmt->UpdateAllViews(*change.hint);
        }
    }
    if (change.repaintNow) {
        RepaintNow();
    } else if (change.invalidate) {
        Invalidate();
    }
    if (change.statusText) {
        if (wxFrame* frame = wxDynamicCast(wxTheApp->GetTopWindow(), wxFrame)) {
            frame->SetStatusText(wxString::FromUTF8(*change.statusText), 0);
        }
    }
    if (change.beep) {
        GetUserInterface().Beep();
    }
}

void CZarnelView::ClearDesignSelection(const SAppOptions& options) {
    CZarnelDcmt* dcmt = GetDcmt();
    if (dcmt == nullptr) {
        return;
    }
    bool anySelected = false;
    for (const CElmnt& elmnt : dcmt->GetElmntList()) {
        anySelected = anySelected || elmnt.selected;
    }
    bool articlesChanged = false;
    try {
        articlesChanged = dcmt->ClearSelection(m_state.GetCouplingMaterial(),
                                               CouplingSnap::RadiusSq(options.wideSnap));
    } catch (const std::bad_alloc&) {
        ReportEditOutOfMemory();
        return;
    }
    // Every window on the design shows the selection, and the parts list counts what deselecting
    // linked: all are told.
    if (anySelected || articlesChanged) {
        dcmt->UpdateAllViews(ViewHint::Selection);
    }
}

// ---- Commands -------------------------------------------------------------------------------

void CZarnelView::BindCommands() {
    auto bind = [this](uint32_t command) {
        Bind(wxEVT_MENU, &CZarnelView::OnCommand, this, WxCommandId(command));
        Bind(wxEVT_UPDATE_UI, &CZarnelView::OnUpdateCommand, this, WxCommandId(command));
    };
    for (const SViewCommand& row : GetViewCommands()) {
        bind(row.command);
    }
    for (const SWindowCommand& row : GetWindowCommands()) {
        bind(row.command);
    }
}

void CZarnelView::OnCommand(wxCommandEvent& event) {
    const uint32_t command = SystemCommandId(event.GetId());
    if (const SViewCommand* row = FindViewCommand(command)) {
        SViewContext context = MakeContext();
        CarryOut(row->run(context, command));
    } else if (const SWindowCommand* windowRow = FindWindowCommand(command)) {
        windowRow->run(*this, command);
    }
}

void CZarnelView::OnUpdateCommand(wxUpdateUIEvent& event) {
    const uint32_t command = SystemCommandId(event.GetId());
    ViewCommandRule isEnabled = nullptr;
    ViewCommandRule isChecked = nullptr;
    if (const SViewCommand* row = FindViewCommand(command)) {
        isEnabled = row->isEnabled;
        isChecked = row->isChecked;
    } else if (const SWindowCommand* windowRow = FindWindowCommand(command)) {
        isEnabled = windowRow->isEnabled;
        isChecked = windowRow->isChecked;
    } else {
        event.Enable(false);
        return;
    }
    const SViewContext context = MakeContext();
    event.Enable(isEnabled == nullptr || isEnabled(context, command));
    if (isChecked != nullptr) {
        event.Check(isChecked(context, command));
    }
}
