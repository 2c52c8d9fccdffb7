#include "support/BitmapColors.h"

#include <cstring>

#include "support/Resources.h"
#include "support/UserInterface.h"

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBitFields = 3; // compression: three colour masks follow a 40-byte header
constexpr uint32_t kFaceEntry = 7; // the entry the pictures draw their background with

uint32_t ReadU32(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint16_t ReadU16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// Byte offset of entry 7 of the bitmap's colour table, or 0 when it has no such entry.
uint32_t FaceEntryOffset(const unsigned char* bitmap, uint32_t size) {
    if (size < kInfoHeaderSize) {
        return 0;
    }
    uint32_t headerSize = ReadU32(bitmap);
    if (headerSize < kInfoHeaderSize || headerSize > size) {
        return 0;
    }
    uint16_t bitCount = ReadU16(bitmap + 14);
    uint32_t compression = ReadU32(bitmap + 16);
    uint32_t colorsUsed = ReadU32(bitmap + 32);
    uint64_t entries = colorsUsed;
    if (entries == 0 && bitCount >= 1 && bitCount <= 8) {
        entries = uint64_t{1} << bitCount;
    }
    uint64_t table = headerSize;
    if (headerSize == kInfoHeaderSize && compression == kBitFields) {
        table += 12;
    }
    uint64_t offset = table + kFaceEntry * sizeof(RgbQuad);
    if (entries <= kFaceEntry || offset + sizeof(RgbQuad) > size) {
        return 0;
    }
    return static_cast<uint32_t>(offset);
}

} // namespace

uint32_t PaletteToColorTable(const std::vector<PaletteEntry>* palette, RgbQuad* table,
                             uint32_t count) {
    if (palette == nullptr || (table == nullptr && count > 0)) {
        return 0;
    }
    uint32_t filled = count < palette->size() ? count : static_cast<uint32_t>(palette->size());
    for (uint32_t i = 0; i < count; ++i) {
        RgbQuad quad;
        if (i < filled) {
            quad.red = (*palette)[i].red;
            quad.green = (*palette)[i].green;
            quad.blue = (*palette)[i].blue;
        }
        table[i] = quad;
    }
    return filled;
}

void SetBitmapBtnFace(uint32_t id) {
    uint32_t size = 0;
    const unsigned char* bitmap = FindResourceData(ResourceType::Bitmap, id, &size);
    if (bitmap == nullptr || FaceEntryOffset(bitmap, size) == 0) {
        return;
    }
    unsigned char* copy =
        FindWritableResourceData(ResourceType::Bitmap, id, GetUserDefaultLangId(), &size);
    uint32_t offset = copy != nullptr ? FaceEntryOffset(copy, size) : 0;
    if (offset == 0) {
        return;
    }
    uint32_t face = GetUserInterface().GetButtonFaceColour();  // 0x00BBGGRR
    copy[offset + 0] = static_cast<unsigned char>(face >> 16); // blue
    copy[offset + 1] = static_cast<unsigned char>(face >> 8);  // green
    copy[offset + 2] = static_cast<unsigned char>(face);       // red
}
