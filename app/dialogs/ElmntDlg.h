// The common part of the element property dialogs (tube 204, panel 202, connector 209): the
// design and the 3D view's values they work with, the element named by its identity, the
// position-adjustment radios, the buttons "Oberfläche..." and "3D-Bild sofort neu zeichnen", and
// Escape and the close box acting as Cancel.
//
// A dialog loads a copy of the element's values and validates the fields in
// TransferDataFromWindow; Apply hands the values to the document operation (model/ElmntEdit.h).
// OK takes the values over once the dialog has closed; the buttons that show a change in the 3D
// view at once take them over while it is open.
#pragma once

#include <cstdint>
#include <functional>

#include <wx/dialog.h>

#include "model/Coupling.h"
#include "model/ElmntId.h"
#include "model/MtrlChoice.h"

class CElmnt;
class CZarnelDcmt;
class wxRadioButton;
class wxSizer;
class wxTextCtrl;

// What an element dialog needs of the 3D view that opens it.
struct SElmntDlgContext {
    CZarnelDcmt* dcmt = nullptr; // the design, borrowed; must outlive the dialog
    // The material slot that couplings made by linking get: the view's slot of the category
    // "Verbinder", taken from categorySlots when they are given (the surface dialog may change
    // it while an element dialog is open).
    int32_t couplingMaterial = 1;
    // Squared radius (mm²) within which couplings are found: the application's snap option.
    double snapRadiusSq = CouplingSnap::NormalSq;
    // The view's material slot per category: the surface dialog starts from them; a tool's
    // dialog (no element) sets the slot of the tool's category to its choice. Borrowed;
    // without them the button "Oberfläche..." is disabled.
    CMtrlChoice::CategorySlots* categorySlots = nullptr;
    // The 3D view's window, in whose client pixels the panel dialog's click point is given. May
    // be nullptr.
    wxWindow* view = nullptr;
    // Draws the 3D view at once after a change that is shown at once; when empty, the view's
    // window is refreshed and updated.
    std::function<void()> repaint;
};

// An edit field of a float shown with six significant digits in the user's locale. A text left
// as it was loaded gives the loaded value back exactly.
class CFloatField {
public:
    CFloatField() = default;
    explicit CFloatField(wxTextCtrl* control) : m_control(control) {}

    void Load(float value);
    // The field's value; false (after the framework's message, with the field focused) when the
    // text is no finite number.
    bool Save(float& value) const;
    // Save and a range check with the framework's range message.
    bool Save(float& value, float min, float max) const;

    wxTextCtrl* GetControl() const { return m_control; }

private:
    wxTextCtrl* m_control = nullptr;
    float m_loaded = 0.0f;
    wxString m_loadedText;
};

class CElmntDlg : public wxDialog {
public:
    // Control ids the three dialogs share, the system's own numbers.
    enum : int {
        IdRedraw = 1017,
        IdSurface = 1030,
        IdFree = 1103,
        IdFixed = 1104,
    };

    // Hands the dialog's values to the document; the values were transferred and validated.
    virtual void Apply() = 0;

protected:
    // textBase: dialog number × 10000, where the dialog's texts begin in the string table.
    CElmntDlg(wxWindow* parent, const SElmntDlgContext& context, ElmntId id, uint32_t textBase);

    // The edited element as it is now; nullptr when it is no longer alive (or the dialog has none).
    CElmnt* FindElmnt() const;
    // A dialog without an element chooses a tool's values: the kind whose material category
    // "Oberfläche..." chooses the view's slot for.
    void SetToolKind(ElmntKind kind) { m_toolKind = kind; }

    // Texts of the string table: n below 100 the dialog's own texts, else a control's text.
    wxString Text(int n) const;
    // Shared texts: 0 caption, 1 the unit "cm", 2 the group "Positionsanpassung", 3 "OK".
    enum : int { TextCaption = 0, TextCm = 1, TextAdjustGroup = 2, TextOk = 3 };

    // A row "label [edit] cm" for a float field in the grid.
    CFloatField AddFloatRow(wxSizer* grid, int id);
    // The group "Positionsanpassung" with its two radios.
    wxSizer* CreateAdjustGroup();
    // The buttons with the ids in the order given, then OK; the first button of the row gets a
    // gap before OK.
    wxSizer* CreateButtons(std::initializer_list<int> ids);
    bool GetFixed() const;
    void SetFixed(bool fixed);

    // Takes the dialog's values over: transfer, validate and apply; false when a value was
    // refused (the dialog stays as it is).
    bool TakeOver();
    // After a change shown at once: every view updated with ViewHint::Everything and the 3D view
    // repainted now.
    void ShowNow();
    // The 3D view drawn at once, as the context says.
    void RepaintView() const;
    // The coupling material as it is now.
    int32_t GetCouplingMaterial() const;

    const SElmntDlgContext m_context;
    const ElmntId m_id;

private:
    void OnRedraw(wxCommandEvent& event);
    void OnSurface(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);

    uint32_t m_textBase;
    ElmntKind m_toolKind = ElmntKind::None;
    wxRadioButton* m_free = nullptr;
    wxRadioButton* m_fixed = nullptr;
};
