// Window tests of dialogs: one wx application for the test program, actions run on a dialog
// once its modal loop runs, the user's clicks, keys and typing as events, and screenshots.
#pragma once

#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>

// Starts the toolkit for the whole test program (call once, from a global).
void RegisterWxEnvironment(const char* programName);

// Runs action on the open dialog of type T once its modal loop runs. A fatal failure inside the
// action cancels a dialog that it left open, so that a failing test never hangs.
template <typename T> void WhenShown(std::function<void(T&)> action) {
    wxTheApp->CallAfter([action] {
        for (wxWindow* window : wxTopLevelWindows) {
            if (auto* dialog = dynamic_cast<T*>(window); dialog != nullptr && dialog->IsModal()) {
                action(*dialog);
                if (::testing::Test::HasFatalFailure() && dialog->IsModal()) {
                    dialog->EndModal(wxID_CANCEL);
                }
                return;
            }
        }
        ADD_FAILURE() << "the dialog is not open";
    });
}

// A click on the control with the id, as the user makes it: a button is pressed, a check box
// toggled, a radio button set; the control's event follows.
void Click(wxWindow& dialog, int id);
// Escape pressed in the dialog, and its close box.
void PressEscape(wxDialog& dialog);
void PressCloseBox(wxDialog& dialog);
// Text typed into the edit field with the id (replacing its text, with the change event).
void Type(wxWindow& dialog, int id, const std::string& text);
// The text of the edit field with the id.
std::string FieldText(wxWindow& dialog, int id);
// The text with '.' replaced by the decimal character of the locale the test runs under.
std::string Local(std::string text);

// Waits until the dialog is mapped and painted, then saves it as a PNG in the build folder; the path,
// or empty when no picture could be taken.
std::string Screenshot(wxWindow& dialog, const std::string& name);
