// The 3D view's own table: the commands that need its window, because they open a dialog, print
// or read the window's GL context. Its rows are like those of the view's tables (ViewCommand.h)
// but run on the window; the window binds both through one handler pair.
#pragma once

#include <cstdint>
#include <span>

#include "app/view/ViewCommand.h"

class CZarnelView;

using SWindowCommand = SCommandRow<void (*)(CZarnelView& view, uint32_t command)>;

// Every command of the window's table, each once.
std::span<const SWindowCommand> GetWindowCommands();
// The row of the command; nullptr when the window's table has none.
const SWindowCommand* FindWindowCommand(uint32_t command);

// The rows that make pictures for elsewhere (ZarnelViewExport.cpp).
namespace ViewExport {
// "Bild speichern": the size asked, the picture rendered off-screen and saved as a BMP file.
void SaveImage(CZarnelView& view, uint32_t command);
// FilePrint asks for the printer first; FilePrintDirect prints at once.
void Print(CZarnelView& view, uint32_t command);
void ShowPrintPreview(CZarnelView& view, uint32_t command);
} // namespace ViewExport
