// Layout and handlers of the surface dialog. Each control changes the copy of the chosen
// material as soon as the user moves it; loading the controls shows the current category's
// materials and the chosen one's values.
#include "app/dialogs/DlgMtrl.h"

#include <algorithm>
#include <cmath>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/colordlg.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/LangTextWx.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// Texts of dialog 203; a control's own text has the number 2030000 + its id.
constexpr uint32_t kTextBase = 2030000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kCategoryLabel = kTextBase + 1;
constexpr uint32_t kMaterialLabel = kTextBase + 2;
constexpr uint32_t kUsableCaption = kTextBase + 3;
constexpr uint32_t kColorCaption = kTextBase + 4;
constexpr uint32_t kOutsideCaption = kTextBase + 5;
constexpr uint32_t kInsideCaption = kTextBase + 6;
constexpr uint32_t kAmbientLabel = kTextBase + 7;
constexpr uint32_t kDiffuseLabel = kTextBase + 8;
constexpr uint32_t kSpecularLabel = kTextBase + 9;
constexpr uint32_t kShininessLabel = kTextBase + 10;
constexpr uint32_t kRedLabel = kTextBase + 11;
constexpr uint32_t kGreenLabel = kTextBase + 12;
constexpr uint32_t kBlueLabel = kTextBase + 13;
constexpr uint32_t kTextureLabel = kTextBase + 14;
constexpr uint32_t kTextureNote = kTextBase + 15;
constexpr uint32_t kOk = kTextBase + 16;

// Messages and the texture file filter.
constexpr uint32_t kTextNotUsable = 4112;
constexpr uint32_t kTextBitmapFilter = 4113;
constexpr uint32_t kTextTableFull = 4127;
// The most tick marks a slider shows.
constexpr int kMaxTicks = 30;
// The names of the categories 0 to 8.
constexpr uint32_t kTextFirstCategory = 4114;

wxString ControlText(int controlId) {
    return LangTextWx(kTextBase + static_cast<uint32_t>(controlId));
}

// A material value scaled and truncated towards zero, held to 0 to max before it becomes an int:
// a value read from a file may lie far outside what the control shows, beyond what an int holds.
int ToControlValue(float scaled, int max) {
    if (!(scaled > 0.0f)) {
        return 0;
    }
    return static_cast<int>(std::min(std::trunc(scaled), static_cast<float>(max)));
}

int ToByte(float component) {
    return ToControlValue(component * 255.0f, 255);
}

} // namespace

CDlgMtrl::CDlgMtrl(wxWindow* parent, const CMtrlChoice& choice, Preview preview)
    : CDialogEx(parent, LangTextWx(kCaption)), m_choice(choice), m_preview(std::move(preview)) {
    m_sliders = {
        {IdOutAmbient, Value::OutAmbient, 20, 5, 1.0f},
        {IdOutDiffuse, Value::OutDiffuse, 30, 5, 1.5f},
        {IdOutSpecular, Value::OutSpecular, 30, 5, 1.5f},
        {IdOutShininess, Value::OutShininess, 30, 5, 15.0f},
        {IdInAmbient, Value::InAmbient, 20, 5, 1.0f},
        {IdInDiffuse, Value::InDiffuse, 30, 5, 1.5f},
        {IdInSpecular, Value::InSpecular, 30, 5, 1.5f},
        {IdInShininess, Value::InShininess, 30, 5, 15.0f},
        {IdRed, Value::Red, 255, 1, 1.0f},
        {IdGreen, Value::Green, 255, 1, 1.0f},
        {IdBlue, Value::Blue, 255, 1, 1.0f},
    };
    CreateControls();
    CentreOnParent();
}

float CDlgMtrl::GetValue(const CMtrl& mtrl, Value value) {
    switch (value) {
    case Value::OutAmbient:
        return mtrl.GetOutside().ambient;
    case Value::OutDiffuse:
        return mtrl.GetOutside().diffuse;
    case Value::OutSpecular:
        return mtrl.GetOutside().specular;
    case Value::OutShininess:
        return mtrl.GetOutside().shininess;
    case Value::InAmbient:
        return mtrl.GetInside().ambient;
    case Value::InDiffuse:
        return mtrl.GetInside().diffuse;
    case Value::InSpecular:
        return mtrl.GetInside().specular;
    case Value::InShininess:
        return mtrl.GetInside().shininess;
    case Value::Red:
        return mtrl.GetRed();
    case Value::Green:
        return mtrl.GetGreen();
    case Value::Blue:
        return mtrl.GetBlue();
    }
    return 0.0f;
}

void CDlgMtrl::SetValue(CMtrl& mtrl, Value value, float v) {
    SLightFactors outside = mtrl.GetOutside();
    SLightFactors inside = mtrl.GetInside();
    float red = mtrl.GetRed();
    float green = mtrl.GetGreen();
    float blue = mtrl.GetBlue();
    switch (value) {
    case Value::OutAmbient:
        outside.ambient = v;
        break;
    case Value::OutDiffuse:
        outside.diffuse = v;
        break;
    case Value::OutSpecular:
        outside.specular = v;
        break;
    case Value::OutShininess:
        outside.shininess = v;
        break;
    case Value::InAmbient:
        inside.ambient = v;
        break;
    case Value::InDiffuse:
        inside.diffuse = v;
        break;
    case Value::InSpecular:
        inside.specular = v;
        break;
    case Value::InShininess:
        inside.shininess = v;
        break;
    case Value::Red:
        red = v;
        break;
    case Value::Green:
        green = v;
        break;
    case Value::Blue:
        blue = v;
        break;
    }
    mtrl.SetOutside(outside);
    mtrl.SetInside(inside);
    mtrl.SetColor(red, green, blue);
}

const CDlgMtrl::SSlider& CDlgMtrl::FindSlider(int id) const {
    for (const SSlider& slider : m_sliders) {
        if (slider.id == id) {
            return slider;
        }
    }
    return m_sliders.front();
}

wxSizer* CDlgMtrl::AddSliders(wxWindow* parent, const std::vector<int>& ids,
                              const std::vector<uint32_t>& labels) {
    auto* grid = new wxFlexGridSizer(2, wxSize(FromDIP(6), FromDIP(2)));
    grid->AddGrowableCol(1);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const SSlider& slider = FindSlider(ids[i]);
        // Tick marks where they can be told apart: a mark at each of the 256 colour steps
        // would only paint a grey bar.
        const bool ticks = slider.range / slider.tics <= kMaxTicks;
        auto* control =
            new wxSlider(parent, slider.id, 0, 0, slider.range, wxDefaultPosition,
                         FromDIP(wxSize(150, -1)), wxSL_HORIZONTAL | (ticks ? wxSL_AUTOTICKS : 0));
        if (ticks) {
            control->SetTickFreq(slider.tics);
        }
        grid->Add(new wxStaticText(parent, wxID_ANY, LangTextWx(labels[i])), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(control, 1, wxEXPAND);
        const int id = slider.id;
        control->Bind(wxEVT_SLIDER, [this, id](wxCommandEvent&) { OnSlider(FindSlider(id)); });
    }
    return grid;
}

void CDlgMtrl::CreateControls() {
    const int space = FromDIP(5);

    // The category and the material chosen for it.
    m_category = new wxChoice(this, IdCategory);
    for (int c = 0; c < MtrlCategoryCount; ++c) {
        m_category->Append(LangTextWx(kTextFirstCategory + static_cast<uint32_t>(c)));
    }
    m_material =
        new wxComboBox(this, IdMaterial, wxString(), wxDefaultPosition, FromDIP(wxSize(220, -1)));
    auto* newMaterial = new wxButton(this, IdNewMaterial, ControlText(IdNewMaterial));
    auto* choose = new wxFlexGridSizer(3, wxSize(space, space));
    choose->Add(new wxStaticText(this, wxID_ANY, LangTextWx(kCategoryLabel)), 0, wxALIGN_CENTER_VERTICAL);
    choose->Add(m_category, 0, wxEXPAND);
    choose->AddSpacer(0);
    choose->Add(new wxStaticText(this, wxID_ANY, LangTextWx(kMaterialLabel)), 0, wxALIGN_CENTER_VERTICAL);
    choose->Add(m_material, 0, wxEXPAND);
    choose->Add(newMaterial, 0, wxALIGN_CENTER_VERTICAL);

    auto* usableBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kUsableCaption));
    auto* metal = new wxCheckBox(usableBox->GetStaticBox(), IdMetal, ControlText(IdMetal));
    auto* plastic = new wxCheckBox(usableBox->GetStaticBox(), IdPlastic, ControlText(IdPlastic));
    usableBox->Add(metal, 0, wxALL, 3);
    usableBox->Add(plastic, 0, wxALL, 3);

    auto* head = new wxBoxSizer(wxHORIZONTAL);
    head->Add(choose, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, space * 4);
    head->Add(usableBox, 0, wxEXPAND);

    // The colour with its swatch, and the light factors outside and inside.
    auto* colorBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kColorCaption));
    wxWindow* colorParent = colorBox->GetStaticBox();
    colorBox->Add(
        AddSliders(colorParent, {IdRed, IdGreen, IdBlue}, {kRedLabel, kGreenLabel, kBlueLabel}), 0,
        wxEXPAND | wxALL, 3);
    m_swatch = new wxWindow(colorParent, IdSwatch, wxDefaultPosition, FromDIP(wxSize(60, 26)),
                            wxBORDER_SIMPLE);
    auto* chooseColor = new wxButton(colorParent, IdChooseColor, ControlText(IdChooseColor));
    auto* swatchRow = new wxBoxSizer(wxHORIZONTAL);
    swatchRow->Add(m_swatch, 1, wxEXPAND | wxRIGHT, space);
    swatchRow->Add(chooseColor, 0);
    colorBox->Add(swatchRow, 0, wxEXPAND | wxALL, 3);

    const std::vector<uint32_t> lightLabels = {kAmbientLabel, kDiffuseLabel, kSpecularLabel,
                                               kShininessLabel};
    auto* outsideBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kOutsideCaption));
    outsideBox->Add(AddSliders(outsideBox->GetStaticBox(),
                               {IdOutAmbient, IdOutDiffuse, IdOutSpecular, IdOutShininess},
                               lightLabels),
                    0, wxEXPAND | wxALL, 3);
    auto* insideBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kInsideCaption));
    insideBox->Add(AddSliders(insideBox->GetStaticBox(),
                              {IdInAmbient, IdInDiffuse, IdInSpecular, IdInShininess}, lightLabels),
                   0, wxEXPAND | wxALL, 3);
    auto* values = new wxBoxSizer(wxHORIZONTAL);
    values->Add(colorBox, 1, wxEXPAND | wxRIGHT, space);
    values->Add(outsideBox, 1, wxEXPAND | wxRIGHT, space);
    values->Add(insideBox, 1, wxEXPAND);

    // The texture.
    auto* textureFile = new wxTextCtrl(this, IdTextureFile, wxString(), wxDefaultPosition,
                                       wxDefaultSize, wxTE_READONLY);
    auto* chooseTexture = new wxButton(this, IdChooseTexture, ControlText(IdChooseTexture));
    auto* deleteTexture = new wxButton(this, IdDeleteTexture, ControlText(IdDeleteTexture));
    auto* texture = new wxBoxSizer(wxHORIZONTAL);
    texture->Add(new wxStaticText(this, wxID_ANY, LangTextWx(kTextureLabel)), 0,
                 wxALIGN_CENTER_VERTICAL | wxRIGHT, space);
    texture->Add(textureFile, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, space);
    texture->Add(chooseTexture, 0, wxRIGHT, space);
    texture->Add(deleteTexture, 0);
    auto* note = new wxStaticText(this, wxID_ANY, LangTextWx(kTextureNote));

    auto* redraw = new wxCheckBox(this, IdRedraw, ControlText(IdRedraw));
    auto* ok = new wxButton(this, wxID_OK, LangTextWx(kOk));
    ok->SetDefault();
    auto* bottom = new wxBoxSizer(wxHORIZONTAL);
    bottom->Add(redraw, 0, wxALIGN_CENTER_VERTICAL);
    bottom->AddStretchSpacer();
    bottom->Add(ok);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(head, 0, wxEXPAND | wxALL, space * 2);
    top->Add(values, 0, wxEXPAND | wxLEFT | wxRIGHT, space * 2);
    top->Add(texture, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, space * 2);
    top->Add(note, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, space * 2);
    top->Add(bottom, 0, wxEXPAND | wxALL, space * 2);
    SetSizerAndFit(top);

    m_category->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnCategory(); });
    m_material->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { OnMaterialSelected(); });
    m_material->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnMaterialText(); });
    metal->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUsability(); });
    plastic->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnUsability(); });
    redraw->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnRedraw(); });
    chooseColor->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnChooseColor(); });
    chooseTexture->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnChooseTexture(); });
    deleteTexture->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeleteTexture(); });
    newMaterial->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnNewMaterial(); });
    ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); });
}

void CDlgMtrl::DoDataExchangeEx(CDataExchange& dx, const void*) {
    // Every control has changed the copy when the user moved it; only loading is left.
    if (!dx.IsSaving()) {
        LoadControls();
    }
}

void CDlgMtrl::LoadControls() {
    m_loading = true;
    m_category->SetSelection(m_choice.GetCurrentCategory());

    const int32_t selected = m_choice.GetSelectedSlot();
    const CMtrl* mtrl = m_choice.GetSelected();
    m_material->Clear();
    int shown = wxNOT_FOUND;
    for (int32_t slot : m_choice.GetUsableSlots()) {
        const int index =
            m_material->Append(wxString::FromUTF8(m_choice.GetMaterial(slot)->GetName()),
                               reinterpret_cast<void*>(static_cast<intptr_t>(slot)));
        if (slot == selected) {
            shown = index;
        }
    }
    if (shown != wxNOT_FOUND) {
        m_material->SetSelection(shown);
    } else {
        // The chosen material is not meant for this category: its name is shown all the same.
        m_material->ChangeValue(mtrl != nullptr ? wxString::FromUTF8(mtrl->GetName()) : wxString());
    }

    static_cast<wxCheckBox*>(FindWindow(IdMetal))->SetValue(m_choice.IsInMetalGroup());
    static_cast<wxCheckBox*>(FindWindow(IdPlastic))->SetValue(m_choice.IsInPlasticGroup());
    static_cast<wxCheckBox*>(FindWindow(IdRedraw))->SetValue(m_redraw);
    for (const SSlider& slider : m_sliders) {
        auto* control = static_cast<wxSlider*>(FindWindow(slider.id));
        control->SetRange(0, slider.range);
        const float value = mtrl != nullptr ? GetValue(*mtrl, slider.value) : 0.0f;
        control->SetValue(ToControlValue(slider.range / slider.scale * value, slider.range));
    }
    static_cast<wxTextCtrl*>(FindWindow(IdTextureFile))
        ->ChangeValue(mtrl != nullptr ? wxString::FromUTF8(mtrl->GetTextureFile()) : wxString());
    // Without a material in the slot there is nothing to edit.
    for (int id :
         {IdMetal, IdPlastic, IdChooseColor, IdChooseTexture, IdDeleteTexture, IdNewMaterial}) {
        FindWindow(id)->Enable(mtrl != nullptr);
    }
    for (const SSlider& slider : m_sliders) {
        FindWindow(slider.id)->Enable(mtrl != nullptr);
    }
    ShowSwatch();
    m_loading = false;
}

void CDlgMtrl::ShowSwatch() {
    const CMtrl* mtrl = m_choice.GetSelected();
    if (mtrl != nullptr) {
        m_swatch->SetBackgroundColour(
            wxColour(ToByte(mtrl->GetRed()), ToByte(mtrl->GetGreen()), ToByte(mtrl->GetBlue())));
    } else {
        m_swatch->SetBackgroundColour(GetBackgroundColour());
    }
    m_swatch->Refresh();
}

void CDlgMtrl::Redraw() {
    if (m_redraw && IsInitialised() && m_preview) {
        m_preview(m_choice);
        m_previewed = true;
    }
}

void CDlgMtrl::OnCategory() {
    if (m_loading) {
        return;
    }
    m_choice.SetCurrentCategory(m_category->GetSelection());
    LoadControls();
}

void CDlgMtrl::OnMaterialSelected() {
    if (m_loading) {
        return;
    }
    const int index = m_material->GetSelection();
    if (index == wxNOT_FOUND) {
        return;
    }
    m_choice.SelectSlot(
        static_cast<int32_t>(reinterpret_cast<intptr_t>(m_material->GetClientData(index))));
    LoadControls();
}

void CDlgMtrl::OnMaterialText() {
    // Text typed into the field (no item chosen) renames the chosen material.
    if (m_loading || m_material->GetSelection() != wxNOT_FOUND) {
        return;
    }
    if (CMtrl* mtrl = m_choice.GetSelected(); mtrl != nullptr) {
        mtrl->SetName(m_material->GetValue().utf8_string());
    }
}

void CDlgMtrl::OnUsability() {
    if (m_loading) {
        return;
    }
    m_choice.SetUsabilityGroups(static_cast<wxCheckBox*>(FindWindow(IdMetal))->GetValue(),
                                static_cast<wxCheckBox*>(FindWindow(IdPlastic))->GetValue());
}

void CDlgMtrl::OnSlider(const SSlider& slider) {
    CMtrl* mtrl = m_choice.GetSelected();
    if (m_loading || mtrl == nullptr) {
        return;
    }
    const int position = static_cast<wxSlider*>(FindWindow(slider.id))->GetValue();
    SetValue(*mtrl, slider.value, static_cast<float>(position) * slider.scale / slider.range);
    ShowSwatch();
    Redraw();
}

void CDlgMtrl::OnChooseColor() {
    CMtrl* mtrl = m_choice.GetSelected();
    if (mtrl == nullptr) {
        return;
    }
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(
        wxColour(ToByte(mtrl->GetRed()), ToByte(mtrl->GetGreen()), ToByte(mtrl->GetBlue())));
    wxColourDialog dialog(this, &data);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    const wxColour chosen = dialog.GetColourData().GetColour();
    mtrl->SetColor(chosen.Red() / 255.0f, chosen.Green() / 255.0f, chosen.Blue() / 255.0f);
    LoadControls();
    Redraw();
}

void CDlgMtrl::OnChooseTexture() {
    CMtrl* mtrl = m_choice.GetSelected();
    if (mtrl == nullptr) {
        return;
    }
    FileChoice choice;
    choice.filter = LoadLangText(kTextBitmapFilter);
    choice.defaultExtension = "bmp";
    choice.initialPath = mtrl->GetTextureFile();
    const std::optional<std::string> path = GetUserInterface().ChooseFile(choice);
    if (!path) {
        return;
    }
    mtrl->SetTextureFile(*path); // a different file is loaded again when next drawn
    LoadControls();
    Redraw();
}

void CDlgMtrl::OnDeleteTexture() {
    CMtrl* mtrl = m_choice.GetSelected();
    if (mtrl == nullptr) {
        return;
    }
    mtrl->SetTextureFile(std::string());
    LoadControls();
    Redraw();
}

void CDlgMtrl::OnNewMaterial() {
    if (!m_choice.NewMaterial()) {
        ShowMessage(LoadLangText(kTextTableFull), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    LoadControls();
    m_material->SetFocus();
}

void CDlgMtrl::OnRedraw() {
    m_redraw = static_cast<wxCheckBox*>(FindWindow(IdRedraw))->GetValue();
    Redraw();
}

void CDlgMtrl::OnOk() {
    if (!m_choice.IsAcceptable()) {
        ShowMessage(LoadLangText(kTextNotUsable), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    EndModal(wxID_OK);
}

bool CDlgMtrl::Edit(wxWindow* parent, CMtrlChoice& choice, Preview preview) {
    CDlgMtrl dialog(parent, choice, preview);
    if (dialog.ShowModal() == wxID_OK) {
        choice = dialog.GetChoice();
        return true;
    }
    if (dialog.HasPreviewed() && preview) {
        preview(choice);
    }
    return false;
}

std::optional<int32_t> CDlgMtrl::Run(wxWindow* parent, CZarnelDcmt& dcmt, const CElmnt* elmnt,
                                     ElmntKind kind,
                                     const CMtrlChoice::CategorySlots& categorySlots,
                                     bool checkUsability, const std::function<void()>& repaint,
                                     CMtrlChoice::CategorySlots* toolSlots) {
    CMtrlChoice choice(dcmt, elmnt, kind, categorySlots, checkUsability);
    const CMtrlChoice opened = choice;
    bool previewed = false;
    auto show = [&](const CMtrlChoice& shown) {
        ShowMtrlChoice(dcmt, shown);
        previewed = true;
        dcmt.UpdateAllViews(ViewHint::Everything);
        if (repaint) {
            repaint();
        }
    };
    const bool confirmed = Edit(parent, choice, show);
    if (previewed) {
        ShowMtrlChoice(dcmt, opened); // the document as it was, so that applying sees the edits
    }
    if (!confirmed) {
        return std::nullopt;
    }
    ApplyMtrlChoice(dcmt, choice);
    if (toolSlots != nullptr) {
        *toolSlots = choice.GetCategorySlots();
    }
    if (repaint) {
        repaint();
    }
    return choice.GetSelectedSlot();
}
