// The 3D view's OpenGL window.
#include "app/view/ZarnelGlCanvas.h"

#include <cmath>

#include <wx/dcclient.h>

#include "app/view/ZarnelView.h"

std::optional<wxGLAttributes> CZarnelGlCanvas::ChoosePixelFormat() {
    for (int depth : {32, 24, 16}) {
        wxGLAttributes attributes;
        attributes.PlatformDefaults()
            .RGBA()
            .DoubleBuffer()
            .MinRGBA(8, 8, 8, 0)
            .Depth(depth)
            .EndList();
        if (wxGLCanvas::IsDisplaySupported(attributes)) {
            return attributes;
        }
    }
    return std::nullopt;
}

CZarnelGlCanvas::CZarnelGlCanvas(wxWindow* parent, const wxGLAttributes& attributes,
                                 CZarnelView* view)
    : wxGLCanvas(parent, attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      m_view(view) {
    // The picture covers the whole window: nothing to erase first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CZarnelGlCanvas::OnPaint, this);
    Bind(wxEVT_SIZE, &CZarnelGlCanvas::OnSize, this);
    Bind(wxEVT_ERASE_BACKGROUND, &CZarnelGlCanvas::OnEraseBackground, this);
}

CZarnelGlCanvas::~CZarnelGlCanvas() {
    if (m_view != nullptr) {
        m_view->OnCanvasDestroyed();
    }
}

double CZarnelGlCanvas::GetPixelScale() const {
    return GetContentScaleFactor();
}

wxSize CZarnelGlCanvas::GetClientPixels() const {
    const wxSize size = GetClientSize();
    const double scale = GetPixelScale();
    return wxSize(static_cast<int>(std::lround(size.x * scale)),
                  static_cast<int>(std::lround(size.y * scale)));
}

void CZarnelGlCanvas::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_view != nullptr) {
        m_view->OnDraw(&dc);
    }
}

void CZarnelGlCanvas::OnSize(wxSizeEvent& event) {
    if (m_view != nullptr) {
        m_view->OnSize();
    }
    event.Skip();
}

void CZarnelGlCanvas::OnEraseBackground(wxEraseEvent&) {}
