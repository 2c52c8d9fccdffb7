// Kept tessellations by shape, variant and detail stride.
#include "app/render/MeshCache.h"

#include <map>

namespace {

struct SCache {
    std::map<SMeshKey, CGlMesh> meshes;
    bool enabled = true;
};

SCache& Cache() {
    static SCache cache;
    return cache;
}

} // namespace

namespace MeshCache {

const CGlMesh* Find(const SMeshKey& key) {
    const auto& meshes = Cache().meshes;
    const auto found = meshes.find(key);
    return found != meshes.end() ? &found->second : nullptr;
}

CGlMesh& Add(const SMeshKey& key) {
    CGlMesh& mesh = Cache().meshes[key];
    mesh.Clear();
    return mesh;
}

void Clear() {
    Cache().meshes.clear();
}

std::size_t GetCount() {
    return Cache().meshes.size();
}

void SetEnabled(bool enabled) {
    Cache().enabled = enabled;
}

bool IsEnabled() {
    return Cache().enabled;
}

} // namespace MeshCache
