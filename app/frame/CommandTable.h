// The one table of the design program's commands: for every command its number, whether it
// shows a check mark, whether it has a picture; the thirteen toolbars with their buttons, the
// three menus and the frame's accelerators. Menus, toolbars, accelerators and the disabling of
// unhandled commands are all built from here (CommandBars.h builds the wx side).
// No wx in here: the table is plain data, tested without a display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SCommandInfo {
    uint32_t id;     // the system's command number (CommandId)
    bool checkable;  // a button or menu item that shows a checked state
    bool hasPicture; // a picture: the bitmap resource with the command's number
};

// Keys of the accelerator table: letters and digits are their upper-case characters.
namespace AccelKey {
constexpr int Delete = 0x100;
constexpr int Insert = 0x101;
constexpr int Backspace = 0x102;
constexpr int F6 = 0x103;
} // namespace AccelKey

struct SAccelerator {
    bool ctrl;
    bool shift;
    bool alt;
    int key; // 'A'..'Z', '0'..'9' or an AccelKey
    uint32_t command;
};

struct SToolbarInfo {
    int bar;                 // 0 to 12
    uint32_t windowId;       // 59392 to 59407
    uint32_t resource;       // the toolbar resource number
    uint32_t toggleCommand;  // shows and hides the bar
    std::string name;        // label of the toggle in "Ansicht" / "Werkzeugleisten"
    int row;                 // docking row of the first start, 0 at the top
    int rightOf;             // bar to whose right it docks at the first start; -1 first in row
    bool visibleAtStart;
    std::vector<uint32_t> buttons; // command numbers from left to right; 0 is a separator
};

struct SMenuItem {
    enum class Kind { Command, Separator, Popup, RecentFiles };
    Kind kind = Kind::Command;
    std::string label;     // as the system writes it ("&Neu\tStrg+N"); popups too
    uint32_t command = 0;  // Command and RecentFiles (the first recent-file command)
    std::vector<SMenuItem> items; // Popup only
};

struct SMenuInfo {
    uint32_t id;                  // 100 main frame alone, 101 3D window, 102 parts list window
    std::vector<SMenuItem> popups; // the menu bar's menus, from left to right
};

struct SCommandText {
    std::string prompt;  // shown in the status bar while the item or button is hovered
    std::string tooltip; // the button's tooltip (empty when the text has no line break)
};

// Every command of the system, each once, in no particular order.
const std::vector<SCommandInfo>& GetCommands();
// The command's entry; nullptr when the number is not a command of the system.
const SCommandInfo* FindCommand(uint32_t id);

// The thirteen toolbars, bar 0 first.
const std::vector<SToolbarInfo>& GetToolbars();
// The toolbar that a toggle command shows and hides; nullptr for other commands.
const SToolbarInfo* FindToolbarByToggle(uint32_t toggleCommand);

// Accelerator table 100 of the main frame.
const std::vector<SAccelerator>& GetAccelerators();

// Menu 100, 101 or 102; nullptr for another number.
const SMenuInfo* FindMenu(uint32_t menuId);

// The command's German string-table text split at its first line break; nothing when the
// string table has no text for it (two commands have none). Never shows a box.
std::optional<SCommandText> GetCommandText(uint32_t id);

// A menu label as the system writes it, with its shortcut after a TAB in German key names
// ("Strg+N", "Entf"), turned into the key names that wx parses ("Ctrl+N", "Del").
std::string ToWxMenuLabel(const std::string& label);
// The label of the command's menu item as wx takes it. A shortcut in a wx label becomes a key
// binding of its own, so the label keeps its shortcut only when the accelerator table binds
// that key to the command; otherwise the item shows none.
std::string ToWxMenuLabel(const std::string& label, uint32_t command);

// Number of recent files that the File menus list, and the menus' text while there are none.
constexpr int kRecentFileCount = 4;
constexpr const char* kRecentFilesLabel = "Letzte Datei";
