// The print preview window of the design program (the 3D view's page and the order form).
#pragma once

#include <wx/prntbase.h>

// The toolkit's preview frame, given its restored size (SizeBeforeFirstShow) once its control
// bar, canvas and status bar are made, so that it is mapped at that size when first shown.
class CPreviewFrame : public wxPreviewFrame {
public:
    // Takes the preview, as the toolkit's frame does.
    CPreviewFrame(wxPrintPreviewBase* preview, wxWindow* parent, const wxString& title);

    void Initialize() override;
};
