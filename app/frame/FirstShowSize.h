// The restored size and place of a top-level window that was never shown.
#pragma once

class wxTopLevelWindow;

// Two thirds of the work area of the window's display, centred, given as the client size before
// the window's first show. GTK then maps the window at that size: without a size of its own the
// toolkit maps a new window at a placeholder allocation of a pixel or two, which its menu bar or
// buttons cannot fit in (GTK critical and warning messages), and un-maximising it later falls
// back to the smallest size its contents allow.
void SizeBeforeFirstShow(wxTopLevelWindow& window);
