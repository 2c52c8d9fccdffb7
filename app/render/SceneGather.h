// Gathering the elements' draw pass into merged geometry (see MergedScene.h): the keys that say
// when an element must be gathered anew, the GL state geometry is drawn in, and the groups of
// world-coordinate geometry that share one state.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

#include <GL/gl.h>

#include "app/render/ElmntDraw.h"
#include "app/render/PrimitiveIndices.h"
#include "model/Mtrl.h"
#include "support/KeyHash.h"
#include "support/Vector3.h"

namespace SceneGather {

// Everything besides the element itself that an element's drawing depends on.
uint64_t InputsKey(MtrlTable materials, const CRndrPass& pass, ToolMode toolMode,
                   DrawFlags drawFlags, const SDrawView* view);
// The element's record as far as drawing reads it, and whether it is alive.
void AddElementKey(CKeyHash& key, const CElmnt& elmnt, Revision revision);

// front, back: ambient, diffuse, specular, emission (4 each), shininess
constexpr std::size_t kMaterialFloats = 34;

// The state a piece of geometry is drawn in, as far as the gathered geometry can carry it.
struct SGlState {
    bool lit = false;
    GLint shadeModel = GL_SMOOTH;
    std::array<float, kMaterialFloats> material{};
    std::array<float, 4> color{};
    std::array<float, 3> normal{};
};

SGlState ReadGlState();
void ApplyGlState(const SGlState& state);
void ApplyMaterial(const std::array<float, kMaterialFloats>& material);
// The state every piece of gathered geometry was drawn in, whatever an element drawn by itself
// left behind.
void SetGatheredState();

// State that gathered geometry cannot carry, against the values the pass started with: an
// element drawn in it is drawn by itself.
struct SLimits {
    GLint depthFunc = GL_LESS;
    float lineWidth = 1.0f;
    float pointSize = 1.0f;

    static SLimits Read();
    bool AllowGathering() const;
};

// What decides a draw call: the kind of primitive and the state. Unlit geometry carries its
// colours per vertex, so only lit geometry is told apart by material. The geometry of selected
// elements goes apart, to be drawn after everything else (DrawSelectionOnTop).
struct SGroupKey {
    PrimitiveFamily family = PrimitiveFamily::Triangles;
    bool lit = false;
    bool selected = false;
    GLint shadeModel = GL_SMOOTH;
    std::array<float, kMaterialFloats> material{};

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
    SGlState state;
};

// Draws the run's elements (through draw, from the start state, under an identity model view)
// into groups of merged geometry; the elements that met state the groups cannot carry go to
// singles with the state each met. Empty groups are dropped and every group's sphere is set.
void GatherRun(std::span<const CElmnt* const> members, const SGlState& start, const SLimits& limits,
               const std::function<void(const CElmnt&)>& draw, std::vector<SGroup>& groups,
               std::vector<SSingle>& singles);

} // namespace SceneGather
