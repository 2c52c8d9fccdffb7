// The 3D view's interaction mode. It decides what a click does, which connection axes, markers
// and target highlights the drawing offers, and by which rule a new element is attached to the
// one it is placed on. The values are fixed: they are the modes' numbers in every layer.
#pragma once

#include <cstdint>

// One value at a time. Insert modes place a part by feedback of connection axes or on the
// picked element; the others select, edit or move the view.
enum class ToolMode : int32_t {
    AtConnection = 1,  // insert at a connection point
    RoundTubeUp = 2,   // round tube rising from a coupling
    RoundTubeDown = 4, // round tube falling from a coupling
    RoundTubeFlat = 8, // round tube in the horizontal plane
    Select = 16,       // select, Ctrl toggles, Shift adds
    SelectGroup = 32,  // select a group of connected elements
    BoxTop = 64,       // selection box, one side chosen: top
    BoxBottom = 128,   // bottom
    BoxLeft = 256,     // left
    BoxRight = 512,    // right
    BoxFront = 1024,   // front
    BoxBack = 2048,    // back
    SpecialPanel = 0x10000,
    Coupling45Flat = 0x20000, // 45° coupling, three variants
    Coupling45Upright = 0x30000,
    Coupling45AtEnd = 0x40000,
    OnPickedMultiWheel = 0x50000, // insert on the picked element: multi wheel, bearing coupling
    OnPickedWheel = 0x60000,      // floating wheel
    SteeringLock = 0x70000,       // insert at a connection point
    AtTubeEnd = 0x80000,          // caps, flexible bolts, couplings at a tube end
    OnPickedSlide = 0x90000,      // slides, pools, play bag
    OnPickedSlideEnd = 0xA0000,   // run-out for a slide
    OnPickedRoof = 0xB0000,       // roofs
    OnPickedTextile = 0xC0000,    // textile cover for a bent tube
    OnPickedClamp = 0xD0000,      // closed and open clamp
    OnPickedAlu = 0xE0000,        // aluminium profiles
    OnPickedAluConnector = 0xF0000,
    OnPickedFlexiArm = 0x100000, // second flexible arm
    StartCoupling = 0x110000,    // new start coupling on the floor grid
    NoSelectionLines = 0x120000, // plain view; also off-screen rendering and the collision test
    DeleteSingle = 0x130000,     // delete single elements
    Pan = 0x140000,              // pan the view
    ChangeAngle = 0x150000,      // angle of couplings for slides and ramps
    ChangeSurface = 0x160000,    // surface of one element
    SameSurface = 0x170000,      // the category's surface for several elements
    PanelFirstTube = 0x180000,   // two-click panel, waiting for the first tube
    PanelSecondTube = 0x190000,  // two-click panel, waiting for the second tube
};

constexpr int32_t ToolModeCode(ToolMode mode) {
    return static_cast<int32_t>(mode);
}
// Select, group select and the six box sides (16 to 2048).
constexpr bool IsSelectOrBoxMode(ToolMode mode) {
    return (ToolModeCode(mode) & 0xFF0) != 0;
}
// The six box sides (64 to 2048): the selection box is drawn.
constexpr bool IsBoxSideMode(ToolMode mode) {
    return (ToolModeCode(mode) & 0xFC0) != 0;
}
