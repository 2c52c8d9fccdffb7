// The BMP reader: a file or a memory block checked part by part (headers, format, sizes, masks,
// colour table, rows) before any pixel is stored, with the German message of each refusal.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <vector>

#include "support/DIB.h"
#include "support/DIBFormat.h"
#include "support/File.h"
#include "support/Messages.h"

using namespace DIBFormat;

namespace {

const char* const kBadHeader = "Ungültiger Kopf in Bitmap";
const char* const kNoRle4 = "RLE4 wird nicht unterstützt in Bitmap";
const char* const kNoRle8 = "RLE8 wird nicht unterstützt in Bitmap";
const char* const kBadCompression = "Ungültige Kompressionsart in Bitmap";
const char* const kBadDepth = "Ungültige Bittiefe in Bitmap";
const char* const kTruncated = "Unvollständige Daten in Bitmap";

uint32_t ColorRef(uint8_t red, uint8_t green, uint8_t blue) {
    return red | (static_cast<uint32_t>(green) << 8) | (static_cast<uint32_t>(blue) << 16);
}

// One colour channel of a bit-field pixel, scaled to 8 bits by shifting, so that the 5-6-5
// masks give the top bits of each channel as the fixed 16-bit layout does.
class Channel {
public:
    explicit Channel(uint32_t mask) : m_mask(mask) {
        if (mask != 0) {
            while (((mask >> m_shift) & 1) == 0) {
                ++m_shift;
            }
            uint32_t top = mask >> m_shift;
            while (top != 0) {
                ++m_width;
                top >>= 1;
            }
        }
    }
    uint8_t Of(uint32_t pixel) const {
        uint32_t value = (pixel & m_mask) >> m_shift;
        if (m_width == 0) {
            return 0;
        }
        return static_cast<uint8_t>(m_width >= 8 ? value >> (m_width - 8) : value << (8 - m_width));
    }

private:
    uint32_t m_mask;
    int m_shift = 0;
    int m_width = 0;
};

} // namespace

// The bytes of a BMP file from its first byte: a memory block, or a file read as far as asked.
class CDIB::Source {
public:
    enum class Result { Ok, Short, Failed };

    Source(const void* data, size_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(data != nullptr ? size : 0) {}
    // A file's refusals name it.
    explicit Source(File& file) : m_file(&file), m_name(file.GetFilePath()) {}

    // Makes the first end bytes available: Short when the source ends before, Failed when a
    // read or the memory fails (ErrorNumber tells why).
    Result Need(uint64_t end) {
        if (m_file == nullptr) {
            return end <= m_size ? Result::Ok : Result::Short;
        }
        constexpr size_t kChunk = size_t{1} << 20;
        try {
            while (m_buffer.size() < end) {
                size_t have = m_buffer.size();
                size_t want = static_cast<size_t>(std::min<uint64_t>(end - have, kChunk));
                m_buffer.resize(have + want);
                size_t got = m_file->Read(m_buffer.data() + have, want);
                m_buffer.resize(have + got);
                if (got < want) {
                    if (m_file->HasError()) {
                        m_errorNumber = m_file->LastErrorNumber();
                        return Result::Failed;
                    }
                    return Result::Short;
                }
            }
        } catch (const std::bad_alloc&) {
            m_errorNumber = ENOMEM;
            return Result::Failed;
        }
        return Result::Ok;
    }
    // Valid up to the next Need.
    const uint8_t* Data() const { return m_file != nullptr ? m_buffer.data() : m_data; }
    int ErrorNumber() const { return m_errorNumber; }

    // A refusal in a plain box, naming the file when there is one.
    void Refuse(const char* text) const {
        if (m_name.empty()) {
            Report(text);
        } else {
            ShowFileFailure(text, m_name, {});
        }
    }
    // A failed read, with the system's reason.
    void ReportFailure() const {
        if (m_name.empty()) {
            ReportErrorNumber(m_errorNumber);
        } else {
            ShowFileFailure(kCannotOpen, m_name, std::strerror(m_errorNumber));
        }
    }

private:
    File* m_file = nullptr;
    std::string m_name;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    std::vector<uint8_t> m_buffer;
    int m_errorNumber = 0;
};

bool CDIB::ReadBmp(File& file, int depth) {
    Source source(file);
    return ReadFrom(source, depth);
}

bool CDIB::ReadBmp(const void* data, size_t size, int depth) {
    Source source(data, size);
    return ReadFrom(source, depth);
}

// Reads a BMP file one part after the other: file and info header, format, sizes, bit-field
// masks, colour table, pixel rows. Every step makes the bytes it reads available first and
// reports its own refusal; nothing is stored into a bitmap before every part has been checked.
class CDIB::BmpReader {
public:
    explicit BmpReader(Source& source) : m_source(source) {}

    // The signature and the two headers. A file that does not begin with "BM" gives false
    // without a message (see IsNoBitmap); every other refusal has been reported, naming the
    // file it was read from.
    bool ReadHeaders() {
        const Source::Result start = m_source.Need(kSignatureSize);
        if (start == Source::Result::Failed) {
            m_source.ReportFailure();
            return false;
        }
        if (start == Source::Result::Short || m_source.Data()[0] != 'B' ||
            m_source.Data()[1] != 'M') {
            return false;
        }
        if (!Need(kFileHeaderSize + sizeof(uint32_t))) {
            return false;
        }
        m_pixelOffset = GetU32(m_source.Data() + kPixelOffsetAt);
        m_headerSize = GetU32(m_source.Data() + kFileHeaderSize);
        if (m_headerSize == kInfoHeaderSize) {
            return ReadInfoHeader();
        }
        if (m_headerSize == kCoreHeaderSize) {
            return ReadCoreHeader();
        }
        m_source.Refuse(kBadHeader);
        return false;
    }

    // The depth and its compression: 1 and 24 bits uncompressed, 4 and 8 bits uncompressed
    // (run-length encoding is refused by name), 16 and 32 bits with bit fields only.
    bool CheckFormat() const {
        const uint32_t compression = m_info.compression;
        switch (m_info.bitCount) {
        case 1:
        case 24:
            return Accept(compression == BmpCompression::None, kBadCompression);
        case 4:
            if (compression == BmpCompression::Rle4) {
                m_source.Refuse(kNoRle4);
                return false;
            }
            return Accept(compression == BmpCompression::None, kBadCompression);
        case 8:
            if (compression == BmpCompression::Rle8) {
                m_source.Refuse(kNoRle8);
                return false;
            }
            return Accept(compression == BmpCompression::None, kBadCompression);
        case 16:
        case 32:
            return Accept(compression == BmpCompression::BitFields, kBadCompression);
        default:
            m_source.Refuse(kBadDepth);
            return false;
        }
    }

    // Sizes that no bitmap of this program can have mark a damaged or hostile file; everything
    // after this is computed in 64 bits.
    bool CheckSizes() {
        m_width = m_info.width;
        m_rows = m_info.height < 0 ? -static_cast<int64_t>(m_info.height) : m_info.height;
        if (m_width < 1 || m_rows < 1 || m_width > kMaxSide || m_rows > kMaxSide) {
            m_source.Refuse(kBadHeader);
            return false;
        }
        m_stride = Stride(m_info.bitCount, static_cast<int>(m_width));
        m_pixelBytes = m_stride * static_cast<uint64_t>(m_rows);
        return Accept(m_pixelBytes <= kMaxPixelBytes &&
                          m_pixelOffset >= kFileHeaderSize + m_headerSize,
                      kBadHeader);
    }

    // Bit-field masks follow a 40-byte header; a file that gives none gets the usual layout.
    bool ReadMasks() {
        m_tableStart = kFileHeaderSize + m_headerSize;
        if (m_info.compression != BmpCompression::BitFields) {
            return true;
        }
        if (!Need(m_tableStart + kMaskBytes)) {
            return false;
        }
        for (size_t i = 0; i < m_masks.size(); ++i) {
            m_masks[i] = GetU32(m_source.Data() + m_tableStart + sizeof(uint32_t) * i);
        }
        m_tableStart += kMaskBytes;
        if (m_masks == std::array<uint32_t, 3>{}) {
            m_masks = m_info.bitCount == 16 ? kDefaultMasks16 : kDefaultMasks32;
        }
        return true;
    }

    // The colour table: never more entries than the depth can index (or than a header has
    // room for), the rest black. The old header's entries have no fourth byte.
    bool ReadColorTable() {
        const int bitCount = m_info.bitCount;
        uint32_t count = m_info.clrUsed != 0   ? m_info.clrUsed
                         : IsIndexed(bitCount) ? uint32_t{1} << bitCount
                                               : 0;
        m_colorCount = static_cast<uint32_t>(std::min<uint64_t>(count, TableRoom(bitCount)));
        const size_t entrySize = m_headerSize == kInfoHeaderSize ? kInfoEntrySize : kCoreEntrySize;
        if (!Need(m_tableStart + m_colorCount * entrySize)) {
            return false;
        }
        m_table.assign(kTableRoom, RgbQuad{});
        for (uint32_t i = 0; i < m_colorCount; ++i) {
            const uint8_t* entry = m_source.Data() + m_tableStart + i * entrySize;
            m_table[i] = {entry[0], entry[1], entry[2],
                          entrySize == kInfoEntrySize ? entry[3] : uint8_t{0}};
        }
        return true;
    }

    // Every row must be there before anything is changed.
    bool NeedRows() { return Need(static_cast<uint64_t>(m_pixelOffset) + m_pixelBytes); }

    // Makes an empty bitmap at depth (0: the file's, with 24 bits kept as 32), taking the file's
    // table when the pixels are kept as indices. convert tells whether the pixels are converted
    // to the bitmap's depth (always for a bitmap that already holds pixels).
    bool PrepareTarget(CDIB& bitmap, int depth, bool& convert) const {
        convert = true;
        if (!bitmap.IsEmpty()) {
            return true;
        }
        const int bitCount = m_info.bitCount;
        const int target = depth != 0 ? depth : (bitCount == 24 ? 32 : bitCount);
        convert = target != bitCount;
        if (!bitmap.Create(static_cast<int>(m_width), static_cast<int>(m_rows), target, 0)) {
            return false;
        }
        if (!convert) {
            bitmap.SetColorTable(
                std::vector<RgbQuad>(m_table.begin(), m_table.begin() + m_colorCount));
        }
        return true;
    }

    // Stores every row; rows are stored bottom first unless the height is negative.
    void StoreRows(CDIB& bitmap, bool convert) const {
        const Channel red(m_masks[0]);
        const Channel green(m_masks[1]);
        const Channel blue(m_masks[2]);
        const uint8_t* pixels = m_source.Data() + m_pixelOffset;
        for (int64_t i = 0; i < m_rows; ++i) {
            const int y = static_cast<int>(m_info.height < 0 ? m_rows - 1 - i : i);
            const uint8_t* row = pixels + static_cast<size_t>(i) * m_stride;
            for (int x = 0; x < m_width; ++x) {
                StorePixel(bitmap, row, x, y, convert, red, green, blue);
            }
        }
    }

private:
    // The file header: "BM", file size, two reserved words, offset of the pixels.
    static constexpr size_t kSignatureSize = 2;
    static constexpr size_t kPixelOffsetAt = 10;
    // Fields of the 40-byte info header, from its start.
    static constexpr size_t kInfoWidthAt = 4;
    static constexpr size_t kInfoHeightAt = 8;
    static constexpr size_t kInfoPlanesAt = 12;
    static constexpr size_t kInfoBitCountAt = 14;
    static constexpr size_t kInfoCompressionAt = 16;
    static constexpr size_t kInfoSizeImageAt = 20;
    static constexpr size_t kInfoXPelsAt = 24;
    static constexpr size_t kInfoYPelsAt = 28;
    static constexpr size_t kInfoClrUsedAt = 32;
    static constexpr size_t kInfoClrImportantAt = 36;
    // Fields of the old 12-byte core header (16-bit sizes), from its start.
    static constexpr size_t kCoreWidthAt = 4;
    static constexpr size_t kCoreHeightAt = 6;
    static constexpr size_t kCorePlanesAt = 8;
    static constexpr size_t kCoreBitCountAt = 10;
    // Colour-table entries: blue, green, red and a reserved byte; the core header's lack it.
    static constexpr size_t kInfoEntrySize = 4;
    static constexpr size_t kCoreEntrySize = 3;
    // The masks of a bit-field file that gives none: 5-6-5 and 8-8-8.
    static constexpr std::array<uint32_t, 3> kDefaultMasks16{0xF800, 0x07E0, 0x001F};
    static constexpr std::array<uint32_t, 3> kDefaultMasks32{0xFF0000, 0xFF00, 0xFF};

    // Makes the first end bytes available, or reports why not.
    bool Need(uint64_t end) {
        switch (m_source.Need(end)) {
        case Source::Result::Ok:
            return true;
        case Source::Result::Short:
            m_source.Refuse(kTruncated);
            return false;
        case Source::Result::Failed:
            m_source.ReportFailure();
            return false;
        }
        return false;
    }

    bool Accept(bool condition, const char* refusal) const {
        if (!condition) {
            m_source.Refuse(refusal);
        }
        return condition;
    }

    bool ReadInfoHeader() {
        if (!Need(kFileHeaderSize + kInfoHeaderSize)) {
            return false;
        }
        const uint8_t* p = m_source.Data() + kFileHeaderSize;
        m_info.width = GetI32(p + kInfoWidthAt);
        m_info.height = GetI32(p + kInfoHeightAt);
        m_info.planes = GetU16(p + kInfoPlanesAt);
        m_info.bitCount = GetU16(p + kInfoBitCountAt);
        m_info.compression = GetU32(p + kInfoCompressionAt);
        m_info.sizeImage = GetU32(p + kInfoSizeImageAt);
        m_info.xPelsPerMeter = GetI32(p + kInfoXPelsAt);
        m_info.yPelsPerMeter = GetI32(p + kInfoYPelsAt);
        m_info.clrUsed = GetU32(p + kInfoClrUsedAt);
        m_info.clrImportant = GetU32(p + kInfoClrImportantAt);
        return true;
    }

    bool ReadCoreHeader() {
        if (!Need(kFileHeaderSize + kCoreHeaderSize)) {
            return false;
        }
        const uint8_t* p = m_source.Data() + kFileHeaderSize;
        m_info.width = GetU16(p + kCoreWidthAt);
        m_info.height = GetU16(p + kCoreHeightAt);
        m_info.planes = GetU16(p + kCorePlanesAt);
        m_info.bitCount = GetU16(p + kCoreBitCountAt);
        return true;
    }

    // One pixel of a stored row into column x of row y: indices kept or turned into their table
    // colour, bit fields and 24-bit colours as colours.
    void StorePixel(CDIB& bitmap, const uint8_t* row, int x, int y, bool convert,
                    const Channel& red, const Channel& green, const Channel& blue) const {
        const int bitCount = m_info.bitCount;
        switch (bitCount) {
        case 1:
            bitmap.SetPixelColor(x, y, TableColorRef((row[x / 8] >> (7 - x % 8)) & 1));
            break;
        case 4:
        case 8: {
            const unsigned index = bitCount == 8 ? row[x]
                                   : x % 2 == 0  ? row[x / 2] >> 4
                                                 : row[x / 2] & 15;
            if (convert) {
                bitmap.SetPixelColor(x, y, TableColorRef(index));
            } else {
                bitmap.SetPixel(x, y, index);
            }
            break;
        }
        case 16:
        case 32: {
            const uint32_t value = bitCount == 16 ? GetU16(row + 2 * static_cast<size_t>(x))
                                                  : GetU32(row + 4 * static_cast<size_t>(x));
            bitmap.SetPixelColor(x, y, ColorRef(red.Of(value), green.Of(value), blue.Of(value)));
            break;
        }
        case 24: {
            const uint8_t* pixel = row + 3 * static_cast<size_t>(x);
            bitmap.SetPixelColor(x, y, ColorRef(pixel[2], pixel[1], pixel[0]));
            break;
        }
        default:
            break;
        }
    }

    uint32_t TableColorRef(unsigned index) const {
        const RgbQuad& entry = m_table[index];
        return ColorRef(entry.red, entry.green, entry.blue);
    }

    Source& m_source;
    uint32_t m_pixelOffset = 0;
    uint32_t m_headerSize = 0;
    SBitmapInfoHeader m_info;
    int64_t m_width = 0;
    int64_t m_rows = 0;
    size_t m_stride = 0;
    uint64_t m_pixelBytes = 0;
    size_t m_tableStart = 0;
    std::array<uint32_t, 3> m_masks{};
    uint32_t m_colorCount = 0;
    std::vector<RgbQuad> m_table;
};

bool CDIB::ReadFrom(Source& source, int depth) {
    BmpReader reader(source);
    if (!reader.ReadHeaders() || !reader.CheckFormat() || !reader.CheckSizes() ||
        !reader.ReadMasks() || !reader.ReadColorTable() || !reader.NeedRows()) {
        return false;
    }
    bool convert = true;
    if (!reader.PrepareTarget(*this, depth, convert)) {
        return false;
    }
    reader.StoreRows(*this, convert);
    return true;
}

bool CDIB::Load(const std::string& path, int depth) {
    const std::optional<std::string> chosen = BitmapPath(path, false);
    if (!chosen) {
        return false;
    }
    File file;
    if (!file.Open(*chosen, File::Mode::Read)) {
        return false;
    }
    bool ok = ReadBmp(file, depth);
    file.Close();
    return ok;
}

std::unique_ptr<CDIB> CDIB::FromFile(const std::string& path, int depth) {
    auto bitmap = std::make_unique<CDIB>();
    if (!bitmap->Load(path, depth)) {
        return nullptr;
    }
    return bitmap;
}
