// The wx side of the command table: menu bars, the thirteen toolbars, the accelerator table and
// the command pictures, all built from CommandTable.h.
#pragma once

#include <cstdint>
#include <memory>

#include <wx/accel.h>
#include <wx/aui/auibar.h>
#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/menu.h>

#include "app/frame/CommandTable.h"

// The picture of a command (the bitmap resource with its number), magenta transparent; an
// invalid bitmap when it has none.
wxBitmap CommandBitmap(uint32_t command);

// The bitmap resource id as the user's language finds it; an invalid image when it is missing.
wxImage ResourceImage(uint32_t id);

// A Windows BMP without its file header (as resources keep bitmaps) as an image; an invalid
// image when the bytes are not a bitmap that wx can read.
wxImage ImageFromDib(const unsigned char* dib, uint32_t size);

// Menu 100, 101 or 102 with every item: German labels with their shortcuts, the prompt of each
// command as its help text, check items for checkable commands, pictures where the command has
// one. The recent-file list is one disabled "Letzte Datei" item (wxID_FILE1) until files are
// added. nullptr for another menu number.
wxMenuBar* BuildMenuBar(uint32_t menuId);

// The main frame's accelerators: table 100, and the shortcuts that the menus show but the
// table lacks, so that every shortcut a menu shows also works.
wxAcceleratorTable BuildAcceleratorTable();

// A toolbar of the main frame. It shows a hovered button's prompt in the frame's status bar
// (and the idle text again when the mouse leaves), as menu items do.
class CCmdToolBar : public wxAuiToolBar {
public:
    CCmdToolBar(wxWindow* parent, const SToolbarInfo& info);

    const SToolbarInfo& GetInfo() const { return m_info; }
    // Buttons, separators not counted.
    int GetButtonCount() const;

private:
    void OnMotion(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void ShowPrompt(int toolId);

    SToolbarInfo m_info;
    int m_promptTool = wxID_NONE; // the tool whose prompt the status bar shows
};
