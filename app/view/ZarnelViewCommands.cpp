// The 3D view's commands that need its window: the part tools that ask for their sizes first,
// the camera dialog, the surface dialog for the tools' materials, the collision and head-trap
// tests, printing, the print preview, image export and the system-information report. Every
// other command is a row of the view's tables (ViewCommand.h).
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

using C = CZarnelView;

// Slots below 20 hold the document's default materials; a material the user made lies above.
constexpr int32_t kFirstUserMaterial = CZarnelDcmt::kInitialSlotsUsed;

bool HasDesign(const SViewContext& context, uint32_t) {
    return context.dcmt != nullptr;
}

// "Farbe/Textur" shows checked while the current tool inserts in a material the user made.
bool IsToolInUserMaterial(const SViewContext& context, uint32_t) {
    const ElmntKind kind = context.state.toolKind;
    return kind != ElmntKind::None && context.state.GetToolMaterial(kind) >= kFirstUserMaterial;
}

bool IsSameSurfaceTool(const SViewContext& context, uint32_t) {
    return context.state.toolMode == ToolMode::SameSurface;
}

bool IsFreeTube(const SViewContext& context, uint32_t) {
    return IsFreeTubeChecked(context.state);
}

bool IsSpecialPanel(const SViewContext& context, uint32_t) {
    return IsSpecialPanelChecked(context.state);
}

} // namespace

std::span<const CZarnelView::SWindowCommand> CZarnelView::GetWindowCommands() {
    static const SWindowCommand rows[] = {
        {CommandId::SystemInfo, &C::ShowSystemInfo},
        {CommandId::FilePrint, &C::PrintWithDialog},
        {CommandId::FilePrintDirect, &C::PrintDirect},
        {CommandId::FilePrintPreview, &C::ShowPrintPreview},
        {CommandId::SaveImage, &C::SaveImage},
        {CommandId::ToolMaterials, &C::EditToolMaterials, HasDesign, IsToolInUserMaterial},
        {CommandId::ToolSameSurface, &C::ChooseSameSurface, HasDesign, IsSameSurfaceTool},
        {CommandId::TubeFree, &C::ChooseFreeTube, nullptr, IsFreeTube},
        {CommandId::SpecialPanel, &C::ChooseSpecialPanel, nullptr, IsSpecialPanel},
        {CommandId::CameraDialog, &C::ShowCameraDialog},
        {CommandId::CollisionTest, &C::CheckCollisions},
        {CommandId::HeadTrapTest, &C::CheckHeadTraps},
    };
    return rows;
}

const CZarnelView::SWindowCommand* CZarnelView::FindWindowCommand(uint32_t command) {
    for (const SWindowCommand& row : GetWindowCommands()) {
        if (row.command == command) {
            return &row;
        }
    }
    return nullptr;
}

void CZarnelView::ShowSystemInfo() {
    // The report describes the GL implementation of the context current now: the window's.
    MakeCurrent();
    WriteSysInfo(std::string(), SysInfoSection::All);
}

void CZarnelView::ChooseFreeTube() {
    CDlgTubeVrbl dialog(GetFrame());
    dialog.SetLength(m_state.toolLength * 0.1f);
    // Cancelled, the tool stays as it was.
    if (dialog.ShowModal() == wxID_OK) {
        CarryOut(ApplyFreeTube(m_state, dialog.GetLength()));
    }
}

void CZarnelView::ChooseSpecialPanel() {
    SElmntDlgContext context;
    context.dcmt = GetDcmt();
    context.couplingMaterial = m_state.GetCouplingMaterial();
    context.snapRadiusSq = CouplingSnap::RadiusSq(GetAppOptions().wideSnap);
    context.categorySlots = &m_state.categoryMaterials;
    context.view = GetCanvas();
    context.repaint = [this] { RepaintNow(); };
    int type = 0;
    SPanelProps values;
    values.width = m_state.panelWidth * 0.1f;
    values.length = m_state.panelLength * 0.1f;
    if (CDlgPnl::Choose(GetFrame(), context, type, values)) {
        CarryOut(ApplySpecialPanel(m_state, type, values.width, values.length));
    }
}

void CZarnelView::ShowCameraDialog() {
    CZarnelDcmt* dcmt = GetDcmt();
    CCmra* camera = GetCamera();
    if (dcmt == nullptr || camera == nullptr) {
        return;
    }
    // Confirmed, a change of one of the design's cameras marks the design modified; a private
    // copy changes nothing in it.
    CDlgCmra::Run(GetFrame(), *dcmt, *camera, [this] {
        RedrawCameraViews();
        RepaintNow();
    });
}

void CZarnelView::CheckCollisions() {
    CZarnelDcmt* dcmt = GetDcmt();
    // The surfaces come from a feedback pass in the view's own context.
    if (dcmt == nullptr || !MakeCurrent()) {
        return;
    }
    // The slide model is drawn by the view's viewer, so that slides collide like other parts.
    const SDrawView drawView{nullptr, 0.0f, 0.0f, &m_vrmlViewer};
    RunCollisionTest(*dcmt, m_state.GetCouplingMaterial(),
                     CouplingSnap::RadiusSq(GetAppOptions().wideSnap), m_state.checkFeedbackSize,
                     CheckFeedbackMaxSize, &drawView);
    Invalidate();
}

void CZarnelView::CheckHeadTraps() {
    CZarnelDcmt* dcmt = GetDcmt();
    if (dcmt == nullptr) {
        return;
    }
    RunHeadTrapTest(*dcmt, m_state.GetCouplingMaterial(),
                    CouplingSnap::RadiusSq(GetAppOptions().wideSnap));
    Invalidate();
}

// ---- Materials of the tools -----------------------------------------------------------------

void CZarnelView::EditToolMaterials() {
    RunToolMaterialDialog(m_state.toolKind, true);
}

// Each click of the tool then gives the picked element its category's slot.
void CZarnelView::ChooseSameSurface() {
    SetTool(ToolMode::SameSurface);
    RunToolMaterialDialog(ElmntKind::None, false);
    Invalidate();
}

void CZarnelView::RunToolMaterialDialog(ElmntKind kind, bool checkUsability) {
    CZarnelDcmt* dcmt = GetDcmt();
    if (dcmt == nullptr) {
        return;
    }
    // On OK the dialog leaves the slots chosen per category in the view's slots.
    CDlgMtrl::Run(
        GetCanvas(), *dcmt, nullptr, kind, m_state.categoryMaterials, checkUsability,
        [this] { RepaintNow(); }, &m_state.categoryMaterials);
}
