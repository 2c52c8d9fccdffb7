// Tessellations kept from frame to frame. A drawing routine whose geometry depends only on a
// shape (and its variant) and on the detail stride of the quality profile hands the code that
// draws it here; the first call records that geometry into a CGlMesh, later calls draw the
// kept mesh. Only geometry sent through GlBatch is kept: the build must not set GL state,
// matrices or names, which the caller does around the call as before.
//
// The kept meshes hold client memory only (no GL objects), so they serve every GL context. The
// key carries the detail stride, so a profile's new detail simply keys other meshes; they can
// be dropped at any time. A cache belongs to whoever draws (the view, a test, a benchmark) and
// reaches the drawing routines through the pass (CRndrPass::GetMeshes).
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>

#include "app/render/GlBatch.h"

// The shapes that are kept; the variant says which one of a family (kind, arm mask ...). A
// shape that looks the same at every detail is still keyed by the stride it was drawn with.
enum class MeshShape : int {
    SlideSurface = 1,
    // Surfaces of revolution in 16 and 32 segments; source: the profile's points, variant: their
    // count.
    Lathe16 = 2,
    Lathe32 = 3,
    // The multi wheel's surface of revolution with its ribs.
    MultiWheel = 4,
    CastorFork = 5,
    // The steering lock's slot marks (lines).
    LockMarks = 6,
    ClampBand = 7,
    ClipArc = 8,
    // A coupling's sphere corners and arm sleeves; variant: the occupied arm mask.
    ConnectorBody = 9,
    // The 45-degree coupling's branch mantle and its closing face.
    BranchMantle = 10,
    FlexiMantles = 11,
    BearingSleeve = 12,
};

struct SMeshKey {
    MeshShape shape = MeshShape::SlideSurface;
    uint32_t variant = 0;
    int stride = 1;
    const void* source = nullptr; // data of static storage the shape is made from, if any
    friend auto operator<=>(const SMeshKey&, const SMeshKey&) = default;
};

class CMeshCache {
public:
    // The mesh kept under the key; nullptr when there is none.
    const CGlMesh* Find(const SMeshKey& key) const;
    // A new empty mesh kept under the key (replacing any kept there).
    CGlMesh& Add(const SMeshKey& key);

    // On unless a CMeshKeepingScope says otherwise. Off draws every shape anew each time, as
    // built (for comparisons).
    bool IsKeeping() const { return m_keeping; }

    // Drops every kept mesh.
    void Clear() { m_meshes.clear(); }
    // Number of meshes kept now.
    std::size_t GetCount() const { return m_meshes.size(); }

private:
    friend class CMeshKeepingScope;

    std::map<SMeshKey, CGlMesh> m_meshes;
    bool m_keeping = true;
};

// Switches keeping on or off for the scope and gives back the cache's switch as it found it.
class CMeshKeepingScope {
public:
    CMeshKeepingScope(CMeshCache& meshes, bool keeping)
        : m_meshes(meshes), m_was(meshes.m_keeping) {
        meshes.m_keeping = keeping;
    }
    ~CMeshKeepingScope() { m_meshes.m_keeping = m_was; }
    CMeshKeepingScope(const CMeshKeepingScope&) = delete;
    CMeshKeepingScope& operator=(const CMeshKeepingScope&) = delete;

private:
    CMeshCache& m_meshes;
    bool m_was;
};

// Whether geometry drawn with this cache (nullptr: none) is kept.
inline bool KeepsMeshes(const CMeshCache* meshes) {
    return meshes != nullptr && meshes->IsKeeping();
}

// Draws the mesh kept under the key, recording it from build() first when there is none.
// Without a cache, or with keeping switched off, build() draws directly every time.
template <class Build> void DrawKept(CMeshCache* meshes, const SMeshKey& key, Build&& build) {
    if (!KeepsMeshes(meshes)) {
        build();
        return;
    }
    const CGlMesh* mesh = meshes->Find(key);
    if (mesh == nullptr) {
        CGlMesh& added = meshes->Add(key);
        added.BeginRecording();
        build();
        added.EndRecording();
        mesh = &added;
    }
    mesh->Draw();
}
