// The mouse on the 3D view's GL window: wx events turned into mouse records for the view's
// rules, the GL passes behind them, the dialogs the rules ask for, the pan drag's capture and
// its line, and the pan cursor.
#include "app/view/ZarnelViewMouse.h"

#include <cmath>

#include <GL/gl.h>
#include <wx/cursor.h>
#include <wx/docview.h>
#include <wx/event.h>
#include <wx/image.h>
#include <wx/mdi.h>

#include "app/dialogs/DlgCnct.h"
#include "app/dialogs/DlgMtrl.h"
#include "app/dialogs/DlgPnl.h"
#include "app/dialogs/DlgRamp.h"
#include "app/dialogs/DlgTube.h"
#include "app/frame/CommandBars.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "model/ElmntEdit.h"
#include "model/ZarnelDcmt.h"
#include "support/UserInterface.h"

namespace {

// The pan cursor: our own picture, magenta transparent, the hot spot in its middle.
constexpr uint32_t kPanCursor = 500;

const wxCursor& PanCursor() {
    static const wxCursor cursor = [] {
        wxImage image = ResourceImage(kPanCursor);
        if (!image.IsOk()) {
            return wxCursor(wxCURSOR_SIZING);
        }
        image.SetMaskColour(255, 0, 255);
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, image.GetWidth() / 2);
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, image.GetHeight() / 2);
        return wxCursor(image);
    }();
    return cursor;
}

} // namespace

void CZarnelViewMouse::BindTo(CZarnelGlCanvas* canvas) {
    canvas->Bind(wxEVT_LEFT_DOWN, &CZarnelViewMouse::OnMouseLeftDown, this);
    canvas->Bind(wxEVT_LEFT_UP, &CZarnelViewMouse::OnMouseLeftUp, this);
    canvas->Bind(wxEVT_MOTION, &CZarnelViewMouse::OnMouseMotion, this);
    canvas->Bind(wxEVT_LEFT_DCLICK, &CZarnelViewMouse::OnMouseLeftDoubleClick, this);
    canvas->Bind(wxEVT_RIGHT_DOWN, &CZarnelViewMouse::OnMouseRightDown, this);
    canvas->Bind(wxEVT_MOUSE_CAPTURE_LOST, &CZarnelViewMouse::OnMouseCaptureLost, this);
    canvas->Bind(wxEVT_SET_CURSOR, &CZarnelViewMouse::OnMouseSetCursor, this);
    canvas->Bind(wxEVT_KEY_DOWN, &CZarnelViewMouse::OnMouseKeyDown, this);
}

SMouseEvent CZarnelViewMouse::MakeMouseEvent(const wxMouseEvent& event) const {
    SMouseEvent mouse;
    const wxPoint gl = m_view.ToGlWindowPoint(event.GetPosition());
    mouse.x = gl.x;
    mouse.y = gl.y;
    const CZarnelGlCanvas* canvas = m_view.GetCanvas();
    const double scale = canvas != nullptr ? canvas->GetPixelScale() : 1.0;
    mouse.windowX = static_cast<int>(std::lround(event.GetX() * scale));
    mouse.windowY = static_cast<int>(std::lround(event.GetY() * scale));
    mouse.ctrl = event.ControlDown();
    mouse.shift = event.ShiftDown();
    mouse.leftDown = event.LeftIsDown();
    return mouse;
}

template <class Rule> void CZarnelViewMouse::RunMouseRule(Rule&& rule) {
    const CCmra* camera = m_view.GetCamera();
    if (m_view.GetDcmt() == nullptr || camera == nullptr || !m_view.MakeCurrent()) {
        return;
    }
    CViewState& state = m_view.GetState();
    const SDrawView drawView = m_view.MakeDrawView();
    const SPickScene scene{*m_view.GetDcmt(),   *camera,   m_view.GetQuality(),  state.tool.mode,
                           state.display.flags, &drawView, m_view.GetMeshCache()};
    CGlScenePicker picker(scene, state.pickBuffers.selectionSize,
                          state.pickBuffers.placingFeedbackSize);
    SViewContext context = m_view.MakeContext();
    rule(context, picker);
}

void CZarnelViewMouse::ActivateWindow() {
    wxDocManager* manager = m_view.GetDocumentManager();
    if (manager == nullptr || manager->GetCurrentView() == &m_view) {
        return;
    }
    // The focus, which makes the window active too, arrives only after the click.
    if (auto* frame = dynamic_cast<wxMDIChildFrameBase*>(m_view.GetFrame())) {
        frame->Activate();
    }
}

void CZarnelViewMouse::OnMouseLeftDown(wxMouseEvent& event) {
    event.Skip(); // the window takes the focus
    ActivateWindow();
    const SMouseEvent mouse = MakeMouseEvent(event);
    SMouseResult result;
    RunMouseRule([&](SViewContext& context, CScenePicker& picker) {
        result = OnLeftDown(context, picker, mouse);
    });
    CZarnelGlCanvas* canvas = m_view.GetCanvas();
    if (result.captureMouse && canvas != nullptr && !canvas->HasCapture()) {
        canvas->CaptureMouse();
    }
    m_view.CarryOut(result.change);
    OpenMouseDialog(result, event.GetPosition());
}

void CZarnelViewMouse::OnMouseLeftUp(wxMouseEvent& event) {
    event.Skip();
    if (!m_view.GetState().pan.dragging) {
        return;
    }
    CZarnelGlCanvas* canvas = m_view.GetCanvas();
    const bool inside =
        canvas != nullptr && wxRect(canvas->GetClientSize()).Contains(event.GetPosition());
    SViewContext context = m_view.MakeContext();
    // Released outside the window: the drag is cancelled, as when the capture is lost.
    EndPanDrag(inside ? OnLeftUp(context, MakeMouseEvent(event), m_view.GetViewport().height)
                      : CancelPanDrag(m_view.GetState()));
}

void CZarnelViewMouse::OnMouseMotion(wxMouseEvent& event) {
    event.Skip();
    SViewContext context = m_view.MakeContext();
    m_view.CarryOut(OnMouseMove(context, MakeMouseEvent(event)));
}

void CZarnelViewMouse::OnMouseLeftDoubleClick(wxMouseEvent& event) {
    event.Skip();
    ActivateWindow();
    const SMouseEvent mouse = MakeMouseEvent(event);
    SMouseResult result;
    RunMouseRule([&](SViewContext& context, CScenePicker& picker) {
        result = OnDoubleClick(context, picker, mouse);
    });
    m_view.CarryOut(result.change);
    OpenMouseDialog(result, event.GetPosition());
}

void CZarnelViewMouse::OnMouseRightDown(wxMouseEvent& event) {
    event.Skip();
    ActivateWindow();
    if (m_view.GetDcmt() == nullptr) {
        return;
    }
    SViewContext context = m_view.MakeContext();
    m_view.CarryOut(OnRightDown(context));
}

void CZarnelViewMouse::OnMouseCaptureLost(wxMouseCaptureLostEvent&) {
    // A dialog, another window or the system took the mouse: no camera move.
    EndPanDrag(CancelPanDrag(m_view.GetState()));
}

void CZarnelViewMouse::OnMouseKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && m_view.GetState().pan.dragging) {
        EndPanDrag(CancelPanDrag(m_view.GetState()));
        return;
    }
    event.Skip();
}

void CZarnelViewMouse::EndPanDrag(const SViewChange& change) {
    CZarnelGlCanvas* canvas = m_view.GetCanvas();
    if (canvas != nullptr && canvas->HasCapture()) {
        canvas->ReleaseMouse();
    }
    m_view.CarryOut(change);
}

void CZarnelViewMouse::OnMouseSetCursor(wxSetCursorEvent& event) {
    if (m_view.GetState().tool.mode == ToolMode::Pan) {
        event.SetCursor(PanCursor());
        return;
    }
    event.Skip();
}

void CZarnelViewMouse::OpenMouseDialog(const SMouseResult& result, const wxPoint& click) {
    CZarnelDcmt* dcmt = m_view.GetDcmt();
    if (result.dialog == MouseDialog::None || dcmt == nullptr) {
        return;
    }
    switch (result.dialog) {
    case MouseDialog::Ramp: {
        const SViewContext context = m_view.MakeContext();
        CDlgRamp::Run(m_view.GetCanvas(), *dcmt, result.element, context.GetCouplingMaterial(),
                      context.GetSnapRadiusSq(), [this] { m_view.RepaintNow(); });
        m_view.Invalidate();
        break;
    }
    case MouseDialog::Surface:
        EditSurface(result.element);
        break;
    case MouseDialog::Properties:
        EditProperties(result.element, click);
        break;
    case MouseDialog::None:
        break;
    }
}

void CZarnelViewMouse::EditSurface(ElmntId id) {
    CZarnelDcmt* dcmt = m_view.GetDcmt();
    const CElmnt* elmnt = dcmt != nullptr ? dcmt->FindElement(id) : nullptr;
    if (elmnt == nullptr) {
        return;
    }
    const std::optional<int32_t> slot = CDlgMtrl::Run(m_view.GetCanvas(), *dcmt, elmnt, elmnt->kind,
                                                      m_view.GetState().tool.categoryMaterials,
                                                      true, [this] { m_view.RepaintNow(); });
    // In place, without a revision; the design is marked modified, recounted and every window
    // told (Change).
    if (slot) {
        SetElementMaterial(*dcmt, id, *slot);
    }
    m_view.Invalidate();
}

void CZarnelViewMouse::EditProperties(ElmntId id, const wxPoint& click) {
    CZarnelDcmt* dcmt = m_view.GetDcmt();
    const CElmnt* elmnt = dcmt != nullptr ? dcmt->FindElement(id) : nullptr;
    if (elmnt == nullptr) {
        return;
    }
    const SViewContext context = m_view.MakeContext();
    SElmntDlgContext dialog;
    dialog.dcmt = dcmt;
    dialog.couplingMaterial = context.GetCouplingMaterial();
    dialog.snapRadiusSq = context.GetSnapRadiusSq();
    dialog.categorySlots = &m_view.GetState().tool.categoryMaterials;
    dialog.view = m_view.GetCanvas();
    dialog.repaint = [this] { m_view.RepaintNow(); };
    // The dialogs apply their values as document operations, which recount the parts table and
    // tell every window (Change).
    switch (ElementDialogFor(elmnt->kind)) {
    case ElementDialog::Panel: {
        const CZarnelGlCanvas* canvas = m_view.GetCanvas();
        const double scale = canvas != nullptr ? canvas->GetPixelScale() : 1.0;
        CDlgPnl::Edit(m_view.GetCanvas(), dialog, id,
                      wxPoint(static_cast<int>(std::lround(click.x * scale)),
                              static_cast<int>(std::lround(click.y * scale))));
        break;
    }
    case ElementDialog::Tube:
        CDlgTube::Edit(m_view.GetCanvas(), dialog, id);
        break;
    case ElementDialog::Connector:
        CDlgCnct::Edit(m_view.GetCanvas(), dialog, id);
        break;
    case ElementDialog::Surface:
        EditSurface(id);
        break;
    case ElementDialog::None:
        break;
    case ElementDialog::Beep:
        GetUserInterface().Beep();
        break;
    }
    m_view.Invalidate();
}

void CZarnelViewMouse::DrawPanLine(const CViewState& state, const wxSize& clientPixels,
                                   const SViewport& viewport) {
    if (!state.pan.rubberLineShown || clientPixels.x <= 0 || clientPixels.y <= 0) {
        return;
    }
    // Window pixels from the upper left, through pixel centres, in black over the picture.
    const GLfloat h = static_cast<GLfloat>(clientPixels.y);
    const GLfloat line[4] = {static_cast<GLfloat>(state.pan.startX) + 0.5f,
                             h - static_cast<GLfloat>(state.pan.startY) - 0.5f,
                             static_cast<GLfloat>(state.pan.pointX) + 0.5f,
                             h - static_cast<GLfloat>(state.pan.pointY) - 0.5f};
    glViewport(0, 0, clientPixels.x, clientPixels.y);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, clientPixels.x, 0.0, clientPixels.y, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor4d(0.0, 0.0, 0.0, 1.0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, line);
    glDrawArrays(GL_LINES, 0, 2);
    glDisableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_DEPTH_TEST);
    glViewport(viewport.left, viewport.bottom, viewport.width, viewport.height);
}
