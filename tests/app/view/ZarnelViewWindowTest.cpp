// The 3D view in the design program on a virtual display: a sample design drawn in the window,
// the viewport of a picture format, the camera binding, the tool commands with their side
// effects on the application and the design, the update hints, the system-information report
// and the printed page.
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/docview.h>
#include <wx/image.h>
#include <wx/print.h>

#include "app/frame/ChldFrm.h"
#include "app/frame/CommandIds.h"
#include "app/frame/CommandTable.h"
#include "app/frame/DocumentAppHost.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/render/RndrQult.h"
#include "app/shell/ZarnelApp.h"
#include "app/view/ToolCommands.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelPrintout.h"
#include "app/view/ZarnelView.h"
#include "app/view/ZarnelViewCommands.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "support/UserInterface.h"
#include "tests/app/frame/AppRun.h"
#include "tests/app/view/ViewWindowKit.h"
#include "tests/harness/TempFolder.h"

namespace {

const std::string kPlayTower = std::string(ZARNEL_DATA_DIR) + "/play-tower.zdf";

using ViewWindow = ViewWindowTest;

struct SPixels {
    int nonWhite = 0;
    int black = 0;
    int red = 0;
};

SPixels Count(const std::vector<uint8_t>& rgb, int channels) {
    SPixels counts;
    for (size_t i = 0; i + 2 < rgb.size(); i += static_cast<size_t>(channels)) {
        const int r = rgb[i];
        const int g = rgb[i + 1];
        const int b = rgb[i + 2];
        if (r == 255 && g == 255 && b == 255) {
            continue;
        }
        ++counts.nonWhite;
        counts.black += r < 30 && g < 30 && b < 30 ? 1 : 0;
        counts.red += r > 100 && r > 2 * g && r > 2 * b ? 1 : 0;
    }
    return counts;
}

// The open print preview window, or nullptr.
wxPreviewFrame* PreviewFrame() {
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* preview = dynamic_cast<wxPreviewFrame*>(window); preview != nullptr) {
            return preview;
        }
    }
    return nullptr;
}

// What the window shows on the screen after a fresh paint, as RGB rows from the top; the
// screenshot is kept under the name.
std::vector<uint8_t> WindowPixels(CZarnelView& view, const std::string& name) {
    WaitUntilPainted(*view.GetCanvas());
    const std::string path = TakeScreenshot(name);
    EXPECT_FALSE(path.empty());
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) {
        wxImage::AddHandler(new wxPNGHandler);
    }
    wxImage screen(wxString::FromUTF8(path.c_str()), wxBITMAP_TYPE_PNG);
    const wxRect window = view.GetCanvas()->GetScreenRect();
    if (!screen.IsOk() || !wxRect(screen.GetSize()).Contains(window)) {
        ADD_FAILURE() << "no screenshot of the window";
        return {};
    }
    wxImage shown = screen.GetSubImage(window);
    return std::vector<uint8_t>(
        shown.GetData(), shown.GetData() + static_cast<size_t>(window.width) * window.height * 3);
}

TEST_F(ViewWindow, SampleDesignIsDrawnInTheWholeWindow) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->HasContext());
        EXPECT_EQ(view->GetCameraIndex(), 0);
        CZarnelDcmt& dcmt = *view->GetDcmt();
        EXPECT_EQ(view->GetCamera(), &dcmt.GetCamera(0));
        // The screen picture format: the viewport is the window, and the camera's aspect its.
        const wxSize client = view->GetCanvas()->GetClientPixels();
        EXPECT_GT(client.x, 1000);
        EXPECT_EQ(view->GetViewport(), (SViewport{0, 0, client.x, client.y}));
        EXPECT_EQ(view->GetCamera()->viewportWidth, client.x);
        EXPECT_DOUBLE_EQ(view->GetCamera()->aspect, static_cast<double>(client.x) / client.y);

        const SPixels shown = Count(WindowPixels(*view, "zarnel-play-tower.png"), 3);
        EXPECT_GT(shown.red, 2000) << "the red tubes of the tower";
        EXPECT_LT(shown.nonWhite, client.x * client.y / 2) << "the ground is white";

        // A bitmap of the scene in photo quality; the window's tool and quality stay.
        view->SetTool(ToolMode::BoxTop);
        std::unique_ptr<CDIB> bitmap = view->RenderToBitmap(400, 300);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(view->GetToolMode(), ToolMode::BoxTop);
        EXPECT_EQ(view->GetQuality(), theApp->GetEditQuality());
        wxImage image = CZarnelPrintout::ImageFromBitmap(*bitmap);
        const SPixels rendered =
            Count(std::vector<uint8_t>(image.GetData(), image.GetData() + 400 * 300 * 3), 3);
        EXPECT_GT(rendered.red, 200);
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) {
            wxImage::AddHandler(new wxPNGHandler);
        }
        image.SaveFile(std::string(ZARNEL_ARTIFACT_DIR) + "/zarnel-play-tower-bitmap.png",
                       wxBITMAP_TYPE_PNG);
        // The window draws as before.
        EXPECT_GT(Count(WindowPixels(*view, "zarnel-play-tower-again.png"), 3).red, 2000);
    });
    EXPECT_TRUE(result.started);
    for (const SDialogRecord& dialog : result.dialogs) {
        ADD_FAILURE() << dialog.title << ": " << dialog.message;
    }
}

TEST_F(ViewWindow, PictureFormatNarrowsTheViewportAndFramesIt) {
    RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CCmra& camera = *view->GetCamera();
        camera.pictureFormat = PictureFormat::Photo;
        camera.Update();
        view->SetViewport();
        const wxSize client = view->GetClientPixels();
        ASSERT_GT(client.x, client.y * 3 / 2) << "a window wider than 3 : 2";
        const SViewport viewport = view->GetViewport();
        EXPECT_EQ(viewport.height, client.y);
        EXPECT_NEAR(viewport.width, client.y * 1.5, 0.5);
        EXPECT_EQ(viewport.left, (client.x - viewport.width) / 2);
        EXPECT_EQ(camera.viewportWidth, viewport.width);

        const std::vector<uint8_t> rgb = WindowPixels(*view, "zarnel-photo-format.png");
        ASSERT_EQ(rgb.size(), static_cast<size_t>(client.x) * client.y * 3);
        auto pixel = [&](const std::vector<uint8_t>& shown, int x, int y) {
            return shown[(static_cast<size_t>(y) * client.x + x) * 3];
        };
        // A black frame just left and right of the picture, white beyond.
        const int y = client.y / 2;
        EXPECT_EQ(pixel(rgb, viewport.left - 1, y), 0);
        EXPECT_EQ(pixel(rgb, viewport.Right(), y), 0);
        EXPECT_EQ(pixel(rgb, viewport.left - 3, y), 255);
        EXPECT_EQ(pixel(rgb, viewport.Right() + 2, y), 255);

        // The plain view (and so the off-screen picture) has no frame.
        SendCommand(*app.GetMainFrame(), CommandId::WithoutSelectionLines);
        EXPECT_EQ(view->GetToolMode(), ToolMode::NoSelectionLines);
        const std::vector<uint8_t> plain = WindowPixels(*view, "zarnel-plain-view.png");
        ASSERT_EQ(plain.size(), rgb.size());
        EXPECT_EQ(pixel(plain, viewport.left - 1, y), 255);
        view->GetDcmt()->SetModified(false);
    });
}

TEST_F(ViewWindow, CamerasAreBoundByIndexOrCopied) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& dcmt = *view->GetDcmt();
        // Choosing the camera in force makes a private copy that leaves the design's alone.
        view->SelectCamera(0);
        EXPECT_EQ(view->GetCameraIndex(), -1);
        ASSERT_NE(view->GetCamera(), nullptr);
        EXPECT_NE(view->GetCamera(), &dcmt.GetCamera(0));
        view->GetCamera()->modelTurn = 90;
        EXPECT_EQ(dcmt.GetCamera(0).modelTurn, 355);
        // Another camera of the design ends the copy.
        view->SelectCamera(2);
        EXPECT_EQ(view->GetCameraIndex(), 2);
        EXPECT_EQ(view->GetCamera(), &dcmt.GetCamera(2));
        EXPECT_EQ(dcmt.GetCamera(2).viewportWidth, view->GetViewport().width);
        view->SelectCamera(7);
        EXPECT_EQ(view->GetCameraIndex(), 2);
    });
}

TEST_F(ViewWindow, ToolCommandsAndWhatTheyDoToTheDesign) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& dcmt = *view->GetDcmt();
        EXPECT_TRUE(IsChecked(frame, CommandId::Tube35));

        // The documents find the application's snap option (for undo, redo and saving) through
        // their host. Every tool change switches the 15 cm snap option off.
        theApp->SetWideSnap(true);
        const CDocumentAppHost* host = CDocumentAppHost::Find();
        ASSERT_NE(host, nullptr);
        EXPECT_TRUE(host->IsWideSnap());
        SendCommand(frame, CommandId::ToolSelect);
        EXPECT_EQ(view->GetToolMode(), ToolMode::Select);
        EXPECT_FALSE(theApp->IsWideSnap());
        EXPECT_TRUE(IsChecked(frame, CommandId::ToolSelect));
        EXPECT_FALSE(IsChecked(frame, CommandId::Tube35));

        // A second window on the design hears what the first one does to the selection.
        SendCommand(frame, CommandId::WindowNew);
        CZarnelView* second = ActiveView(app);
        ASSERT_NE(second, nullptr);
        ASSERT_NE(second, view);
        dynamic_cast<CChldFrm&>(*view->GetFrame()).Activate();
        WaitUntil([&] { return ActiveView(app) == view; }, "the first window active");
        ASSERT_EQ(ActiveView(app), view);

        CElmnt* tube = nullptr;
        for (CElmnt& elmnt : dcmt.GetAliveElements()) {
            if (elmnt.kind == ElmntKind::Tube) {
                tube = &elmnt;
                break;
            }
        }
        ASSERT_NE(tube, nullptr);
        tube->Select();
        SendCommand(frame, CommandId::BoxTop);
        EXPECT_TRUE(tube->selected) << "box sides keep the selection";
        const int heard = second->GetUpdateCount();
        SendCommand(frame, CommandId::Panel35);
        EXPECT_FALSE(tube->selected) << "an insert tool clears it";
        EXPECT_EQ(second->GetUpdateCount(), heard + 1);
        EXPECT_EQ(second->GetLastHint(), ViewHint::Selection);
        EXPECT_EQ(view->GetState().tool.kind, ElmntKind::Panel);
        EXPECT_TRUE(IsChecked(frame, CommandId::Panel35));

        // Placement variants act only on the coupling tools.
        EXPECT_FALSE(frame.IsCommandEnabled(WxCommandId(CommandId::PlaceOnTubeEnd)));
        SendCommand(frame, CommandId::HoleCoupling2);
        EXPECT_TRUE(frame.IsCommandEnabled(WxCommandId(CommandId::PlaceOnTubeEnd)));
        SendCommand(frame, CommandId::PlaceOnTubeEnd);
        EXPECT_EQ(view->GetToolMode(), ToolMode::AtTubeEnd);
        EXPECT_TRUE(IsChecked(frame, CommandId::HoleCoupling2));

        // Panning needs a camera that looks straight ahead.
        view->GetCamera()->cameraTurn = 10;
        SendCommand(frame, CommandId::Pan);
        EXPECT_EQ(view->GetToolMode(), ToolMode::AtTubeEnd);
        view->GetCamera()->cameraTurn = 0;
        SendCommand(frame, CommandId::Pan);
        EXPECT_EQ(view->GetToolMode(), ToolMode::Pan);

        // A deletion forgets the element being placed; the element itself is held by identity.
        view->GetState().tool.placing = tube->GetId();
        EXPECT_EQ(view->GetPlacingElement(), tube);
        view->GetZarnelDocument()->UpdateAllViews(ViewHint::Deletion);
        EXPECT_EQ(view->GetPlacingElement(), nullptr);
        EXPECT_EQ(view->GetState().tool.placing, ElmntId());
        // A hint 0 or 5 recomputes the viewport, which picks up a new picture format.
        view->GetCamera()->pictureFormat = PictureFormat::Cinema;
        view->GetCamera()->Update();
        view->GetZarnelDocument()->UpdateAllViews(ViewHint::Selection);
        EXPECT_LT(view->GetViewport().width, view->GetClientPixels().x);
        // The coupling material of the design's own operations is the view's connector slot.
        view->GetState().tool.categoryMaterials[2] = 13;
        EXPECT_EQ(view->GetCouplingMaterial(), 13);
        dcmt.SetModified(false);
    });
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].message.rfind("Diese Funktion kann nur verwendet werden", 0), 0u);
}

TEST_F(ViewWindow, CameraButtonsChangeThePictureOfEveryWindowOnTheCamera) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& dcmt = *view->GetDcmt();
        dcmt.SetModified(false);
        EXPECT_TRUE(IsChecked(frame, CommandId::Camera1));
        const std::vector<uint8_t> before = WindowPixels(*view, "zarnel-camera-front.png");

        // "von links": the tower seen from its side.
        SendCommand(frame, CommandId::ViewLeft);
        EXPECT_EQ(view->GetCamera()->modelTurn, 85);
        EXPECT_TRUE(dcmt.IsModified()) << "the design's camera is saved with it";
        const std::vector<uint8_t> left = WindowPixels(*view, "zarnel-camera-left.png");
        ASSERT_EQ(left.size(), before.size());
        EXPECT_NE(left, before);
        const int red = Count(left, 3).red;
        EXPECT_GT(red, 2000);
        // Farther away, the tower is smaller.
        SendCommand(frame, CommandId::ZoomOut);
        SendCommand(frame, CommandId::ZoomOut);
        EXPECT_LT(Count(WindowPixels(*view, "zarnel-camera-farther.png"), 3).red, red);

        // A second window on the same camera, of another shape: each draws with its own aspect.
        SendCommand(frame, CommandId::WindowNew);
        CZarnelView* second = ActiveView(app);
        ASSERT_NE(second, view);
        ASSERT_EQ(second->GetCamera(), view->GetCamera());
        second->GetCanvas()->SetSize(400, 300);
        second->SetViewport();
        EXPECT_DOUBLE_EQ(second->GetShownCamera()->aspect, 4.0 / 3.0);
        const SViewport first = view->GetViewport();
        EXPECT_DOUBLE_EQ(view->GetShownCamera()->aspect,
                         static_cast<double>(first.width) / first.height);
        // A picture format set on the camera, then "Standardansicht" from the second window:
        // the first window's viewport follows at once.
        view->GetCamera()->pictureFormat = PictureFormat::Cinema;
        view->GetCamera()->Update();
        view->SetViewport();
        ASSERT_LT(view->GetViewport().width, view->GetClientPixels().x);
        SendCommand(frame, CommandId::ViewStandard);
        EXPECT_EQ(view->GetCamera()->pictureFormat, PictureFormat::Screen);
        EXPECT_EQ(view->GetViewport().width, view->GetClientPixels().x);

        // A window without area keeps its last viewport; the camera's aspect stays finite.
        const SViewport kept = second->GetViewport();
        const double aspect = second->GetCamera()->aspect;
        second->GetCanvas()->SetSize(0, 0);
        second->SetViewport();
        EXPECT_EQ(second->GetViewport(), kept);
        EXPECT_EQ(second->GetCamera()->aspect, aspect);
        second->GetCanvas()->SetSize(400, 300);
        dcmt.SetModified(false);
    });
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.dialogs.empty());
}

TEST_F(ViewWindow, ToolsThatAskForTheirSizesChangeTheToolOnlyOnOk) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        DialogRecorder& dialogs = *ActiveDialogRecorder();
        SendCommand(frame, CommandId::ToolSelect);
        view->GetState().tool.length = 125.0f;
        view->GetState().tool.panelWidth = 500.0f;

        // Cancelled, the tool stays as it was: no insert mode without a kind.
        dialogs.answer = wxID_CANCEL;
        SendCommand(frame, CommandId::TubeFree);
        SendCommand(frame, CommandId::SpecialPanel);
        EXPECT_EQ(view->GetToolMode(), ToolMode::Select);
        EXPECT_TRUE(IsChecked(frame, CommandId::ToolSelect));
        EXPECT_FALSE(IsChecked(frame, CommandId::TubeFree));
        EXPECT_FALSE(IsChecked(frame, CommandId::SpecialPanel));

        // Confirmed with the sizes they show (the tool's): 12.5 cm, and 50 x 35 cm.
        dialogs.answer = wxID_OK;
        SendCommand(frame, CommandId::TubeFree);
        EXPECT_EQ(view->GetToolMode(), ToolMode::AtConnection);
        EXPECT_EQ(view->GetState().tool.kind, ElmntKind::Tube);
        EXPECT_EQ(view->GetState().tool.length, 125.0f);
        EXPECT_TRUE(IsChecked(frame, CommandId::TubeFree));
        EXPECT_FALSE(IsChecked(frame, CommandId::Tube35));
        SendCommand(frame, CommandId::SpecialPanel);
        EXPECT_EQ(view->GetToolMode(), ToolMode::SpecialPanel);
        EXPECT_EQ(view->GetState().tool.kind, ElmntKind::Panel);
        EXPECT_EQ(view->GetState().tool.panelWidth, 500.0f);
        EXPECT_TRUE(IsChecked(frame, CommandId::SpecialPanel));
        EXPECT_FALSE(IsChecked(frame, CommandId::TubeFree));
    });
    ASSERT_EQ(result.dialogs.size(), 4u);
    EXPECT_EQ(result.dialogs[0].title, "Variable Rohrlänge");
    EXPECT_EQ(result.dialogs[1].title, "Platte");
}

TEST_F(ViewWindow, ChecksRunFromTheWindowAndEveryCommandOfTheViewHasAHandler) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        using namespace CommandId;
        std::vector<uint32_t> commands = {TubeFree,
                                          SpecialPanel,
                                          ModelRight,
                                          ModelLeft,
                                          ModelUp,
                                          ModelDown,
                                          ViewBird,
                                          ViewFront,
                                          ViewLeft,
                                          ViewRight,
                                          ViewBelow,
                                          ViewBack,
                                          ViewStandard,
                                          Camera1,
                                          Camera4,
                                          ZoomIn,
                                          ZoomOut,
                                          PerspectiveNear,
                                          PerspectiveFar,
                                          SectionPlane,
                                          SectionBack,
                                          SectionFront,
                                          Pan,
                                          WithoutPanels,
                                          OnlySelected,
                                          Explosion,
                                          ConnectorEnds,
                                          WithoutSelectionLines,
                                          PhotoQuality,
                                          WalkHeight,
                                          AutoAdjust,
                                          WideSnap,
                                          CameraDialog,
                                          SystemInfo,
                                          CollisionTest,
                                          HeadTrapTest};
        for (const SToolCommand& tool : GetToolCommands()) {
            commands.push_back(tool.command);
        }
        // The window's own rows: each once, and none also a row of the view's tables, which
        // would run in its place.
        std::set<uint32_t> windowCommands;
        for (const SWindowCommand& row : GetWindowCommands()) {
            SCOPED_TRACE(row.command);
            EXPECT_TRUE(windowCommands.insert(row.command).second);
            EXPECT_EQ(FindViewCommand(row.command), nullptr);
            commands.push_back(row.command);
        }
        // The commands that have an enable rule, in a state where it holds.
        view->GetCamera()->nearClip = 320;
        for (uint32_t command : commands) {
            SCOPED_TRACE(command);
            EXPECT_NE(FindCommand(command), nullptr) << "in the command table";
            EXPECT_TRUE(frame.IsCommandEnabled(WxCommandId(command)));
        }
        SendCommand(frame, HoleCoupling2);
        EXPECT_TRUE(frame.IsCommandEnabled(WxCommandId(PlaceOnConnector)));
        EXPECT_TRUE(frame.IsCommandEnabled(WxCommandId(PlaceOnTubeEnd)));
        SendCommand(frame, BearingCoupling);
        EXPECT_TRUE(frame.IsCommandEnabled(WxCommandId(PlaceOnTube)));

        // The two checks from the window, their findings selected.
        SendCommand(frame, CollisionTest);
        SendCommand(frame, HeadTrapTest);
        view->GetDcmt()->SetModified(false);
    });
    ASSERT_EQ(result.dialogs.size(), 2u);
    EXPECT_NE(result.dialogs[0].message.find("Überschneidungen"), std::string::npos);
    EXPECT_NE(result.dialogs[1].message.find("Kopffalle"), std::string::npos);
}

TEST_F(ViewWindow, SystemInformationReportsTheWindowsOpenGl) {
    const std::string path = m_folder.File("sysinfo.txt");
    RunZarnel({}, [&](CZarnelApp& app) {
        // The report asks for its file through the seam.
        struct ChooseReportFile : UserInterface {
            UserInterface& program = GetUserInterface();
            std::string path;
            MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                     MsgButtons buttons, MsgIcon icon) override {
                return program.ShowMessageBox(text, caption, buttons, icon);
            }
            void Beep() override {}
            void BeginBusy() override {}
            void EndBusy() override {}
            std::optional<std::string> ChooseFile(const FileChoice&) override { return path; }
            bool SetClipboardText(const std::string&) override { return false; }
            std::optional<std::string> GetClipboardText() override { return std::nullopt; }
            uint32_t GetButtonFaceColour() override { return 0; }
        } files;
        files.path = path;
        UserInterface& program = GetUserInterface();
        InstallUserInterface(&files);
        EXPECT_TRUE(app.GetMainFrame()->IsCommandEnabled(WxCommandId(CommandId::SystemInfo)));
        SendCommand(*app.GetMainFrame(), CommandId::SystemInfo);
        InstallUserInterface(&program);
    });
    const std::string report = TempFolder::Read(path);
    EXPECT_NE(report.find("OpenGL Renderer"), std::string::npos);
    EXPECT_EQ(report.find("OpenGL Renderer               : unknown"), std::string::npos)
        << "the window's context was not current";
}

TEST_F(ViewWindow, PrintedPictureLiesInsideTheMargins) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        // An A4 page at 100 pixels per inch whose printable area starts 20 pixels in.
        const wxSize printable(787, 1129);
        wxBitmap page(printable.x, printable.y, 24);
        wxMemoryDC dc(page);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        CZarnelPrintout printout(*view);
        printout.SetDC(&dc);
        printout.SetPPIScreen(96, 96);
        printout.SetPPIPrinter(100, 100);
        printout.SetPageSizePixels(printable.x, printable.y);
        printout.SetPaperRectPixels(wxRect(-20, -20, 827, 1169));
        ASSERT_TRUE(printout.OnPrintPage(1));
        // The dialog was closed without choosing: the full resolution.
        EXPECT_EQ(printout.GetDivisor(), 1);
        ASSERT_NE(printout.GetPicture(), nullptr);
        // The margins (25 mm left, 15 mm elsewhere) at 100 dpi: 98 and 59 pixels from the edge.
        const int left = 98;
        const int top = 59;
        const int right = 827 - 59;
        const SViewport viewport = view->GetViewport();
        EXPECT_EQ(printout.GetPicture()->GetWidth(), right - left);
        EXPECT_NEAR(printout.GetPicture()->GetHeight(),
                    (right - left) * static_cast<double>(viewport.height) / viewport.width, 1.0);
        dc.SelectObject(wxNullBitmap);

        // Everything drawn lies inside the margins (device pixels: 20 less), and the tower is.
        wxImage printed = page.ConvertToImage();
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) {
            wxImage::AddHandler(new wxPNGHandler);
        }
        printed.SaveFile(std::string(ZARNEL_ARTIFACT_DIR) + "/zarnel-printed-page.png",
                         wxBITMAP_TYPE_PNG);
        int outside = 0;
        int red = 0;
        for (int y = 0; y < printable.y; ++y) {
            for (int x = 0; x < printable.x; ++x) {
                const int r = printed.GetRed(x, y);
                const bool white =
                    r == 255 && printed.GetGreen(x, y) == 255 && printed.GetBlue(x, y) == 255;
                const bool inside = x >= left - 20 && x < right - 20 && y >= top - 20 &&
                                    y < top - 20 + printout.GetPicture()->GetHeight();
                outside += !white && !inside ? 1 : 0;
                red += inside && r > 100 && r > 2 * printed.GetGreen(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(red, 500);
    });
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].title, "Renderingauflösung zum Druck");
}

TEST_F(ViewWindow, PrintPreviewShowsThePageInItsOwnWindow) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        EXPECT_TRUE(app.GetMainFrame()->IsCommandEnabled(WxCommandId(CommandId::FilePrintPreview)));
        SendCommand(*app.GetMainFrame(), CommandId::FilePrintPreview);
        wxPreviewFrame* preview = PreviewFrame();
        ASSERT_NE(preview, nullptr);
        WaitUntilPainted(*preview);
        EXPECT_FALSE(TakeScreenshot("zarnel-print-preview.png").empty());
        preview->Close();
        WaitUntil([] { return PreviewFrame() == nullptr; }, "the preview window gone");
    });
    // The resolution was asked once, although the preview draws its page more than once.
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].title, "Renderingauflösung zum Druck");
}

TEST_F(ViewWindow, APageWhosePictureFailedIsNotPrinted) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        wxBitmap page(400, 560, 24);
        wxMemoryDC dc(page);
        CZarnelPrintout printout(*view);
        printout.SetDC(&dc);
        printout.SetPPIScreen(96, 96);
        printout.SetPPIPrinter(50, 50);
        printout.SetPageSizePixels(400, 560);
        printout.SetPaperRectPixels(wxRect(-10, -10, 420, 580));
        view->GetCanvas()->Hide();
        EXPECT_FALSE(printout.OnPrintPage(1)) << "the job ends instead of printing a blank page";
        EXPECT_EQ(printout.GetPicture(), nullptr);
        view->GetCanvas()->Show();
        dc.SelectObject(wxNullBitmap);
    });
    ASSERT_EQ(result.dialogs.size(), 2u);
    EXPECT_EQ(result.dialogs[0].title, "Renderingauflösung zum Druck");
    EXPECT_EQ(result.dialogs[1].message.rfind("Das Bild kann nicht gerendert werden, solange", 0),
              0u);
}

// Answers file dialogs with a path given by the test; boxes go to the program's own.
struct SChooseFileAs : UserInterface {
    UserInterface& program = GetUserInterface();
    std::string path;
    int fileDialogs = 0;
    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) override {
        return program.ShowMessageBox(text, caption, buttons, icon);
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override {
        ++fileDialogs;
        return path;
    }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0; }
};

TEST_F(ViewWindow, SaveImageRendersThePictureIntoTheChosenFile) {
    const std::string path = m_folder.File("tower.bmp");
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        SChooseFileAs files;
        files.path = path;
        InstallUserInterface(&files);
        EXPECT_TRUE(app.GetMainFrame()->IsCommandEnabled(WxCommandId(CommandId::SaveImage)));
        SendCommand(*app.GetMainFrame(), CommandId::SaveImage);
        EXPECT_EQ(files.fileDialogs, 1);

        // A window that is not on the screen cannot render: it says so, and no file is asked.
        view->GetCanvas()->Hide();
        files.path = m_folder.File("hidden.bmp");
        SendCommand(*app.GetMainFrame(), CommandId::SaveImage);
        EXPECT_EQ(files.fileDialogs, 1);
        view->GetCanvas()->Show();
        InstallUserInterface(&files.program);
    });
    // The dialog was confirmed as it opened: the size kept in the profile, 1024 x 768 at first.
    ASSERT_EQ(result.dialogs.size(), 3u);
    EXPECT_EQ(result.dialogs[0].title, "Bildauflösung");
    EXPECT_EQ(result.dialogs[1].title, "Bildauflösung");
    EXPECT_EQ(result.dialogs[2].message,
              "Das Bild kann nicht gerendert werden, solange das 3D-Fenster nicht auf dem "
              "Bildschirm zu sehen ist.");
    const std::unique_ptr<CDIB> picture = CDIB::FromFile(path, 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 1024);
    EXPECT_EQ(picture->GetHeight(), 768);
    std::vector<uint8_t> rgb;
    for (int y = 0; y < picture->GetHeight(); ++y) {
        for (int x = 0; x < picture->GetWidth(); ++x) {
            const uint32_t colour = picture->GetPixel(x, y);
            rgb.insert(rgb.end(),
                       {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour)});
        }
    }
    const SPixels counts = Count(rgb, 3);
    EXPECT_GT(counts.red, 2000) << "the tower is in the picture";
    EXPECT_TRUE(TempFolder::Read(m_folder.File("hidden.bmp")).empty());
}

// The preview window that is open, or null.
wxPreviewFrame* OpenPreview() {
    for (wxWindow* window : wxTopLevelWindows) {
        if (auto* preview = dynamic_cast<wxPreviewFrame*>(window)) {
            if (!preview->IsBeingDeleted()) {
                return preview;
            }
        }
    }
    return nullptr;
}

template <typename T> T* FindChild(wxWindow& parent) {
    for (wxWindow* child : parent.GetChildren()) {
        if (auto* found = dynamic_cast<T*>(child)) {
            return found;
        }
    }
    return nullptr;
}

// What the preview window's canvas paints: the page with its rendered picture.
wxImage PaintedPreview(wxPreviewFrame& frame) {
    auto* controls = FindChild<wxPreviewControlBar>(frame);
    auto* canvas = FindChild<wxPreviewCanvas>(frame);
    if (controls == nullptr || canvas == nullptr) {
        ADD_FAILURE() << "no preview canvas";
        return {};
    }
    wxBitmap bitmap(canvas->GetClientSize(), 24);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    controls->GetPrintPreview()->PaintPage(canvas, dc);
    dc.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

TEST_F(ViewWindow, PrintPreviewAfterAnOrderFormPreviewShowsThePicture) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        // The order form of the parts list window, previewed and closed.
        SendCommand(frame, CommandId::WindowPartsList);
        ASSERT_NE(app.GetDocManager()->GetCurrentView(), view);
        SendCommand(frame, CommandId::FilePrintPreview);
        WaitUntil([] { return OpenPreview() != nullptr; }, "the order-form preview");
        wxPreviewFrame* orderForm = OpenPreview();
        ASSERT_NE(orderForm, nullptr);
        EXPECT_FALSE(TakeScreenshot("zarnel-order-form-preview.png").empty());
        orderForm->Close(true);
        WaitUntil([] { return OpenPreview() == nullptr; }, "the order-form preview closed");
        ASSERT_EQ(OpenPreview(), nullptr);

        // Back in the 3D window, its own preview. While the resolution is asked, the preview
        // window is on the screen and paints itself, as it does under a user's dialog.
        static_cast<CChldFrm*>(view->GetFrame())->Activate();
        WaitUntil([&] { return app.GetDocManager()->GetCurrentView() == view; },
                  "the 3D window active");
        ASSERT_EQ(app.GetDocManager()->GetCurrentView(), view);
        ActiveDialogRecorder()->whileShown = [](wxDialog&) {
            if (wxPreviewFrame* preview = OpenPreview()) {
                preview->Refresh();
                preview->Update();
            }
            WaitForIdle();
        };
        SendCommand(frame, CommandId::FilePrintPreview);
        WaitUntil([] { return OpenPreview() != nullptr; }, "the 3D preview");
        if (wxPreviewFrame* shown = OpenPreview()) {
            WaitUntilPainted(*shown);
        }
        ActiveDialogRecorder()->whileShown = nullptr;
        wxPreviewFrame* preview = OpenPreview();
        ASSERT_NE(preview, nullptr);
        EXPECT_FALSE(TakeScreenshot("zarnel-print-preview-after-order-form.png").empty());
        const wxImage page = PaintedPreview(*preview);
        ASSERT_TRUE(page.IsOk());
        const SPixels pixels =
            Count(std::vector<uint8_t>(page.GetData(),
                                       page.GetData() + static_cast<size_t>(page.GetWidth()) *
                                                            page.GetHeight() * 3),
                  3);
        EXPECT_GT(pixels.red, 500) << "the red tubes of the tower";
        preview->Close(true);
        WaitUntil([] { return OpenPreview() == nullptr; }, "the 3D preview closed");
    });
    EXPECT_TRUE(result.started);
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].title, "Renderingauflösung zum Druck");
}

} // namespace
