// Colour tables of bitmaps: a palette copied into a table, and colour 7 of the program's dialog
// pictures set to the button face so that their background matches the dialog.
#pragma once

#include <cstdint>
#include <vector>

#include "support/ColorTypes.h"

// Copies the first n = min(count, palette size) palette entries into the table (red, green and
// blue; reserved 0) and zeroes the remaining count - n entries. Without a palette (nullptr) the
// result is 0 and the table is left as it is. Returns n.
uint32_t PaletteToColorTable(const std::vector<PaletteEntry>* palette, RgbQuad* table,
                             uint32_t count);

// Sets colour-table entry 7 of bitmap resource id (found in the user's language) to the button
// face colour of the user interface, keeping its reserved byte. Bitmaps whose colour table has
// fewer than 8 entries, and missing or malformed bitmaps, are left alone. Later lookups of the
// bitmap (FindResourceData) return the changed copy.
void SetBitmapBtnFace(uint32_t id);
