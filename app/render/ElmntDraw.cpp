// The element dispatcher: revision and display-flag filters, the element's name, and one table
// of drawing routines indexed by the kind's routine slot.
#include "app/render/ElmntDraw.h"

#include <array>

#include <GL/gl.h>

#include "app/render/CouplingDraw.h"
#include "app/render/FloorGridDraw.h"
#include "app/render/GlBatch.h"
#include "app/render/MtrlGl.h"
#include "app/render/PanelDraw.h"
#include "app/render/PoolDraw.h"
#include "app/render/RoofDraw.h"
#include "app/render/SlideDraw.h"
#include "app/render/SmallPartDraw.h"
#include "app/render/TextileDraw.h"
#include "app/render/TubeDraw.h"
#include "app/render/VrmlViewer.h"
#include "app/render/WheelDraw.h"
#include "app/render/WoodDraw.h"
#include "model/ElmntList.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"

namespace {

using DrawRoutineFn = void (*)(const SElmntDraw&);
using RoutineTable = std::array<DrawRoutineFn, DrawRoutineCount>;

constexpr std::size_t Slot(DrawRoutine routine) {
    return static_cast<std::size_t>(routine);
}

// One entry per routine slot of the kind catalogue; a slot without a routine draws nothing.
constexpr RoutineTable MakeRoutineTable() {
    RoutineTable table{};
    table[Slot(DrawRoutine::Adapter)] = &DrawAdapter;
    table[Slot(DrawRoutine::Alu)] = &DrawAlu;
    table[Slot(DrawRoutine::AluConnector)] = &DrawAluConnector;
    table[Slot(DrawRoutine::Bag)] = &DrawBag;
    table[Slot(DrawRoutine::Bearing)] = &DrawBearing;
    table[Slot(DrawRoutine::Bolt)] = &DrawBolt;
    table[Slot(DrawRoutine::BearingConnector)] = &DrawBearingCoupling;
    table[Slot(DrawRoutine::Casters)] = &DrawCasters;
    table[Slot(DrawRoutine::ChairSeatBack)] = &DrawChairSeatBack;
    table[Slot(DrawRoutine::Clamp)] = &DrawClamp;
    table[Slot(DrawRoutine::Clip)] = &DrawClip;
    table[Slot(DrawRoutine::Connector)] = &DrawConnector;
    table[Slot(DrawRoutine::Connector45)] = &Draw45Coupling;
    table[Slot(DrawRoutine::CurvedSlide)] = &DrawCurvedSlide;
    table[Slot(DrawRoutine::Display)] = &DrawDisplay;
    table[Slot(DrawRoutine::FlexiConnector)] = &DrawFlexiCoupling;
    table[Slot(DrawRoutine::FloatingWheel)] = &DrawFloatingWheel;
    table[Slot(DrawRoutine::FloorGrid)] = &DrawFloorGrid;
    table[Slot(DrawRoutine::HoleConnector)] = &DrawHoleCoupling;
    table[Slot(DrawRoutine::HubCap)] = &DrawHubCap;
    table[Slot(DrawRoutine::Lattice)] = &DrawLattice;
    table[Slot(DrawRoutine::MultiWheel)] = &DrawMultiWheel;
    table[Slot(DrawRoutine::OpenConnector)] = &DrawOpenConnEnd;
    table[Slot(DrawRoutine::Panel)] = &DrawPanel;
    table[Slot(DrawRoutine::Pool)] = &DrawPool;
    table[Slot(DrawRoutine::PoolSmall)] = &DrawPoolSmall;
    table[Slot(DrawRoutine::Roof)] = &DrawRoof;
    table[Slot(DrawRoutine::RoundTube)] = &DrawRoundTube;
    table[Slot(DrawRoutine::RoundWood)] = &DrawRoundWood;
    table[Slot(DrawRoutine::Slide)] = &DrawSlide;
    table[Slot(DrawRoutine::SlideEnd)] = &DrawSlideEnd;
    table[Slot(DrawRoutine::SteeringLock)] = &DrawSteeringLock;
    table[Slot(DrawRoutine::Textil)] = &DrawTextil;
    table[Slot(DrawRoutine::TextilRound)] = &DrawTextilRound;
    table[Slot(DrawRoutine::Tube)] = &DrawTube;
    table[Slot(DrawRoutine::TubeCap)] = &DrawTubeCap;
    table[Slot(DrawRoutine::VrmlSlide)] = &DrawVrmlModel;
    table[Slot(DrawRoutine::Wood)] = &DrawWood;
    table[Slot(DrawRoutine::WoodBed)] = &DrawWoodBed;
    table[Slot(DrawRoutine::WoodKnob)] = &DrawWoodKnob;
    return table;
}

constexpr RoutineTable Routines = MakeRoutineTable();

} // namespace

const CMtrl* SElmntDraw::MaterialIn(int32_t slot) const {
    const auto held = [&](int32_t at) -> const CMtrl* {
        if (at < 0 || static_cast<std::size_t>(at) >= materials.size()) {
            return nullptr;
        }
        return materials[static_cast<std::size_t>(at)];
    };
    const CMtrl* material = held(slot);
    return material != nullptr ? material : held(1);
}

std::vector<const CMtrl*> GetMtrlTable(const CZarnelDcmt& dcmt) {
    std::vector<const CMtrl*> table(static_cast<std::size_t>(dcmt.GetSlotsUsed()), nullptr);
    for (std::size_t slot = 0; slot < table.size(); ++slot) {
        table[slot] = dcmt.GetMaterial(static_cast<int64_t>(slot));
    }
    return table;
}

void DrawSelectionOnTop(const std::function<void()>& drawSelected) {
    GLint depthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glDepthFunc(GL_LEQUAL);
    drawSelected();
    glDepthFunc(static_cast<GLenum>(depthFunc));
}

void DrawElmntList(const CElmntList& list, const CRndrPass& pass,
                   const std::function<void(const CElmnt&)>& drawOne) {
    const bool selectedLast = pass.IsDraw();
    for (const CElmnt& elmnt : list) {
        if (!selectedLast || !elmnt.selected) {
            drawOne(elmnt);
        }
    }
    if (selectedLast) {
        DrawSelectionOnTop([&] {
            for (const CElmnt& elmnt : list) {
                if (elmnt.selected) {
                    drawOne(elmnt);
                }
            }
        });
    }
}

void DrawElmnt(const CElmnt& elmnt, const CRndrPass& pass, MtrlTable materials, Revision revision,
               ToolMode toolMode, DrawFlags drawFlags, const SDrawView* view) {
    if (!elmnt.IsAliveAt(revision)) {
        return;
    }
    if (HasFlag(drawFlags, DrawFlags::OnlySelected) && !elmnt.selected) {
        return;
    }
    pass.LoadName(elmnt.GetId().Value());
    const SKindInfo* info = FindKind(elmnt.kind);
    if (info == nullptr) {
        return;
    }
    if (info->hiddenWithoutPanels && HasFlag(drawFlags, DrawFlags::WithoutPanels)) {
        return;
    }
    const DrawRoutineFn routine = Routines[Slot(info->draw)];
    if (routine == nullptr) {
        return;
    }
    const SElmntDraw call{elmnt, pass, materials, revision, toolMode, drawFlags, view};
    routine(call);
}

namespace ElmntDraw {

CMatrixScope::CMatrixScope() {
    glPushMatrix();
}

CMatrixScope::~CMatrixScope() {
    glPopMatrix();
}

void MultTransform(const CTransform& transform) {
    glMultMatrixd(transform.GetGlMatrix().data());
}

void MultPlacement(const SElmntDraw& call, const CTransform& placement, double shiftX,
                   double shiftY, double shiftZ) {
    if (!call.Exploded()) {
        MultTransform(placement);
        return;
    }
    // Each element shrinks to 60 % about its own origin and stays in place; the kind's shift
    // then brings the shrunk body back over the middle of the full-size one.
    glMultMatrixd(placement.GetGlMatrixScaled(1.0, 0.6).data());
    if (shiftX != 0.0 || shiftY != 0.0 || shiftZ != 0.0) {
        glTranslated(shiftX, shiftY, shiftZ);
    }
}

void MultPlacement(const SElmntDraw& call, double shiftX, double shiftY, double shiftZ) {
    MultPlacement(call, call.elmnt.placement, shiftX, shiftY, shiftZ);
}

void ApplyMaterial(const SElmntDraw& call, bool textured) {
    ApplyMaterial(call, call.elmnt.GetMaterial(), textured);
}

void ApplyMaterial(const SElmntDraw& call, int32_t slot, bool textured) {
    if (const CMtrl* material = call.MaterialIn(slot)) {
        MtrlGl::Apply(*material, call.pass, call.elmnt.selected, textured);
    }
}

const CMtrl& GetHighlightMtrl() {
    // A function-local object: built on first use, destroyed after every drawing has ended.
    static const CMtrl highlight(0, std::string(), MtrlUse::All, 1.0f, 0.0f, 1.0f,
                                 SLightFactors{1.0f, 0.0f, 1.0f, 7.5f},
                                 SLightFactors{0.8f, 0.0f, 1.0f, 7.5f});
    return highlight;
}

void ApplyHighlightMtrl(const CRndrPass& pass) {
    MtrlGl::Apply(GetHighlightMtrl(), pass, false, true);
}

CTargetNameScope::CTargetNameScope() {
    glPushName(0);
}

CTargetNameScope::~CTargetNameScope() {
    glPopName();
}

void CTargetNameScope::LoadZone(int zone) const {
    glLoadName(static_cast<GLuint>(zone));
}

CSubNameScope::CSubNameScope(const CRndrPass& pass, int index) : m_pass(pass) {
    m_pass.PushName(static_cast<uint32_t>(index));
}

CSubNameScope::~CSubNameScope() {
    m_pass.PopName();
}

void DrawLine(const CVector3& from, const CVector3& to) {
    GlBatch::Begin(GL_LINES);
    GlBatch::Vertex(from.x, from.y, from.z);
    GlBatch::Vertex(to.x, to.y, to.z);
    GlBatch::End();
}

void DrawTriangleOutline(const CVector3& a, const CVector3& b, const CVector3& c) {
    GlBatch::Begin(GL_LINE_LOOP);
    GlBatch::Vertex(a.x, a.y, a.z);
    GlBatch::Vertex(b.x, b.y, b.z);
    GlBatch::Vertex(c.x, c.y, c.z);
    GlBatch::End();
}

} // namespace ElmntDraw
