// The command table's data: toolbars, menus and accelerators exactly as the program shows them.
#include "app/frame/CommandTable.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <unordered_map>

#include "app/frame/CommandIds.h"
#include "support/Resources.h"

namespace {

using namespace CommandId;

// Commands that show a checked state: the tools, the colours, the options and the bar toggles.
const std::set<uint32_t> kCheckable = {
    ViewToolbar, ViewStatusBar, ViewBarStandardParts, ViewBarColours, ViewBarCamera,
    ViewBarLargeObjects, ViewBarSelectMove, ViewBarExpertParts, ViewBarComfort, ViewBarDisplay,
    ViewBarFunParts, ViewBarWheels, ViewBarWoodParts, ViewBarTextiles,
    ShowAllParts,
    ToolSelect, ToolSelectGroup, ToolDeleteSingle, ToolChangeAngle, ToolChangeSurface,
    ToolSameSurface, ToolMaterials,
    ColourRed, ColourGreen, ColourBlue, ColourYellow, ColourBlack, ColourWhite,
    Tube10, Tube15, Tube25, Tube35, Tube75, TubeFree, RoundTubeUp, RoundTubeDown, RoundTubeFlat,
    Panel25, Panel35, HalfPanel, HalfPanelTurned, ChairBack, DisplayPanel, WoodPanel35,
    WoodPanel75, WoodKnobPanel35, WoodKnobPanel75, WoodPanelRound, Lattice45, WoodBedRail,
    TextileStraight, SpecialPanel,
    Coupling45Horizontal, Coupling45Vertical, Coupling45TubeEnd, StartStar, HolePinCoupling,
    HoleCoupling2, HoleCoupling3, HoleCoupling3Turned, BearingCoupling, FlexiArm1, FlexiArm2,
    FlexiBolt15, FlexiBolt5, MultiWheel, FloatingWheel, WheelBearing, Casters, SteeringLock,
    HubCap, TubeCap, Adapter, OpenConnectorEnd, ClampClosed, ClampOpen, AluProfile60,
    AluProfile80, AluConnector, PlaceOnConnector, PlaceOnTubeEnd, PlaceOnTube,
    Slide, SlideModel, SlideCurved, SlideEnd, PoolLarge, PoolSmall, Roof, RoofLarge, PlayBag,
    TextileBent,
    Camera1, Camera2, Camera3, Camera4, PerspectiveNear, PerspectiveFar, SectionPlane, Pan,
    WithoutPanels, OnlySelected, Explosion, ConnectorEnds, WithoutSelectionLines, PhotoQuality,
    WalkHeight, AutoAdjust, WideSnap,
    BoxTop, BoxBottom, BoxLeft, BoxRight, BoxBack, BoxFront, Step5, Step10, Step20, Step40,
    Step80, MoveAdaptCouplings, MoveKeepCouplings, MoveCopy,
};

// Commands that no menu, toolbar or accelerator lists but that the views handle.
const std::vector<uint32_t> kUnlistedCommands = {HalfPanelTurned};

std::vector<SToolbarInfo> MakeToolbars() {
    constexpr uint32_t sep = 0;
    return {
        {0, 59392, 100, ViewToolbar, "&Editieren / Standardfunktionen", 0, -1, true,
         {FileNew, FileOpen, FileSave, SaveImage, FilePrintDirect, sep,
          EditCut, EditCopy, EditPaste, DeleteSelection, sep,
          EditUndo, EditRedo, sep,
          ToolSelect, ToolDeleteSingle, sep,
          ViewBarStandardParts, ViewBarColours, ViewBarCamera, sep,
          ViewBarFunParts, ViewBarTextiles, ViewBarWoodParts, ViewBarWheels, ViewBarComfort, sep,
          ViewBarExpertParts, ViewBarDisplay, ViewBarLargeObjects, ViewBarSelectMove}},
        {1, 59396, 303, ViewBarStandardParts, "Standardteile", 1, 3, true,
         {Tube10, Tube15, Tube25, Tube35, Tube75, TubeFree, RoundTubeUp, RoundTubeDown,
          RoundTubeFlat, Panel35, Panel25, HalfPanel, ChairBack, Coupling45Horizontal,
          Coupling45Vertical, Coupling45TubeEnd, StartStar}},
        {2, 59397, 304, ViewBarColours, "Farben", 0, 0, true,
         {ColourRed, ColourGreen, ColourBlue, ColourYellow, ToolMaterials}},
        {3, 59398, 300, ViewBarCamera, "Ansicht und Kameraposition", 1, -1, true,
         {ViewFront, ViewLeft, ViewBack, ViewRight, ViewBird, ViewBelow, ModelRight, ModelLeft,
          ModelUp, ModelDown}},
        {4, 59399, 305, ViewBarLargeObjects, "Ansicht für große Objekte", 4, -1, false,
         {ViewStandard, PerspectiveNear, PerspectiveFar, ZoomIn, ZoomOut, Pan, sep,
          SectionFront, SectionPlane, SectionBack, sep,
          WithoutPanels, WithoutSelectionLines, ConnectorEnds, PhotoQuality, sep,
          Camera1, Camera2, Camera3, Camera4}},
        {5, 59400, 301, ViewBarSelectMove, "Selektieren und Verschieben", 5, -1, false,
         {ToolSelect, ToolSelectGroup, SelectAll, sep,
          BoxBottom, BoxTop, BoxLeft, BoxRight, BoxBack, BoxFront, sep,
          BoxSmaller, BoxLarger, BoxMove, sep,
          BoxSelect, BoxSelectAdd, BoxDeselect, BoxInvert, sep,
          Step5, Step10, Step20, Step40, Step80, sep,
          MoveAdaptCouplings, MoveKeepCouplings, MoveCopy, sep,
          MoveLeft, MoveRight, MoveUp, MoveDown, MoveFront, MoveBack}},
        {6, 59401, 302, ViewBarExpertParts, "Expertenteile", 3, -1, false,
         {Adapter, TubeCap, OpenConnectorEnd, SteeringLock, sep,
          BearingCoupling, HolePinCoupling, HoleCoupling2, HoleCoupling3, HoleCoupling3Turned,
          FlexiArm1, FlexiArm2, PlaceOnConnector, PlaceOnTubeEnd, PlaceOnTube, FlexiBolt15,
          FlexiBolt5, sep,
          ClampClosed, ClampOpen, sep,
          AluProfile60, AluProfile80, AluConnector}},
        {7, 59402, 306, ViewBarComfort, "Komfortfunktionen", 2, 10, false,
         {ToolChangeAngle, ToolChangeSurface, ToolSameSurface, sep,
          AutoAdjust, WideSnap, Explosion, sep,
          CollisionTest, HeadTrapTest, OnlySelected, WalkHeight}},
        {8, 59403, 309, ViewBarDisplay, "Display- und Messebau", 3, 6, false,
         {DisplayPanel, Lattice45, SpecialPanel, sep, ColourBlack, ColourWhite}},
        {9, 59404, 310, ViewBarFunParts, "Fun-Teile", 2, -1, false,
         {SlideModel, Slide, SlideEnd, SlideCurved, PoolLarge, PoolSmall}},
        {10, 59405, 308, ViewBarWheels, "Räder", 2, 11, false,
         {WheelBearing, MultiWheel, SteeringLock, sep,
          BearingCoupling, PlaceOnConnector, PlaceOnTube, FloatingWheel, HubCap, sep,
          Casters}},
        {11, 59406, 307, ViewBarWoodParts, "Holzteile für Möbelbau", 2, 9, false,
         {WoodPanel35, WoodPanel75, WoodKnobPanel35, WoodKnobPanel75, WoodPanelRound,
          WoodBedRail, sep, ChairBack, TubeCap, FlexiBolt5}},
        {12, 59407, 900, ViewBarTextiles, "Textilteile", 2, 7, false,
         {Roof, RoofLarge, TextileStraight, TextileBent, PlayBag}},
    };
}

SMenuItem Item(const char* label, uint32_t command) {
    return {SMenuItem::Kind::Command, label, command, {}};
}
SMenuItem Separator() { return {SMenuItem::Kind::Separator, "", 0, {}}; }
SMenuItem Popup(const char* label, std::vector<SMenuItem> items) {
    return {SMenuItem::Kind::Popup, label, 0, std::move(items)};
}
SMenuItem RecentFiles() { return {SMenuItem::Kind::RecentFiles, kRecentFilesLabel, FileMru1, {}}; }

SMenuItem HelpMenu(bool withSystemInfo) {
    std::vector<SMenuItem> items = {Item("Hilfe Inhalt", HelpIndex), Separator(),
                                    Item("Inf&o über Zarnel...", AppAbout)};
    if (withSystemInfo) {
        items.push_back(Item("Systeminfo in Datei ausgeben ...", SystemInfo));
    }
    return Popup("&?", std::move(items));
}

SMenuItem DocumentFileMenu() {
    return Popup("&Datei", {Item("&Neu\tStrg+N", FileNew), Item("Ö&ffnen...\tStrg+O", FileOpen),
                            Item("&Schließen", FileClose), Item("S&peichern\tStrg+S", FileSave),
                            Item("Speichern &unter...", FileSaveAs), Separator(),
                            Item("&Drucken...\tStrg+P", FilePrint),
                            Item("Sei&tenansicht", FilePrintPreview),
                            Item("Drucker&einrichtung...", FilePrintSetup), Separator(),
                            RecentFiles(), Separator(), Item("&Beenden", AppExit)});
}

SMenuItem WindowMenu(bool withPartsList) {
    std::vector<SMenuItem> items = {
        Item("Neues &Fenster", WindowNew), Item("Über&lappend", WindowCascade),
        Item("&Übereinander", WindowTileHorz), Item("&Nebeneinander", WindowTileVert),
        Item("&Symbole anordnen", WindowArrange)};
    if (withPartsList) {
        items.push_back(Item("Teileliste", WindowPartsList));
    }
    return Popup("&Fenster", std::move(items));
}

std::vector<SMenuInfo> MakeMenus(const std::vector<SToolbarInfo>& toolbars) {
    auto barToggle = [&](int bar) {
        const SToolbarInfo& info = toolbars[static_cast<size_t>(bar)];
        return Item(info.name.c_str(), info.toggleCommand);
    };
    SMenuInfo frameOnly{
        100,
        {Popup("&Datei", {Item("&Neu\tStrg+N", FileNew), Item("Ö&ffnen...\tStrg+O", FileOpen),
                          Separator(), Item("Drucker&einrichtung...", FilePrintSetup),
                          Separator(), RecentFiles(), Separator(), Item("&Beenden", AppExit)}),
         Popup("&Ansicht",
               {Item("&Symbolleiste", ViewToolbar), Item("S&tatusleiste", ViewStatusBar)}),
         HelpMenu(false)}};
    SMenuInfo design{
        101,
        {DocumentFileMenu(),
         Popup("&Bearbeiten",
               {Item("&Rückgängig\tStrg+Z", EditUndo), Item("&Wiederherstellen\tStrg+Y", EditRedo),
                Separator(), Item("&Vergangenheit löschen", DeleteHistory), Separator(),
                Item("Alles Selektieren\tStrg+A", SelectAll), Separator(),
                Item("&Ausschneiden\tStrg+X", EditCut), Item("&Kopieren\tStrg+C", EditCopy),
                Item("E&infügen\tStrg+V", EditPaste), Item("&Löschen\tEntf", DeleteSelection)}),
         Popup("&Ansicht",
               {Popup("Werkzeugleisten",
                      {barToggle(0), barToggle(7), barToggle(2), barToggle(3), barToggle(4),
                       barToggle(5), Separator(), barToggle(1), barToggle(9), barToggle(11),
                       barToggle(10), barToggle(6), barToggle(8)}),
                Item("S&tatusleiste", ViewStatusBar),
                Item("3D Darstellungsqualität Edit ...", QualityEdit),
                Item("3D Darstellungsqualität Photo ...", QualityPhoto),
                Item("Kameraposition ...", CameraDialog)}),
         WindowMenu(true), HelpMenu(true)}};
    SMenuInfo partsList{
        102,
        {DocumentFileMenu(),
         Popup("&Import/Export",
               {Item("Teileliste e&xportieren ...", ExportPartsList),
                Item("Preisliste laden ...", LoadPriceList),
                Item("Preisliste sichern ...", SavePriceList),
                Item("Bestandsliste laden ...", LoadStockList),
                Item("Bestandsliste addieren ...", AddStockList),
                Item("Bestandsliste speichern ...", SaveStockList)}),
         Popup("&Bearbeiten",
               {Item("&Rückgängig\tStrg+Z", EditUndo), Separator(),
                Item("&Ausschneiden\tStrg+X", EditCut), Item("&Kopieren\tStrg+C", EditCopy),
                Item("E&infügen\tStrg+V", EditPaste)}),
         Popup("&Ansicht", {Item("&Symbolleiste", ViewToolbar),
                            Item("S&tatusleiste", ViewStatusBar),
                            Item("Alles anzeigen", ShowAllParts)}),
         WindowMenu(false), HelpMenu(false)}};
    return {frameOnly, design, partsList};
}

std::vector<SAccelerator> MakeAccelerators() {
    auto plain = [](int key, uint32_t command) {
        return SAccelerator{false, false, false, key, command};
    };
    auto ctrl = [](int key, uint32_t command) {
        return SAccelerator{true, false, false, key, command};
    };
    return {
        plain('0', RoundTubeFlat),
        plain('1', Tube15),
        plain('2', Tube25),
        plain('3', Tube35),
        plain('4', Coupling45Horizontal),
        plain('5', Coupling45Vertical),
        plain('6', Coupling45TubeEnd),
        plain('7', Tube75),
        plain('8', RoundTubeUp),
        plain('9', RoundTubeDown),
        plain('B', ColourBlue),
        plain('G', ColourGreen),
        plain('P', Panel35),
        plain('R', ColourRed),
        plain('S', ColourBlack),
        plain('W', ColourWhite),
        plain('Y', ColourYellow),
        plain('Q', PhotoQuality),
        plain(AccelKey::Delete, DeleteSelection),
        SAccelerator{false, true, false, AccelKey::Delete, EditCut},
        ctrl(AccelKey::Insert, EditCopy),
        SAccelerator{false, true, false, AccelKey::Insert, EditPaste},
        SAccelerator{false, false, true, AccelKey::Backspace, EditUndo},
        plain(AccelKey::F6, NextPane),
        SAccelerator{false, true, false, AccelKey::F6, PrevPane},
        ctrl('C', EditCopy),
        ctrl('V', EditPaste),
        ctrl('X', EditCut),
        ctrl('N', FileNew),
        ctrl('O', FileOpen),
        ctrl('S', FileSave),
        ctrl('P', FilePrint),
        ctrl('Z', EditUndo),
        ctrl('Y', EditRedo),
        // Named by the Edit menu's "Alles Selektieren" item.
        ctrl('A', SelectAll),
    };
}

void CollectMenuCommands(const std::vector<SMenuItem>& items, std::set<uint32_t>& commands) {
    for (const SMenuItem& item : items) {
        switch (item.kind) {
        case SMenuItem::Kind::Command: commands.insert(item.command); break;
        case SMenuItem::Kind::RecentFiles:
            for (int i = 0; i < kRecentFileCount; ++i) {
                commands.insert(item.command + static_cast<uint32_t>(i));
            }
            break;
        case SMenuItem::Kind::Popup: CollectMenuCommands(item.items, commands); break;
        case SMenuItem::Kind::Separator: break;
        }
    }
}

struct Tables {
    std::vector<SToolbarInfo> toolbars = MakeToolbars();
    std::vector<SMenuInfo> menus = MakeMenus(toolbars);
    std::vector<SAccelerator> accelerators = MakeAccelerators();
    std::vector<SCommandInfo> commands;
    std::unordered_map<uint32_t, size_t> commandIndex;

    Tables() {
        std::set<uint32_t> onToolbar;
        for (const SToolbarInfo& toolbar : toolbars) {
            for (uint32_t button : toolbar.buttons) {
                if (button != 0) {
                    onToolbar.insert(button);
                }
            }
        }
        std::set<uint32_t> all = onToolbar;
        for (const SMenuInfo& menu : menus) {
            CollectMenuCommands(menu.popups, all);
        }
        for (const SAccelerator& accelerator : accelerators) {
            all.insert(accelerator.command);
        }
        all.insert(kUnlistedCommands.begin(), kUnlistedCommands.end());
        for (uint32_t id : all) {
            commandIndex[id] = commands.size();
            commands.push_back({id, kCheckable.count(id) != 0, onToolbar.count(id) != 0});
        }
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

} // namespace

const std::vector<SCommandInfo>& GetCommands() { return GetTables().commands; }

const SCommandInfo* FindCommand(uint32_t id) {
    const Tables& tables = GetTables();
    auto found = tables.commandIndex.find(id);
    return found == tables.commandIndex.end() ? nullptr : &tables.commands[found->second];
}

const std::vector<SToolbarInfo>& GetToolbars() { return GetTables().toolbars; }

const SToolbarInfo* FindToolbarByToggle(uint32_t toggleCommand) {
    for (const SToolbarInfo& toolbar : GetTables().toolbars) {
        if (toolbar.toggleCommand == toggleCommand) {
            return &toolbar;
        }
    }
    return nullptr;
}

const std::vector<SAccelerator>& GetAccelerators() { return GetTables().accelerators; }

const SMenuInfo* FindMenu(uint32_t menuId) {
    for (const SMenuInfo& menu : GetTables().menus) {
        if (menu.id == menuId) {
            return &menu;
        }
    }
    return nullptr;
}

std::optional<SCommandText> GetCommandText(uint32_t id) {
    std::string text;
    if (!LoadResourceString(id, LANG_ID_GERMAN, text) || text.empty()) {
        return std::nullopt;
    }
    size_t lineBreak = text.find('\n');
    if (lineBreak == std::string::npos) {
        return SCommandText{text, {}};
    }
    return SCommandText{text.substr(0, lineBreak), text.substr(lineBreak + 1)};
}

std::string ToWxMenuLabel(const std::string& label) {
    size_t tab = label.find('\t');
    if (tab == std::string::npos) {
        return label;
    }
    std::string shortcut = label.substr(tab + 1);
    struct KeyName {
        const char* german;
        const char* wx;
    };
    static const KeyName kKeyNames[] = {{"Strg+", "Ctrl+"}, {"Umschalt+", "Shift+"},
                                        {"Entf", "Del"}, {"Einfg", "Ins"}};
    for (const KeyName& name : kKeyNames) {
        for (size_t at = shortcut.find(name.german); at != std::string::npos;
             at = shortcut.find(name.german, at)) {
            shortcut.replace(at, std::char_traits<char>::length(name.german), name.wx);
            at += std::char_traits<char>::length(name.wx);
        }
    }
    return label.substr(0, tab + 1) + shortcut;
}

namespace {

// The key of a shortcut as the system writes it ("Strg+C", "Umschalt+Entf"); nothing for a
// text that names no key of the accelerator table.
std::optional<SAccelerator> ParseShortcut(std::string text) {
    SAccelerator key{false, false, false, 0, 0};
    struct Modifier {
        const char* name;
        bool SAccelerator::*flag;
    };
    static const Modifier kModifiers[] = {{"Strg+", &SAccelerator::ctrl},
                                          {"Umschalt+", &SAccelerator::shift},
                                          {"Alt+", &SAccelerator::alt}};
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& modifier : kModifiers) {
            if (text.starts_with(modifier.name)) {
                key.*modifier.flag = true;
                text.erase(0, std::char_traits<char>::length(modifier.name));
                found = true;
            }
        }
    }
    if (text == "Entf") {
        key.key = AccelKey::Delete;
    } else if (text == "Einfg") {
        key.key = AccelKey::Insert;
    } else if (text.size() == 1 && std::isalnum(static_cast<unsigned char>(text[0]))) {
        key.key = std::toupper(static_cast<unsigned char>(text[0]));
    } else {
        return std::nullopt;
    }
    return key;
}

} // namespace

std::string ToWxMenuLabel(const std::string& label, uint32_t command) {
    const size_t tab = label.find('\t');
    if (tab == std::string::npos) {
        return label;
    }
    const std::optional<SAccelerator> key = ParseShortcut(label.substr(tab + 1));
    const std::vector<SAccelerator>& table = GetAccelerators();
    const bool bound = key && std::any_of(table.begin(), table.end(), [&](const SAccelerator& a) {
                           return a.ctrl == key->ctrl && a.shift == key->shift &&
                                  a.alt == key->alt && a.key == key->key && a.command == command;
                       });
    return bound ? ToWxMenuLabel(label) : label.substr(0, tab);
}
