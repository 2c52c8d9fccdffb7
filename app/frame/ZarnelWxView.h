// The base of every window on a design (the 3D view and the parts list view): it reaches the
// design through its document, hears the design's update hints, titles its frame and, as the
// last window on a design, closes the design (asking to save it first).
#pragma once

#include <cstdint>
#include <optional>

#include <wx/docview.h>

#include "model/DcmtObserver.h"

class CZarnelDcmt;
class CZarnelWxDocument;

// The object in which a design's update hint travels to wxView::OnUpdate.
class CViewHintObject : public wxObject {
public:
    explicit CViewHintObject(ViewHint hint) : m_hint(hint) {}
    ViewHint GetHint() const { return m_hint; }

private:
    ViewHint m_hint;
};

class CZarnelWxView : public wxView {
public:
    // The document and its design; null until the view is attached to a design document.
    CZarnelWxDocument* GetZarnelDocument() const;
    CZarnelDcmt* GetDcmt() const;

    // The material slot that couplings made by the design's own operations receive (undo and
    // redo, saving, which finish floating elements): the 3D view's slot of the material category
    // "Verbinder". Nothing for a window that keeps no such slot.
    virtual std::optional<int32_t> GetCouplingMaterial() const { return std::nullopt; }

    // The hint that an update carries: the framework's own updates carry none, which means
    // that anything may have changed.
    static ViewHint HintOf(const wxObject* hint);

    // Hands the hint to OnDesignUpdate.
    void OnUpdate(wxView* sender, wxObject* hint) final;
    // The updates this window heard, and the hint of the last one (for the status of a window
    // and its tests).
    int GetUpdateCount() const { return m_updateCount; }
    ViewHint GetLastHint() const { return m_lastHint; }
    // Closing one of several windows on a design closes only the window; the last one closes
    // the design, which asks to save unsaved changes and may refuse (false).
    bool OnClose(bool deleteWindow) override;
    // The frame's title: the design's name, the window's number when the design has several
    // windows (":1", ":2"), and "*" while there are unsaved changes.
    void OnChangeFilename() override;

protected:
    // After every change of the design (and once when the window opens), with what changed.
    // sender is the window that reported the change, if any.
    virtual void OnDesignUpdate(wxView* sender, ViewHint hint) = 0;

private:
    int m_updateCount = 0;
    ViewHint m_lastHint = ViewHint::Everything;
};
