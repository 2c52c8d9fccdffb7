// The 3D view in the design program on a virtual display: a sample design drawn in the window,
// the viewport of a picture format, the camera binding, the tool commands with their side
// effects on the application and the design, the update hints, the system-information report
// and the printed page.
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/docview.h>
#include <wx/image.h>
#include <wx/print.h>

#include "app/frame/ChldFrm.h"
#include "app/frame/CommandIds.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelApp.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/render/RndrQult.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelPrintout.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"
#include "support/DIB.h"
#include "support/UserInterface.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

const std::string kPlayTower = std::string(ZARNEL_DATA_DIR) + "/play-tower.zdf";

class ViewWindow : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZARNEL_CONFIG_DIR", m_folder.File("user").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    }

    TempFolder m_folder;
};

CZarnelView* ActiveView(CZarnelApp& app) {
    return dynamic_cast<CZarnelView*>(app.GetDocManager()->GetCurrentView());
}

void SendCommand(CMainFrm& frame, uint32_t command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
    WaitForIdle();
}

bool IsChecked(CMainFrm& frame, uint32_t command) {
    wxUpdateUIEvent probe(WxCommandId(command));
    probe.SetEventObject(&frame);
    frame.ProcessWindowEvent(probe);
    return probe.GetSetChecked() && probe.GetChecked();
}

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

        // Every tool change switches the 15 cm snap option off.
        theApp->SetWideSnap(true);
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
        EXPECT_EQ(view->GetState().toolKind, ElmntKind::Panel);
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
        view->GetState().placing = tube->GetId();
        EXPECT_EQ(view->GetPlacingElement(), tube);
        view->GetZarnelDocument()->UpdateAllViews(ViewHint::Deletion);
        EXPECT_EQ(view->GetPlacingElement(), nullptr);
        EXPECT_EQ(view->GetState().placing, ElmntId());
        // A hint 0 or 5 recomputes the viewport, which picks up a new picture format.
        view->GetCamera()->pictureFormat = PictureFormat::Cinema;
        view->GetCamera()->Update();
        view->GetZarnelDocument()->UpdateAllViews(ViewHint::Selection);
        EXPECT_LT(view->GetViewport().width, view->GetClientPixels().x);
        // The coupling material of the design's own operations is the view's connector slot.
        view->GetState().categoryMaterials[2] = 13;
        EXPECT_EQ(view->GetCouplingMaterial(), 13);
        dcmt.SetModified(false);
    });
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].message.rfind("Diese Funktion kann nur verwendet werden", 0), 0u);
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

} // namespace
