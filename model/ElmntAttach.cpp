// The rules by which a new element is attached at connection n of an existing one (the target):
// first by the tool mode, then by the pair of target kind and new kind. Distances in millimetres.
#include <optional>

#include "model/ConnTables.h"
#include "model/Elmnt.h"
#include "model/ToolMode.h"
#include "support/Orientation.h"

namespace {

// Turn-variant bits that attaching sets and the turning and drawing read.
constexpr int32_t VariantBit16 = 16;
constexpr int32_t VariantBit32 = 32;

// The bolt's two connections lie this far behind and ahead of its centre.
constexpr double BoltConnOffset = 50.0;
// Arms along a bearing coupling, wheels along a tube, clamp connections: one every 100 mm.
constexpr double ArmSpacing = 100.0;
// The first wheel or bearing coupling on a tube sits this far from its start.
constexpr double FirstWheelOffset = 50.0;
// A clamp's connections start 60 mm from its placement and lie 50 mm below it; a clip's 55 mm
// to its side.
constexpr double ClampFirstConn = 60.0;
constexpr double ClampDepth = 50.0;
constexpr double ClipSide = 55.0;
// The body of hole and flexible couplings: a steering lock or a coupling at a tube end sits
// this far back along it.
constexpr double HoleCouplingBody = 50.0;

// Floor grid: 33 x 33 points 200 mm apart, centred on the grid element.
constexpr int GridSide = 33;
constexpr int GridPoints = GridSide * GridSide;
constexpr double GridSpacing = 200.0;
constexpr double GridHalfWidth = GridSpacing * (GridSide / 2);

bool IsHoleOrFlexi(ElmntKind kind) {
    return kind == ElmntKind::HoleConnector || kind == ElmntKind::FlexiConnector;
}

// How the new element's fixed flag follows the target.
enum class FixedRule {
    AsTarget,
    BySide, // fixed when the target is fixed and its direction bit of side n is clear
    ByMask, // fixed when the target is fixed and has no direction bit at all
    Fixed,
    Free,
};

// What one rule decided: placement, fixed rule, sizes and the finishing touches.
struct SAttach {
    CTransform placement;
    FixedRule fixed = FixedRule::AsTarget;
    bool callerSizes = true; // else the sizes below
    float length = 0.0f;
    float secondSize = 0.0f;
    int32_t variantBits = 0;
    bool panelOffset = false;
};

// A matched row: a placement, or none when the row matched but creates nothing.
using RowResult = std::optional<std::optional<SAttach>>;
constexpr RowResult NoRow = std::nullopt;

RowResult Nothing() {
    return std::optional<SAttach>{};
}

RowResult Made(SAttach attach) {
    return std::optional<SAttach>{attach};
}

RowResult At(const CTransform& placement, FixedRule fixed = FixedRule::AsTarget) {
    SAttach attach;
    attach.placement = placement;
    attach.fixed = fixed;
    return Made(attach);
}

// A turned copy of a frame, or nothing when the table lookup failed.
RowResult FromTurn(std::optional<CTransform> turned, FixedRule fixed) {
    if (!turned) {
        return Nothing();
    }
    return At(*turned, fixed);
}

RowResult Moved(CTransform placement, double dx, double dy, double dz, FixedRule fixed) {
    placement.MoveX(dx);
    placement.MoveY(dy);
    placement.MoveZ(dz);
    return At(placement, fixed);
}

RowResult WithSizes(RowResult row, float length, float secondSize) {
    if (row && *row) {
        (*row)->callerSizes = false;
        (*row)->length = length;
        (*row)->secondSize = secondSize;
    }
    return row;
}

// ---- The rows by tool mode ------------------------------------------------------------------
// Each gives NoRow when its target or kind condition fails, so that the rules by pair of kinds
// are tried.

// Mode 1: at an arm of a coupling, at a bolt's ends, along a bearing coupling or a clamp.
RowResult AtConnection(const CElmnt& target, int n) {
    const ElmntKind kind = target.kind;
    const CTransform& place = target.placement;
    if (kind == ElmntKind::Bolt) {
        if (n < 2) {
            return Moved(place, BoltConnOffset * (n - 1), 0.0, 0.0, FixedRule::AsTarget);
        }
        return FromTurn(place.TurnXToSide(Side::MinusX), FixedRule::AsTarget);
    }
    if (HasKindBits(kind, KindBit::CouplingLike)) {
        return FromTurn(target.GetConnFrame(0).TurnXToSide(n), FixedRule::BySide);
    }
    if (kind == ElmntKind::BearingConnector) {
        // Arms 0 to 3 point one way along local Y, 100 mm apart; arms 4 and up the other way.
        CTransform t = place;
        if (n < 4) {
            t.MoveY((n + 1) * ArmSpacing);
            t.Turn90(0, 1);
        } else {
            t.MoveY((3 - n) * ArmSpacing);
            t.Turn90(1, 0);
        }
        return At(t);
    }
    if (kind == ElmntKind::Clamp) {
        return Moved(place, -ClampFirstConn - ArmSpacing * n, 0.0, -ClampDepth,
                     FixedRule::AsTarget);
    }
    if (kind == ElmntKind::Clip) {
        const bool turned = (target.turnVariant & VariantBit16) != 0;
        const double along = -ClampFirstConn - ArmSpacing * n;
        RowResult row = Moved(place, turned ? -along : along, ClipSide, 0.0, FixedRule::AsTarget);
        if (turned) {
            (*row)->placement.Flip(2, 0);
        }
        return row;
    }
    return NoRow;
}

// Modes 0x20000 and 0x30000: a 45° coupling lying flat or upright at a coupling's arm.
RowResult Coupling45AtArm(const CElmnt& target, int n, int secondSide) {
    if (!HasKindBits(target.kind, KindBit::CouplingLike)) {
        return NoRow;
    }
    return FromTurn(target.GetConnFrame(0).TurnToSides(n, secondSide), FixedRule::BySide);
}

// Mode 0x40000: a 45° coupling at an end of a tube, turned n % 6 about the end's axis.
RowResult Coupling45AtEnd(const CElmnt& target, int n) {
    if (!HasKindBits(target.kind, KindBit::EndsTakeCouplings)) {
        return NoRow;
    }
    if (n >= 12) {
        return Nothing();
    }
    std::optional<CTransform> t = target.GetEndFrame(n / 6).TurnToSides(Side::MinusX, n % 6);
    if (!t) {
        return Nothing();
    }
    t->MoveX(Branch45Length);
    ApplyOrientation(t->rotation, 2);
    t->RotateDeg(45.0, 0, 1);
    t->MoveX(-Branch45Offset);
    return FromTurn(t, FixedRule::Free);
}

// Modes 2, 4 and 8: a round tube rising, falling or lying flat at a coupling. Indexes 6 to 11
// of the rising and falling bends stand for the arcs along arm n - 6; like indexes 0 to 5 they
// are drawn in the coupling's connection frame, so both start from it.
RowResult RoundTube(const CElmnt& target, ToolMode mode, int n) {
    if (!HasKindBits(target.kind, KindBit::CouplingLike)) {
        return NoRow;
    }
    const CTransform conn = target.GetConnFrame(0);
    if (mode == ToolMode::RoundTubeFlat) {
        if (n >= static_cast<int>(FlatRoundTubeSides.size())) {
            return Nothing();
        }
        const auto& sides = FlatRoundTubeSides[static_cast<std::size_t>(n)];
        return FromTurn(conn.TurnToSides(sides[0], sides[1]), FixedRule::ByMask);
    }
    const int up = mode == ToolMode::RoundTubeUp ? Side::PlusY : Side::MinusY;
    const int down = mode == ToolMode::RoundTubeUp ? Side::MinusY : Side::PlusY;
    return FromTurn(n < 6 ? conn.TurnToSides(up, n) : conn.TurnToSides(n - 6, down),
                    FixedRule::ByMask);
}

// Mode 0x10000: a panel of the caller's sizes with its corner 0 at a coupling, moved to its
// centre.
RowResult SpecialPanel(const CElmnt& target, int n) {
    if (!HasKindBits(target.kind, KindBit::CouplingLike)) {
        return NoRow;
    }
    RowResult row = FromTurn(target.GetConnFrame(0).TurnBySide(n), FixedRule::ByMask);
    if (*row) {
        (*row)->panelOffset = true;
    }
    return row;
}

// Mode 0x70000: behind a hole or flexible coupling's body, or on a wheel bearing.
RowResult SteeringLock(const CElmnt& target) {
    if (IsHoleOrFlexi(target.kind)) {
        return Moved(target.placement, -HoleCouplingBody, 0.0, 0.0, FixedRule::AsTarget);
    }
    if (target.kind == ElmntKind::Bearing) {
        return At(target.placement);
    }
    return NoRow;
}

// Mode 0x110000: a start coupling at grid point n, counted in columns of 33.
RowResult OnFloorGrid(const CElmnt& target, int n) {
    if (target.kind != ElmntKind::FloorGrid) {
        return NoRow;
    }
    if (n >= GridPoints) {
        return Nothing();
    }
    return WithSizes(Moved(target.placement, -GridHalfWidth + GridSpacing * (n / GridSide), 0.0,
                           -GridHalfWidth + GridSpacing * (n % GridSide), FixedRule::Fixed),
                     0.0f, 0.0f);
}

// Mode 0x80000: caps and bolts on a tube end, facing out; hole and flexible couplings pushed
// onto it. n other than 0 is the far end.
RowResult AtTubeEnd(const CElmnt& target, ElmntKind newKind, int n) {
    if (target.kind != ElmntKind::Tube && !IsHoleOrFlexi(target.kind)) {
        return NoRow;
    }
    CTransform end = target.GetEndFrame(n != 0 ? 1 : 0);
    if (newKind == ElmntKind::TubeCap || newKind == ElmntKind::HubCap ||
        newKind == ElmntKind::Bolt) {
        end.Flip(2, 0);
        return At(end);
    }
    if (IsHoleOrFlexi(newKind)) {
        end.Turn90(1, 0);
        end.MoveX(-HoleCouplingBody);
        RowResult row = At(end);
        (*row)->variantBits = VariantBit32;
        return row;
    }
    return Nothing();
}

// Mode 0x50000: a multi wheel or a bearing coupling at position n along a tube or a bearing.
RowResult OnPickedMultiWheel(const CElmnt& target, ElmntKind newKind, int n) {
    if (target.kind != ElmntKind::Tube && target.kind != ElmntKind::Bearing) {
        return NoRow;
    }
    if (newKind != ElmntKind::MultiWheel && newKind != ElmntKind::BearingConnector) {
        return NoRow;
    }
    RowResult row = WithSizes(Moved(target.placement, ArmSpacing * n + FirstWheelOffset, 0.0, 0.0,
                                    FixedRule::AsTarget),
                              0.0f, 0.0f);
    if (newKind == ElmntKind::BearingConnector) {
        (*row)->placement.Turn90(0, 1);
        (*row)->variantBits = VariantBit32;
    }
    return row;
}

RowResult AttachByToolMode(const CElmnt& target, ToolMode mode, ElmntKind newKind, int n) {
    switch (mode) {
    case ToolMode::AtConnection:
        return AtConnection(target, n);
    case ToolMode::Coupling45Flat:
        return Coupling45AtArm(target, n, Side::PlusY);
    case ToolMode::Coupling45Upright:
        return Coupling45AtArm(target, n, Side::PlusX);
    case ToolMode::Coupling45AtEnd:
        return Coupling45AtEnd(target, n);
    case ToolMode::RoundTubeUp:
    case ToolMode::RoundTubeDown:
    case ToolMode::RoundTubeFlat:
        return RoundTube(target, mode, n);
    case ToolMode::SpecialPanel:
        return SpecialPanel(target, n);
    case ToolMode::SteeringLock:
        return SteeringLock(target);
    case ToolMode::StartCoupling:
        return OnFloorGrid(target, n);
    case ToolMode::AtTubeEnd:
        return AtTubeEnd(target, newKind, n);
    case ToolMode::OnPickedMultiWheel:
        return OnPickedMultiWheel(target, newKind, n);
    default:
        return NoRow;
    }
}

// ---- The rules by pair of kinds -------------------------------------------------------------
// All start from the target's placement with the target's fixed flag.

bool IsSlideLike(ElmntKind kind) {
    return kind == ElmntKind::Slide || kind == ElmntKind::SlideNew ||
           kind == ElmntKind::CurvedSlide || kind == ElmntKind::Pool ||
           kind == ElmntKind::PoolSmall || kind == ElmntKind::Bag;
}

std::optional<SAttach> AttachByKinds(const CElmnt& target, ElmntKind newKind, float size1, int n) {
    const ElmntKind kind = target.kind;
    CTransform t = target.placement;
    SAttach attach;
    attach.callerSizes = false;
    const bool even = n % 2 == 0;
    // Clamps and clips on a tube: pairs of positions 100 mm apart, 60 and 40 mm into each.
    const double clampAlong = ArmSpacing * n + (even ? 60.0 : 40.0);

    if (kind == ElmntKind::Tube && newKind == ElmntKind::Clamp) {
        t.MoveX(clampAlong);
        if (!even) {
            t.Flip(0, 1);
        }
    } else if (kind == ElmntKind::Tube && newKind == ElmntKind::Clip) {
        t.MoveX(clampAlong);
        if (!even) {
            attach.variantBits = VariantBit16;
        }
    } else if (kind == ElmntKind::Tube && newKind == ElmntKind::Alu) {
        if (n != 0) {
            t.MoveX(target.GetLength());
            t.Flip(2, 0);
        }
        attach.length = size1;
    } else if (kind == ElmntKind::Alu && newKind == ElmntKind::AluConnector) {
        if (n != 0) {
            t.MoveX(target.GetLength());
        }
        attach.length = size1;
    } else if (kind == ElmntKind::Tube && newKind == ElmntKind::FloatingWheel) {
        t.MoveX(200.0 * n + 100.0);
    } else if (kind == ElmntKind::Tube && IsSlideLike(newKind)) {
        t.MoveX(200.0);
    } else if (kind == ElmntKind::Tube &&
               (newKind == ElmntKind::Roof || newKind == ElmntKind::RoofLarge)) {
        t.MoveX(400.0);
    } else if (kind == ElmntKind::RoundTube && newKind == ElmntKind::TextilRound) {
        t.MoveX(400.0);
    } else if (kind == ElmntKind::Slide && newKind == ElmntKind::SlideEnd) {
        t.MoveZ(1200.0);
        t.MoveY(-800.0);
    } else if (kind == ElmntKind::CurvedSlide && newKind == ElmntKind::SlideEnd) {
        t.MoveX(600.0);
        t.MoveZ(600.0);
        t.MoveY(-800.0);
        t.Turn90(0, 2);
    } else if (kind == ElmntKind::FlexiConnector && newKind == ElmntKind::FlexiConnector) {
        t.Turn90(1, 2);
        attach.variantBits = VariantBit16;
    } else {
        return std::nullopt;
    }
    attach.placement = t;
    return attach;
}

} // namespace

std::unique_ptr<CElmnt> CElmnt::CreateAttached(Revision r, ToolMode toolMode, ElmntKind newKind,
                                               int32_t newMaterial, float size1, float size2,
                                               int n) const {
    if (n < 0 || !IsValidMaterialSlot(newMaterial)) {
        return nullptr;
    }
    std::optional<SAttach> attach;
    if (RowResult row = AttachByToolMode(*this, toolMode, newKind, n)) {
        attach = *row;
    } else {
        attach = AttachByKinds(*this, newKind, size1, n);
    }
    if (!attach) {
        return nullptr;
    }

    bool newFixed = fixed;
    switch (attach->fixed) {
    case FixedRule::AsTarget:
        break;
    case FixedRule::BySide:
        newFixed = fixed && (GetDirections() & uint32_t(SideBit(n))) == 0;
        break;
    case FixedRule::ByMask:
        newFixed = fixed && GetDirections() == 0;
        break;
    case FixedRule::Fixed:
        newFixed = true;
        break;
    case FixedRule::Free:
        newFixed = false;
        break;
    }
    const float newLength = attach->callerSizes ? size1 : attach->length;
    const float newSecondSize = attach->callerSizes ? size2 : attach->secondSize;
    auto created = std::make_unique<CElmnt>(GetIdSource(), r, newKind, newMaterial,
                                            attach->placement, newFixed, newLength, newSecondSize);
    created->turnVariant |= attach->variantBits;
    if (attach->panelOffset) {
        created->SetPanelOffset();
    }
    return created;
}
