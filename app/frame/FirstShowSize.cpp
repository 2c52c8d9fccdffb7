// Sizing new top-level windows.
#include "app/frame/FirstShowSize.h"

#include <wx/display.h>
#include <wx/toplevel.h>

void SizeBeforeFirstShow(wxTopLevelWindow& window) {
    const wxRect workArea = wxDisplay(&window).GetClientArea();
    window.SetClientSize(workArea.width * 2 / 3, workArea.height * 2 / 3);
    window.Centre(wxBOTH);
}
