// The window system's side of the current GL context, apart from every other header: the X11
// headers define names (None, Status, Bool) that clash with the program's own.
#pragma once

// No GLX context stays current on this thread: none is left bound to a window that goes, and
// an EGL context may be made current after it (both at once make GL calls go nowhere).
void ReleaseCurrentGlxContext();
