// The selection box of the 3D view, shaped one side at a time: the side is the box-side tool
// mode in force. Pure arithmetic on the box; the commands that use it are rows of the view's
// command table (GetBoxCommandRows).
#pragma once

#include "model/ToolMode.h"
#include "support/Box3.h"

// The closest that two opposite sides of the selection box may come, in mm.
inline constexpr double kMinSelectionBoxSize = 52.0;

// Moves the chosen side outwards by d mm (inwards for d < 0), never closer to the opposite side
// than kMinSelectionBoxSize. Nothing in a mode that is no box side.
void ResizeSelBox(CBox3& box, ToolMode side, double d);
// Shifts the whole box by d mm towards the chosen side. Nothing in a mode that is no box side.
void MoveSelBox(CBox3& box, ToolMode side, double d);
