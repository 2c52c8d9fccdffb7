// The collision test: finds the elements whose surfaces cut into each other and selects them.
// The surfaces come from one GL feedback pass over the design (mode 3), whose polygons become
// triangles in model millimetres; a sort on x and a sweep find the pairs of triangles of
// different elements whose boxes overlap, and an exact test decides each pair. The 3D view's
// command calls RunCollisionTest in its own GL context; the parts are open for tests.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/checks/TrnglList.h"
#include "model/ElmntId.h"

class CZarnelDcmt;
struct SDrawView;

// The check feedback buffer of a 3D view, in floats: the size it starts with, and the size that
// a doubling must not pass.
inline constexpr int CheckFeedbackStartSize = 262144;
inline constexpr int CheckFeedbackMaxSize = 16777216;

// True when triangle b cuts into triangle a. A b within 0.125 mm of a's plane cuts into it when
// it faces the same way and lies over a's inside, sits on a's corners, or crosses an edge of a
// well inside both edges; any other b when one of its edges pierces a. Faces that face each
// other (touching bodies) never cut. A degenerate a is never cut into. The sweep asks both ways.
bool TriHitsTri(const STrngl& a, const STrngl& b);

// Appends the triangles of a GL_3D feedback buffer of the surface pass: a pass-through token of
// 2000 or more names the element of the polygons that follow, lines are skipped, and each
// polygon gives the triangle of its first three vertices. Window coordinates are those of the
// test's scene (x and y times 32, depth about 0.5 times 65536: the model's z mirrored, the same
// for every triangle). buffer is the written part; the walk (CFeedbackReader) stops at a value
// that is no token or a token cut off at the end, so that nothing past it is read.
void ReadSurfaceFeedback(std::span<const float> buffer, CTrnglList& list);

// Draws the surfaces of every element alive at the document's current revision into a feedback
// buffer and appends their triangles. bufferSize (floats) is the view's buffer size: it doubles
// on every overflow and keeps the size that was enough. False, with nothing appended, when a
// doubling would pass bufferLimit. Needs a current GL context; its viewport and both matrices
// are as they were on return.
// drawView is the view's part in the drawing (its viewer of the slide model); without it the
// slide model has no surfaces.
bool CaptureSurfaces(const CZarnelDcmt& dcmt, int& bufferSize, int bufferLimit, CTrnglList& list,
                     const SDrawView* drawView = nullptr);

// Sorts the triangles by their minimum x and returns the elements that cut into another, in the
// order they are found; each once.
std::vector<ElmntId> FindCollisions(CTrnglList& list);

// The command "Kollisionstest" of the 3D view, whose GL context must be current; the view keeps
// the buffer size between tests (CheckFeedbackStartSize at first). Clears the selection (with
// the view's coupling material and the squared snap radius in mm²), selects the elements that
// cut into each other, updates all views with ViewHint::Selection and reports the count (4198),
// or that there is none (4199). When the feedback buffer cannot grow far enough it reports that
// (4193) and nothing else, selects nothing and returns nothing. Shows the wait cursor.
// drawView as for CaptureSurfaces.
std::optional<std::vector<ElmntId>> RunCollisionTest(CZarnelDcmt& dcmt, int32_t couplingMaterial,
                                                     double snapRadiusSq, int& bufferSize,
                                                     int bufferLimit = CheckFeedbackMaxSize,
                                                     const SDrawView* drawView = nullptr);
