// Releasing the current GLX context.
#include "app/view/GlxCurrent.h"

#include <GL/glx.h>

void ReleaseCurrentGlxContext() {
    if (glXGetCurrentContext() != nullptr) {
        glXMakeCurrent(glXGetCurrentDisplay(), None, nullptr);
    }
}
