// Layout and data exchange of the quality dialog. The texts come from the string table; the
// groups are exchanged in the order shading, magnification, minification, texture mapping,
// interpolation, modelling.
#include "app/dialogs/DlgRndrQult.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "app/dialogs/LangTextWx.h"

namespace {

// Texts of dialog 205: the caption, the group captions, the note and the buttons; a control's
// own text has the number 2050000 + its id.
constexpr uint32_t kTextBase = 2050000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kShadingCaption = kTextBase + 1;
constexpr uint32_t kTextureCaption = kTextBase + 2;
constexpr uint32_t kMinCaption = kTextBase + 3;
constexpr uint32_t kMagCaption = kTextBase + 4;
constexpr uint32_t kInterpolationCaption = kTextBase + 5;
constexpr uint32_t kModellCaption = kTextBase + 6;
constexpr uint32_t kNote = kTextBase + 7;
constexpr uint32_t kOk = kTextBase + 8;
constexpr uint32_t kCancel = kTextBase + 9;

// The string table writes a literal ampersand as "&&", as a label needs it.
wxString ControlText(int controlId) {
    return LangTextWx(kTextBase + static_cast<uint32_t>(controlId));
}

} // namespace

CDlgRndrQult::CDlgRndrQult(wxWindow* parent, const SRndrQultValues& values)
    : wxDialog(parent, wxID_ANY, LangTextWx(kCaption)), m_values(values) {
    auto* columns = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    columns->Add(left, 1, wxEXPAND | wxALL, 5);
    columns->Add(right, 1, wxEXPAND | wxALL, 5);

    AddGroup(left, kShadingCaption, &SRndrQultValues::shading, {1044, 1045, 1046, 1047});
    AddGroup(right, kMagCaption, &SRndrQultValues::textureMax, {1039, 1040});
    AddGroup(left, kMinCaption, &SRndrQultValues::textureMin, {1033, 1034, 1035, 1036, 1037, 1038});

    auto* textureBox = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(kTextureCaption));
    m_texture = new wxCheckBox(textureBox->GetStaticBox(), IdTexture, ControlText(IdTexture));
    textureBox->Add(m_texture, 0, wxALL, 3);
    right->Add(textureBox, 0, wxEXPAND | wxBOTTOM, 5);

    AddGroup(right, kInterpolationCaption, &SRndrQultValues::texturePerspective, {1041, 1042});
    AddGroup(right, kModellCaption, &SRndrQultValues::modell, {1048, 1050, 1049, 1051});

    auto* note = new wxStaticText(this, wxID_ANY, LangTextWx(kNote));
    note->Wrap(FromDIP(520));

    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK, LangTextWx(kOk)));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, LangTextWx(kCancel)));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(columns, 0, wxEXPAND | wxALL, 5);
    top->Add(note, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    SetEscapeId(wxID_CANCEL);
    CentreOnParent();
}

void CDlgRndrQult::AddGroup(wxSizer* column, uint32_t captionId, int SRndrQultValues::*field,
                            const std::vector<int>& ids) {
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(captionId));
    SRadioGroup group{field, {}};
    for (size_t i = 0; i < ids.size(); ++i) {
        auto* button = new wxRadioButton(box->GetStaticBox(), ids[i], ControlText(ids[i]),
                                         wxDefaultPosition, wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        box->Add(button, 0, wxALL, 3);
        group.buttons.push_back(button);
    }
    column->Add(box, 0, wxEXPAND | wxBOTTOM, 5);
    m_groups.push_back(std::move(group));
}

bool CDlgRndrQult::TransferDataToWindow() {
    for (const SRadioGroup& group : m_groups) {
        const int value = m_values.*(group.field);
        if (value >= 0 && value < static_cast<int>(group.buttons.size())) {
            group.buttons[static_cast<size_t>(value)]->SetValue(true);
        }
    }
    m_texture->SetValue(m_values.texture != 0);
    return true;
}

bool CDlgRndrQult::TransferDataFromWindow() {
    for (const SRadioGroup& group : m_groups) {
        for (size_t i = 0; i < group.buttons.size(); ++i) {
            if (group.buttons[i]->GetValue()) {
                m_values.*(group.field) = static_cast<int>(i);
            }
        }
    }
    m_values.texture = m_texture->GetValue() ? 1 : 0;
    return true;
}

bool CDlgRndrQult::Edit(wxWindow* parent, CRndrQult& quality) {
    CDlgRndrQult dialog(parent, quality.GetValues());
    if (dialog.ShowModal() != wxID_OK) {
        return false;
    }
    quality.SetValues(dialog.GetValues());
    return true;
}
