// The 3D view paints a design once when the program starts with it and when it is opened in the
// running program: no picture is drawn that shows nothing new.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <wx/docview.h>

#include "app/frame/MainFrm.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/shell/ZarnelApp.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

const std::string kPlayTower = std::string(ZARNEL_DATA_DIR) + "/play-tower.zdf";

class ViewPaint : public ::testing::Test {
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

// Lets the toolkit run a full round of layout and painting of the main window without touching
// the view: a paint of the status bar comes on the same frame clock as any picture the view has
// still asked for.
void SettleWithoutTheView(CZarnelApp& app) {
    WaitForIdle();
    if (wxStatusBar* status = app.GetMainFrame()->GetStatusBar()) {
        WaitUntilPainted(*status);
    }
    WaitForIdle();
}

} // namespace

TEST_F(ViewPaint, DesignIsPaintedOnceAtStartAndWhenOpened) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        SettleWithoutTheView(app);
        // The main window is shown at its restored size and maximised by the window manager:
        // the design is drawn once, at the size the window settled at. The test kit's own
        // repaints of the main window (before the script and here) draw nothing anew.
        EXPECT_EQ(view->GetPictureCount(), 1);
        // The one picture is of the view's present size: a paint of the view shows it again.
        ASSERT_NE(view->GetCanvas(), nullptr);
        WaitUntilPainted(*view->GetCanvas());
        EXPECT_EQ(view->GetPictureCount(), 1);
    });
    EXPECT_TRUE(result.started);

    result = RunZarnel({}, [&](CZarnelApp& app) {
        SettleWithoutTheView(app);
        wxDocument* opened = app.GetDocManager()->CreateDocument(kPlayTower, wxDOC_SILENT);
        ASSERT_NE(opened, nullptr);
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->GetDocument(), opened);
        WaitUntil([view] { return view->GetPictureCount() >= 1; }, "the opened design's picture");
        SettleWithoutTheView(app);
        EXPECT_EQ(view->GetPictureCount(), 1);
        // A change of the design is painted once more.
        SViewChange change;
        change.invalidate = true;
        view->CarryOut(change);
        WaitUntil([view] { return view->GetPictureCount() >= 2; }, "the picture after a change");
        SettleWithoutTheView(app);
        EXPECT_EQ(view->GetPictureCount(), 2);
    });
    EXPECT_TRUE(result.started);
    for (const SDialogRecord& dialog : result.dialogs) {
        ADD_FAILURE() << dialog.title << ": " << dialog.message;
    }
}
