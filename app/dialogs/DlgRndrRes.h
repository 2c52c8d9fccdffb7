// Dialog 206 "Bildauflösung": the size in pixels of a picture rendered off-screen. It shows the
// 3D view's size (read-only) and keeps the picture in the view's aspect: typing a width derives
// the height and the other way round. The size is kept in a profile section between runs.
#pragma once

#include <string>

#include "app/dialogs/DialogEx.h"

class wxTextCtrl;

class CDlgRndrRes : public CDialogEx {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdScreenWidth = 1044,
        IdScreenHeight = 1045,
        IdRenderWidth = 1046,
        IdRenderHeight = 1047,
    };
    // The sizes a picture may have, in pixels on each side.
    static constexpr int kMinSide = 1;
    static constexpr int kMaxSide = 20000;

    // The render size starts as the profile's "rndrWdth" and "rndrHght" in section (1024 x 768
    // when missing); the screen size as 1 x 1 until the caller sets it.
    CDlgRndrRes(const std::string& section, wxWindow* parent);

    // The 3D view's size in pixels; before the dialog is shown.
    void SetScreenSize(int width, int height);
    // The picture's size; after OK, as the user confirmed it.
    int GetRenderWidth() const { return m_renderWidth; }
    int GetRenderHeight() const { return m_renderHeight; }

    // Width over height of the screen; 0 when either is 0 or less (then nothing is derived).
    static double AspectRatio(int screenWidth, int screenHeight);

    // OK: every field exchanged and checked (a refused field keeps the dialog open with its
    // message); the render size is then written into the profile section.
    bool TransferDataFromWindow() override;

protected:
    void DoDataExchangeEx(CDataExchange& dx, const void* field) override;
    // Derives the height from the width shown (cut towards zero).
    void OnInitDialogEx() override;

private:
    void CreateControls();
    void OnWidthChanged();
    void OnHeightChanged();
    // Shows value in the other size's edit without its handler deriving anything back.
    void ShowDerived(wxTextCtrl& edit, int value);

    bool m_guard = false; // set while one size edit is rewritten for the other's change
    std::string m_section;
    wxTextCtrl* m_widthEdit = nullptr;
    wxTextCtrl* m_heightEdit = nullptr;
    int m_screenHeight = 1;
    int m_screenWidth = 1;
    int m_renderHeight = 0;
    int m_renderWidth = 0;
};
