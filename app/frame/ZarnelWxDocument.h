// The framework's document over one design (CZarnelDcmt): opening and saving through the
// design's own reader and writer, the German save prompt and Save As dialog through the
// user-interface seam, the modified flag and the title kept with the design, the design's update
// hints handed to every window on it, and the document's commands (undo, redo, the two render
// quality dialogs, the parts-list window and deleting the history).
#pragma once

#include <cstdint>
#include <memory>

#include <wx/docview.h>

#include "model/DcmtObserver.h"

class CZarnelDcmt;

class CZarnelWxDocument : public wxDocument, private CDcmtObserver {
public:
    // A new design with its defaults (materials, start coupling, cameras, the default price
    // and stock lists, which may ask the user for a file).
    CZarnelWxDocument();
    ~CZarnelWxDocument() override;

    // The design; owned by this document and alive as long as it.
    CZarnelDcmt& GetDcmt() { return *m_dcmt; }
    const CZarnelDcmt& GetDcmt() const { return *m_dcmt; }

    // Tells every window on the design (and every other observer of the design) what changed,
    // except the window that reports it.
    using wxDocument::UpdateAllViews;
    void UpdateAllViews(ViewHint hint, wxView* sender = nullptr);

    // The title of a window on the design (see CZarnelWxView::OnChangeFilename).
    wxString GetWindowTitle(const wxView* view) const;

    // The modified flag is the design's.
    bool IsModified() const override;
    void Modify(bool modified) override;

    // A design file is read before its first window opens, so that a file that cannot be read
    // leaves no window behind: the reader's report is the only message.
    bool OnCreate(const wxString& path, long flags) override;
    bool OnOpenDocument(const wxString& file) override;
    // The Save As dialog through the user-interface seam: the design files' filter in both
    // cases, the default extension, the design's name proposed.
    bool SaveAs() override;
    // "Änderungen in <name> speichern?" with Yes, No and Cancel.
    bool OnSaveModified() override;
    void OnChangeFilename(bool notifyViews) override;
    void OnChangedViewList() override;
    // The design has its own undo: no command processor.
    wxCommandProcessor* OnCreateCommandProcessor() override;

protected:
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    // The design's hints to the windows.
    void OnUpdate(ViewHint hint) override;
    // What the design's operations that link elements take from the application and the
    // windows: the coupling material of the active window on this design (else of the first
    // window that keeps one, else the default slot) and the squared snap radius in mm² of the
    // application's 15 cm option.
    int32_t GetCouplingMaterial() const;
    double GetSnapRadiusSq() const;
    void UpdateWindowTitles();

    void OnEditUndo(wxCommandEvent& event);
    void OnUpdateEditUndo(wxUpdateUIEvent& event);
    void OnEditRedo(wxCommandEvent& event);
    void OnUpdateEditRedo(wxUpdateUIEvent& event);
    void OnQualityEdit(wxCommandEvent& event);
    void OnQualityPhoto(wxCommandEvent& event);
    void OnUpdateQualityEdit(wxUpdateUIEvent& event);
    void OnUpdateQualityPhoto(wxUpdateUIEvent& event);
    void OnWindowPartsList(wxCommandEvent& event);
    void OnDeleteHistory(wxCommandEvent& event);
    void OnUpdateEnabled(wxUpdateUIEvent& event);

    std::unique_ptr<CZarnelDcmt> m_dcmt;
    wxView* m_updateSender = nullptr; // the window whose report is being handed on
    long m_createFlags = 0;           // of a design whose first window opens after reading
    bool m_openingFirstWindow = false; // that window is being made

    wxDECLARE_DYNAMIC_CLASS_NO_COPY(CZarnelWxDocument);
};
