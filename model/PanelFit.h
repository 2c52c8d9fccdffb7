// Whether two tubes can carry a panel between them, and the panel's placement there. A panel is
// placed by picking two tubes: parallel at the distance of the panel's width or height, or
// meeting end to end at a right angle. The 3D view highlights the tubes that fit its first pick
// and places the panel with the frame computed here (then offsets it by CElmnt::SetPanelOffset).
// Lengths in millimetres.
#pragma once

#include "model/Elmnt.h"
#include "support/Transform.h"

// Tolerances of the fit.
namespace PanelFit {
inline constexpr double EndMeetDistSq = 51.0;    // squared distance up to which two ends meet
inline constexpr double PerpendicularCos = 0.01; // |cos| below this: axes at a right angle
inline constexpr double ParallelCos = 0.99;      // |cos| at least this: axes parallel
inline constexpr double MinPointDist = 0.1;      // least distance between the two tubes' points
inline constexpr double SizeTolerance = 51.0;    // axis distance against panel width or height
inline constexpr double MinOverlap = 149.0;      // least overlap along the first tube
} // namespace PanelFit

// Whether the second tube, together with the first, can carry a panel of the given width and
// height (the tool's sizes). cornerTest: the tubes meet end to end at a right angle;
// parallelTest: they are parallel at the distance of the width or the height and overlap along
// the first tube by at least 149 mm. False when either tube is missing, when they are the same
// element, and when the first tube is not alive at the current revision (a pick that undo has
// taken away).
bool CanHoldPanel(const CElmnt* firstTube, const CElmnt* secondTube, Revision currentRevision,
                  float panelWidth, float panelHeight, bool parallelTest, bool cornerTest);

// The placement of a panel between two tubes that fit. Corner case (the first pair of ends, in
// the order of the first tube's ends, that meet at a right angle): origin at the meeting end of
// the first tube, local X along the first tube and local Y along the second, both away from the
// corner. Parallel case: origin at the first tube's placement; the panel's length (local Y)
// spans the gap when the gap is within 51 mm of the panel height, else its width (local X) does.
// Local Z completes a right-handed frame.
CTransform GetPanelFrame(const CElmnt& firstTube, const CElmnt& secondTube, float panelHeight);
