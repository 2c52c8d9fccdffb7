// The framework's document over a design.
#include "app/frame/ZarnelWxDocument.h"

#include <new>
#include <optional>
#include <string>
#include <utility>

#include <wx/filename.h>

#include "app/dialogs/DlgRndrQult.h"
#include "app/frame/CommandIds.h"
#include "app/frame/DocumentAppHost.h"
#include "app/frame/DocumentArea.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocTemplate.h"
#include "app/frame/ZarnelWxView.h"
#include "app/render/RndrQult.h"
#include "app/view/EditRefusal.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

wxIMPLEMENT_DYNAMIC_CLASS(CZarnelWxDocument, wxDocument);

namespace {

// "Änderungen in %1 speichern?"
constexpr uint32_t kAskToSave = 61699;

std::string ReplaceFirst(std::string text, const std::string& pattern,
                         const std::string& replacement) {
    size_t found = text.find(pattern);
    if (found != std::string::npos) {
        text.replace(found, pattern.size(), replacement);
    }
    return text;
}

} // namespace

CZarnelWxDocument::CZarnelWxDocument() : m_dcmt(std::make_unique<CZarnelDcmt>()) {
    m_dcmt->AddObserver(*this);
    m_dcmt->SetModifiedCallback([this](bool modified) {
        m_documentModified = modified;
        UpdateWindowTitles();
    });

    using namespace CommandId;
    Bind(wxEVT_MENU, &CZarnelWxDocument::OnEditUndo, this, WxCommandId(EditUndo));
    Bind(wxEVT_UPDATE_UI, &CZarnelWxDocument::OnUpdateEditUndo, this, WxCommandId(EditUndo));
    Bind(wxEVT_MENU, &CZarnelWxDocument::OnEditRedo, this, WxCommandId(EditRedo));
    Bind(wxEVT_UPDATE_UI, &CZarnelWxDocument::OnUpdateEditRedo, this, WxCommandId(EditRedo));
    Bind(wxEVT_MENU, &CZarnelWxDocument::OnQualityEdit, this, WxCommandId(QualityEdit));
    Bind(wxEVT_UPDATE_UI, &CZarnelWxDocument::OnUpdateQualityEdit, this,
         WxCommandId(QualityEdit));
    Bind(wxEVT_MENU, &CZarnelWxDocument::OnQualityPhoto, this, WxCommandId(QualityPhoto));
    Bind(wxEVT_UPDATE_UI, &CZarnelWxDocument::OnUpdateQualityPhoto, this,
         WxCommandId(QualityPhoto));
    Bind(wxEVT_MENU, &CZarnelWxDocument::OnWindowPartsList, this, WxCommandId(WindowPartsList));
    Bind(wxEVT_UPDATE_UI, &CZarnelWxDocument::OnUpdateEnabled, this,
         WxCommandId(WindowPartsList));
    Bind(wxEVT_MENU, &CZarnelWxDocument::OnDeleteHistory, this, WxCommandId(DeleteHistory));
    Bind(wxEVT_UPDATE_UI, &CZarnelWxDocument::OnUpdateEnabled, this, WxCommandId(DeleteHistory));
}

CZarnelWxDocument::~CZarnelWxDocument() {
    m_dcmt->SetModifiedCallback(nullptr);
    m_dcmt->RemoveObserver(*this);
}

void CZarnelWxDocument::UpdateAllViews(ViewHint hint, wxView* sender) {
    wxView* outerSender = std::exchange(m_updateSender, sender);
    m_dcmt->UpdateAllViews(hint);
    m_updateSender = outerSender;
}

void CZarnelWxDocument::OnUpdate(ViewHint hint) {
    // Updates that the windows start while they are told come from the design itself.
    wxView* sender = std::exchange(m_updateSender, nullptr);
    CViewHintObject hintObject(hint);
    wxDocument::UpdateAllViews(sender, &hintObject);
}

wxString CZarnelWxDocument::GetWindowTitle(const wxView* view) const {
    wxString title = GetUserReadableName();
    const wxList& views = GetViews();
    if (views.GetCount() > 1) {
        int index = views.IndexOf(const_cast<wxView*>(view));
        if (index != wxNOT_FOUND) {
            title += wxString::Format(":%d", index + 1);
        }
    }
    if (IsModified()) {
        title += "*";
    }
    return title;
}

int32_t CZarnelWxDocument::GetCouplingMaterial() const {
    // The slot that a new 3D window starts with.
    constexpr int32_t kDefaultCouplingMaterial = 1;
    auto materialOf = [](const wxView* view) {
        const auto* designView = dynamic_cast<const CZarnelWxView*>(view);
        return designView != nullptr ? designView->GetCouplingMaterial() : std::nullopt;
    };
    wxDocManager* manager = GetDocumentManager();
    wxView* active = manager != nullptr ? manager->GetCurrentView() : nullptr;
    if (active != nullptr && active->GetDocument() == this) {
        if (std::optional<int32_t> material = materialOf(active)) {
            return *material;
        }
    }
    for (const wxView* view : GetViewsVector()) {
        if (std::optional<int32_t> material = materialOf(view)) {
            return *material;
        }
    }
    return kDefaultCouplingMaterial;
}

double CZarnelWxDocument::GetSnapRadiusSq() const {
    const CDocumentAppHost* host = CDocumentAppHost::Find();
    return CouplingSnap::RadiusSq(host != nullptr && host->IsWideSnap());
}

void CZarnelWxDocument::UpdateWindowTitles() {
    for (wxView* view : GetViewsVector()) {
        view->OnChangeFilename();
    }
}

bool CZarnelWxDocument::IsModified() const { return m_dcmt->IsModified(); }

void CZarnelWxDocument::Modify(bool modified) { m_dcmt->SetModified(modified); }

bool CZarnelWxDocument::OnCreate(const wxString& path, long flags) {
    if ((flags & wxDOC_NEW) != 0 || path.empty()) {
        return wxDocument::OnCreate(path, flags);
    }
    // The first window opens in OnOpenDocument, once the file has been read.
    m_createFlags = flags;
    return true;
}

bool CZarnelWxDocument::OnOpenDocument(const wxString& file) {
    if (!DoOpenDocument(file)) {
        return false;
    }
    SetFilename(file, true);
    SetDocumentSaved(true);
    if (!GetViews().IsEmpty()) {
        return true;
    }
    wxDocTemplate* documentTemplate = GetDocumentTemplate();
    if (documentTemplate == nullptr) {
        return false;
    }
    // A window that cannot be made leaves the document to the document manager, which deletes
    // it when this returns false.
    m_openingFirstWindow = true;
    wxView* view = documentTemplate->CreateView(this, m_createFlags);
    m_openingFirstWindow = false;
    if (view == nullptr) {
        return false;
    }
    view->OnUpdate(nullptr, nullptr);
    return true;
}

bool CZarnelWxDocument::DoOpenDocument(const wxString& file) {
    // The reader reports every failure itself; the design stays as it was.
    return m_dcmt->LoadFile(file.utf8_string());
}

bool CZarnelWxDocument::DoSaveDocument(const wxString& file) {
    // The writer reports every failure itself and leaves the old file as it was.
    return m_dcmt->SaveFile(file.utf8_string(), GetCouplingMaterial(), GetSnapRadiusSq());
}

bool CZarnelWxDocument::SaveAs() {
    auto* documentTemplate = dynamic_cast<CZarnelDocTemplate*>(GetDocumentTemplate());
    if (documentTemplate == nullptr) {
        return false;
    }
    FileChoice choice;
    choice.save = true;
    choice.filter = documentTemplate->GetDialogFilter();
    choice.defaultExtension = documentTemplate->GetExtension();
    if (GetDocumentSaved() && !GetFilename().empty()) {
        choice.initialPath = GetFilename().utf8_string();
    } else {
        // The design's name up to a character that cannot stand in a file name, with the
        // extension of design files.
        std::string name = GetUserReadableName().utf8_string();
        name = name.substr(0, name.find_first_of(":/\\"));
        if (!name.empty() && !choice.defaultExtension.empty()) {
            name += "." + choice.defaultExtension;
        }
        choice.initialPath = name;
    }
    std::optional<std::string> chosen = GetUserInterface().ChooseFile(choice);
    if (!chosen || chosen->empty()) {
        return false;
    }
    wxString path = wxString::FromUTF8(chosen->c_str());
    if (!OnSaveDocument(path)) {
        return false;
    }
    SetTitle(wxFileNameFromPath(path));
    SetFilename(path, true);
    if (documentTemplate->FileMatchesTemplate(path)) {
        GetDocumentManager()->AddFileToHistory(path);
    }
    return true;
}

bool CZarnelWxDocument::OnSaveModified() {
    if (!IsModified()) {
        return true;
    }
    std::string text =
        ReplaceFirst(LoadLangText(kAskToSave), "%1", GetUserReadableName().utf8_string());
    switch (ShowMessage(text, {}, MsgButtons::YesNoCancel, MsgIcon::Question)) {
    case MsgAnswer::Yes:
        return Save();
    case MsgAnswer::No:
        // The changes are given up: nothing asks again while the document closes.
        Modify(false);
        return true;
    default:
        return false;
    }
}

void CZarnelWxDocument::OnChangeFilename(bool notifyViews) {
    m_dcmt->SetTitle(GetUserReadableName().utf8_string());
    wxDocument::OnChangeFilename(notifyViews);
}

void CZarnelWxDocument::OnChangedViewList() {
    // Window numbers change with the number of windows.
    UpdateWindowTitles();
    if (m_openingFirstWindow) {
        return;
    }
    // Deletes this document when its last window went.
    wxDocument::OnChangedViewList();
}

wxCommandProcessor* CZarnelWxDocument::OnCreateCommandProcessor() { return nullptr; }

void CZarnelWxDocument::OnEditUndo(wxCommandEvent&) {
    if (m_dcmt->CanUndo()) {
        try {
            m_dcmt->OnEditUndo(GetCouplingMaterial(), GetSnapRadiusSq());
        } catch (const std::bad_alloc&) {
            ReportEditOutOfMemory();
        }
    }
}

void CZarnelWxDocument::OnUpdateEditUndo(wxUpdateUIEvent& event) {
    event.Enable(m_dcmt->CanUndo());
}

void CZarnelWxDocument::OnEditRedo(wxCommandEvent&) {
    if (m_dcmt->CanRedo()) {
        try {
            m_dcmt->OnEditRedo(GetCouplingMaterial(), GetSnapRadiusSq());
        } catch (const std::bad_alloc&) {
            ReportEditOutOfMemory();
        }
    }
}

void CZarnelWxDocument::OnUpdateEditRedo(wxUpdateUIEvent& event) {
    event.Enable(m_dcmt->CanRedo());
}

void CZarnelWxDocument::OnQualityEdit(wxCommandEvent&) {
    const CDocumentAppHost* host = CDocumentAppHost::Find();
    if (CRndrQult* quality = host != nullptr ? host->GetEditQuality() : nullptr) {
        CDlgRndrQult::Edit(host->GetMainFrame(), *quality);
    }
    // Whatever the dialog answered: the windows draw with the profile as it is now.
    UpdateAllViews(ViewHint::Everything);
}

void CZarnelWxDocument::OnQualityPhoto(wxCommandEvent&) {
    const CDocumentAppHost* host = CDocumentAppHost::Find();
    if (CRndrQult* quality = host != nullptr ? host->GetPhotoQuality() : nullptr) {
        CDlgRndrQult::Edit(host->GetMainFrame(), *quality);
    }
    UpdateAllViews(ViewHint::Everything);
}

void CZarnelWxDocument::OnUpdateQualityEdit(wxUpdateUIEvent& event) {
    const CDocumentAppHost* host = CDocumentAppHost::Find();
    event.Enable(host != nullptr && host->GetEditQuality() != nullptr);
}

void CZarnelWxDocument::OnUpdateQualityPhoto(wxUpdateUIEvent& event) {
    const CDocumentAppHost* host = CDocumentAppHost::Find();
    event.Enable(host != nullptr && host->GetPhotoQuality() != nullptr);
}

void CZarnelWxDocument::OnWindowPartsList(wxCommandEvent&) {
    // Another window on this design, through the invisible parts-list template; nothing
    // happens when it cannot be made.
    const CDocumentAppHost* host = CDocumentAppHost::Find();
    wxDocTemplate* partsListTemplate = host != nullptr ? host->GetPartsListTemplate() : nullptr;
    if (partsListTemplate == nullptr) {
        return;
    }
    wxView* view = partsListTemplate->CreateView(this);
    if (view == nullptr) {
        return;
    }
    view->OnUpdate(nullptr, nullptr);
    // Beside the design's window when the windows are shown side by side.
    auto* frame = dynamic_cast<wxAuiMDIChildFrame*>(view->GetFrame());
    wxAuiMDIParentFrame* parent = frame != nullptr ? frame->GetMDIParentFrame() : nullptr;
    auto* area =
        parent != nullptr ? dynamic_cast<CDocumentArea*>(parent->GetClientWindow()) : nullptr;
    if (area != nullptr) {
        area->PlaceNewWindow(frame);
    }
}

void CZarnelWxDocument::OnDeleteHistory(wxCommandEvent&) { m_dcmt->OnDeleteHistory(); }

void CZarnelWxDocument::OnUpdateEnabled(wxUpdateUIEvent& event) { event.Enable(true); }
