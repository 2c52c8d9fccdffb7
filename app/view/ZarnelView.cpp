// The 3D view: creation and destruction, updates of the design, tools and the view's commands.
#include "app/view/ZarnelView.h"

#include <cmath>

#include <GL/gl.h>
#include <wx/glcanvas.h>

#include "app/frame/CommandIds.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelApp.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/view/GlxCurrent.h"
#include "app/view/SysInfo.h"
#include "app/view/ToolCommands.h"
#include "app/view/ZarnelGlCanvas.h"
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
// Panning needs an upright camera.
constexpr uint32_t kPanNeedsUprightCamera = 4195;

void ReportOk(uint32_t text) {
    ShowMessage(LoadLangText(text), {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace

CZarnelView::CZarnelView()
    // The slide model is first read while the view paints: its report waits until that is over.
    : m_vrmlViewer([this](const std::string& path, const std::string& reason) {
          CallAfter([path, reason] { CVrmlViewer::ShowReport(path, reason); });
      }) {
    m_quality = theApp->GetEditQuality();
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
    if (m_cameraIndex < 0 && !m_ownCamera) {
        m_cameraIndex = 0;
    }
    SetViewport();
    if (CZarnelGlCanvas* canvas = GetCanvas()) {
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
    switch (hint) {
    case ViewHint::UndoRedo:
    case ViewHint::Insertion:
    case ViewHint::Change:
        Invalidate();
        break;
    case ViewHint::Deletion:
        m_state.placing = ElmntId();
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
    if (m_cameraIndex < 0 && !m_ownCamera && GetDcmt() != nullptr) {
        m_cameraIndex = 0;
    }
    SetViewport();
    RepaintNow();
}

void CZarnelView::Invalidate() {
    if (CZarnelGlCanvas* canvas = GetCanvas()) {
        canvas->Refresh(false);
    }
}

void CZarnelView::RepaintNow() {
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

double CZarnelView::SegmentDistance(const float segment[4], double x, double y) {
    return ::SegmentDistance(segment, x, y);
}

// ---- Tools ----------------------------------------------------------------------------------

CElmnt* CZarnelView::FindAlive(ElmntId id) const {
    CZarnelDcmt* dcmt = GetDcmt();
    return dcmt != nullptr && id.IsValid() ? dcmt->FindElement(id) : nullptr;
}

CElmnt* CZarnelView::GetPlacingElement() const {
    return FindAlive(m_state.placing);
}

CElmnt* CZarnelView::GetFirstTube() const {
    return FindAlive(m_state.firstTube);
}

CElmnt* CZarnelView::GetPanElement() const {
    return FindAlive(m_state.panElement);
}

void CZarnelView::SetTool(ToolMode mode) {
    ApplyToolChange(m_state.SetTool(mode));
}

void CZarnelView::ApplyToolChange(const SToolChange& change) {
    if (change.switchOffWideSnap) {
        theApp->SetWideSnap(false);
    }
    if (change.clearSelection) {
        ClearDesignSelection();
    }
    if (change.invalidate) {
        Invalidate();
    }
}

void CZarnelView::ClearDesignSelection() {
    CZarnelDcmt* dcmt = GetDcmt();
    if (dcmt == nullptr) {
        return;
    }
    bool anySelected = false;
    for (const CElmnt& elmnt : dcmt->GetElmntList()) {
        anySelected = anySelected || elmnt.selected;
    }
    const bool articlesChanged = dcmt->ClearSelection(m_state.GetCouplingMaterial(),
                                                      CouplingSnap::RadiusSq(theApp->IsWideSnap()));
    // Every window on the design shows the selection, and the parts list counts what deselecting
    // linked: all are told.
    if (anySelected || articlesChanged) {
        if (CZarnelWxDocument* document = GetZarnelDocument()) {
            document->UpdateAllViews(ViewHint::Selection);
        }
    }
}

// ---- Commands -------------------------------------------------------------------------------

void CZarnelView::BindCommands() {
    for (const SToolCommand& tool : GetToolCommands()) {
        Bind(wxEVT_MENU, &CZarnelView::OnToolCommand, this, WxCommandId(tool.command));
        Bind(wxEVT_UPDATE_UI, &CZarnelView::OnUpdateToolCommand, this, WxCommandId(tool.command));
    }
    using namespace CommandId;
    for (uint32_t command : {PlaceOnConnector, PlaceOnTubeEnd, PlaceOnTube}) {
        Bind(wxEVT_MENU, &CZarnelView::OnPlacementVariant, this, WxCommandId(command));
        Bind(wxEVT_UPDATE_UI, &CZarnelView::OnUpdatePlacementVariant, this, WxCommandId(command));
    }
    Bind(wxEVT_MENU, &CZarnelView::OnPan, this, WxCommandId(Pan));
    Bind(wxEVT_UPDATE_UI, &CZarnelView::OnUpdatePan, this, WxCommandId(Pan));
    Bind(wxEVT_MENU, &CZarnelView::OnSystemInfo, this, WxCommandId(SystemInfo));
    Bind(wxEVT_MENU, &CZarnelView::OnPrint, this, WxCommandId(FilePrint));
    Bind(wxEVT_MENU, &CZarnelView::OnPrintDirect, this, WxCommandId(FilePrintDirect));
    Bind(wxEVT_MENU, &CZarnelView::OnPrintPreview, this, WxCommandId(FilePrintPreview));
    Bind(wxEVT_MENU, &CZarnelView::OnSaveImage, this, WxCommandId(SaveImage));
    Bind(wxEVT_UPDATE_UI, &CZarnelView::OnUpdateEnabled, this, WxCommandId(SaveImage));
    for (uint32_t command : {SystemInfo, FilePrint, FilePrintDirect, FilePrintPreview}) {
        Bind(wxEVT_UPDATE_UI, &CZarnelView::OnUpdateEnabled, this, WxCommandId(command));
    }
}

void CZarnelView::OnToolCommand(wxCommandEvent& event) {
    if (const SToolCommand* tool = FindToolCommand(SystemCommandId(event.GetId()))) {
        ApplyToolChange(ApplyToolCommand(*tool, m_state));
    }
}

void CZarnelView::OnUpdateToolCommand(wxUpdateUIEvent& event) {
    const SToolCommand* tool = FindToolCommand(SystemCommandId(event.GetId()));
    event.Enable(tool != nullptr);
    event.Check(tool != nullptr && IsToolChecked(*tool, m_state));
}

void CZarnelView::OnPlacementVariant(wxCommandEvent& event) {
    if (std::optional<SToolChange> change =
            ApplyPlacementVariant(SystemCommandId(event.GetId()), m_state)) {
        ApplyToolChange(*change);
    }
}

void CZarnelView::OnUpdatePlacementVariant(wxUpdateUIEvent& event) {
    const uint32_t command = SystemCommandId(event.GetId());
    event.Enable(CanApplyPlacementVariant(command, m_state));
    event.Check(IsPlacementVariantChecked(command, m_state));
}

void CZarnelView::OnPan(wxCommandEvent&) {
    // The drag moves the camera sideways and up, which only matches the mouse while the camera
    // looks straight ahead.
    const CCmra* camera = GetCamera();
    if (camera != nullptr && camera->cameraTurn == 0 && camera->cameraTilt == 0) {
        SetTool(ToolMode::Pan);
        return;
    }
    ShowMessage(LoadLangText(kPanNeedsUprightCamera), {}, MsgButtons::Ok, MsgIcon::Error);
}

void CZarnelView::OnUpdatePan(wxUpdateUIEvent& event) {
    event.Enable(true);
    event.Check(m_state.toolMode == ToolMode::Pan);
}

void CZarnelView::OnSystemInfo(wxCommandEvent&) {
    // The report describes the GL implementation of the context current now: the window's.
    MakeCurrent();
    WriteSysInfo(std::string(), SysInfoSection::All);
}

void CZarnelView::OnUpdateEnabled(wxUpdateUIEvent& event) {
    event.Enable(true);
}
