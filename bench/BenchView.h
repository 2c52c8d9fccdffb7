// What the benchmarks of the 3D view share: the square field of play towers (BenchDesign) seen
// whole by a camera, the view's picture of it, and window points of world points. Everything
// runs in the benchmarks' headless context, whose viewport the caller sets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Cmra.h"
#include "support/Vector3.h"

#include "model/ElmntId.h"
#include "model/ToolMode.h"

class CMergedScene;
class CMeshCache;
class CRndrQult;
class CZarnelDcmt;

struct SBenchField {
    std::unique_ptr<CZarnelDcmt> dcmt;
    // Sees every element of the field, from the front and a little above, as close as that
    // allows: the view a user takes of the whole design.
    CCmra camera;
    std::size_t elements = 0;
    int width = 0; // pixels
    int height = 0;
    // The tessellations the field's pictures and picks keep, as the view keeps its own.
    std::unique_ptr<CMeshCache> meshes;

    SBenchField();
    ~SBenchField();
};

// The field of about target elements for a picture of width x height pixels; nullptr with the
// reason in error.
std::unique_ptr<SBenchField> BuildBenchField(int target, int width, int height, std::string& error);
// The field of a design built otherwise, seen whole in the same way.
std::unique_ptr<SBenchField> ShowBenchField(std::unique_ptr<CZarnelDcmt> dcmt, int width,
                                            int height);

// The quality profile in force in the benchmarks: the profile defaults.
const CRndrQult& BenchQuality();

// The view's picture of the field in the tool mode, into the current framebuffer and a
// viewport of the field's size: through merged (kept from picture to picture) or, without it,
// element by element.
void DrawBenchPicture(const SBenchField& field, CMergedScene* merged,
                      ToolMode toolMode = ToolMode::Select);

// The window point (x, y pixels from the lower left; z the window depth) of a world point (mm)
// through the field's camera; false outside the picture.
bool WindowPoint(const SBenchField& field, const CVector3& point, std::array<double, 3>& window);

// What a click on the field must find: the tube whose middle shows at the pixel (the nearest
// surface there is the tube's) nearest to the picture's centre, and that pixel. Draws the
// picture element by element to find it. An invalid element when none shows.
struct SBenchTarget {
    ElmntId element;
    int x = 0;
    int y = 0;
};
SBenchTarget FindShownTube(const SBenchField& field);

// The colour buffer of the field's size, RGBA bottom row first.
std::vector<uint8_t> ReadPicture(const SBenchField& field);
// The share of the pixels of picture that are not white, and of those that differ from
// reference by more than 2 in a channel.
double CoveredShare(const std::vector<uint8_t>& picture);
double DifferentShare(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& reference);
