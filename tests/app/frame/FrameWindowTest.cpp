// The design program's windows on a virtual display: start-up, toolbars and their saved layout,
// menus of each window kind, disabling of unhandled commands, prompts, boxes and the seam.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/settings.h>
#include <wx/statusbr.h>
#include <wx/stockitem.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "app/frame/ChldFrm.h"
#include "app/frame/CommandBars.h"
#include "app/frame/CommandIds.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/WxUserInterface.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/render/RndrQult.h"
#include "app/shell/ZarnelApp.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "support/Profile.h"
#include "support/UserInterface.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

// Every test starts with an empty settings store of its own; the build tree's machine settings
// name the default lists.
class ZarnelWindow : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZARNEL_CONFIG_DIR", m_settings.File("user").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    }

    TempFolder m_settings;
};

CChldFrm* ActiveChild(CZarnelApp& app) {
    return dynamic_cast<CChldFrm*>(app.GetMainFrame()->GetActiveChild());
}

wxUpdateUIEvent Probe(CMainFrm& frame, uint32_t command) {
    wxUpdateUIEvent probe(WxCommandId(command));
    probe.SetEventObject(&frame);
    frame.ProcessWindowEvent(probe);
    return probe;
}

bool IsEnabled(CMainFrm& frame, uint32_t command) {
    return frame.IsCommandEnabled(WxCommandId(command));
}

bool IsChecked(CMainFrm& frame, uint32_t command) {
    wxUpdateUIEvent probe = Probe(frame, command);
    return probe.GetSetChecked() && probe.GetChecked();
}

void SendCommand(CMainFrm& frame, uint32_t command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
}

std::vector<std::string> MenuTitles(wxMenuBar* menuBar) {
    std::vector<std::string> titles;
    for (size_t i = 0; menuBar != nullptr && i < menuBar->GetMenuCount(); ++i) {
        titles.push_back(menuBar->GetMenuLabel(i).utf8_string());
    }
    return titles;
}

std::vector<std::string> ItemLabels(wxMenu* menu) {
    std::vector<std::string> labels;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        labels.push_back(item->IsSeparator() ? "-" : item->GetItemLabel().utf8_string());
    }
    return labels;
}

std::vector<int> VisibleBars(CMainFrm& frame) {
    std::vector<int> bars;
    for (int bar = 0; bar < 13; ++bar) {
        if (frame.IsBarShown(bar)) {
            bars.push_back(bar);
        }
    }
    return bars;
}

wxRect ScreenRect(wxWindow* window) {
    return wxRect(window->GetScreenPosition(), window->GetSize());
}

size_t DocumentCount(CZarnelApp& app) {
    return app.GetDocManager()->GetDocuments().GetCount();
}

TEST_F(ZarnelWindow, StartsWithOneMaximisedDesignWindow) {
    bool ran = false;
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        ran = true;
        CMainFrm& frame = *app.GetMainFrame();
        EXPECT_TRUE(frame.IsShown());
        EXPECT_TRUE(frame.IsMaximized());
        EXPECT_EQ(DocumentCount(app), 1u);
        CChldFrm* child = ActiveChild(app);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(child->IsMaximized());
        EXPECT_EQ(child->GetMenuId(), 101u);
        EXPECT_EQ(child->GetTitle(), "Zarnel1");
        EXPECT_EQ(frame.GetTitle(), "Zarnel - Zarnel1");
        wxStatusBar* statusBar = frame.GetStatusBar();
        ASSERT_NE(statusBar, nullptr);
        EXPECT_EQ(statusBar->GetFieldsCount(), 4);
        EXPECT_EQ(statusBar->GetStatusText(0), "Bereit");
        // The document area fills what the bars leave.
        wxWindow* client = frame.GetClientWindow();
        EXPECT_GT(client->GetSize().x, 1000);
        EXPECT_GT(client->GetSize().y, 600);
        EXPECT_FALSE(TakeScreenshot("zarnel-main-window.png").empty());
        // The application's own settings.
        EXPECT_FALSE(theApp->IsWideSnap());
        EXPECT_EQ(theApp->GetPrintMargins().left, 2500);
        EXPECT_EQ(theApp->GetPrintMargins().top, 1500);
        EXPECT_EQ(theApp->GetPrintMargins().right, 1500);
        EXPECT_EQ(theApp->GetPrintMargins().bottom, 1500);
        ASSERT_NE(theApp->GetEditQuality(), nullptr);
        ASSERT_NE(theApp->GetPhotoQuality(), nullptr);
        EXPECT_EQ(theApp->GetEditQuality()->GetSection(), "RndrQultLow");
        EXPECT_EQ(theApp->GetPhotoQuality()->GetSection(), "RndrQultHigh");
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.dialogs.empty());
    // Closing wrote the toolbar layout and both render-quality profiles.
    EXPECT_EQ(GetProfileInt("Toolbars", "Version", 0), 1);
    EXPECT_NE(GetProfileString("Toolbars", "Layout").find("layout2|"), std::string::npos);
    EXPECT_NE(GetProfileInt("RndrQultLow", "shading", -1), -1);
    EXPECT_NE(GetProfileInt("RndrQultHigh", "shading", -1), -1);
}

TEST_F(ZarnelWindow, ThirteenToolbarsWithTheirButtonsAndTheFirstStartLayout) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        const int buttons[13] = {25, 17, 5, 10, 17, 30, 21, 10, 5, 6, 9, 9, 5};
        const int slots[13] = {31, 17, 5, 10, 20, 36, 24, 12, 6, 6, 11, 10, 5};
        for (int bar = 0; bar < 13; ++bar) {
            SCOPED_TRACE("bar " + std::to_string(bar));
            CCmdToolBar* toolbar = frame.GetToolbar(bar);
            ASSERT_NE(toolbar, nullptr);
            EXPECT_EQ(static_cast<int>(toolbar->GetToolCount()), slots[bar]);
            int buttonCount = 0;
            for (size_t i = 0; i < toolbar->GetToolCount(); ++i) {
                wxAuiToolBarItem* item = toolbar->FindToolByIndex(static_cast<int>(i));
                if (item->GetKind() != wxITEM_SEPARATOR) {
                    ++buttonCount;
                    EXPECT_TRUE(item->GetBitmapBundle().IsOk());
                }
            }
            EXPECT_EQ(buttonCount, buttons[bar]);
        }
        EXPECT_EQ(VisibleBars(frame), (std::vector<int>{0, 1, 2, 3}));

        // Two rows: bar 0 then bar 2, below them bar 3 then bar 1.
        wxRect bar0 = ScreenRect(frame.GetToolbar(0));
        wxRect bar1 = ScreenRect(frame.GetToolbar(1));
        wxRect bar2 = ScreenRect(frame.GetToolbar(2));
        wxRect bar3 = ScreenRect(frame.GetToolbar(3));
        EXPECT_EQ(bar2.y, bar0.y);
        EXPECT_GE(bar2.x, bar0.GetRight());
        EXPECT_EQ(bar1.y, bar3.y);
        EXPECT_GE(bar1.x, bar3.GetRight());
        EXPECT_GT(bar3.y, bar0.y);
        EXPECT_EQ(bar3.x, bar0.x);
        EXPECT_GT(ScreenRect(frame.GetClientWindow()).y, bar3.GetBottom());

        // Tool buttons are check buttons; plain actions are not.
        wxAuiToolBarItem* tube = frame.GetToolbar(1)->FindTool(WxCommandId(CommandId::Tube35));
        ASSERT_NE(tube, nullptr);
        EXPECT_EQ(tube->GetKind(), wxITEM_CHECK);
        wxAuiToolBarItem* open = frame.GetToolbar(0)->FindTool(WxCommandId(CommandId::FileOpen));
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(open->GetKind(), wxITEM_NORMAL);
        EXPECT_EQ(open->GetShortHelp(), wxString::FromUTF8("Öffnen"));
        EXPECT_EQ(frame.GetToolbar(7)->GetToolShortHelp(WxCommandId(CommandId::WideSnap)),
                  wxString::FromUTF8("Vergrößert den Fangradius für den automatischen "
                                     "Positionsausgleich auf 15cm"));
        EXPECT_EQ(frame.GetToolbar(7)->GetToolLongHelp(WxCommandId(CommandId::WideSnap)),
                  "Fangradius=15cm");
    });
}

TEST_F(ZarnelWindow, BarTogglesShowAndHideTheirBarsWithCheckMarks) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        EXPECT_TRUE(IsChecked(frame, CommandId::ViewBarStandardParts));
        SendCommand(frame, CommandId::ViewBarStandardParts);
        EXPECT_FALSE(frame.IsBarShown(1));
        EXPECT_FALSE(IsChecked(frame, CommandId::ViewBarStandardParts));
        SendCommand(frame, CommandId::ViewBarStandardParts);
        EXPECT_TRUE(frame.IsBarShown(1));

        // The textile bar's toggle exists on the main toolbar only.
        EXPECT_FALSE(IsChecked(frame, CommandId::ViewBarTextiles));
        SendCommand(frame, CommandId::ViewBarTextiles);
        EXPECT_TRUE(frame.IsBarShown(12));
        EXPECT_TRUE(IsChecked(frame, CommandId::ViewBarTextiles));
        wxAuiToolBarItem* toggle =
            frame.GetToolbar(0)->FindTool(WxCommandId(CommandId::ViewBarTextiles));
        ASSERT_NE(toggle, nullptr);
        EXPECT_EQ(toggle->GetKind(), wxITEM_CHECK);
        // The button follows in the toolbar's next update.
        EXPECT_TRUE(WaitUntil([&] { return frame.GetToolbar(0)->GetToolToggled(toggle->GetId()); },
                              "the textile bar's button pressed"));

        // The main toolbar and the status bar have the framework's own toggles.
        SendCommand(frame, CommandId::ViewToolbar);
        EXPECT_FALSE(frame.IsBarShown(0));
        EXPECT_FALSE(IsChecked(frame, CommandId::ViewToolbar));
        SendCommand(frame, CommandId::ViewStatusBar);
        EXPECT_FALSE(frame.GetStatusBar()->IsShown());
        EXPECT_FALSE(IsChecked(frame, CommandId::ViewStatusBar));
    });
}

TEST_F(ZarnelWindow, ToolbarLayoutIsWrittenOnExitAndRestoredOnTheNextStart) {
    SAppRunResult first = RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        SendCommand(frame, CommandId::ViewBarColours);
        SendCommand(frame, CommandId::ViewBarFunParts);
        SendCommand(frame, CommandId::ViewStatusBar);
        EXPECT_EQ(VisibleBars(frame), (std::vector<int>{0, 1, 3, 9}));
    });
    EXPECT_EQ(first.exitCode, 0);
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        EXPECT_EQ(VisibleBars(frame), (std::vector<int>{0, 1, 3, 9}));
        EXPECT_FALSE(frame.GetStatusBar()->IsShown());
        // Bar 9 starts its own row below the first two.
        EXPECT_GT(ScreenRect(frame.GetToolbar(9)).y, ScreenRect(frame.GetToolbar(3)).y);
        // A hidden bar kept its place: shown again, it is back right of bar 0.
        SendCommand(frame, CommandId::ViewBarColours);
        WaitUntil(
            [&] { return ScreenRect(frame.GetToolbar(2)).y == ScreenRect(frame.GetToolbar(0)).y; },
            "the colour bar back in the first row");
        EXPECT_EQ(ScreenRect(frame.GetToolbar(2)).y, ScreenRect(frame.GetToolbar(0)).y);
        EXPECT_GE(ScreenRect(frame.GetToolbar(2)).x, ScreenRect(frame.GetToolbar(0)).GetRight());
    });
}

TEST_F(ZarnelWindow, DamagedLayoutRestoresTheDefaultWithTheDocumentAreaVisible) {
    // A layout of this version whose document area was hidden, one that is plain text, and one
    // with a toolbar row so tall that it would cover the document area.
    const std::string hiddenDocuments =
        "layout2|name=mdiclient;caption=;state=258;dir=5;layer=0;row=0;pos=0;prop=100000;"
        "bestw=20;besth=20;minw=-1;minh=-1;maxw=-1;maxh=-1;floatx=-1;floaty=-1;floatw=-1;"
        "floath=-1|dock_size(5,0,0)=20|";
    const std::string damaged[] = {hiddenDocuments, "\x01\x02 kaputt",
                                   "layout2|dock_size(1,10,0)=9000|"};
    for (const std::string& layout : damaged) {
        SCOPED_TRACE(layout);
        ASSERT_TRUE(WriteProfileInt("Toolbars", "Version", 1));
        ASSERT_TRUE(WriteProfileString("Toolbars", "Layout", layout));
        SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
            CMainFrm& frame = *app.GetMainFrame();
            EXPECT_EQ(VisibleBars(frame), (std::vector<int>{0, 1, 2, 3}));
            wxWindow* client = frame.GetClientWindow();
            EXPECT_TRUE(client->IsShownOnScreen());
            EXPECT_GT(client->GetSize().x, 1000);
            EXPECT_GT(client->GetSize().y, 600);
        });
        EXPECT_EQ(result.exitCode, 0);
        // The good layout replaced the damaged one.
        EXPECT_NE(GetProfileString("Toolbars", "Layout"), layout);
    }
    // A layout of another version of the program is not used either.
    ASSERT_TRUE(WriteProfileInt("Toolbars", "Version", 99));
    RunZarnel({}, [&](CZarnelApp& app) {
        EXPECT_EQ(VisibleBars(*app.GetMainFrame()), (std::vector<int>{0, 1, 2, 3}));
    });
}

TEST_F(ZarnelWindow, MissingFileOnTheCommandLineGivesAMessageAndFails) {
    bool ran = false;
    SAppRunResult result =
        RunZarnel({m_settings.File("fehlt/modell.zdf")}, [&](CZarnelApp&) { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_FALSE(result.started);
    EXPECT_NE(result.exitCode, 0);
    // The reader's report alone.
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_NE(result.dialogs[0].message.find(m_settings.File("fehlt/modell.zdf")),
              std::string::npos);
    EXPECT_EQ(result.dialogs[0].title, "Error");
    EXPECT_EQ(result.dialogs[0].labels, (std::vector<std::string>{"OK"}));
    // The shut-down still ran: the profiles were written back.
    EXPECT_NE(GetProfileInt("RndrQultLow", "shading", -1), -1);
}

TEST_F(ZarnelWindow, DesignFileOnTheCommandLineIsOpenedAndListedAsRecent) {
    std::string path = m_settings.File("modell.zdf");
    ASSERT_TRUE(CZarnelDcmt().SaveFile(path, 1, CouplingSnap::NormalSq));
    RunZarnel({path}, [&](CZarnelApp& app) {
        EXPECT_EQ(DocumentCount(app), 1u);
        CChldFrm* child = ActiveChild(app);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->GetTitle(), "modell.zdf");
        // The recent file stands before "&Beenden" in the File menu.
        std::vector<std::string> labels = ItemLabels(child->GetMenuBar()->GetMenu(0));
        ASSERT_GE(labels.size(), 3u);
        EXPECT_EQ(labels[labels.size() - 1], "&Beenden");
        EXPECT_EQ(labels[labels.size() - 2], "-");
        EXPECT_EQ(labels[labels.size() - 3], "&1 " + path);
    });
    EXPECT_EQ(GetProfileString("Recent File List", "File1"), path);
    // The next start lists it in the menu of the main frame as well.
    RunZarnel({}, [&](CZarnelApp& app) {
        app.GetDocManager()->CloseDocuments(false);
        WaitUntil([&] { return MenuTitles(app.GetMainFrame()->GetMenuBar()).size() == 3; },
                  "the main frame's own menu");
        std::vector<std::string> labels = ItemLabels(app.GetMainFrame()->GetMenuBar()->GetMenu(0));
        EXPECT_EQ(labels, (std::vector<std::string>{"&Neu\tCtrl+N", "Ö&ffnen...\tCtrl+O", "-",
                                                    "Drucker&einrichtung...", "-", "&1 " + path,
                                                    "-", "&Beenden"}));
    });
}

TEST_F(ZarnelWindow, MenusOfEachWindowKind) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CChldFrm* design = ActiveChild(app);
        ASSERT_NE(design, nullptr);
        EXPECT_EQ(MenuTitles(design->GetMenuBar()),
                  (std::vector<std::string>{"&Datei", "&Bearbeiten", "&Ansicht", "&Fenster",
                                            "&?"}));
        EXPECT_EQ(ItemLabels(design->GetMenuBar()->GetMenu(1)),
                  (std::vector<std::string>{"&Rückgängig\tCtrl+Z", "&Wiederherstellen\tCtrl+Y",
                                            "-", "&Vergangenheit löschen", "-",
                                            "Alles Selektieren\tCtrl+A", "-",
                                            "&Ausschneiden\tCtrl+X", "&Kopieren\tCtrl+C",
                                            "E&infügen\tCtrl+V", "&Löschen\tDel"}));
        EXPECT_EQ(ItemLabels(design->GetMenuBar()->GetMenu(0)).back(), "&Beenden");
        // The prompt of a command is its help text.
        EXPECT_EQ(design->GetMenuBar()->GetHelpString(WxCommandId(CommandId::SelectAll)),
                  "Markiert alle Elemente als Selektiert");
        wxMenuItem* toggle = design->GetMenuBar()->FindItem(WxCommandId(CommandId::ViewBarWheels));
        ASSERT_NE(toggle, nullptr);
        EXPECT_TRUE(toggle->IsCheckable());
        EXPECT_EQ(toggle->GetItemLabel(), wxString::FromUTF8("Räder"));
        EXPECT_EQ(design->GetMenuBar()->FindItem(WxCommandId(CommandId::ViewBarTextiles)),
                  nullptr);

        // A parts-list window on the same design shows menu 102.
        wxDocument* document = app.GetDocManager()->GetCurrentDocument();
        ASSERT_NE(document, nullptr);
        ASSERT_NE(app.GetPartsListTemplate()->CreateView(document), nullptr);
        WaitUntil([&] { return ActiveChild(app) != design; }, "the parts-list window active");
        CChldFrm* partsList = ActiveChild(app);
        ASSERT_NE(partsList, nullptr);
        EXPECT_NE(partsList, design);
        EXPECT_EQ(partsList->GetMenuId(), 102u);
        EXPECT_TRUE(partsList->IsMaximized());
        EXPECT_EQ(MenuTitles(partsList->GetMenuBar()),
                  (std::vector<std::string>{"&Datei", "&Import/Export", "&Bearbeiten",
                                            "&Ansicht", "&Fenster", "&?"}));
        EXPECT_EQ(ItemLabels(partsList->GetMenuBar()->GetMenu(3)),
                  (std::vector<std::string>{"&Symbolleiste", "S&tatusleiste", "Alles anzeigen"}));

        // Without a document window the main frame's menu 100 is the one.
        app.GetDocManager()->CloseDocuments(false);
        WaitUntil(
            [&] {
                return frame.GetActiveChild() == nullptr &&
                       MenuTitles(frame.GetMenuBar()).size() == 3 && frame.GetTitle() == "Zarnel";
            },
            "the main frame's own menu and title");
        EXPECT_EQ(frame.GetActiveChild(), nullptr);
        EXPECT_EQ(MenuTitles(frame.GetMenuBar()),
                  (std::vector<std::string>{"&Datei", "&Ansicht", "&?"}));
        EXPECT_EQ(ItemLabels(frame.GetMenuBar()->GetMenu(0)),
                  (std::vector<std::string>{"&Neu\tCtrl+N", "Ö&ffnen...\tCtrl+O", "-",
                                            "Drucker&einrichtung...", "-", "Letzte Datei", "-",
                                            "&Beenden"}));
        EXPECT_FALSE(IsEnabled(frame, CommandId::FileMru1));
        EXPECT_EQ(frame.GetTitle(), "Zarnel");

        // File New makes a design window at once, without asking for a kind of document.
        SendCommand(frame, CommandId::FileNew);
        WaitUntil([&] { return ActiveChild(app) != nullptr; }, "the new design window active");
        ASSERT_NE(ActiveChild(app), nullptr);
        EXPECT_EQ(ActiveChild(app)->GetMenuId(), 101u);
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "Zarnel2");
    });
}

TEST_F(ZarnelWindow, NewWindowOpensASecondWindowOnTheSameDesign) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        wxDocument* document = app.GetDocManager()->GetCurrentDocument();
        ASSERT_NE(document, nullptr);
        EXPECT_TRUE(IsEnabled(frame, CommandId::WindowNew));
        CChldFrm* first = ActiveChild(app);
        SendCommand(frame, CommandId::WindowNew);
        WaitUntil([&] { return ActiveChild(app) != first; }, "the second window active");
        EXPECT_EQ(document->GetViewsVector().size(), 2u);
        EXPECT_EQ(DocumentCount(app), 1u);
        ASSERT_NE(ActiveChild(app), nullptr);
        EXPECT_EQ(ActiveChild(app)->GetMenuId(), 101u);
    });
}

TEST_F(ZarnelWindow, CommandsThatNoHandlerEnablesAreDisabled) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        // Handled by the frame, the document manager, the application and the 3D window.
        for (uint32_t command : {CommandId::FileNew, CommandId::FileOpen, CommandId::AppAbout,
                                 CommandId::HelpIndex, CommandId::AppExit,
                                 CommandId::FilePrintSetup, CommandId::ViewBarColours,
                                 CommandId::ViewStatusBar, CommandId::WindowNew,
                                 CommandId::Tube35, CommandId::FilePrintDirect,
                                 CommandId::ColourRed, CommandId::SelectAll,
                                 CommandId::CollisionTest, CommandId::TubeFree,
                                 CommandId::WindowCascade, CommandId::WindowTileVert}) {
            EXPECT_TRUE(IsEnabled(frame, command)) << command;
        }
        WaitUntil([&] { return frame.GetToolbar(1)->GetToolEnabled(WxCommandId(CommandId::TubeFree)); },
                  "the free tube button enabled");
        // With one window shown there is no other pane to move to.
        EXPECT_FALSE(IsEnabled(frame, CommandId::NextPane));
        EXPECT_FALSE(IsChecked(frame, CommandId::NextPane));

        // A handler in the design window enables its command there, and only there.
        CChldFrm* design = ActiveChild(app);
        ASSERT_NE(design, nullptr);
        design->Bind(
            wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); },
            WxCommandId(CommandId::NextPane));
        EXPECT_TRUE(IsEnabled(frame, CommandId::NextPane));

        // In a parts-list window the 3D window's commands are disabled again.
        wxDocument* document = app.GetDocManager()->GetCurrentDocument();
        ASSERT_NE(app.GetPartsListTemplate()->CreateView(document), nullptr);
        WaitUntil([&] { return ActiveChild(app) != design; }, "the parts-list window active");
        ASSERT_NE(ActiveChild(app), design);
        EXPECT_FALSE(IsEnabled(frame, CommandId::NextPane));
        EXPECT_FALSE(IsEnabled(frame, CommandId::TubeFree));
        EXPECT_FALSE(IsEnabled(frame, CommandId::ColourRed));
        EXPECT_FALSE(IsEnabled(frame, CommandId::Tube35));
        WaitUntil(
            [&] {
                return !frame.GetToolbar(2)->GetToolEnabled(WxCommandId(CommandId::ColourRed)) &&
                       !frame.GetToolbar(1)->GetToolEnabled(WxCommandId(CommandId::Tube35)) &&
                       !frame.GetToolbar(1)->GetToolEnabled(WxCommandId(CommandId::TubeFree));
            },
            "the 3D window's buttons disabled");
        EXPECT_FALSE(frame.GetToolbar(2)->GetToolEnabled(WxCommandId(CommandId::ColourRed)));
        EXPECT_FALSE(frame.GetToolbar(1)->GetToolEnabled(WxCommandId(CommandId::Tube35)));
    });
}

// Only keys of the accelerator table run commands, and only while their command is enabled.
TEST_F(ZarnelWindow, AcceleratorsRunOnlyEnabledCommandsOfTheTable) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CChldFrm* design = ActiveChild(app);
        ASSERT_NE(design, nullptr);
        int nextPane = 0;
        design->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++nextPane; },
                     WxCommandId(CommandId::NextPane));
        wxWindow* view = design->GetChildren().GetFirst()->GetData();
        view->SetFocus();
        WaitUntil([view] { return wxWindow::FindFocus() == view; }, "the focus in the 3D window");

        wxUIActionSimulator keyboard;
        // Without an update handler the command is disabled: the key does nothing.
        keyboard.Char(WXK_F6);
        WaitForInput(keyboard);
        EXPECT_EQ(nextPane, 0);
        design->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); },
                     WxCommandId(CommandId::NextPane));
        keyboard.Char(WXK_F6);
        WaitForInput(keyboard);
        EXPECT_EQ(nextPane, 1);

        // The 3D window's keys: B colours the tube tool blue; Ctrl+A selects every element but
        // the floor grid, as the Edit menu says.
        auto* document =
            dynamic_cast<CZarnelWxDocument*>(app.GetDocManager()->GetCurrentDocument());
        ASSERT_NE(document, nullptr);
        const CZarnelDcmt& dcmt = document->GetDcmt();
        keyboard.Char('b');
        WaitForInput(keyboard);
        EXPECT_TRUE(IsChecked(frame, CommandId::ColourBlue));
        keyboard.Char('a', wxMOD_CONTROL);
        WaitForInput(keyboard);
        int selected = 0;
        for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
            EXPECT_EQ(elmnt.selected, elmnt.kind != ElmntKind::FloorGrid);
            selected += elmnt.selected ? 1 : 0;
        }
        EXPECT_EQ(selected, 1);
        EXPECT_TRUE(IsChecked(frame, CommandId::ToolSelect));
        EXPECT_TRUE(frame.IsShown());
    });
}

TEST_F(ZarnelWindow, HoveredItemsAndButtonsShowTheirPromptInTheStatusBar) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CChldFrm* design = ActiveChild(app);
        ASSERT_NE(design, nullptr);
        wxMenuBar* menuBar = design->GetMenuBar();

        wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, WxCommandId(CommandId::SelectAll),
                              menuBar->GetMenu(1));
        highlight.SetEventObject(design);
        design->ProcessWindowEvent(highlight);
        EXPECT_EQ(frame.GetStatusBar()->GetStatusText(0), "Markiert alle Elemente als Selektiert");
        wxMenuEvent close(wxEVT_MENU_CLOSE, 0, menuBar->GetMenu(1));
        close.SetEventObject(design);
        design->ProcessWindowEvent(close);
        EXPECT_EQ(frame.GetStatusBar()->GetStatusText(0), "Bereit");

        // Hovering a button of the main toolbar, then leaving it.
        CCmdToolBar* toolbar = frame.GetToolbar(0);
        wxRect button = toolbar->GetToolRect(WxCommandId(CommandId::FileOpen));
        ASSERT_FALSE(button.IsEmpty());
        wxUIActionSimulator mouse;
        mouse.MouseMove(toolbar->ClientToScreen(button.GetPosition() + wxPoint(5, 5)));
        WaitUntil([&] { return frame.GetStatusBar()->GetStatusText(0) != "Bereit"; },
                  "the button's prompt");
        EXPECT_EQ(frame.GetStatusBar()->GetStatusText(0), wxString::FromUTF8("Öffnen"));
        mouse.MouseMove(frame.GetClientWindow()->GetScreenRect().GetPosition() + wxPoint(400, 400));
        WaitUntil([&] { return frame.GetStatusBar()->GetStatusText(0) == "Bereit"; },
                  "the prompt gone");
        EXPECT_EQ(frame.GetStatusBar()->GetStatusText(0), "Bereit");

        frame.SetStatusText("35cm Rohr");
        EXPECT_EQ(frame.GetStatusBar()->GetStatusText(0), "35cm Rohr");
    });
}

TEST_F(ZarnelWindow, HelpAndAboutBoxes) {
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        SendCommand(frame, CommandId::HelpIndex);
        SendCommand(frame, CommandId::AppAbout);
    });
    ASSERT_EQ(result.dialogs.size(), 2u);
    EXPECT_EQ(result.dialogs[0].title, "Zarnel");
    EXPECT_EQ(result.dialogs[0].message,
              "Es ist keine Hilfedatei installiert. Die Hilfe kann nicht angezeigt werden.");
    EXPECT_EQ(result.dialogs[0].labels, (std::vector<std::string>{"OK"}));
    EXPECT_EQ(result.dialogs[1].title, "Info über Zarnel");
}

TEST_F(ZarnelWindow, AboutBoxShowsItsPictureOnTheFaceColour) {
    RunZarnel({}, [&](CZarnelApp&) {
        wxColour face = WxUserInterface::DialogFaceColour();
        SendCommand(*theApp->GetMainFrame(), CommandId::AppAbout);
        wxImage shown = ResourceImage(609);
        ASSERT_TRUE(shown.IsOk());
        // The top left corner is background: colour 7, set to the face colour by the box.
        EXPECT_EQ(shown.GetRed(0, 0), face.Red());
        EXPECT_EQ(shown.GetGreen(0, 0), face.Green());
        EXPECT_EQ(shown.GetBlue(0, 0), face.Blue());
    });
}

TEST_F(ZarnelWindow, UserInterfaceSeamOnWx) {
    RunZarnel({}, [&](CZarnelApp& app) {
        DialogRecorder* recorder = ActiveDialogRecorder();
        ASSERT_NE(recorder, nullptr);
        UserInterface& ui = GetUserInterface();

        recorder->answer = wxID_YES;
        EXPECT_EQ(ui.ShowMessageBox("Frage?", "", MsgButtons::YesNoCancel, MsgIcon::Question),
                  MsgAnswer::Yes);
        recorder->answer = wxID_NO;
        EXPECT_EQ(ui.ShowMessageBox("Frage?", "Titel", MsgButtons::YesNo, MsgIcon::Question),
                  MsgAnswer::No);
        recorder->answer = wxID_OK;
        EXPECT_EQ(ui.ShowMessageBox("Nochmal?", "", MsgButtons::RetryCancel, MsgIcon::Error),
                  MsgAnswer::Retry);
        recorder->answer = wxID_CANCEL;
        EXPECT_EQ(ui.ShowMessageBox("Weiter?", "", MsgButtons::OkCancel, MsgIcon::Exclamation),
                  MsgAnswer::Cancel);
        ASSERT_EQ(recorder->dialogs.size(), 4u);
        EXPECT_EQ(recorder->dialogs[0].labels,
                  (std::vector<std::string>{"Ja", "Nein", "Abbrechen"}));
        EXPECT_EQ(recorder->dialogs[0].title, "Zarnel");
        EXPECT_EQ(recorder->dialogs[1].labels, (std::vector<std::string>{"Ja", "Nein"}));
        EXPECT_EQ(recorder->dialogs[1].title, "Titel");
        EXPECT_EQ(recorder->dialogs[2].labels,
                  (std::vector<std::string>{"Wiederholen", "Abbrechen"}));
        EXPECT_EQ(recorder->dialogs[3].labels, (std::vector<std::string>{"OK", "Abbrechen"}));

        // The wait cursor nests.
        ui.BeginBusy();
        ui.BeginBusy();
        ui.EndBusy();
        EXPECT_TRUE(wxIsBusy());
        ui.EndBusy();
        EXPECT_FALSE(wxIsBusy());

        // Plain text through the clipboard.
        ASSERT_TRUE(ui.SetClipboardText("tube2{ 1, 2 }\r\nGröße"));
        std::optional<std::string> text = ui.GetClipboardText();
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, "tube2{ 1, 2 }\r\nGröße");

        // The colour in which dialogs are painted.
        wxDialog dialog(app.GetMainFrame(), wxID_ANY, "Probe");
        wxColour face = dialog.GetBackgroundColour();
        EXPECT_EQ(ui.GetButtonFaceColour(),
                  static_cast<uint32_t>(face.Red() | face.Green() << 8 | face.Blue() << 16));
    });
}

TEST_F(ZarnelWindow, NumbersFollowTheUsersLocale) {
    const char* locale = std::getenv("LC_ALL");
    bool german = locale != nullptr && std::string(locale).rfind("de_DE", 0) == 0;
    RunZarnel({}, [&](CZarnelApp&) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", 1.5);
        EXPECT_STREQ(text, german ? "1,50" : "1.50");
    });
}

TEST_F(ZarnelWindow, ToolkitTextsFollowTheUsersLanguageAndTheProgramsStayGerman) {
    const char* locale = std::getenv("LC_ALL");
    bool german = locale != nullptr && std::string(locale).rfind("de_DE", 0) == 0;
    RunZarnel({}, [&](CZarnelApp& app) {
        // Standard buttons and the print preview's texts come from the toolkit's catalogue.
        EXPECT_EQ(wxGetStockLabel(wxID_CANCEL, wxSTOCK_NOFLAGS), german ? "Abbrechen" : "Cancel");
        EXPECT_EQ(wxGetTranslation("Close"), german ? wxString::FromUTF8("Schließen") : "Close");
        // The program's own texts are German under any locale.
        EXPECT_EQ(app.GetMainFrame()->GetMenuBar()->GetMenuLabel(0), "&Datei");
        EXPECT_EQ(app.GetMainFrame()->GetStatusBar()->GetStatusText(0), "Bereit");
    });
}

} // namespace
