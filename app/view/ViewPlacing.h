// The view's operations that turn a click into a change of the design: place the tool's
// element at the nearest connection axis or on the picked element, put a panel between two
// tubes, delete the picked element, and turn the element just placed (right button). Each picks
// and decides what to create or delete (kind, sizes, target, connection) and hands that to the
// document's operation (model/PlaceElement.h), which opens a revision only when it changes
// something, so that a click that changes nothing neither cuts the redo branch nor marks the
// design modified; the view then beeps. Every change ends with the parts table recounted and
// every window told (Insertion, Deletion or Change).
//
// The element being placed and the first tube of a two-click panel are held by identity in the
// view's state and looked up alive at the current revision before each use. x and y are GL
// window points (pixels from the lower left of the client area).
#pragma once

#include <optional>
#include <utility>

#include "app/view/ScenePick.h"
#include "app/view/ViewCommand.h"

// The element under the point, or nothing; when the selection buffer could not grow far
// enough the user is told (4192) and nothing is returned.
SPickHit PickOrReport(CScenePicker& picker, int x, int y);

// The two sizes (mm) with which a tool's kind is placed at a connection axis, or on a picked
// element; nothing for a kind that the way of placing does not create.
std::optional<std::pair<float, float>> AxisPlacingSizes(const CViewState& state, ElmntKind kind);
std::optional<std::pair<float, float>> PickedPlacingSizes(const CViewState& state, ElmntKind kind);

// The tool's element at the connection axis nearest to the point, within 10 pixels.
SViewChange PlaceByFeedback(SViewContext& context, CScenePicker& picker, int x, int y);
// The tool's element on the picked element, at the picked connection.
SViewChange PlaceOnPicked(SViewContext& context, CScenePicker& picker, int x, int y);
// The second click of the two-click panel: a panel between the first tube and the tube under
// the point, which must be drawn as fitting the first (its hit carries a connection index).
SViewChange PlacePanel(SViewContext& context, CScenePicker& picker, int x, int y);
// Ends the picked element; an automatic coupling that holds parts only after the user said Yes
// to 4194 (No is the default).
SViewChange DeleteAt(SViewContext& context, CScenePicker& picker, int x, int y);
// The right button: the element being placed turns one step in a new revision and the next
// insert turns as often; without one the selection turns. Nothing to turn: a beep.
SViewChange TurnPlacedOrSelection(SViewContext& context);
