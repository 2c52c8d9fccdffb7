// Turning an element to its next orientation variant about its own placement. The turn variant
// counts the steps taken (modulo 2, 4 or 16 by kind) so that a newly placed element can be
// turned as often as the one before it; bits 16 and 32, set by attaching, are kept where the
// kind needs them.
#include "model/Elmnt.h"
#include "support/Orientation.h"
#include "support/UserInterface.h"

namespace {

// Orientation codes of the turns (Orientation.h).
constexpr int HalfTurnAboutY = 3;
constexpr int SwapXYZReversed = 5; // round wooden panel
constexpr int SwapXYNegated = 8;   // round textile
constexpr int QuarterAboutX = 11;
constexpr int QuarterAboutY = 13;

constexpr int32_t VariantBit16 = 16;
constexpr int32_t VariantBit32 = 32;
constexpr int32_t StepBits = 0xF;

enum class TurnRule {
    None,
    HalfTurnNoCount, // slides, pools, wheels, bag: the count is not handed on
    HalfTurn,        // panels, lattice, seat back
    RoundWood,
    RoundTextile,
    Bolt,
    QuarterTurn, // casters, 45° coupling, clamp, profiles, roofs
    Clip,
    CouplingOnTube, // bearing, hole and flexible couplings
};

TurnRule RuleOf(ElmntKind kind) {
    switch (kind) {
    case ElmntKind::Slide:
    case ElmntKind::CurvedSlide:
    case ElmntKind::Pool:
    case ElmntKind::PoolSmall:
    case ElmntKind::SlideNew:
    case ElmntKind::MultiWheel:
    case ElmntKind::Bag:
    case ElmntKind::FloatingWheel:
        return TurnRule::HalfTurnNoCount;
    case ElmntKind::Panel:
    case ElmntKind::Display:
    case ElmntKind::Wood:
    case ElmntKind::WoodKnob:
    case ElmntKind::WoodBed:
    case ElmntKind::Textil:
    case ElmntKind::ChairSeatBack:
    case ElmntKind::Lattice:
        return TurnRule::HalfTurn;
    case ElmntKind::RoundWood:
        return TurnRule::RoundWood;
    case ElmntKind::TextilRound:
        return TurnRule::RoundTextile;
    case ElmntKind::Bolt:
        return TurnRule::Bolt;
    case ElmntKind::Casters:
    case ElmntKind::Connector45:
    case ElmntKind::Clamp:
    case ElmntKind::Alu:
    case ElmntKind::AluConnector:
    case ElmntKind::Roof:
    case ElmntKind::RoofLarge:
        return TurnRule::QuarterTurn;
    case ElmntKind::Clip:
        return TurnRule::Clip;
    case ElmntKind::BearingConnector:
    case ElmntKind::HoleConnector:
    case ElmntKind::FlexiConnector:
        return TurnRule::CouplingOnTube;
    default:
        return TurnRule::None;
    }
}

} // namespace

int CElmnt::TurnElement(Revision r, CElmntList* list, int32_t couplingMaterial, double snapRadiusSq,
                        bool beep) {
    const TurnRule rule = RuleOf(kind);
    if (rule == TurnRule::None) {
        if (beep) {
            GetUserInterface().Beep();
        }
        return 0;
    }
    if (list != nullptr) {
        BeginChange(r, *list, couplingMaterial);
    }
    const int32_t v = turnVariant;
    switch (rule) {
    case TurnRule::HalfTurnNoCount:
        ApplyOrientation(placement.rotation, HalfTurnAboutY);
        turnVariant = (v - 1) & 1;
        return 0;
    case TurnRule::HalfTurn:
        ApplyOrientation(placement.rotation, HalfTurnAboutY);
        turnVariant = (v - 1) & 1;
        return turnVariant;
    case TurnRule::RoundWood:
        ApplyOrientation(placement.rotation, SwapXYZReversed);
        turnVariant = (v - 1) & 1;
        return turnVariant;
    case TurnRule::RoundTextile:
        ApplyOrientation(placement.rotation, SwapXYNegated);
        turnVariant = (v - 1) & 1;
        return turnVariant;
    case TurnRule::Bolt: {
        // A 50 mm bolt and the longer ones start on opposite sides of the coupling.
        const bool shortBolt = length == 50.0f;
        const bool back = (v != 0) == shortBolt;
        MoveLocalX(back ? -50.0 : 50.0);
        turnVariant = (v - 1) & 1;
        return turnVariant;
    }
    case TurnRule::QuarterTurn:
        ApplyOrientation(placement.rotation, QuarterAboutX);
        turnVariant = (v + 1) & 3;
        return turnVariant;
    case TurnRule::Clip:
        // The clip steps through four positions along the tube before it turns a quarter.
        if ((v & 3) == 3) {
            ApplyOrientation(placement.rotation, QuarterAboutX);
        }
        turnVariant = ((v + 1) & 15) | (v & VariantBit16);
        return (v + 1) & 15;
    case TurnRule::CouplingOnTube:
        if ((v & VariantBit32) != 0) {
            // Placed on a tube end: its own end moves with the turn. A record in no list yet is
            // linked by the caller once it is appended.
            const bool linked = list != nullptr && GetList() != nullptr;
            if (linked) {
                UnlinkEnds(r, *list, couplingMaterial);
            }
            ApplyOrientation(placement.rotation, QuarterAboutY);
            if (linked) {
                LinkEnds(r, *list, couplingMaterial, snapRadiusSq);
            }
        } else {
            ApplyOrientation(placement.rotation, QuarterAboutX);
        }
        turnVariant = ((v + 1) & 3) | (v & 0xFFF0);
        return turnVariant;
    case TurnRule::None:
        break;
    }
    return 0;
}

void CElmnt::TurnElementTimes(CElmntList* list, int32_t couplingMaterial, double snapRadiusSq,
                              int n) {
    turnVariant &= ~StepBits;
    for (int i = 0; i < n; ++i) {
        TurnElement(firstRevision, list, couplingMaterial, snapRadiusSq, false);
    }
}
