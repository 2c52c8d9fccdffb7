// The OpenGL window of a 3D view: a GLX canvas that fills the view's child frame and hands its
// paint and size events to the view. The view owns the GL context; the frame owns this window.
#pragma once

#include <optional>

#include <wx/glcanvas.h>

class CZarnelView;

class CZarnelGlCanvas : public wxGLCanvas {
public:
    // The display attributes of the window's pixel format: RGBA, double-buffered, 24 colour
    // bits and the deepest depth buffer of 32, 24 and 16 bits that the display offers; nothing
    // when it offers none of them.
    static std::optional<wxGLAttributes> ChoosePixelFormat();

    CZarnelGlCanvas(wxWindow* parent, const wxGLAttributes& attributes, CZarnelView* view);
    ~CZarnelGlCanvas() override;

    // The view goes before the window when the view is closed: the window then paints nothing.
    void DetachView() { m_view = nullptr; }

    // The client area in pixels of the framebuffer (client size times the content scale).
    wxSize GetClientPixels() const;
    double GetPixelScale() const;

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnEraseBackground(wxEraseEvent& event);

    CZarnelView* m_view;
};
