// Margins and picture size of the printed 3D view.
#include "app/view/PrintLayout.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const int64_t product = int64_t{a} * b;
    const int64_t divisor = c;
    int64_t quotient = product / divisor;
    const int64_t remainder = product % divisor;
    // Round half away from zero: a remainder of at least half the divisor carries.
    if (2 * std::llabs(remainder) >= std::llabs(divisor)) {
        quotient += (product < 0) != (divisor < 0) ? -1 : 1;
    }
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(quotient);
}

SPrintLayout ComputePrintLayout(const SPrintPage& page, const SPrintMarginsHmm& margins,
                                int viewportWidth, int viewportHeight) {
    SPrintLayout layout;
    layout.left = MulDiv(margins.left, page.ppiX, 2540);
    layout.right = page.paperWidth - MulDiv(margins.right, page.ppiX, 2540);
    layout.top = MulDiv(margins.top, page.ppiY, 2540);
    layout.bottom = page.paperHeight - MulDiv(margins.bottom, page.ppiY, 2540);
    if (viewportWidth <= 0 || viewportHeight <= 0) {
        return layout;
    }
    const int availableWidth = layout.right - layout.left;
    const int availableHeight = layout.bottom - layout.top;
    const int widthFromHeight = MulDiv(availableHeight, viewportWidth, viewportHeight);
    const int heightFromWidth = MulDiv(availableWidth, viewportHeight, viewportWidth);
    layout.pictureWidth = std::max(0, std::min(availableWidth, widthFromHeight));
    layout.pictureHeight = std::max(0, std::min(availableHeight, heightFromWidth));
    return layout;
}
