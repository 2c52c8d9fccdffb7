// Drawing of the liners hung into a frame of tubes: the pool, the small pool and the play bag,
// each a box open at the top with a rim of shells over the tubes it hangs on. None offers
// connection axes or targets to a tool; the dispatcher skips them while only the frame is shown.
#pragma once

#include "app/render/ElmntDraw.h"

// Pool: 1200 x 1600 mm, 400 mm deep.
void DrawPool(const SElmntDraw& call);
// Small pool: 800 x 1200 mm, 200 mm deep.
void DrawPoolSmall(const SElmntDraw& call);
// Play bag: 400 x 400 mm, 200 mm deep.
void DrawBag(const SElmntDraw& call);
