// Render-quality profiles: reading and writing their profile section, and turning the settings
// into OpenGL state for one element's material.
#include "app/render/RndrQult.h"

#include <iterator>

#include <GL/gl.h>
#include <GL/glu.h>

#include "support/DIB.h"
#include "support/Profile.h"

namespace {

// The profile's value names, with their defaults and the largest value each may take.
struct SValueInfo {
    const char* entry;
    int SRndrQultValues::*field;
    int profileDefault;
    int maximum;
};

constexpr SValueInfo kShading{"shading", &SRndrQultValues::shading, 2, 3};
constexpr SValueInfo kTextureMax{"textureMax", &SRndrQultValues::textureMax, 0, 1};
constexpr SValueInfo kTextureMin{"textureMin", &SRndrQultValues::textureMin, 0, 5};
constexpr SValueInfo kTexture{"texture", &SRndrQultValues::texture, 1, 1};
constexpr SValueInfo kTexturePerspective{"texturePerspective", &SRndrQultValues::texturePerspective,
                                         0, 1};
constexpr SValueInfo kModell{"modell", &SRndrQultValues::modell, 2, 3};

// In the order the profile is read.
constexpr const SValueInfo* kReadOrder[] = {&kShading, &kTextureMax,         &kTextureMin,
                                            &kTexture, &kTexturePerspective, &kModell};
// In the order the profile is written.
constexpr const SValueInfo* kWriteOrder[] = {&kModell,     &kShading, &kTextureMax,
                                             &kTextureMin, &kTexture, &kTexturePerspective};

// The position of a value in kReadOrder.
size_t ReadIndex(const SValueInfo* info) {
    size_t index = 0;
    while (kReadOrder[index] != info) {
        ++index;
    }
    return index;
}

constexpr GLint kMinFilters[] = {GL_NEAREST,
                                 GL_LINEAR,
                                 GL_NEAREST_MIPMAP_NEAREST,
                                 GL_LINEAR_MIPMAP_NEAREST,
                                 GL_NEAREST_MIPMAP_LINEAR,
                                 GL_LINEAR_MIPMAP_LINEAR};
constexpr GLint kMagFilters[] = {GL_NEAREST, GL_LINEAR};

} // namespace

SRndrQultValues SRndrQultValues::ProfileDefaults() {
    SRndrQultValues values;
    for (const SValueInfo* info : kReadOrder) {
        values.*(info->field) = info->profileDefault;
    }
    return values;
}

SRndrQultValues SRndrQultValues::InRange() const {
    SRndrQultValues values = *this;
    for (const SValueInfo* info : kReadOrder) {
        int& value = values.*(info->field);
        if (value < 0 || value > info->maximum) {
            value = info->profileDefault;
        }
    }
    return values;
}

CRndrQult::CRndrQult(std::string section) : m_section(std::move(section)) {
    if (!m_section.empty()) {
        Read();
    }
}

CRndrQult::~CRndrQult() {
    WriteBack();
}

void CRndrQult::Read() {
    for (size_t i = 0; i < std::size(kReadOrder); ++i) {
        const SValueInfo* info = kReadOrder[i];
        m_stored[i] = FindProfileInt(m_section, info->entry);
        m_values.*(info->field) = m_stored[i].value_or(info->profileDefault);
    }
    m_values = m_values.InRange();
}

bool CRndrQult::WriteBack() {
    if (m_section.empty()) {
        return false;
    }
    bool written = true;
    for (const SValueInfo* info : kWriteOrder) {
        const size_t index = ReadIndex(info);
        const int value = m_values.*(info->field);
        if (m_stored[index] == value) {
            continue;
        }
        if (WriteProfileInt(m_section, info->entry, value)) {
            m_stored[index] = value;
        } else {
            written = false;
        }
    }
    return written;
}

void CRndrQult::SetValues(const SRndrQultValues& values) {
    m_values = values.InRange();
}

int CRndrQult::GetDetail() const {
    switch (m_values.modell) {
    case 0:
        return 4;
    case 1:
        return 2;
    default:
        return 1;
    }
}

bool CRndrQult::ApplyGl() const {
    glDisable(GL_TEXTURE_2D);
    switch (m_values.shading) {
    case 0:
        glDisable(GL_LIGHTING);
        return false;
    case 1:
        glEnable(GL_LIGHTING);
        glShadeModel(GL_FLAT);
        return true;
    default:
        // Phong interpolation is not available in fixed-function GL; it draws as Gouraud, so
        // that no element inherits the lighting state of the one drawn before it.
        glEnable(GL_LIGHTING);
        glShadeModel(GL_SMOOTH);
        return true;
    }
}

bool CRndrQult::ApplyTexture(const CDIB& bitmap) const {
    if (bitmap.IsEmpty() || bitmap.GetBitCount() != 24) {
        return false;
    }
    return ApplyTexture(bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetBits());
}

bool CRndrQult::ApplyTexture(int width, int height, const void* bgrRows) const {
    if (m_values.texture == 0 || width <= 0 || height <= 0 || bgrRows == nullptr) {
        return false;
    }
    const SRndrQultValues values = m_values.InRange();
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinFilters[values.textureMin]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, kMagFilters[values.textureMax]);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, values.texturePerspective != 0 ? GL_NICEST : GL_FASTEST);
    // Bitmap rows are padded to four bytes, which is GL's default unpacking alignment; set it
    // anyway, since other code may have changed it.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (values.textureMin >= 2) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, bgrRows);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE, bgrRows);
    }
    return true;
}
