// The wx numbers of the system's commands. wx accepts menu and window numbers below 32767 only,
// and its document framework, file history and MDI frames act on their own standard numbers, so
// the framework commands map to wx's standard ones and every other command is moved into a free
// range. Event tables of frames, views and documents use WxCommandId(CommandId::...).
// Close and Exit keep numbers of their own: on wx's standard numbers GTK would give them
// shortcuts (Ctrl+W, Ctrl+Q) that the program does not have.
#pragma once

#include <cstdint>

#include <wx/defs.h>

#include "app/frame/CommandIds.h"

namespace WxCommandRange {
// The program's own commands (32768 and up) from here on.
constexpr int kProgramBase = 12000;
// Framework commands without a wx counterpart (57344 and up) from here on.
constexpr int kFrameworkBase = 16000;
} // namespace WxCommandRange

// The wx number of a system command.
constexpr int WxCommandId(uint32_t command) {
    using namespace CommandId;
    switch (command) {
    case FileNew: return wxID_NEW;
    case FileOpen: return wxID_OPEN;
    case FileSave: return wxID_SAVE;
    case FileSaveAs: return wxID_SAVEAS;
    case FilePrintSetup: return wxID_PRINT_SETUP;
    case FilePrint: return wxID_PRINT;
    case FilePrintPreview: return wxID_PREVIEW;
    case EditCopy: return wxID_COPY;
    case EditCut: return wxID_CUT;
    case EditPaste: return wxID_PASTE;
    case EditUndo: return wxID_UNDO;
    case EditRedo: return wxID_REDO;
    case WindowArrange: return wxID_MDI_WINDOW_ARRANGE_ICONS;
    case WindowCascade: return wxID_MDI_WINDOW_CASCADE;
    case WindowTileHorz: return wxID_MDI_WINDOW_TILE_HORZ;
    case WindowTileVert: return wxID_MDI_WINDOW_TILE_VERT;
    case AppAbout: return wxID_ABOUT;
    case HelpIndex: return wxID_HELP_CONTENTS;
    default: break;
    }
    if (command >= FileMru1 && command < FileMru1 + 9) {
        return wxID_FILE1 + static_cast<int>(command - FileMru1);
    }
    if (command >= 57344) {
        return WxCommandRange::kFrameworkBase + static_cast<int>(command - 57344);
    }
    return WxCommandRange::kProgramBase + static_cast<int>(command - 32768);
}

// The system command of a wx number; 0 when the number is not one of the system's commands.
uint32_t SystemCommandId(int wxId);
