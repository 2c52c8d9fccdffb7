// The interaction state of one 3D view, apart from its window and OpenGL context, in named
// parts: the tool (mode, kind, sizes, material slots, the element being placed), the display
// (flags, walk-height boxes), the selection box and the move options, the pan drag and the sizes
// of the picking buffers. Several views of one design each keep their own. Elements are held by
// identity and looked up in the design when used, so that nothing here can outlive the record it
// names.
//
// SetTool is the one way a command changes the tool mode; it returns what the change asks of
// the window and the design (the snap option off, the selection cleared, a redraw), which the
// view carries out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/render/DrawFlags.h"
#include "app/view/ViewChange.h"
#include "app/view/WalkBox.h"
#include "model/ElmntId.h"
#include "model/ElmntKind.h"
#include "model/ToolMode.h"
#include "support/Box3.h"

class CViewState {
public:
    // Material slot per material category at the start: tubes red, panels red, couplings black,
    // caps red, slide red, curved slide green, run-out yellow, profiles alu, pool liner blue.
    static constexpr std::array<int32_t, MtrlCategoryCount> kDefaultCategoryMaterials = {
        2, 6, 1, 2, 6, 7, 9, 11, 8};
    // The selection box at the start, in the order max y, min y, max x, min x, max z, min z.
    static constexpr CBox3 kDefaultSelectionBox{826.0, -26.0, 426.0, -426.0, 426.0, -426.0};

    // The tool: what a click does and what an insert creates. A new view starts with the tool
    // "35cm Rohr".
    struct STool {
        ToolMode mode = ToolMode::AtConnection;
        ElmntKind kind = ElmntKind::Tube; // the kind that an insert tool creates
        std::array<int32_t, MtrlCategoryCount> categoryMaterials = kDefaultCategoryMaterials;
        float length = 350.0f;      // mm: length of tubes, aluminium profiles and bolts
        float panelWidth = 350.0f;  // mm: second size of panels
        float panelLength = 350.0f; // mm: third size of panels
        // Right-button turns of the element just placed; the next inserted element turns as often.
        int turnCount = 0;
        uint32_t holeArms = 0;  // arm mask of the hole couplings that the tool inserts
        ElmntId placing;        // the element inserted last, turned by the right button; none: 0
        ElmntId firstTube;      // first tube picked by a two-click panel tool; none: 0
        bool autoAdjust = true; // position adjustment after each insertion and deletion
    };

    // How the design is shown.
    struct SDisplay {
        DrawFlags flags = DrawFlags::None;
        DrawFlags lastDrawnFlags = DrawFlags::None; // the flags with which the last frame was drawn
        // Flags for the next frame only ("Nur selektierte Elemente" shows the selection once).
        std::optional<DrawFlags> nextFrameFlags;
        // Drawn with the application's photo profile, else with its edit profile.
        bool photoQuality = false;
        // The walk-height boxes: a snapshot; empty while the walkable height is not shown.
        std::vector<SWalkBox> walkBoxes;
    };

    // The selection box and the options of moving the selection.
    struct SBoxAndMove {
        CBox3 box = kDefaultSelectionBox; // mm
        double step = 400.0;              // mm
        bool adaptCouplings = true;       // moving the selection adapts its couplings
        bool copyOnce = false;            // the next move copies the selection
    };

    // The pan drag (window pixels).
    struct SPanDrag {
        int startX = 0;
        int startY = 0;
        int pointX = 0; // end of the rubber line drawn last
        int pointY = 0;
        float grabDepth = 0.0f; // cm, distance of the grabbed point from the eye
        bool dragging = false;
        bool rubberLineShown = false;
        ElmntId element; // the element grabbed at the start
    };

    // Sizes of the picking buffers: they only grow, doubling on each overflow.
    struct SPickBuffers {
        int placingFeedbackSize = 4096;  // floats
        int selectionSize = 64;          // names
        int checkFeedbackSize = 0x40000; // floats, collision test
    };

    STool tool;
    SDisplay display;
    SBoxAndMove boxAndMove;
    SPanDrag pan;
    SPickBuffers pickBuffers;

    // Changes the tool mode with every side effect on this state; the caller sets the tool's
    // kind and sizes afterwards and carries out the returned change.
    SViewChange SetTool(ToolMode newMode);

    // The display flags of the frame about to be drawn: the one-frame flags when set (used up
    // now), else the view's own; remembered as the flags of the last frame.
    DrawFlags TakeFrameFlags();

    // The material slot for the category of the kind; 0 (no material) for kinds without one
    // (the roofs, the floor grid).
    int32_t GetToolMaterial(ElmntKind kind) const;
    // The slot of category 0 to 8; 0 for another number.
    int32_t GetCategoryMaterial(int category) const;
    // The slot that automatically created couplings receive: the category "Verbinder".
    int32_t GetCouplingMaterial() const {
        return tool.categoryMaterials[static_cast<size_t>(MtrlCategory::Connectors)];
    }
};
