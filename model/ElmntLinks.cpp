// Linking element ends and panel corners to couplings.
#include "model/Elmnt.h"

void CElmnt::LinkEnds(Revision r, CElmntList& list, int32_t couplingMaterial, double snapRadiusSq) {
    if (floating) {
        return;
    }
    // Couplings are not found or created yet: an element's ends stay as they are.
}
