// Rendered pixel blocks written into a bitmap, clipped to it.
#include "support/DIBDC.h"

#include <algorithm>

#include "support/DIB.h"

CDIB* CDIBDC::SelectDIB(CDIB& bitmap) {
    CDIB* previous = m_bitmap;
    m_bitmap = &bitmap;
    return previous;
}

void CDIBDC::PutPixels(int x, int y, int width, int height, const uint8_t* pixels,
                       size_t sourceStride) {
    CDIB& bitmap = *m_bitmap;
    if (pixels == nullptr || bitmap.IsEmpty() || width <= 0 || height <= 0) {
        return;
    }
    // The part of the block that lies inside the bitmap, in 64 bits so that no sum overflows.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t bottom = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + width, bitmap.GetWidth());
    const int64_t top = std::min<int64_t>(int64_t{y} + height, bitmap.GetHeight());
    if (left >= right || bottom >= top) {
        return;
    }
    const int bitCount = bitmap.GetBitCount();
    const size_t stride = bitmap.GetStride();
    for (int64_t row = bottom; row < top; ++row) {
        const uint8_t* source = pixels + static_cast<size_t>(row - y) * sourceStride +
                                static_cast<size_t>(left - x) * 4;
        if (bitCount == 24 || bitCount == 32) {
            const size_t step = static_cast<size_t>(bitCount / 8);
            uint8_t* target = bitmap.GetBits() + static_cast<size_t>(row) * stride +
                              static_cast<size_t>(left) * step;
            for (int64_t column = left; column < right; ++column) {
                target[0] = source[0];
                target[1] = source[1];
                target[2] = source[2];
                if (step == 4) {
                    target[3] = 0;
                }
                target += step;
                source += 4;
            }
            continue;
        }
        for (int64_t column = left; column < right; ++column) {
            uint32_t colorRef = source[2] | (static_cast<uint32_t>(source[1]) << 8) |
                                (static_cast<uint32_t>(source[0]) << 16);
            bitmap.SetPixelColor(static_cast<int>(column), static_cast<int>(row), colorRef);
            source += 4;
        }
    }
}
