// TEMPORARY stand-in for the design's 3D view (see the header).
#include "app/frame/PlaceholderViews.h"

#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "model/ZarnelDcmt.h"

wxIMPLEMENT_DYNAMIC_CLASS(CPlaceholderZarnelView, wxView);

bool CPlaceholderView::OnCreate(wxDocument*, long) {
    wxWindow* frame = GetFrame();
    if (frame == nullptr || GetDcmt() == nullptr) {
        return false;
    }
    auto* panel = new wxPanel(frame, wxID_ANY);
    panel->SetBackgroundColour(*wxWHITE);
    m_text = new wxStaticText(panel, wxID_ANY, wxString());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_text, 0, wxALL, 20);
    panel->SetSizer(sizer);
    ShowDesign();
    panel->SetFocus();
    return true;
}

wxString CPlaceholderView::GetShownText() const {
    return m_text != nullptr ? m_text->GetLabel() : wxString();
}

void CPlaceholderView::OnDesignUpdate(wxView*, ViewHint hint) {
    ++m_updateCount;
    m_lastHint = hint;
    ShowDesign();
}

void CPlaceholderView::ShowDesign() {
    CZarnelDcmt* dcmt = GetDcmt();
    if (m_text == nullptr || dcmt == nullptr) {
        return;
    }
    int alive = 0;
    for ([[maybe_unused]] const CElmnt& elmnt : dcmt->GetAliveElements()) {
        ++alive;
    }
    m_text->SetLabel(wxString::FromUTF8(dcmt->GetTitle().c_str()) +
                     wxString::Format(": %d", alive));
}
