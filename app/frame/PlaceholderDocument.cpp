// TEMPORARY stand-ins for the design document and its views (see the header).
#include "app/frame/PlaceholderDocument.h"

#include <wx/window.h>

#include "support/File.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

wxIMPLEMENT_DYNAMIC_CLASS(CPlaceholderDocument, wxDocument);
wxIMPLEMENT_DYNAMIC_CLASS(CPlaceholderView, wxView);

namespace {

// "Fehler beim Öffnen des Dokuments."
constexpr uint32_t kFailedToOpenDocument = 61697;

} // namespace

bool CPlaceholderDocument::DoOpenDocument(const wxString& file) {
    File design;
    if (!design.Open(file.utf8_string(), File::Mode::Read)) {
        ShowMessage(LoadLangText(kFailedToOpenDocument), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    return true;
}

bool CPlaceholderDocument::DoSaveDocument(const wxString&) { return false; }

bool CPlaceholderView::OnCreate(wxDocument*, long) {
    wxWindow* frame = GetFrame();
    if (frame == nullptr) {
        return false;
    }
    auto* window = new wxWindow(frame, wxID_ANY);
    window->SetBackgroundColour(*wxWHITE);
    window->SetFocus();
    return true;
}

void CPlaceholderView::OnDraw(wxDC*) {}
