// A new design document (start coupling at the origin, floor grid) with the steps that build
// designs in tests: place an element attached at a connection and delete one through the
// document operations that a click in the view calls, add a ready-made one record by record.
#pragma once

#include <memory>
#include <vector>

#include "model/Coupling.h"
#include "model/Elmnt.h"
#include "model/ElmntList.h"
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
