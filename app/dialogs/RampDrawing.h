// The drawing of the ramp dialog that names its four measures: for a ramp alone the right
// triangle of rise h, slope length l, run t and angle w; for a tilted model the model on its
// slope over the horizontal length l with rise h and angle w.
#pragma once

#include <wx/window.h>

class CRampDrawing : public wxWindow {
public:
    CRampDrawing(wxWindow* parent, int type);
    // The ramp type whose drawing is shown (RampType).
    void SetType(int type);

private:
    void OnPaint(wxPaintEvent& event);

    int m_type;
};
