// Kept tessellations by shape, variant and detail stride.
#include "app/render/MeshCache.h"

const CGlMesh* CMeshCache::Find(const SMeshKey& key) const {
    const auto found = m_meshes.find(key);
    return found != m_meshes.end() ? &found->second : nullptr;
}

CGlMesh& CMeshCache::Add(const SMeshKey& key) {
    CGlMesh& mesh = m_meshes[key];
    mesh.Clear();
    return mesh;
}
