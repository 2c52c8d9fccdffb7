// The kind of drawing pass under way, handed to every element drawing call: one set of drawing
// routines serves plain drawing, picking by GL selection and the two feedback passes. The pass
// also carries the quality profile that decides how finely curved surfaces are divided, and
// the cache in which the drawing keeps the tessellations it makes.
#pragma once

#include <cstdint>

class CMeshCache;
class CRndrQult;

enum class RndrMode : int {
    Draw = 0,            // into the window or an off-screen bitmap
    Select = 1,          // GL selection: names on the name stack
    AxisFeedback = 2,    // GL feedback of connection axes, for placing parts
    SurfaceFeedback = 3, // GL feedback of surfaces, for the collision test
};

class CRndrPass {
public:
    // quality and meshes are borrowed and must outlive the pass. A nullptr quality draws as the
    // coarsest profile; without meshes every shape is built anew at every call.
    CRndrPass(RndrMode mode, const CRndrQult* quality, CMeshCache* meshes = nullptr)
        : m_mode(mode), m_quality(quality), m_meshes(meshes) {}

    RndrMode GetMode() const { return m_mode; }
    bool IsDraw() const { return m_mode == RndrMode::Draw; }
    const CRndrQult* GetQuality() const { return m_quality; }
    CMeshCache* GetMeshes() const { return m_meshes; }

    // Step through the sine and cosine tables of curved surfaces: 1, 2 or 4.
    int GetDetail() const;

    // Names the element (or sub-part) whose output follows: the top selection name in a
    // selection pass, a pass-through token in both feedback passes, nothing when drawing.
    void LoadName(uint32_t name) const;
    // As LoadName, but only in the selection and axis-feedback passes (floor-grid markers).
    void LoadNameMarker(uint32_t name) const;
    // Pushes a selection name, or emits a pass-through token in the axis-feedback pass.
    void PushName(uint32_t name) const;
    // Pops a selection name; nothing in the other passes.
    void PopName() const;

    // The float whose bits are the name's 32 bits, as a pass-through token carries it, and back.
    // No value conversion takes place, so every 32-bit name survives a feedback buffer exactly.
    static float NameToToken(uint32_t name);
    static uint32_t TokenToName(float token);

private:
    RndrMode m_mode;
    const CRndrQult* m_quality;
    CMeshCache* m_meshes;
};
