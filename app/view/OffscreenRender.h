// Pictures of any size without a window: a framebuffer object in the GL context that is current,
// drawn tile by tile when the picture is larger than a renderbuffer may be, each tile read back
// into one device-independent bitmap. Printing and image export render the 3D view through it.
#pragma once

#include <array>
#include <functional>
#include <memory>

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

// Renders a picture of width x height pixels into a new bitmap at the screen's depth (filled
// white where nothing is drawn): draws every tile through drawTile into a framebuffer object of
// the current context and reads it back. Tiles are at most maxTileSide pixels on a side (0: the
// largest renderbuffer the context allows, bounded to keep the read-back buffer small). The
// framebuffer and viewport bindings are as before on return.
//
// nullptr when the picture cannot be made, after the user was told: no current context or no
// framebuffer objects (message 4196), a framebuffer that the implementation refuses or a GL
// error while drawing (4197), a size outside 1 to CDIB::kMaxSide, or no memory for the bitmap
// (reported by the bitmap).
std::unique_ptr<CDIB> RenderOffscreen(int width, int height,
                                      const std::function<void(const SOffscreenTile&)>& drawTile,
                                      int maxTileSide = 0);
