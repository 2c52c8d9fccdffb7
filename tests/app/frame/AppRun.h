// Runs the design program inside a test process on the X display of the test (Xvfb): start-up
// with given arguments, a test script once the main window is up, then shut-down as when the
// user closes the main window. Modal dialogs do not block: they are recorded and answered.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include "tests/harness/WindowWait.h"

class CZarnelApp;

struct SDialogRecord {
    std::string title;
    std::string message;             // message boxes only
    std::vector<std::string> labels; // message boxes only: the labels of their buttons
};

// Answers every modal dialog with answer (wxID_OK unless set) without showing it.
class DialogRecorder : public wxModalDialogHook {
public:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}

    std::vector<SDialogRecord> dialogs;
    int answer = wxID_OK;
    // Runs where the user would look at the dialog (the program's other windows may paint).
    std::function<void(wxDialog&)> whileShown;
};

struct SAppRunResult {
    bool started = false; // start-up succeeded
    int exitCode = 0;     // what the program's main would return
    std::vector<SDialogRecord> dialogs;
};

// Start-up with arguments (without the program name); script (when start-up succeeded) runs in
// the event loop once the main window is shown, maximised and painted and the toolkit is idle;
// afterwards the main window is closed unless the script closed it. Boxes are answered with OK.
SAppRunResult RunZarnel(const std::vector<std::string>& arguments,
                        const std::function<void(CZarnelApp&)>& script);

// The recorder of the run under way (scripts set its answer); nullptr outside a run.
DialogRecorder* ActiveDialogRecorder();

// Saves a picture of the whole screen to the test's artifact folder; the path, or empty.
std::string TakeScreenshot(const std::string& name);
