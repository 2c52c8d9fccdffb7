// A render-quality profile: shading, texture filtering and modelling detail, kept in a section of
// the application profile. The application holds one for editing ("RndrQultLow") and one for
// photo quality ("RndrQultHigh"); the collision test draws with a temporary one without section.
#pragma once

#include <array>
#include <optional>
#include <string>

class CDIB;

// The six settings. The numbers are those of the profile and of the dialog's radio groups.
struct SRndrQultValues {
    int shading = 0;            // 0 unlit, 1 flat, 2 Gouraud, 3 Phong (drawn as 2)
    int textureMax = 0;         // magnification: 0 nearest, 1 linear
    int textureMin = 0;         // minification: 0 nearest, 1 linear, 2..5 the four mipmap filters
    int texture = 0;            // texture mapping on (1) or off (0)
    int texturePerspective = 0; // 0 fastest, 1 nicest perspective correction
    int modell = 0;             // modelling detail: 0 very coarse .. 3 very fine

    friend bool operator==(const SRndrQultValues&, const SRndrQultValues&) = default;

    // The values of a section that does not exist yet.
    static SRndrQultValues ProfileDefaults();
    // Each value outside its range replaced by its profile default.
    SRndrQultValues InRange() const;
};

class CRndrQult {
public:
    // With a section: the values read from it (missing or out-of-range values are the profile
    // defaults). Without (empty name): every value 0, nothing read and nothing written.
    explicit CRndrQult(std::string section = {});
    // Writes the values that differ from what the section held back to it, if there is one.
    ~CRndrQult();
    CRndrQult(const CRndrQult&) = delete;
    CRndrQult& operator=(const CRndrQult&) = delete;

    const std::string& GetSection() const { return m_section; }
    const SRndrQultValues& GetValues() const { return m_values; }
    // Takes effect at the next drawing; values out of range become the profile defaults.
    void SetValues(const SRndrQultValues& values);
    // Writes the values that differ from what the section held when it was read (or last
    // written) to it now, so that a value another running copy of the program changed
    // meanwhile stays unless this one changed it too; false when there is no section or a
    // write failed.
    bool WriteBack();

    // Detail stride: modelling 0 gives 4, 1 gives 2, finer gives 1.
    int GetDetail() const;

    // Sets texturing off and lighting and shading by the profile. True when lighting is on (the
    // caller then sets the GL material), false when unlit (the caller sets a plain colour).
    bool ApplyGl() const;
    // Enables texturing with the profile's filters and uploads the bitmap as the current
    // texture. False, touching nothing, when texture mapping is off or the bitmap is not a
    // 24-bit one.
    bool ApplyTexture(const CDIB& bitmap) const;
    // The same for pixels given directly: width x height pixels of blue, green, red bytes, rows
    // bottom first and padded to four bytes. False, touching nothing, when texture mapping is
    // off or there are no pixels.
    bool ApplyTexture(int width, int height, const void* bgrRows) const;

private:
    void Read();

    std::string m_section;
    SRndrQultValues m_values;
    // Each value as the section held it, in the order the profile is read; nothing when missing.
    std::array<std::optional<int>, 6> m_stored;
};
