// The printed 3D view: one page with the view's picture inside the application's margins,
// rendered off-screen at a fraction of the printer's resolution that the user chooses, then
// stretched onto the page; the preview also shows the margins and the printable area.
#pragma once

#include <memory>
#include <optional>

#include <wx/bitmap.h>
#include <wx/print.h>
#include <wx/weakref.h>

#include "app/view/PrintLayout.h"

class CDIB;
class CZarnelView;

class CZarnelPrintout : public wxPrintout {
public:
    // The view is watched: a view closed while its preview is open leaves pages without picture.
    explicit CZarnelPrintout(CZarnelView& view);
    ~CZarnelPrintout() override;

    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* selectionFrom, int* selectionTo) override;
    // Asks for the resolution and renders the picture for the page that the printout was given
    // (printer resolution, printable area and paper). A preview calls it before it shows its
    // first page: the dialog must not run while the preview renders a page, because a repaint
    // of the preview window during the dialog makes the toolkit copy the page bitmap, and the
    // picture would then be drawn into a copy that is thrown away (a blank page).
    void PreparePicture();
    // Draws the picture and, in a preview, the margins; the first call prepares the picture
    // when nobody did (printing). Every call (the preview draws a page again at each zoom)
    // draws the same picture. False, which ends a print job, when there is no picture to print
    // (the render failed and has told the user why).
    bool OnPrintPage(int page) override;

    // The printer's page as the printout's DC and printer data give it.
    SPrintPage GetPrintPage() const;
    // The divisor chosen and the picture rendered, once the first page was drawn.
    int GetDivisor() const { return m_divisor; }
    const wxBitmap* GetPicture() const { return m_picture ? &*m_picture : nullptr; }

    // The rendered pixels as an image, top row first.
    static wxImage ImageFromBitmap(const CDIB& bitmap);

private:
    wxWeakRef<CZarnelView> m_view;
    bool m_prepared = false;
    SPrintPage m_page;
    SPrintLayout m_layout;
    int m_divisor = 1;
    std::optional<wxBitmap> m_picture;
};
