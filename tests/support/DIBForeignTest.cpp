// Files of another writer: ImageMagick's BMP3 output (40-byte header) at 1, 4, 8 and 24 bits is
// read pixel for pixel. The committed files are checked always; where ImageMagick is installed,
// the same pictures are made afresh and checked too.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "support/DIB.h"
#include "support/File.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

struct Color {
    int red;
    int green;
    int blue;
};

struct Picture {
    const char* name;
    int width;
    int height;
    const char* options;                  // for convert, besides the output format
    int bitCount;                         // what ImageMagick writes for it
    std::function<Color(int, int)> color; // x from the left, y from the top
};

const Picture kPictures[] = {
    {"rgb24", 7, 6, "-compress None", 24,
     [](int x, int y) {
         return Color{x * 31 % 256, y * 47 % 256, (x * y * 13 + 5) % 256};
     }},
    {"palette8", 8, 6, "-type Palette -compress None", 8,
     [](int x, int y) {
         return Color{x * 31 % 256, y * 47 % 256, (x * y * 13 + 5) % 256};
     }},
    {"palette4", 5, 3, "-type Palette -compress None", 4,
     [](int x, int y) {
         return Color{x * 60, y * 100, 50};
     }},
    {"bilevel1", 9, 5, "-type Bilevel -compress None", 1,
     [](int x, int y) {
         int v = (x * 3 + y * 5) % 7 < 3 ? 255 : 0;
         return Color{v, v, v};
     }},
};

void ExpectPicture(const Picture& picture, const std::string& path) {
    std::string bytes = TempFolder::Read(path);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[14]), 40); // the 40-byte info header
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), picture.bitCount);

    CDIB bitmap;
    ASSERT_TRUE(bitmap.Load(path, 0));
    EXPECT_EQ(bitmap.GetBitCount(), picture.bitCount == 24 ? 32 : picture.bitCount);
    ASSERT_EQ(bitmap.GetWidth(), picture.width);
    ASSERT_EQ(bitmap.GetHeight(), picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            Color c = picture.color(x, y);
            uint32_t expected = static_cast<uint32_t>(c.blue | (c.green << 8) | (c.red << 16));
            // Row 0 of the bitmap is the bottom row of the picture.
            ASSERT_EQ(bitmap.GetPixel(x, picture.height - 1 - y), expected)
                << "at " << x << ", " << y;
        }
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

// The committed files, beside this source file (named by the build: a compiler cache may make
// __FILE__ relative to the build folder).
std::string DataFile(const std::string& name) {
    return (std::filesystem::path(ZARNEL_BMP_DATA_DIR) / name).string();
}

bool HaveConvert() {
    return std::system("convert -version >/dev/null 2>&1") == 0;
}

} // namespace

TEST(DIBForeign, CommittedImageMagickFilesAreReadPixelForPixel) {
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        TestUi().Reset();
        ExpectPicture(picture, DataFile(std::string("magick-") + picture.name + ".bmp"));
    }
}

TEST(DIBForeign, FreshImageMagickFilesAreReadPixelForPixel) {
    if (!HaveConvert()) {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    TempFolder folder;
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        std::string source = folder.File(std::string(picture.name) + ".ppm");
        {
            std::ofstream out(source);
            out << "P3\n" << picture.width << " " << picture.height << "\n255\n";
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) {
                    Color c = picture.color(x, y);
                    out << c.red << " " << c.green << " " << c.blue << "\n";
                }
            }
        }
        std::string target = folder.File(std::string(picture.name) + ".bmp");
        std::string command = "convert '" + source + "' " + picture.options + " 'BMP3:" + target +
                              "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        TestUi().Reset();
        ExpectPicture(picture, target);
    }
}

TEST(DIBForeign, OurFilesMatchTheCommittedOnesInPixels) {
    // What this program writes from a foreign picture reads back the same.
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        CDIB foreign;
        ASSERT_TRUE(foreign.Load(DataFile(std::string("magick-") + picture.name + ".bmp"), 0));
        TempFolder folder;
        ASSERT_TRUE(foreign.Save(folder.File("again.bmp")));
        CDIB again;
        ASSERT_TRUE(again.Load(folder.File("again.bmp"), 0));
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                ASSERT_EQ(again.GetPixel(x, y), foreign.GetPixel(x, y));
            }
        }
    }
}
