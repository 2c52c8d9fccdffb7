// Off-screen pictures through a framebuffer object, in tiles.
#include "app/view/OffscreenRender.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include "app/view/SceneDraw.h"
#include "support/DIB.h"
#include "support/DIBDC.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/UserInterface.h"

namespace {

// What failed, told to the user before nothing is handed back. Texts with sizes take the
// picture's width and height first.
constexpr uint32_t kSizeOutOfRange = 4307; // width, height, largest side
constexpr uint32_t kNoCurrentContext = 4300;
constexpr uint32_t kNoFramebufferObjects = 4302;
constexpr uint32_t kFramebufferIncomplete = 4303; // width, height, status
constexpr uint32_t kGlError = 4304;               // error code
constexpr uint32_t kTooLittleMemory = 4305;       // width, height, megabytes needed, free
constexpr uint32_t kOutOfMemory = 4306;           // width, height
constexpr uint32_t kBitmapTooLarge = 4309;        // width, height, largest bitmap in megabytes

// Tiles larger than this gain nothing and cost read-back memory (4096² pixels are 64 MB).
constexpr int kLargestTile = 4096;
// The bitmap is made at the screen's depth, which is kept as 32 bits. Bytes a pixel takes in
// the read-back buffer (blue, green, red, unused) and in the framebuffer's colour (RGBA8) and
// depth (24 bits, stored in 32).
constexpr int kBitmapBits = 32;
constexpr uint64_t kReadBackPixelBytes = 4;
constexpr uint64_t kFramebufferPixelBytes = 8;
constexpr uint64_t kMegabyte = 1048576;
// A context keeps at most a few errors; more calls than this would mean it is gone.
constexpr int kMaxPendingErrors = 64;

template <typename... Args> void Report(uint32_t text, const Args&... args) {
    std::string shown;
    FormatChecked(LoadLangText(text), std::vector<FormatArg>{MakeFormatArg(args)...},
                  kMessageFmtMaxLength, shown);
    ShowMessage(shown, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// Framebuffer objects belong to OpenGL 3.0 and to two extensions before it.
bool HasFramebufferObjects() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) {
        return false;
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
        m_status = m_framebuffer != 0 ? glCheckFramebufferStatus(GL_FRAMEBUFFER) : 0;
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

    // GL_FRAMEBUFFER_COMPLETE when the framebuffer can be drawn into, else why not.
    GLenum GetStatus() const { return m_status; }
    // The status after drawing: the drawing may have bound another framebuffer or changed this
    // one; anything but this framebuffer, complete, is a failure.
    GLenum CheckStillBound() const {
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
        if (status == GL_FRAMEBUFFER_COMPLETE && static_cast<GLuint>(bound) != m_framebuffer) {
            return GL_FRAMEBUFFER_UNDEFINED;
        }
        return status;
    }

private:
    GLint m_previousFramebuffer = 0;
    GLint m_previousRenderbuffer = 0;
    GLint m_previousViewport[4] = {0, 0, 0, 0};
    GLuint m_framebuffer = 0;
    GLuint m_renderbuffers[2] = {0, 0};
    GLenum m_status = 0;
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

uint64_t OffscreenMemoryNeed(int width, int height, int tileWidth, int tileHeight) {
    const uint64_t bitmap =
        CDIB::Stride(kBitmapBits, width) * static_cast<uint64_t>(std::max(height, 0));
    const uint64_t tilePixels = static_cast<uint64_t>(std::max(tileWidth, 0)) *
                                static_cast<uint64_t>(std::max(tileHeight, 0));
    return bitmap + tilePixels * (kReadBackPixelBytes + kFramebufferPixelBytes);
}

std::optional<uint64_t> AvailableMemory() {
    // "MemAvailable:   12345678 kB": what can be allocated without swapping.
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        std::istringstream fields(line);
        std::string name;
        uint64_t kilobytes = 0;
        if (fields >> name >> kilobytes && name == "MemAvailable:") {
            return kilobytes * 1024;
        }
    }
    return std::nullopt;
}

std::unique_ptr<CDIB> RenderOffscreen(int width, int height,
                                      const std::function<void(const SOffscreenTile&)>& drawTile,
                                      const SOffscreenOptions& options) {
    if (width < 1 || height < 1 || width > CDIB::kMaxSide || height > CDIB::kMaxSide) {
        Report(kSizeOutOfRange, width, height, CDIB::kMaxSide);
        return nullptr;
    }
    if (glGetString(GL_VERSION) == nullptr) {
        Report(kNoCurrentContext);
        return nullptr;
    }
    if (!HasFramebufferObjects()) {
        Report(kNoFramebufferObjects);
        return nullptr;
    }
    for (int i = 0; i < kMaxPendingErrors && glGetError() != GL_NO_ERROR; ++i) {
        // Errors of earlier drawing are not this picture's.
    }
    const uint64_t bitmapBytes = CDIB::Stride(kBitmapBits, width) * static_cast<uint64_t>(height);
    if (bitmapBytes > CDIB::kMaxPixelBytes) {
        Report(kBitmapTooLarge, width, height,
               static_cast<long long>(CDIB::kMaxPixelBytes / kMegabyte));
        return nullptr;
    }
    const int tileSide = LargestTileSide(options.maxTileSide);
    if (tileSide < 1) {
        Report(kNoFramebufferObjects);
        return nullptr;
    }
    const int tileWidth = std::min(width, tileSide);
    const int tileHeight = std::min(height, tileSide);

    // A picture that cannot fit is refused before anything is allocated.
    const uint64_t need = OffscreenMemoryNeed(width, height, tileWidth, tileHeight);
    const std::optional<uint64_t> available =
        options.availableBytes ? options.availableBytes : AvailableMemory();
    if (available && need > *available) {
        Report(kTooLittleMemory, width, height,
               static_cast<long long>((need + kMegabyte - 1) / kMegabyte),
               static_cast<long long>(*available / kMegabyte));
        return nullptr;
    }

    auto bitmap = std::make_unique<CDIB>();
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(static_cast<size_t>(tileWidth) * tileHeight * kReadBackPixelBytes);
    } catch (const std::bad_alloc&) {
        Report(kOutOfMemory, width, height);
        return nullptr;
    }
    if (!bitmap->CreateSection(width, height, 0, 0xFFFFFF)) {
        // The bitmap has told why: no memory.
        return nullptr;
    }

    CTileFramebuffer framebuffer(tileWidth, tileHeight);
    if (framebuffer.GetStatus() != GL_FRAMEBUFFER_COMPLETE) {
        Report(kFramebufferIncomplete, tileWidth, tileHeight, framebuffer.GetStatus());
        return nullptr;
    }
    if (const GLenum error = glGetError(); error != GL_NO_ERROR) {
        Report(kGlError, error);
        return nullptr;
    }

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
            if (const GLenum status = framebuffer.CheckStillBound();
                status != GL_FRAMEBUFFER_COMPLETE) {
                Report(kFramebufferIncomplete, tileWidth, tileHeight, status);
                return nullptr;
            }
            glReadPixels(0, 0, tile.width, tile.height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
            if (const GLenum error = glGetError(); error != GL_NO_ERROR) {
                Report(kGlError, error);
                return nullptr;
            }
            target.PutPixels(x, y, tile.width, tile.height, pixels.data(),
                             static_cast<size_t>(tile.width) * kReadBackPixelBytes);
        }
    }
    return bitmap;
}
