// Connection, end and corner frames of the element kinds, the box test, and the rules by which a
// new element is attached at a connection of an existing one.
#include <optional>

#include "model/ConnTables.h"
#include "model/Elmnt.h"
#include "support/Box3.h"
#include "support/Orientation.h"

namespace {

// The tool modes that attaching distinguishes (the view's interaction modes).
namespace Mode {
constexpr int32_t AtConnection = 1;
constexpr int32_t RoundTubeUp = 2;
constexpr int32_t RoundTubeDown = 4;
constexpr int32_t RoundTubeFlat = 8;
constexpr int32_t SpecialPanel = 0x10000;
constexpr int32_t Coupling45Flat = 0x20000;
constexpr int32_t Coupling45Upright = 0x30000;
constexpr int32_t Coupling45AtEnd = 0x40000;
constexpr int32_t OnPickedWheel = 0x50000;
constexpr int32_t SteeringLock = 0x70000;
constexpr int32_t AtTubeEnd = 0x80000;
constexpr int32_t FloorGrid = 0x110000;
} // namespace Mode

// Turn-variant bits that attaching sets and the turning and drawing read.
constexpr int32_t VariantBit16 = 16;
constexpr int32_t VariantBit32 = 32;

// Floor grid: 33 x 33 points 200 mm apart, centred on the grid element.
constexpr int GridSide = 33;
constexpr int GridPoints = GridSide * GridSide;

// Branch of the 45° coupling: along the body, then turned back by 135° to the branch's axis.
constexpr double Branch45Offset = 108.3;
constexpr double Branch45Length = 36.0;

bool Is(ElmntKind kind, ElmntKind other) {
    return kind == other;
}

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

// A turned copy of a frame, or nothing when the table lookup failed.
RowResult FromTurn(std::optional<CTransform> turned, FixedRule fixed) {
    if (!turned) {
        return Nothing();
    }
    SAttach attach;
    attach.placement = *turned;
    attach.fixed = fixed;
    return Made(attach);
}

RowResult Moved(CTransform placement, double dx, double dy, double dz, FixedRule fixed) {
    placement.MoveX(dx);
    placement.MoveY(dy);
    placement.MoveZ(dz);
    SAttach attach;
    attach.placement = placement;
    attach.fixed = fixed;
    return Made(attach);
}

RowResult WithSizes(RowResult row, float length, float secondSize) {
    if (row && *row) {
        (*row)->callerSizes = false;
        (*row)->length = length;
        (*row)->secondSize = secondSize;
    }
    return row;
}

// The rows by tool mode. NoRow when the mode is not in the table or the row's target or kind
// condition fails, so that the rules by pair of kinds are tried.
RowResult AttachByToolMode(const CElmnt& target, int32_t toolMode, ElmntKind newKind, int n) {
    const ElmntKind kind = target.kind;
    const bool couplingLike = HasKindBits(kind, KindBit::CouplingLike);
    const CTransform conn = target.GetConnFrame(0);
    const CTransform& place = target.placement;

    switch (toolMode) {
    case Mode::AtConnection:
        if (couplingLike && !Is(kind, ElmntKind::Bolt)) {
            return FromTurn(conn.TurnXToSide(n), FixedRule::BySide);
        }
        if (Is(kind, ElmntKind::Bolt)) {
            if (n < 2) {
                return Moved(place, 50.0 * n - 50.0, 0.0, 0.0, FixedRule::AsTarget);
            }
            return FromTurn(place.TurnXToSide(Side::MinusX), FixedRule::AsTarget);
        }
        if (Is(kind, ElmntKind::BearingConnector)) {
            CTransform t = place;
            if (n < 4) {
                t.MoveY((n + 1) * 100.0);
                t.Turn90(0, 1);
            } else {
                t.MoveY((3 - n) * 100.0);
                t.Turn90(1, 0);
            }
            SAttach attach;
            attach.placement = t;
            return Made(attach);
        }
        if (Is(kind, ElmntKind::Clamp)) {
            return Moved(place, -60.0 - 100.0 * n, 0.0, -50.0, FixedRule::AsTarget);
        }
        if (Is(kind, ElmntKind::Clip)) {
            const bool turned = (target.turnVariant & VariantBit16) != 0;
            const double along = -60.0 - 100.0 * n;
            RowResult row = Moved(place, turned ? -along : along, 55.0, 0.0, FixedRule::AsTarget);
            if (turned) {
                (*row)->placement.Flip(2, 0);
            }
            return row;
        }
        return NoRow;
    case Mode::Coupling45Flat:
        if (couplingLike) {
            return FromTurn(conn.TurnToSides(n, Side::PlusY), FixedRule::BySide);
        }
        return NoRow;
    case Mode::Coupling45Upright:
        if (couplingLike) {
            return FromTurn(conn.TurnToSides(n, Side::PlusX), FixedRule::BySide);
        }
        return NoRow;
    case Mode::Coupling45AtEnd: {
        if (!HasKindBits(kind, KindBit::EndsTakeCouplings)) {
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
    // The round tube's indexes 6 to 11 stand for the arcs along arm n - 6; like indexes 0 to 5
    // they are drawn in the coupling's connection frame, so both start from it.
    case Mode::RoundTubeUp:
        if (couplingLike) {
            return FromTurn(n < 6 ? conn.TurnToSides(Side::PlusY, n)
                                  : conn.TurnToSides(n - 6, Side::MinusY),
                            FixedRule::ByMask);
        }
        return NoRow;
    case Mode::RoundTubeDown:
        if (couplingLike) {
            return FromTurn(n < 6 ? conn.TurnToSides(Side::MinusY, n)
                                  : conn.TurnToSides(n - 6, Side::PlusY),
                            FixedRule::ByMask);
        }
        return NoRow;
    case Mode::RoundTubeFlat:
        if (couplingLike) {
            if (n >= static_cast<int>(FlatRoundTubeSides.size())) {
                return Nothing();
            }
            const auto& sides = FlatRoundTubeSides[static_cast<std::size_t>(n)];
            return FromTurn(conn.TurnToSides(sides[0], sides[1]), FixedRule::ByMask);
        }
        return NoRow;
    case Mode::SpecialPanel:
        if (couplingLike) {
            RowResult row = FromTurn(conn.TurnBySide(n), FixedRule::ByMask);
            if (*row) {
                (*row)->panelOffset = true;
            }
            return row;
        }
        return NoRow;
    case Mode::SteeringLock:
        if (IsHoleOrFlexi(kind)) {
            return Moved(place, -50.0, 0.0, 0.0, FixedRule::AsTarget);
        }
        if (Is(kind, ElmntKind::Bearing)) {
            return Moved(place, 0.0, 0.0, 0.0, FixedRule::AsTarget);
        }
        return NoRow;
    case Mode::FloorGrid: {
        if (!Is(kind, ElmntKind::FloorGrid)) {
            return NoRow;
        }
        if (n >= GridPoints) {
            return Nothing();
        }
        return WithSizes(Moved(place, -3200.0 + 200.0 * (n / GridSide), 0.0,
                               -3200.0 + 200.0 * (n % GridSide), FixedRule::Fixed),
                         0.0f, 0.0f);
    }
    case Mode::AtTubeEnd: {
        if (!Is(kind, ElmntKind::Tube) && !IsHoleOrFlexi(kind)) {
            return NoRow;
        }
        CTransform end = target.GetEndFrame(n != 0 ? 1 : 0);
        if (Is(newKind, ElmntKind::TubeCap) || Is(newKind, ElmntKind::HubCap) ||
            Is(newKind, ElmntKind::Bolt)) {
            end.Flip(2, 0);
            SAttach attach;
            attach.placement = end;
            return Made(attach);
        }
        if (IsHoleOrFlexi(newKind)) {
            end.Turn90(1, 0);
            end.MoveX(-50.0);
            SAttach attach;
            attach.placement = end;
            attach.variantBits = VariantBit32;
            return Made(attach);
        }
        return Nothing();
    }
    case Mode::OnPickedWheel: {
        if (!Is(kind, ElmntKind::Tube) && !Is(kind, ElmntKind::Bearing)) {
            return NoRow;
        }
        if (Is(newKind, ElmntKind::MultiWheel)) {
            return WithSizes(Moved(place, 100.0 * n + 50.0, 0.0, 0.0, FixedRule::AsTarget), 0.0f,
                             0.0f);
        }
        if (Is(newKind, ElmntKind::BearingConnector)) {
            RowResult row = WithSizes(Moved(place, 100.0 * n + 50.0, 0.0, 0.0, FixedRule::AsTarget),
                                      0.0f, 0.0f);
            (*row)->placement.Turn90(0, 1);
            (*row)->variantBits = VariantBit32;
            return row;
        }
        return NoRow;
    }
    default:
        return NoRow;
    }
}

// The rules by pair of target kind and new kind, all starting from the target's placement with
// the target's fixed flag.
std::optional<SAttach> AttachByKinds(const CElmnt& target, ElmntKind newKind, float size1, int n) {
    const ElmntKind kind = target.kind;
    CTransform t = target.placement;
    SAttach attach;
    attach.callerSizes = false;
    const bool even = n % 2 == 0;

    if (Is(kind, ElmntKind::Tube) && Is(newKind, ElmntKind::Clamp)) {
        t.MoveX(100.0 * n + (even ? 60.0 : 40.0));
        if (!even) {
            t.Flip(0, 1);
        }
    } else if (Is(kind, ElmntKind::Tube) && Is(newKind, ElmntKind::Clip)) {
        t.MoveX(100.0 * n + (even ? 60.0 : 40.0));
        if (!even) {
            attach.variantBits = VariantBit16;
        }
    } else if (Is(kind, ElmntKind::Tube) && Is(newKind, ElmntKind::Alu)) {
        if (n != 0) {
            t.MoveX(target.GetLength());
            t.Flip(2, 0);
        }
        attach.length = size1;
    } else if (Is(kind, ElmntKind::Alu) && Is(newKind, ElmntKind::AluConnector)) {
        if (n != 0) {
            t.MoveX(target.GetLength());
        }
        attach.length = size1;
    } else if (Is(kind, ElmntKind::Tube) && Is(newKind, ElmntKind::FloatingWheel)) {
        t.MoveX(200.0 * n + 100.0);
    } else if (Is(kind, ElmntKind::Tube) &&
               (Is(newKind, ElmntKind::Slide) || Is(newKind, ElmntKind::SlideNew) ||
                Is(newKind, ElmntKind::CurvedSlide) || Is(newKind, ElmntKind::Pool) ||
                Is(newKind, ElmntKind::PoolSmall) || Is(newKind, ElmntKind::Bag))) {
        t.MoveX(200.0);
    } else if (Is(kind, ElmntKind::Tube) &&
               (Is(newKind, ElmntKind::Roof) || Is(newKind, ElmntKind::RoofLarge))) {
        t.MoveX(400.0);
    } else if (Is(kind, ElmntKind::RoundTube) && Is(newKind, ElmntKind::TextilRound)) {
        t.MoveX(400.0);
    } else if (Is(kind, ElmntKind::Slide) && Is(newKind, ElmntKind::SlideEnd)) {
        t.MoveZ(1200.0);
        t.MoveY(-800.0);
    } else if (Is(kind, ElmntKind::CurvedSlide) && Is(newKind, ElmntKind::SlideEnd)) {
        t.MoveX(600.0);
        t.MoveZ(600.0);
        t.MoveY(-800.0);
        t.Turn90(0, 2);
    } else if (Is(kind, ElmntKind::FlexiConnector) && Is(newKind, ElmntKind::FlexiConnector)) {
        t.Turn90(1, 2);
        attach.variantBits = VariantBit16;
    } else {
        return std::nullopt;
    }
    attach.placement = t;
    return attach;
}

} // namespace

CTransform CElmnt::GetConnFrame(int n) const {
    switch (kind) {
    case ElmntKind::Bolt:
        if (n == 1) {
            return placement.MovedX(-50.0);
        }
        if (n == 2) {
            return placement.MovedX(50.0);
        }
        return placement;
    case ElmntKind::Connector45: {
        CTransform branch = placement.MovedX(Branch45Offset);
        branch.RotateDeg(135.0, 0, 1);
        branch.MoveX(Branch45Length);
        return branch;
    }
    default:
        return placement;
    }
}

CTransform CElmnt::GetEndFrame(int n) const {
    const bool far = n == 1;
    switch (kind) {
    case ElmntKind::Tube:
        if (far) {
            CTransform end = placement.MovedX(GetLength());
            end.Flip(0, 1);
            return end;
        }
        return placement;
    case ElmntKind::RoundTube:
        if (far) {
            const double len = GetLength();
            CTransform end = placement.MovedX(len);
            end.MoveY(len);
            end.Turn90(0, 1);
            return end;
        }
        return placement;
    case ElmntKind::BearingConnector:
        return far ? placement : placement.MovedX(-103.0);
    case ElmntKind::HoleConnector:
    case ElmntKind::FlexiConnector:
        return far ? placement : placement.MovedX(-50.0);
    default:
        return placement;
    }
}

CTransform CElmnt::GetCornerFrame(int n) const {
    if (n < 0 || n > 3) {
        return placement;
    }
    const double a = (double(secondSize) + double(secondCorrection) + 50.0) / 2.0;
    const double b = (double(length) + double(correction) + 50.0) / 2.0;
    CTransform corner = placement;
    corner.MoveX((n & 1) != 0 ? a : -a);
    corner.MoveY((n & 2) != 0 ? b : -b);
    switch (n) {
    case 1:
        corner.Turn90(1, 0);
        break;
    case 2:
        corner.Turn90(0, 1);
        break;
    case 3:
        corner.Flip(0, 1);
        break;
    default:
        break;
    }
    return corner;
}

int CElmnt::GetEndCount() const {
    switch (kind) {
    case ElmntKind::Tube:
    case ElmntKind::RoundTube:
        return 2;
    case ElmntKind::Bearing:
    case ElmntKind::Casters:
    case ElmntKind::Adapter:
    case ElmntKind::OpenConnector:
    case ElmntKind::BearingConnector:
    case ElmntKind::Connector45:
    case ElmntKind::HoleConnector:
    case ElmntKind::FlexiConnector:
    case ElmntKind::SteeringLock:
        return 1;
    default:
        return 0;
    }
}

bool CElmnt::IsInsideBox(const CBox3& box) const {
    if (kind == ElmntKind::FloorGrid) {
        return false;
    }
    if (HasCornerFrames(kind)) {
        for (int corner = 0; corner < 4; ++corner) {
            if (!box.Contains(GetCornerFrame(corner).translation)) {
                return false;
            }
        }
        return true;
    }
    if (kind == ElmntKind::Tube || kind == ElmntKind::RoundTube) {
        return box.Contains(GetEndFrame(0).MovedX(25.0).translation) &&
               box.Contains(GetEndFrame(1).MovedX(25.0).translation);
    }
    return box.Contains(placement.translation);
}

std::unique_ptr<CElmnt> CElmnt::CreateAttached(Revision r, int32_t toolMode, ElmntKind newKind,
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

void CElmnt::SetPanelOffset() {
    placement.MoveX(double(secondSize) / 2.0 + 25.0);
    placement.MoveY(double(length) / 2.0 + 25.0);
}

bool CElmnt::SetArmMasks(uint32_t mask) {
    if (!IsValidArmMask(mask)) {
        return false;
    }
    m_freeArms = mask;
    m_occupiedArms = mask | 3u;
    m_freeCornerSlots = 0xF00;
    return true;
}
