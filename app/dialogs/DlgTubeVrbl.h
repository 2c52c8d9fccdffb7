// Dialog 201 "Variable Rohrlänge": the length of the tube tool "?cm Rohr", in centimetres. The
// length is refused outside 10 to 1000 cm with the framework's range message, and the dialog then
// stays open; numbers are typed and shown in the user's locale.
#pragma once

#include "app/dialogs/DialogEx.h"

class CDlgTubeVrbl : public CDialogEx {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int { IdLength = 1000 };
    // The lengths a tube of the tool may have, cm.
    static constexpr float kMinLength = 10.0f;
    static constexpr float kMaxLength = 1000.0f;

    // The length starts at 0.0 until the caller sets it.
    explicit CDlgTubeVrbl(wxWindow* parent);

    // cm; set before the dialog is shown, read after OK.
    float GetLength() const { return m_length; }
    void SetLength(float length) { m_length = length; }

protected:
    void DoDataExchangeEx(CDataExchange& dx, const void* field) override;
    // Typing starts in the length, its text selected.
    void OnInitDialogEx() override;

private:
    float m_length = 0.0f;
};
