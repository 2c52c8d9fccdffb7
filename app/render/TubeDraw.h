// Drawing of the tube-like elements: the straight tube with the end axes and target zones that
// the tools need, and the bent tube.
#pragma once

#include "app/render/ElmntDraw.h"

// Straight tube: radius 25 mm along local X from 25 mm to 25 mm + length + correction (the
// couplings take 25 mm at each end).
void DrawTube(const SElmntDraw& call);
// Bent tube: a straight piece, a quarter bend and a straight end piece rising along +Y.
void DrawRoundTube(const SElmntDraw& call);
