// Off-screen pictures through a framebuffer object, in tiles.
#include "app/view/OffscreenRender.h"

#include <algorithm>
#include <string>
#include <vector>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include "app/view/SceneDraw.h"
#include "support/DIB.h"
#include "support/DIBDC.h"
#include "support/LangText.h"
#include "support/UserInterface.h"

namespace {

// "Die Grafikkarte und das installierte OpenGL unterstützt kein Bildformat, ..."
constexpr uint32_t kNoPixelFormat = 4196;
// "... Die Annahme des ausgewählten Formats wurde verweigert."
constexpr uint32_t kPixelFormatRefused = 4197;

// Tiles larger than this gain nothing and cost read-back memory (4096² pixels are 64 MB).
constexpr int kLargestTile = 4096;

void Report(uint32_t text) {
    ShowMessage(LoadLangText(text), {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// Framebuffer objects belong to OpenGL 3.0 and to two extensions before it.
bool HasFramebufferObjects() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) {
        return false; // no context is current
    }
    if (version[0] >= '3' && version[0] <= '9') {
        return true;
    }
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr) {
        return false;
    }
    const std::string list(extensions);
    return list.find("GL_ARB_framebuffer_object") != std::string::npos;
}

// A framebuffer with a colour and a depth renderbuffer, bound while it lives; the bindings
// before it are restored and its objects deleted when it goes.
class CTileFramebuffer {
public:
    CTileFramebuffer(int width, int height) {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &m_previousFramebuffer);
        glGetIntegerv(GL_RENDERBUFFER_BINDING, &m_previousRenderbuffer);
        glGetIntegerv(GL_VIEWPORT, m_previousViewport);
        glGenFramebuffers(1, &m_framebuffer);
        glGenRenderbuffers(2, m_renderbuffers);
        glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  m_renderbuffers[0]);
        glBindRenderbuffer(GL_RENDERBUFFER, m_renderbuffers[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  m_renderbuffers[1]);
        // Draw and read buffers are state of the bound framebuffer: the window's stay as they are.
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        m_complete = m_framebuffer != 0 &&
                     glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    ~CTileFramebuffer() {
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(m_previousFramebuffer));
        glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(m_previousRenderbuffer));
        glDeleteRenderbuffers(2, m_renderbuffers);
        glDeleteFramebuffers(1, &m_framebuffer);
        glViewport(m_previousViewport[0], m_previousViewport[1], m_previousViewport[2],
                   m_previousViewport[3]);
    }
    CTileFramebuffer(const CTileFramebuffer&) = delete;
    CTileFramebuffer& operator=(const CTileFramebuffer&) = delete;

    bool IsComplete() const { return m_complete; }

private:
    GLint m_previousFramebuffer = 0;
    GLint m_previousRenderbuffer = 0;
    GLint m_previousViewport[4] = {0, 0, 0, 0};
    GLuint m_framebuffer = 0;
    GLuint m_renderbuffers[2] = {0, 0};
    bool m_complete = false;
};

int LargestTileSide(int maxTileSide) {
    GLint renderbufferMax = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferMax);
    GLint viewportMax[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportMax);
    int side = std::min({kLargestTile, static_cast<int>(renderbufferMax),
                         static_cast<int>(viewportMax[0]), static_cast<int>(viewportMax[1])});
    if (maxTileSide > 0) {
        side = std::min(side, maxTileSide);
    }
    return side;
}

} // namespace

std::array<double, 16> SOffscreenTile::ProjectionPrefix() const {
    return ViewScene::TileMatrix(fullWidth, fullHeight, x, y, width, height);
}

std::unique_ptr<CDIB> RenderOffscreen(int width, int height,
                                      const std::function<void(const SOffscreenTile&)>& drawTile,
                                      int maxTileSide) {
    if (width < 1 || height < 1 || width > CDIB::kMaxSide || height > CDIB::kMaxSide) {
        return nullptr;
    }
    if (!HasFramebufferObjects()) {
        Report(kNoPixelFormat);
        return nullptr;
    }
    while (glGetError() != GL_NO_ERROR) {
        // Errors of earlier drawing are not this picture's.
    }
    const int tileSide = LargestTileSide(maxTileSide);
    if (tileSide < 1) {
        Report(kNoPixelFormat);
        return nullptr;
    }
    auto bitmap = std::make_unique<CDIB>();
    if (!bitmap->CreateSection(width, height, 0, 0xFFFFFF)) {
        return nullptr;
    }
    const int tileWidth = std::min(width, tileSide);
    const int tileHeight = std::min(height, tileSide);
    CTileFramebuffer framebuffer(tileWidth, tileHeight);
    if (!framebuffer.IsComplete() || glGetError() != GL_NO_ERROR) {
        Report(kPixelFormatRefused);
        return nullptr;
    }

    std::vector<uint8_t> pixels(static_cast<size_t>(tileWidth) * tileHeight * 4);
    CDIBDC target(*bitmap);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    for (int y = 0; y < height; y += tileHeight) {
        for (int x = 0; x < width; x += tileWidth) {
            SOffscreenTile tile;
            tile.x = x;
            tile.y = y;
            tile.width = std::min(tileWidth, width - x);
            tile.height = std::min(tileHeight, height - y);
            tile.fullWidth = width;
            tile.fullHeight = height;
            glViewport(0, 0, tile.width, tile.height);
            drawTile(tile);
            glReadPixels(0, 0, tile.width, tile.height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
            if (glGetError() != GL_NO_ERROR) {
                Report(kPixelFormatRefused);
                return nullptr;
            }
            target.PutPixels(x, y, tile.width, tile.height, pixels.data(),
                             static_cast<size_t>(tile.width) * 4);
        }
    }
    return bitmap;
}
