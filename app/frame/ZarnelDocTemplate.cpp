// Document templates over the string table's document strings.
#include "app/frame/ZarnelDocTemplate.h"

#include <memory>

#include <wx/app.h>

#include "app/frame/ChldFrm.h"
#include "support/Resources.h"

namespace {

std::string TemplateText(uint32_t resourceId) {
    std::string text;
    LoadResourceString(resourceId, LANG_ID_GERMAN, text);
    return text;
}

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

std::string WithoutDot(const std::string& extension) {
    return !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
}

} // namespace

std::string CZarnelDocTemplate::DocString(const std::string& text, int field) {
    size_t start = 0;
    for (int i = 0; i < field; ++i) {
        size_t next = text.find('\n', start);
        if (next == std::string::npos) {
            return {};
        }
        start = next + 1;
    }
    size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

CZarnelDocTemplate::CZarnelDocTemplate(wxDocManager* manager, uint32_t resourceId,
                                       wxClassInfo* documentClass, wxClassInfo* viewClass)
    : CZarnelDocTemplate(manager, resourceId, TemplateText(resourceId), documentClass,
                         viewClass) {}

CZarnelDocTemplate::CZarnelDocTemplate(wxDocManager* manager, uint32_t resourceId,
                                       const std::string& text, wxClassInfo* documentClass,
                                       wxClassInfo* viewClass)
    : wxDocTemplate(manager, FromUtf8(DocString(text, 2)),
                    WithoutDot(DocString(text, 4)).empty()
                        ? wxString()
                        : "*." + FromUtf8(WithoutDot(DocString(text, 4))),
                    wxString(), FromUtf8(WithoutDot(DocString(text, 4))),
                    FromUtf8(DocString(text, 1)), wxString::Format("View%u", resourceId),
                    documentClass, viewClass,
                    DocString(text, 2).empty() ? wxTEMPLATE_INVISIBLE : wxTEMPLATE_VISIBLE),
      m_resourceId(resourceId), m_filterName(DocString(text, 3)),
      m_extension(WithoutDot(DocString(text, 4))) {}

std::string CZarnelDocTemplate::GetDialogFilter() const {
    if (m_filterName.empty() || m_extension.empty()) {
        return {};
    }
    return m_filterName + "|*." + m_extension;
}

wxView* CZarnelDocTemplate::CreateView(wxDocument* document, long flags) {
    std::unique_ptr<wxView> view(DoCreateView());
    if (!view) {
        return nullptr;
    }
    auto* parent = wxDynamicCast(wxTheApp->GetTopWindow(), wxAuiMDIParentFrame);
    if (parent == nullptr) {
        return nullptr;
    }
    view->SetDocument(document);
    auto* frame = new CChldFrm(document, view.get(), parent, m_resourceId);
    if (!view->OnCreate(document, flags)) {
        // Deleting the view closes its frame too.
        return nullptr;
    }
    // The frame was laid out when the document area took it, before the view made its window:
    // laid out again, the view's window fills the frame.
    frame->SendSizeEvent();
    // The titles of all windows on the document: they number the windows once there are two.
    document->OnChangeFilename(true);
    frame->Show();
    frame->Activate();
    // The document area selects its first window while the frame is being made, before the
    // frame listens: the view is told here that it is the active one.
    view->Activate(true);
    return view.release();
}
