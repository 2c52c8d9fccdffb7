// Colour tables: palettes copied into tables, and colour 7 of dialog pictures set to the button
// face only where the picture has such a colour, in a copy that later lookups return.
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/BitmapColors.h"
#include "support/Resources.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

void PutU32(std::vector<unsigned char>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// A bitmap resource: a 40-byte info header, then `tableBytes` bytes whose i-th byte is i + 1
// (masks and colour table), then `pixelBytes` bytes of 0xEE.
std::vector<unsigned char> Bitmap(uint16_t bitCount, uint32_t colorsUsed, size_t tableBytes,
                                  uint32_t compression = 0, size_t pixelBytes = 8) {
    std::vector<unsigned char> bytes(40 + tableBytes + pixelBytes, 0xEE);
    PutU32(bytes, 0, 40);
    PutU32(bytes, 4, 4);
    PutU32(bytes, 8, 2);
    bytes[12] = 1;
    bytes[13] = 0;
    bytes[14] = static_cast<unsigned char>(bitCount);
    bytes[15] = 0;
    PutU32(bytes, 16, compression);
    for (size_t at = 20; at < 32; at += 4) {
        PutU32(bytes, at, 0);
    }
    PutU32(bytes, 32, colorsUsed);
    PutU32(bytes, 36, 0);
    for (size_t i = 0; i < tableBytes; ++i) {
        bytes[40 + i] = static_cast<unsigned char>(i + 1);
    }
    return bytes;
}

struct Pictures {
    std::vector<std::vector<unsigned char>> data;
    std::vector<ResourceEntry> entries;
    ResourceModule module{};

    void Add(uint32_t id, uint16_t langId, std::vector<unsigned char> bytes) {
        bytes.push_back(0);
        data.push_back(std::move(bytes));
        entries.push_back({2, id, langId, nullptr, 0});
    }
    void Finish() {
        for (size_t i = 0; i < entries.size(); ++i) {
            entries[i].data = data[i].data();
            entries[i].size = static_cast<uint32_t>(data[i].size() - 1);
        }
        module = {entries.data(), static_cast<uint32_t>(entries.size())};
    }
};

class ButtonFace : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetResourceModule();
        if (const char* lang = std::getenv("LC_ALL")) {
            m_savedLang = lang;
        }
        setenv("LC_ALL", "de_DE.UTF-8", 1);
        m_pictures.Add(1, 1031, Bitmap(4, 0, 64));                  // 16 colours
        m_pictures.Add(2, 1031, Bitmap(8, 4, 16));                  // 4 colours in use
        m_pictures.Add(3, 1031, Bitmap(1, 0, 8));                   // 2 colours
        m_pictures.Add(4, 1031, std::vector<unsigned char>(20, 1)); // cut short
        m_pictures.Add(5, 1031, Bitmap(4, 0, 16, 0, 0));            // table declared but missing
        m_pictures.Add(6, 1031, Bitmap(24, 0, 0));                  // no colour table
        m_pictures.Add(7, 1031, Bitmap(16, 8, 12 + 32, 3));         // masks, then 8 colours
        m_pictures.Add(8, 1031, Bitmap(8, 0, 1024));                // 256 colours, German
        m_pictures.Add(8, 2057, Bitmap(8, 0, 1024));                // the same in English
        m_pictures.Finish();
        SetResourceModule(&m_pictures.module);
        TestUi().SetButtonFaceColour(0x00112233);
    }
    void TearDown() override {
        SetResourceModule(m_saved);
        if (m_savedLang) {
            setenv("LC_ALL", m_savedLang->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }

    // The bytes a lookup gives now.
    std::vector<unsigned char> Current(uint32_t id, uint16_t langId = 1031) {
        uint32_t size = 0;
        const unsigned char* data = FindResourceDataInLanguage(2, id, langId, &size);
        return data != nullptr ? std::vector<unsigned char>(data, data + size)
                               : std::vector<unsigned char>();
    }
    std::vector<unsigned char> Original(size_t index) {
        return {m_pictures.data[index].begin(), m_pictures.data[index].end() - 1};
    }

    Pictures m_pictures;
    const ResourceModule* m_saved = nullptr;
    std::optional<std::string> m_savedLang;
};

} // namespace

TEST_F(ButtonFace, ChangesEntrySevenOfATableOfSixteen) {
    SetBitmapBtnFace(1);
    std::vector<unsigned char> expected = Original(0);
    expected[40 + 28] = 0x11; // blue
    expected[40 + 29] = 0x22; // green
    expected[40 + 30] = 0x33; // red; the reserved byte stays
    EXPECT_EQ(Current(1), expected);
    // The compiled-in bytes are not written; the lookup returns the copy.
    uint32_t size = 0;
    EXPECT_NE(FindResourceData(2, 1, &size), m_pictures.data[0].data());
    EXPECT_EQ(size, expected.size());
    EXPECT_EQ(FindResourceData(2, 1)[size], 0); // still terminated like every resource

    // Again with another face colour: the copy changes, nothing else.
    TestUi().SetButtonFaceColour(0x00A0B0C0);
    SetBitmapBtnFace(1);
    expected[40 + 28] = 0xA0;
    expected[40 + 29] = 0xB0;
    expected[40 + 30] = 0xC0;
    EXPECT_EQ(Current(1), expected);
}

TEST_F(ButtonFace, LeavesBitmapsWithoutAnEighthColourAlone) {
    for (uint32_t id : {2u, 3u, 4u, 5u, 6u, 99u}) {
        SCOPED_TRACE(id);
        SetBitmapBtnFace(id);
        if (id != 99) {
            EXPECT_EQ(Current(id), Original(id - 1));
            EXPECT_EQ(FindResourceData(2, id), m_pictures.data[id - 1].data());
        }
    }
}

TEST_F(ButtonFace, FindsTheTableBehindTheColourMasks) {
    SetBitmapBtnFace(7);
    std::vector<unsigned char> expected = Original(6);
    expected[40 + 12 + 28] = 0x11;
    expected[40 + 12 + 29] = 0x22;
    expected[40 + 12 + 30] = 0x33;
    EXPECT_EQ(Current(7), expected);
}

TEST_F(ButtonFace, ChangesThePictureOfTheUsersLanguageOnly) {
    SetBitmapBtnFace(8);
    EXPECT_NE(Current(8, 1031), Original(7));
    EXPECT_EQ(Current(8, 2057), Original(8));
    // Installing a resource table drops the copies.
    SetResourceModule(&m_pictures.module);
    EXPECT_EQ(Current(8, 1031), Original(7));
}

TEST(PaletteToColorTable, CopiesThePaletteAndZeroesTheRest) {
    const std::vector<PaletteEntry> palette = {{1, 2, 3, 9}, {4, 5, 6, 9}, {7, 8, 9, 9}};
    const RgbQuad filler{0x55, 0x55, 0x55, 0x55};

    std::vector<RgbQuad> table(5, filler);
    EXPECT_EQ(PaletteToColorTable(&palette, table.data(), 5), 3u);
    const std::vector<RgbQuad> expected = {{3, 2, 1, 0}, {6, 5, 4, 0}, {9, 8, 7, 0}, {}, {}};
    EXPECT_EQ(table, expected);

    table.assign(3, filler);
    EXPECT_EQ(PaletteToColorTable(&palette, table.data(), 2), 2u);
    EXPECT_EQ(table, (std::vector<RgbQuad>{{3, 2, 1, 0}, {6, 5, 4, 0}, filler}));

    table.assign(3, filler);
    EXPECT_EQ(PaletteToColorTable(nullptr, table.data(), 3), 0u);
    EXPECT_EQ(PaletteToColorTable(&palette, table.data(), 0), 0u);
    EXPECT_EQ(table, std::vector<RgbQuad>(3, filler));

    const std::vector<PaletteEntry> empty;
    EXPECT_EQ(PaletteToColorTable(&empty, table.data(), 3), 0u);
    EXPECT_EQ(table, std::vector<RgbQuad>(3, RgbQuad{}));
}
