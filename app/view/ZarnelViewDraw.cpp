// The 3D view's picture: on the screen, off-screen into a bitmap, and printed.
#include <GL/gl.h>
#include <wx/glcanvas.h>
#include <wx/msgdlg.h>
#include <wx/print.h>

#include "app/frame/PreviewFrame.h"
#include "app/frame/ZarnelApp.h"
#include "app/render/RndrQult.h"
#include "app/view/GlxCurrent.h"
#include "app/view/OffscreenRender.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelPrintout.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// "Die Grafikkarte und das installierte OpenGL unterstützt kein Bildformat, ..."
constexpr uint32_t kNoPixelFormat = 4196;

} // namespace

void CZarnelView::DrawPicture(const std::array<double, 16>* projectionPrefix) {
    CZarnelDcmt* dcmt = GetDcmt();
    const CCmra* camera = GetCamera();
    if (dcmt == nullptr || camera == nullptr) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    // The two-click panel tool highlights the tubes that fit its first tube; the slide model is
    // drawn by the view's viewer.
    const SDrawView drawView{GetFirstTube(), m_state.panelWidth, m_state.panelLength,
                             &m_vrmlViewer};
    const ViewScene::SScene scene{*dcmt,
                                  *camera,
                                  m_quality,
                                  m_state.toolMode,
                                  m_state.drawFlags,
                                  m_state.selectionBox,
                                  m_state.walkBoxes,
                                  &drawView};
    ViewScene::DrawScene(scene, projectionPrefix);
}

void CZarnelView::OnDraw(wxDC*) {
    if (!MakeCurrent()) {
        return;
    }
    m_state.lastDrawnFlags = m_state.drawFlags;
    DrawPicture(nullptr);
    // The frame shows where a picture format narrower than the window ends; drawn outside the
    // viewport, it is out of sight when the viewport fills the window.
    if (m_state.toolMode != ToolMode::NoSelectionLines) {
        ViewScene::DrawViewportFrame(m_viewport, m_clientPixels.x, m_clientPixels.y);
    }
    GetCanvas()->SwapBuffers();
}

std::unique_ptr<CDIB> CZarnelView::RenderToBitmap(int width, int height) {
    BusyScope busy;
    if (!MakeCurrent()) {
        ShowMessage(LoadLangText(kNoPixelFormat), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return nullptr;
    }
    // Photo quality and no tool highlights or frame while the picture is made.
    const ToolMode savedMode = m_state.toolMode;
    const CRndrQult* savedQuality = m_quality;
    m_state.toolMode = ToolMode::NoSelectionLines;
    if (const CRndrQult* photo = theApp->GetPhotoQuality()) {
        m_quality = photo;
    }
    std::unique_ptr<CDIB> bitmap =
        RenderOffscreen(width, height, [this](const SOffscreenTile& tile) {
            const std::array<double, 16> prefix = tile.ProjectionPrefix();
            DrawPicture(&prefix);
        });
    m_state.toolMode = savedMode;
    m_quality = savedQuality;
    // The window's next picture makes its context current again.
    ReleaseCurrentGlxContext();
    return bitmap;
}

// ---- Printing -------------------------------------------------------------------------------

wxPrintout* CZarnelView::OnCreatePrintout() {
    return new CZarnelPrintout(*this);
}

void CZarnelView::Print(bool prompt) {
    wxDocManager* manager = GetDocumentManager();
    if (manager == nullptr) {
        return;
    }
    wxPrintDialogData printData(manager->GetPageSetupDialogData().GetPrintData());
    wxPrinter printer(&printData);
    std::unique_ptr<wxPrintout> printout(OnCreatePrintout());
    if (printer.Print(GetFrame(), printout.get(), prompt)) {
        // Settings chosen in the print dialog hold for the next job.
        manager->GetPageSetupDialogData().SetPrintData(printer.GetPrintDialogData().GetPrintData());
    }
}

void CZarnelView::OnPrint(wxCommandEvent&) {
    Print(true);
}

void CZarnelView::OnPrintDirect(wxCommandEvent&) {
    Print(false);
}

void CZarnelView::OnPrintPreview(wxCommandEvent&) {
    wxDocManager* manager = GetDocumentManager();
    if (manager == nullptr) {
        return;
    }
    wxPrintData& printData = manager->GetPageSetupDialogData().GetPrintData();
    auto* printout = new CZarnelPrintout(*this);
    auto* preview = new wxPrintPreview(printout, OnCreatePrintout(), &printData);
    if (!preview->IsOk()) {
        delete preview;
        return;
    }
    // The preview knows the printer's page now; the resolution is asked and the picture made
    // before the preview window shows a page.
    printout->PreparePicture();
    auto* frame = new CPreviewFrame(preview, wxTheApp->GetTopWindow(),
                                    GetFrame() != nullptr ? GetFrame()->GetLabel() : wxString());
    frame->Initialize();
    frame->Maximize();
    frame->Show();
}
