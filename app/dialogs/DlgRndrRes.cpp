// Layout, data exchange and the aspect rule of the picture size dialog. The size edits derive
// each other on every keystroke; the values are checked only when the user confirms.
#include "app/dialogs/DlgRndrRes.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/dialogs/LangTextWx.h"
#include "support/Profile.h"

namespace {

// Texts of dialog 206: the caption, the two group captions, the field labels and the buttons.
constexpr uint32_t kTextBase = 2060000;
constexpr uint32_t kCaption = kTextBase;
constexpr uint32_t kScreenCaption = kTextBase + 1;
constexpr uint32_t kRenderCaption = kTextBase + 2;
constexpr uint32_t kWidthLabel = kTextBase + 3;
constexpr uint32_t kHeightLabel = kTextBase + 4;
constexpr uint32_t kRender = kTextBase + 5;
constexpr uint32_t kCancel = kTextBase + 6;

constexpr const char* kWidthEntry = "rndrWdth";
constexpr const char* kHeightEntry = "rndrHght";
constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

// A size edit's text is read up to this many characters while the user types.
constexpr std::size_t kTypedLength = 256;

int ClampToInt(double value) {
    if (!(value > INT_MIN)) {
        return INT_MIN; // also for a value that is no number
    }
    return value < INT_MAX ? static_cast<int>(value) : INT_MAX;
}

// The whole number the text begins with, after blanks and an optional sign, held to the int
// range; 0 when it begins with no digit.
int LeadingInt(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        value = std::min(value * 10 + (text[at] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    return ClampToInt(static_cast<double>(negative ? -value : value));
}

std::string TypedText(const wxTextCtrl& edit) {
    return edit.GetValue().Left(kTypedLength).utf8_string();
}

} // namespace

CDlgRndrRes::CDlgRndrRes(const std::string& section, wxWindow* parent)
    : CDialogEx(parent, LangTextWx(kCaption)), m_section(section) {
    m_renderWidth = GetProfileInt(m_section, kWidthEntry, kDefaultWidth);
    m_renderHeight = GetProfileInt(m_section, kHeightEntry, kDefaultHeight);
    CreateControls();
    CentreOnParent();
}

void CDlgRndrRes::CreateControls() {
    auto addGroup = [this](wxSizer* parentSizer, uint32_t caption, int widthId, int heightId,
                           bool readOnly) {
        auto* box = new wxStaticBoxSizer(wxVERTICAL, this, LangTextWx(caption));
        wxWindow* parent = box->GetStaticBox();
        auto* grid = new wxFlexGridSizer(2, wxSize(FromDIP(6), FromDIP(4)));
        const long style = wxTE_RIGHT | (readOnly ? wxTE_READONLY : 0);
        wxTextCtrl* edits[2] = {nullptr, nullptr};
        const int ids[2] = {widthId, heightId};
        const uint32_t labels[2] = {kWidthLabel, kHeightLabel};
        for (int i = 0; i < 2; ++i) {
            grid->Add(new wxStaticText(parent, wxID_ANY, LangTextWx(labels[i])), 0,
                      wxALIGN_CENTER_VERTICAL);
            edits[i] = new wxTextCtrl(parent, ids[i], wxString(), wxDefaultPosition,
                                      FromDIP(wxSize(80, -1)), style);
            grid->Add(edits[i], 0, wxALIGN_CENTER_VERTICAL);
        }
        box->Add(grid, 0, wxALL, FromDIP(4));
        // The toolkit does not widen a group for its caption: the caption sets the least width.
        box->SetMinSize(wxSize(GetTextExtent(LangTextWx(caption)).x + FromDIP(30), -1));
        parentSizer->Add(box, 0, wxEXPAND | wxALL, FromDIP(5));
        return std::pair{edits[0], edits[1]};
    };
    auto* groups = new wxBoxSizer(wxHORIZONTAL);
    addGroup(groups, kScreenCaption, IdScreenWidth, IdScreenHeight, true);
    std::tie(m_widthEdit, m_heightEdit) =
        addGroup(groups, kRenderCaption, IdRenderWidth, IdRenderHeight, false);
    m_widthEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnWidthChanged(); });
    m_heightEdit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnHeightChanged(); });

    auto* buttons = new wxStdDialogButtonSizer;
    auto* render = new wxButton(this, wxID_OK, LangTextWx(kRender));
    render->SetDefault();
    buttons->AddButton(render);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, LangTextWx(kCancel)));
    buttons->Realize();

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(groups, 0, wxALL, FromDIP(5));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, FromDIP(10));
    SetSizerAndFit(top);
}

void CDlgRndrRes::SetScreenSize(int width, int height) {
    m_screenWidth = width;
    m_screenHeight = height;
}

double CDlgRndrRes::AspectRatio(int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) {
        return 0.0;
    }
    return static_cast<double>(screenWidth) / screenHeight;
}

void CDlgRndrRes::DoDataExchangeEx(CDataExchange& dx, const void* field) {
    if (Takes(dx, field, &m_screenHeight)) {
        DDX_Text(dx, IdScreenHeight, m_screenHeight);
    }
    if (Takes(dx, field, &m_screenWidth)) {
        DDX_Text(dx, IdScreenWidth, m_screenWidth);
    }
    if (Takes(dx, field, &m_renderHeight)) {
        DDX_Text(dx, IdRenderHeight, m_renderHeight);
        DDV_MinMaxInt(dx, m_renderHeight, kMinSide, kMaxSide);
    }
    if (Takes(dx, field, &m_renderWidth)) {
        DDX_Text(dx, IdRenderWidth, m_renderWidth);
        DDV_MinMaxInt(dx, m_renderWidth, kMinSide, kMaxSide);
    }
}

void CDlgRndrRes::OnInitDialogEx() {
    // The screen size is only shown: typing starts in the picture's width.
    m_widthEdit->SetFocus();
    m_widthEdit->SelectAll();
    const double ratio = AspectRatio(m_screenWidth, m_screenHeight);
    if (ratio != 0.0) {
        m_renderHeight = ClampToInt(std::trunc(m_renderWidth / ratio));
        ShowDerived(*m_heightEdit, m_renderHeight);
    }
}

void CDlgRndrRes::OnWidthChanged() {
    if (m_guard || !IsInitialised()) {
        return;
    }
    m_renderWidth = LeadingInt(TypedText(*m_widthEdit));
    const double ratio = AspectRatio(m_screenWidth, m_screenHeight);
    if (ratio != 0.0) {
        m_renderHeight = ClampToInt(std::floor(m_renderWidth / ratio + 0.5));
        ShowDerived(*m_heightEdit, m_renderHeight);
    }
}

void CDlgRndrRes::OnHeightChanged() {
    if (m_guard || !IsInitialised()) {
        return;
    }
    m_renderHeight = LeadingInt(TypedText(*m_heightEdit));
    const double ratio = AspectRatio(m_screenWidth, m_screenHeight);
    if (ratio != 0.0) {
        m_renderWidth = ClampToInt(std::floor(m_renderHeight * ratio + 0.5));
        ShowDerived(*m_widthEdit, m_renderWidth);
    }
}

void CDlgRndrRes::ShowDerived(wxTextCtrl& edit, int value) {
    m_guard = true;
    edit.SetValue(std::to_string(value));
    m_guard = false;
}

bool CDlgRndrRes::TransferDataFromWindow() {
    if (!CDialogEx::TransferDataFromWindow()) {
        return false;
    }
    WriteProfileInt(m_section, kWidthEntry, m_renderWidth);
    WriteProfileInt(m_section, kHeightEntry, m_renderHeight);
    return true;
}
