// Which camera a 3D view looks through: one of the design's four (index 0 to 3), shared with
// every window that binds it and saved with the design, or a private copy that only this view
// changes. Headless, so that the camera commands run without a window.
#pragma once

#include <memory>

#include "model/Cmra.h"

class CZarnelDcmt;

class CViewCamera {
public:
    // The camera in use: the design's camera of the index, or the own copy; nullptr when none is
    // bound (or the index is bound but there is no design). Valid until the next Select or the
    // design's end.
    CCmra* Get(CZarnelDcmt* dcmt) const;
    // 0 to 3, or -1 for the own copy (or none).
    int GetIndex() const { return m_index; }
    // Whether the camera in use is the design's: its changes are saved with the design.
    bool IsDesignCamera() const { return m_index >= 0; }
    // Binds camera 0 when nothing is bound yet.
    void BindDefault();
    // n = 0 to 3. Choosing the camera in use again makes it a private copy; another is bound
    // and true returned (the picture changes). False and nothing changed for another n or
    // without a design.
    bool Select(int n, CZarnelDcmt* dcmt);

private:
    int m_index = -1;
    std::unique_ptr<CCmra> m_own; // only while the index is -1
};
