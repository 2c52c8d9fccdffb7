// The two ways a state of an element is split for the history: a change keeps the old state as
// a copy that ends where the change begins; a copying move leaves a copy that lives on.
#include <algorithm>
#include <memory>

#include "model/Elmnt.h"
#include "model/ElmntList.h"

void CElmnt::BeginChange(Revision r, CElmntList& list, int32_t couplingMaterial) {
    if (firstRevision == r) {
        return; // split in this revision before
    }
    auto copy = std::make_unique<CElmnt>(*this);
    // A state that had ended before r must not come alive again through its copy.
    copy->endRevision = std::min(endRevision, r);
    // Deselecting is all that finishing the copy's change does: it is not alive at r, so it
    // is never linked.
    copy->selected = false;
    list.Append(std::move(copy));
    firstRevision = r;
}

void CElmnt::LeaveCopy(Revision r, CElmntList& list, int32_t couplingMaterial,
                       double snapRadiusSq) {
    auto copy = std::make_unique<CElmnt>(*this);
    if (copy->selected && copy->floating && copy->IsAliveAt(r)) {
        copy->floating = false;
        copy->LinkEnds(r, list, couplingMaterial, snapRadiusSq);
    }
    copy->selected = false;
    list.Append(std::move(copy));
    firstRevision = r;
}
