// Layout, data exchange and handlers of the ramp dialog. Handlers exchange one value at a time:
// the value that changed is taken over, and the values computed from it go back to every other
// field, never to the one the user types in.
#include "app/dialogs/DlgRamp.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/LangTextWx.h"
#include "app/dialogs/RampDrawing.h"
#include "model/Elmnt.h"
#include "model/ZarnelDcmt.h"
#include "support/UserInterface.h"

namespace {

// Texts of dialog 210; a control's own text has the number 2100000 + its id.
constexpr uint32_t kTextBase = 2100000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kTypeCaption = kTextBase + 1;
constexpr uint32_t kAxisCaption = kTextBase + 2;
constexpr uint32_t kInstruction = kTextBase + 3;
constexpr uint32_t kUnitCm = kTextBase + 4;
constexpr uint32_t kUnitDegree = kTextBase + 5;
constexpr uint32_t kOk = kTextBase + 6;
constexpr uint32_t kCancel = kTextBase + 7;
constexpr uint32_t kColumnAngle = kTextBase + 8; // columns w, h, l, t follow in order

// Ranges of the measures: centimetres and degrees.
constexpr double kMaxMeasure = 1000.0;
constexpr double kMaxAngle = 90.0;

wxString ControlText(int controlId) {
    return LangTextWx(kTextBase + static_cast<uint32_t>(controlId));
}

int MeasureEditId(RampMeasure m) {
    return CDlgRamp::IdHeight + static_cast<int>(m);
}

} // namespace

CDlgRamp::CDlgRamp(wxWindow* parent, const CElmnt& elmnt, const SRampValues& values,
                   Preview preview)
    : CDialogEx(parent, LangTextWx(kCaption)), m_values(values), m_saved(elmnt.placement),
      m_allowedAxes(RampAllowedAxes(elmnt)), m_preview(std::move(preview)) {
    m_values.axis = RampInitialAxis(m_values.axis, m_allowedAxes);
    CreateControls();
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

void CDlgRamp::CreateControls() {
    auto addGroup = [this](wxWindow* parent, std::initializer_list<int> ids) {
        std::vector<wxString> labels;
        for (int id : ids) {
            labels.push_back(ControlText(id));
        }
        m_groups.push_back(std::make_unique<CRadioGroup>(parent, ids, labels));
        return m_groups.back().get();
    };
    const int space = FromDIP(5);

    // Left: the model type and the axis.
    auto* typeBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kTypeCaption));
    m_typeGroup = addGroup(typeBox->GetStaticBox(), {IdTypeRampOnly, IdTypeWholeModel});
    for (wxRadioButton* button : m_typeGroup->GetButtons()) {
        typeBox->Add(button, 0, wxALL, 3);
    }
    auto* axisBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kAxisCaption));
    m_axisGroup =
        addGroup(axisBox->GetStaticBox(), {IdAxisXPlus, IdAxisXPlus + 1, IdAxisXPlus + 2,
                                           IdAxisXPlus + 3, IdAxisXPlus + 4, IdAxisXPlus + 5});
    auto* axes = new wxGridSizer(2, wxSize(space * 3, 0));
    for (wxRadioButton* button : m_axisGroup->GetButtons()) {
        axes->Add(button, 0, wxALL, 3);
    }
    axisBox->Add(axes, 0, wxBOTTOM, space);
    m_absoluteGroup = addGroup(axisBox->GetStaticBox(), {IdRelative, IdAbsolute});
    auto* absolute = new wxGridSizer(2, wxSize(space * 3, 0));
    for (wxRadioButton* button : m_absoluteGroup->GetButtons()) {
        absolute->Add(button, 0, wxALL, 3);
    }
    axisBox->Add(absolute);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(typeBox, 0, wxEXPAND | wxBOTTOM, space);
    left->Add(axisBox, 0, wxEXPAND);

    // Middle: the drawing, what to do, and the four measures.
    m_drawing = new CRampDrawing(this, m_values.type);
    auto* instruction = new wxStaticText(this, wxID_ANY, LangTextWx(kInstruction));
    instruction->Wrap(m_drawing->GetSize().x);
    auto* measures = new wxFlexGridSizer(3, wxSize(space, space));
    for (int m = 0; m < RampMeasureCount; ++m) {
        const int checkId = IdSelectHeight + m;
        auto* check = new wxCheckBox(this, checkId, ControlText(checkId));
        auto* edit = new wxTextCtrl(this, IdHeight + m, wxString(), wxDefaultPosition,
                                    FromDIP(wxSize(120, -1)), wxTE_RIGHT);
        const auto measure = static_cast<RampMeasure>(m);
        auto* unit = new wxStaticText(this, wxID_ANY,
                                      LangTextWx(measure == RampMeasure::Angle ? kUnitDegree : kUnitCm));
        measures->Add(check, 0, wxALIGN_CENTER_VERTICAL);
        measures->Add(edit, 0, wxALIGN_CENTER_VERTICAL);
        measures->Add(unit, 0, wxALIGN_CENTER_VERTICAL);
        check->Bind(wxEVT_CHECKBOX, [this, measure](wxCommandEvent&) { OnSelectValue(measure); });
    }
    auto* middle = new wxBoxSizer(wxVERTICAL);
    middle->Add(m_drawing, 0, wxBOTTOM, space);
    middle->Add(instruction, 0, wxBOTTOM, space * 2);
    middle->Add(measures, 0, wxALIGN_CENTER_HORIZONTAL);

    // Right: the standard geometries.
    m_table = new wxListCtrl(this, IdTable, wxDefaultPosition, FromDIP(wxSize(220, -1)),
                             wxLC_REPORT | wxLC_SINGLE_SEL);
    for (int column = 0; column < 4; ++column) {
        m_table->AppendColumn(LangTextWx(kColumnAngle + static_cast<uint32_t>(column)),
                              column == 0 ? wxLIST_FORMAT_LEFT : wxLIST_FORMAT_RIGHT,
                              FromDIP(column == 0 ? 70 : 48));
    }

    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    columns->Add(left, 0, wxEXPAND | wxALL, space);
    columns->Add(middle, 0, wxEXPAND | wxALL, space);
    columns->Add(m_table, 0, wxEXPAND | wxALL, space);

    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK, LangTextWx(kOk)));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, LangTextWx(kCancel)));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(columns, 1, wxEXPAND | wxALL, space);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, space * 2);
    SetSizerAndFit(top);

    // Handlers.
    for (wxRadioButton* button : m_typeGroup->GetButtons()) {
        button->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnModelType(); });
    }
    for (wxRadioButton* button : m_axisGroup->GetButtons()) {
        button->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnAxis(&m_values.axis); });
    }
    for (wxRadioButton* button : m_absoluteGroup->GetButtons()) {
        button->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnAxis(&m_values.absolute); });
    }
    FindWindow(IdHeight)->Bind(wxEVT_TEXT,
                               [this](wxCommandEvent&) { OnChangeValue(&m_values.height); });
    FindWindow(IdLength)->Bind(wxEVT_TEXT,
                               [this](wxCommandEvent&) { OnChangeValue(&m_values.length); });
    FindWindow(IdRun)->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnChangeValue(&m_values.run); });
    FindWindow(IdAngle)->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnAxis(&m_values.angle); });
    m_table->Bind(wxEVT_LIST_ITEM_SELECTED, &CDlgRamp::OnTableSelect, this);
}

void CDlgRamp::DoDataExchangeEx(CDataExchange& dx, const void* field) {
    // The choices first, so that a refused number cannot keep a click from being taken.
    if (Takes(dx, field, &m_values.type)) {
        DDX_Radio(dx, *m_typeGroup, m_values.type);
    }
    if (Takes(dx, field, &m_values.axis)) {
        DDX_Radio(dx, *m_axisGroup, m_values.axis);
    }
    if (Takes(dx, field, &m_values.absolute)) {
        DDX_Radio(dx, *m_absoluteGroup, m_values.absolute);
    }
    for (int m = 0; m < RampMeasureCount; ++m) {
        bool& selected = m_values.selected[static_cast<std::size_t>(m)];
        if (Takes(dx, field, &selected)) {
            DDX_Check(dx, IdSelectHeight + m, selected);
        }
    }
    if (Takes(dx, field, &m_values.height)) {
        double height = m_values.height;
        DDX_TextDbl(dx, IdHeight, height);
        DDV_MinMaxDouble(dx, height, 0.0, kMaxMeasure);
        m_values.height = height;
    }
    if (Takes(dx, field, &m_values.length)) {
        double length = m_values.length;
        DDX_TextDbl(dx, IdLength, length);
        DDV_MinMaxDouble(dx, length, 0.0, kMaxMeasure);
        m_values.length = length;
    }
    if (Takes(dx, field, &m_values.run)) {
        double run = m_values.run;
        DDX_TextZeroEmpty(dx, IdRun, run);
        DDV_MinMaxDouble(dx, run, 0.0, kMaxMeasure);
        m_values.run = run;
    }
    if (Takes(dx, field, &m_values.angle)) {
        double angle = m_values.angle;
        DDX_Text(dx, IdAngle, angle);
        DDV_MinMaxDouble(dx, angle, 0.0, kMaxAngle);
        m_values.angle = angle;
    }
    if (!dx.IsSaving()) {
        // Only the two given measures can be typed in; the computed ones look like labels.
        for (int m = 0; m < RampMeasureCount; ++m) {
            auto* edit = static_cast<wxTextCtrl*>(FindWindow(MeasureEditId(RampMeasure(m))));
            const bool given = m_values.selected[static_cast<std::size_t>(m)];
            if (edit->IsEditable() != given) {
                edit->SetEditable(given);
                edit->SetBackgroundColour(
                    given ? wxNullColour : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
                edit->Refresh();
            }
        }
        m_drawing->SetType(m_values.type);
    }
}

void CDlgRamp::OnInitDialogEx() {
    FillTable();
    for (int axis = 0; axis < 6; ++axis) {
        m_axisGroup->GetButton(static_cast<std::size_t>(axis))
            ->Enable((m_allowedAxes & (1u << axis)) != 0);
    }
    ApplyPreview();
}

void CDlgRamp::FillTable() {
    m_table->DeleteAllItems();
    long index = 0;
    for (const SRampRow& row : GetRampRows(m_values.type)) {
        m_table->InsertItem(index, wxString::FromUTF8(row.angle));
        m_table->SetItem(index, 1, wxString::FromUTF8(row.height));
        m_table->SetItem(index, 2, wxString::FromUTF8(row.length));
        m_table->SetItem(index, 3, wxString::FromUTF8(row.run));
        ++index;
    }
}

void CDlgRamp::Solve() {
    SolveRamp(m_values);
    ApplyPreview();
}

void CDlgRamp::ApplyPreview() {
    if (m_preview) {
        m_preview(RampPlacement(m_saved, m_values));
    }
}

void CDlgRamp::OnSelectValue(RampMeasure measure) {
    UpdateDataEx(true);
    if (!m_selection.Click(m_values, measure)) {
        GetUserInterface().Beep();
    }
    UpdateDataEx(false);
}

void CDlgRamp::OnChangeValue(const double* field) {
    if (UpdateDataEx(true, field)) {
        Solve();
        UpdateDataEx(false, field);
    }
}

void CDlgRamp::OnAxis(const void* field) {
    if (UpdateDataEx(true, field)) {
        ApplyPreview();
    }
}

void CDlgRamp::OnModelType() {
    if (UpdateDataEx(true, &m_values.type)) {
        FillTable();
        m_drawing->SetType(m_values.type);
    }
}

void CDlgRamp::OnTableSelect(wxListEvent& event) {
    const std::vector<SRampRow>& rows = GetRampRows(m_values.type);
    const long index = event.GetIndex();
    if (!IsInitialised() || index < 0 || static_cast<std::size_t>(index) >= rows.size()) {
        return;
    }
    TakeRampRow(m_values, rows[static_cast<std::size_t>(index)]);
    ApplyPreview();
    UpdateDataEx(false);
}

bool CDlgRamp::Edit(wxWindow* parent, const CElmnt& elmnt, SRampValues& values, Preview preview) {
    CDlgRamp dialog(parent, elmnt, values, std::move(preview));
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    values = dialog.GetValues();
    return true;
}

bool CDlgRamp::Run(wxWindow* parent, CZarnelDcmt& dcmt, ElmntId id, int32_t couplingMaterial,
                   double snapRadiusSq, const std::function<void()>& repaint) {
    CElmnt* elmnt = dcmt.FindElement(id);
    if (elmnt == nullptr) {
        return false;
    }
    const CTransform saved = elmnt->placement;
    // The preview turns the element in place, outside any revision; whatever happens, it is back
    // at its placement before anything else sees the document.
    struct SRestore {
        CZarnelDcmt& dcmt;
        ElmntId id;
        CTransform placement;
        ~SRestore() {
            if (CElmnt* e = dcmt.FindElement(id); e != nullptr) {
                e->placement = placement;
            }
        }
    };
    bool confirmed = false;
    SRampValues values = LoadRampValues();
    {
        SRestore restore{dcmt, id, saved};
        confirmed = Edit(parent, *elmnt, values, [&](const CTransform& placement) {
            if (CElmnt* e = dcmt.FindElement(id); e != nullptr) {
                e->placement = placement;
            }
            if (repaint) {
                repaint();
            }
        });
    }
    if (confirmed) {
        if (CElmnt* e = dcmt.FindElement(id); e != nullptr) {
            ApplyRamp(dcmt, *e, saved, values, couplingMaterial, snapRadiusSq);
        }
        StoreRampValues(values);
    }
    if (repaint) {
        repaint();
    }
    return confirmed;
}
