// The 3D view's kept picture: copies between the window's back buffer and a framebuffer object.
// The framebuffer entry points are declared only when asked for before gl.h is first read.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include "app/view/ZarnelViewKeptPicture.h"

namespace {

// Copies width x height pixels from the lower left of one framebuffer into another; the scissor
// test (the only state besides the bindings that limits a copy) is off meanwhile. True when GL
// reported no error.
bool Copy(GLuint from, GLuint to, int width, int height) {
    GLint readBefore = 0;
    GLint drawBefore = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBefore);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawBefore);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    while (glGetError() != GL_NO_ERROR) {
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    if (from == 0) {
        glReadBuffer(GL_BACK);
    }
    if (to == 0) {
        glDrawBuffer(GL_BACK);
    }
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    const bool copied = glGetError() == GL_NO_ERROR;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBefore));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawBefore));
    if (scissor) {
        glEnable(GL_SCISSOR_TEST);
    }
    return copied;
}

} // namespace

bool CKeptPicture::Keep(int width, int height) {
    m_kept = false;
    if (width <= 0 || height <= 0) {
        return false;
    }
    if (m_framebuffer == 0) {
        glGenFramebuffers(1, &m_framebuffer);
        glGenRenderbuffers(1, &m_renderbuffer);
        if (m_framebuffer == 0 || m_renderbuffer == 0) {
            return false;
        }
    }
    if (width != m_width || height != m_height) {
        GLint before = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &before);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_framebuffer);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  m_renderbuffer);
        const bool complete =
            glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(before));
        if (!complete) {
            m_width = 0;
            m_height = 0;
            return false;
        }
        m_width = width;
        m_height = height;
    }
    m_kept = Copy(0, m_framebuffer, width, height);
    return m_kept;
}

bool CKeptPicture::Show(int width, int height) const {
    if (!m_kept || width != m_width || height != m_height) {
        return false;
    }
    return Copy(m_framebuffer, 0, width, height);
}

void CKeptPicture::LoseContext() {
    m_framebuffer = 0;
    m_renderbuffer = 0;
    m_width = 0;
    m_height = 0;
    m_kept = false;
}
