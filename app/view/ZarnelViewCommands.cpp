// The 3D view's commands that need its window: printing, the print preview, image export, the
// system-information report and the surface dialog for the tools' materials. Every other command is
// a row of the view's tables (ViewCommand.h).
#include <wx/print.h>

#include "app/dialogs/DlgMtrl.h"
#include "app/frame/CommandIds.h"
#include "app/view/SysInfo.h"
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
    CDlgMtrl::Run(GetCanvas(), *dcmt, nullptr, kind, m_state.categoryMaterials, checkUsability,
                  [this] { RepaintNow(); });
}
