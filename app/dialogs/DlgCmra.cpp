// Layout, data exchange and handlers of the camera dialog. Every field is exchanged on its own
// at each keystroke; what follows from it goes to every other field, never to the one the user
// types in nor to a position field that waits for OK. A spin button steps its field by 10 cm or
// 5 units and lets the field's own handler do the rest.
#include "app/dialogs/DlgCmra.h"

#include <algorithm>
#include <string>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/LangTextWx.h"
#include "support/ParseNumber.h"

namespace {

// Texts of dialog 208; a control's own text has the number 2080000 + its id.
constexpr uint32_t kTextBase = 2080000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kCameraCaption = kTextBase + 1;
constexpr uint32_t kModelCaption = kTextBase + 2;
constexpr uint32_t kViewCaption = kTextBase + 3;
constexpr uint32_t kEyeCaption = kTextBase + 4;
constexpr uint32_t kFormatCaption = kTextBase + 5;
constexpr uint32_t kRatioWidth = kTextBase + 18;
constexpr uint32_t kRatioTo = kTextBase + 19;
constexpr uint32_t kRatioHeight = kTextBase + 20;
constexpr uint32_t kOk = kTextBase + 21;

// The label of each numeric field.
struct SLabel {
    int editId;
    uint32_t text;
};
constexpr SLabel kLabels[] = {
    {1061, kTextBase + 6},  {1062, kTextBase + 7},  {1069, kTextBase + 8},  {1063, kTextBase + 9},
    {1064, kTextBase + 10}, {1081, kTextBase + 6},  {1082, kTextBase + 7},  {1089, kTextBase + 8},
    {1083, kTextBase + 9},  {1084, kTextBase + 10}, {1071, kTextBase + 11}, {1072, kTextBase + 12},
    {1075, kTextBase + 13}, {1076, kTextBase + 14}, {1079, kTextBase + 15}, {1094, kTextBase + 16},
    {1095, kTextBase + 17},
};

// The user ratio's parts.
constexpr double kMinRatio = 0.001;
constexpr double kMaxRatio = 10000.0;

wxString ControlText(int controlId) {
    return LangTextWx(kTextBase + static_cast<uint32_t>(controlId));
}

uint32_t LabelOf(int editId) {
    for (const SLabel& label : kLabels) {
        if (label.editId == editId) {
            return label.text;
        }
    }
    return 0;
}

} // namespace

CDlgCmra::CDlgCmra(wxWindow* parent, CCmra& camera, Preview preview)
    : CDialogEx(parent, LangTextWx(kCaption)), m_camera(camera), m_preview(std::move(preview)) {
    m_camera.Update();
    using R = Reaction;
    using F = CmraField;
    const F none = F::PictureFormat; // not used by position fields
    m_fields = {
        {IdCameraHeight, 1068, &CCmra::cameraHeight, -2000, 2000, 10, R::Position, none},
        {IdCameraDistance, 1066, &CCmra::cameraDistance, -2000, 2000, 10, R::Recompute,
         F::CameraDistance},
        {IdCameraLeftRight, 1070, &CCmra::cameraLeftRight, -2000, 2000, 10, R::Position, none},
        {IdCameraTurn, 1067, &CCmra::cameraTurn, 0, 360, 5, R::Position, none},
        {IdCameraTilt, 1065, &CCmra::cameraTilt, 0, 360, 5, R::Position, none},
        {IdModelHeight, 1088, &CCmra::modelHeight, -2000, 2000, 10, R::Position, none},
        {IdModelDistance, 1086, &CCmra::modelDistance, -2000, 2000, 10, R::Position, none},
        {IdModelLeftRight, 1090, &CCmra::modelLeftRight, -2000, 2000, 10, R::Position, none},
        {IdModelTurn, 1087, &CCmra::modelTurn, 0, 360, 5, R::Position, none},
        {IdModelTilt, 1085, &CCmra::modelTilt, 0, 360, 5, R::Position, none},
        {IdVisibleWidth, 1074, &CCmra::visibleWidth, 10, 2000, 5, R::Recompute, F::VisibleWidth},
        {IdVisibleHeight, 1073, &CCmra::visibleHeight, 10, 2000, 5, R::Recompute, F::VisibleHeight},
        {IdFovHorizontal, 1078, &CCmra::fieldOfViewHorizontal, 5, 170, 5, R::Recompute,
         F::FovHorizontal},
        {IdFovVertical, 1077, &CCmra::fieldOfViewVertical, 5, 170, 5, R::Recompute, F::FovVertical},
        {IdFocalLength, 1080, &CCmra::focalLength, 5, 1000, 5, R::Recompute, F::FocalLength},
        {IdEyeUp, 1097, &CCmra::eyeUp, -1000, 1000, 5, R::Position, none},
        {IdEyeAcross, 1096, &CCmra::eyeAcross, -1000, 1000, 5, R::Position, none},
    };
    CreateControls();
    CentreOnParent();
}

const CDlgCmra::SIntField* CDlgCmra::FindField(int editId) const {
    for (const SIntField& field : m_fields) {
        if (field.editId == editId) {
            return &field;
        }
    }
    return nullptr;
}

wxSizer* CDlgCmra::AddFields(wxWindow* parent, const std::vector<int>& editIds,
                             const std::vector<wxWindow*>& besides) {
    auto* grid = new wxFlexGridSizer(besides.empty() ? 3 : 4, wxSize(FromDIP(4), FromDIP(3)));
    grid->AddGrowableCol(0);
    for (std::size_t row = 0; row < editIds.size(); ++row) {
        const SIntField& field = *FindField(editIds[row]);
        auto* label = new wxStaticText(parent, wxID_ANY, LangTextWx(LabelOf(field.editId)));
        auto* edit = new wxTextCtrl(parent, field.editId, wxString(), wxDefaultPosition,
                                    FromDIP(wxSize(70, -1)), wxTE_RIGHT);
        auto* spin =
            new wxSpinButton(parent, field.spinId, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
        spin->SetRange(field.min, field.max);
        grid->Add(label, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(edit, 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(spin, 0, wxALIGN_CENTER_VERTICAL);
        if (!besides.empty()) {
            wxWindow* beside = row < besides.size() ? besides[row] : nullptr;
            if (beside != nullptr) {
                grid->Add(beside, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, FromDIP(6));
            } else {
                grid->AddSpacer(0);
            }
        }
        const int editId = field.editId;
        edit->Bind(wxEVT_TEXT,
                   [this, editId](wxCommandEvent&) { OnFieldChanged(*FindField(editId)); });
        spin->Bind(wxEVT_SPIN_UP, [this, editId](wxSpinEvent&) { OnSpin(*FindField(editId), +1); });
        spin->Bind(wxEVT_SPIN_DOWN,
                   [this, editId](wxSpinEvent&) { OnSpin(*FindField(editId), -1); });
    }
    return grid;
}

void CDlgCmra::CreateControls() {
    const int space = FromDIP(5);

    auto* cameraBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kCameraCaption));
    cameraBox->Add(
        AddFields(cameraBox->GetStaticBox(),
                  {IdCameraHeight, IdCameraDistance, IdCameraLeftRight, IdCameraTurn, IdCameraTilt},
                  {}),
        0, wxEXPAND | wxALL, 3);
    auto* modelBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kModelCaption));
    modelBox->Add(
        AddFields(modelBox->GetStaticBox(),
                  {IdModelHeight, IdModelDistance, IdModelLeftRight, IdModelTurn, IdModelTilt}, {}),
        0, wxEXPAND | wxALL, 3);

    auto* viewBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kViewCaption));
    wxWindow* viewParent = viewBox->GetStaticBox();
    m_fixGroup = std::make_unique<CRadioGroup>(
        viewParent, std::initializer_list<int>{IdFixSize, IdFixAngles},
        std::vector<wxString>{ControlText(IdFixSize), ControlText(IdFixAngles)});
    viewBox->Add(
        AddFields(viewParent,
                  {IdVisibleWidth, IdVisibleHeight, IdFovHorizontal, IdFovVertical, IdFocalLength},
                  {m_fixGroup->GetButton(0), nullptr, m_fixGroup->GetButton(1)}),
        0, wxEXPAND | wxALL, 3);

    auto* eyeBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kEyeCaption));
    eyeBox->Add(AddFields(eyeBox->GetStaticBox(), {IdEyeUp, IdEyeAcross}, {}), 0, wxEXPAND | wxALL,
                3);

    auto* formatBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kFormatCaption));
    wxWindow* formatParent = formatBox->GetStaticBox();
    const std::initializer_list<int> formatIds = {1050, 1051, 1060, 1052, 1053, 1056, 1054};
    std::vector<wxString> formatLabels;
    for (int id : formatIds) {
        formatLabels.push_back(ControlText(id));
    }
    m_formatGroup = std::make_unique<CRadioGroup>(formatParent, formatIds, formatLabels);
    for (wxRadioButton* button : m_formatGroup->GetButtons()) {
        formatBox->Add(button, 0, wxALL, 3);
        button->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnFormat(); });
    }
    auto* ratio = new wxFlexGridSizer(3, wxSize(space, 0));
    ratio->Add(new wxStaticText(formatParent, wxID_ANY, LangTextWx(kRatioWidth)), 0, wxALIGN_CENTER);
    ratio->AddSpacer(0);
    ratio->Add(new wxStaticText(formatParent, wxID_ANY, LangTextWx(kRatioHeight)), 0, wxALIGN_CENTER);
    auto* ratioWidth = new wxTextCtrl(formatParent, IdRatioWidth, wxString(), wxDefaultPosition,
                                      FromDIP(wxSize(70, -1)), wxTE_RIGHT);
    auto* ratioHeight = new wxTextCtrl(formatParent, IdRatioHeight, wxString(), wxDefaultPosition,
                                       FromDIP(wxSize(70, -1)), wxTE_RIGHT);
    ratio->Add(ratioWidth, 0, wxALIGN_CENTER_VERTICAL);
    ratio->Add(new wxStaticText(formatParent, wxID_ANY, LangTextWx(kRatioTo)), 0,
               wxALIGN_CENTER_VERTICAL);
    ratio->Add(ratioHeight, 0, wxALIGN_CENTER_VERTICAL);
    formatBox->Add(ratio, 0, wxLEFT | wxBOTTOM, FromDIP(24));
    ratioWidth->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnRatio(&m_camera.userRatioWidth); });
    ratioHeight->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnRatio(&m_camera.userRatioHeight); });

    for (wxRadioButton* button : m_fixGroup->GetButtons()) {
        button->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnFix(); });
    }

    auto* redraw = new wxCheckBox(this, IdRedraw, ControlText(IdRedraw));
    redraw->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnRedrawBox(); });
    auto* standard = new wxButton(this, IdStandard, ControlText(IdStandard));
    standard->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnStandard(); });
    auto* ok = new wxButton(this, wxID_OK, LangTextWx(kOk));
    ok->SetDefault();

    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(cameraBox, 0, wxEXPAND | wxBOTTOM, space);
    left->Add(viewBox, 0, wxEXPAND | wxBOTTOM, space);
    left->Add(eyeBox, 0, wxEXPAND);
    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(modelBox, 0, wxEXPAND | wxBOTTOM, space);
    right->Add(formatBox, 1, wxEXPAND);
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    columns->Add(left, 1, wxEXPAND | wxRIGHT, space);
    columns->Add(right, 1, wxEXPAND);

    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->Add(redraw, 0, wxALIGN_CENTER_VERTICAL);
    bottom->AddStretchSpacer();
    bottom->Add(standard, 0, wxRIGHT, space);
    bottom->Add(ok);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(columns, 1, wxEXPAND | wxALL, space * 2);
    top->Add(bottom, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, space * 2);
    SetSizerAndFit(top);
}

void CDlgCmra::DoDataExchangeEx(CDataExchange& dx, const void* field) {
    for (const SIntField& f : m_fields) {
        int& member = m_camera.*(f.member);
        if (!Takes(dx, field, &member) || (!dx.IsSaving() && m_waitingEdits.count(f.editId) != 0)) {
            continue;
        }
        int value = member;
        DDX_Text(dx, f.editId, value);
        DDV_MinMaxInt(dx, value, f.min, f.max);
        member = value;
        if (!dx.IsSaving()) {
            auto* spin = static_cast<wxSpinButton*>(FindWindow(f.spinId));
            spin->SetValue(std::clamp(value, f.min, f.max));
        }
    }
    if (Takes(dx, field, &m_fixed)) {
        DDX_Radio(dx, *m_fixGroup, m_fixed);
    }
    if (Takes(dx, field, &m_camera.pictureFormat)) {
        DDX_Radio(dx, *m_formatGroup, m_camera.pictureFormat);
    }
    for (double* ratio : {&m_camera.userRatioWidth, &m_camera.userRatioHeight}) {
        if (Takes(dx, field, ratio)) {
            double value = *ratio;
            DDX_Text(dx, ratio == &m_camera.userRatioWidth ? IdRatioWidth : IdRatioHeight, value);
            DDV_MinMaxDouble(dx, value, kMinRatio, kMaxRatio);
            *ratio = value;
        }
    }
    if (Takes(dx, field, &m_redraw)) {
        DDX_Check(dx, IdRedraw, m_redraw);
    }
    if (!dx.IsSaving()) {
        // The visible size is typed with "Fix" beside it, the angles and focal length with it
        // beside the angles; the other group follows and looks like a label.
        for (int id :
             {IdVisibleWidth, IdVisibleHeight, IdFovHorizontal, IdFovVertical, IdFocalLength}) {
            const bool sizeGroup = id == IdVisibleWidth || id == IdVisibleHeight;
            const bool editable = sizeGroup ? m_fixed == 0 : m_fixed == 1;
            auto* edit = static_cast<wxTextCtrl*>(FindWindow(id));
            if (edit->IsEditable() != editable) {
                edit->SetEditable(editable);
                edit->SetBackgroundColour(
                    editable ? wxNullColour : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
                edit->Refresh();
            }
            FindWindow(FindField(id)->spinId)->Enable(editable);
        }
    }
}

void CDlgCmra::Redraw() {
    if (m_redraw && IsInitialised() && m_preview) {
        m_preview(m_camera);
    }
}

void CDlgCmra::OnFieldChanged(const SIntField& field) {
    int& member = m_camera.*(field.member);
    const int before = member;
    if (!UpdateDataEx(true, &member)) {
        return;
    }
    FollowWithSpin(field, member);
    if (field.reaction == Reaction::Position && !m_redraw) {
        // Not shown, so not taken yet: the camera keeps its value until OK takes every field.
        member = before;
        m_waitingEdits.insert(field.editId);
        return;
    }
    m_waitingEdits.erase(field.editId);
    if (field.reaction == Reaction::Recompute) {
        CmraFieldChanged(m_camera, field.cmraField, KeepsAngles());
        UpdateDataEx(false, &member);
    }
    Redraw();
}

void CDlgCmra::OnSpin(const SIntField& field, int direction) {
    auto* edit = static_cast<wxTextCtrl*>(FindWindow(field.editId));
    if (!edit->IsEditable()) {
        return;
    }
    int value = m_camera.*(field.member);
    ParseInt(edit->GetValue().utf8_string(), value);
    value = std::clamp(value + direction * field.step, field.min, field.max);
    edit->SetValue(std::to_string(value)); // the field's own handler takes it over
}

void CDlgCmra::FollowWithSpin(const SIntField& field, int value) {
    // The spin button's position follows its field, so that it can step on from the field's
    // value up to either end of its range. Not while its own event may be running: the toolkit
    // compares the next change with the position it keeps, and a position set under it makes
    // that change look like a click the other way, which steps the field back, and so on
    // without end.
    CallAfter([this, spinId = field.spinId, value, min = field.min, max = field.max] {
        static_cast<wxSpinButton*>(FindWindow(spinId))->SetValue(std::clamp(value, min, max));
    });
}

void CDlgCmra::OnFormat() {
    if (UpdateDataEx(true, &m_camera.pictureFormat)) {
        CmraFieldChanged(m_camera, CmraField::PictureFormat, KeepsAngles());
        UpdateDataEx(false, &m_camera.pictureFormat);
        Redraw();
    }
}

void CDlgCmra::OnRatio(const double* member) {
    if (UpdateDataEx(true, member)) {
        CmraFieldChanged(m_camera, CmraField::UserRatio, KeepsAngles());
        UpdateDataEx(false, member);
        Redraw();
    }
}

void CDlgCmra::OnFix() {
    if (UpdateDataEx(true, &m_fixed)) {
        UpdateDataEx(false);
    }
}

void CDlgCmra::OnRedrawBox() {
    if (UpdateDataEx(true, &m_redraw)) {
        Redraw();
    }
}

void CDlgCmra::OnStandard() {
    m_waitingEdits.clear();
    m_camera.SetDefaults();
    UpdateDataEx(false);
    Redraw();
}

bool CDlgCmra::Edit(wxWindow* parent, CCmra& camera, Preview preview) {
    CDlgCmra dialog(parent, camera, std::move(preview));
    return dialog.ShowModal() == wxID_OK;
}

bool CDlgCmra::Run(wxWindow* parent, CZarnelDcmt& dcmt, CCmra& camera,
                   const std::function<void()>& repaint) {
    const CCmra before = camera;
    const bool confirmed = Edit(parent, camera, [&repaint](const CCmra&) {
        if (repaint) {
            repaint();
        }
    });
    // What has reached the camera stays, however the dialog was closed. It is applied to the
    // camera as it was before, so that the document is marked only when anything changed.
    const CCmra edited = camera;
    camera = before;
    ApplyCamera(dcmt, camera, edited);
    if (repaint) {
        repaint();
    }
    return confirmed;
}
