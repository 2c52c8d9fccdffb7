// Drawing of the couplings and the small parts at tube ends: the plain coupling with its
// mitred arm sleeves and sphere corners, the 45° coupling, hole, flexible and bearing
// couplings, the flexible bolt, the adapter and the open coupling end, each with the connection
// axes and markers that the current tool places parts at.
#pragma once

#include "app/render/ElmntDraw.h"

void DrawConnector(const SElmntDraw& call);
void Draw45Coupling(const SElmntDraw& call);
void DrawHoleCoupling(const SElmntDraw& call);
void DrawFlexiCoupling(const SElmntDraw& call);
void DrawBearingCoupling(const SElmntDraw& call);
void DrawBolt(const SElmntDraw& call);
void DrawAdapter(const SElmntDraw& call);
void DrawOpenConnEnd(const SElmntDraw& call);
