// Drawing of wheels and the parts around them: the multi wheel, the floating wheel, the wheel
// bearing with its axis for a steering lock and its target for a multi wheel, the castors, the
// steering lock, the hub cap and the tube cap.
#pragma once

#include "app/render/ElmntDraw.h"

void DrawMultiWheel(const SElmntDraw& call);
void DrawFloatingWheel(const SElmntDraw& call);
void DrawBearing(const SElmntDraw& call);
void DrawCasters(const SElmntDraw& call);
void DrawSteeringLock(const SElmntDraw& call);
void DrawHubCap(const SElmntDraw& call);
void DrawTubeCap(const SElmntDraw& call);
