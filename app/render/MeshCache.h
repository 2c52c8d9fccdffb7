// Tessellations kept from frame to frame. A drawing routine whose geometry depends only on a
// shape (and its variant) and on the detail stride of the quality profile hands the code that
// draws it here; the first call records that geometry into a CGlMesh, later calls draw the
// kept mesh. Only geometry sent through GlBatch is kept: the build must not set GL state,
// matrices or names, which the caller does around the call as before.
//
// The kept meshes hold client memory only (no GL objects), so they serve every GL context.
// They are dropped when a quality profile changes its detail, and can be dropped at any time.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>

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

namespace MeshCache {

// The mesh kept under the key; nullptr when there is none.
const CGlMesh* Find(const SMeshKey& key);
// A new empty mesh kept under the key (replacing any kept there).
CGlMesh& Add(const SMeshKey& key);

// On by default. Off draws every shape anew each time, as built (for comparisons).
void SetEnabled(bool enabled);
bool IsEnabled();

// Draws the mesh kept under the key, recording it from build() first when there is none. With
// keeping switched off, build() draws directly every time.
template <class Build> void Draw(const SMeshKey& key, Build&& build) {
    if (!IsEnabled()) {
        build();
        return;
    }
    const CGlMesh* mesh = Find(key);
    if (mesh == nullptr) {
        CGlMesh& added = Add(key);
        added.BeginRecording();
        build();
        added.EndRecording();
        mesh = &added;
    }
    mesh->Draw();
}

// Drops every kept mesh.
void Clear();
// Number of meshes kept now.
std::size_t GetCount();

} // namespace MeshCache
