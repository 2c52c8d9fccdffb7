// Colour records shared by bitmaps and palettes, byte for byte in the platform's layouts.
#pragma once

#include <cstdint>

// One colour-table entry of a bitmap, in the order a BMP file stores it.
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;

    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// One entry of a logical palette.
struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

static_assert(sizeof(RgbQuad) == 4 && sizeof(PaletteEntry) == 4);
