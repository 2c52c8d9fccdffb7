// The document operations behind a click in the 3D view: placing an element attached to another,
// placing a panel between two tubes, deleting one element and turning one element. The view
// picks and decides (the target and its connection, the kind, its material and sizes, whether
// the user agreed); the operation here opens its revision only once it knows that it changes
// something, makes the change with the automatic couplings that go with it, runs the position
// adjustment left pending when the settings ask for it, marks the document modified, recounts
// the parts table and tells every view. Elements are named by identity and looked up alive at
// the current revision.
#pragma once

#include <cstdint>
#include <optional>

#include "model/ElmntId.h"
#include "model/ElmntKind.h"
#include "model/ToolMode.h"

class CZarnelDcmt;

// How an insertion or a deletion links its ends: the view's settings.
struct SLinkSettings {
    int32_t couplingMaterial = 0; // slot of the couplings that linking creates
    double snapRadiusSq = 0.0;    // mm², within which couplings are found (CouplingSnap)
    bool autoAdjust = true;       // the position adjustment left pending runs afterwards
};

// The tool's element attached at a connection of a target element (CElmnt::CreateAttached).
struct SAttachOrder {
    ElmntId target;
    int connection = -1;
    ToolMode toolMode = ToolMode::AtConnection;
    ElmntKind kind = ElmntKind::None;
    int32_t material = 0;
    float size1 = 0.0f; // mm, as CreateAttached takes them
    float size2 = 0.0f;
    uint32_t holeArms = 0; // arm mask that a hole coupling receives
    // Placed at a connection axis: a bearing coupling moves 103 mm along its own X, a hole or
    // flexible coupling 50 mm; these and a bolt take the place of the automatic coupling at
    // their connection point 0, which ends in the same revision.
    bool atAxis = false;
    int turnCount = 0; // turns of the new element (as many as the one placed before)
};

// A panel-like element between two alive tubes that can hold it (CanHoldPanel, both tests), at
// GetPanelFrame's placement moved to its centre, fixed as the second tube is.
struct SPanelOrder {
    ElmntId firstTube;
    ElmntId secondTube;
    ElmntKind kind = ElmntKind::None;
    int32_t material = 0;
    float length = 0.0f; // mm: the tool's panel length (height) and width
    float width = 0.0f;
    int turnCount = 0;
};

// Each placing turns the new element by the order's turn count, appends it, links it and
// updates the views with ViewHint::Insertion; it returns the new element's identity. Nothing
// (no identity, no revision) when the target is not alive or the rules of attaching create
// nothing.
ElmntId PlaceAttached(CZarnelDcmt& dcmt, const SAttachOrder& order, const SLinkSettings& settings);
// Nothing, and no revision, when a tube is not alive, both are the same element, the kind is not
// panel-like or the tubes cannot hold the panel.
ElmntId PlacePanelBetween(CZarnelDcmt& dcmt, const SPanelOrder& order,
                          const SLinkSettings& settings);
// The element ends in a new revision and frees the arms and corner slots it held; couplings left
// without arms end with it. ViewHint::Deletion. False, and no revision, when it is not alive.
bool DeleteElement(CZarnelDcmt& dcmt, ElmntId id, const SLinkSettings& settings);
// One turning step of the element (CElmnt::TurnElement, no beep) in a revision that is kept only
// when the element changed; ViewHint::Change. The turn count for the next new element, or
// nothing when the element is not alive or its kind does not turn.
std::optional<int> TurnElement(CZarnelDcmt& dcmt, ElmntId id, int32_t couplingMaterial,
                               double snapRadiusSq);
