// The print resolution dialog: four steps in a list of four columns.
#include "app/dialogs/DlgPrntRes.h"

#include <cstdio>

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/dialogs/LangTextWx.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// Texts of dialog 211: the caption, the column captions, the note and the button.
constexpr uint32_t kTextBase = 2110000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kColumnCaptions[4] = {kTextBase + 1, kTextBase + 2, kTextBase + 3,
                                         kTextBase + 4};
constexpr uint32_t kNote = kTextBase + 5;
constexpr uint32_t kOk = kTextBase + 6;
// "Bitte wählen Sie eine Druckauflösung aus"
constexpr uint32_t kChooseResolution = 4096;

// The picture that the dialog steers to: colour and depth of at most 16 MB.
constexpr int64_t kAffordableBytes = 16777216;
constexpr int kSteps = 4;

} // namespace

std::string CDlgPrntRes::RowText(int d, int ppiX, int ppiY, int pictureWidth, int pictureHeight,
                                 int64_t byteEstimate) {
    const int64_t megabytes = (byteEstimate + 1048575) / 1048576;
    char row[160];
    std::snprintf(row, sizeof row, "1/%d \t%d x %d \t%d x %d \t%lld", d, ppiX / d, ppiY / d,
                  pictureWidth / d, pictureHeight / d,
                  static_cast<long long>(megabytes / (int64_t{d} * d)));
    return row;
}

int CDlgPrntRes::FirstAffordableDivisor(int64_t byteEstimate) {
    for (int d = 1; d <= kSteps; ++d) {
        if (byteEstimate / (int64_t{d} * d) <= kAffordableBytes) {
            return d;
        }
    }
    return kSteps;
}

CDlgPrntRes::CDlgPrntRes(int ppiX, int ppiY, int pictureWidth, int pictureHeight,
                         int64_t byteEstimate, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, LangTextWx(kCaption)) {
    m_list = new wxListView(this, IdList, wxDefaultPosition, wxDefaultSize,
                            wxLC_REPORT | wxLC_SINGLE_SEL);
    for (int column = 0; column < 4; ++column) {
        m_list->AppendColumn(LangTextWx(kColumnCaptions[column]),
                             column == 0 ? wxLIST_FORMAT_LEFT : wxLIST_FORMAT_RIGHT);
    }
    const int first = FirstAffordableDivisor(byteEstimate);
    for (int d = 1; d <= kSteps; ++d) {
        const wxString row = wxString::FromUTF8(
            RowText(d, ppiX, ppiY, pictureWidth, pictureHeight, byteEstimate).c_str());
        wxArrayString cells = wxSplit(row, '\t', '\0');
        const long item = m_list->InsertItem(d - 1, cells[0].Strip(wxString::both));
        for (size_t column = 1; column < cells.size() && column < 4; ++column) {
            m_list->SetItem(item, static_cast<int>(column), cells[column].Strip(wxString::both));
        }
        m_list->SetItemData(item, d);
        if (d == first) {
            m_list->Select(item);
            m_list->Focus(item);
        }
    }
    for (int column = 0; column < 4; ++column) {
        m_list->SetColumnWidth(column, wxLIST_AUTOSIZE_USEHEADER);
    }
    m_list->SetMinSize(FromDIP(wxSize(340, 130)));

    auto* note = new wxStaticText(this, wxID_ANY, LangTextWx(kNote));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_list, 1, wxEXPAND | wxALL, 10);
    top->Add(note, 0, wxLEFT | wxRIGHT, 10);
    auto* ok = new wxButton(this, wxID_OK, LangTextWx(kOk));
    ok->SetDefault();
    top->Add(ok, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    // No Cancel button, yet Escape closes the dialog as Cancel would, without taking a row.
    SetEscapeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK, &CDlgPrntRes::OnCharHook, this);
    CentreOnParent();
}

void CDlgPrntRes::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
        if (IsModal()) {
            EndModal(wxID_CANCEL);
        } else {
            Hide();
        }
        return;
    }
    event.Skip();
}

bool CDlgPrntRes::TransferDataFromWindow() {
    const long selected = m_list->GetFirstSelected();
    m_divisor = selected >= 0 ? static_cast<int>(m_list->GetItemData(selected)) : 0;
    if (m_divisor == 0) {
        ShowMessage(LoadLangText(kChooseResolution), {}, MsgButtons::Ok, MsgIcon::Exclamation);
        m_divisor = 1;
        return false;
    }
    return true;
}
