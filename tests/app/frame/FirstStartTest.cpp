// The main window of a first start on a virtual display, in a process of its own: the toolkit
// remembers the window manager's frame size from the first window of a process and takes
// another path for every later one, so only a fresh process shows what a user's first start does.
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/display.h>

#include "app/frame/MainFrm.h"
#include "app/shell/ZarnelApp.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

TEST(FirstStart, UnmaximisingGivesACentredWindowOfTwoThirdsOfTheScreen) {
    TempFolder settings;
    setenv("ZARNEL_CONFIG_DIR", settings.File("user").c_str(), 1);
    setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        const wxRect workArea = wxDisplay(&frame).GetClientArea();
        frame.Maximize(false);
        // The window manager restores the window in its own time.
        WaitUntil([&] { return !frame.IsMaximized() && frame.GetSize().x < workArea.width; },
                  "the window restored");
        WaitForIdle();
        ASSERT_FALSE(frame.IsMaximized());
        const wxRect restored(frame.GetPosition(), frame.GetSize());
        // About two thirds of the work area, not a strip of title and menu bar.
        EXPECT_GT(restored.width, workArea.width / 2);
        EXPECT_GT(restored.height, workArea.height / 2);
        EXPECT_LT(restored.width, workArea.width);
        EXPECT_LT(restored.height, workArea.height);
        // Centred, give or take the window manager's frame.
        const wxPoint centre = restored.GetPosition() + restored.GetSize() / 2;
        const wxPoint workCentre = workArea.GetPosition() + workArea.GetSize() / 2;
        EXPECT_NEAR(centre.x, workCentre.x, 40);
        EXPECT_NEAR(centre.y, workCentre.y, 40);
        EXPECT_FALSE(TakeScreenshot("zarnel-restored-window.png").empty());
    });
}

} // namespace
