// What the BMP reader and writer share inside the bitmap code: the sizes of the file's parts,
// little-endian fields, the colour table's room by depth, the way failures are told, and the
// file choice of loading and saving. Not for use outside support/DIB*.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace DIBFormat {

// The file header ("BM", file size, two reserved words, pixel offset), the 40-byte info header,
// the old 12-byte core header, and the three bit-field masks after an info header.
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr size_t kMaskBytes = 12;
// Colour-table entries kept for every depth above 8 bits.
constexpr size_t kTableRoom = 256;

inline uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t GetI32(const uint8_t* p) {
    return static_cast<int32_t>(GetU32(p));
}

inline bool IsIndexed(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8;
}

// Entries the colour table has room for: 2, 16 or 256 by the indexed depth, else kTableRoom.
inline size_t TableRoom(int bitCount) {
    return IsIndexed(bitCount) ? size_t{1} << bitCount : kTableRoom;
}

// The box of a bitmap file that cannot be opened or read.
inline constexpr const char* kCannotOpen = "Bitmap-Fatei konnte nicht geöffnet werden";

// A refusal or failure in a plain box with OK.
void Report(const char* text);
// The system's text for the error number.
void ReportErrorNumber(int errorNumber);
// The path to use: the given one, or, when it is empty, the one the user chooses in the BMP
// file dialog (an open or a save dialog); nothing when the user cancels.
std::optional<std::string> BitmapPath(const std::string& path, bool save);

} // namespace DIBFormat
