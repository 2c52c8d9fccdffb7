// The about box.
#include "app/frame/DlgInfo.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/frame/CommandBars.h"
#include "support/BitmapColors.h"

namespace {

constexpr uint32_t kPicture = 609;

} // namespace

CDlgInfo::CDlgInfo(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("Info über Zarnel")) {
    // Colour 7 of the picture is its background: shown in the dialog's face colour.
    SetBitmapBtnFace(kPicture);
    wxImage picture = ResourceImage(kPicture);

    auto* texts = new wxBoxSizer(wxVERTICAL);
    auto addText = [&](const char* text, bool bold) {
        auto* label = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(text));
        if (bold) {
            label->SetFont(label->GetFont().Bold());
        }
        texts->Add(label, 0, wxBOTTOM, 8);
    };
    addText("Zarnel Designprogramm, V1.3.0.0", true);
    addText("Copyright © Zarnel. Alle Rechte vorbehalten.", false);
    addText("Zarnel Spielgeräte und Möbelsysteme\nMusterstraße 1\n12345 Musterstadt", false);
    addText("Programm: das Zarnel-Entwicklerteam", false);

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    if (picture.IsOk()) {
        body->Add(new wxStaticBitmap(this, wxID_ANY, wxBitmap(picture)), 0, wxRIGHT, 16);
    }
    body->Add(texts, 1, wxEXPAND);

    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(ok);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(body, 1, wxEXPAND | wxALL, 12);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(top);
    CentreOnParent();
}
