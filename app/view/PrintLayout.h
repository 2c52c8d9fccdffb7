// Where the printed 3D view goes on the page: the application's margins in printer pixels and
// the largest picture of the viewport's shape inside them.
#pragma once

#include <cstdint>

// The printer's page, in printer pixels: the paper, where the printable area begins on it and
// how large that is, and the resolution.
struct SPrintPage {
    int paperWidth = 0;
    int paperHeight = 0;
    int offsetX = 0; // of the printable area from the paper's left edge
    int offsetY = 0; // from the paper's top edge
    int printableWidth = 0;
    int printableHeight = 0;
    int ppiX = 0; // pixels per inch
    int ppiY = 0;
};

// Margins in hundredths of a millimetre from the paper's edges.
struct SPrintMarginsHmm {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct SPrintLayout {
    // The margin rectangle in printer pixels, counted from the paper's top left corner.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    // The picture placed at (left, top): as large as fits with the viewport's aspect.
    int pictureWidth = 0;
    int pictureHeight = 0;
    // The bytes a picture of this size takes to render (colour and depth, 8 per pixel).
    int64_t ByteEstimate() const { return int64_t{pictureWidth} * pictureHeight * 8; }
};

// a * b / c rounded to the nearest integer, halves away from zero, with a 64-bit product; -1
// when c is 0 (as the platform's MulDiv).
int MulDiv(int a, int b, int c);

// The margins and the picture for a viewport of the given size (pixels). A viewport without area
// gives a picture without area.
SPrintLayout ComputePrintLayout(const SPrintPage& page, const SPrintMarginsHmm& margins,
                                int viewportWidth, int viewportHeight);
