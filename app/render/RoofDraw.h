// Drawing of the two roofs, which show the document's roof colours instead of a material of
// their own. They offer no connection axes or targets; the dispatcher skips them while only the
// frame is shown.
#pragma once

#include "app/render/ElmntDraw.h"

// Either roof, by its kind: 400 mm wide with slopes of 600 mm, or 1200 mm wide with 630 mm.
void DrawRoof(const SElmntDraw& call);
// A roof of the given width and slope length (mm).
void DrawRoofSized(const SElmntDraw& call, float width, float slope);
