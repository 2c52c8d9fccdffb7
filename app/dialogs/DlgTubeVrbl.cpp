// Layout and data exchange of the tube-length dialog.
#include "app/dialogs/DlgTubeVrbl.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/LangTextWx.h"

namespace {

// Texts of dialog 201: the caption, the prompt, the label, the unit and the buttons.
constexpr uint32_t kTextBase = 2010000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kPrompt = kTextBase + 1;
constexpr uint32_t kLabel = kTextBase + 2;
constexpr uint32_t kUnit = kTextBase + 3;
constexpr uint32_t kOk = kTextBase + 4;
constexpr uint32_t kCancel = kTextBase + 5;

} // namespace

CDlgTubeVrbl::CDlgTubeVrbl(wxWindow* parent) : CDialogEx(parent, LangTextWx(kCaption)) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, LangTextWx(kLabel)), 0, wxALIGN_CENTER_VERTICAL);
    row->Add(new wxTextCtrl(this, IdLength, wxString(), wxDefaultPosition, FromDIP(wxSize(80, -1)),
                            wxTE_RIGHT),
             0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, FromDIP(6));
    row->Add(new wxStaticText(this, wxID_ANY, LangTextWx(kUnit)), 0, wxALIGN_CENTER_VERTICAL);

    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(this, wxID_OK, LangTextWx(kOk));
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, LangTextWx(kCancel)));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, LangTextWx(kPrompt)), 0, wxALL, FromDIP(10));
    top->Add(row, 0, wxLEFT | wxRIGHT, FromDIP(10));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
    SetSizerAndFit(top);
    CentreOnParent();
}

void CDlgTubeVrbl::DoDataExchangeEx(CDataExchange& dx, const void* field) {
    if (Takes(dx, field, &m_length)) {
        DDX_Text(dx, IdLength, m_length);
        DDV_MinMaxFloat(dx, m_length, kMinLength, kMaxLength);
    }
}

void CDlgTubeVrbl::OnInitDialogEx() {
    auto* edit = static_cast<wxTextCtrl*>(FindWindow(IdLength));
    edit->SetFocus();
    edit->SelectAll();
}
