// The 3D view's picture: on the screen and off-screen into a bitmap.
#include <GL/gl.h>

#include "app/render/RndrQult.h"
#include "app/view/GlxCurrent.h"
#include "app/view/OffscreenRender.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// Why the view cannot render off-screen.
constexpr uint32_t kWindowNotOnScreen = 4301;
constexpr uint32_t kViewWithoutContext = 4308;

void Report(uint32_t text) {
    ShowMessage(LoadLangText(text), {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

} // namespace

void CZarnelView::DrawPicture(const std::array<double, 16>* projectionPrefix, DrawFlags drawFlags) {
    CZarnelDcmt* dcmt = GetDcmt();
    // This window's aspect, whichever window showed the camera last.
    const std::optional<CCmra> camera = GetShownCamera();
    if (dcmt == nullptr || !camera) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    // The two-click panel tool highlights the tubes that fit its first tube; the slide model is
    // drawn by the view's viewer.
    const SDrawView drawView = MakeDrawView();
    const ViewScene::SScene scene{*dcmt,
                                  *camera,
                                  GetQuality(),
                                  m_state.tool.mode,
                                  drawFlags,
                                  m_state.boxAndMove.box,
                                  m_state.display.walkBoxes,
                                  &drawView,
                                  &m_mergedScene,
                                  &m_meshCache};
    ViewScene::DrawScene(scene, projectionPrefix);
}

void CZarnelView::OnDraw(wxDC*) {
    if (!MakeCurrent()) {
        return;
    }
    // The design is drawn again only when the view asked for it (Invalidate, RepaintNow) or
    // the window's size changed; other paints show the kept picture.
    const wxSize pixels = GetCanvas()->GetClientPixels();
    if (!m_keptPicture.Show(pixels.x, pixels.y)) {
        DrawPicture(nullptr, m_state.TakeFrameFlags());
        ++m_pictureCount;
        m_keptPicture.Keep(pixels.x, pixels.y);
    }
    // The frame shows where a picture format narrower than the window ends; drawn outside the
    // viewport, it is out of sight when the viewport fills the window.
    if (m_state.tool.mode != ToolMode::NoSelectionLines) {
        ViewScene::DrawViewportFrame(m_viewport, m_clientPixels.x, m_clientPixels.y);
    }
    CZarnelViewMouse::DrawPanLine(m_state, m_clientPixels, m_viewport);
    GetCanvas()->SwapBuffers();
}

SDrawView CZarnelView::MakeDrawView() {
    return SDrawView{GetFirstTube(), m_state.tool.panelWidth, m_state.tool.panelLength,
                     &m_vrmlViewer};
}

std::unique_ptr<CDIB> CZarnelView::RenderToBitmap(int width, int height) {
    BusyScope busy;
    // The framebuffer lives in the window's context, which GLX makes current only on a window
    // that is mapped.
    CZarnelGlCanvas* canvas = GetCanvas();
    if (!m_context || canvas == nullptr) {
        Report(kViewWithoutContext);
        return nullptr;
    }
    if (!canvas->IsShownOnScreen()) {
        Report(kWindowNotOnScreen);
        return nullptr;
    }
    if (!MakeCurrent()) {
        Report(kViewWithoutContext);
        return nullptr;
    }
    // Photo quality and no tool highlights or frame while the picture is made.
    const ToolMode savedMode = m_state.tool.mode;
    const bool savedPhotoQuality = m_state.display.photoQuality;
    m_state.tool.mode = ToolMode::NoSelectionLines;
    m_state.display.photoQuality = true;
    std::unique_ptr<CDIB> bitmap =
        RenderOffscreen(width, height, [this](const SOffscreenTile& tile) {
            const std::array<double, 16> prefix = tile.ProjectionPrefix();
            DrawPicture(&prefix, m_state.display.flags);
        });
    m_state.tool.mode = savedMode;
    m_state.display.photoQuality = savedPhotoQuality;
    // The window's next picture makes its context current again.
    ReleaseCurrentGlxContext();
    return bitmap;
}
