// Materials: defaults, derived GL colours, equality at the written precision, texture loading
// and the "material" record.
#include "model/Mtrl.h"

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "model/Elmnt.h"
#include "support/DIB.h"
#include "support/File.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/Resources.h"
#include "support/TextTrns.h"
#include "support/UserInterface.h"

namespace {

// String ids of the colour and material names, German and neutral.
constexpr uint32_t kFirstNameId = 4160;
constexpr uint32_t kLastNameId = 4168;

// The bitmap reader's text for a file that cannot be opened, shown with the texture's name and
// the reason: the system's, or one of these for a file that opens but holds no bitmap.
constexpr const char* kTextureCannotOpen = "Bitmap-Fatei konnte nicht geöffnet werden";
constexpr uint32_t kTextureEmpty = 4388;
constexpr uint32_t kTextureNoBitmap = 4389;
constexpr uint32_t kTextureNoFile = 4390;

// Decimals of the record's floats (at most, trailing zeros dropped).
constexpr int kRecordDecimals = -4;

// The float as the record writes it.
std::string RecordText(float value) {
    char buffer[64] = {};
    CFileWrite writer;
    writer.OpenBuffer(buffer, sizeof buffer, "", 0, 0);
    writer.PutDouble(value, kRecordDecimals);
    writer.Close();
    return buffer;
}

bool EqualAsWritten(float a, float b) {
    return a == b || RecordText(a) == RecordText(b);
}

bool EqualAsWritten(const SLightFactors& a, const SLightFactors& b) {
    return EqualAsWritten(a.ambient, b.ambient) && EqualAsWritten(a.diffuse, b.diffuse) &&
           EqualAsWritten(a.specular, b.specular) && EqualAsWritten(a.shininess, b.shininess);
}

// The record's usability code of a mask, and the mask of a code.
int UsabilityCode(int mask) {
    switch (mask) {
    case MtrlUse::Metal:
        return 1;
    case MtrlUse::Plastic:
        return 2;
    case MtrlUse::All:
        return 3;
    default:
        return 0;
    }
}

SGlMaterial FaceOf(const std::array<float, 3>& color, const SLightFactors& factors) {
    SGlMaterial face;
    face.ambient = {color[0] * factors.ambient, color[1] * factors.ambient,
                    color[2] * factors.ambient, 1.0f};
    face.diffuse = {color[0] * factors.diffuse, color[1] * factors.diffuse,
                    color[2] * factors.diffuse, 1.0f};
    // Specular light is grey, not tinted by the colour.
    face.specular = {factors.specular, factors.specular, factors.specular, 1.0f};
    face.shininess = factors.shininess;
    return face;
}

// The selection highlight: turquoise ambient light on both faces, whatever the material.
SGlMaterial Highlight() {
    SGlMaterial face;
    face.ambient = {0.0f, 0.8f, 0.8f, 1.0f};
    face.diffuse = {0.0f, 0.0f, 0.0f, 1.0f};
    face.specular = {1.0f, 1.0f, 1.0f, 1.0f};
    face.shininess = 7.5f;
    return face;
}

struct SDefaultMtrl {
    uint32_t nameId;
    int usability;
    float red, green, blue;
    SLightFactors outside;
    SLightFactors inside;
};

// Slots 1 to 14 of a new document.
constexpr SLightFactors kMetalOutside{0.5f, 1.0f, 1.0f, 7.5f};
constexpr SLightFactors kMetalInside{0.3f, 0.0f, 0.0f, 7.5f};
constexpr SLightFactors kPlasticFaces{0.6f, 0.5f, 0.5f, 7.5f};
constexpr SDefaultMtrl kDefaults[kDefaultMtrlCount] = {
    {4160, MtrlUse::Metal, 1.0f, 1.0f, 1.0f, {0.0f, 0.0f, 1.0f, 7.5f}, {0.0f, 0.0f, 0.0f, 7.5f}},
    {4161, MtrlUse::Metal, 1.0f, 0.0f, 0.0f, kMetalOutside, kMetalInside},
    {4162, MtrlUse::Metal, 0.0f, 0.5f, 0.1f, kMetalOutside, kMetalInside},
    {4163, MtrlUse::Metal, 0.0f, 0.0f, 1.0f, kMetalOutside, kMetalInside},
    {4164, MtrlUse::Metal, 1.0f, 1.0f, 0.0f, kMetalOutside, kMetalInside},
    {4161, MtrlUse::Plastic, 1.0f, 0.0f, 0.0f, kPlasticFaces, kPlasticFaces},
    {4162, MtrlUse::Plastic, 0.0f, 0.5f, 0.1f, kPlasticFaces, kPlasticFaces},
    {4163, MtrlUse::Plastic, 0.0f, 0.0f, 1.0f, kPlasticFaces, kPlasticFaces},
    {4164, MtrlUse::Plastic, 1.0f, 1.0f, 0.0f, kPlasticFaces, kPlasticFaces},
    {4165, MtrlUse::Plastic, 0.8f, 0.8f, 0.8f, {1.0f, 0.0f, 0.0f, 7.5f}, {0.0f, 0.3f, 0.5f, 7.5f}},
    {4166, MtrlUse::Metal, 0.8f, 0.8f, 0.8f, {0.5f, 0.4f, 0.7f, 7.5f}, kMetalInside},
    {4160, MtrlUse::Plastic, 1.0f, 1.0f, 1.0f, {0.0f, 0.0f, 0.5f, 7.5f}, {0.0f, 0.0f, 0.5f, 7.5f}},
    {4167, MtrlUse::Metal, 1.0f, 1.0f, 1.0f, kMetalOutside, kMetalInside},
    {4167, MtrlUse::Plastic, 1.0f, 1.0f, 1.0f, kPlasticFaces, kPlasticFaces},
};

} // namespace

CMtrl::CMtrl() {
    CalcGlColors();
}

CMtrl::CMtrl(int slot, std::string name, int usability, float red, float green, float blue,
             SLightFactors outside, SLightFactors inside)
    : m_slot(slot), m_name(std::move(name)), m_usability(usability), m_color{red, green, blue},
      m_outside(outside), m_inside(inside) {
    CalcGlColors();
}

CMtrl::CMtrl(const CMtrl& other)
    : m_slot(other.m_slot), m_name(other.m_name), m_usability(other.m_usability),
      m_color(other.m_color), m_outside(other.m_outside), m_inside(other.m_inside),
      m_textureFile(other.m_textureFile), m_textureFolder(other.m_textureFolder) {
    CalcGlColors();
}

CMtrl& CMtrl::operator=(const CMtrl& other) {
    if (this != &other) {
        m_slot = other.m_slot;
        m_name = other.m_name;
        m_usability = other.m_usability;
        m_color = other.m_color;
        m_outside = other.m_outside;
        m_inside = other.m_inside;
        m_textureFolder = other.m_textureFolder;
        SetTextureFile(other.m_textureFile);
        CalcGlColors();
    }
    return *this;
}

CMtrl::~CMtrl() = default;

std::unique_ptr<CMtrl> CMtrl::CreateDefault(int slot) {
    if (slot < 1 || slot > kDefaultMtrlCount) {
        return nullptr;
    }
    const SDefaultMtrl& d = kDefaults[slot - 1];
    return std::make_unique<CMtrl>(slot, LoadLangText(d.nameId), d.usability, d.red, d.green,
                                   d.blue, d.outside, d.inside);
}

void CMtrl::SetColor(float red, float green, float blue) {
    m_color = {red, green, blue};
    CalcGlColors();
}

void CMtrl::SetOutside(const SLightFactors& factors) {
    m_outside = factors;
    CalcGlColors();
}

void CMtrl::SetInside(const SLightFactors& factors) {
    m_inside = factors;
    CalcGlColors();
}

void CMtrl::CalcGlColors() {
    m_front = FaceOf(m_color, m_outside);
    m_back = FaceOf(m_color, m_inside);
    m_highlight = Highlight();
}

bool CMtrl::operator==(const CMtrl& other) const {
    return m_name == other.m_name && m_usability == other.m_usability &&
           EqualAsWritten(m_color[0], other.m_color[0]) &&
           EqualAsWritten(m_color[1], other.m_color[1]) &&
           EqualAsWritten(m_color[2], other.m_color[2]) &&
           EqualAsWritten(m_outside, other.m_outside) && EqualAsWritten(m_inside, other.m_inside) &&
           m_textureFile == other.m_textureFile;
}

void CMtrl::Write(CFileWrite& writer, int slot) const {
    CTextTrns toNeutral(LANG_ID_GERMAN, LANG_ID_NEUTRAL);
    toNeutral.LoadTexts(kFirstNameId, kLastNameId);
    std::string name = m_name;
    toNeutral.Lookup(m_name, name);

    writer.PutString("material3{");
    writer.PutInt(slot);
    writer.PutString(",");
    writer.PutQuoted(name, '"');
    writer.PutString(", ");
    writer.PutInt(UsabilityCode(m_usability));
    writer.PutString(", ");
    for (size_t i = 0; i < m_color.size(); ++i) {
        writer.PutString(i == 0 ? "" : ",");
        writer.PutDouble(m_color[i], kRecordDecimals);
    }
    for (const SLightFactors* factors : {&m_outside, &m_inside}) {
        writer.PutString(", ");
        writer.PutDouble(factors->ambient, kRecordDecimals);
        writer.PutString(",");
        writer.PutDouble(factors->diffuse, kRecordDecimals);
        writer.PutString(",");
        writer.PutDouble(factors->specular, kRecordDecimals);
        writer.PutString(",");
        writer.PutDouble(factors->shininess, kRecordDecimals);
    }
    writer.PutString(", ");
    writer.PutQuoted(m_textureFile, '"');
    writer.PutString(", ");
    writer.PutInt(0);
    writer.PutString("}\n");
}

void CMtrl::SetTextureFile(std::string path) {
    if (path != m_textureFile) {
        m_textureFile = std::move(path);
        DropTexture();
    }
}

void CMtrl::DropTexture() {
    m_texture.reset();
    m_textureFailed = false;
}

std::string CMtrl::ResolveTexturePath() const {
    if (m_textureFile.empty()) {
        return {};
    }
    // Whatever is there under the name is what the user meant; a folder or a device is refused
    // when it is opened, with the system's reason.
    std::error_code error;
    if (std::filesystem::exists(m_textureFile, error)) {
        return m_textureFile;
    }
    // A file written on Windows names its textures by drive letter and backslashes; beside the
    // design they are found by their file name alone.
    const bool drive = m_textureFile.size() >= 2 && m_textureFile[1] == ':' &&
                       std::isalpha(static_cast<unsigned char>(m_textureFile[0]));
    const size_t lastBackslash = m_textureFile.find_last_of('\\');
    if ((!drive && lastBackslash == std::string::npos) || m_textureFolder.empty()) {
        return {};
    }
    const size_t nameStart = m_textureFile.find_last_of("\\/:");
    const std::string fileName = m_textureFile.substr(nameStart + 1);
    if (fileName.empty()) {
        return {};
    }
    const std::filesystem::path beside = std::filesystem::path(m_textureFolder) / fileName;
    if (std::filesystem::exists(beside, error)) {
        return beside.string();
    }
    return {};
}

const CDIB* CMtrl::GetTexture() const {
    if (m_texture != nullptr || m_textureFailed || m_textureFile.empty()) {
        return m_texture.get();
    }
    // Taken as failed until the bitmap is there: a box shown below lets the window repaint,
    // and that drawing must neither load again nor show a second box.
    m_textureFailed = true;
    const std::string resolved = ResolveTexturePath();
    const std::string& path = resolved.empty() ? m_textureFile : resolved;
    // A file that cannot be opened (missing, a folder, a device), an empty file and one that is
    // no BMP file at all are named with their reason here; the bitmap reader names its own
    // refusals of a BMP file.
    File file;
    if (!file.Open(path, File::Mode::Read)) {
        // The system's text for a device or a pipe, which is refused as "invalid argument", says
        // nothing to the user.
        ShowFileFailure(kTextureCannotOpen, path,
                        file.LastErrorNumber() == EINVAL ? LoadLangText(kTextureNoFile)
                                                         : file.LastError());
        return nullptr;
    }
    char signature[2] = {};
    const size_t got = file.Read(signature, sizeof signature);
    if (file.HasError() || !file.SeekToBegin()) {
        ShowFileFailure(kTextureCannotOpen, path, file.LastError());
        return nullptr;
    }
    if (got < sizeof signature || signature[0] != 'B' || signature[1] != 'M') {
        ShowFileFailure(kTextureCannotOpen, path,
                        LoadLangText(got == 0 ? kTextureEmpty : kTextureNoBitmap));
        return nullptr;
    }
    // Textures are kept as plain memory bitmaps.
    CDIB::SetDefaultStorage(CDIB::Storage::Memory);
    auto texture = std::make_unique<CDIB>();
    if (!texture->ReadBmp(file, 24)) {
        return nullptr;
    }
    m_texture = std::move(texture);
    m_textureFailed = false;
    return m_texture.get();
}

namespace {

// White space, a comma and white space: the separator between two values of a record.
void NextValue(CFileRead& reader) {
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
}

// The usability mask from the record's field, which changed meaning with the version.
int ReadUsability(CFileRead& reader, int version) {
    if (version >= 3) {
        const uint32_t code = reader.ReadUnsigned(0x7fffffff, false, 0);
        const int masks[] = {0, MtrlUse::Metal, MtrlUse::Plastic};
        return code < 3 ? masks[code] : MtrlUse::All;
    }
    if (version == 2) {
        // A word of category flags of the time: 1, 4 and 8 were metal parts, 2 and 16 plastic.
        const uint32_t flags = reader.ReadUnsigned(0x7fffffff, false, 0);
        int mask = 0;
        if ((flags & 13) != 0) {
            mask |= MtrlUse::Metal;
        }
        if ((flags & 18) != 0) {
            mask |= MtrlUse::Plastic;
        }
        return mask;
    }
    // The oldest records carry no usability: users' own materials (slot 20 and up) were usable
    // for everything, and so are the others, so that none becomes unusable.
    return MtrlUse::All;
}

} // namespace

bool CMtrl::IsInTable() const {
    return m_slot >= 0 && m_slot < MtrlSlotCount;
}

std::unique_ptr<CMtrl> CMtrl::Read(CFileRead& reader) {
    CTextTrns toGerman(LANG_ID_NEUTRAL, LANG_ID_GERMAN);
    toGerman.LoadTexts(kFirstNameId, kLastNameId);

    reader.SkipWhitespace();
    if (!reader.ReadKeyword("material", 20)) {
        return nullptr;
    }
    const int version = reader.ReadSigned(0x7fffffff, false, 0);
    reader.SkipWhitespace();
    reader.Expect("{");
    reader.SkipWhitespace();

    auto material = std::make_unique<CMtrl>();
    material->m_slot = reader.ReadInt();
    if (reader.GetErrors() == 0 && material->m_slot < 0) {
        // No table has such a slot; one above the table is read whole for the caller to skip.
        reader.ReportError(ReadErrors::Range);
        return nullptr;
    }
    NextValue(reader);
    std::string name;
    reader.ReadQuoted(name, '"', '\0');
    material->m_name = name;
    toGerman.Lookup(name, material->m_name);
    if (version >= 2) {
        NextValue(reader);
    }
    material->m_usability = ReadUsability(reader, version);

    float* const floats[] = {
        &material->m_color[0],          &material->m_color[1],        &material->m_color[2],
        &material->m_outside.ambient,   &material->m_outside.diffuse, &material->m_outside.specular,
        &material->m_outside.shininess, &material->m_inside.ambient,  &material->m_inside.diffuse,
        &material->m_inside.specular,   &material->m_inside.shininess};
    for (float* value : floats) {
        NextValue(reader);
        *value = static_cast<float>(reader.ReadFloat("."));
    }
    NextValue(reader);
    reader.ReadQuoted(material->m_textureFile, '"', '\0');
    NextValue(reader);
    reader.ReadUnsigned(0x7fffffff, false, 0); // kept for records of other programs; no meaning
    reader.SkipWhitespace();
    if (reader.ReadKeyword(",", 20)) {
        reader.SkipWhitespace();
        reader.ReadUnsigned(0x7fffffff, false, 0);
    }
    reader.SkipWhitespace();
    reader.Expect("}");
    reader.SkipWhitespace();

    // A texture named by a Windows path is looked for beside the file the record came from.
    const std::string source = reader.GetSourceName();
    if (!source.empty() && source.front() == '/') {
        material->m_textureFolder = std::filesystem::path(source).parent_path().string();
    }
    material->CalcGlColors();
    if (reader.GetErrors() != 0) {
        return nullptr;
    }
    return material;
}
