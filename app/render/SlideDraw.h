// Drawing of the three slides built from trimmed NURBS surfaces: the straight slide, the curved
// slide and the run-out, with their end faces, fixings and screw marks. The straight and curved
// slides are the targets of the run-out tool. The dispatcher skips them while only the frame is
// shown.
#pragma once

#include "app/render/ElmntDraw.h"

void DrawSlide(const SElmntDraw& call);
void DrawCurvedSlide(const SElmntDraw& call);
void DrawSlideEnd(const SElmntDraw& call);
