// Dialog 211 "Renderingauflösung zum Druck": before the 3D view is printed, the user chooses the
// fraction of the printer's resolution at which the picture is rendered (1/1 to 1/4), seeing the
// resolution, the picture's pixels and the megabytes each step costs. The step of at most 16 MB
// is chosen at the start. The dialog has OK only; Escape and the close box leave the divisor as
// it is (1 unless a step was taken with OK).
#pragma once

#include <cstdint>
#include <string>

#include <wx/dialog.h>

class wxListView;

class CDlgPrntRes : public wxDialog {
public:
    // The list's control id, the system's own number.
    enum : int { IdList = 1125 };

    // Printer pixels per inch, the picture's size in printer pixels and the bytes it takes to
    // render at full size.
    CDlgPrntRes(int ppiX, int ppiY, int pictureWidth, int pictureHeight, int64_t byteEstimate,
                wxWindow* parent);

    // The divisor chosen: 1 at the start.
    int GetDivisor() const { return m_divisor; }

    // The row of divisor d: step, dots per inch, pixels and megabytes (whole megabytes of the
    // full picture rounded up, then divided by d²).
    static std::string RowText(int d, int ppiX, int ppiY, int pictureWidth, int pictureHeight,
                               int64_t byteEstimate);
    // The divisor offered first: the first whose picture takes at most 16 MB, else 4.
    static int FirstAffordableDivisor(int64_t byteEstimate);

    // OK: the divisor of the selected row. With no row selected the user is told so (4096), the
    // divisor is 1 again and the dialog stays open (false).
    bool TransferDataFromWindow() override;

private:
    void OnCharHook(wxKeyEvent& event);

    wxListView* m_list = nullptr;
    int m_divisor = 1;
};
