// The mouse in the design program on a virtual display, with real input events (XTest through
// wxUIActionSimulator): a small frame of tubes and a panel built by clicks on a new design,
// deleted, undone and redone, selected, edited by double click and panned; then saved and
// opened again with every piece counted; the parts list beside the 3D window follows each tube
// placed there, and the two keep their shares of a frame whose size changes; a click's article
// in the status bar gives way to "Bereit" in another window. Screenshots are kept.
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/uiaction.h>

#include "app/frame/ChldFrm.h"
#include "app/frame/CommandIds.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/shell/ZarnelApp.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/partlist/PartListCtrl.h"
#include "app/partlist/PartListView.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"
#include "tests/app/frame/AppRun.h"
#include "tests/app/view/ViewWindowKit.h"
#include "tests/harness/TempFolder.h"

namespace {

using K = ElmntKind;

using ViewMouseWindow = ViewWindowTest;

// Lets the program work until the condition holds (the test kit's bound).
bool WaitFor(const std::function<bool()>& condition) {
    return WaitUntil(condition, "the mouse action's effect");
}

// Where a world point (mm) appears on the screen in the view's window.
wxPoint ScreenPoint(CZarnelView& view, const CVector3& point) {
    EXPECT_TRUE(view.MakeCurrent());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    view.SetProjection();
    glMatrixMode(GL_MODELVIEW);
    view.SetModelTransform();
    GLdouble model[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const SViewport& v = view.GetViewport();
    const GLint viewport[4] = {v.left, v.bottom, v.width, v.height};
    GLdouble x = 0.0;
    GLdouble y = 0.0;
    GLdouble z = 0.0;
    gluProject(point.x, point.y, point.z, model, projection, viewport, &x, &y, &z);
    CZarnelGlCanvas& canvas = *view.GetCanvas();
    const double scale = canvas.GetPixelScale();
    const double clientY = canvas.GetClientPixels().y - 1 - y;
    return canvas.ClientToScreen(wxPoint(static_cast<int>(std::lround(x / scale)),
                                         static_cast<int>(std::lround(clientY / scale))));
}

int AliveOf(const CZarnelDcmt& dcmt, K kind) {
    int count = 0;
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        count += elmnt.kind == kind ? 1 : 0;
    }
    return count;
}

int PartsCounted(const CZarnelDcmt& dcmt) {
    int count = 0;
    for (const SPartEntry& entry : dcmt.GetPartsTable()) {
        count += entry.count;
    }
    return count;
}

TEST_F(ViewMouseWindow, ClicksBuildAFrameThatIsSavedAndOpenedAgain) {
    const std::string path = m_folder.File("rahmen.zdf");
    int partsBuilt = 0;
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->HasContext());
        auto* document = dynamic_cast<CZarnelWxDocument*>(view->GetDocument());
        ASSERT_NE(document, nullptr);
        CZarnelDcmt& dcmt = document->GetDcmt();
        wxUIActionSimulator mouse;
        const auto click = [&](const CVector3& at) {
            mouse.MouseMove(ScreenPoint(*view, at));
            WaitForInput(mouse);
            mouse.MouseClick();
        };
        const auto clickTo = [&](const CVector3& at, Revision revision) {
            click(at);
            return WaitFor([&] { return dcmt.GetCurrentRevision() == revision; });
        };

        // Three tubes of 35 cm: along x on the start coupling, upright on it and upright on the
        // coupling at the first one's free end.
        SendCommand(frame, CommandId::Tube35);
        ASSERT_TRUE(clickTo({150.0, 0.0, 0.0}, 1));
        // A double click places once: the platform delivers one button-down, then the double
        // click, which does nothing outside select mode.
        mouse.MouseMove(ScreenPoint(*view, {0.0, 150.0, 0.0}));
        WaitForInput(mouse);
        mouse.MouseDblClick();
        ASSERT_TRUE(WaitFor([&] { return dcmt.GetCurrentRevision() == 2; }));
        WaitForInput(mouse);
        EXPECT_EQ(dcmt.GetNewestRevision(), 2u);
        ASSERT_TRUE(clickTo({400.0, 150.0, 0.0}, 3));
        EXPECT_EQ(AliveOf(dcmt, K::Tube), 3);
        EXPECT_EQ(AliveOf(dcmt, K::Connector), 4);
        // A panel between the two upright tubes: the first, then the second.
        SendCommand(frame, CommandId::Panel35);
        click({0.0, 200.0, 0.0});
        ASSERT_TRUE(WaitFor([&] { return view->GetToolMode() == ToolMode::PanelSecondTube; }));
        ASSERT_TRUE(clickTo({400.0, 200.0, 0.0}, 4));
        EXPECT_EQ(AliveOf(dcmt, K::Panel), 1);
        EXPECT_EQ(view->GetToolMode(), ToolMode::PanelFirstTube);
        view->RepaintNow();
        WaitUntilPainted(*view->GetCanvas());
        EXPECT_FALSE(TakeScreenshot("zarnel-mouse-frame.png").empty());
        partsBuilt = PartsCounted(dcmt);

        // Delete the panel, undo, redo, undo again.
        SendCommand(frame, CommandId::ToolDeleteSingle);
        ASSERT_TRUE(clickTo({200.0, 200.0, 0.0}, 5));
        EXPECT_EQ(AliveOf(dcmt, K::Panel), 0);
        SendCommand(frame, CommandId::EditUndo);
        EXPECT_EQ(AliveOf(dcmt, K::Panel), 1);
        SendCommand(frame, CommandId::EditRedo);
        EXPECT_EQ(AliveOf(dcmt, K::Panel), 0);
        SendCommand(frame, CommandId::EditUndo);
        EXPECT_EQ(PartsCounted(dcmt), partsBuilt);

        // Select the tube along x: its designation in the status bar. A double click opens its
        // dialog (answered OK by the test's recorder), which changes nothing.
        SendCommand(frame, CommandId::ToolSelect);
        click({200.0, 0.0, 0.0});
        ASSERT_TRUE(
            WaitFor([&] { return frame.GetStatusBar()->GetStatusText(0).StartsWith("Rohr"); }));
        const std::size_t dialogsBefore = ActiveDialogRecorder()->dialogs.size();
        mouse.MouseDblClick();
        EXPECT_TRUE(
            WaitFor([&] { return ActiveDialogRecorder()->dialogs.size() > dialogsBefore; }));
        EXPECT_EQ(dcmt.GetNewestRevision(), 5u) << "a double click places and deletes nothing";

        // Pan: grab the upright tube and drag; the camera moves on release.
        SendCommand(frame, CommandId::Pan);
        const CCmra before = *view->GetCamera();
        const wxPoint grab = ScreenPoint(*view, {0.0, 250.0, 0.0});
        mouse.MouseMove(grab);
        WaitForInput(mouse);
        mouse.MouseDown();
        ASSERT_TRUE(WaitFor([&] { return view->GetState().pan.dragging; }));
        mouse.MouseMove(grab + wxPoint(120, 60));
        ASSERT_TRUE(WaitFor([&] { return view->GetState().pan.rubberLineShown; }));
        WaitUntilPainted(*view->GetCanvas());
        EXPECT_FALSE(TakeScreenshot("zarnel-mouse-pan-line.png").empty());
        mouse.MouseUp();
        ASSERT_TRUE(WaitFor([&] { return !view->GetState().pan.dragging; }));
        EXPECT_GT(view->GetCamera()->cameraLeftRight, before.cameraLeftRight);
        EXPECT_GT(view->GetCamera()->cameraHeight, before.cameraHeight);

        // Saved and opened again: every piece is counted as built.
        ASSERT_TRUE(document->OnSaveDocument(wxString::FromUTF8(path.c_str())));
        EXPECT_FALSE(document->IsModified());
        ASSERT_TRUE(app.GetDocManager()->CloseDocument(document, true));
        WaitForIdle();
        wxDocument* reopened =
            app.GetDocManager()->CreateDocument(wxString::FromUTF8(path.c_str()), wxDOC_SILENT);
        auto* second = dynamic_cast<CZarnelWxDocument*>(reopened);
        ASSERT_NE(second, nullptr);
        const CZarnelDcmt& read = second->GetDcmt();
        EXPECT_EQ(AliveOf(read, K::Tube), 3);
        EXPECT_EQ(AliveOf(read, K::Panel), 1);
        EXPECT_EQ(AliveOf(read, K::Connector), 4);
        EXPECT_EQ(PartsCounted(read), partsBuilt);
        WaitForIdle();
        EXPECT_FALSE(TakeScreenshot("zarnel-mouse-reopened.png").empty());
        second->Modify(false);
    });
    EXPECT_TRUE(result.started);
    EXPECT_GT(partsBuilt, 0);
    // The only dialog: the tube's, opened by the double click.
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].title, "Rohr");
}

// The window's client area on the screen.
wxRect ClientOnScreen(wxWindow& window) {
    return {window.ClientToScreen(wxPoint(0, 0)), window.GetClientSize()};
}

TEST_F(ViewMouseWindow, PartsListBesideTheDesignWindowFollowsEveryTubePlaced) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& dcmt = dynamic_cast<CZarnelWxDocument&>(*view->GetDocument()).GetDcmt();
        // A tube tool other than the new design's, so that the key's effect shows.
        SendCommand(frame, CommandId::Tube75);
        SendCommand(frame, CommandId::WindowPartsList);
        auto* partsList = dynamic_cast<CPartListView*>(app.GetDocManager()->GetCurrentView());
        ASSERT_NE(partsList, nullptr);
        CPartListCtrl& list = *partsList->GetListCtrl();
        // The count of the list's last row ("Gesamt"), and what the design counts.
        const auto total = [&] {
            const int rows = list.GetItemCount();
            return rows > 0 ? list.GetItemText(rows - 1, 1) : wxString("0");
        };
        const auto counted = [&] { return wxString::Format("%d", PartsCounted(dcmt)); };
        const wxString before = total();
        EXPECT_EQ(before, counted());

        // Fenster > Nebeneinander from the keyboard: both windows shown, side by side, the
        // parts list still the active one; the 3D view draws on its whole new client area.
        wxUIActionSimulator input;
        input.Char('f', wxMOD_ALT);
        WaitForIdle(); // not WaitForInput: the open menu holds the keyboard
        input.Char('n');
        CZarnelGlCanvas& canvas = *view->GetCanvas();
        ASSERT_TRUE(WaitFor([&] { return canvas.IsShownOnScreen() && list.IsShownOnScreen(); }));
        WaitForIdle();
        const wxRect design = ClientOnScreen(canvas);
        const wxRect parts = ClientOnScreen(list);
        EXPECT_GT(design.width, 300);
        EXPECT_GT(parts.width, 300);
        EXPECT_FALSE(design.Intersects(parts));
        EXPECT_LT(design.x, parts.x);
        EXPECT_EQ(design.y, parts.y);
        EXPECT_EQ(app.GetDocManager()->GetCurrentView(), partsList);
        EXPECT_EQ(view->GetViewport().width, canvas.GetClientPixels().x);
        EXPECT_EQ(view->GetViewport().height, canvas.GetClientPixels().y);

        // F6 moves to the 3D window; key 3 takes the 35 cm tube, a click places it and the list
        // beside it counts it.
        input.Char(WXK_F6);
        ASSERT_TRUE(WaitFor([&] { return ActiveView(app) == view; }));
        input.Char('3');
        WaitForInput(input);
        ASSERT_TRUE(WaitFor([&] { return IsChecked(frame, CommandId::Tube35); }));
        input.MouseMove(ScreenPoint(*view, {150.0, 0.0, 0.0}));
        WaitForInput(input);
        input.MouseClick();
        ASSERT_TRUE(WaitFor([&] { return dcmt.GetCurrentRevision() == 1; }));
        EXPECT_TRUE(WaitFor([&] { return total() != before && total() == counted(); }));
        EXPECT_TRUE(list.IsShownOnScreen());
        view->RepaintNow();
        WaitUntilPainted(canvas);
        const auto shown = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        WaitUntil([&] { return std::chrono::steady_clock::now() > shown; }, "the list drawn");
        EXPECT_FALSE(TakeScreenshot("zarnel-side-by-side.png").empty());

        // Fenster > Überlappend joins them again: the 3D window in front, the list behind it.
        input.Char('f', wxMOD_ALT);
        WaitForIdle();
        input.Char('l');
        ASSERT_TRUE(WaitFor([&] { return !list.IsShownOnScreen(); }));
        EXPECT_TRUE(canvas.IsShownOnScreen());
        EXPECT_EQ(ActiveView(app), view);
        EXPECT_FALSE(frame.IsCommandEnabled(WxCommandId(CommandId::NextPane)));
        view->GetDocument()->Modify(false);
    });
}

// The share of the width that the first of two rectangles side by side takes.
double WidthShare(const wxRect& left, const wxRect& right) {
    return static_cast<double>(left.width) / (left.width + right.width);
}

TEST_F(ViewMouseWindow, PanesSideBySideShareTheFrameWhenItsSizeChanges) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelGlCanvas& canvas = *view->GetCanvas();
        // Fenster > Nebeneinander with the one window, then Teileliste: the list opens beside
        // the 3D view, not as a tab behind it.
        wxUIActionSimulator input;
        input.Char('f', wxMOD_ALT);
        WaitForIdle(); // not WaitForInput: the open menu holds the keyboard
        input.Char('n');
        WaitForIdle();
        SendCommand(frame, CommandId::WindowPartsList);
        auto* partsList = dynamic_cast<CPartListView*>(app.GetDocManager()->GetCurrentView());
        ASSERT_NE(partsList, nullptr);
        CPartListCtrl& list = *partsList->GetListCtrl();
        ASSERT_TRUE(WaitFor([&] { return canvas.IsShownOnScreen() && list.IsShownOnScreen(); }));
        const auto sideBySide = [&] {
            const wxRect design = ClientOnScreen(canvas);
            const wxRect parts = ClientOnScreen(list);
            return design.GetRight() < parts.x && design.y == parts.y;
        };
        ASSERT_TRUE(WaitFor(sideBySide));
        const double share = WidthShare(ClientOnScreen(canvas), ClientOnScreen(list));

        // The frame restored to a smaller size, then a larger one: each pane keeps its share.
        const auto resize = [&](const wxSize& size) {
            frame.Maximize(false);
            frame.SetSize(size);
            // The frame's size with or without the window manager's border; the list reaches
            // the area's right side.
            return WaitFor([&] {
                const wxRect area = frame.GetClientWindow()->GetScreenRect();
                const int right = ClientOnScreen(list).GetRight();
                return std::abs(frame.GetSize().x - size.x) < 20 && sideBySide() &&
                       right <= area.GetRight() && area.GetRight() - right < 10;
            });
        };
        for (const wxSize& size : {wxSize(800, 560), wxSize(1100, 700)}) {
            SCOPED_TRACE(size.x);
            ASSERT_TRUE(resize(size));
            EXPECT_NEAR(WidthShare(ClientOnScreen(canvas), ClientOnScreen(list)), share, 0.05);
            EXPECT_EQ(view->GetViewport().width, canvas.GetClientPixels().x);
        }

        // The sash dragged far to the left, then the smallest frame: neither pane gets less
        // than a usable width.
        const wxRect design = ClientOnScreen(canvas);
        const wxPoint sash((design.GetRight() + ClientOnScreen(list).x) / 2,
                           design.y + design.height / 2);
        input.MouseMove(sash);
        WaitForInput(input);
        input.MouseDown();
        input.MouseMove(sash - wxPoint(design.width / 2, 0));
        input.MouseMove(wxPoint(design.x + 200, sash.y));
        input.MouseUp();
        ASSERT_TRUE(WaitFor([&] { return ClientOnScreen(canvas).width < 300; }));
        ASSERT_TRUE(resize({420, 420}));
        EXPECT_GE(ClientOnScreen(canvas).width, 140);
        EXPECT_GE(ClientOnScreen(list).width, 140);
        WaitUntilPainted(frame);
        EXPECT_FALSE(TakeScreenshot("zarnel-side-by-side-restored.png").empty());
        view->GetDocument()->Modify(false);
    });
}

TEST_F(ViewMouseWindow, StatusBarIsReadyAgainInAnotherWindow) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* first = ActiveView(app);
        ASSERT_NE(first, nullptr);
        const auto status = [&] { return frame.GetStatusBar()->GetStatusText(0); };
        wxUIActionSimulator input;
        // A tube on the start coupling, and a click with the select tool that names its
        // article.
        const auto clickTube = [&](CZarnelView& view) {
            const CZarnelDcmt& dcmt =
                dynamic_cast<CZarnelWxDocument&>(*view.GetDocument()).GetDcmt();
            SendCommand(frame, CommandId::Tube35);
            input.MouseMove(ScreenPoint(view, {150.0, 0.0, 0.0}));
            WaitForInput(input);
            input.MouseClick();
            EXPECT_TRUE(WaitFor([&] { return dcmt.GetCurrentRevision() == 1; }));
            SendCommand(frame, CommandId::ToolSelect);
            input.MouseMove(ScreenPoint(view, {200.0, 0.0, 0.0}));
            WaitForInput(input);
            input.MouseClick();
            return WaitFor([&] { return status().StartsWith("Rohr"); });
        };
        ASSERT_TRUE(clickTube(*first));
        const wxString article = status();

        // Ctrl+N: the new design's window starts with the idle text.
        input.Char('n', wxMOD_CONTROL);
        ASSERT_TRUE(WaitFor([&] { return ActiveView(app) != nullptr && ActiveView(app) != first; }));
        CZarnelView* second = ActiveView(app);
        WaitForIdle();
        EXPECT_EQ(status(), "Bereit");
        ASSERT_TRUE(clickTube(*second));

        // Side by side the active window stays and so does its text; F6 moves to the other
        // design, and a click there names its article again.
        input.Char('f', wxMOD_ALT);
        WaitForIdle();
        input.Char('n');
        ASSERT_TRUE(WaitFor([&] {
            return first->GetCanvas()->IsShownOnScreen() && second->GetCanvas()->IsShownOnScreen();
        }));
        EXPECT_EQ(status(), article);
        input.Char(WXK_F6);
        ASSERT_TRUE(WaitFor([&] { return ActiveView(app) == first; }));
        WaitForIdle();
        EXPECT_EQ(status(), "Bereit");
        input.MouseMove(ScreenPoint(*second, {200.0, 0.0, 0.0}));
        WaitForInput(input);
        input.MouseClick();
        ASSERT_TRUE(WaitFor([&] { return ActiveView(app) == second && status() == article; }));
        first->GetDocument()->Modify(false);
        second->GetDocument()->Modify(false);
    });
}

} // namespace
