// Windows on a design: hints, closing and titles.
#include "app/frame/ZarnelWxView.h"

#include <wx/window.h>

#include "app/frame/ZarnelWxDocument.h"

CZarnelWxDocument* CZarnelWxView::GetZarnelDocument() const {
    return dynamic_cast<CZarnelWxDocument*>(GetDocument());
}

CZarnelDcmt* CZarnelWxView::GetDcmt() const {
    CZarnelWxDocument* document = GetZarnelDocument();
    return document != nullptr ? &document->GetDcmt() : nullptr;
}

ViewHint CZarnelWxView::HintOf(const wxObject* hint) {
    const auto* hintObject = dynamic_cast<const CViewHintObject*>(hint);
    return hintObject != nullptr ? hintObject->GetHint() : ViewHint::Everything;
}

void CZarnelWxView::OnUpdate(wxView* sender, wxObject* hint) {
    ++m_updateCount;
    m_lastHint = HintOf(hint);
    OnDesignUpdate(sender, m_lastHint);
}

bool CZarnelWxView::OnClose(bool) {
    wxDocument* document = GetDocument();
    if (document == nullptr) {
        return true;
    }
    // The design stays open, unasked, while another window shows it.
    if (document->GetViews().GetCount() > 1) {
        return true;
    }
    return document->Close();
}

void CZarnelWxView::OnChangeFilename() {
    wxWindow* frame = GetFrame();
    CZarnelWxDocument* document = GetZarnelDocument();
    if (frame == nullptr || document == nullptr) {
        wxView::OnChangeFilename();
        return;
    }
    wxString title = document->GetWindowTitle(this);
    if (frame->GetLabel() != title) {
        frame->SetLabel(title);
    }
}
