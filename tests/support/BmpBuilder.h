// BMP files made field by field for tests, so that each header value can be set to anything,
// including what no writer should produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BmpBuilder {
    uint32_t headerSize = 40; // 12 writes the old core header, more pads the 40 bytes with zeros
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    std::vector<uint32_t> masks; // written after the header when not empty
    std::vector<uint32_t> table; // 0x00RRGGBB; 4 bytes each, 3 after a core header
    std::vector<uint8_t> pixels; // the rows as they are to stand in the file
    int64_t pixelOffset = -1;    // -1: right behind the table

    std::string Bytes() const {
        std::string out;
        auto u16 = [&out](uint32_t v) {
            out.push_back(static_cast<char>(v & 0xFF));
            out.push_back(static_cast<char>((v >> 8) & 0xFF));
        };
        auto u32 = [&u16](uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        const uint32_t entrySize = headerSize == 12 ? 3 : 4;
        const uint32_t naturalOffset =
            static_cast<uint32_t>(14 + headerSize + 4 * masks.size() + entrySize * table.size());
        const uint32_t offset =
            pixelOffset < 0 ? naturalOffset : static_cast<uint32_t>(pixelOffset);
        out += "BM";
        u32(static_cast<uint32_t>(naturalOffset + pixels.size()));
        u16(0);
        u16(0);
        u32(offset);
        u32(headerSize);
        if (headerSize == 12) {
            u16(static_cast<uint32_t>(width));
            u16(static_cast<uint32_t>(height));
            u16(planes);
            u16(bitCount);
        } else {
            u32(static_cast<uint32_t>(width));
            u32(static_cast<uint32_t>(height));
            u16(planes);
            u16(bitCount);
            u32(compression);
            u32(static_cast<uint32_t>(pixels.size()));
            u32(0);
            u32(0);
            u32(clrUsed);
            u32(0);
            out.append(headerSize > 40 ? headerSize - 40 : 0, '\0');
        }
        for (uint32_t mask : masks) {
            u32(mask);
        }
        for (uint32_t color : table) {
            out.push_back(static_cast<char>(color & 0xFF));
            out.push_back(static_cast<char>((color >> 8) & 0xFF));
            out.push_back(static_cast<char>((color >> 16) & 0xFF));
            if (entrySize == 4) {
                out.push_back('\0');
            }
        }
        out.append(offset > naturalOffset ? offset - naturalOffset : 0, '\0');
        out.append(pixels.begin(), pixels.end());
        return out;
    }
};
