// The print preview window.
#include "app/frame/PreviewFrame.h"

#include "app/frame/FirstShowSize.h"

CPreviewFrame::CPreviewFrame(wxPrintPreviewBase* preview, wxWindow* parent, const wxString& title)
    : wxPreviewFrame(preview, parent, title) {}

void CPreviewFrame::Initialize() {
    wxPreviewFrame::Initialize();
    // After the bars are made: making them sets the frame's size again, which would let the
    // toolkit map the window at its placeholder size.
    SizeBeforeFirstShow(*this);
}
