// The target of off-screen drawing: a bitmap selected for one drawing job. The renderer hands
// over blocks of rendered pixels (a whole image or one tile of it), which land in the bitmap in
// its own format; when the job ends, the bitmap holds the picture.
#pragma once

#include <cstddef>
#include <cstdint>

class CDIB;

class CDIBDC {
public:
    explicit CDIBDC(CDIB& bitmap) : m_bitmap(&bitmap) {}
    CDIBDC(const CDIBDC&) = delete;
    CDIBDC& operator=(const CDIBDC&) = delete;

    // Selects another bitmap for the following blocks; returns the one selected before.
    CDIB* SelectDIB(CDIB& bitmap);
    CDIB& GetDIB() const { return *m_bitmap; }

    // Writes width x height pixels of four bytes each (blue, green, red, unused), rows bottom
    // first and sourceStride bytes apart, as OpenGL reads a framebuffer back in GL_BGRA order.
    // The block's bottom-left pixel lands at column x of row y (row 0 is the bottom row); what
    // falls outside the bitmap is dropped. Indexed depths take the nearest table colour.
    void PutPixels(int x, int y, int width, int height, const uint8_t* pixels, size_t sourceStride);

private:
    CDIB* m_bitmap;
};
