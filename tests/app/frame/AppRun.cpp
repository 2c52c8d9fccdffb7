// In-process runs of the design program for window tests.
#include "tests/app/frame/AppRun.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/msgdlg.h>
#include <wx/renderer.h>
#include <wx/utils.h>

#include "app/frame/MainFrm.h"
#include "app/shell/ZarnelApp.h"
#include "tests/harness/WindowWait.h"

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& function,
                  const wxString& condition, const wxString& message) {
    ADD_FAILURE() << "wx assertion at " << file.utf8_string() << ":" << line << " in "
                  << function.utf8_string() << ": " << condition.utf8_string() << " "
                  << message.utf8_string();
}

DialogRecorder* g_recorder = nullptr;

// Column headers drawn by wx's own renderer. The GTK renderer keeps GTK widgets of the first
// toolkit session in statics that the session's end destroys, so a list header painted in a
// later session of the same test process would use a freed widget.
class GenericHeaders : public wxDelegateRendererNative {
public:
    GenericHeaders() : wxDelegateRendererNative(wxRendererNative::GetDefault()) {}
    int DrawHeaderButton(wxWindow* window, wxDC& dc, const wxRect& rect, int flags,
                         wxHeaderSortIconType sortArrow, wxHeaderButtonParams* params) override {
        return wxRendererNative::GetGeneric().DrawHeaderButton(window, dc, rect, flags, sortArrow,
                                                               params);
    }
    int GetHeaderButtonHeight(wxWindow* window) override {
        return wxRendererNative::GetGeneric().GetHeaderButtonHeight(window);
    }
    int GetHeaderButtonMargin(wxWindow* window) override {
        return wxRendererNative::GetGeneric().GetHeaderButtonMargin(window);
    }
};

} // namespace

DialogRecorder* ActiveDialogRecorder() {
    return g_recorder;
}

int DialogRecorder::Enter(wxDialog* dialog) {
    SDialogRecord record;
    record.title = dialog->GetTitle().utf8_string();
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        record.message = box->GetMessage().utf8_string();
        long style = box->GetMessageDialogStyle();
        if (style & wxYES_NO) {
            record.labels.push_back(box->GetYesLabel().utf8_string());
            record.labels.push_back(box->GetNoLabel().utf8_string());
        }
        if (style & wxOK) {
            record.labels.push_back(box->GetOKLabel().utf8_string());
        }
        if (style & wxCANCEL) {
            record.labels.push_back(box->GetCancelLabel().utf8_string());
        }
    }
    dialogs.push_back(record);
    if (whileShown) {
        whileShown(*dialog);
    }
    return answer;
}

std::string TakeScreenshot(const std::string& name) {
    std::string path = std::string(ZARNEL_ARTIFACT_DIR) + "/" + name;
    std::string command = "import -window root '" + path + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? path : std::string();
}

SAppRunResult RunZarnel(const std::vector<std::string>& arguments,
                        const std::function<void(CZarnelApp&)>& script) {
    CZarnelApp::PrepareEnvironment();
    wxSetAssertHandler(FailOnAssert);
    std::vector<std::string> storage = {"zarnel"};
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(storage.size());

    SAppRunResult result;
    DialogRecorder recorder;
    recorder.Register();
    g_recorder = &recorder;
    if (!wxEntryStart(argc, argv.data())) {
        ADD_FAILURE() << "the toolkit could not start: no display?";
        recorder.Unregister();
        g_recorder = nullptr;
        result.exitCode = 1;
        return result;
    }
    delete wxRendererNative::Set(new GenericHeaders);
    auto& app = static_cast<CZarnelApp&>(*wxTheApp);
    result.started = app.CallOnInit();
    if (result.started) {
        app.CallAfter([&app, &script] {
            CMainFrm* frame = app.GetMainFrame();
            // The window manager maximises and maps the window in its own time.
            WaitUntil(
                [frame] {
                    return frame->IsMaximized() && frame->IsShownOnScreen() &&
                           frame->GetSize().x > 1000;
                },
                "the main window maximised on the screen");
            WaitUntilPainted(*frame);
            WaitForIdle();
            script(app);
            if (app.GetMainFrame() != nullptr && wxTopLevelWindows.GetCount() > 0 &&
                !app.GetMainFrame()->IsBeingDeleted()) {
                app.GetMainFrame()->Close();
            }
        });
        app.OnRun();
        result.exitCode = app.OnExit();
    } else {
        result.exitCode = 1;
    }
    wxEntryCleanup();
    delete wxRendererNative::Set(nullptr);
    recorder.Unregister();
    g_recorder = nullptr;
    result.dialogs = recorder.dialogs;
    return result;
}
