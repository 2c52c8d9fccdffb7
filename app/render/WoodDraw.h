// Drawing of the wooden elements between tubes: the board, the board with a knob, the round
// board and the bed rail of slats. None offers connection axes or targets to a tool; the
// dispatcher skips them all while only the frame is shown.
#pragma once

#include "app/render/ElmntDraw.h"

// Wooden board: a slab 19 mm thick resting on the tubes, textured.
void DrawWood(const SElmntDraw& call);
// Wooden board with a knob near its far edge.
void DrawWoodKnob(const SElmntDraw& call);
// Round wooden board: a slab whose corner at +X +Y is a quarter ellipse.
void DrawRoundWood(const SElmntDraw& call);
// Wooden bed rail: two end bars joined by round slats.
void DrawWoodBed(const SElmntDraw& call);
