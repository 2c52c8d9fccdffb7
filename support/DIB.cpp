// Device-independent bitmaps: creation, pixel access by depth, the colour table, and BMP files
// written field by field in little-endian order (the reader is in DIBRead.cpp).
#include "support/DIB.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "support/BitmapColors.h"
#include "support/DIBFormat.h"
#include "support/File.h"
#include "support/Messages.h"
#include "support/UserInterface.h"

using namespace DIBFormat;

namespace {

CDIB::Storage g_defaultStorage = CDIB::Storage::Section;

// The screen's depth as off-screen rendering sees it: true colour, kept as 32 bits.
constexpr int kScreenDepth = 32;

const char* const kCannotSave = "Bitmap-Fatei konnte nicht gespeichert werden";
const char* const kFilter = "Image files (*.BMP, *.DIB)|*.BMP;*.DIB|All files (*.*)|*.*||";

void PutU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void PutI32(std::vector<uint8_t>& out, int32_t value) {
    PutU32(out, static_cast<uint32_t>(value));
}

void StoreU16(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void StoreU32(uint8_t* p, uint32_t value) {
    StoreU16(p, value);
    StoreU16(p + 2, value >> 16);
}

uint32_t TableColor(const RgbQuad& entry) {
    return entry.blue | (static_cast<uint32_t>(entry.green) << 8) |
           (static_cast<uint32_t>(entry.red) << 16);
}

} // namespace

void DIBFormat::Report(const char* text) {
    ShowMessage(text, "", MsgButtons::Ok, MsgIcon::Exclamation);
}

void DIBFormat::ReportErrorNumber(int errorNumber) {
    errno = errorNumber;
    ShowLastError();
}

std::optional<std::string> DIBFormat::BitmapPath(const std::string& path, bool save) {
    if (!path.empty()) {
        return path;
    }
    FileChoice choice;
    choice.save = save;
    choice.filter = kFilter;
    choice.defaultExtension = "BMP";
    return GetUserInterface().ChooseFile(choice);
}

void CDIB::SetDefaultStorage(Storage storage) {
    g_defaultStorage = storage;
}

CDIB::Storage CDIB::GetDefaultStorage() {
    return g_defaultStorage;
}

size_t CDIB::Stride(int bitCount, int width) {
    if (bitCount <= 0 || width <= 0) {
        return 0;
    }
    uint64_t bits = static_cast<uint64_t>(bitCount) * static_cast<uint64_t>(width);
    return static_cast<size_t>((bits + 31) / 32 * 4);
}

void CDIB::Clear() {
    m_storage = Storage::None;
    m_header = SDIBHeader{};
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_palette.reset();
}

bool CDIB::Create(int width, int height, int depth, uint32_t fill,
                  const std::vector<PaletteEntry>* palette) {
    switch (g_defaultStorage) {
    case Storage::Memory:
        if (!AllocHeader(width, height, depth, palette) || !AllocBits(fill)) {
            return false;
        }
        m_storage = Storage::Memory;
        return true;
    case Storage::Section:
        return CreateSection(width, height, depth, fill, palette);
    case Storage::None:
        break;
    }
    return false;
}

bool CDIB::CreateSection(int width, int height, int depth, uint32_t fill,
                         const std::vector<PaletteEntry>* palette) {
    if (depth == 0) {
        depth = kScreenDepth;
    }
    if (!AllocHeader(width, height, depth, palette) || !AllocBits(fill)) {
        return false;
    }
    m_storage = Storage::Section;
    return true;
}

bool CDIB::AllocHeader(int width, int height, int depth, const std::vector<PaletteEntry>* palette) {
    Clear();
    if (depth != 1 && depth != 4 && depth != 8 && depth != 15 && depth != 16 && depth != 24 &&
        depth != 32) {
        return false;
    }
    int bitCount = depth == 15 ? 16 : depth;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
        Stride(bitCount, width) * static_cast<uint64_t>(height) > kMaxPixelBytes) {
        return false;
    }
    SBitmapInfoHeader& info = m_header.info;
    info.width = width;
    info.height = height;
    info.bitCount = static_cast<uint16_t>(bitCount);
    info.sizeImage = static_cast<uint32_t>(Stride(bitCount, width) * static_cast<size_t>(height));
    if (depth == 16) {
        info.compression = BmpCompression::BitFields;
        m_header.masks = {0xF800, 0x07E0, 0x001F};
    } else if (depth == 15) {
        info.compression = BmpCompression::BitFields;
        m_header.masks = {0x7C00, 0x03E0, 0x001F};
    }
    m_header.table.assign(TableRoom(bitCount), RgbQuad{});
    if (palette != nullptr) {
        m_palette = *palette;
        ApplyPalette();
    }
    return true;
}

void CDIB::ApplyPalette() {
    if (!m_palette) {
        return;
    }
    const int bitCount = GetBitCount();
    const uint32_t count = IsIndexed(bitCount) ? uint32_t{1} << bitCount : 0;
    uint32_t filled = PaletteToColorTable(&*m_palette, m_header.table.data(), count);
    m_header.info.clrUsed = filled;
    m_header.info.clrImportant = filled;
}

bool CDIB::AllocBits(uint32_t fill) {
    size_t size = GetStride() * static_cast<size_t>(GetHeight());
    try {
        m_bits.assign(size, 0);
    } catch (const std::bad_alloc&) {
        Clear();
        ReportErrorNumber(ENOMEM);
        return false;
    }
    Fill(fill);
    return true;
}

void CDIB::Fill(uint32_t value) {
    if (IsEmpty()) {
        return;
    }
    const int width = GetWidth();
    const int height = GetHeight();
    switch (GetBitCount()) {
    case 1:
        std::fill(m_bits.begin(), m_bits.end(), value == 0 ? 0x00 : 0xFF);
        break;
    case 4:
        std::fill(m_bits.begin(), m_bits.end(), static_cast<uint8_t>((value & 15) * 0x11));
        break;
    case 8:
        std::fill(m_bits.begin(), m_bits.end(), static_cast<uint8_t>(value));
        break;
    case 16:
    case 24:
    case 32: {
        const size_t pixelBytes = GetBitCount() / 8;
        uint8_t pixel[4];
        StoreU32(pixel, value);
        for (int y = 0; y < height; ++y) {
            uint8_t* row = Row(y);
            for (int x = 0; x < width; ++x) {
                std::memcpy(row + x * pixelBytes, pixel, pixelBytes);
            }
            std::fill(row + width * pixelBytes, row + GetStride(), 0);
        }
        break;
    }
    default:
        break;
    }
}

void CDIB::SetPixel(int x, int y, uint32_t value) {
    if (IsEmpty() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) {
        return;
    }
    uint8_t* row = Row(y);
    switch (GetBitCount()) {
    case 1: {
        uint8_t mask = static_cast<uint8_t>(0x80 >> (x % 8));
        if (value & 1) {
            row[x / 8] |= mask;
        } else {
            row[x / 8] &= static_cast<uint8_t>(~mask);
        }
        break;
    }
    case 4: {
        uint8_t& byte = row[x / 2];
        if (x % 2 == 0) {
            byte = static_cast<uint8_t>((byte & 0x0F) | ((value & 15) << 4));
        } else {
            byte = static_cast<uint8_t>((byte & 0xF0) | (value & 15));
        }
        break;
    }
    case 8:
        row[x] = static_cast<uint8_t>(value);
        break;
    case 16:
        StoreU16(row + 2 * static_cast<size_t>(x), value);
        break;
    case 24: {
        uint8_t* pixel = row + 3 * static_cast<size_t>(x);
        pixel[0] = static_cast<uint8_t>(value);
        pixel[1] = static_cast<uint8_t>(value >> 8);
        pixel[2] = static_cast<uint8_t>(value >> 16);
        break;
    }
    case 32:
        StoreU32(row + 4 * static_cast<size_t>(x), value);
        break;
    default:
        break;
    }
}

void CDIB::SetPixelColor(int x, int y, uint32_t colorRef) {
    if (IsEmpty() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) {
        return;
    }
    const int red = static_cast<int>(colorRef & 0xFF);
    const int green = static_cast<int>((colorRef >> 8) & 0xFF);
    const int blue = static_cast<int>((colorRef >> 16) & 0xFF);
    const int bitCount = GetBitCount();
    if (IsIndexed(bitCount)) {
        size_t used = std::min<size_t>(m_header.info.clrUsed, m_header.table.size());
        uint32_t index = UINT32_MAX; // with no entry in use, the highest index of the depth
        int best = 768;
        for (size_t i = 0; i < used; ++i) {
            const RgbQuad& entry = m_header.table[i];
            int distance = std::abs(red - entry.red) + std::abs(green - entry.green) +
                           std::abs(blue - entry.blue);
            if (distance < best) {
                best = distance;
                index = static_cast<uint32_t>(i);
            }
        }
        SetPixel(x, y, bitCount == 1 ? (index == 0 ? 0 : 1) : index);
        return;
    }
    switch (bitCount) {
    case 16:
        SetPixel(x, y,
                 static_cast<uint32_t>(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3)));
        break;
    case 24:
    case 32:
        SetPixel(x, y,
                 static_cast<uint32_t>(blue) | (static_cast<uint32_t>(green) << 8) |
                     (static_cast<uint32_t>(red) << 16));
        break;
    default:
        break;
    }
}

uint32_t CDIB::GetPixel(int x, int y) const {
    if (IsEmpty() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) {
        return 0;
    }
    const uint8_t* row = Row(y);
    switch (GetBitCount()) {
    case 1:
        return TableColor(m_header.table[(row[x / 8] >> (7 - x % 8)) & 1]);
    case 4: {
        uint8_t byte = row[x / 2];
        return TableColor(m_header.table[x % 2 == 0 ? byte >> 4 : byte & 15]);
    }
    case 8:
        return TableColor(m_header.table[row[x]]);
    case 16: {
        uint16_t word = GetU16(row + 2 * static_cast<size_t>(x));
        return Expand5To8(word & 31) | (static_cast<uint32_t>(Expand6To8((word >> 5) & 63)) << 8) |
               (static_cast<uint32_t>(Expand5To8(word >> 11)) << 16);
    }
    case 24:
    case 32: {
        const uint8_t* pixel = row + static_cast<size_t>(x) * (GetBitCount() / 8);
        return pixel[0] | (static_cast<uint32_t>(pixel[1]) << 8) |
               (static_cast<uint32_t>(pixel[2]) << 16);
    }
    default:
        return 0;
    }
}

uint8_t CDIB::Expand5To8(unsigned value) {
    value &= 31;
    return static_cast<uint8_t>((value * 255 + 15) / 31);
}

uint8_t CDIB::Expand6To8(unsigned value) {
    value &= 63;
    unsigned correction = value < 8 ? 0 : value < 24 ? 1 : value < 40 ? 2 : 3;
    return static_cast<uint8_t>(4 * value + correction);
}

void CDIB::SetColorTable(const std::vector<RgbQuad>& entries) {
    size_t count = std::min(entries.size(), m_header.table.size());
    std::fill(m_header.table.begin(), m_header.table.end(), RgbQuad{});
    std::copy_n(entries.begin(), count, m_header.table.begin());
    m_header.info.clrUsed = static_cast<uint32_t>(count);
    m_header.info.clrImportant = static_cast<uint32_t>(count);
}

int CDIB::GetColorCount(const SBitmapInfoHeader& info) {
    if (info.clrUsed != 0) {
        return static_cast<int>(std::min<uint32_t>(info.clrUsed, INT_MAX));
    }
    return IsIndexed(info.bitCount) ? 1 << info.bitCount : 0;
}

int CDIB::GetTableEntries(const SDIBHeader& header) {
    const SBitmapInfoHeader& info = header.info;
    bool bitFields = !IsIndexed(info.bitCount) && info.compression == BmpCompression::BitFields;
    if (info.clrUsed != 0) {
        return static_cast<int>(std::min<uint32_t>(info.clrUsed, kTableRoom)) + (bitFields ? 3 : 0);
    }
    if (IsIndexed(info.bitCount)) {
        return 1 << info.bitCount;
    }
    return bitFields ? 3 : 0;
}

bool CDIB::MakeTrueColorHeader(SDIBHeader& header) {
    SBitmapInfoHeader& info = header.info;
    if (info.bitCount != 16 && info.bitCount != 24 && info.bitCount != 32) {
        return false;
    }
    bool convert = info.bitCount != 24;
    info.compression = BmpCompression::None;
    info.clrUsed = 0;
    info.clrImportant = 0;
    info.bitCount = 24;
    info.sizeImage =
        static_cast<uint32_t>(Stride(24, info.width) * static_cast<size_t>(info.height));
    return convert;
}

bool CDIB::WriteBmp(File& file) const {
    if (IsEmpty()) {
        return false;
    }
    SDIBHeader header = CopyHeader();
    const bool convert = MakeTrueColorHeader(header);
    const SBitmapInfoHeader& info = header.info;
    const uint32_t entries = static_cast<uint32_t>(GetTableEntries(header));
    const size_t stride = Stride(info.bitCount, info.width);
    const uint32_t pixelOffset =
        static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize) + 4 * entries;

    std::vector<uint8_t> head;
    head.push_back('B');
    head.push_back('M');
    PutU32(head, static_cast<uint32_t>(stride * static_cast<size_t>(info.height)) + pixelOffset);
    PutU16(head, 0);
    PutU16(head, 0);
    PutU32(head, pixelOffset);
    PutU32(head, kInfoHeaderSize);
    PutI32(head, info.width);
    PutI32(head, info.height);
    PutU16(head, info.planes);
    PutU16(head, info.bitCount);
    PutU32(head, info.compression);
    PutU32(head, info.sizeImage);
    PutI32(head, info.xPelsPerMeter);
    PutI32(head, info.yPelsPerMeter);
    PutU32(head, info.clrUsed);
    PutU32(head, info.clrImportant);
    uint32_t colors = entries;
    if (!IsIndexed(info.bitCount) && info.compression == BmpCompression::BitFields) {
        for (uint32_t mask : header.masks) {
            PutU32(head, mask);
        }
        colors -= 3;
    }
    for (uint32_t i = 0; i < colors; ++i) {
        RgbQuad entry = i < header.table.size() ? header.table[i] : RgbQuad{};
        head.insert(head.end(), {entry.blue, entry.green, entry.red, entry.reserved});
    }
    if (!file.Write(head.data(), head.size())) {
        return false;
    }

    if (!convert) {
        return file.Write(m_bits.data(), m_bits.size());
    }
    std::vector<uint8_t> row(stride, 0);
    for (int y = 0; y < info.height; ++y) {
        for (int x = 0; x < info.width; ++x) {
            uint32_t color = GetPixel(x, y);
            uint8_t* pixel = row.data() + 3 * static_cast<size_t>(x);
            pixel[0] = static_cast<uint8_t>(color);
            pixel[1] = static_cast<uint8_t>(color >> 8);
            pixel[2] = static_cast<uint8_t>(color >> 16);
        }
        if (!file.Write(row.data(), row.size())) {
            return false;
        }
    }
    return true;
}

bool CDIB::Save(const std::string& path) const {
    const std::optional<std::string> chosen = BitmapPath(path, true);
    if (!chosen) {
        return false;
    }
    AtomicFile file;
    std::string reason;
    try {
        if (!file.Open(*chosen)) {
            ShowFileFailure(kCannotOpen, *chosen, file.LastError());
            return false;
        }
        if (WriteBmp(file.GetFile()) && file.Commit()) {
            return true;
        }
        reason = file.LastError();
    } catch (const std::bad_alloc&) {
        reason = OutOfMemoryReason();
    }
    file.Discard();
    ShowFileFailure(kCannotSave, *chosen, reason);
    return false;
}
