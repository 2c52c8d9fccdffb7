// Bitmaps: pixel access at every depth, BMP files written byte for byte, round trips, the
// reader's refusals with their messages, damaged and hostile files, and files of another writer.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/DIB.h"
#include "support/File.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"
#include "tests/support/BmpBuilder.h"

namespace {

// A colour as SetPixelColor takes it (red in the low byte).
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
// A colour as GetPixel gives it (blue in the low byte).
constexpr uint32_t Quad(uint32_t red, uint32_t green, uint32_t blue) {
    return (blue & 0xFF) | ((green & 0xFF) << 8) | ((red & 0xFF) << 16);
}

class StorageScope {
public:
    explicit StorageScope(CDIB::Storage storage) : m_saved(CDIB::GetDefaultStorage()) {
        CDIB::SetDefaultStorage(storage);
    }
    ~StorageScope() { CDIB::SetDefaultStorage(m_saved); }

private:
    CDIB::Storage m_saved;
};

bool Read(CDIB& bitmap, const std::string& bytes, int depth) {
    return bitmap.ReadBmp(bytes.data(), bytes.size(), depth);
}

std::string Written(const CDIB& bitmap) {
    TempFolder folder;
    File file;
    EXPECT_TRUE(file.Open(folder.File("out.bmp"), File::Mode::Write));
    EXPECT_TRUE(bitmap.WriteBmp(file));
    EXPECT_TRUE(file.Close());
    return TempFolder::Read(folder.File("out.bmp"));
}

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int value : values) {
        out.push_back(static_cast<char>(value));
    }
    return out;
}

std::string U32(uint32_t value) {
    return Bytes({static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF), static_cast<int>(value >> 24)});
}

std::vector<RgbQuad> DistinctTable(size_t count) {
    std::vector<RgbQuad> table;
    for (size_t i = 0; i < count; ++i) {
        table.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                         static_cast<uint8_t>(i * 7), 0});
    }
    return table;
}

// Gives every pixel a value that differs from its neighbours.
void Paint(CDIB& bitmap) {
    const int bits = bitmap.GetBitCount();
    for (int y = 0; y < bitmap.GetHeight(); ++y) {
        for (int x = 0; x < bitmap.GetWidth(); ++x) {
            if (bits <= 8) {
                bitmap.SetPixel(x, y, static_cast<uint32_t>(x * 3 + y * 5) % (1u << bits));
            } else if (bits == 16) {
                bitmap.SetPixel(x, y, static_cast<uint32_t>(x * 1237 + y * 4099) & 0xFFFF);
            } else {
                bitmap.SetPixelColor(x, y, Rgb(x * 40, y * 30 + 1, (x + y) * 20 + 2));
            }
        }
    }
}

void ExpectSamePixels(const CDIB& expected, const CDIB& actual) {
    ASSERT_EQ(actual.GetWidth(), expected.GetWidth());
    ASSERT_EQ(actual.GetHeight(), expected.GetHeight());
    for (int y = 0; y < expected.GetHeight(); ++y) {
        for (int x = 0; x < expected.GetWidth(); ++x) {
            ASSERT_EQ(actual.GetPixel(x, y), expected.GetPixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

} // namespace

// ---- pixels ----

TEST(DIBPixels, CreateFillsAndSetPixelColorWritesBlueGreenRed) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(10, 10, 32, 0xFFFFFF));
    EXPECT_EQ(bitmap.GetPixel(9, 9), 0xFFFFFFu);
    bitmap.SetPixelColor(2, 3, 0x0000FF);
    const uint8_t* pixel = bitmap.GetBits() + 3 * bitmap.GetStride() + 2 * 4;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pixel), 4), Bytes({0, 0, 255, 0}));
    EXPECT_EQ(bitmap.GetPixel(2, 3), Quad(255, 0, 0));
}

TEST(DIBPixels, RowsArePaddedToFourBytes) {
    const int depths[] = {1, 4, 8, 16, 24, 32};
    const size_t strides[] = {4, 4, 4, 8, 12, 12};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(depths[i]);
        CDIB bitmap;
        ASSERT_TRUE(bitmap.Create(3, 2, depths[i], 0));
        EXPECT_EQ(bitmap.GetStride(), strides[i]);
        EXPECT_EQ(bitmap.GetInfoHeader().sizeImage, strides[i] * 2);
    }
    EXPECT_EQ(CDIB::Stride(1, 33), 8u);
    EXPECT_EQ(CDIB::Stride(24, 65536), 196608u);
}

TEST(DIBPixels, FillByDepth) {
    struct Row {
        int depth;
        uint32_t value;
        std::string firstRow; // the first stored row, padding included
    };
    const Row rows[] = {
        {1, 0, Bytes({0, 0, 0, 0})},
        {1, 6, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {4, 0x1234, Bytes({0x44, 0x44, 0x44, 0x44})},
        {8, 0x1234, Bytes({0x34, 0x34, 0x34, 0x34})},
        {16, 0x12345678, Bytes({0x78, 0x56, 0x78, 0x56, 0x78, 0x56, 0, 0})},
        {24, 0x00112233, Bytes({0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0, 0, 0})},
        {32, 0x00112233, Bytes({0x33, 0x22, 0x11, 0, 0x33, 0x22, 0x11, 0, 0x33, 0x22, 0x11, 0})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.depth);
        CDIB bitmap;
        ASSERT_TRUE(bitmap.Create(3, 2, row.depth, row.value));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bitmap.GetBits()), bitmap.GetStride()),
                  row.firstRow);
    }
}

TEST(DIBPixels, SetPixelPacksSmallDepthsFromTheHighBit) {
    CDIB bits1;
    ASSERT_TRUE(bits1.Create(12, 1, 1, 0));
    bits1.SetPixel(0, 0, 1);
    bits1.SetPixel(9, 0, 3);
    bits1.SetPixel(10, 0, 1);
    bits1.SetPixel(10, 0, 2); // even: cleared again
    EXPECT_EQ(bits1.GetBits()[0], 0x80);
    EXPECT_EQ(bits1.GetBits()[1], 0x40);

    CDIB bits4;
    ASSERT_TRUE(bits4.Create(3, 1, 4, 0));
    bits4.SetPixel(0, 0, 0xA);
    bits4.SetPixel(1, 0, 0x15);
    bits4.SetPixel(2, 0, 7);
    EXPECT_EQ(bits4.GetBits()[0], 0xA5);
    EXPECT_EQ(bits4.GetBits()[1], 0x70);

    CDIB bits16;
    ASSERT_TRUE(bits16.Create(2, 1, 16, 0));
    bits16.SetPixel(1, 0, 0xBEEF);
    EXPECT_EQ(bits16.GetBits()[2], 0xEF);
    EXPECT_EQ(bits16.GetBits()[3], 0xBE);
}

TEST(DIBPixels, PositionsOutsideAreIgnored) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(2, 2, 8, 0));
    for (int x : {-1, 2, 1000000}) {
        bitmap.SetPixel(x, 0, 9);
        bitmap.SetPixel(0, x, 9);
        bitmap.SetPixelColor(x, 1, 0xFFFFFF);
        EXPECT_EQ(bitmap.GetPixel(x, 0), 0u);
    }
    for (size_t i = 0; i < bitmap.GetStride() * 2; ++i) {
        EXPECT_EQ(bitmap.GetBits()[i], 0);
    }
    CDIB empty;
    empty.SetPixel(0, 0, 1);
    empty.Fill(1);
    EXPECT_EQ(empty.GetPixel(0, 0), 0u);
}

TEST(DIBPixels, IndexedDepthsTakeTheNearestTableColour) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(4, 1, 8, 0));
    // With no entry in use, the highest index.
    bitmap.SetPixelColor(0, 0, Rgb(1, 2, 3));
    EXPECT_EQ(bitmap.GetBits()[0], 255);

    bitmap.SetColorTable({{0, 0, 0, 0}, {255, 255, 255, 0}});
    bitmap.SetPixelColor(1, 0, Rgb(200, 200, 200));
    bitmap.SetPixelColor(2, 0, Rgb(127, 127, 127)); // 381 against 384
    EXPECT_EQ(bitmap.GetBits()[1], 1);
    EXPECT_EQ(bitmap.GetBits()[2], 0);
    EXPECT_EQ(bitmap.GetPixel(1, 0), Quad(255, 255, 255));

    // The first of equally near entries wins.
    bitmap.SetColorTable({{10, 10, 10, 0}, {30, 30, 30, 0}});
    bitmap.SetPixelColor(3, 0, Rgb(20, 20, 20));
    EXPECT_EQ(bitmap.GetBits()[3], 0);

    CDIB bits4;
    ASSERT_TRUE(bits4.Create(1, 1, 4, 0));
    bits4.SetPixelColor(0, 0, Rgb(1, 2, 3));
    EXPECT_EQ(bits4.GetBits()[0] >> 4, 15);

    CDIB bits1;
    ASSERT_TRUE(bits1.Create(2, 1, 1, 0));
    bits1.SetColorTable({{0, 0, 0, 0}, {255, 255, 255, 0}});
    bits1.SetPixelColor(0, 0, Rgb(250, 250, 250));
    bits1.SetPixelColor(1, 0, Rgb(5, 5, 5));
    EXPECT_EQ(bits1.GetBits()[0], 0x80);
    EXPECT_EQ(bits1.GetPixel(0, 0), Quad(255, 255, 255));
    EXPECT_EQ(bits1.GetPixel(1, 0), Quad(0, 0, 0));
}

TEST(DIBPixels, SixteenBitsAre565) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(3, 1, 16, 0));
    bitmap.SetPixelColor(0, 0, Rgb(0x12, 0x34, 0x56));
    bitmap.SetPixelColor(1, 0, Rgb(255, 255, 255));
    EXPECT_EQ(bitmap.GetBits()[0] | (bitmap.GetBits()[1] << 8), 0x11AA);
    EXPECT_EQ(bitmap.GetPixel(1, 0), 0xFFFFFFu);
    bitmap.SetPixel(2, 0, 0x0821); // red 1, green 1, blue 1
    EXPECT_EQ(bitmap.GetPixel(2, 0), Quad(8, 4, 8));

    // Depth 15 is stored as 16 bits with 5-5-5 masks; the pixel operations stay 5-6-5.
    CDIB bits15;
    ASSERT_TRUE(bits15.Create(1, 1, 15, 0));
    EXPECT_EQ(bits15.GetBitCount(), 16);
    EXPECT_EQ(bits15.GetInfoHeader().compression, BmpCompression::BitFields);
    EXPECT_EQ(bits15.CopyHeader().masks, (std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}));
    EXPECT_EQ(bitmap.CopyHeader().masks, (std::array<uint32_t, 3>{0xF800, 0x07E0, 0x001F}));
}

TEST(DIBPixels, ExpansionTablesReachFullScale) {
    const int fives[] = {0, 8, 16, 25, 33, 41, 49, 58};
    for (unsigned i = 0; i < 8; ++i) {
        EXPECT_EQ(CDIB::Expand5To8(i), fives[i]);
    }
    EXPECT_EQ(CDIB::Expand5To8(30), 247);
    EXPECT_EQ(CDIB::Expand5To8(31), 255);
    const int sixes[][2] = {{0, 0},    {7, 28},   {8, 33},   {23, 93}, {24, 98},
                            {39, 158}, {40, 163}, {62, 251}, {63, 255}};
    for (const auto& six : sixes) {
        EXPECT_EQ(CDIB::Expand6To8(six[0]), six[1]) << six[0];
    }
    // Expanding and cutting back gives the stored value again.
    for (unsigned i = 0; i < 64; ++i) {
        EXPECT_EQ(CDIB::Expand6To8(i) >> 2, i);
        EXPECT_EQ(CDIB::Expand5To8(i % 32) >> 3, i % 32);
    }
}

TEST(DIBCreate, RefusesDepthsAndSizesItCannotHold) {
    CDIB bitmap;
    EXPECT_FALSE(bitmap.Create(4, 4, 2, 0));
    EXPECT_FALSE(bitmap.Create(0, 4, 8, 0));
    EXPECT_FALSE(bitmap.Create(4, -1, 8, 0));
    EXPECT_FALSE(bitmap.Create(CDIB::kMaxSide + 1, 1, 8, 0));
    EXPECT_FALSE(bitmap.Create(CDIB::kMaxSide, CDIB::kMaxSide, 32, 0)); // 16 GiB
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DIBCreate, FollowsTheDefaultStorage) {
    {
        StorageScope scope(CDIB::Storage::Memory);
        CDIB bitmap;
        EXPECT_FALSE(bitmap.Create(2, 2, 0, 0)); // only a section knows the screen's depth
        ASSERT_TRUE(bitmap.Create(2, 2, 24, 0));
        EXPECT_EQ(bitmap.GetStorage(), CDIB::Storage::Memory);
    }
    {
        StorageScope scope(CDIB::Storage::Section);
        CDIB bitmap;
        ASSERT_TRUE(bitmap.Create(2, 2, 0, 0xFFFFFF));
        EXPECT_EQ(bitmap.GetStorage(), CDIB::Storage::Section);
        EXPECT_EQ(bitmap.GetBitCount(), 32);
        EXPECT_EQ(bitmap.GetPixel(1, 1), 0xFFFFFFu);
    }
    {
        StorageScope scope(CDIB::Storage::None);
        CDIB bitmap;
        EXPECT_FALSE(bitmap.Create(2, 2, 24, 0));
    }
}

TEST(DIBCreate, APaletteBecomesTheColourTable) {
    const std::vector<PaletteEntry> palette = {{255, 0, 0, 0}, {0, 128, 0, 0}, {1, 2, 3, 4}};
    CDIB bits8;
    ASSERT_TRUE(bits8.Create(4, 1, 8, 0, &palette));
    EXPECT_EQ(bits8.GetColorCount(), 3);
    EXPECT_EQ(bits8.GetInfoHeader().clrImportant, 3u);
    EXPECT_EQ(bits8.GetColorTable()[0], (RgbQuad{0, 0, 255, 0}));
    EXPECT_EQ(bits8.GetColorTable()[2], (RgbQuad{3, 2, 1, 0}));
    EXPECT_EQ(bits8.GetColorTable()[3], RgbQuad{});
    ASSERT_NE(bits8.GetPalette(), nullptr);
    EXPECT_EQ(*bits8.GetPalette(), palette);
    bits8.SetPixelColor(0, 0, Rgb(0, 120, 0));
    EXPECT_EQ(bits8.GetBits()[0], 1);

    // The table takes as many colours as the depth has entries.
    CDIB bits1;
    ASSERT_TRUE(bits1.Create(1, 1, 1, 0, &palette));
    EXPECT_EQ(bits1.GetColorCount(), 2);
    // True colour has no table to fill, but keeps the palette.
    CDIB bits24;
    ASSERT_TRUE(bits24.Create(1, 1, 24, 0, &palette));
    EXPECT_EQ(bits24.GetInfoHeader().clrUsed, 0u);
    EXPECT_NE(bits24.GetPalette(), nullptr);
    // Making the bitmap again drops it.
    ASSERT_TRUE(bits24.Create(1, 1, 24, 0));
    EXPECT_EQ(bits24.GetPalette(), nullptr);
}

// ---- writing ----

TEST(DIBWrite, ThirtyTwoBitsAreWrittenAsTwentyFour) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(3, 2, 32, 0xFFFFFF));
    bitmap.SetPixelColor(0, 0, Rgb(1, 2, 3));
    bitmap.SetPixelColor(2, 1, Rgb(4, 5, 6));
    std::string expected = "BM" + U32(78) + U32(0) + U32(54) + U32(40) + U32(3) + U32(2) +
                           Bytes({1, 0, 24, 0}) + U32(0) + U32(24) + U32(0) + U32(0) + U32(0) +
                           U32(0) + Bytes({3, 2, 1, 255, 255, 255, 255, 255, 255, 0, 0, 0}) +
                           Bytes({255, 255, 255, 255, 255, 255, 6, 5, 4, 0, 0, 0});
    EXPECT_EQ(Written(bitmap), expected);
}

TEST(DIBWrite, IndexedBitmapsCarryTheirTable) {
    CDIB bits1;
    ASSERT_TRUE(bits1.Create(2, 2, 1, 0));
    bits1.SetColorTable({{0, 0, 0, 0}, {0x30, 0x20, 0x10, 0}});
    bits1.SetPixel(1, 0, 1);
    bits1.SetPixel(0, 1, 1);
    std::string expected = "BM" + U32(70) + U32(0) + U32(62) + U32(40) + U32(2) + U32(2) +
                           Bytes({1, 0, 1, 0}) + U32(0) + U32(8) + U32(0) + U32(0) + U32(2) +
                           U32(2) + Bytes({0, 0, 0, 0, 0x30, 0x20, 0x10, 0}) +
                           Bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0});
    EXPECT_EQ(Written(bits1), expected);

    // Without a used count the whole table of the depth is written.
    CDIB bits8;
    ASSERT_TRUE(bits8.Create(3, 1, 8, 7));
    std::string file = Written(bits8);
    ASSERT_EQ(file.size(), 1082u);
    EXPECT_EQ(file.substr(2, 4), U32(1082));
    EXPECT_EQ(file.substr(10, 4), U32(1078));
    EXPECT_EQ(file.substr(1078), Bytes({7, 7, 7, 7})); // 8 bits fill the padding too

    CDIB bits4;
    ASSERT_TRUE(bits4.Create(1, 1, 4, 0));
    EXPECT_EQ(Written(bits4).substr(10, 4), U32(54 + 64));
}

TEST(DIBWrite, SixteenBitsAreWrittenAsTwentyFour) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(2, 1, 16, 0));
    bitmap.SetPixel(0, 0, 0xF800);
    bitmap.SetPixel(1, 0, 0x001F);
    std::string file = Written(bitmap);
    ASSERT_EQ(file.size(), 62u);
    EXPECT_EQ(file.substr(10, 4), U32(54));
    EXPECT_EQ(file.substr(28, 2), Bytes({24, 0}));
    EXPECT_EQ(file.substr(30, 4), U32(0)); // no bit fields any more
    EXPECT_EQ(file.substr(54), Bytes({0, 0, 255, 255, 0, 0, 0, 0}));
}

TEST(DIBWrite, AnEmptyBitmapIsNotWritten) {
    TempFolder folder;
    File file;
    ASSERT_TRUE(file.Open(folder.File("x.bmp"), File::Mode::Write));
    EXPECT_FALSE(CDIB().WriteBmp(file));
}

TEST(DIBWrite, AFailedWriteIsAFailure) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(512, 512, 32, 0));
    File file;
    ASSERT_TRUE(file.Open("/dev/full", File::Mode::Write));
    bool written = bitmap.WriteBmp(file);
    bool closed = file.Close();
    EXPECT_FALSE(written && closed);
}

// ---- round trips ----

TEST(DIBRoundTrip, EveryDepthReadsBackItsPixels) {
    struct Row {
        int depth;
        int readAt0; // the depth that reading with depth 0 gives
    };
    const Row rows[] = {{1, 1}, {4, 4}, {8, 8}, {15, 32}, {16, 32}, {24, 32}, {32, 32}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.depth);
        CDIB original;
        ASSERT_TRUE(original.Create(7, 5, row.depth, 0));
        if (row.depth <= 8) {
            original.SetColorTable(DistinctTable(size_t{1} << row.depth));
        }
        Paint(original);
        std::string file = Written(original);

        CDIB natural;
        ASSERT_TRUE(Read(natural, file, 0));
        EXPECT_EQ(natural.GetBitCount(), row.readAt0);
        ExpectSamePixels(original, natural);
        if (row.depth <= 8) {
            EXPECT_EQ(natural.GetColorTable(), original.GetColorTable());
            EXPECT_EQ(natural.GetColorCount(), 1 << row.depth);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(natural.GetBits()),
                                  natural.GetStride() * 5),
                      std::string(reinterpret_cast<const char*>(original.GetBits()),
                                  original.GetStride() * 5));
        }

        CDIB same;
        ASSERT_TRUE(Read(same, file, row.depth));
        EXPECT_EQ(same.GetBitCount(), row.depth == 15 ? 16 : row.depth);
        ExpectSamePixels(original, same);
        if (row.depth == 16) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(same.GetBits()), 5 * 16),
                      std::string(reinterpret_cast<const char*>(original.GetBits()), 5 * 16));
        }
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DIBRoundTrip, IndexedFilesReadAtTwentyFourBitsTakeTheirTableColours) {
    CDIB original;
    ASSERT_TRUE(original.Create(5, 3, 8, 0));
    original.SetColorTable(DistinctTable(256));
    Paint(original);
    CDIB rgb;
    ASSERT_TRUE(Read(rgb, Written(original), 24));
    EXPECT_EQ(rgb.GetBitCount(), 24);
    ExpectSamePixels(original, rgb);
    EXPECT_EQ(rgb.GetPixel(1, 0), Quad(3 * 7, 255 - 3, 3)); // index 3
}

TEST(DIBRoundTrip, SaveAndLoadThroughFiles) {
    TempFolder folder;
    CDIB original;
    ASSERT_TRUE(original.Create(9, 4, 24, 0));
    Paint(original);
    std::string path = folder.Write("picture.bmp", "old");
    ASSERT_TRUE(original.Save(path));

    CDIB loaded;
    ASSERT_TRUE(loaded.Load(path, 24));
    ExpectSamePixels(original, loaded);
    std::unique_ptr<CDIB> texture = CDIB::FromFile(path, 24);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetBitCount(), 24);
    EXPECT_TRUE(TestUi().Boxes().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

// ---- Load and Save: dialogs and failures ----

TEST(DIBFiles, EmptyPathsAskForAFile) {
    TempFolder folder;
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(2, 2, 24, 0x123456));
    EXPECT_FALSE(bitmap.Save("")); // no answer queued: cancelled
    TestUi().QueueFileChoice(folder.File("chosen.bmp"));
    EXPECT_TRUE(bitmap.Save(""));

    CDIB loaded;
    EXPECT_FALSE(loaded.Load("", 0));
    TestUi().QueueFileChoice(folder.File("chosen.bmp"));
    EXPECT_TRUE(loaded.Load("", 0));
    EXPECT_EQ(loaded.GetPixel(1, 1), 0x123456u);

    ASSERT_EQ(TestUi().FileDialogs().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const FileChoice& dialog = TestUi().FileDialogs()[i];
        EXPECT_EQ(dialog.save, i < 2);
        EXPECT_EQ(dialog.filter, "Image files (*.BMP, *.DIB)|*.BMP;*.DIB|All files (*.*)|*.*||");
        EXPECT_EQ(dialog.defaultExtension, "BMP");
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DIBFiles, LoadFailsSilentlyWhenTheFileCannotBeOpened) {
    TempFolder folder;
    CDIB bitmap;
    EXPECT_FALSE(bitmap.Load(folder.File("missing.bmp"), 0));
    EXPECT_FALSE(bitmap.Load(folder.Path(), 0));
    EXPECT_EQ(CDIB::FromFile(folder.File("missing.bmp"), 24), nullptr);
    EXPECT_EQ(CDIB::FromFile(folder.Write("text.bmp", "not a bitmap"), 24), nullptr);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(DIBFiles, SaveReportsFailuresAndKeepsTheOldFile) {
    TempFolder folder;
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(2, 2, 24, 0));
    EXPECT_FALSE(bitmap.Save(folder.File("no/such/folder/x.bmp")));
    std::string old = folder.Write("old.bmp", "the old picture");
    EXPECT_FALSE(CDIB().Save(old));
    EXPECT_EQ(TempFolder::Read(old), "the old picture");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);

    // Both name the file, with the system's reason where there is one.
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Bitmap-Fatei konnte nicht geöffnet werden\n" +
                                            folder.File("no/such/folder/x.bmp") + "\n" +
                                            std::strerror(ENOENT));
    // An empty bitmap has no system reason.
    EXPECT_EQ(TestUi().Boxes()[1].text, "Bitmap-Fatei konnte nicht gespeichert werden\n" + old);
    EXPECT_EQ(TestUi().Boxes()[1].buttons, MsgButtons::Ok);
}

// ---- reading: the refusals of the format ----

TEST(DIBRead, RefusesWhatTheFormatDoesNotAllow) {
    struct Row {
        const char* name;
        uint32_t headerSize;
        uint16_t bitCount;
        uint32_t compression;
        const char* message;
    };
    const Row rows[] = {
        {"V4 header", 108, 24, 0, "Ungültiger Kopf in Bitmap"},
        {"V5 header", 124, 24, 0, "Ungültiger Kopf in Bitmap"},
        {"no header", 0, 24, 0, "Ungültiger Kopf in Bitmap"},
        {"2 bits", 40, 2, 0, "Ungültige Bittiefe in Bitmap"},
        {"0 bits", 40, 0, 0, "Ungültige Bittiefe in Bitmap"},
        {"64 bits", 40, 64, 0, "Ungültige Bittiefe in Bitmap"},
        {"16 bits plain", 40, 16, 0, "Ungültige Kompressionsart in Bitmap"},
        {"32 bits plain", 40, 32, 0, "Ungültige Kompressionsart in Bitmap"},
        {"16 bits core", 12, 16, 0, "Ungültige Kompressionsart in Bitmap"},
        {"RLE4", 40, 4, 2, "RLE4 wird nicht unterstützt in Bitmap"},
        {"RLE8", 40, 8, 1, "RLE8 wird nicht unterstützt in Bitmap"},
        {"4 bits RLE8", 40, 4, 1, "Ungültige Kompressionsart in Bitmap"},
        {"8 bits RLE4", 40, 8, 2, "Ungültige Kompressionsart in Bitmap"},
        {"1 bit bit fields", 40, 1, 3, "Ungültige Kompressionsart in Bitmap"},
        {"24 bits bit fields", 40, 24, 3, "Ungültige Kompressionsart in Bitmap"},
        {"JPEG", 40, 24, 4, "Ungültige Kompressionsart in Bitmap"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestUi().Reset();
        BmpBuilder file;
        file.headerSize = row.headerSize;
        file.bitCount = row.bitCount;
        file.compression = row.compression;
        file.pixels.assign(8, 0);
        CDIB bitmap;
        EXPECT_FALSE(Read(bitmap, file.Bytes(), 0));
        EXPECT_TRUE(bitmap.IsEmpty());
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, row.message);
        EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::Ok);
    }
}

TEST(DIBRead, AnythingButBMIsNoBitmapAndNoMessage) {
    CDIB bitmap;
    BmpBuilder file;
    file.pixels.assign(4, 0);
    std::string bytes = file.Bytes();
    bytes[0] = 'M';
    bytes[1] = 'B';
    EXPECT_FALSE(Read(bitmap, bytes, 0));
    EXPECT_FALSE(Read(bitmap, "", 0));
    EXPECT_FALSE(Read(bitmap, "B", 0));
    EXPECT_FALSE(bitmap.ReadBmp(nullptr, 0, 0));
    EXPECT_TRUE(TestUi().Boxes().empty());
}

// ---- reading: what other writers and older programs produce ----

TEST(DIBRead, TopDownRowsLandInTheirPlace) {
    BmpBuilder file;
    file.width = 2;
    file.height = -2;
    // The first row in the file is the top row.
    file.pixels = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    CDIB bitmap;
    ASSERT_TRUE(Read(bitmap, file.Bytes(), 24));
    EXPECT_EQ(bitmap.GetHeight(), 2);
    EXPECT_EQ(bitmap.GetPixel(0, 1), Quad(255, 0, 0));
    EXPECT_EQ(bitmap.GetPixel(1, 1), Quad(0, 255, 0));
    EXPECT_EQ(bitmap.GetPixel(0, 0), Quad(0, 0, 255));
    EXPECT_EQ(bitmap.GetPixel(1, 0), Quad(255, 255, 255));
}

TEST(DIBRead, BitFieldMasksAreHonoured) {
    // 5-5-5: a 5-6-5 reading would see other colours.
    BmpBuilder rgb555;
    rgb555.width = 4;
    rgb555.bitCount = 16;
    rgb555.compression = 3;
    rgb555.masks = {0x7C00, 0x03E0, 0x001F};
    rgb555.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x21, 0x04};
    CDIB bitmap;
    ASSERT_TRUE(Read(bitmap, rgb555.Bytes(), 32));
    EXPECT_EQ(bitmap.GetPixel(0, 0), Quad(0xF8, 0, 0));
    EXPECT_EQ(bitmap.GetPixel(1, 0), Quad(0, 0xF8, 0));
    EXPECT_EQ(bitmap.GetPixel(2, 0), Quad(0, 0, 0xF8));
    EXPECT_EQ(bitmap.GetPixel(3, 0), Quad(8, 8, 8));

    // 5-6-5 gives the top bits of each channel.
    BmpBuilder rgb565 = rgb555;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
    CDIB bits565;
    ASSERT_TRUE(Read(bits565, rgb565.Bytes(), 32));
    EXPECT_EQ(bits565.GetPixel(0, 0), Quad(0xF8, 0, 0));
    EXPECT_EQ(bits565.GetPixel(1, 0), Quad(0, 0xFC, 0));
    EXPECT_EQ(bits565.GetPixel(3, 0), Quad(0xF8, 0xFC, 0xF8));
    // Read at its own depth, the words come back unchanged.
    CDIB same;
    ASSERT_TRUE(Read(same, rgb565.Bytes(), 0));
    EXPECT_EQ(same.GetBitCount(), 16);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(same.GetBits()), 8),
              std::string(rgb565.pixels.begin(), rgb565.pixels.end()));

    // 32 bits with red in the low byte.
    BmpBuilder swapped;
    swapped.bitCount = 32;
    swapped.compression = 3;
    swapped.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    swapped.pixels = {0x11, 0x22, 0x33, 0x44};
    CDIB bits32;
    ASSERT_TRUE(Read(bits32, swapped.Bytes(), 0));
    EXPECT_EQ(bits32.GetPixel(0, 0), Quad(0x11, 0x22, 0x33));
    // 10 bits a channel keep their top 8.
    swapped.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    swapped.pixels = {0xFF, 0x03, 0x00, 0x3F}; // blue all ones, red 0x3F0
    CDIB wide;
    ASSERT_TRUE(Read(wide, swapped.Bytes(), 0));
    EXPECT_EQ(wide.GetPixel(0, 0), Quad(0xFC, 0, 0xFF));
    // No masks at all: the usual layout.
    swapped.masks = {0, 0, 0};
    swapped.pixels = {0x11, 0x22, 0x33, 0x44};
    CDIB plain;
    ASSERT_TRUE(Read(plain, swapped.Bytes(), 0));
    EXPECT_EQ(plain.GetPixel(0, 0), Quad(0x33, 0x22, 0x11));
}

TEST(DIBRead, TheOldCoreHeaderIsRead) {
    BmpBuilder indexed;
    indexed.headerSize = 12;
    indexed.width = 3;
    indexed.bitCount = 8;
    indexed.table.resize(256);
    indexed.table[1] = 0x102030;
    indexed.table[255] = 0xFFEEDD;
    indexed.pixels = {1, 255, 0, 0};
    CDIB bitmap;
    ASSERT_TRUE(Read(bitmap, indexed.Bytes(), 0));
    EXPECT_EQ(bitmap.GetBitCount(), 8);
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0x102030u);
    EXPECT_EQ(bitmap.GetPixel(1, 0), 0xFFEEDDu);
    EXPECT_EQ(bitmap.GetColorTable()[1].reserved, 0);

    BmpBuilder rgb;
    rgb.headerSize = 12;
    rgb.width = 1;
    rgb.height = 2;
    rgb.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    CDIB rgbBitmap;
    ASSERT_TRUE(Read(rgbBitmap, rgb.Bytes(), 0));
    EXPECT_EQ(rgbBitmap.GetBitCount(), 32);
    EXPECT_EQ(rgbBitmap.GetPixel(0, 1), Quad(6, 5, 4));
}

TEST(DIBRead, ABitmapThatHoldsPixelsKeepsItsSizeAndDepth) {
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(3, 3, 32, 0x010101));
    BmpBuilder file;
    file.width = 4;
    file.height = 1;
    file.bitCount = 8;
    file.table = {0x000000, 0xAABBCC};
    file.clrUsed = 2;
    file.pixels = {1, 0, 1, 1};
    ASSERT_TRUE(Read(bitmap, file.Bytes(), 8));
    EXPECT_EQ(bitmap.GetBitCount(), 32);
    EXPECT_EQ(bitmap.GetWidth(), 3);
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0xAABBCCu);
    EXPECT_EQ(bitmap.GetPixel(1, 0), 0u);
    EXPECT_EQ(bitmap.GetPixel(2, 0), 0xAABBCCu);
    EXPECT_EQ(bitmap.GetPixel(2, 2), 0x010101u);
}

// ---- reading: damaged and hostile files ----

namespace {

BmpBuilder Valid8Bit() {
    BmpBuilder file;
    file.width = 5;
    file.height = 2;
    file.bitCount = 8;
    file.table = {0x000000, 0xFF0000, 0x00FF00};
    file.clrUsed = 3;
    file.pixels = {0, 1, 2, 1, 0, 0, 0, 0, 2, 2, 2, 2, 2, 0, 0, 0};
    return file;
}

void ExpectRefused(const std::string& bytes, const char* message) {
    TestUi().Reset();
    CDIB bitmap;
    EXPECT_FALSE(Read(bitmap, bytes, 0));
    EXPECT_TRUE(bitmap.IsEmpty());
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, message);
}

} // namespace

TEST(DIBReadDamaged, ImpossibleSizesAreRefused) {
    const char* bad = "Ungültiger Kopf in Bitmap";
    const int32_t widths[] = {0, -5, CDIB::kMaxSide + 1, INT32_MIN};
    for (int32_t width : widths) {
        SCOPED_TRACE(width);
        BmpBuilder file = Valid8Bit();
        file.width = width;
        ExpectRefused(file.Bytes(), bad);
    }
    const int32_t heights[] = {0, CDIB::kMaxSide + 1, -CDIB::kMaxSide - 1, INT32_MIN};
    for (int32_t height : heights) {
        SCOPED_TRACE(height);
        BmpBuilder file = Valid8Bit();
        file.height = height;
        ExpectRefused(file.Bytes(), bad);
    }
    // Each side allowed, the whole too large.
    BmpBuilder huge = Valid8Bit();
    huge.bitCount = 24;
    huge.table.clear();
    huge.clrUsed = 0;
    huge.width = CDIB::kMaxSide;
    huge.height = -CDIB::kMaxSide;
    ExpectRefused(huge.Bytes(), bad);
    BmpBuilder core = Valid8Bit();
    core.headerSize = 12;
    core.width = 0;
    core.table.resize(256);
    ExpectRefused(core.Bytes(), bad);
}

TEST(DIBReadDamaged, OffsetsOutsideTheFileAreRefused) {
    BmpBuilder inside = Valid8Bit();
    inside.pixelOffset = 20;
    ExpectRefused(inside.Bytes(), "Ungültiger Kopf in Bitmap");
    for (int64_t offset : {int64_t{200}, int64_t{0x7FFFFFFF}, int64_t{0xFFFFFFFF}}) {
        SCOPED_TRACE(offset);
        std::string bytes = Valid8Bit().Bytes();
        bytes.replace(10, 4, U32(static_cast<uint32_t>(offset)));
        ExpectRefused(bytes, "Unvollständige Daten in Bitmap");
    }
}

TEST(DIBReadDamaged, TruncatedFilesAreRefusedAndLeaveTheBitmapAlone) {
    const std::string whole = Valid8Bit().Bytes();
    for (size_t length = 2; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        TestUi().Reset();
        CDIB bitmap;
        ASSERT_TRUE(bitmap.Create(2, 2, 24, 0x445566));
        EXPECT_FALSE(Read(bitmap, whole.substr(0, length), 0));
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text, "Unvollständige Daten in Bitmap");
        EXPECT_EQ(bitmap.GetPixel(1, 1), 0x445566u);
    }
}

TEST(DIBReadDamaged, ColourCountsAreHeldToTheDepth) {
    // More colours than 4 bits can index: only 16 are taken.
    BmpBuilder bits4;
    bits4.width = 2;
    bits4.bitCount = 4;
    bits4.clrUsed = 300;
    bits4.table.resize(16, 0x0A0B0C);
    bits4.table[15] = 0x123456;
    bits4.pixels = {0xF0, 0, 0, 0};
    CDIB bitmap;
    ASSERT_TRUE(Read(bitmap, bits4.Bytes(), 0));
    EXPECT_EQ(bitmap.GetColorCount(), 16);
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0x123456u);

    BmpBuilder bits8 = Valid8Bit();
    bits8.clrUsed = 0xFFFFFFFF;
    bits8.table.resize(256);
    CDIB full;
    ASSERT_TRUE(Read(full, bits8.Bytes(), 0));
    EXPECT_EQ(full.GetColorCount(), 256);

    // Indexes beyond the table in use read as black, never as stray memory.
    BmpBuilder shortTable = Valid8Bit();
    shortTable.pixels[0] = 200;
    CDIB rgb;
    ASSERT_TRUE(Read(rgb, shortTable.Bytes(), 32));
    EXPECT_EQ(rgb.GetPixel(0, 0), 0u);
    EXPECT_EQ(rgb.GetPixel(1, 0), 0xFF0000u);
    CDIB indexed;
    ASSERT_TRUE(Read(indexed, shortTable.Bytes(), 0));
    EXPECT_EQ(indexed.GetColorCount(), 3);
    EXPECT_EQ(indexed.GetPixel(0, 0), 0u);

    // A table that runs past the end of the file is a truncated file.
    BmpBuilder cut = Valid8Bit();
    cut.clrUsed = 200;
    ExpectRefused(cut.Bytes(), "Unvollständige Daten in Bitmap");
}

TEST(DIBReadDamaged, CorruptedHeadersNeverCrash) {
    std::vector<std::string> files;
    files.push_back(Valid8Bit().Bytes());
    for (int depth : {1, 4, 16, 32}) {
        CDIB bitmap;
        ASSERT_TRUE(bitmap.Create(5, 3, depth, 0));
        Paint(bitmap);
        files.push_back(Written(bitmap));
    }
    BmpBuilder bitFields;
    bitFields.width = 3;
    bitFields.bitCount = 16;
    bitFields.compression = 3;
    bitFields.masks = {0x7C00, 0x03E0, 0x001F};
    bitFields.pixels.assign(8, 0x5A);
    files.push_back(bitFields.Bytes());
    BmpBuilder core = Valid8Bit();
    core.headerSize = 12;
    core.table.resize(256, 0x808080);
    files.push_back(core.Bytes());

    unsigned seed = 12345;
    for (const std::string& original : files) {
        size_t header = std::min<size_t>(original.size(), 70);
        for (size_t position = 0; position < header; ++position) {
            for (int value : {0x00, 0xFF, 0x80, 0x7F, 0x01}) {
                std::string bytes = original;
                bytes[position] = static_cast<char>(value);
                // And a second byte at random, to reach combinations of fields.
                seed = seed * 1103515245 + 12345;
                bytes[(seed >> 8) % header] = static_cast<char>(seed >> 20);
                TestUi().Reset();
                CDIB bitmap;
                if (Read(bitmap, bytes, 0)) {
                    EXPECT_GE(bitmap.GetWidth(), 1);
                    EXPECT_GE(bitmap.GetHeight(), 1);
                    EXPECT_TRUE(TestUi().Boxes().empty());
                } else {
                    EXPECT_LE(TestUi().Boxes().size(), 1u);
                    EXPECT_TRUE(bitmap.IsEmpty());
                }
            }
        }
    }
}

TEST(DIBReadDamaged, ATruncatedFileOnDiskIsRefused) {
    TempFolder folder;
    CDIB bitmap;
    ASSERT_TRUE(bitmap.Create(40, 30, 24, 0x00FF00));
    ASSERT_TRUE(bitmap.Save(folder.File("whole.bmp")));
    std::string bytes = TempFolder::Read(folder.File("whole.bmp"));
    std::string cut = folder.Write("cut.bmp", bytes.substr(0, bytes.size() - 1));
    CDIB loaded;
    EXPECT_FALSE(loaded.Load(cut, 0));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Unvollständige Daten in Bitmap\n" + cut); // named
}
