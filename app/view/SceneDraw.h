// The 3D view's picture without its window: the viewport inside the client area, the camera's
// projection and model-view matrices, the light, every element of the design through the element
// dispatcher, the translucent selection box and the green walk-height hatching. The window, the
// off-screen rendering, picking and the collision test all draw through these, with the GL
// context of their choice current.
#pragma once

#include <array>
#include <span>

#include "app/render/DrawFlags.h"
#include "app/render/ElmntDraw.h"
#include "app/view/WalkBox.h"
#include "model/ToolMode.h"
#include "support/Box3.h"

class CCmra;
class CRndrPass;
class CRndrQult;
class CMergedScene;
class CMeshCache;
class CZarnelDcmt;

// The GL viewport in the client area, pixels, counted from the bottom left.
struct SViewport {
    int left = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Top() const { return bottom + height; }
    friend bool operator==(const SViewport&, const SViewport&) = default;
};

// The viewport for a client area of the given size (pixels): the whole area in the screen
// picture format (or without a camera); otherwise the largest centred rectangle of the camera's
// aspect, its long side rounded to whole pixels.
SViewport ComputeViewport(int clientWidth, int clientHeight, const CCmra* camera);

// Distance in pixels from the window point (x, y) to the segment x1, y1, x2, y2 (window pixels):
// to the nearer end beyond either end, else perpendicular to the segment.
double SegmentDistance(const float segment[4], double x, double y);

namespace ViewScene {

// Loads the camera's model placement into the current matrix: model tilt about x, model turn
// about y, then the model offsets (camera values in cm and degrees, taken to whole mm). The
// caller selects the model-view matrix.
void SetModelTransform(const CCmra& camera);
// Multiplies the current matrix by the camera's projection: the eye offset (100 moves the
// picture by half the viewport), the perspective of the vertical field of view with the camera's
// aspect and clipping distances, the camera tilt and turn, then the camera position. The caller
// selects the projection matrix and loads the identity or a pick matrix first.
void SetProjection(const CCmra& camera);

// Light 0 as a white directional light from the upper left front, no global ambient light,
// both sides of surfaces lit, smooth shading; the colour comes from the materials.
void SetLight();

// Every element of the design's list, in list order, through the element dispatcher with the
// pass, the document's materials and current revision, the tool mode, the display flags and the
// view's part in the drawing (nullptr for none). The dispatcher skips what is not alive. A
// selection pass leaves out the elements whose drawing cannot reach the current view volume.
void DrawElements(const CZarnelDcmt& dcmt, const CRndrPass& pass, ToolMode toolMode,
                  DrawFlags drawFlags, const SDrawView* drawView);

// The selection box (mm): black edges just outside it, then its six faces half transparent,
// the far faces before the near ones. Leaves lighting, texturing, blending and culling off.
void DrawSelectionBox(const CBox3& box);
// Green hatching 26 mm above each box's height, lines every 25 mm from 25 mm outside the box.
void DrawWalkBoxes(std::span<const SWalkBox> boxes);

// Everything one picture of the view needs; all borrowed.
struct SScene {
    const CZarnelDcmt& dcmt;
    const CCmra& camera;
    const CRndrQult* quality; // nullptr draws as the coarsest profile
    ToolMode toolMode;
    DrawFlags drawFlags;
    const CBox3& selectionBox;
    std::span<const SWalkBox> walkBoxes;
    const SDrawView* drawView;      // nullptr: no two-click panel under way
    CMergedScene* merged = nullptr; // keeps the elements gathered between pictures, if given
    CMeshCache* meshes = nullptr;   // keeps the shapes tessellated between pictures, if given
};

// The whole picture into the current framebuffer and viewport, finished (glFinish): cleared to
// white, projection and model view of the camera, light 0, the elements in the draw pass, the
// selection box in the box-side modes and the walk-height hatching. projectionPrefix, when given,
// is loaded (column-major) before the projection in place of the identity, so that one tile of a
// larger picture is drawn.
void DrawScene(const SScene& scene, const std::array<double, 16>* projectionPrefix = nullptr);

// The matrix that makes the tile of tileWidth x tileHeight pixels whose lower left corner lies at
// (tileX, tileY) of a picture of fullWidth x fullHeight pixels fill the viewport.
std::array<double, 16> TileMatrix(int fullWidth, int fullHeight, int tileX, int tileY,
                                  int tileWidth, int tileHeight);

// A one-pixel black frame around the viewport, just outside it, drawn over the whole client
// area; the viewport is set back afterwards.
void DrawViewportFrame(const SViewport& viewport, int clientWidth, int clientHeight);

} // namespace ViewScene
