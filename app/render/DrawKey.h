// What the drawing of an element reads, in one place: its record, everything else its picture
// depends on (materials, quality profile, tool mode, display flags, the view's inputs), and the
// GL state that gathered geometry carries or is drawn in. The merged drawing (MergedScene.h)
// gathers an element anew only when one of these keys changes, so an input that drawing reads
// and that is missing here leaves a stale picture, and only in the merged path. Beside each part
// (DrawKey.cpp) a compile-time check fails the build when the record, the view's inputs or the
// state grow, until someone has decided whether drawing reads what was added.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <GL/gl.h>

#include "app/render/ElmntDraw.h"
#include "support/KeyHash.h"

namespace DrawKey {

// Everything besides the element itself that an element's drawing depends on, at the revision
// drawn: the view's first tube counts by its identity and by its record, which the highlight of
// the tubes that fit it reads.
uint64_t InputsKey(MtrlTable materials, const CRndrPass& pass, ToolMode toolMode,
                   DrawFlags drawFlags, const SDrawView* view, Revision revision);
// The element's record as far as drawing reads it, and whether it is alive at the revision.
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

} // namespace DrawKey
