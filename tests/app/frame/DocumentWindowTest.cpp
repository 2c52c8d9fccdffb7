// Designs in their windows on a virtual display: opening and saving through the design file,
// the save prompt, the document's commands and their enabled states, several windows on one
// design and the update hints that reach them.
#include <cmath>
#include <deque>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/docview.h>

#include "app/frame/ChldFrm.h"
#include "app/frame/CommandBars.h"
#include "app/frame/CommandIds.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/partlist/PartListCtrl.h"
#include "app/partlist/PartListView.h"
#include "app/shell/ZarnelApp.h"
#include "app/view/ZarnelView.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "support/Profile.h"
#include "support/UserInterface.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

class DesignWindows : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZARNEL_CONFIG_DIR", m_folder.File("user").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    }

    TempFolder m_folder;
};

// Answers the file dialogs from a list and hands everything else to the program's own seam,
// whose boxes the run's dialog recorder answers.
class ScriptedFileDialogs : public UserInterface {
public:
    ScriptedFileDialogs() : m_program(GetUserInterface()) { InstallUserInterface(this); }
    ~ScriptedFileDialogs() override { InstallUserInterface(&m_program); }

    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) override {
        return m_program.ShowMessageBox(text, caption, buttons, icon);
    }
    void Beep() override { m_program.Beep(); }
    void BeginBusy() override { m_program.BeginBusy(); }
    void EndBusy() override { m_program.EndBusy(); }
    std::optional<std::string> ChooseFile(const FileChoice& choice) override {
        choices.push_back(choice);
        if (paths.empty()) {
            return std::nullopt;
        }
        std::string path = paths.front();
        paths.pop_front();
        return path;
    }
    bool SetClipboardText(const std::string& text) override {
        return m_program.SetClipboardText(text);
    }
    std::optional<std::string> GetClipboardText() override { return m_program.GetClipboardText(); }
    uint32_t GetButtonFaceColour() override { return m_program.GetButtonFaceColour(); }

    std::deque<std::string> paths;
    std::vector<FileChoice> choices;

private:
    UserInterface& m_program;
};

CZarnelWxDocument* CurrentDocument(CZarnelApp& app) {
    return dynamic_cast<CZarnelWxDocument*>(app.GetDocManager()->GetCurrentDocument());
}

CChldFrm* ActiveChild(CZarnelApp& app) {
    return dynamic_cast<CChldFrm*>(app.GetMainFrame()->GetActiveChild());
}

size_t DocumentCount(CZarnelApp& app) {
    return app.GetDocManager()->GetDocuments().GetCount();
}

std::vector<CZarnelWxView*> Views(wxDocument& document) {
    std::vector<CZarnelWxView*> views;
    for (wxView* view : document.GetViewsVector()) {
        views.push_back(dynamic_cast<CZarnelWxView*>(view));
    }
    return views;
}

int AliveCount(const CZarnelDcmt& dcmt) {
    int count = 0;
    for ([[maybe_unused]] const CElmnt& elmnt : dcmt.GetAliveElements()) {
        ++count;
    }
    return count;
}

// A change as a part tool makes it: a 35 cm tube in a new revision, recounted, windows told.
CElmnt& AddTube(CZarnelWxDocument& document) {
    CZarnelDcmt& dcmt = document.GetDcmt();
    Revision r = dcmt.NewRevision();
    CElmnt& tube = dcmt.AddElement(
        std::make_unique<CElmnt>(dcmt.GetIdSource(), r, ElmntKind::Tube, 1, 350.0f, 0.0f));
    dcmt.UpdatePartsList();
    document.UpdateAllViews(ViewHint::Insertion);
    return tube;
}

// A design file with the start coupling, the floor grid and the given number of tubes.
std::string WriteDesign(const std::string& path, int tubes) {
    CZarnelDcmt dcmt;
    for (int i = 0; i < tubes; ++i) {
        Revision r = dcmt.NewRevision();
        dcmt.AddElement(
            std::make_unique<CElmnt>(dcmt.GetIdSource(), r, ElmntKind::Tube, 1, 350.0f, 0.0f));
    }
    EXPECT_TRUE(dcmt.SaveFile(path, 1, CouplingSnap::NormalSq));
    return path;
}

// The number of elements alive in a design file, or -1 when it cannot be read.
int AliveInFile(const std::string& path) {
    CZarnelDcmt dcmt;
    return dcmt.LoadFile(path) ? AliveCount(dcmt) : -1;
}

void SendCommand(CMainFrm& frame, uint32_t command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
    WaitForIdle();
}

bool IsEnabled(CMainFrm& frame, uint32_t command) {
    return frame.IsCommandEnabled(WxCommandId(command));
}

TEST_F(DesignWindows, DesignFromTheCommandLineOpensInOneWindow) {
    std::string path = WriteDesign(m_folder.File("modell.zdf"), 2);
    bool ran = false;
    SAppRunResult result = RunZarnel({path}, [&](CZarnelApp& app) {
        ran = true;
        ASSERT_EQ(DocumentCount(app), 1u);
        CZarnelWxDocument* document = CurrentDocument(app);
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(AliveCount(document->GetDcmt()), 4);
        EXPECT_FALSE(document->IsModified());
        EXPECT_EQ(document->GetDcmt().GetPathName(), path);
        EXPECT_EQ(document->GetDcmt().GetTitle(), "modell.zdf");
        ASSERT_NE(ActiveChild(app), nullptr);
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "modell.zdf");
        std::vector<CZarnelWxView*> views = Views(*document);
        ASSERT_EQ(views.size(), 1u);
        EXPECT_NE(dynamic_cast<CZarnelView*>(views[0]), nullptr);
        // The design was read before its window opened, and the window was brought up to date.
        EXPECT_GE(views[0]->GetUpdateCount(), 1);
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(result.dialogs.empty());
}

TEST_F(DesignWindows, RelativePathOnTheCommandLineIsKeptInFull) {
    std::string path = WriteDesign(m_folder.File("relativ.zdf"), 0);
    std::string started = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.Path());
    RunZarnel({"relativ.zdf"}, [&](CZarnelApp& app) {
        ASSERT_NE(CurrentDocument(app), nullptr);
        EXPECT_EQ(CurrentDocument(app)->GetDcmt().GetPathName(), path);
    });
    std::filesystem::current_path(started);
    EXPECT_EQ(GetProfileString("Recent File List", "File1"), path);
}

TEST_F(DesignWindows, DamagedFileGivesOnlyTheReadersReportAndNoWindow) {
    std::string damaged = m_folder.Write("kaputt.zdf", "0, 0;\nmaterial3{ kaputt\n");
    SAppRunResult start = RunZarnel({damaged}, [](CZarnelApp&) {});
    EXPECT_FALSE(start.started);
    ASSERT_EQ(start.dialogs.size(), 1u);
    EXPECT_EQ(start.dialogs[0].title, "Error");
    EXPECT_NE(start.dialogs[0].message.find(damaged), std::string::npos)
        << start.dialogs[0].message;

    // Through File Open in a running program: the new design stays the only one.
    SAppRunResult running = RunZarnel({}, [&](CZarnelApp& app) {
        ScriptedFileDialogs files;
        files.paths.push_back(damaged);
        SendCommand(*app.GetMainFrame(), CommandId::FileOpen);
        EXPECT_EQ(files.choices.size(), 1u);
        EXPECT_EQ(DocumentCount(app), 1u);
        ASSERT_NE(ActiveChild(app), nullptr);
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "Zarnel1");
        size_t frames = 0;
        for (wxWindow* window : app.GetMainFrame()->GetClientWindow()->GetChildren()) {
            frames += dynamic_cast<CChldFrm*>(window) != nullptr ? 1 : 0;
        }
        EXPECT_EQ(frames, 1u);
    });
    ASSERT_EQ(running.dialogs.size(), 1u);
    EXPECT_EQ(running.dialogs[0].title, "Error");
}

TEST_F(DesignWindows, SaveAndSaveAsWriteThroughTheDesignFile) {
    const std::string path = m_folder.File("entwurf.zdf");
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelWxDocument* document = CurrentDocument(app);
        ASSERT_NE(document, nullptr);
        ScriptedFileDialogs files;
        AddTube(*document);
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "Zarnel1*");

        // A new design is saved under a name chosen in the Save As dialog.
        files.paths.push_back(path);
        SendCommand(frame, CommandId::FileSave);
        ASSERT_EQ(files.choices.size(), 1u);
        EXPECT_TRUE(files.choices[0].save);
        EXPECT_EQ(files.choices[0].filter, "Zarnel Design Dateien (*.zdf)|*.zdf");
        EXPECT_EQ(files.choices[0].defaultExtension, "zdf");
        EXPECT_EQ(files.choices[0].initialPath, "Zarnel1.zdf");
        EXPECT_EQ(AliveInFile(path), 3);
        EXPECT_FALSE(document->IsModified());
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "entwurf.zdf");
        EXPECT_EQ(document->GetDcmt().GetPathName(), path);
        EXPECT_EQ(app.GetDocManager()->GetHistoryFile(0), path);

        // Saving again writes to the same file without asking.
        AddTube(*document);
        SendCommand(frame, CommandId::FileSave);
        EXPECT_EQ(files.choices.size(), 1u);
        EXPECT_EQ(AliveInFile(path), 4);

        // A save that cannot be written completely keeps the old file and the changes.
        const std::string saved = TempFolder::Read(path);
        AddTube(*document).length = std::numeric_limits<float>::quiet_NaN();
        SendCommand(frame, CommandId::FileSave);
        EXPECT_EQ(TempFolder::Read(path), saved);
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "entwurf.zdf*");
        // Save As to another name fails alike and leaves the name as it was.
        files.paths.push_back(m_folder.File("anders.zdf"));
        SendCommand(frame, CommandId::FileSaveAs);
        ASSERT_EQ(files.choices.size(), 2u);
        EXPECT_EQ(files.choices[1].initialPath, path);
        EXPECT_TRUE(TempFolder::Read(m_folder.File("anders.zdf")).empty());
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "entwurf.zdf*");
        EXPECT_EQ(document->GetDcmt().GetPathName(), path);
        document->Modify(false);
    });
    // The two failed saves, each reported once.
    ASSERT_EQ(result.dialogs.size(), 2u);
    EXPECT_EQ(result.dialogs[0].message.rfind("Fehler beim Speichern des Dokuments.", 0), 0u);
    EXPECT_EQ(result.dialogs[1].message.rfind("Fehler beim Speichern des Dokuments.", 0), 0u);
}

TEST_F(DesignWindows, ClosingTheLastWindowOfAChangedDesignAsksToSaveIt) {
    const std::string path = m_folder.File("zu.zdf");
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        DialogRecorder& recorder = *ActiveDialogRecorder();
        ScriptedFileDialogs files;
        CZarnelWxDocument* document = CurrentDocument(app);
        ASSERT_NE(document, nullptr);
        AddTube(*document);

        // Cancel keeps the window and the changes.
        recorder.answer = wxID_CANCEL;
        ActiveChild(app)->Close();
        WaitForIdle();
        ASSERT_EQ(recorder.dialogs.size(), 1u);
        EXPECT_EQ(recorder.dialogs[0].message, "Änderungen in Zarnel1 speichern?");
        EXPECT_EQ(recorder.dialogs[0].title, "Zarnel");
        EXPECT_EQ(recorder.dialogs[0].labels,
                  (std::vector<std::string>{"Ja", "Nein", "Abbrechen"}));
        EXPECT_EQ(DocumentCount(app), 1u);
        EXPECT_TRUE(document->IsModified());
        ASSERT_NE(ActiveChild(app), nullptr);

        // Closing the main window is refused alike.
        frame.Close();
        WaitForIdle();
        EXPECT_EQ(recorder.dialogs.size(), 2u);
        EXPECT_EQ(DocumentCount(app), 1u);
        EXPECT_TRUE(frame.IsShown());

        // Yes saves the new design under the name chosen, then closes it.
        recorder.answer = wxID_YES;
        files.paths.push_back(path);
        ActiveChild(app)->Close();
        WaitUntil([&] { return DocumentCount(app) == 0; }, "the saved design closed");
        EXPECT_EQ(AliveInFile(path), 3);
        EXPECT_EQ(DocumentCount(app), 0u);

        // No closes without saving.
        SendCommand(frame, CommandId::FileNew);
        AddTube(*CurrentDocument(app));
        recorder.answer = wxID_NO;
        ActiveChild(app)->Close();
        WaitUntil([&] { return DocumentCount(app) == 0; }, "the design closed");
        EXPECT_EQ(recorder.dialogs.size(), 4u);
        EXPECT_EQ(recorder.dialogs[3].message, "Änderungen in Zarnel2 speichern?");
        EXPECT_EQ(DocumentCount(app), 0u);
        EXPECT_EQ(files.choices.size(), 1u);

        // One of two windows on a design closes without asking; the design stays changed.
        SendCommand(frame, CommandId::FileNew);
        document = CurrentDocument(app);
        AddTube(*document);
        SendCommand(frame, CommandId::WindowNew);
        ASSERT_EQ(document->GetViewsVector().size(), 2u);
        const CChldFrm* closing = ActiveChild(app);
        ActiveChild(app)->Close();
        WaitUntil(
            [&] {
                return document->GetViewsVector().size() == 1 && ActiveChild(app) != nullptr &&
                       ActiveChild(app) != closing;
            },
            "the other window of the design active");
        EXPECT_EQ(recorder.dialogs.size(), 4u);
        EXPECT_EQ(document->GetViewsVector().size(), 1u);
        EXPECT_TRUE(document->IsModified());
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "Zarnel3*");
    });
    EXPECT_EQ(result.exitCode, 0);
    // Closing the program asked once more, for Zarnel3, and was told No.
    EXPECT_EQ(result.dialogs.size(), 5u);
}

TEST_F(DesignWindows, UndoRedoAndDeletingTheHistoryFollowTheDesign) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelWxDocument* document = CurrentDocument(app);
        ASSERT_NE(document, nullptr);
        CZarnelWxView* view = Views(*document).at(0);
        ASSERT_NE(view, nullptr);
        CZarnelDcmt& dcmt = document->GetDcmt();
        EXPECT_FALSE(IsEnabled(frame, CommandId::EditUndo));
        EXPECT_FALSE(IsEnabled(frame, CommandId::EditRedo));
        EXPECT_TRUE(IsEnabled(frame, CommandId::DeleteHistory));

        AddTube(*document);
        AddTube(*document);
        EXPECT_TRUE(IsEnabled(frame, CommandId::EditUndo));
        EXPECT_FALSE(IsEnabled(frame, CommandId::EditRedo));
        WaitUntil(
            [&] { return frame.GetToolbar(0)->GetToolEnabled(WxCommandId(CommandId::EditUndo)); },
            "the undo button enabled");
        EXPECT_TRUE(frame.GetToolbar(0)->GetToolEnabled(WxCommandId(CommandId::EditUndo)));
        EXPECT_FALSE(frame.GetToolbar(0)->GetToolEnabled(WxCommandId(CommandId::EditRedo)));

        SendCommand(frame, CommandId::EditUndo);
        EXPECT_EQ(AliveCount(dcmt), 3);
        EXPECT_EQ(view->GetLastHint(), ViewHint::UndoRedo);
        EXPECT_TRUE(IsEnabled(frame, CommandId::EditRedo));
        SendCommand(frame, CommandId::EditRedo);
        EXPECT_EQ(AliveCount(dcmt), 4);
        EXPECT_FALSE(IsEnabled(frame, CommandId::EditRedo));
        SendCommand(frame, CommandId::EditUndo);

        // Deleting the history keeps the drawing and ends undo and redo.
        SendCommand(frame, CommandId::DeleteHistory);
        EXPECT_EQ(AliveCount(dcmt), 3);
        EXPECT_EQ(dcmt.GetNewestRevision(), 0u);
        EXPECT_FALSE(IsEnabled(frame, CommandId::EditUndo));
        EXPECT_FALSE(IsEnabled(frame, CommandId::EditRedo));
        EXPECT_EQ(view->GetLastHint(), ViewHint::Everything);
        document->Modify(false);
    });
}

TEST_F(DesignWindows, FurtherWindowsOnOneDesignHearEveryHint) {
    std::string path = WriteDesign(m_folder.File("modell.zdf"), 1);
    RunZarnel({path}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelWxDocument* document = CurrentDocument(app);
        ASSERT_NE(document, nullptr);
        SendCommand(frame, CommandId::WindowNew);
        EXPECT_TRUE(IsEnabled(frame, CommandId::WindowPartsList));
        SendCommand(frame, CommandId::WindowPartsList);
        EXPECT_EQ(DocumentCount(app), 1u);
        std::vector<CZarnelWxView*> views = Views(*document);
        ASSERT_EQ(views.size(), 3u);
        for (CZarnelWxView* view : views) {
            ASSERT_NE(view, nullptr);
        }
        EXPECT_NE(dynamic_cast<CZarnelView*>(views[1]), nullptr);
        auto* partsList = dynamic_cast<CPartListView*>(views[2]);
        ASSERT_NE(partsList, nullptr);
        ASSERT_NE(ActiveChild(app), nullptr);
        EXPECT_EQ(ActiveChild(app)->GetMenuId(), 102u);
        EXPECT_EQ(ActiveChild(app)->GetTitle(), "modell.zdf:3");
        EXPECT_EQ(views[0]->GetFrame()->GetLabel(), "modell.zdf:1");

        // A change reaches every window; a window's own report reaches only the others.
        std::vector<int> before;
        for (CZarnelWxView* view : views) {
            before.push_back(view->GetUpdateCount());
        }
        AddTube(*document);
        for (size_t i = 0; i < views.size(); ++i) {
            EXPECT_EQ(views[i]->GetUpdateCount(), before[i] + 1) << i;
            EXPECT_EQ(views[i]->GetLastHint(), ViewHint::Insertion) << i;
        }
        // The parts list counts the new tube: its first row, the 35 cm tubes, shows 2.
        EXPECT_EQ(partsList->GetListCtrl()->GetItemText(0, 1), "2");
        document->UpdateAllViews(ViewHint::Change, views[0]);
        EXPECT_EQ(views[0]->GetLastHint(), ViewHint::Insertion);
        EXPECT_EQ(views[1]->GetLastHint(), ViewHint::Change);
        EXPECT_EQ(views[2]->GetLastHint(), ViewHint::Change);

        // The render-quality dialogs update every window, whatever they answer.
        DialogRecorder& recorder = *ActiveDialogRecorder();
        recorder.answer = wxID_CANCEL;
        for (uint32_t command : {CommandId::QualityEdit, CommandId::QualityPhoto}) {
            EXPECT_TRUE(IsEnabled(frame, command));
            AddTube(*document);
            SendCommand(frame, command);
            for (CZarnelWxView* view : views) {
                EXPECT_EQ(view->GetLastHint(), ViewHint::Everything) << command;
            }
        }
        ASSERT_EQ(recorder.dialogs.size(), 2u);
        EXPECT_EQ(recorder.dialogs[1].title, "3D-Darstellungsqualität");

        // Back to the first design window for the picture of the tabs.
        auto& first = dynamic_cast<CChldFrm&>(*views[0]->GetFrame());
        first.Activate();
        WaitUntil([&] { return ActiveChild(app) == &first; }, "the first design window active");
        WaitUntilPainted(*app.GetMainFrame());
        EXPECT_FALSE(TakeScreenshot("zarnel-one-design-three-windows.png").empty());
        document->Modify(false);
    });
}

} // namespace
