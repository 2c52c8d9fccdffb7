// A new design document (start coupling at the origin, floor grid) with the steps that build
// designs in tests: place an element attached at a connection and delete one through the
// document operations that a click in the view calls, add a ready-made one record by record.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/Coupling.h"
#include "model/Elmnt.h"
#include "model/ElmntList.h"
#include "model/Mtrl.h"
#include "model/PlaceElement.h"
#include "model/ZarnelDcmt.h"

struct TestDesign {
    static constexpr int32_t CouplingMaterial = 1;

    CZarnelDcmt dcmt;
    CElmntIdSource& ids = dcmt.GetIdSource();
    CElmntList& list = dcmt.GetElmntList();
    double snapRadiusSq = CouplingSnap::NormalSq;
    CElmnt* start = list.GetAt(0);
    CElmnt* grid = list.GetAt(1);

    Revision Current() const { return dcmt.GetCurrentRevision(); }
    Revision Newest() const { return dcmt.GetNewestRevision(); }
    Revision NewRevision() { return dcmt.NewRevision(); }
    void Undo() { dcmt.OnEditUndo(CouplingMaterial, snapRadiusSq); }
    void Redo() { dcmt.OnEditRedo(CouplingMaterial, snapRadiusSq); }

    // The view's placing: the element attached at connection n of the target in a new revision,
    // turned, appended and linked, without the position adjustment. nullptr when nothing was
    // created (and no revision opened).
    CElmnt* Place(CElmnt& target, ToolMode toolMode, ElmntKind kind, float size1, float size2, int n,
                  int turns = 0) {
        const SAttachOrder order{.target = target.GetId(),
                                 .connection = n,
                                 .toolMode = toolMode,
                                 .kind = kind,
                                 .material = 2,
                                 .size1 = size1,
                                 .size2 = size2,
                                 .turnCount = turns};
        const ElmntId placed = PlaceAttached(dcmt, order, LinkSettings());
        return placed.IsValid() ? dcmt.FindElement(placed) : nullptr;
    }
    // Appends a ready-made element in a new revision and links it.
    CElmnt& Add(std::unique_ptr<CElmnt> elmnt) {
        const Revision r = NewRevision();
        elmnt->firstRevision = r;
        CElmnt& added = list.Append(std::move(elmnt));
        added.LinkEnds(r, list, CouplingMaterial, snapRadiusSq);
        return added;
    }
    // The view's deletion: the element ends in a new revision and frees its couplings.
    void Delete(CElmnt& elmnt) { DeleteElement(dcmt, elmnt.GetId(), LinkSettings()); }
    SLinkSettings LinkSettings() const { return {CouplingMaterial, snapRadiusSq, false}; }

    std::vector<CElmnt*> Alive() {
        std::vector<CElmnt*> alive;
        for (CElmnt& e : list) {
            if (e.IsAliveAt(Current())) {
                alive.push_back(&e);
            }
        }
        return alive;
    }
    std::vector<CElmnt*> AliveOfKind(ElmntKind kind) {
        std::vector<CElmnt*> found;
        for (CElmnt* e : Alive()) {
            if (e->kind == kind) {
                found.push_back(e);
            }
        }
        return found;
    }
    // The alive plain coupling at the point (within 1 mm), or nullptr.
    CElmnt* CouplingAt(CVector3 point) {
        for (CElmnt* e : AliveOfKind(ElmntKind::Connector)) {
            if (CVector3::DistSq(e->placement.translation, point) < 1.0) {
                return e;
            }
        }
        return nullptr;
    }
};

// Everything of a document that an operation may change, as text to compare: the revisions,
// the modified flag, the materials, every element state with its fields and flags, the parts
// table.
inline std::string DescribeDocument(const CZarnelDcmt& dcmt) {
    std::ostringstream out;
    out << dcmt.GetCurrentRevision() << '/' << dcmt.GetNewestRevision() << " modified "
        << dcmt.IsModified() << " slots " << dcmt.GetSlotsUsed() << '\n';
    for (int slot = 0; slot < CZarnelDcmt::GetMaterialCapacity(); ++slot) {
        if (const CMtrl* material = dcmt.GetMaterial(slot)) {
            out << "material " << slot << ' ' << material->GetName() << '\n';
        }
    }
    for (const CElmnt& e : dcmt.GetElmntList()) {
        const CVector3& at = e.placement.translation;
        out << e.GetId().Value() << ' ' << static_cast<int32_t>(e.kind) << ' ' << e.GetMaterial()
            << " [" << e.firstRevision << ',' << e.endRevision << ") arms "
            << e.GetOccupiedArms() << '/' << e.GetFreeArms() << '/' << e.GetFreeCornerSlots()
            << '/' << e.GetDirections() << " flags " << e.fixed << e.adjustPending << e.selected
            << e.floating << " at " << at.x << ',' << at.y << ',' << at.z << '\n';
    }
    for (const SPartEntry& entry : dcmt.GetPartsTable()) {
        out << entry.designation << ' ' << entry.count << '/' << entry.available << '\n';
    }
    return out.str();
}
