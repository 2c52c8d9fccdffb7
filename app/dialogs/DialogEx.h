// The dialog base of the design program's dialogs with edit fields: a data exchange that can
// take over or show one value at a time (for handlers that run on every keystroke), knows whether
// the dialog has been initialised, and validates in the transfer, so that a dialog works on a
// copy of its values and hands them back only when every field is valid. With it come the
// exchange functions for numbers, check boxes and radio groups. Escape, the close box and a
// Cancel button all cancel.
#pragma once

#include <initializer_list>
#include <vector>

#include <wx/dialog.h>

class wxRadioButton;
class wxSizer;
class wxTextCtrl;

// Thrown by CDataExchange::Fail after the user has been told why a field was refused.
struct ExchangeFailed {};

// One exchange between a dialog's controls and its values, in one direction.
class CDataExchange {
public:
    CDataExchange(wxWindow& dialog, bool save) : m_dialog(dialog), m_save(save) {}

    // True: from the controls into the values; false: the values into the controls.
    bool IsSaving() const { return m_save; }
    wxWindow& GetDialog() const { return m_dialog; }
    // The edit field with the id (nested in group boxes or not); it becomes the field that a
    // failure puts the focus on. Throws std::logic_error when the dialog has no such field.
    wxTextCtrl& PrepareEditCtrl(int id);
    // Ends the exchange as refused: the focus goes to the last prepared field with its text
    // selected. The message has been shown by the caller.
    [[noreturn]] void Fail();

private:
    wxWindow& m_dialog;
    bool m_save;
    wxTextCtrl* m_lastEdit = nullptr;
};

// A group of radio buttons exchanged as one int: the index of the button that is set. A hidden
// extra button stands for "none of them" (a value outside the group), which the toolkit cannot
// show otherwise.
class CRadioGroup {
public:
    // Creates the buttons as children of parent, the first starting a new group; the hidden
    // button is created last and never shown. The caller places the buttons in its sizers.
    CRadioGroup(wxWindow* parent, std::initializer_list<int> ids,
                const std::vector<wxString>& labels);

    const std::vector<wxRadioButton*>& GetButtons() const { return m_buttons; }
    wxRadioButton* GetButton(std::size_t index) const { return m_buttons.at(index); }
    // The index of the button that is set; -1 for none.
    int GetValue() const;
    // Sets button value; a value outside the group sets none.
    void SetValue(int value);

private:
    std::vector<wxRadioButton*> m_buttons;
    wxRadioButton* m_none = nullptr;
};

class CDialogEx : public wxDialog {
public:
    CDialogEx(wxWindow* parent, const wxString& title);

    // False until the values have gone into the controls when the dialog opened.
    bool IsInitialised() const { return m_initialised; }
    // Exchanges the values with the controls. field nullptr: every value. Otherwise the address
    // of the one value a handler is about: before initialisation nothing happens and the result
    // is false; saving takes over only that value, loading shows every other value, so that the
    // field the user types in is never rewritten. False when a field was refused (its message
    // has been shown) or the exchange failed otherwise (the internal-failure message).
    bool UpdateDataEx(bool save, const void* field = nullptr);

    bool TransferDataToWindow() override { return UpdateDataEx(false); }
    bool TransferDataFromWindow() override { return UpdateDataEx(true); }

protected:
    // The exchange of the dialog's values, for every value (field nullptr) or for the one field
    // as UpdateDataEx says; a refused field ends it through CDataExchange::Fail.
    virtual void DoDataExchangeEx(CDataExchange& dx, const void* field);
    // Runs once the values are in the controls when the dialog opens, before it counts as
    // initialised.
    virtual void OnInitDialogEx() {}
    // Escape, the close box or a Cancel button: the dialog closes with wxID_CANCEL afterwards.
    virtual void OnCancel() {}

    // Whether the value at member takes part in an exchange for field (see UpdateDataEx).
    static bool Takes(const CDataExchange& dx, const void* field, const void* member) {
        return field == nullptr || (field == member) == dx.IsSaving();
    }

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void Cancel();

    bool m_initialised = false;
};

// Exchanges of one value with the control that has the id. Saving a text that is no number
// shows the framework's message and fails the exchange; the value is only changed by a field
// that was taken. Loading writes the value into the field without a change event.
//
// A double with "%lg"; 0.0 is shown as an empty field, and an empty field is 0.0.
void DDX_TextZeroEmpty(CDataExchange& dx, int id, double& value);
// A double with "%lg"; an empty field leaves the value as it was.
void DDX_TextDbl(CDataExchange& dx, int id, double& value);
// The framework's double exchange: "%.15g"; an empty field is no number.
void DDX_Text(CDataExchange& dx, int id, double& value);
// An int in decimal.
void DDX_Text(CDataExchange& dx, int id, int& value);
// The framework's float exchange: six significant digits ("%.6g"); an empty field, or a number
// that no float can hold, is no number.
void DDX_Text(CDataExchange& dx, int id, float& value);
// When saving: a value outside [min, max] shows the framework's range message and fails.
void DDV_MinMaxDouble(CDataExchange& dx, double value, double min, double max);
void DDV_MinMaxInt(CDataExchange& dx, int value, int min, int max);
void DDV_MinMaxFloat(CDataExchange& dx, float value, float min, float max);
// The check box with the id.
void DDX_Check(CDataExchange& dx, int id, bool& value);
// The index of the set button; saving with none set leaves the value as it was.
void DDX_Radio(CDataExchange& dx, CRadioGroup& group, int& value);
