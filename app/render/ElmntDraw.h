// The one entry through which every element of a design is drawn, in every pass (drawing,
// picking by GL selection, placing by feedback of connection axes, the collision test's
// feedback of surfaces), and what the drawing routines of all kinds have in common: pass
// filter, placement with the explosion transform, material, and the highlight of the elements
// on which the current tool can place a part. Records are drawn as they are (const); nothing
// is kept between calls.
//
// The rules for a drawing routine, so that the merged drawing (MergedScene.h) draws the picture
// that drawing element by element draws:
// - Geometry goes to GL through GlBatch only (or a CGlMesh, which replays batches): the batch
//   layer is where gathering takes it from, and the picking passes need its vertex arrays.
// - Geometry that depends only on a shape, its variant and the detail stride is built once and
//   kept (MeshCache); only what follows the record is built at each call.
// - GL state it may set: the model-view matrix inside a CMatrixScope, names through the pass and
//   the name scopes, lighting, shade model, material, colour and normal (MtrlGl, GlBatch),
//   texturing and texture generation. A capability of DrawKey.cpp's list or a line width, point
//   size, depth function, depth mask or polygon mode other than gathering's makes the element
//   drawn by itself; any other state is not seen by gathering, so it must not be set at all.
// - Everything it draws, in every pass and tool mode, lies inside the element's cull sphere
//   (GetDrawRadius, Frustum.h): outside it the element is left out.
// - Everything it reads is in the keys of DrawKey.h: a field of the record, of a material or of
//   the view that drawing starts to read goes into the key in the same change.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "app/render/DrawFlags.h"
#include "app/render/RndrPass.h"
#include "model/Elmnt.h"
#include "model/ToolMode.h"

class CMtrl;
class CVrmlViewer;
class CZarnelDcmt;

// The document's material table: a pointer per material slot (nullptr for an empty slot),
// indexed by slot. Borrowed for one drawing.
using MtrlTable = std::span<const CMtrl* const>;

// The document's materials as a table for drawing, valid until the document's materials change.
std::vector<const CMtrl*> GetMtrlTable(const CZarnelDcmt& dcmt);

// What the drawing needs of the 3D view beyond the document: the state of the two-click panel
// tool, whose tubes are highlighted when they fit the first one, and the view's viewer of the
// slide model.
struct SDrawView {
    const CElmnt* firstTube = nullptr; // first picked tube; nullptr before the first pick
    float panelWidth = 0.0f;           // the tool's panel sizes (mm), as CanHoldPanel takes them
    float panelHeight = 0.0f;
    CVrmlViewer* vrmlViewer = nullptr; // owned by the view; nullptr: the slide model is not drawn
};

// One element drawing call. Everything is borrowed for the call.
struct SElmntDraw {
    const CElmnt& elmnt;
    const CRndrPass& pass;
    MtrlTable materials;
    Revision revision;
    ToolMode toolMode;
    DrawFlags drawFlags;
    const SDrawView* view; // nullptr when drawn without a view (nothing of the view is in force)

    // Detail stride of curved surfaces: 1, 2 or 4.
    int Detail() const { return pass.GetDetail(); }
    // Where the drawing keeps its tessellations (MeshCache.h); nullptr: nowhere.
    CMeshCache* Meshes() const { return pass.GetMeshes(); }
    // Bodies are drawn in the drawing, selection and surface passes, never in the axis
    // feedback, which returns only connection axes and markers.
    bool DrawsBody() const { return pass.GetMode() != RndrMode::AxisFeedback; }
    bool Has(DrawFlags flag) const { return HasFlag(drawFlags, flag); }
    bool Exploded() const { return Has(DrawFlags::Explosion); }
    // The material in a slot of the table. A slot that holds none (empty, or outside the table:
    // a design file or a paste may name one) stands for slot 1, so that such an element looks
    // the same whatever was drawn before it; nullptr only when slot 1 is empty too, which a
    // document's table never is.
    const CMtrl* MaterialIn(int32_t slot) const;
    // The material in the element's slot, as above.
    const CMtrl* Material() const { return MaterialIn(elmnt.GetMaterial()); }
};

// Draws the element when it is alive at the revision: filters by the display flags, names the
// element by its identity (top selection name in a selection pass, pass-through token in both
// feedback passes, also for kinds that then draw nothing) and hands it to the routine of its
// kind. The caller has set projection and model view and, in a selection pass, pushed one
// name, which this call replaces. The model-view stack is as deep on return as on entry.
void DrawElmnt(const CElmnt& elmnt, const CRndrPass& pass, MtrlTable materials, Revision revision,
               ToolMode toolMode, DrawFlags drawFlags, const SDrawView* view = nullptr);

// Runs drawSelected with a depth test that lets what it draws win at equal depth (GL_LEQUAL),
// then restores the depth function: the selected elements, drawn after all others, so that
// their highlight shows where a selected element's surface coincides with another element's
// (a copy pasted in place).
void DrawSelectionOnTop(const std::function<void()>& drawSelected);

// The elements of the list through drawOne: in a draw pass the selected ones after the others
// (DrawSelectionOnTop); in any other pass in list order, as picking and feedback expect.
void DrawElmntList(const CElmntList& list, const CRndrPass& pass,
                   const std::function<void(const CElmnt&)>& drawOne);

// Helpers of the drawing routines.
namespace ElmntDraw {

// Pushes the model-view matrix and pops it again at the end of the scope.
class CMatrixScope {
public:
    CMatrixScope();
    ~CMatrixScope();
    CMatrixScope(const CMatrixScope&) = delete;
    CMatrixScope& operator=(const CMatrixScope&) = delete;
};

// Multiplies the model view by a placement (mm); in explosion drawing by the placement shrunk
// to 60 % about its own origin, followed by the kind's explosion shift (in the shrunk frame).
void MultPlacement(const SElmntDraw& call, const CTransform& placement, double shiftX = 0.0,
                   double shiftY = 0.0, double shiftZ = 0.0);
// The same for the element's own placement.
void MultPlacement(const SElmntDraw& call, double shiftX = 0.0, double shiftY = 0.0,
                   double shiftZ = 0.0);
// Multiplies the model view by a placement as it is, unscaled.
void MultTransform(const CTransform& transform);

// Applies the element's material for the pass (selected highlight by its flag); textured only
// for bodies drawn with texture coordinates.
void ApplyMaterial(const SElmntDraw& call, bool textured);
// The same with the material of a given slot, for kinds whose faces take fixed slots.
void ApplyMaterial(const SElmntDraw& call, int32_t slot, bool textured);

// The magenta material of the targets of the current tool, shared by every routine: built on
// first use, destroyed at exit.
const CMtrl& GetHighlightMtrl();
// Applies the highlight material for the pass (not selected, texture allowed).
void ApplyHighlightMtrl(const CRndrPass& pass);

// The raw selection name under which a target is drawn: pushes name 0 (only selection mode has
// a name stack; elsewhere GL ignores it), so that a pick on a target returns the element and
// the zone (0 for the whole body). Pops it at the end of the scope.
class CTargetNameScope {
public:
    CTargetNameScope();
    ~CTargetNameScope();
    CTargetNameScope(const CTargetNameScope&) = delete;
    CTargetNameScope& operator=(const CTargetNameScope&) = delete;
    // The zone whose target geometry follows.
    void LoadZone(int zone) const;
};

// Emits the geometry that follows under a sub-name (axis, marker index below 2000): pushed at
// construction, popped at the end of the scope.
class CSubNameScope {
public:
    CSubNameScope(const CRndrPass& pass, int index);
    ~CSubNameScope();
    CSubNameScope(const CSubNameScope&) = delete;
    CSubNameScope& operator=(const CSubNameScope&) = delete;

private:
    const CRndrPass& m_pass;
};

// Line primitives of axes and markers, in mm.
void DrawLine(const CVector3& from, const CVector3& to);
// Closed outline of a triangle.
void DrawTriangleOutline(const CVector3& a, const CVector3& b, const CVector3& c);

} // namespace ElmntDraw
