// Gathering the elements' draw pass into merged geometry (see MergedScene.h): the groups of
// world-coordinate geometry that share one GL state (the keys that say when an element must be
// gathered anew and the state itself are in DrawKey.h).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

#include <GL/gl.h>

#include "app/render/DrawKey.h"
#include "app/render/ElmntDraw.h"
#include "app/render/PrimitiveIndices.h"
#include "support/Vector3.h"

namespace SceneGather {

// What decides a draw call: the kind of primitive and the state. Unlit geometry carries its
// colours per vertex, so only lit geometry is told apart by material. The geometry of selected
// elements goes apart, to be drawn after everything else (DrawSelectionOnTop).
struct SGroupKey {
    PrimitiveFamily family = PrimitiveFamily::Triangles;
    bool lit = false;
    bool selected = false;
    GLint shadeModel = GL_SMOOTH;
    std::array<float, DrawKey::kMaterialFloats> material{};

    friend bool operator==(const SGroupKey& a, const SGroupKey& b) {
        return a.family == b.family && a.lit == b.lit && a.selected == b.selected &&
               a.shadeModel == b.shadeModel &&
               std::memcmp(a.material.data(), b.material.data(), sizeof a.material) == 0;
    }
};

struct SGroup {
    SGroupKey key;
    CVector3 centre; // of a sphere that holds every vertex, set once gathered
    double radius = 0.0;
    std::vector<float> vertices; // 4 per vertex, world coordinates
    std::vector<float> normals;  // 3 per vertex
    std::vector<float> colors;   // 4 per vertex, unlit groups only
    std::vector<GLuint> indices;

    std::size_t VertexCount() const { return vertices.size() / 4; }
};

// An element that is drawn by itself, and the state it met when it was gathered.
struct SSingle {
    const CElmnt* elmnt = nullptr;
    DrawKey::SGlState state;
};

// Draws the run's elements (through draw, from the start state, under an identity model view)
// into groups of merged geometry; the elements that met state the groups cannot carry go to
// singles with the state each met. Empty groups are dropped and every group's sphere is set.
void GatherRun(std::span<const CElmnt* const> members, const DrawKey::SGlState& start,
               const DrawKey::SLimits& limits, const std::function<void(const CElmnt&)>& draw,
               std::vector<SGroup>& groups, std::vector<SSingle>& singles);

} // namespace SceneGather
