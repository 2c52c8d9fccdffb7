// The head-trap test: openings between two parallel tubes in which a child's head could be
// caught (axes 151 to 299 mm apart, side by side over at least 149 mm, reaching up to 599 mm
// or higher) that no plug-in panel closes. It works on the design's geometry alone. The 3D
// view's command calls RunHeadTrapTest; the parts are open for tests.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/ElmntId.h"
#include "support/Vector3.h"

class CZarnelDcmt;

// Four corner points (mm) of a panel or an opening, in order round the outline.
using Outline = std::array<CVector3, 4>;

// True when the opening lies in the panel's plane (within 0.125 mm) and inside the panel (within
// 0.001 of a side). The panel's corners are given round its outline: corner frames 0, 1, 3 and
// 2; the panel is the parallelogram from corner 0 along the edges to corners 1 and 2. A
// degenerate panel covers nothing.
bool PanelCoversOpening(const Outline& panel, const Outline& opening);

// The tubes (kind Tube only) alive at the document's current revision that border an opening
// that no plug-in panel (kind Panel only) closes: the two tubes of every such opening, in list
// order of the pairs, each once.
std::vector<ElmntId> FindHeadTraps(const CZarnelDcmt& dcmt);

// The command "Kopffallentest" of the 3D view. Clears the selection (with the view's coupling
// material and the squared snap radius in mm²), selects the tubes of every head trap, updates all
// views with ViewHint::Selection and reports the count (4200), or that there is none (4201).
std::vector<ElmntId> RunHeadTrapTest(CZarnelDcmt& dcmt, int32_t couplingMaterial,
                                     double snapRadiusSq);
