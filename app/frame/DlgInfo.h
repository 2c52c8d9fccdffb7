// The about box, dialog 200 "Info über Zarnel": the program's name and version, the rights
// notice, the maker's address, the authors and picture 609 on the dialog's face colour.
#pragma once

#include <wx/dialog.h>

class CDlgInfo : public wxDialog {
public:
    explicit CDlgInfo(wxWindow* parent);
};
