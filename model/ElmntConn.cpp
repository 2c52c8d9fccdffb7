// Connection, end and corner frames of the element kinds and the box test.
#include <optional>

#include "model/ConnTables.h"
#include "model/Elmnt.h"
#include "support/Box3.h"
#include "support/Orientation.h"

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
