// What a command or a mouse action of the 3D view asks of its window, the application and the
// other windows on the design, beyond the view's own state: the view's logic decides, the window
// carries it out (CZarnelView::CarryOut). Several changes add up with |=.
#pragma once

#include <optional>
#include <string>

#include "model/DcmtObserver.h"

struct SViewChange {
    // The application's 15 cm snap option is set to this (every change of tool switches it off).
    std::optional<bool> wideSnap;
    // The design's selection is cleared (with the view's coupling material and the snap radius);
    // every window on the design is told when that changed anything.
    bool clearSelection = false;
    // The viewport is computed again from the client area and the camera's picture format.
    bool setViewport = false;
    // The view's camera changed: every window that shows it (this one and the design's other
    // windows bound to the same camera) computes its viewport again and is drawn again.
    bool cameraChanged = false;
    // The window is drawn again at the next opportunity, or at once.
    bool invalidate = false;
    bool repaintNow = false;
    // Every window on the design, this one included, is told with the hint.
    std::optional<ViewHint> hint;
    // Status pane 0 shows this text.
    std::optional<std::string> statusText;
    // The user hears that the action could not be done.
    bool beep = false;

    SViewChange& operator|=(const SViewChange& other) {
        if (other.wideSnap) {
            wideSnap = other.wideSnap;
        }
        clearSelection = clearSelection || other.clearSelection;
        setViewport = setViewport || other.setViewport;
        cameraChanged = cameraChanged || other.cameraChanged;
        invalidate = invalidate || other.invalidate;
        repaintNow = repaintNow || other.repaintNow;
        if (other.hint) {
            // Any update with Everything covers the others.
            hint = hint && *hint == ViewHint::Everything ? hint : other.hint;
        }
        if (other.statusText) {
            statusText = other.statusText;
        }
        beep = beep || other.beep;
        return *this;
    }

    static SViewChange Redraw() {
        SViewChange change;
        change.invalidate = true;
        return change;
    }
    static SViewChange Beep() {
        SViewChange change;
        change.beep = true;
        return change;
    }
};
