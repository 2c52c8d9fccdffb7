// The 3D view's commands that need its window: printing, the print preview, image export and
// the system-information report. Every other command is a row of the view's tables (ViewCommand.h).
#include <wx/print.h>

#include "app/frame/CommandIds.h"
#include "app/view/SysInfo.h"
#include "app/view/ZarnelView.h"

namespace {

using C = CZarnelView;

} // namespace

std::span<const CZarnelView::SWindowCommand> CZarnelView::GetWindowCommands() {
    static const SWindowCommand rows[] = {
        {CommandId::SystemInfo, &C::ShowSystemInfo},
        {CommandId::FilePrint, &C::PrintWithDialog},
        {CommandId::FilePrintDirect, &C::PrintDirect},
        {CommandId::FilePrintPreview, &C::ShowPrintPreview},
        {CommandId::SaveImage, &C::SaveImage},
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
