// The 3D view's commands that need its window: the part tools that ask for their sizes first,
// the camera dialog, the surface dialog for the tools' materials, the collision and head-trap
// tests, printing, the print preview, image export and the system-information report. Every
// other command is a row of the view's tables (ViewCommand.h).
#include "app/view/ZarnelViewCommands.h"

#include <wx/print.h>

#include "app/checks/CollisionTest.h"
#include "app/checks/HeadTrapTest.h"
#include "app/dialogs/DlgCmra.h"
#include "app/dialogs/DlgMtrl.h"
#include "app/dialogs/DlgPnl.h"
#include "app/dialogs/DlgTubeVrbl.h"
#include "app/frame/CommandIds.h"
#include "app/view/SysInfo.h"
#include "app/view/ToolCommands.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"

namespace {

// Slots below 20 hold the document's default materials; a material the user made lies above.
constexpr int32_t kFirstUserMaterial = CZarnelDcmt::kInitialSlotsUsed;

bool HasDesign(const SViewContext& context, uint32_t) {
    return context.dcmt != nullptr;
}

// "Farbe/Textur" shows checked while the current tool inserts in a material the user made.
bool IsToolInUserMaterial(const SViewContext& context, uint32_t) {
    const ElmntKind kind = context.state.tool.kind;
    return kind != ElmntKind::None && context.state.GetToolMaterial(kind) >= kFirstUserMaterial;
}

bool IsSameSurfaceTool(const SViewContext& context, uint32_t) {
    return context.state.tool.mode == ToolMode::SameSurface;
}

bool IsFreeTube(const SViewContext& context, uint32_t) {
    return IsFreeTubeChecked(context.state);
}

bool IsSpecialPanel(const SViewContext& context, uint32_t) {
    return IsSpecialPanelChecked(context.state);
}

void ShowSystemInfo(CZarnelView& view, uint32_t) {
    // The report describes the GL implementation of the context current now: the window's.
    view.MakeCurrent();
    WriteSysInfo(std::string(), SysInfoSection::All);
}

// "?cm Rohr" and "Sonderplatte": the tool's dialog first; the tool changes only on OK.
void ChooseFreeTube(CZarnelView& view, uint32_t) {
    CViewState& state = view.GetState();
    CDlgTubeVrbl dialog(view.GetFrame());
    dialog.SetLength(state.tool.length * 0.1f);
    // Cancelled, the tool stays as it was.
    if (dialog.ShowModal() == wxID_OK) {
        view.CarryOut(ApplyFreeTube(state, dialog.GetLength()));
    }
}

void ChooseSpecialPanel(CZarnelView& view, uint32_t) {
    CViewState& state = view.GetState();
    SElmntDlgContext context;
    context.dcmt = view.GetDcmt();
    context.couplingMaterial = state.GetCouplingMaterial();
    context.snapRadiusSq = CouplingSnap::RadiusSq(CZarnelView::GetAppOptions().wideSnap);
    context.categorySlots = &state.tool.categoryMaterials;
    context.view = view.GetCanvas();
    context.repaint = [&view] { view.RepaintNow(); };
    int type = 0;
    SPanelProps values;
    values.width = state.tool.panelWidth * 0.1f;
    values.length = state.tool.panelLength * 0.1f;
    if (CDlgPnl::Choose(view.GetFrame(), context, type, values)) {
        view.CarryOut(ApplySpecialPanel(state, type, values.width, values.length));
    }
}

// The camera dialog on the camera in use, each change shown in every window showing it.
void ShowCameraDialog(CZarnelView& view, uint32_t) {
    CZarnelDcmt* dcmt = view.GetDcmt();
    CCmra* camera = view.GetCamera();
    if (dcmt == nullptr || camera == nullptr) {
        return;
    }
    // However the dialog is closed, a change of one of the design's cameras marks the design
    // modified; a private copy changes nothing in it.
    CDlgCmra::Run(view.GetFrame(), *dcmt, *camera, [&view] {
        view.RedrawCameraViews();
        view.RepaintNow();
    });
}

// "Kollisionstest" (in the view's GL context, the slide model drawn by the view's viewer) and
// "Kopffallentest": the findings selected and reported.
void CheckCollisions(CZarnelView& view, uint32_t) {
    CZarnelDcmt* dcmt = view.GetDcmt();
    // The surfaces come from a feedback pass in the view's own context.
    if (dcmt == nullptr || !view.MakeCurrent()) {
        return;
    }
    CViewState& state = view.GetState();
    // The slide model is drawn by the view's viewer, so that slides collide like other parts.
    const SDrawView drawView{nullptr, 0.0f, 0.0f, view.MakeDrawView().vrmlViewer};
    RunCollisionTest(*dcmt, state.GetCouplingMaterial(),
                     CouplingSnap::RadiusSq(CZarnelView::GetAppOptions().wideSnap),
                     state.pickBuffers.checkFeedbackSize, CheckFeedbackMaxSize, &drawView);
    view.Invalidate();
}

void CheckHeadTraps(CZarnelView& view, uint32_t) {
    CZarnelDcmt* dcmt = view.GetDcmt();
    if (dcmt == nullptr) {
        return;
    }
    RunHeadTrapTest(*dcmt, view.GetState().GetCouplingMaterial(),
                    CouplingSnap::RadiusSq(CZarnelView::GetAppOptions().wideSnap));
    view.Invalidate();
}

// ---- Materials of the tools -----------------------------------------------------------------

// The surface dialog for the tools (no element): OK takes the chosen slot per category.
void RunToolMaterialDialog(CZarnelView& view, ElmntKind kind, bool checkUsability) {
    CZarnelDcmt* dcmt = view.GetDcmt();
    if (dcmt == nullptr) {
        return;
    }
    // On OK the dialog leaves the slots chosen per category in the view's slots.
    CDlgMtrl::Run(
        view.GetCanvas(), *dcmt, nullptr, kind, view.GetState().tool.categoryMaterials,
        checkUsability, [&view] { view.RepaintNow(); }, &view.GetState().tool.categoryMaterials);
}

void EditToolMaterials(CZarnelView& view, uint32_t) {
    RunToolMaterialDialog(view, view.GetState().tool.kind, true);
}

// Each click of the tool then gives the picked element its category's slot.
void ChooseSameSurface(CZarnelView& view, uint32_t) {
    view.SetTool(ToolMode::SameSurface);
    RunToolMaterialDialog(view, ElmntKind::None, false);
    view.Invalidate();
}

} // namespace

std::span<const SWindowCommand> GetWindowCommands() {
    static const SWindowCommand rows[] = {
        {CommandId::SystemInfo, ShowSystemInfo},
        {CommandId::FilePrint, ViewExport::Print},
        {CommandId::FilePrintDirect, ViewExport::Print},
        {CommandId::FilePrintPreview, ViewExport::ShowPrintPreview},
        {CommandId::SaveImage, ViewExport::SaveImage},
        {CommandId::ToolMaterials, EditToolMaterials, HasDesign, IsToolInUserMaterial},
        {CommandId::ToolSameSurface, ChooseSameSurface, HasDesign, IsSameSurfaceTool},
        {CommandId::TubeFree, ChooseFreeTube, nullptr, IsFreeTube},
        {CommandId::SpecialPanel, ChooseSpecialPanel, nullptr, IsSpecialPanel},
        {CommandId::CameraDialog, ShowCameraDialog},
        {CommandId::CollisionTest, CheckCollisions},
        {CommandId::HeadTrapTest, CheckHeadTraps},
    };
    return rows;
}

const SWindowCommand* FindWindowCommand(uint32_t command) {
    for (const SWindowCommand& row : GetWindowCommands()) {
        if (row.command == command) {
            return &row;
        }
    }
    return nullptr;
}
