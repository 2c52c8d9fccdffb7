// Pictures of any size without a window: a framebuffer object in the GL context that is current,
// drawn tile by tile when the picture is larger than a renderbuffer may be, each tile read back
// into one device-independent bitmap. Printing and image export render the 3D view through it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CDIB;

// One tile of the picture, pixels counted from the picture's lower left corner. The drawing
// of a tile sets its own viewport (0, 0, width, height) and loads ProjectionPrefix() into the
// projection before the camera's projection.
struct SOffscreenTile {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int fullWidth = 0;
    int fullHeight = 0;

    std::array<double, 16> ProjectionPrefix() const;
};

// How a picture is rendered. The defaults serve every caller but tests.
struct SOffscreenOptions {
    // Tiles are at most this many pixels on a side; 0: the largest renderbuffer the context
    // allows, bounded to keep the read-back buffer small.
    int maxTileSide = 0;
    // Bytes of memory free for the picture; unset: what the system reports as available.
    std::optional<uint64_t> availableBytes;
};

// Bytes a picture of width x height takes while it is rendered in tiles of the given size: the
// bitmap at the screen's depth (4 bytes a pixel), the tile read back from the framebuffer, and
// the framebuffer's colour and depth (held in system memory by a software renderer).
uint64_t OffscreenMemoryNeed(int width, int height, int tileWidth, int tileHeight);
// Memory the system has available for a new allocation, in bytes; unset when it does not say.
std::optional<uint64_t> AvailableMemory();

// Renders a picture of width x height pixels into a new bitmap at the screen's depth (filled
// white where nothing is drawn): draws every tile through drawTile into a framebuffer object of
// the current context and reads it back. The framebuffer and viewport bindings are as before
// on return.
//
// nullptr when the picture cannot be made, after the user was told what failed: a size outside
// 1 to CDIB::kMaxSide, no current context, no framebuffer objects, less memory available than
// the picture needs (refused before any is taken) or an allocation that fails, a framebuffer
// that the implementation refuses or that the drawing left incomplete, or a GL error. A picture
// is never handed back blank or in part.
std::unique_ptr<CDIB> RenderOffscreen(int width, int height,
                                      const std::function<void(const SOffscreenTile&)>& drawTile,
                                      const SOffscreenOptions& options = {});
