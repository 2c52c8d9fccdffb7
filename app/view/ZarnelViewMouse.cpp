// The mouse on the 3D view's GL window: wx events turned into mouse records for the view's
// rules, the GL passes behind them, the dialogs the rules ask for, the pan drag's capture and
// its line, and the pan cursor.
#include <cmath>

#include <GL/gl.h>
#include <wx/cursor.h>
#include <wx/event.h>
#include <wx/image.h>

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

void CZarnelView::BindMouse() {
    CZarnelGlCanvas* canvas = GetCanvas();
    canvas->Bind(wxEVT_LEFT_DOWN, &CZarnelView::OnMouseLeftDown, this);
    canvas->Bind(wxEVT_LEFT_UP, &CZarnelView::OnMouseLeftUp, this);
    canvas->Bind(wxEVT_MOTION, &CZarnelView::OnMouseMotion, this);
    canvas->Bind(wxEVT_LEFT_DCLICK, &CZarnelView::OnMouseLeftDoubleClick, this);
    canvas->Bind(wxEVT_RIGHT_DOWN, &CZarnelView::OnMouseRightDown, this);
    canvas->Bind(wxEVT_MOUSE_CAPTURE_LOST, &CZarnelView::OnMouseCaptureLost, this);
    canvas->Bind(wxEVT_SET_CURSOR, &CZarnelView::OnMouseSetCursor, this);
    canvas->Bind(wxEVT_KEY_DOWN, &CZarnelView::OnMouseKeyDown, this);
}

SMouseEvent CZarnelView::MakeMouseEvent(const wxMouseEvent& event) const {
    SMouseEvent mouse;
    const wxPoint gl = ToGlWindowPoint(event.GetPosition());
    mouse.x = gl.x;
    mouse.y = gl.y;
    const double scale = GetCanvas() != nullptr ? GetCanvas()->GetPixelScale() : 1.0;
    mouse.windowX = static_cast<int>(std::lround(event.GetX() * scale));
    mouse.windowY = static_cast<int>(std::lround(event.GetY() * scale));
    mouse.ctrl = event.ControlDown();
    mouse.shift = event.ShiftDown();
    mouse.leftDown = event.LeftIsDown();
    return mouse;
}

template <class Rule> void CZarnelView::RunMouseRule(Rule&& rule) {
    const CCmra* camera = GetCamera();
    if (GetDcmt() == nullptr || camera == nullptr || !MakeCurrent()) {
        return;
    }
    const SDrawView drawView = MakeDrawView();
    const SPickScene scene{*GetDcmt(),       *camera,           GetQuality(),
                           m_state.toolMode, m_state.drawFlags, &drawView};
    CGlScenePicker picker(scene, m_state.selectionBufferSize, m_state.placingFeedbackSize);
    SViewContext context = MakeContext();
    rule(context, picker);
}

void CZarnelView::OnMouseLeftDown(wxMouseEvent& event) {
    event.Skip(); // the window takes the focus
    const SMouseEvent mouse = MakeMouseEvent(event);
    SMouseResult result;
    RunMouseRule([&](SViewContext& context, CScenePicker& picker) {
        result = OnLeftDown(context, picker, mouse);
    });
    if (result.captureMouse && GetCanvas() != nullptr && !GetCanvas()->HasCapture()) {
        GetCanvas()->CaptureMouse();
    }
    CarryOut(result.change);
    OpenMouseDialog(result, event.GetPosition());
}

void CZarnelView::OnMouseLeftUp(wxMouseEvent& event) {
    event.Skip();
    if (!m_state.dragging) {
        return;
    }
    CZarnelGlCanvas* canvas = GetCanvas();
    const bool inside =
        canvas != nullptr && wxRect(canvas->GetClientSize()).Contains(event.GetPosition());
    SViewContext context = MakeContext();
    // Released outside the window: the drag is cancelled, as when the capture is lost.
    EndPanDrag(inside ? OnLeftUp(context, MakeMouseEvent(event), m_viewport.height)
                      : CancelPanDrag(m_state));
}

void CZarnelView::OnMouseMotion(wxMouseEvent& event) {
    event.Skip();
    SViewContext context = MakeContext();
    CarryOut(OnMouseMove(context, MakeMouseEvent(event)));
}

void CZarnelView::OnMouseLeftDoubleClick(wxMouseEvent& event) {
    event.Skip();
    const SMouseEvent mouse = MakeMouseEvent(event);
    SMouseResult result;
    RunMouseRule([&](SViewContext& context, CScenePicker& picker) {
        result = OnDoubleClick(context, picker, mouse);
    });
    CarryOut(result.change);
    OpenMouseDialog(result, event.GetPosition());
}

void CZarnelView::OnMouseRightDown(wxMouseEvent& event) {
    event.Skip();
    if (GetDcmt() == nullptr) {
        return;
    }
    SViewContext context = MakeContext();
    CarryOut(OnRightDown(context));
}

void CZarnelView::OnMouseCaptureLost(wxMouseCaptureLostEvent&) {
    // A dialog, another window or the system took the mouse: no camera move.
    EndPanDrag(CancelPanDrag(m_state));
}

void CZarnelView::OnMouseKeyDown(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE && m_state.dragging) {
        EndPanDrag(CancelPanDrag(m_state));
        return;
    }
    event.Skip();
}

void CZarnelView::EndPanDrag(const SViewChange& change) {
    CZarnelGlCanvas* canvas = GetCanvas();
    if (canvas != nullptr && canvas->HasCapture()) {
        canvas->ReleaseMouse();
    }
    CarryOut(change);
}

void CZarnelView::OnMouseSetCursor(wxSetCursorEvent& event) {
    if (m_state.toolMode == ToolMode::Pan) {
        event.SetCursor(PanCursor());
        return;
    }
    event.Skip();
}

void CZarnelView::OpenMouseDialog(const SMouseResult& result, const wxPoint& click) {
    CZarnelDcmt* dcmt = GetDcmt();
    if (result.dialog == MouseDialog::None || dcmt == nullptr) {
        return;
    }
    switch (result.dialog) {
    case MouseDialog::Ramp: {
        const SViewContext context = MakeContext();
        CDlgRamp::Run(GetCanvas(), *dcmt, result.element, context.GetCouplingMaterial(),
                      context.GetSnapRadiusSq(), [this] { RepaintNow(); });
        Invalidate();
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

void CZarnelView::EditSurface(ElmntId id) {
    CZarnelDcmt* dcmt = GetDcmt();
    const CElmnt* elmnt = dcmt != nullptr ? dcmt->FindElement(id) : nullptr;
    if (elmnt == nullptr) {
        return;
    }
    const std::optional<int32_t> slot =
        CDlgMtrl::Run(GetCanvas(), *dcmt, elmnt, elmnt->kind, m_state.categoryMaterials, true,
                      [this] { RepaintNow(); });
    // In place, without a revision; the design is marked modified, recounted and every window
    // told (Change).
    if (slot) {
        SetElementMaterial(*dcmt, id, *slot);
    }
    Invalidate();
}

void CZarnelView::EditProperties(ElmntId id, const wxPoint& click) {
    CZarnelDcmt* dcmt = GetDcmt();
    const CElmnt* elmnt = dcmt != nullptr ? dcmt->FindElement(id) : nullptr;
    if (elmnt == nullptr) {
        return;
    }
    const SViewContext context = MakeContext();
    SElmntDlgContext dialog;
    dialog.dcmt = dcmt;
    dialog.couplingMaterial = context.GetCouplingMaterial();
    dialog.snapRadiusSq = context.GetSnapRadiusSq();
    dialog.categorySlots = &m_state.categoryMaterials;
    dialog.view = GetCanvas();
    dialog.repaint = [this] { RepaintNow(); };
    // The dialogs apply their values as document operations, which recount the parts table and
    // tell every window (Change).
    switch (ElementDialogFor(elmnt->kind)) {
    case ElementDialog::Panel: {
        const double scale = GetCanvas() != nullptr ? GetCanvas()->GetPixelScale() : 1.0;
        CDlgPnl::Edit(GetCanvas(), dialog, id,
                      wxPoint(static_cast<int>(std::lround(click.x * scale)),
                              static_cast<int>(std::lround(click.y * scale))));
        break;
    }
    case ElementDialog::Tube:
        CDlgTube::Edit(GetCanvas(), dialog, id);
        break;
    case ElementDialog::Connector:
        CDlgCnct::Edit(GetCanvas(), dialog, id);
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
    Invalidate();
}

void CZarnelView::DrawPanLine() const {
    if (!m_state.rubberLineShown || m_clientPixels.x <= 0 || m_clientPixels.y <= 0) {
        return;
    }
    // Window pixels from the upper left, through pixel centres, in black over the picture.
    const GLfloat h = static_cast<GLfloat>(m_clientPixels.y);
    const GLfloat line[4] = {static_cast<GLfloat>(m_state.dragStartX) + 0.5f,
                             h - static_cast<GLfloat>(m_state.dragStartY) - 0.5f,
                             static_cast<GLfloat>(m_state.dragPointX) + 0.5f,
                             h - static_cast<GLfloat>(m_state.dragPointY) - 0.5f};
    glViewport(0, 0, m_clientPixels.x, m_clientPixels.y);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, m_clientPixels.x, 0.0, m_clientPixels.y, -1.0, 1.0);
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
    glViewport(m_viewport.left, m_viewport.bottom, m_viewport.width, m_viewport.height);
}
