// The 3D view's pictures for elsewhere: image export as a BMP file, printing and print preview.
#include "app/view/ZarnelViewCommands.h"

#include <wx/app.h>
#include <wx/docview.h>
#include <wx/print.h>

#include "app/dialogs/DlgRndrRes.h"
#include "app/frame/CommandIds.h"
#include "app/frame/PreviewFrame.h"
#include "app/view/PictureExport.h"
#include "app/view/ZarnelPrintout.h"
#include "app/view/ZarnelView.h"
#include "support/DIB.h"
#include "support/UserInterface.h"

namespace {

// The profile section in which the picture size is kept between runs.
constexpr const char* kRenderSizeSection = "RndrRslt";

} // namespace

// ---- Image export ---------------------------------------------------------------------------

void ViewExport::SaveImage(CZarnelView& view, uint32_t) {
    CDlgRndrRes dialog(kRenderSizeSection, nullptr);
    dialog.SetScreenSize(view.GetViewport().width, view.GetViewport().height);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    BusyScope busy;
    ExportPicture(
        [&] { return view.RenderToBitmap(dialog.GetRenderWidth(), dialog.GetRenderHeight()); });
}

// ---- Printing -------------------------------------------------------------------------------

wxPrintout* CZarnelView::OnCreatePrintout() {
    return new CZarnelPrintout(*this);
}

void ViewExport::Print(CZarnelView& view, uint32_t command) {
    wxDocManager* manager = view.GetDocumentManager();
    if (manager == nullptr) {
        return;
    }
    const bool prompt = command != CommandId::FilePrintDirect;
    wxPrintDialogData printData(manager->GetPageSetupDialogData().GetPrintData());
    wxPrinter printer(&printData);
    std::unique_ptr<wxPrintout> printout(view.OnCreatePrintout());
    if (printer.Print(view.GetFrame(), printout.get(), prompt)) {
        // Settings chosen in the print dialog hold for the next job.
        manager->GetPageSetupDialogData().SetPrintData(printer.GetPrintDialogData().GetPrintData());
    }
}

void ViewExport::ShowPrintPreview(CZarnelView& view, uint32_t) {
    wxDocManager* manager = view.GetDocumentManager();
    if (manager == nullptr) {
        return;
    }
    wxPrintData& printData = manager->GetPageSetupDialogData().GetPrintData();
    auto* printout = new CZarnelPrintout(view);
    auto* preview = new wxPrintPreview(printout, view.OnCreatePrintout(), &printData);
    if (!preview->IsOk()) {
        delete preview;
        return;
    }
    // The preview knows the printer's page now; the resolution is asked and the picture made
    // before the preview window shows a page.
    printout->PreparePicture();
    auto* frame =
        new CPreviewFrame(preview, wxTheApp->GetTopWindow(),
                          view.GetFrame() != nullptr ? view.GetFrame()->GetLabel() : wxString());
    frame->Initialize();
    frame->Maximize();
    frame->Show();
}
