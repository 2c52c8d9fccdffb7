// The 3D view's editing commands in the design program on a virtual display: a selection
// copied through the system clipboard as plain UTF-8 text and pasted into a second design, the
// surface dialog of the tools, and an edit that memory runs out for and an exception that no
// operation caught, both shown while the program goes on.
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/docview.h>
#include <wx/uiaction.h>

#include "app/frame/CommandIds.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/shell/ZarnelApp.h"
#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/Messages.h"
#include "tests/app/frame/AppRun.h"
#include "tests/app/view/ViewWindowKit.h"
#include "tests/harness/FailingAllocation.h"
#include "tests/harness/TempFolder.h"

namespace {

const std::string kPlayTower = std::string(ZARNEL_DATA_DIR) + "/play-tower.zdf";
const std::string kGermanName = "Grün über Weiß";

using ViewEditWindow = ViewWindowTest;

// What another program reads from the clipboard as plain text, in UTF-8.
std::string ClipboardPlainText() {
    wxClipboardLocker locker;
    wxTextDataObject data;
    if (!locker || !wxTheClipboard->IsSupported(wxDF_TEXT) || !wxTheClipboard->GetData(data)) {
        return {};
    }
    return data.GetText().utf8_string();
}

int CountAlive(const CZarnelDcmt& dcmt, ElmntKind kind) {
    int count = 0;
    for (const CElmnt& elmnt : dcmt.GetAliveElements()) {
        count += elmnt.kind == kind ? 1 : 0;
    }
    return count;
}

TEST_F(ViewEditWindow, SelectionTravelsThroughTheSystemClipboardToAnotherDesign) {
    RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& tower = *view->GetDcmt();
        tower.SetMaterial(40, std::make_unique<CMtrl>(40, kGermanName, MtrlUse::All, 0.2f, 0.7f,
                                                      0.2f, SLightFactors{}, SLightFactors{}));
        CElmnt* tube = nullptr;
        for (CElmnt& elmnt : tower.GetAliveElements()) {
            if (elmnt.kind == ElmntKind::Tube) {
                tube = &elmnt;
                break;
            }
        }
        ASSERT_NE(tube, nullptr);
        tube->SetMaterial(40);
        tube->Select();
        SendCommand(frame, CommandId::EditCopy);
        const std::string text = ClipboardPlainText();
        EXPECT_NE(text.find("material3{40,\"" + kGermanName + "\""), std::string::npos);
        EXPECT_NE(text.find("\r\ntube2{"), std::string::npos);

        SendCommand(frame, CommandId::FileNew);
        CZarnelView* other = ActiveView(app);
        ASSERT_NE(other, nullptr);
        ASSERT_NE(other, view);
        CZarnelDcmt& fresh = *other->GetDcmt();
        SendCommand(frame, CommandId::EditPaste);
        ASSERT_EQ(CountAlive(fresh, ElmntKind::Tube), 1);
        EXPECT_EQ(other->GetToolMode(), ToolMode::Select);
        for (const CElmnt& elmnt : fresh.GetAliveElements()) {
            if (elmnt.kind == ElmntKind::Tube) {
                EXPECT_TRUE(elmnt.selected);
                EXPECT_EQ(fresh.GetMaterial(elmnt.GetMaterial())->GetName(), kGermanName);
            }
        }
        SendCommand(frame, CommandId::EditUndo);
        EXPECT_EQ(CountAlive(fresh, ElmntKind::Tube), 0);

        fresh.SetModified(false);
        tower.SetModified(false);
    });
}

TEST_F(ViewEditWindow, SameSurfaceToolAndToolMaterialsDialog) {
    SAppRunResult result = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(frame.IsCommandEnabled(WxCommandId(CommandId::ToolMaterials)));
        // Checked while the tool's category is in a material the user made (slot 20 and up).
        EXPECT_FALSE(IsChecked(frame, CommandId::ToolMaterials));
        view->GetState().tool.categoryMaterials[0] = 20;
        EXPECT_TRUE(IsChecked(frame, CommandId::ToolMaterials));
        view->GetState().tool.categoryMaterials[0] = 2;
        SendCommand(frame, CommandId::ToolMaterials);
        EXPECT_EQ(view->GetToolMode(), ToolMode::AtConnection);
        SendCommand(frame, CommandId::ToolSameSurface);
        EXPECT_EQ(view->GetToolMode(), ToolMode::SameSurface);
        EXPECT_EQ(view->GetState().tool.kind, ElmntKind::None);
        view->GetDcmt()->SetModified(false);
    });
    ASSERT_EQ(result.dialogs.size(), 2u);
    EXPECT_EQ(result.dialogs[0].title, result.dialogs[1].title);
}

} // namespace

// The Delete key on a large selection while memory runs out for the large blocks: the program
// says so with the system's reason and the design is as it was. Then a key whose handler throws
// what nothing catches: the program shows it and goes on, and the Delete key deletes.
TEST_F(ViewEditWindow, EditsThatFailAreShownAndTheProgramGoesOn) {
    const SAppRunResult run = RunZarnel({kPlayTower}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelView* view = ActiveView(app);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& tower = *view->GetDcmt();
        // So many elements that what a deletion keeps to put back is a block of 64 KiB and more.
        const Revision added = tower.NewRevision();
        for (int i = 0; i < 1000; ++i) {
            auto tube = std::make_unique<CElmnt>(tower.GetIdSource(), added, ElmntKind::Tube, 2,
                                                 350.0f, 0.0f);
            tube->Translate(400.0 * (i % 40), 0.0, 3000.0 + 400.0 * (i / 40));
            tower.AddElement(std::move(tube));
        }
        tower.FinishChange(ViewHint::Everything);
        SendCommand(frame, CommandId::SelectAll);
        const Revision revision = tower.GetCurrentRevision();
        const int tubes = CountAlive(tower, ElmntKind::Tube);
        DialogRecorder& dialogs = *ActiveDialogRecorder();

        view->GetCanvas()->SetFocus();
        WaitForIdle();
        wxUIActionSimulator input;
        ArmFailingAllocations(64 * 1024, 0, 1);
        input.Char(WXK_DELETE);
        const bool shown = WaitUntil([&] { return dialogs.dialogs.size() == 1; }, "the refusal");
        EXPECT_TRUE(DisarmFailingAllocations());
        ASSERT_TRUE(shown);
        EXPECT_EQ(dialogs.dialogs[0].message,
                  "Der Arbeitsschritt konnte nicht ausgeführt werden. Die Konstruktion ist "
                  "unverändert.\n" +
                      OutOfMemoryReason());
        EXPECT_EQ(tower.GetCurrentRevision(), revision);
        EXPECT_EQ(CountAlive(tower, ElmntKind::Tube), tubes);

        const auto throwing = [](wxKeyEvent& event) {
            if (event.GetKeyCode() != WXK_F12) {
                event.Skip();
                return;
            }
            throw std::runtime_error("ein Fehler, den keiner fing");
        };
        view->GetCanvas()->Bind(wxEVT_KEY_DOWN, throwing);
        input.Char(WXK_F12);
        ASSERT_TRUE(
            WaitUntil([&] { return dialogs.dialogs.size() == 2; }, "the escaped exception"));
        view->GetCanvas()->Unbind(wxEVT_KEY_DOWN, throwing);
        EXPECT_EQ(dialogs.dialogs[1].message,
                  "Ein unerwarteter Fehler ist aufgetreten. Der Arbeitsschritt wurde abgebrochen, "
                  "das Programm läuft weiter.\nein Fehler, den keiner fing");

        input.Char(WXK_DELETE);
        EXPECT_TRUE(WaitUntil([&] { return tower.GetCurrentRevision() == revision + 1; },
                              "the deletion"));
        EXPECT_LT(CountAlive(tower, ElmntKind::Tube), tubes);
        view->RepaintNow();
        WaitUntilPainted(*view->GetCanvas());
        EXPECT_FALSE(TakeScreenshot("zarnel-edit-refused-program-goes-on.png").empty());
        tower.SetModified(false);
    });
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0);
}
