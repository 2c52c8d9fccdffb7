// The keys of drawing's inputs and the GL state of gathering, each with its compile-time check.
#include "app/render/DrawKey.h"

#include <iterator>

#include "app/render/RndrPass.h"
#include "app/render/RndrQult.h"
#include "model/Elmnt.h"
#include "model/Mtrl.h"

namespace DrawKey {

namespace {

constexpr std::array<GLenum, 4> kMaterialColours = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR,
                                                    GL_EMISSION};

// How gathering treats a GL capability that drawing may set.
enum class GatherRule {
    Carried,         // read into SGlState; gathered geometry is grouped by it
    OnWhenGathered,  // gathered geometry is drawn with it on
    OffWhenGathered, // gathered geometry is drawn with it off
};

struct SCapability {
    GLenum capability;
    GatherRule rule;
};

// Every capability that drawing sets or that would change how gathered geometry looks. An
// element that draws with one of them other than its rule says is drawn by itself.
constexpr SCapability kCapabilities[] = {
    {GL_LIGHTING, GatherRule::Carried},
    {GL_NORMALIZE, GatherRule::OnWhenGathered},
    {GL_DEPTH_TEST, GatherRule::OnWhenGathered},
    {GL_TEXTURE_2D, GatherRule::OffWhenGathered},
    {GL_TEXTURE_GEN_S, GatherRule::OffWhenGathered},
    {GL_TEXTURE_GEN_T, GatherRule::OffWhenGathered},
    {GL_BLEND, GatherRule::OffWhenGathered},
    {GL_COLOR_MATERIAL, GatherRule::OffWhenGathered},
    {GL_CULL_FACE, GatherRule::OffWhenGathered},
    {GL_POLYGON_OFFSET_FILL, GatherRule::OffWhenGathered},
    {GL_POLYGON_OFFSET_LINE, GatherRule::OffWhenGathered},
    {GL_ALPHA_TEST, GatherRule::OffWhenGathered},
    {GL_LINE_STIPPLE, GatherRule::OffWhenGathered},
    {GL_POLYGON_STIPPLE, GatherRule::OffWhenGathered},
    {GL_FOG, GatherRule::OffWhenGathered},
    {GL_CLIP_PLANE0, GatherRule::OffWhenGathered},
    {GL_STENCIL_TEST, GatherRule::OffWhenGathered},
};
static_assert(std::size(kCapabilities) == 17,
              "a GL capability was added to the list: when gathered geometry carries it, add it "
              "to SGlState (read, apply) and to SGroupKey and CMergedScene::DrawGroup; then update "
              "this count");

constexpr bool IsListedOnce(GLenum capability) {
    int count = 0;
    for (const SCapability& entry : kCapabilities) {
        count += entry.capability == capability ? 1 : 0;
    }
    return count == 1;
}

constexpr bool EachListedOnce() {
    for (const SCapability& entry : kCapabilities) {
        if (!IsListedOnce(entry.capability)) {
            return false;
        }
    }
    return true;
}
static_assert(EachListedOnce(), "a GL capability is listed twice");

// Lighting is the one capability SGlState carries (its lit flag).
constexpr bool OnlyLightingCarried() {
    for (const SCapability& entry : kCapabilities) {
        if ((entry.rule == GatherRule::Carried) != (entry.capability == GL_LIGHTING)) {
            return false;
        }
    }
    return true;
}
static_assert(OnlyLightingCarried(),
              "a carried GL capability needs its field in SGlState, read in ReadGlState and set "
              "in ApplyGlState");

static_assert(sizeof(SGlState) == 172,
              "a field was added to SGlState: read it in ReadGlState, set it in ApplyGlState, "
              "decide whether it tells groups apart (SGroupKey), then update this size");
static_assert(sizeof(SLimits) == 12,
              "a field was added to SLimits: read it in Read, compare it in AllowGathering, then "
              "update this size");

} // namespace

void SetGatheredState() {
    for (const SCapability& entry : kCapabilities) {
        if (entry.rule == GatherRule::OnWhenGathered) {
            glEnable(entry.capability);
        } else if (entry.rule == GatherRule::OffWhenGathered) {
            glDisable(entry.capability);
        }
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthMask(GL_TRUE);
}

SLimits SLimits::Read() {
    SLimits limits;
    glGetIntegerv(GL_DEPTH_FUNC, &limits.depthFunc);
    glGetFloatv(GL_LINE_WIDTH, &limits.lineWidth);
    glGetFloatv(GL_POINT_SIZE, &limits.pointSize);
    return limits;
}

bool SLimits::AllowGathering() const {
    for (const SCapability& entry : kCapabilities) {
        const bool on = glIsEnabled(entry.capability) == GL_TRUE;
        if (entry.rule != GatherRule::Carried && on != (entry.rule == GatherRule::OnWhenGathered)) {
            return false;
        }
    }
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    GLboolean depthMask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    const SLimits now = Read();
    return polygonMode[0] == GL_FILL && polygonMode[1] == GL_FILL && depthMask == GL_TRUE &&
           now.depthFunc == depthFunc && now.lineWidth == lineWidth && now.pointSize == pointSize;
}

SGlState ReadGlState() {
    SGlState state;
    state.lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glGetIntegerv(GL_SHADE_MODEL, &state.shadeModel);
    float* at = state.material.data();
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        for (GLenum colour : kMaterialColours) {
            glGetMaterialfv(face, colour, at);
            at += 4;
        }
        glGetMaterialfv(face, GL_SHININESS, at);
        at += 1;
    }
    glGetFloatv(GL_CURRENT_COLOR, state.color.data());
    glGetFloatv(GL_CURRENT_NORMAL, state.normal.data());
    return state;
}

void ApplyMaterial(const std::array<float, kMaterialFloats>& material) {
    const float* at = material.data();
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        for (GLenum colour : kMaterialColours) {
            glMaterialfv(face, colour, at);
            at += 4;
        }
        glMaterialfv(face, GL_SHININESS, at);
        at += 1;
    }
}

void ApplyGlState(const SGlState& state) {
    if (state.lit) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
    }
    glShadeModel(static_cast<GLenum>(state.shadeModel));
    ApplyMaterial(state.material);
    glColor4fv(state.color.data());
    glNormal3fv(state.normal.data());
}

// Materials are keyed by what MtrlGl applies of them: the three light sets, the plain colour
// and the texture file. The quality profile is keyed whole.
static_assert(sizeof(SGlMaterial) == 52,
              "a field was added to SGlMaterial: add it to the materials' part of InputsKey, then "
              "update this size");
static_assert(sizeof(CMtrl) == 328,
              "a field was added to CMtrl: decide whether drawing reads it, add it to the "
              "materials' part of InputsKey, then update this size");
static_assert(sizeof(SDrawView) == 24,
              "a field was added to SDrawView: add it to the view's part of InputsKey, then "
              "update this size");

uint64_t InputsKey(MtrlTable materials, const CRndrPass& pass, ToolMode toolMode,
                   DrawFlags drawFlags, const SDrawView* view, Revision revision) {
    CKeyHash key;
    for (const CMtrl* material : materials) {
        key.Add(material);
        if (material != nullptr) {
            for (const SGlMaterial* light :
                 {&material->GetFront(), &material->GetBack(), &material->GetHighlight()}) {
                key.Add(light->ambient);
                key.Add(light->diffuse);
                key.Add(light->specular);
                key.Add(light->shininess);
            }
            key.Add(std::array<float, 3>{material->GetRed(), material->GetGreen(),
                                         material->GetBlue()});
            key.Add(material->GetTextureFile().size());
            for (char c : material->GetTextureFile()) {
                key.Add(c);
            }
        }
    }
    const CRndrQult* quality = pass.GetQuality();
    key.Add(quality != nullptr);
    if (quality != nullptr) {
        key.Add(quality->GetValues());
    }
    key.Add(toolMode);
    key.Add(drawFlags);
    key.Add(view != nullptr);
    if (view != nullptr) {
        // The same record may be moved, resized or ended by any view of the design: the tubes
        // that fit it change while it stays where it is in memory. Its whole element key holds
        // what the fit reads (placement, kind, length, correction, alive) and whatever it may
        // read later.
        key.Add(view->firstTube != nullptr);
        if (view->firstTube != nullptr) {
            key.Add(view->firstTube->GetId().Value());
            AddElementKey(key, *view->firstTube, revision);
        }
        key.Add(view->panelWidth);
        key.Add(view->panelHeight);
        key.Add(view->vrmlViewer);
    }
    return key.Value();
}

// The record field by field. Read by drawing and keyed: the placement, sizes and corrections,
// the kind, the material slot, the arm and corner-slot masks, the turn variant, the selected
// flag, and the revision interval as alive or not. Keyed though no routine reads them yet (cheap,
// and right when one starts to): the direction mask, fixed, floating, adjust-pending and the
// group mark. Not keyed: the list links and the list index (a run holds its members by address,
// which is keyed), and the identity and its source, which name the element only in picking and
// feedback passes, never gathered.
//
// CElmnt leaves no padding between or after its fields (Elmnt.h keeps its flags together), so
// the size below changes with any field added.
static_assert(sizeof(CElmnt) == 184,
              "a field was added to CElmnt: decide whether drawing reads it, add it to the element "
              "key (AddElementKey), then update this size");

void AddElementKey(CKeyHash& key, const CElmnt& elmnt, Revision revision) {
    key.Add(&elmnt);
    const bool alive = elmnt.IsAliveAt(revision);
    key.Add(alive);
    if (!alive) {
        return;
    }
    key.Add(elmnt.placement.rotation.m);
    key.Add(elmnt.placement.translation.x);
    key.Add(elmnt.placement.translation.y);
    key.Add(elmnt.placement.translation.z);
    key.Add(std::array<float, 4>{elmnt.secondSize, elmnt.length, elmnt.secondCorrection,
                                 elmnt.correction});
    key.Add(elmnt.kind);
    key.Add(std::array<uint32_t, 4>{elmnt.GetOccupiedArms(), elmnt.GetFreeArms(),
                                    elmnt.GetFreeCornerSlots(), elmnt.GetDirections()});
    key.Add(std::array<int32_t, 3>{elmnt.GetMaterial(), elmnt.turnVariant, elmnt.groupMark});
    key.Add(std::array<bool, 4>{elmnt.fixed, elmnt.selected, elmnt.floating, elmnt.adjustPending});
}

} // namespace DrawKey
