// Drawing of the floor grid: grey lines on the floor while editing, and the start markers at
// which the start-coupling tool places a new coupling.
#pragma once

#include "app/render/ElmntDraw.h"

void DrawFloorGrid(const SElmntDraw& call);

// The start markers: 33 x 33 positions every 200 mm from -3200 to 3200 mm in X and Z; marker k
// lies at x = -3200 + 200 (k div 33), z = -3200 + 200 (k mod 33).
inline constexpr int FloorMarkerSide = 33;
inline constexpr int FloorMarkerCount = FloorMarkerSide * FloorMarkerSide;
