// Printing the 3D view.
#include "app/view/ZarnelPrintout.h"

#include <wx/dc.h>
#include <wx/image.h>

#include "app/dialogs/DlgPrntRes.h"
#include "app/view/ZarnelView.h"
#include "support/DIB.h"

CZarnelPrintout::CZarnelPrintout(CZarnelView& view)
    : wxPrintout(view.GetFrame() != nullptr ? view.GetFrame()->GetLabel() : wxString()),
      m_view(&view) {}

CZarnelPrintout::~CZarnelPrintout() = default;

void CZarnelPrintout::GetPageInfo(int* minPage, int* maxPage, int* selectionFrom,
                                  int* selectionTo) {
    *minPage = 1;
    *maxPage = 1;
    *selectionFrom = 1;
    *selectionTo = 1;
}

SPrintPage CZarnelPrintout::GetPrintPage() const {
    SPrintPage page;
    GetPPIPrinter(&page.ppiX, &page.ppiY);
    GetPageSizePixels(&page.printableWidth, &page.printableHeight);
    // The paper as seen from the printable area's corner: its origin lies up and left of it.
    const wxRect paper = GetPaperRectPixels();
    page.paperWidth = paper.width;
    page.paperHeight = paper.height;
    page.offsetX = -paper.x;
    page.offsetY = -paper.y;
    return page;
}

wxImage CZarnelPrintout::ImageFromBitmap(const CDIB& bitmap) {
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    wxImage image(width, height, false);
    if (!image.IsOk()) {
        return image;
    }
    unsigned char* rgb = image.GetData();
    const int bitCount = bitmap.GetBitCount();
    for (int y = 0; y < height; ++y) {
        // Bitmap rows are stored bottom first.
        const int row = height - 1 - y;
        unsigned char* target = rgb + static_cast<size_t>(y) * width * 3;
        if (bitCount == 24 || bitCount == 32) {
            const size_t step = static_cast<size_t>(bitCount / 8);
            const uint8_t* source =
                bitmap.GetBits() + static_cast<size_t>(row) * bitmap.GetStride();
            for (int x = 0; x < width; ++x) {
                target[0] = source[2];
                target[1] = source[1];
                target[2] = source[0];
                target += 3;
                source += step;
            }
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = bitmap.GetPixel(x, row);
            target[0] = static_cast<unsigned char>(colour >> 16);
            target[1] = static_cast<unsigned char>(colour >> 8);
            target[2] = static_cast<unsigned char>(colour);
            target += 3;
        }
    }
    return image;
}

void CZarnelPrintout::PreparePicture() {
    if (m_prepared) {
        return;
    }
    m_prepared = true;
    CZarnelView* view = m_view.get();
    if (view == nullptr) {
        return;
    }
    m_page = GetPrintPage();
    const SPrintMargins margins = CZarnelView::GetAppOptions().printMargins;
    m_layout =
        ComputePrintLayout(m_page, {margins.left, margins.top, margins.right, margins.bottom},
                           view->GetViewport().width, view->GetViewport().height);
    if (m_layout.pictureWidth <= 0 || m_layout.pictureHeight <= 0) {
        return;
    }
    // Whatever closes the dialog, its divisor holds (1 unless a row was chosen).
    CDlgPrntRes dialog(m_page.ppiX, m_page.ppiY, m_layout.pictureWidth, m_layout.pictureHeight,
                       m_layout.ByteEstimate(), nullptr);
    dialog.ShowModal();
    m_divisor = dialog.GetDivisor() > 0 ? dialog.GetDivisor() : 1;
    std::unique_ptr<CDIB> bitmap =
        view->RenderToBitmap(m_layout.pictureWidth / m_divisor, m_layout.pictureHeight / m_divisor);
    if (!bitmap) {
        return;
    }
    wxImage image = ImageFromBitmap(*bitmap);
    bitmap.reset();
    if (image.IsOk()) {
        m_picture.emplace(image);
    }
}

bool CZarnelPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (dc == nullptr || page != 1) {
        return false;
    }
    PreparePicture();
    if (!m_picture || !m_picture->IsOk()) {
        // The render failed and has said why: a page without its picture is not printed, and
        // the job ends here.
        return false;
    }
    // Logical units are printer pixels from here on, counted from the paper's corner.
    MapScreenSizeToDevice();
    dc->SetLogicalOrigin(m_page.offsetX, m_page.offsetY);

    // The picture stretched by the divisor: scaled from its own pixels at the margin corner.
    double scaleX = 1.0;
    double scaleY = 1.0;
    dc->GetUserScale(&scaleX, &scaleY);
    const wxPoint corner(dc->LogicalToDeviceX(m_layout.left), dc->LogicalToDeviceY(m_layout.top));
    dc->SetUserScale(scaleX * m_divisor, scaleY * m_divisor);
    dc->SetLogicalOrigin(0, 0);
    dc->SetDeviceOrigin(corner.x, corner.y);
    dc->DrawBitmap(*m_picture, 0, 0);
    MapScreenSizeToDevice();
    dc->SetLogicalOrigin(m_page.offsetX, m_page.offsetY);

    if (IsPreview()) {
        // The margins and the printable area, each as a closed line from its top left corner.
        dc->SetPen(*wxBLACK_PEN);
        const wxPoint margin[5] = {{m_layout.left, m_layout.top},
                                   {m_layout.right, m_layout.top},
                                   {m_layout.right, m_layout.bottom},
                                   {m_layout.left, m_layout.bottom},
                                   {m_layout.left, m_layout.top}};
        dc->DrawLines(5, margin);
        const int right = m_page.offsetX + m_page.printableWidth;
        const int bottom = m_page.offsetY + m_page.printableHeight;
        const wxPoint printable[5] = {{m_page.offsetX, m_page.offsetY},
                                      {right, m_page.offsetY},
                                      {right, bottom},
                                      {m_page.offsetX, bottom},
                                      {m_page.offsetX, m_page.offsetY}};
        dc->DrawLines(5, printable);
    }
    return true;
}
