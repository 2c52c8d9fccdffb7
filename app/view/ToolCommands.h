// The 3D view's tool commands as data: each command that only chooses a tool names its mode, the
// kind and sizes it sets, and the rule by which its button shows as checked; the three placement
// variants of couplings switch the mode of a coupling tool under a condition. The view binds
// every command here to one handler and one update handler.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "app/view/ViewState.h"

// When a tool command's button shows as checked. Sizes are compared for exact equality.
enum class ToolCheck {
    Mode,                 // the mode is the command's
    ModeNoKind,           // the mode is the command's and no kind is set
    ModeKind,             // mode and kind are the command's
    ModeKindLength,       // ... and the tool length is the command's
    ModeKindPanel,        // ... and both panel sizes are the command's
    HoleArms,             // mode 1 or 0x80000, the command's kind and hole-coupling arms
    OnConnectorOrTube,    // mode 1 or 0x50000 and the command's kind (bearing coupling)
    OnConnectorOrTubeEnd, // mode 1 or 0x80000 and the command's kind (first flexible arm)
};

struct SToolCommand {
    uint32_t command;
    ToolMode mode;
    ElmntKind kind; // None: the command sets no kind (SetTool leaves none)
    ToolCheck check;
    std::optional<float> length;      // mm
    std::optional<float> panelWidth;  // mm
    std::optional<float> panelLength; // mm
    std::optional<uint32_t> holeArms;
    bool redraw = false; // the window is drawn again whatever SetTool decided
};

// Every tool command, each once.
std::span<const SToolCommand> GetToolCommands();
// The command's entry; nullptr when the number is no tool command.
const SToolCommand* FindToolCommand(uint32_t command);

// Chooses the command's tool: SetTool with its mode, then its kind, sizes and arms.
SViewChange ApplyToolCommand(const SToolCommand& tool, CViewState& state);
bool IsToolChecked(const SToolCommand& tool, const CViewState& state);

// The placement variants of the hole coupling, bearing coupling and flexible joint tools:
// 32969 on a connector, 32970 on a tube end, 32972 on a tube.
bool IsPlacementVariant(uint32_t command);
// Whether the variant can act on the tool in force (its button is enabled then).
bool CanApplyPlacementVariant(uint32_t command, const CViewState& state);
// Switches the coupling tool to the variant's mode, keeping its kind; nothing when the variant
// cannot act.
std::optional<SViewChange> ApplyPlacementVariant(uint32_t command, CViewState& state);
bool IsPlacementVariantChecked(uint32_t command, const CViewState& state);

// The two part tools that ask for their sizes in a dialog first; the window's command opens the
// dialog and chooses the tool only when it is confirmed.
//
// "?cm Rohr": the tube tool with the length entered (cm) as its tool length (mm).
SViewChange ApplyFreeTube(CViewState& state, float lengthCm);
// Checked while the tube tool has none of the five fixed lengths.
bool IsFreeTubeChecked(const CViewState& state);
// "Sonderplatte": the special-panel tool with the kind of the panel type (the index of
// GetPanelTypes(); another index leaves no kind) and the panel sizes entered (cm).
SViewChange ApplySpecialPanel(CViewState& state, int panelType, float widthCm, float lengthCm);
// Checked while the special-panel tool has a panel kind and sizes other than 35 x 35 cm.
bool IsSpecialPanelChecked(const CViewState& state);
