// What the mouse does in the 3D view, without the window: the left button by tool mode
// (placing, deleting, selecting with Ctrl and Shift, group selection, the two-click panel, the
// surface tools, the angle and surface dialogs, the pan drag), the pan drag's rubber line and
// its camera move on release, the double click and the right button. The window turns wx
// events into SMouseEvent records, carries out the returned change and opens the dialog that
// a result asks for (dialogs need the window).
#pragma once

#include "app/view/ScenePick.h"
#include "app/view/ViewCommand.h"

// One mouse event in the view's pixels (framebuffer pixels: logical coordinates times the
// window's content scale).
struct SMouseEvent {
    int x = 0; // GL window point: from the lower left of the client area
    int y = 0;
    int windowX = 0; // the same point from the upper left of the client area
    int windowY = 0;
    bool ctrl = false;
    bool shift = false;
    bool leftDown = false; // the left button is held (mouse moves)
};

// A dialog that a click asks the window to open on an element.
enum class MouseDialog {
    None,
    Ramp,       // the angle dialog (ramps and slides) on a coupling or round tube
    Surface,    // the surface dialog on the element, its choice assigned in place
    Properties, // the element's own dialog (ElementDialogFor)
};

struct SMouseResult {
    SViewChange change;
    MouseDialog dialog = MouseDialog::None;
    ElmntId element;           // the element of the dialog
    bool captureMouse = false; // a pan drag began: the window captures the mouse
};

// The element dialogs that a double click opens, by kind.
enum class ElementDialog {
    Panel,     // the panel dialog, with the click point
    Tube,      // the tube dialog
    Connector, // the connector dialog
    Surface,   // the surface dialog, as the surface tool opens it
    None,      // nothing (the roofs)
    Beep,      // the kind has no dialog
};
ElementDialog ElementDialogFor(ElmntKind kind);

// The left button down: the action of the tool mode at the point, then the flexible joint's
// alternation between placing at an axis and on a picked element.
SMouseResult OnLeftDown(SViewContext& context, CScenePicker& picker, const SMouseEvent& event);
// A mouse move: the pan drag's rubber line follows the pointer while the button is held.
SViewChange OnMouseMove(SViewContext& context, const SMouseEvent& event);
// The left button up: a pan drag ends and moves the camera (viewportHeight: pixels).
SViewChange OnLeftUp(SViewContext& context, const SMouseEvent& event, int viewportHeight);
// The capture was lost (released outside, a dialog, Escape): a pan drag ends without a move.
SViewChange CancelPanDrag(CViewState& state);
// The double click: in select mode the element's dialog (Properties), a beep on nothing; in
// every other mode nothing (the button-down before it did the mode's action once).
SMouseResult OnDoubleClick(SViewContext& context, CScenePicker& picker, const SMouseEvent& event);
// The right button down: turn the element being placed, else the selection.
SViewChange OnRightDown(SViewContext& context);

// The camera move of a pan drag from start to end (window pixels, y downwards) for a grabbed
// point at depth cm, a vertical field of view in degrees and the viewport height in pixels:
// whole centimetres, each cut towards zero.
struct SPanStep {
    int across = 0; // added to the camera's sideways offset
    int up = 0;     // added to the camera's height
};
SPanStep PanCameraStep(double fieldOfViewDeg, float depthCm, int viewportHeight, int dx, int dy);
