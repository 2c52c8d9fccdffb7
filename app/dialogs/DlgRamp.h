// Dialog 210 "Rampen / Rutschen / Drehung": tilts one element (typically a coupling that is to
// carry a ramp or a slide) by an angle about one of its local axes. The user gives two of the
// four measures h, l, t and w, or picks a standard geometry; the other two are computed and the
// turn is previewed while the values change. The dialog works on a copy of the values; the
// caller applies them (ApplyRamp) as one change of the document.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/dialogs/DialogEx.h"
#include "model/ElmntId.h"
#include "model/Ramp.h"

class CElmnt;
class CRampDrawing;
class CZarnelDcmt;
class wxListCtrl;
class wxListEvent;

class CDlgRamp : public CDialogEx {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdAxisXPlus = 1109, // axis group 1109 to 1114: X+, X-, Y+, Y-, Z+, Z-
        IdTypeRampOnly = 1115,
        IdTypeWholeModel = 1116,
        IdTable = 1117,
        IdHeight = 1118,
        IdLength = 1119,
        IdRun = 1120,
        IdAngle = 1121,
        IdRelative = 1122,
        IdAbsolute = 1123,
        IdSelectHeight = 1127, // check boxes 1127 to 1130: h, l, t, w
    };

    // Shows a placement of the element in the 3D view while the values change.
    using Preview = std::function<void(const CTransform& placement)>;

    // elmnt gives the axes it may be turned about and the placement the turns start from; the
    // stored axis becomes the first allowed one when it is not allowed. preview may be empty.
    CDlgRamp(wxWindow* parent, const CElmnt& elmnt, const SRampValues& values, Preview preview);

    const SRampValues& GetValues() const { return m_values; }
    uint32_t GetAllowedAxes() const { return m_allowedAxes; }

    // Shows the dialog modally. OK stores the edited values in values and answers true; Cancel
    // (also Escape and the close box) leaves them as they were and answers false. The preview
    // is the caller's to take back.
    static bool Edit(wxWindow* parent, const CElmnt& elmnt, SRampValues& values, Preview preview);

    // The 3D view's entry (the angle tool and the connector dialog's "Rampen..."): the dialog on
    // the element with the identity and the last values from the settings, the element shown
    // turned in the document while the values change (repaint redraws the view). Afterwards the
    // element is back at its placement; OK then applies the values as one revision (ApplyRamp,
    // with the view's connector material and snap radius in mm²) and stores them in the
    // settings. False after Cancel, or when the element is not alive.
    static bool Run(wxWindow* parent, CZarnelDcmt& dcmt, ElmntId id, int32_t couplingMaterial,
                    double snapRadiusSq, const std::function<void()>& repaint);

protected:
    void DoDataExchangeEx(CDataExchange& dx, const void* field) override;
    void OnInitDialogEx() override;

private:
    void CreateControls();
    void FillTable();
    void Solve();
    void ApplyPreview();
    void OnSelectValue(RampMeasure measure);
    void OnChangeValue(const double* field);
    void OnAxis(const void* field);
    void OnModelType();
    void OnTableSelect(wxListEvent& event);

    SRampValues m_values;
    CTransform m_saved;
    uint32_t m_allowedAxes = 0;
    Preview m_preview;
    CRampSelection m_selection;

    CRadioGroup* m_typeGroup = nullptr;
    CRadioGroup* m_axisGroup = nullptr;
    CRadioGroup* m_absoluteGroup = nullptr;
    std::vector<std::unique_ptr<CRadioGroup>> m_groups;
    CRampDrawing* m_drawing = nullptr;
    wxListCtrl* m_table = nullptr;
};
