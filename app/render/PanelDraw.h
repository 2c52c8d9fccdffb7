// Drawing of the flat elements that sit between tubes: the plug-in panel, the chair seat and
// back, the display panel and the lattice. None offers connection axes or targets to a tool; the
// dispatcher skips them all while only the frame is shown.
#pragma once

#include "app/render/ElmntDraw.h"

// Plug-in panel: a face with notched corners resting on the tubes, and two skirts between them.
void DrawPanel(const SElmntDraw& call);
// Chair seat and back: a face curved across its width, rising towards its far edge.
void DrawChairSeatBack(const SElmntDraw& call);
// Display panel: one textured quad in the plane of the tube axes.
void DrawDisplay(const SElmntDraw& call);
// Lattice: a mesh of about 25 mm in lines of the material's plain colour.
void DrawLattice(const SElmntDraw& call);
