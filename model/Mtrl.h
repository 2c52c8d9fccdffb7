// A material: the surface of an element (colour, how strongly it reflects ambient, diffuse and
// specular light on front and back faces, an optional texture bitmap) and the element categories
// it may be chosen for. The document keeps a table of them by slot; design files and the
// clipboard carry them as "material3{...}" records. Applying one to OpenGL is app/render's.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/ElmntKind.h"

class CDIB;
class CFileRead;
class CFileWrite;

// Usability masks in use (the record's codes 1, 2 and 3).
namespace MtrlUse {
inline constexpr int Metal = 141;   // tubes, connectors, caps and locks, aluminium profiles
inline constexpr int Plastic = 370; // panels, the three slide categories, pool liners
inline constexpr int All = 511;
} // namespace MtrlUse

// The bit of a category in a usability mask.
constexpr int MtrlCategoryBit(MtrlCategory category) {
    return 1 << static_cast<int>(category);
}

// Slots 1 to kDefaultMtrlCount hold the default materials of a new document.
inline constexpr int kDefaultMtrlCount = 14;

// How strongly a face reflects each kind of light, and its shininess (the GL exponent).
struct SLightFactors {
    float ambient = 0.0f;
    float diffuse = 0.0f;
    float specular = 0.0f;
    float shininess = 0.0f;

    friend bool operator==(const SLightFactors&, const SLightFactors&) = default;
};

// The GL material of one face, as glMaterialfv takes it.
struct SGlMaterial {
    std::array<float, 4> ambient{};
    std::array<float, 4> diffuse{};
    std::array<float, 4> specular{};
    float shininess = 0.0f;
};

class CMtrl {
public:
    // Empty name and texture file, usable for nothing, black, no light.
    CMtrl();
    CMtrl(int slot, std::string name, int usability, float red, float green, float blue,
          SLightFactors outside, SLightFactors inside);
    // Copies everything but the loaded texture bitmap, which the copy loads on its next use.
    CMtrl(const CMtrl& other);
    CMtrl& operator=(const CMtrl& other);
    ~CMtrl();

    // Default material of a new document for slot 1 to kDefaultMtrlCount (German name), or
    // nullptr for any other slot.
    static std::unique_ptr<CMtrl> CreateDefault(int slot);

    int GetSlot() const { return m_slot; }
    void SetSlot(int slot) { m_slot = slot; }
    // In the user's language (German).
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int GetUsability() const { return m_usability; }
    void SetUsability(int usability) { m_usability = usability; }
    bool IsUsableFor(MtrlCategory category) const {
        return (m_usability & MtrlCategoryBit(category)) != 0;
    }

    // Colour components 0.0 to 1.0.
    float GetRed() const { return m_color[0]; }
    float GetGreen() const { return m_color[1]; }
    float GetBlue() const { return m_color[2]; }
    const SLightFactors& GetOutside() const { return m_outside; }
    const SLightFactors& GetInside() const { return m_inside; }
    // These recompute the GL colours.
    void SetColor(float red, float green, float blue);
    void SetOutside(const SLightFactors& factors);
    void SetInside(const SLightFactors& factors);

    // Front and back faces from the colour and the factors; the highlight of selected elements.
    const SGlMaterial& GetFront() const { return m_front; }
    const SGlMaterial& GetBack() const { return m_back; }
    const SGlMaterial& GetHighlight() const { return m_highlight; }
    // Recomputes front, back and highlight (done by every setter above).
    void CalcGlColors();

    // Path of a BMP file as the design names it; empty for none.
    const std::string& GetTextureFile() const { return m_textureFile; }
    // A different name drops the loaded bitmap and any earlier failure to load one.
    void SetTextureFile(std::string path);
    // Drops the loaded bitmap so that the next use loads the file again.
    void DropTexture();
    // Folder in which a texture named by a Windows path is looked for by its file name when the
    // path does not exist: the folder of the design file the material was read from.
    const std::string& GetTextureFolder() const { return m_textureFolder; }
    void SetTextureFolder(std::string folder) { m_textureFolder = std::move(folder); }
    // The texture bitmap (24 bits), loaded on first use; nullptr without a texture file or when
    // it cannot be loaded. A failure is reported once and not tried again until the texture file
    // name changes, so that drawing never opens a missing file or shows a box at every frame.
    const CDIB* GetTexture() const;
    // The path the texture is loaded from: the texture file itself when it exists, else for a
    // Windows path a file of the same name in the texture folder; empty when neither exists.
    std::string ResolveTexturePath() const;

    // Writes one record with the given slot (the caller's table index); the name goes out in
    // the neutral language when it is one of the colour names.
    void Write(CFileWrite& writer, int slot) const;
    // Reads one record. nullptr when the input does not continue with "material" (nothing but
    // white space consumed), or when the record is damaged or its slot is negative: the reader
    // has then reported it. A slot of MtrlSlotCount or more is read as it stands; the callers
    // skip such a record (IsInTable), as files of other writers may carry one.
    static std::unique_ptr<CMtrl> Read(CFileRead& reader);
    // Whether the slot read is one of the document's table (0 to MtrlSlotCount - 1).
    bool IsInTable() const;

    // Same name (exactly), usability, texture file, and colour and factors equal as the record
    // writes them (4 decimals), so that a material that went through the clipboard is found
    // again. Slot and loaded bitmap are not compared.
    bool operator==(const CMtrl& other) const;

private:
    int m_slot = 0;
    std::string m_name;
    int m_usability = 0;
    std::array<float, 3> m_color{};
    SLightFactors m_outside;
    SLightFactors m_inside;
    SGlMaterial m_front;
    SGlMaterial m_back;
    SGlMaterial m_highlight;
    std::string m_textureFile;
    std::string m_textureFolder;
    // Loaded on first use by a const drawing call.
    mutable std::unique_ptr<CDIB> m_texture;
    mutable bool m_textureFailed = false;
};
