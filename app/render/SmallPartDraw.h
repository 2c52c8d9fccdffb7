// Drawing of the small parts on tubes: the clamp and the clip, which hold a second tube beside
// the one they sit on and offer its seats to the insert tool, and the aluminium profile and its
// connector with their screw marks, the profile offering its ends to the connector tool.
#pragma once

#include "app/render/ElmntDraw.h"

void DrawClamp(const SElmntDraw& call);
void DrawClip(const SElmntDraw& call);
void DrawAlu(const SElmntDraw& call);
void DrawAluConnector(const SElmntDraw& call);
