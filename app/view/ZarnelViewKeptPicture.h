// The 3D view's last picture, kept in a framebuffer object of the view's context, so that a
// paint that has nothing new to show (the toolkit repainting the window around it, a window
// uncovered) copies it back instead of drawing the whole design again.
#pragma once

#include <GL/gl.h>

class CKeptPicture {
public:
    // Copies the back buffer of the current context, width x height pixels from its lower left,
    // into the kept picture. False (nothing kept) when the context has no framebuffer objects or
    // the copy fails; the view then draws every paint anew.
    bool Keep(int width, int height);
    // Copies the kept picture into the back buffer; false when none of this size is kept.
    bool Show(int width, int height) const;
    // The kept picture no longer shows what the window should: the next paint draws anew.
    void Forget() { m_kept = false; }
    // The context that held the picture is gone (its objects with it).
    void LoseContext();

private:
    GLuint m_framebuffer = 0;
    GLuint m_renderbuffer = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_kept = false;
};
