// Materials: the fourteen defaults, derived GL colours, equality at the written precision, the
// "material" record of every version read, names between German and neutral, and textures
// loaded once, beside the design file when an old file names them by a Windows path.
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Mtrl.h"
#include "support/DIB.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/LangText.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

std::string Written(const CMtrl& material, int slot) {
    std::vector<char> buffer(4096);
    CFileWrite writer;
    writer.OpenBuffer(buffer.data(), static_cast<uint32_t>(buffer.size()), "material", 0, 0);
    material.Write(writer, slot);
    EXPECT_FALSE(writer.HasError());
    writer.Close();
    return buffer.data();
}

// Reads one record from text; the reader stops at the first error without a box.
std::unique_ptr<CMtrl> ReadQuietly(const std::string& text, uint32_t* errors = nullptr,
                                   const std::string& sourceName = "clipboard") {
    CFileRead reader;
    EXPECT_TRUE(reader.OpenString(text.c_str(), sourceName, '\0', ReadErrors::Quiet, 0));
    std::unique_ptr<CMtrl> material = CMtrl::Read(reader);
    if (errors != nullptr) {
        *errors = reader.GetErrors();
    } else {
        EXPECT_EQ(reader.GetErrors(), 0u) << reader.GetLastReport();
    }
    return material;
}

std::string RoundTrip(const std::string& record, int slot) {
    std::unique_ptr<CMtrl> material = ReadQuietly(record);
    return material != nullptr ? Written(*material, slot) : std::string("(none)");
}

CMtrl Sample() {
    return CMtrl(20, "Holz", MtrlUse::Plastic, 0.6f, 0.4f, 0.2f, {0.5f, 0.9f, 0.1f, 3.0f},
                 {0.25f, 0.125f, 0.0f, 7.5f});
}

constexpr const char* kRedRecord =
    "material3{2,\"red\", 1, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n";

} // namespace

TEST(MtrlDefaults, FourteenMaterialsWithGermanNames) {
    const char* names[] = {"schwarz", "rot",  "grün",    "blau", "gelb",    "rot",  "grün",
                           "blau",    "gelb", "Spiegel", "Alu",  "schwarz", "weiß", "weiß"};
    const int masks[] = {141, 141, 141, 141, 141, 370, 370, 370, 370, 370, 141, 370, 141, 370};
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        SCOPED_TRACE(slot);
        std::unique_ptr<CMtrl> material = CMtrl::CreateDefault(slot);
        ASSERT_NE(material, nullptr);
        EXPECT_EQ(material->GetSlot(), slot);
        EXPECT_EQ(material->GetName(), names[slot - 1]);
        EXPECT_EQ(material->GetUsability(), masks[slot - 1]);
        EXPECT_TRUE(material->GetTextureFile().empty());
    }
    EXPECT_EQ(CMtrl::CreateDefault(0), nullptr);
    EXPECT_EQ(CMtrl::CreateDefault(15), nullptr);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(MtrlDefaults, RecordsOfTheDefaultTable) {
    const char* records[] = {
        "material3{1,\"black\", 1, 1.,1.,1., 0.,0.,1.,7.5, 0.,0.,0.,7.5, \"\", 0}\n",
        kRedRecord,
        "material3{3,\"green\", 1, 0.,0.5,0.1, 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n",
        "material3{4,\"blue\", 1, 0.,0.,1., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n",
        "material3{5,\"yellow\", 1, 1.,1.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n",
        "material3{6,\"red\", 2, 1.,0.,0., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\n",
        "material3{7,\"green\", 2, 0.,0.5,0.1, 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\n",
        "material3{8,\"blue\", 2, 0.,0.,1., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\n",
        "material3{9,\"yellow\", 2, 1.,1.,0., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\n",
        "material3{10,\"mirror\", 2, 0.8,0.8,0.8, 1.,0.,0.,7.5, 0.,0.3,0.5,7.5, \"\", 0}\n",
        "material3{11,\"alu\", 1, 0.8,0.8,0.8, 0.5,0.4,0.7,7.5, 0.3,0.,0.,7.5, \"\", 0}\n",
        "material3{12,\"black\", 2, 1.,1.,1., 0.,0.,0.5,7.5, 0.,0.,0.5,7.5, \"\", 0}\n",
        "material3{13,\"white\", 1, 1.,1.,1., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n",
        "material3{14,\"white\", 2, 1.,1.,1., 0.6,0.5,0.5,7.5, 0.6,0.5,0.5,7.5, \"\", 0}\n",
    };
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(Written(*CMtrl::CreateDefault(slot), slot), records[slot - 1]);
    }
}

TEST(MtrlColors, DerivedFromColourAndFactors) {
    const CMtrl material = Sample();
    EXPECT_FLOAT_EQ(material.GetFront().ambient[0], 0.6f * 0.5f);
    EXPECT_FLOAT_EQ(material.GetFront().diffuse[1], 0.4f * 0.9f);
    EXPECT_EQ(material.GetFront().specular, (std::array<float, 4>{0.1f, 0.1f, 0.1f, 1.0f}));
    EXPECT_EQ(material.GetFront().shininess, 3.0f);
    EXPECT_FLOAT_EQ(material.GetBack().ambient[2], 0.2f * 0.25f);
    EXPECT_EQ(material.GetBack().diffuse[3], 1.0f);
    EXPECT_EQ(material.GetBack().shininess, 7.5f);
    EXPECT_EQ(material.GetHighlight().ambient, (std::array<float, 4>{0.0f, 0.8f, 0.8f, 1.0f}));
    EXPECT_EQ(material.GetHighlight().diffuse, (std::array<float, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(material.GetHighlight().specular, (std::array<float, 4>{1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(material.GetHighlight().shininess, 7.5f);

    CMtrl changed = material;
    changed.SetColor(1.0f, 0.0f, 0.0f);
    changed.SetOutside({1.0f, 0.5f, 0.0f, 2.0f});
    EXPECT_EQ(changed.GetFront().ambient, (std::array<float, 4>{1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(changed.GetFront().diffuse, (std::array<float, 4>{0.5f, 0.0f, 0.0f, 1.0f}));
    changed.SetInside({0.0f, 1.0f, 0.0f, 1.0f});
    EXPECT_EQ(changed.GetBack().diffuse, (std::array<float, 4>{1.0f, 0.0f, 0.0f, 1.0f}));
}

TEST(MtrlEquality, ComparesWhatTheRecordCarries) {
    const CMtrl material = Sample();
    CMtrl other = material;
    other.SetSlot(33); // the slot is not compared
    EXPECT_TRUE(material == other);

    other = material;
    other.SetName("holz");
    EXPECT_FALSE(material == other);
    other = material;
    other.SetUsability(MtrlUse::All);
    EXPECT_FALSE(material == other);
    other = material;
    other.SetColor(0.6f, 0.4f, 0.21f);
    EXPECT_FALSE(material == other);
    other = material;
    other.SetInside({0.25f, 0.125f, 0.0f, 7.4f});
    EXPECT_FALSE(material == other);
    other = material;
    other.SetTextureFile("/tmp/holz.bmp");
    EXPECT_FALSE(material == other);
}

TEST(MtrlEquality, AtTheWrittenPrecision) {
    // A material that went out through the clipboard and came back in is the same material.
    CMtrl material(21, "Eigen", MtrlUse::Metal, 0.123456f, 0.5f, 1.0f / 3.0f,
                   {0.77777f, 1.0f, 0.1f, 7.5f}, {0.3f, 0.0f, 0.0f, 7.5f});
    std::unique_ptr<CMtrl> back = ReadQuietly(Written(material, 21));
    ASSERT_NE(back, nullptr);
    EXPECT_NE(back->GetRed(), material.GetRed());
    EXPECT_TRUE(*back == material);
    EXPECT_TRUE(material == *back);
    back->SetColor(0.1236f, 0.5f, 1.0f / 3.0f);
    EXPECT_FALSE(*back == material);
}

TEST(MtrlRecord, DefaultRedOfSlotTwo) {
    EXPECT_EQ(Written(*CMtrl::CreateDefault(2), 2), kRedRecord);
}

TEST(MtrlRecord, UsabilityCodes) {
    const struct {
        int mask;
        const char* code;
    } rows[] = {{141, ", 1, "}, {370, ", 2, "}, {511, ", 3, "}, {3, ", 0, "}, {0, ", 0, "}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mask);
        CMtrl material = Sample();
        material.SetUsability(row.mask);
        const std::string written = Written(material, 5);
        EXPECT_NE(written.find(row.code), std::string::npos) << written;
        std::unique_ptr<CMtrl> back = ReadQuietly(written);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetUsability(), row.code[2] == '0' ? 0 : row.mask);
    }
}

TEST(MtrlRecord, TextureNameIsQuoted) {
    CMtrl material = Sample();
    material.SetTextureFile("/home/anna/Holz \"hell\".bmp");
    const std::string written = Written(material, 20);
    EXPECT_NE(written.find(", \"/home/anna/Holz \"\"hell\"\".bmp\", 0}"), std::string::npos)
        << written;
    std::unique_ptr<CMtrl> back = ReadQuietly(written);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetTextureFile(), material.GetTextureFile());
}

TEST(MtrlNames, GermanInsideNeutralInFiles) {
    std::unique_ptr<CMtrl> red = ReadQuietly(kRedRecord);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->GetName(), "rot");
    const char* neutral[] = {"black",  "red", "green", "blue",        "yellow",
                             "mirror", "alu", "white", "new material"};
    const char* german[] = {"schwarz", "rot", "grün", "blau",          "gelb",
                            "Spiegel", "Alu", "weiß", "Neues Material"};
    for (size_t i = 0; i < std::size(neutral); ++i) {
        SCOPED_TRACE(neutral[i]);
        CMtrl material = Sample();
        material.SetName(german[i]);
        const std::string written = Written(material, 20);
        EXPECT_EQ(written.find("material3{20,\"" + std::string(neutral[i]) + "\","), 0u);
        std::unique_ptr<CMtrl> back = ReadQuietly(written);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetName(), german[i]);
    }
    // Any other name goes out and comes back as it is: a German-looking one, a neutral one
    // typed by a user, a different case.
    for (const char* name : {"Mein Holz", "red", "Rot", ""}) {
        SCOPED_TRACE(name);
        CMtrl material = Sample();
        material.SetName(name);
        std::unique_ptr<CMtrl> back = ReadQuietly(Written(material, 20));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetName(), std::string(name) == "red" ? "rot" : name);
    }
}

TEST(MtrlRecord, RoundTripOfEveryVersion) {
    // Version 3, as written: byte for byte.
    EXPECT_EQ(RoundTrip(kRedRecord, 2), kRedRecord);
    const std::string own =
        "material3{37,\"Holz, hell\", 2, 0.6,0.4,0.2, 0.5,0.9,0.1,3., 0.25,0.125,0.,7.5, "
        "\"/srv/tex/holz.bmp\", 0}\n";
    EXPECT_EQ(RoundTrip(own, 37), own);
    // The writer always writes version 3, with the usability as its code.
    EXPECT_EQ(
        RoundTrip("material2{2,\"red\", 5, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}", 2),
        kRedRecord);
    EXPECT_EQ(RoundTrip("material1{2,\"red\", 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}", 2),
              "material3{2,\"red\", 3, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n");
    EXPECT_EQ(RoundTrip("material1{25,\"x\", 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}", 25),
              "material3{25,\"x\", 3, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}\n");
}

TEST(MtrlRecord, UsabilityOfOlderVersions) {
    const struct {
        const char* head;
        int mask;
    } rows[] = {
        {"material2{20,\"x\", 31, ", 511}, {"material2{20,\"x\", 4, ", 141},
        {"material2{20,\"x\", 2, ", 370},  {"material2{20,\"x\", 0, ", 0},
        {"material2{20,\"x\", 32, ", 0},   {"material3{20,\"x\", 7, ", 511},
        {"material3{20,\"x\", 2, ", 370},  {"material4{20,\"x\", 1, ", 141},
        {"material1{5,\"x\", ", 511},      {"material0{25,\"x\", ", 511},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.head);
        std::unique_ptr<CMtrl> material =
            ReadQuietly(std::string(row.head) + "1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}");
        ASSERT_NE(material, nullptr);
        EXPECT_EQ(material->GetUsability(), row.mask);
    }
}

TEST(MtrlRecord, TrailingNumbersAndWhiteSpace) {
    const std::string head = "material3{2,\"red\", 1, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\"";
    for (const char* tail : {", 0}", ", 0, 5}", ",0,5}", " , 0 , 5 }", ",\n 0 }\r\n"}) {
        SCOPED_TRACE(tail);
        EXPECT_EQ(RoundTrip(head + tail, 2), kRedRecord);
    }
    EXPECT_EQ(RoundTrip("  \n material3 {2 , \"red\" ,1,1. ,0.,0.,0.5,1.,1.,7.5,0.3,0.,0.,7.5,"
                        "\"\",0}",
                        2),
              kRedRecord);
}

TEST(MtrlRecord, OtherRecordsAreNotConsumed) {
    const std::string text = "  camera2{320}";
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text.c_str(), "design", '\0', ReadErrors::Quiet, 0));
    EXPECT_EQ(CMtrl::Read(reader), nullptr);
    EXPECT_EQ(reader.GetErrors(), 0u);
    EXPECT_TRUE(reader.TestKeyword("camera2{", 20));
}

TEST(MtrlRecord, NegativeSlotsAreErrorsAndSlotsAboveTheTableAreLeftToTheCaller) {
    const std::string tail = ",\"x\", 1, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, \"\", 0}";
    for (const char* slot : {"0", "99", "100", "2147483647"}) {
        SCOPED_TRACE(slot);
        std::unique_ptr<CMtrl> material = ReadQuietly(std::string("material3{") + slot + tail);
        ASSERT_NE(material, nullptr);
        EXPECT_EQ(material->GetSlot(), std::stoi(slot));
        EXPECT_EQ(material->IsInTable(), std::stoi(slot) < 100);
    }
    for (const char* slot : {"-1", "-2147483648"}) {
        SCOPED_TRACE(slot);
        uint32_t errors = 0;
        EXPECT_EQ(ReadQuietly(std::string("material3{") + slot + tail, &errors), nullptr);
        EXPECT_EQ(errors, ReadErrors::Range);
    }
}

TEST(MtrlRecord, DamagedRecordsAreReportedOnceAndAbortTheRead) {
    const std::string text = "material3{2,\"red\", 1, 1.,0,,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, "
                             "\"\", 0}";
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text.c_str(), "design", '\0', ReadErrors::AbortOnFirst, 0));
    EXPECT_THROW(CMtrl::Read(reader), ReadAbort);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].caption, "Error");

    uint32_t errors = 0;
    EXPECT_EQ(ReadQuietly("material3{2,\"red\", 1, 1.,0.,0., 0.5,1.,1.,7.5}", &errors), nullptr);
    EXPECT_NE(errors, 0u);
    EXPECT_EQ(ReadQuietly("material3{2,\"red\", 1, 1.,0.,0., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, "
                          "\"\", 0",
                          &errors),
              nullptr);
    EXPECT_NE(errors, 0u);
    EXPECT_EQ(ReadQuietly("material3{2,\"red\", 1, 1.,0.,0., 1e9,1.,1.,7.5, 0.3,0.,0.,7.5, "
                          "\"\", 0}",
                          &errors),
              nullptr);
    EXPECT_NE(errors, 0u);
}

namespace {

// A 24-bit BMP file of one colour (0x00BBGGRR as the bitmap's fill takes it, blue low).
void WriteBmp(const std::string& path, uint32_t fill) {
    CDIB bitmap;
    CDIB::SetDefaultStorage(CDIB::Storage::Memory);
    ASSERT_TRUE(bitmap.Create(3, 2, 24, fill));
    ASSERT_TRUE(bitmap.Save(path));
}

} // namespace

TEST(MtrlTexture, LoadedOnFirstUseAndKeptByTheMaterialOnly) {
    TempFolder folder;
    WriteBmp(folder.File("holz.bmp"), 0x0000FF);
    CMtrl material = Sample();
    EXPECT_EQ(material.GetTexture(), nullptr); // no texture file
    material.SetTextureFile(folder.File("holz.bmp"));
    const CDIB* texture = material.GetTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetBitCount(), 24);
    EXPECT_EQ(texture->GetWidth(), 3);
    EXPECT_EQ(material.GetTexture(), texture);
    material.SetTextureFile(folder.File("holz.bmp")); // the same name keeps the bitmap
    EXPECT_EQ(material.GetTexture(), texture);

    CMtrl copy = material;
    EXPECT_EQ(copy.GetTextureFile(), material.GetTextureFile());
    const CDIB* copied = copy.GetTexture();
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, texture);
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(MtrlTexture, MissingFileIsReportedOnceUntilTheNameChanges) {
    TempFolder folder;
    CMtrl material = Sample();
    material.SetTextureFile(folder.File("fehlt.bmp"));
    for (int draw = 0; draw < 5; ++draw) {
        EXPECT_EQ(material.GetTexture(), nullptr);
    }
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("fehlt.bmp"), std::string::npos);

    // Once the file is there, the same name is still not tried again: the user changes it.
    WriteBmp(folder.File("fehlt.bmp"), 0x00FF00);
    EXPECT_EQ(material.GetTexture(), nullptr);
    material.SetTextureFile(folder.File("da.bmp"));
    WriteBmp(folder.File("da.bmp"), 0x00FF00);
    EXPECT_NE(material.GetTexture(), nullptr);
    // Dropping the bitmap (a new file chosen under the same name) loads it again.
    material.DropTexture();
    EXPECT_NE(material.GetTexture(), nullptr);
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
}

TEST(MtrlTexture, RefusedFileShowsTheBitmapReadersBoxOnce) {
    TempFolder folder;
    // A BMP file header followed by an info header of an unknown size.
    std::string bytes = "BM";
    bytes += std::string(12, '\0');
    bytes += std::string("\x07\x00\x00\x00", 4);
    bytes += std::string(40, '\0');
    const std::string path = folder.Write("kaputt.bmp", bytes);
    CMtrl material = Sample();
    material.SetTextureFile(path);
    EXPECT_EQ(material.GetTexture(), nullptr);
    EXPECT_EQ(material.GetTexture(), nullptr);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Ungültiger Kopf in Bitmap\n" + path);
}

// What the user may have named as a texture: each box names the file and why it holds no
// bitmap, the system's reason or the program's.
TEST(MtrlTexture, AFileWithoutABitmapIsReportedWithItsReason) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("ordner.bmp"));
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {folder.File("fehlt.bmp"), std::strerror(ENOENT)},
        {folder.File("ordner.bmp"), std::strerror(EISDIR)},
        {"/dev/zero", LoadLangText(4390)},
        {folder.Write("leer.bmp", ""), LoadLangText(4388)},
        {folder.Write("bild.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
         LoadLangText(4389)},
        {folder.Write("kurz.bmp", "B"), LoadLangText(4389)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TestUi().Reset();
        CMtrl material = Sample();
        material.SetTextureFile(c.path);
        EXPECT_EQ(material.GetTexture(), nullptr);
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_EQ(TestUi().Boxes()[0].text,
                  "Bitmap-Fatei konnte nicht geöffnet werden\n" + c.path + "\n" + c.reason);
        EXPECT_FALSE(c.reason.empty());
    }
}

TEST(MtrlTexture, WindowsPathIsFoundBesideTheDesign) {
    TempFolder folder;
    WriteBmp(folder.File("Holz.bmp"), 0x0000FF);
    const std::string design = folder.Write(
        "design.zdf", "material3{20,\"Holz\", 2, 1.,1.,1., 0.5,1.,1.,7.5, 0.3,0.,0.,7.5, "
                      "\"C:\\Programme\\Zarnel\\Texturen\\Holz.bmp\", 0}\r\n");
    CFileRead reader;
    ASSERT_TRUE(reader.Open(design, ReadErrors::AbortOnFirst, ReadOptions::DropCr));
    std::unique_ptr<CMtrl> material = CMtrl::Read(reader);
    ASSERT_NE(material, nullptr);
    // The name stays as the file has it, so that writing gives the record back unchanged.
    EXPECT_EQ(material->GetTextureFile(), "C:\\Programme\\Zarnel\\Texturen\\Holz.bmp");
    EXPECT_EQ(material->GetTextureFolder(), folder.Path());
    EXPECT_EQ(material->ResolveTexturePath(), folder.File("Holz.bmp"));
    EXPECT_NE(material->GetTexture(), nullptr);
    EXPECT_TRUE(TestUi().Boxes().empty());

    // Only Windows paths are looked for by their file name.
    CMtrl other = *material;
    other.SetTextureFile("/anderswo/Holz.bmp");
    EXPECT_EQ(other.ResolveTexturePath(), "");
    other.SetTextureFile("D:Holz.bmp");
    EXPECT_EQ(other.ResolveTexturePath(), folder.File("Holz.bmp"));
    other.SetTextureFile("C:\\Texturen\\Fehlt.bmp");
    EXPECT_EQ(other.ResolveTexturePath(), "");
    other.SetTextureFolder("");
    other.SetTextureFile("C:\\Texturen\\Holz.bmp");
    EXPECT_EQ(other.ResolveTexturePath(), "");
}
