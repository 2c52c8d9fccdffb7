// The connection axes that a coupling offers to the current tool: lines, arcs and triangles in
// magenta from the coupling's centre, each under the index of the connection it stands for, so
// that they show when drawing, can be picked, and come back from the axis feedback from which
// the view finds the connection nearest to the mouse.
#pragma once

#include "model/ToolMode.h"

class CElmnt;
class CRndrPass;

// Draws, unlit in magenta and in the current model-view frame (the coupling's placement, or the
// branch frame of the 45° coupling), the axes of the element's free arms, edges or start star
// that the tool mode places parts at. Nothing for modes that place nothing at a coupling,
// among them the plain view of off-screen rendering and the collision test. Every pass.
void DrawConnectionAxes(const CElmnt& elmnt, const CRndrPass& pass, ToolMode toolMode);
