// Editing one element's properties as the tube, panel and connector dialogs do it: the values a
// dialog shows (in centimetres, as the user sees them) and the document operations that apply
// them. Sizes, lengths and corrections change in a new revision with the couplings unlinked
// before and linked after; the coupling's fixed flag, the panel type and the material slot change
// the element's current state in place, without a revision, and mark the document modified.
//
// A value that a dialog hands back as it loaded it leaves the record's millimetres as they are,
// since centimetres times 10 need not give the same float back.
//
// Every operation names the element by its identity and looks it up at the current revision, so
// a dialog may keep the identity across its own changes. Each one that changes anything marks
// the document modified, recounts the parts table where the articles may change, and updates all
// views with ViewHint::Change; one that would change nothing opens no revision and tells no one.
#pragma once

#include <cstdint>
#include <span>

#include "model/Elmnt.h"
#include "model/ElmntId.h"

class CZarnelDcmt;

enum class EditResult {
    Applied,   // the element changed
    Unchanged, // the values were the element's own; nothing happened
    Refused,   // a value out of its range or not finite; nothing happened
    Gone,      // no element of a fitting kind is alive with the identity
};

// The tube dialog's values. The lengths are centimetres, the record's millimetres times 0.1.
struct STubeProps {
    static constexpr float LengthMin = 10.0f; // cm
    static constexpr float LengthMax = 10000.0f;

    float length = 0.0f;     // cm
    float correction = 0.0f; // cm, any finite value
    bool fixed = false;      // not moved by the position adjustment

    // The values of a tube as the dialog loads them.
    static STubeProps Of(const CElmnt& tube);
    bool operator==(const STubeProps&) const = default;
};

// The panel dialog's values, in centimetres. The corrections are shown but never written back.
struct SPanelProps {
    static constexpr float SizeMin = 5.0f; // cm, for length and width
    static constexpr float SizeMax = 10000.0f;

    float length = 35.0f; // cm, the record's length (local y extent)
    float width = 35.0f;  // cm, the record's second size (local x extent)
    bool fixed = false;
    float correction = 0.0f;       // cm, shown only
    float secondCorrection = 0.0f; // cm, shown only

    static SPanelProps Of(const CElmnt& panel);
};

// The eight panel types of the panel dialog in the order of its radio buttons: plug-in, display,
// wooden, wooden with knob, round wooden panel, metal lattice, wooden bed frame, textile.
std::span<const ElmntKind> GetPanelTypes();
// The index of a kind in GetPanelTypes(); -1 for a kind that is no panel type.
int GetPanelTypeIndex(ElmntKind kind);

// Tube or tube bend: a new length or correction unlinks the tube, sets the length and correction
// (the second size becomes 0) and links it again; a new fixed flag alone is set without linking.
// Either way in one new revision. couplingMaterial is the slot of couplings that linking creates,
// snapRadiusSq the squared search radius in mm² (CouplingSnap).
EditResult ApplyTubeProps(CZarnelDcmt& dcmt, ElmntId id, const STubeProps& props,
                          int32_t couplingMaterial, double snapRadiusSq);

// Panel-like element of the panel dialog: a new length or width unlinks the panel, resizes it so
// that corner 0 stays where it was, and links it again; a new fixed flag alone is set without
// linking. Either way in one new revision; the corrections are ignored.
EditResult ApplyPanelProps(CZarnelDcmt& dcmt, ElmntId id, const SPanelProps& props,
                           int32_t couplingMaterial, double snapRadiusSq);

// A coupling of the connector dialog: the fixed flag, in place.
EditResult SetCouplingFixed(CZarnelDcmt& dcmt, ElmntId id, bool fixed);

// A panel of one of the panel types becomes another panel type, in place.
EditResult SetPanelType(CZarnelDcmt& dcmt, ElmntId id, ElmntKind type);

// Any element: the material slot, in place. Refused for a slot that holds no material.
EditResult SetElementMaterial(CZarnelDcmt& dcmt, ElmntId id, int32_t slot);

// A panel of one of the panel types turns one step (CElmnt::TurnElement, no beep) in a new
// revision, unlinked before and linked after, since the round panel's turn swaps its sides.
EditResult TurnPanel(CZarnelDcmt& dcmt, ElmntId id, int32_t couplingMaterial, double snapRadiusSq);
