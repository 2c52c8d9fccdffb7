// The command table as data: toolbars, texts, accelerators, menus and wx numbers.
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/frame/CommandIds.h"
#include "app/frame/CommandTable.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocTemplate.h"
#include "support/Resources.h"

namespace {

std::vector<uint32_t> ButtonsOf(const SToolbarInfo& toolbar) {
    std::vector<uint32_t> buttons;
    for (uint32_t command : toolbar.buttons) {
        if (command != 0) {
            buttons.push_back(command);
        }
    }
    return buttons;
}

// Labels of a menu's items, separators as "-", popups as their label followed by their items
// in brackets.
std::string Outline(const std::vector<SMenuItem>& items) {
    std::string text;
    for (const SMenuItem& item : items) {
        if (!text.empty()) {
            text += " | ";
        }
        switch (item.kind) {
        case SMenuItem::Kind::Separator: text += "-"; break;
        case SMenuItem::Kind::Popup: text += item.label + " [" + Outline(item.items) + "]"; break;
        case SMenuItem::Kind::Command:
        case SMenuItem::Kind::RecentFiles:
            text += item.label + " " + std::to_string(item.command);
            break;
        }
    }
    return text;
}

TEST(CommandTableToolbars, ThirteenBarsWithTheirNumbersRowsAndFirstStartVisibility) {
    struct Expected {
        uint32_t windowId;
        uint32_t resource;
        size_t buttons;
        size_t slots;
        uint32_t toggle;
        const char* name;
        int row;
        int rightOf;
        bool visible;
    };
    const Expected expected[] = {
        {59392, 100, 25, 31, 59392, "&Editieren / Standardfunktionen", 0, -1, true},
        {59396, 303, 17, 17, 32901, "Standardteile", 1, 3, true},
        {59397, 304, 5, 5, 32902, "Farben", 0, 0, true},
        {59398, 300, 10, 10, 32880, "Ansicht und Kameraposition", 1, -1, true},
        {59399, 305, 17, 20, 32904, "Ansicht für große Objekte", 4, -1, false},
        {59400, 301, 30, 36, 32881, "Selektieren und Verschieben", 5, -1, false},
        {59401, 302, 21, 24, 32882, "Expertenteile", 3, -1, false},
        {59402, 306, 10, 12, 32953, "Komfortfunktionen", 2, 10, false},
        {59403, 309, 5, 6, 32962, "Display- und Messebau", 3, 6, false},
        {59404, 310, 6, 6, 32963, "Fun-Teile", 2, -1, false},
        {59405, 308, 9, 11, 32965, "Räder", 2, 11, false},
        {59406, 307, 9, 10, 32964, "Holzteile für Möbelbau", 2, 9, false},
        {59407, 900, 5, 5, 32993, "Textilteile", 2, 7, false},
    };
    const std::vector<SToolbarInfo>& toolbars = GetToolbars();
    ASSERT_EQ(toolbars.size(), 13u);
    for (size_t bar = 0; bar < 13; ++bar) {
        SCOPED_TRACE("bar " + std::to_string(bar));
        const SToolbarInfo& toolbar = toolbars[bar];
        const Expected& want = expected[bar];
        EXPECT_EQ(toolbar.bar, static_cast<int>(bar));
        EXPECT_EQ(toolbar.windowId, want.windowId);
        EXPECT_EQ(toolbar.resource, want.resource);
        EXPECT_EQ(ButtonsOf(toolbar).size(), want.buttons);
        EXPECT_EQ(toolbar.buttons.size(), want.slots);
        EXPECT_EQ(toolbar.toggleCommand, want.toggle);
        EXPECT_EQ(toolbar.name, want.name);
        EXPECT_EQ(toolbar.row, want.row);
        EXPECT_EQ(toolbar.rightOf, want.rightOf);
        EXPECT_EQ(toolbar.visibleAtStart, want.visible);
        EXPECT_EQ(FindToolbarByToggle(want.toggle), &toolbar);
    }
}

TEST(CommandTableToolbars, RowThreeReadsNineElevenTenSevenTwelve) {
    // Follow the "right of" links from the first bar of the row.
    const std::vector<SToolbarInfo>& toolbars = GetToolbars();
    std::vector<int> row;
    int current = 9;
    while (current >= 0) {
        row.push_back(current);
        int next = -1;
        for (const SToolbarInfo& toolbar : toolbars) {
            if (toolbar.rightOf == current) {
                next = toolbar.bar;
            }
        }
        current = next;
    }
    EXPECT_EQ(row, (std::vector<int>{9, 11, 10, 7, 12}));
}

TEST(CommandTableToolbars, ButtonsInThePartsOrderWithSeparators) {
    using namespace CommandId;
    EXPECT_EQ(GetToolbars()[0].buttons,
              (std::vector<uint32_t>{57600, 57601, 57603, 32821, 57608, 0, 57635, 57634, 57637,
                                     32974, 0, 57643, 57644, 0, 32809, 32803, 0, 32901, 32902,
                                     32880, 0, 32963, 32993, 32964, 32965, 32953, 0, 32882, 32962,
                                     32904, 32881}));
    EXPECT_EQ(GetToolbars()[3].buttons,
              (std::vector<uint32_t>{32783, 32784, 32798, 32797, 32782, 32799, 32792, 32790,
                                     32794, 32795}));
    EXPECT_EQ(GetToolbars()[10].buttons,
              (std::vector<uint32_t>{32883, 32878, 32884, 0, 32928, 32969, 32972, 32879, 32887,
                                     0, 32929}));
    EXPECT_EQ(GetToolbars()[9].buttons.front(), SlideModel);
}

TEST(CommandTableToolbars, IdsAreUniqueOnEachBar) {
    for (const SToolbarInfo& toolbar : GetToolbars()) {
        SCOPED_TRACE("bar " + std::to_string(toolbar.bar));
        std::vector<uint32_t> buttons = ButtonsOf(toolbar);
        std::set<uint32_t> unique(buttons.begin(), buttons.end());
        EXPECT_EQ(unique.size(), buttons.size());
    }
}

TEST(CommandTableToolbars, SharedCommandsStandOnTwoBars) {
    std::map<uint32_t, int> bars;
    for (const SToolbarInfo& toolbar : GetToolbars()) {
        for (uint32_t command : ButtonsOf(toolbar)) {
            ++bars[command];
        }
    }
    std::set<uint32_t> shared;
    for (const auto& [command, count] : bars) {
        EXPECT_LE(count, 2) << command;
        if (count == 2) {
            shared.insert(command);
        }
    }
    // The seven of the parts bars, and the select tool of the main and the selection bar.
    EXPECT_EQ(shared, (std::set<uint32_t>{32809, 32884, 32888, 32928, 32949, 32969, 32972,
                                          32998}));
}

TEST(CommandTableTexts, EveryToolbarCommandHasPromptAndTooltip) {
    for (const SToolbarInfo& toolbar : GetToolbars()) {
        for (uint32_t command : ButtonsOf(toolbar)) {
            SCOPED_TRACE("command " + std::to_string(command));
            std::optional<SCommandText> text = GetCommandText(command);
            if (command == CommandId::FilePrintDirect || command == CommandId::SlideModel) {
                // The two buttons that the system leaves without a text.
                EXPECT_FALSE(text.has_value());
                continue;
            }
            ASSERT_TRUE(text.has_value());
            EXPECT_FALSE(text->prompt.empty());
            EXPECT_FALSE(text->tooltip.empty());
        }
    }
}

TEST(CommandTableTexts, PromptsAndTooltipsAsTheSystemWritesThem) {
    struct Row {
        uint32_t command;
        const char* prompt;
        const char* tooltip;
    };
    const Row rows[] = {
        {32967, "10cm Rohrlänge", "10cm Rohr"},
        {32801, "35cm Rohr", "35cm Rohr"},
        {32782, "Ansicht von oben", " Vogelperspektive"},
        {32997, "Fangradius=15cm",
         "Vergrößert den Fangradius für den automatischen Positionsausgleich auf 15cm"},
        {32821, "Bild rendern und als Bitmapdatei abspeichern", "Bild speichern"},
        {32958, "Überprüft, ob sich keine Elemente überlappen", "Kollisionstest"},
        {32857, "Deselktiert die Objekte in der Selektionsbox", "Deselektieren"},
        {32819, "Wählt die \"Photo\"-Darstellungsqualität aus", "Photo-Qualität"},
        {32904, "Ansicht großer Objekte ein-/ausblenden", "Ansicht großer Objekte ein-/ausblenden"},
        {32907, "15/20cm Halbsteckplatte", "15/20cm Halbsteckplatte"},
        {32834, "Öffnet ein Dialogfenster zum Einstellen der Kameraparameter", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("command " + std::to_string(row.command));
        std::optional<SCommandText> text = GetCommandText(row.command);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(text->prompt, row.prompt);
        EXPECT_EQ(text->tooltip, row.tooltip);
    }
}

TEST(CommandTableTexts, EveryButtonHasAPicture) {
    for (const SToolbarInfo& toolbar : GetToolbars()) {
        for (uint32_t command : ButtonsOf(toolbar)) {
            SCOPED_TRACE("command " + std::to_string(command));
            const SCommandInfo* info = FindCommand(command);
            ASSERT_NE(info, nullptr);
            EXPECT_TRUE(info->hasPicture);
            uint32_t size = 0;
            const unsigned char* bitmap = FindResourceData(ResourceType::Bitmap, command, &size);
            ASSERT_NE(bitmap, nullptr);
            // A 16 x 15 picture behind its 40-byte header.
            ASSERT_GE(size, 40u);
            EXPECT_EQ(bitmap[4] | bitmap[5] << 8, 16);
            EXPECT_EQ(bitmap[8] | bitmap[9] << 8, 15);
        }
    }
}

TEST(CommandTableAccelerators, TableOneHundredKeysAndCommands) {
    struct Row {
        bool ctrl, shift, alt;
        int key;
        uint32_t command;
    };
    const Row expected[] = {
        {false, false, false, '0', 32814}, {false, false, false, '1', 32800},
        {false, false, false, '2', 32966}, {false, false, false, '3', 32801},
        {false, false, false, '4', 32835}, {false, false, false, '5', 32838},
        {false, false, false, '6', 32986}, {false, false, false, '7', 32802},
        {false, false, false, '8', 32811}, {false, false, false, '9', 32813},
        {false, false, false, 'B', 32788}, {false, false, false, 'G', 32787},
        {false, false, false, 'P', 32817}, {false, false, false, 'R', 32786},
        {false, false, false, 'S', 32984}, {false, false, false, 'W', 32985},
        {false, false, false, 'Y', 32789}, {false, false, false, 'Q', 32819},
        {false, false, false, AccelKey::Delete, 32974},
        {false, true, false, AccelKey::Delete, 57635},
        {true, false, false, AccelKey::Insert, 57634},
        {false, true, false, AccelKey::Insert, 57637},
        {false, false, true, AccelKey::Backspace, 57643},
        {false, false, false, AccelKey::F6, 57680}, {false, true, false, AccelKey::F6, 57681},
        {true, false, false, 'C', 57634}, {true, false, false, 'V', 57637},
        {true, false, false, 'X', 57635}, {true, false, false, 'N', 57600},
        {true, false, false, 'O', 57601}, {true, false, false, 'S', 57603},
        {true, false, false, 'P', 57607}, {true, false, false, 'Z', 57643},
        {true, false, false, 'Y', 57644}, {true, false, false, 'A', 32980},
    };
    const std::vector<SAccelerator>& table = GetAccelerators();
    ASSERT_EQ(table.size(), std::size(expected));
    for (const Row& row : expected) {
        SCOPED_TRACE("key " + std::to_string(row.key));
        auto found = std::find_if(table.begin(), table.end(), [&](const SAccelerator& entry) {
            return entry.ctrl == row.ctrl && entry.shift == row.shift && entry.alt == row.alt &&
                   entry.key == row.key;
        });
        ASSERT_NE(found, table.end());
        EXPECT_EQ(found->command, row.command);
    }
}

TEST(CommandTableMenus, MenuOneHundredWithoutADocument) {
    const SMenuInfo* menu = FindMenu(100);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Outline(menu->popups),
              "&Datei [&Neu\tStrg+N 57600 | Ö&ffnen...\tStrg+O 57601 | - | "
              "Drucker&einrichtung... 57606 | - | Letzte Datei 57616 | - | &Beenden 57665] | "
              "&Ansicht [&Symbolleiste 59392 | S&tatusleiste 59393] | "
              "&? [Hilfe Inhalt 57666 | - | Inf&o über Zarnel... 57664]");
}

TEST(CommandTableMenus, MenuOneHundredOneOfTheDesignWindow) {
    const SMenuInfo* menu = FindMenu(101);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->popups.size(), 5u);
    EXPECT_EQ(Outline(menu->popups[0].items),
              "&Neu\tStrg+N 57600 | Ö&ffnen...\tStrg+O 57601 | &Schließen 57602 | "
              "S&peichern\tStrg+S 57603 | Speichern &unter... 57604 | - | "
              "&Drucken...\tStrg+P 57607 | Sei&tenansicht 57609 | Drucker&einrichtung... 57606 | "
              "- | Letzte Datei 57616 | - | &Beenden 57665");
    EXPECT_EQ(Outline({menu->popups[1]}),
              "&Bearbeiten [&Rückgängig\tStrg+Z 57643 | &Wiederherstellen\tStrg+Y 57644 | - | "
              "&Vergangenheit löschen 32976 | - | Alles Selektieren\tStrg+A 32980 | - | "
              "&Ausschneiden\tStrg+X 57635 | &Kopieren\tStrg+C 57634 | E&infügen\tStrg+V 57637 | "
              "&Löschen\tEntf 32974]");
    EXPECT_EQ(Outline({menu->popups[2]}),
              "&Ansicht [Werkzeugleisten [&Editieren / Standardfunktionen 59392 | "
              "Komfortfunktionen 32953 | Farben 32902 | Ansicht und Kameraposition 32880 | "
              "Ansicht für große Objekte 32904 | Selektieren und Verschieben 32881 | - | "
              "Standardteile 32901 | Fun-Teile 32963 | Holzteile für Möbelbau 32964 | "
              "Räder 32965 | Expertenteile 32882 | Display- und Messebau 32962] | "
              "S&tatusleiste 59393 | 3D Darstellungsqualität Edit ... 32815 | "
              "3D Darstellungsqualität Photo ... 32816 | Kameraposition ... 32834]");
    EXPECT_EQ(Outline({menu->popups[3]}),
              "&Fenster [Neues &Fenster 57648 | Über&lappend 57650 | &Übereinander 57651 | "
              "&Nebeneinander 57652 | &Symbole anordnen 57649 | Teileliste 32822]");
    EXPECT_EQ(Outline({menu->popups[4]}),
              "&? [Hilfe Inhalt 57666 | - | Inf&o über Zarnel... 57664 | "
              "Systeminfo in Datei ausgeben ... 32824]");
}

TEST(CommandTableMenus, MenuOneHundredTwoOfThePartsListWindow) {
    const SMenuInfo* menu = FindMenu(102);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->popups.size(), 6u);
    EXPECT_EQ(Outline(menu->popups[0].items), Outline(FindMenu(101)->popups[0].items));
    EXPECT_EQ(Outline({menu->popups[1]}),
              "&Import/Export [Teileliste e&xportieren ... 32825 | Preisliste laden ... 32827 | "
              "Preisliste sichern ... 32828 | Bestandsliste laden ... 32829 | "
              "Bestandsliste addieren ... 32832 | Bestandsliste speichern ... 32830]");
    EXPECT_EQ(Outline({menu->popups[2]}),
              "&Bearbeiten [&Rückgängig\tStrg+Z 57643 | - | &Ausschneiden\tStrg+X 57635 | "
              "&Kopieren\tStrg+C 57634 | E&infügen\tStrg+V 57637]");
    EXPECT_EQ(Outline({menu->popups[3]}),
              "&Ansicht [&Symbolleiste 59392 | S&tatusleiste 59393 | Alles anzeigen 32833]");
    EXPECT_EQ(Outline({menu->popups[4]}),
              "&Fenster [Neues &Fenster 57648 | Über&lappend 57650 | &Übereinander 57651 | "
              "&Nebeneinander 57652 | &Symbole anordnen 57649]");
    EXPECT_EQ(Outline({menu->popups[5]}), Outline({FindMenu(100)->popups[2]}));
    EXPECT_EQ(FindMenu(103), nullptr);
}

TEST(CommandTableMenus, NoMenuListsAPartTool) {
    std::set<uint32_t> inMenus;
    std::function<void(const std::vector<SMenuItem>&)> collect =
        [&](const std::vector<SMenuItem>& items) {
            for (const SMenuItem& item : items) {
                inMenus.insert(item.command);
                collect(item.items);
            }
        };
    for (uint32_t id : {100u, 101u, 102u}) {
        collect(FindMenu(id)->popups);
    }
    for (uint32_t tool : {CommandId::Tube35, CommandId::Panel35, CommandId::ColourRed,
                          CommandId::Slide, CommandId::ViewBarTextiles}) {
        EXPECT_EQ(inMenus.count(tool), 0u) << tool;
    }
}

TEST(CommandTableCommands, CheckableCommandsAreTheToolsOptionsAndToggles) {
    struct Row {
        uint32_t command;
        bool checkable;
    };
    const Row rows[] = {
        {CommandId::Tube35, true},       {CommandId::ColourRed, true},
        {CommandId::ViewBarTextiles, true}, {CommandId::ViewToolbar, true},
        {CommandId::ViewStatusBar, true}, {CommandId::ShowAllParts, true},
        {CommandId::Step40, true},       {CommandId::PlaceOnTubeEnd, true},
        {CommandId::FileNew, false},     {CommandId::EditUndo, false},
        {CommandId::ModelLeft, false},   {CommandId::SectionBack, false},
        {CommandId::MoveUp, false},      {CommandId::CollisionTest, false},
        {CommandId::SelectAll, false},   {CommandId::BoxSmaller, false},
    };
    for (const Row& row : rows) {
        const SCommandInfo* info = FindCommand(row.command);
        ASSERT_NE(info, nullptr) << row.command;
        EXPECT_EQ(info->checkable, row.checkable) << row.command;
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTableCommands, WxNumbersAreValidUniqueAndLeadBack) {
    std::set<int> seen;
    for (const SCommandInfo& info : GetCommands()) {
        SCOPED_TRACE("command " + std::to_string(info.id));
        int wxId = WxCommandId(info.id);
        EXPECT_GT(wxId, 0);
        EXPECT_LT(wxId, 0x7FFF);
        EXPECT_TRUE(seen.insert(wxId).second);
        EXPECT_EQ(SystemCommandId(wxId), info.id);
    }
    EXPECT_EQ(WxCommandId(CommandId::FileNew), wxID_NEW);
    EXPECT_EQ(WxCommandId(CommandId::EditUndo), wxID_UNDO);
    EXPECT_EQ(WxCommandId(CommandId::FileMru1 + 3), wxID_FILE4);
    EXPECT_EQ(SystemCommandId(wxID_FILE5), 0u);
    EXPECT_EQ(SystemCommandId(wxID_ANY), 0u);
}

TEST(CommandTableLabels, GermanKeyNamesBecomeWxKeyNames) {
    EXPECT_EQ(ToWxMenuLabel("&Neu\tStrg+N"), "&Neu\tCtrl+N");
    EXPECT_EQ(ToWxMenuLabel("Alles Selektieren\tStrg+A"), "Alles Selektieren\tCtrl+A");
    EXPECT_EQ(ToWxMenuLabel("&Löschen\tEntf"), "&Löschen\tDel");
    EXPECT_EQ(ToWxMenuLabel("Strg ohne Kürzel"), "Strg ohne Kürzel");
    EXPECT_EQ(ToWxMenuLabel("Drucker&einrichtung..."), "Drucker&einrichtung...");
}

// A shortcut in a wx label is a key binding of its own: the menus show a shortcut only when the
// accelerator table binds that key to the item's command.
TEST(CommandTableLabels, MenusShowOnlyShortcutsOfTheAcceleratorTable) {
    EXPECT_EQ(ToWxMenuLabel("Alles Selektieren\tStrg+A", CommandId::SelectAll),
              "Alles Selektieren\tCtrl+A");
    EXPECT_EQ(ToWxMenuLabel("Alles Selektieren\tStrg+A", CommandId::EditCopy),
              "Alles Selektieren");
    EXPECT_EQ(ToWxMenuLabel("&Kopieren\tStrg+C", CommandId::EditCopy), "&Kopieren\tCtrl+C");
    EXPECT_EQ(ToWxMenuLabel("&Löschen\tEntf", CommandId::DeleteSelection), "&Löschen\tDel");
    EXPECT_EQ(ToWxMenuLabel("&Einfügen\tUmschalt+Einfg", CommandId::EditPaste),
              "&Einfügen\tShift+Ins");
    EXPECT_EQ(ToWxMenuLabel("&Kopieren\tStrg+V", CommandId::EditCopy), "&Kopieren");
    EXPECT_EQ(ToWxMenuLabel("&Kopieren\tStrg+Umschalt+C", CommandId::EditCopy), "&Kopieren");

    // Every shortcut that a menu names reaches its command through the table, so it is shown.
    std::function<void(const std::vector<SMenuItem>&)> check =
        [&](const std::vector<SMenuItem>& items) {
            for (const SMenuItem& item : items) {
                check(item.items);
                if (item.kind != SMenuItem::Kind::Command ||
                    item.label.find('\t') == std::string::npos) {
                    continue;
                }
                SCOPED_TRACE(item.label);
                EXPECT_NE(ToWxMenuLabel(item.label, item.command).find('\t'), std::string::npos);
            }
        };
    for (uint32_t id : {100u, 101u, 102u}) {
        check(FindMenu(id)->popups);
    }
}

} // namespace

namespace {

TEST(DocumentTemplates, FieldsOfTheDocumentStrings) {
    std::string design;
    ASSERT_TRUE(LoadResourceString(101, LANG_ID_GERMAN, design));
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 0), "");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 1), "Zarnel");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 2), "Zarnel Design");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 3), "Zarnel Design Dateien (*.zdf)");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 4), ".zdf");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 5), "Zarnel.Document");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 6), "Zarnel Document");
    EXPECT_EQ(CZarnelDocTemplate::DocString(design, 7), "");
    std::string partsList;
    ASSERT_TRUE(LoadResourceString(102, LANG_ID_GERMAN, partsList));
    EXPECT_EQ(partsList, "\n\n\n\n\n\n");
    for (int field = 0; field < 7; ++field) {
        EXPECT_EQ(CZarnelDocTemplate::DocString(partsList, field), "") << field;
    }
}

} // namespace
