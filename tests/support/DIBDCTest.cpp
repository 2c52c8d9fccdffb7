// The off-screen drawing target: rendered blocks land in the bitmap in its own format, clipped.
#include <vector>

#include <gtest/gtest.h>

#include "support/DIB.h"
#include "support/DIBDC.h"

namespace {

// A block of w x h pixels, blue-green-red-alpha, each pixel's bytes derived from its position.
std::vector<uint8_t> Block(int width, int height, size_t stride) {
    std::vector<uint8_t> pixels(stride * height, 0xEE);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = pixels.data() + y * stride + 4 * x;
            p[0] = static_cast<uint8_t>(10 + x);
            p[1] = static_cast<uint8_t>(20 + y);
            p[2] = static_cast<uint8_t>(30 + x + y);
            p[3] = 255;
        }
    }
    return pixels;
}

uint32_t Expected(int x, int y) {
    return static_cast<uint32_t>((10 + x) | ((20 + y) << 8) | ((30 + x + y) << 16));
}

} // namespace

TEST(DIBDC, BlocksLandInTrueColourBitmaps) {
    for (int depth : {24, 32}) {
        SCOPED_TRACE(depth);
        CDIB bitmap;
        ASSERT_TRUE(bitmap.Create(5, 4, depth, 0));
        CDIBDC target(bitmap);
        std::vector<uint8_t> block = Block(3, 2, 16); // rows padded beyond 12 bytes
        target.PutPixels(1, 1, 3, 2, block.data(), 16);
        EXPECT_EQ(bitmap.GetPixel(0, 0), 0u);
        EXPECT_EQ(bitmap.GetPixel(1, 1), Expected(0, 0));
        EXPECT_EQ(bitmap.GetPixel(3, 2), Expected(2, 1));
        EXPECT_EQ(bitmap.GetPixel(4, 2), 0u);
        if (depth == 32) {
            EXPECT_EQ(bitmap.GetBits()[bitmap.GetStride() + 4 + 3], 0); // the unused byte stays 0
        }
    }
}

TEST(DIBDC, TilesMakeTheWholePictureAndEdgesAreClipped) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(7, 5, 32, 0));
    CDIBDC target(bitmap);
    // Tiles of 4 x 3 over a 7 x 5 picture: the last row and column of tiles stick out.
    for (int ty = 0; ty < 5; ty += 3) {
        for (int tx = 0; tx < 7; tx += 4) {
            std::vector<uint8_t> tile(16 * 3);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 4; ++x) {
                    std::vector<uint8_t> one = Block(tx + x + 1, ty + y + 1, 4 * (tx + x + 1));
                    const uint8_t* p = one.data() + (ty + y) * 4 * (tx + x + 1) + 4 * (tx + x);
                    std::copy(p, p + 4, tile.data() + y * 16 + 4 * x);
                }
            }
            target.PutPixels(tx, ty, 4, 3, tile.data(), 16);
        }
    }
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(bitmap.GetPixel(x, y), Expected(x, y)) << x << ", " << y;
        }
    }

    // Blocks partly or wholly outside, and empty blocks, write nothing outside the bitmap.
    std::vector<uint8_t> block = Block(3, 3, 12);
    CDIB small;
    ASSERT_TRUE(small.Create(2, 2, 32, 0));
    CDIBDC clipped(small);
    clipped.PutPixels(-1, -2, 3, 3, block.data(), 12);
    EXPECT_EQ(small.GetPixel(0, 0), Expected(1, 2));
    EXPECT_EQ(small.GetPixel(1, 0), Expected(2, 2));
    EXPECT_EQ(small.GetPixel(0, 1), 0u);
    clipped.PutPixels(2, 0, 3, 3, block.data(), 12);
    clipped.PutPixels(0, -3, 3, 3, block.data(), 12);
    clipped.PutPixels(0, 0, 0, 3, block.data(), 12);
    clipped.PutPixels(INT32_MAX, INT32_MAX, 3, 3, block.data(), 12);
    EXPECT_EQ(small.GetPixel(0, 1), 0u);
}

TEST(DIBDC, OtherDepthsConvertEachPixel) {
    CDIB bits16;
    ASSERT_TRUE(bits16.Create(2, 1, 16, 0));
    CDIBDC target(bits16);
    const uint8_t white[] = {255, 255, 255, 255, 0, 0, 255, 255};
    target.PutPixels(0, 0, 2, 1, white, 8);
    EXPECT_EQ(bits16.GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(bits16.GetPixel(1, 0), 0xFF0000u);

    CDIB bits8;
    ASSERT_TRUE(bits8.Create(2, 1, 8, 0));
    bits8.SetColorTable({{0, 0, 0, 0}, {0, 0, 250, 0}});
    CDIB* previous = target.SelectDIB(bits8);
    EXPECT_EQ(previous, &bits16);
    EXPECT_EQ(&target.GetDIB(), &bits8);
    const uint8_t blackAndRed[] = {0, 0, 0, 255, 0, 0, 255, 255};
    target.PutPixels(0, 0, 2, 1, blackAndRed, 8);
    EXPECT_EQ(bits8.GetBits()[0], 0);
    EXPECT_EQ(bits8.GetBits()[1], 1);
}
