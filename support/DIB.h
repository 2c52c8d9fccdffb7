// Device-independent bitmaps: pixels in the Windows DIB layout (rows bottom first, each padded to
// four bytes; 1, 4 and 8 bits index a colour table, 16 bits are 5-6-5, 24 and 32 bits are blue,
// green, red), and the reading and writing of BMP files. Rendered images, printing and material
// textures are held in one. Drawing a bitmap on a device is the application's business.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/ColorTypes.h"

class File;

// Compression codes of the info header.
namespace BmpCompression {
constexpr uint32_t None = 0;
constexpr uint32_t Rle8 = 1;
constexpr uint32_t Rle4 = 2;
constexpr uint32_t BitFields = 3;
} // namespace BmpCompression

// The 40-byte info header (BITMAPINFOHEADER), field by field.
struct SBitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0; // negative in a file whose rows are stored top row first
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = BmpCompression::None;
    uint32_t sizeImage = 0; // bytes of pixel rows
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0; // colour-table entries in use; 0: all the depth allows
    uint32_t clrImportant = 0;
};

// The info header with what follows it in a file: the red, green and blue masks (bit fields
// only) and the colour table (as many entries as the depth has room for: 2, 16 or 256).
struct SDIBHeader {
    SBitmapInfoHeader info;
    std::array<uint32_t, 3> masks{};
    std::vector<RgbQuad> table;
};

class CDIB {
public:
    // How Create makes the pixels. Both keep the pixels in memory of the bitmap's own; a section
    // is the kind that off-screen rendering draws into, and may take the screen's depth.
    enum class Storage { None = 0, Memory = 1, Section = 2 };

    // Largest width or height, and largest pixel block, that a bitmap may have (files beyond
    // them are refused as damaged).
    static constexpr int kMaxSide = 65536;
    static constexpr uint64_t kMaxPixelBytes = uint64_t{1} << 31;

    CDIB() = default;
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;
    CDIB(CDIB&&) noexcept = default;
    CDIB& operator=(CDIB&&) noexcept = default;

    // The storage that Create uses for every bitmap from now on (Section at start).
    static void SetDefaultStorage(Storage storage);
    static Storage GetDefaultStorage();

    // Makes a bitmap of width x height pixels (both at least 1) at depth 1, 4, 8, 15 (stored as
    // 16-bit 5-5-5), 16, 24 or 32 bits, filled with fill (see Fill), by the default storage;
    // with Section, depth 0 takes the screen's (true colour, kept as 32 bits). The colour table
    // starts all black with no entry in use, or, given a palette, the bitmap keeps a copy of
    // it and its first 2, 16 or 256 colours (by depth) become the table in use. false for other
    // depths or sizes (the bitmap is then empty) and when the memory cannot be had (reported
    // with the system's text).
    bool Create(int width, int height, int depth, uint32_t fill,
                const std::vector<PaletteEntry>* palette = nullptr);
    bool CreateSection(int width, int height, int depth, uint32_t fill,
                       const std::vector<PaletteEntry>* palette = nullptr);

    // Sets every pixel: 1 bit all 0 for a value of 0, else all 1; 4 and 8 bits the value's low
    // nibble or byte as index; 16 bits the low 16 bits; 24 and 32 bits blue in the low byte,
    // then green and red.
    void Fill(uint32_t value);
    // Stores a raw pixel value (index, 16-bit word or blue-low colour) at column x of row y
    // (row 0 is the bottom row). Positions outside the bitmap are ignored.
    void SetPixel(int x, int y, uint32_t value);
    // Stores a colour given as 0x00BBGGRR (red in the low byte): indexed depths take the
    // nearest of the table entries in use (sum of the channel differences, the first of equals;
    // with none in use, the highest index), 16 bits keep 5-6-5 of it.
    void SetPixelColor(int x, int y, uint32_t colorRef);
    // The colour at x, y as 0x00RRGGBB (blue in the low byte): indexed depths give their table
    // entry, 16 bits are expanded from 5-6-5. 0 outside the bitmap.
    uint32_t GetPixel(int x, int y) const;

    // 8-bit values of 5-bit and 6-bit channels, so that 0 and the maximum give 0 and 255.
    static uint8_t Expand5To8(unsigned value);
    static uint8_t Expand6To8(unsigned value);

    // Replaces the colour table: the entries given (at most the table's room) are in use, the
    // rest are black.
    void SetColorTable(const std::vector<RgbQuad>& entries);
    // The table with room for the depth (entries beyond the used ones are black).
    const std::vector<RgbQuad>& GetColorTable() const { return m_header.table; }
    // Entries in use, or 2, 16 or 256 by the indexed depth when none is given; else 0.
    int GetColorCount() const { return GetColorCount(m_header.info); }
    static int GetColorCount(const SBitmapInfoHeader& info);
    // 32-bit words between the info header and the pixels of a file of this header.
    static int GetTableEntries(const SDIBHeader& header);

    // A copy of the header, for writing.
    SDIBHeader CopyHeader() const { return m_header; }
    // Turns a 16, 24 or 32-bit header into the 24-bit one it is written with; true when the
    // pixels must be converted (16 and 32 bits).
    static bool MakeTrueColorHeader(SDIBHeader& header);

    // Writes the bitmap as a BMP file at the file's position: 1, 4, 8 and 24 bits as they are,
    // 16 and 32 bits as 24. false when a write fails.
    bool WriteBmp(File& file) const;
    // Reads a BMP file from the file's position (see the memory form).
    bool ReadBmp(File& file, int depth);
    // Reads a BMP file from bytes. An empty bitmap is made at depth (0: the file's, with 24
    // bits kept as 32); a bitmap that already holds pixels keeps its size and depth and takes
    // the file's pixels converted. A file that does not begin with "BM", and a depth that no
    // bitmap can have, give false silently; every other refusal shows its message. A refused
    // file leaves the bitmap as it was.
    bool ReadBmp(const void* data, size_t size, int depth);

    // Reads the BMP file at path (empty: the user chooses one). false when cancelled, when the
    // file cannot be opened (silently) or when the reader refuses it (its box names the file).
    bool Load(const std::string& path, int depth);
    // Writes the bitmap to path (empty: the user chooses one) through a temporary file, so that
    // a failure leaves an old file as it was. Failures are reported with the path and the
    // system's reason.
    bool Save(const std::string& path) const;
    // A new bitmap loaded from path, or nullptr (as Load).
    static std::unique_ptr<CDIB> FromFile(const std::string& path, int depth);

    bool IsEmpty() const { return m_bits.empty(); }
    Storage GetStorage() const { return m_storage; }
    const SBitmapInfoHeader& GetInfoHeader() const { return m_header.info; }
    int GetWidth() const { return m_header.info.width; }
    int GetHeight() const { return m_header.info.height; }
    int GetBitCount() const { return m_header.info.bitCount; }
    // Bytes from one stored row to the next.
    size_t GetStride() const { return Stride(m_header.info.bitCount, m_header.info.width); }
    // The pixel rows, bottom row first (GetStride() · GetHeight() bytes).
    uint8_t* GetBits() { return m_bits.data(); }
    const uint8_t* GetBits() const { return m_bits.data(); }
    // The palette given at creation, or nullptr.
    const std::vector<PaletteEntry>* GetPalette() const {
        return m_palette ? &*m_palette : nullptr;
    }
    // Scale and offsets (in device units) that drawing applies besides the caller's own.
    double GetScale() const { return m_scale; }
    double GetXOffset() const { return m_xOffset; }
    double GetYOffset() const { return m_yOffset; }

    static size_t Stride(int bitCount, int width);

private:
    // The reader's byte source and its steps (DIBRead.cpp).
    class Source;
    class BmpReader;

    bool ReadFrom(Source& source, int depth);
    bool AllocHeader(int width, int height, int depth, const std::vector<PaletteEntry>* palette);
    void ApplyPalette();
    bool AllocBits(uint32_t fill);
    void Clear();
    uint8_t* Row(int y) { return m_bits.data() + GetStride() * static_cast<size_t>(y); }
    const uint8_t* Row(int y) const { return m_bits.data() + GetStride() * static_cast<size_t>(y); }

    Storage m_storage = Storage::None;
    SDIBHeader m_header;
    std::vector<uint8_t> m_bits;
    std::optional<std::vector<PaletteEntry>> m_palette;
    double m_scale = 1.0;
    double m_xOffset = 0.0;
    double m_yOffset = 0.0;
};
