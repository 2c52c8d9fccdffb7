// Drawing of the textile covers: the flat textile between two tubes with its sleeves, and the
// round textile between two bent tubes. Neither offers connection axes or targets to a tool; the
// dispatcher skips both while only the frame is shown.
#pragma once

#include "app/render/ElmntDraw.h"

// Textile: a textured cover in the plane of the tube axes and the sleeves around the side tubes.
void DrawTextil(const SElmntDraw& call);
// Round textile: a cover that follows the bend of two bent tubes 800 mm apart.
void DrawTextilRound(const SElmntDraw& call);
