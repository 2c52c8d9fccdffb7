// The commands of the 3D view as table rows: each row names its command number, what it does to
// the view's state and the design, and when its button is enabled and checked. The rows run
// without a window on a context that holds everything a command may touch; what the window must
// do afterwards comes back as an SViewChange. The window binds every row to one handler pair.
#pragma once

#include <cstdint>
#include <span>

#include "app/view/AppOptions.h"
#include "app/view/ViewCamera.h"
#include "app/view/ViewChange.h"
#include "app/view/ViewState.h"
#include "model/Coupling.h"

class CCmra;
class CZarnelDcmt;

// Where a command of one view runs. Everything is borrowed from the view for one call.
struct SViewContext {
    CZarnelDcmt* dcmt; // null for a window without a design
    CViewState& state;
    CViewCamera& camera;
    SAppOptions options;

    // The camera in use; nullptr when none is bound.
    CCmra* GetCamera() const { return camera.Get(dcmt); }
    // What linking takes: the view's coupling material and the squared snap radius in mm².
    int32_t GetCouplingMaterial() const { return state.GetCouplingMaterial(); }
    double GetSnapRadiusSq() const { return CouplingSnap::RadiusSq(options.wideSnap); }
};

// A rule of a row, with the row's command number (several rows share one function).
using ViewCommandRule = bool (*)(const SViewContext& context, uint32_t command);

// A row: the command, what runs it (on the context, or on a window for the window's own rows)
// and its rules.
template <class Run> struct SCommandRow {
    uint32_t command;
    Run run;
    ViewCommandRule isEnabled = nullptr; // nullptr: always enabled
    ViewCommandRule isChecked = nullptr; // nullptr: a plain command, never shown checked
};

using SViewCommand = SCommandRow<SViewChange (*)(SViewContext& context, uint32_t command)>;

// Every command of the view that runs without a window, each once, family by family.
std::span<const SViewCommand> GetViewCommands();
// The row of the command; nullptr when the view has none (or only the window has one).
const SViewCommand* FindViewCommand(uint32_t command);

// The families (one table each; ViewCommand.cpp joins them).
std::span<const SViewCommand> GetToolCommandRows();
std::span<const SViewCommand> GetCameraCommandRows();
std::span<const SViewCommand> GetDisplayCommandRows();
std::span<const SViewCommand> GetBoxCommandRows();
std::span<const SViewCommand> GetEditCommandRows();
