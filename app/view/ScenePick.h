// What lies under a point of the 3D view: the element hit by a GL selection pass (picking), and
// the free connection axis nearest to the point in a GL feedback pass of the axes (placing).
// Both draw the design through the element dispatcher, with the current GL context, its
// viewport and a camera; both return identities, never pointers. The hit records and the
// feedback buffer are read by bounds-checked walkers that are open for tests.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "app/render/DrawFlags.h"
#include "app/render/ElmntDraw.h"
#include "model/ElmntId.h"
#include "model/ToolMode.h"

class CCmra;
class CRndrQult;
class CZarnelDcmt;

// The selection buffer (entries) and the feedback buffer (floats) double on each overflow; a
// doubling that would pass this ends the operation.
inline constexpr int kPickBufferLimit = 0x400000;
// Pick box sizes in pixels, the smallest first: an element hit by a smaller box wins.
inline constexpr std::array<int, 8> kPickBoxSizes = {1, 3, 5, 7, 9, 11, 13, 15};
// Axes farther from the point than this (pixels) are not placed on.
inline constexpr double kPlaceMaxDistance = 10.0;

// What a pass draws; all borrowed for the call.
struct SPickScene {
    const CZarnelDcmt& dcmt;
    const CCmra& camera;
    const CRndrQult* quality; // nullptr: the coarsest profile
    ToolMode toolMode;
    DrawFlags drawFlags;
    const SDrawView* drawView;    // nullptr: no two-click panel under way
    CMeshCache* meshes = nullptr; // keeps the shapes tessellated between passes, if given
};

// ---- Picking ------------------------------------------------------------------------------

// The record chosen among the hit records of one selection pass.
struct SHitChoice {
    uint32_t element = 0; // the record's first name; 0 names nothing
    int sub = -1;         // the second name of a record with exactly two names, else -1
    uint32_t minDepth = 0;
};

// Walks hitCount records of a selection buffer (name count, minimum and maximum depth, names)
// and takes the one with the smallest minimum depth; on equal depths the later record. Records
// that would run past the buffer are not read. Nothing without a whole record.
std::optional<SHitChoice> ChooseHitRecord(std::span<const uint32_t> buffer, int hitCount);

// A window depth of a selection record as the distance from the eye in cm, for the camera's
// clipping distances in cm.
float SelectionDepthToCm(uint32_t depth, double nearCm, double farCm);

struct SPickHit {
    ElmntId element; // invalid: nothing was hit
    int sub = -1;    // connection index of the hit, -1 for the element's body
    float depth = 0; // cm from the eye
    int boxSize = 0; // pixels: the smallest pick box that hit it
    bool IsHit() const { return element.IsValid(); }
};

struct SPickResult {
    SPickHit hit;
    // The selection buffer could not grow far enough (the caller tells the user, 4192).
    bool bufferLimit = false;
};

// The element under the window point (x, y: pixels from the lower left of the client area) as
// the pick boxes of kPickBoxSizes find it one after the other, with one selection pass over the
// design: the widest box finds the candidates, and only those are drawn again in the smaller
// boxes, so the result is that of a pass per box; elements whose bounding sphere lies outside
// the widest box are not drawn even in that pass. Elements not alive at the design's current
// revision are not drawn and cannot be hit. bufferSize (entries) is the caller's: it doubles on
// overflow and keeps the size that was enough. Needs a current context whose viewport is the
// view's; the matrices are as they were on return.
SPickResult PickElement(const SPickScene& scene, int x, int y, int& bufferSize,
                        int bufferLimit = kPickBufferLimit);

// ---- Connection axes ----------------------------------------------------------------------

// The axis of the feedback pass nearest to a point.
struct SAxisHit {
    ElmntId element;                                         // invalid: no axis was found
    int connection = -1;                                     // the connection index of the axis
    double distance = std::numeric_limits<double>::max();    // pixels, to the segment
    double endDistance = std::numeric_limits<double>::max(); // pixels, to its first vertex
};

// Scans a GL_2D feedback buffer of the axis pass (count: what glRenderMode returned):
// pass-through values of 2000 and above name the element and reset the connection, smaller
// ones the connection; each line is measured from (x, y). A line wins when it is nearer by
// 0.01 pixel or more, or, within 0.01 pixel, when its first vertex (the connection point) is
// nearer.
SAxisHit FindNearestAxis(std::span<const float> buffer, long count, double x, double y);

struct SAxisResult {
    SAxisHit hit;
    // The feedback buffer could not grow far enough (the caller tells the user, 4193).
    bool bufferLimit = false;
};

// The side (pixels) of the square around the point whose elements the axis pass sends: the
// neighbourhood that is placed on, and a pixel more.
inline constexpr int kAxisNeighbourhood = 2 * (static_cast<int>(kPlaceMaxDistance) + 1);

// The axis pass (pass 2) into a feedback buffer of bufferSize floats (doubling as above),
// scanned for the axis nearest to (x, y). Only the elements whose bounding sphere reaches the
// square of kAxisNeighbourhood around the point are drawn, so that an axis within
// kPlaceMaxDistance is the one the pass over the whole design finds; one farther away may be
// missed. Same context rules as PickElement.
SAxisResult FindAxisAt(const SPickScene& scene, int x, int y, int& bufferSize,
                       int bufferLimit = kPickBufferLimit);

// ---- The passes as the view's logic uses them ---------------------------------------------

// Picking and the axis search behind one interface, so that the view's placing and mouse rules
// run on the GL passes in the view and in tests alike.
class CScenePicker {
public:
    virtual ~CScenePicker() = default;
    virtual SPickResult Pick(int x, int y) = 0;
    virtual SAxisResult NearestAxis(int x, int y) = 0;
};

// The GL passes on a scene, with buffer sizes that the caller keeps (the view's: selection
// entries and feedback floats). The context rules of PickElement hold for every call.
class CGlScenePicker final : public CScenePicker {
public:
    CGlScenePicker(const SPickScene& scene, int& selectionSize, int& feedbackSize)
        : m_scene(scene), m_selectionSize(selectionSize), m_feedbackSize(feedbackSize) {}

    SPickResult Pick(int x, int y) override { return PickElement(m_scene, x, y, m_selectionSize); }
    SAxisResult NearestAxis(int x, int y) override {
        return FindAxisAt(m_scene, x, y, m_feedbackSize);
    }

private:
    SPickScene m_scene;
    int& m_selectionSize;
    int& m_feedbackSize;
};
