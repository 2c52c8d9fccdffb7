// Construction, copying and the small operations of the element record.
#include "model/Elmnt.h"

#include <cassert>
#include <stdexcept>

#include "model/ElmntList.h"

namespace {

int32_t CheckedMaterial(int32_t material) {
    if (!CElmnt::IsValidMaterialSlot(material)) {
        throw std::invalid_argument("material slot outside the material table");
    }
    return material;
}

} // namespace

CElmnt::CElmnt(CElmntIdSource& ids) : m_id(ids.Next()), m_idSource(&ids) {
    Init();
}

CElmnt::CElmnt(CElmntIdSource& ids, Revision firstRevisionValue, ElmntKind kindValue,
               int32_t material, float lengthValue, float secondSizeValue)
    : secondSize(secondSizeValue), length(lengthValue), m_material(CheckedMaterial(material)),
      kind(kindValue), firstRevision(firstRevisionValue), m_id(ids.Next()), m_idSource(&ids) {
    SetDefaultArms();
}

CElmnt::CElmnt(CElmntIdSource& ids, Revision firstRevisionValue, ElmntKind kindValue,
               int32_t material, const CTransform& placementValue, bool fixedValue,
               float lengthValue, float secondSizeValue)
    : CElmnt(ids, firstRevisionValue, kindValue, material, lengthValue, secondSizeValue) {
    placement = placementValue;
    fixed = fixedValue;
}

CElmnt::CElmnt(const CElmnt& other)
    : placement(other.placement), secondSize(other.secondSize), length(other.length),
      secondCorrection(other.secondCorrection), correction(other.correction),
      m_material(other.m_material), kind(other.kind), m_occupiedArms(other.m_occupiedArms),
      m_freeArms(other.m_freeArms), m_freeCornerSlots(other.m_freeCornerSlots),
      firstRevision(other.firstRevision), endRevision(other.endRevision),
      turnVariant(other.turnVariant), m_directions(other.m_directions), fixed(other.fixed),
      selected(other.selected), floating(other.floating), adjustPending(other.adjustPending),
      groupMark(other.groupMark), m_id(other.m_idSource->Next()), m_idSource(other.m_idSource) {}

CElmnt::~CElmnt() {
    assert(m_list == nullptr && "a listed element is deleted only by its list");
    m_idSource->Release(m_id);
}

void CElmnt::Init() {
    placement = CTransform();
    secondSize = 0.0f;
    length = 0.0f;
    secondCorrection = 0.0f;
    correction = 0.0f;
    m_occupiedArms = 0;
    m_freeArms = 0;
    m_freeCornerSlots = 0;
    turnVariant = 0;
    m_directions = 0;
    selected = false;
    floating = false;
    adjustPending = false;
    groupMark = 0;
    fixed = true;
}

void CElmnt::SetDefaultArms() {
    m_occupiedArms = 0;
    m_freeCornerSlots = 0;
    m_directions = 0;
    switch (kind) {
    case ElmntKind::Connector:
        m_freeArms = ArmMaskAll;
        m_freeCornerSlots = CornerSlotMaskAll;
        break;
    case ElmntKind::Connector45:
        m_freeArms = 1;
        m_directions = 1;
        break;
    case ElmntKind::FlexiConnector:
        m_freeArms = 8;
        break;
    case ElmntKind::BearingConnector:
        m_freeArms = 4;
        break;
    case ElmntKind::Tube:
        m_freeArms = 2;
        break;
    case ElmntKind::Bearing:
        m_freeArms = 1;
        break;
    default:
        m_freeArms = 0;
        break;
    }
}

double CElmnt::GetLength() const {
    switch (kind) {
    case ElmntKind::Tube:
    case ElmntKind::RoundTube:
        return double(length) + double(correction) + 50.0;
    case ElmntKind::Alu:
    case ElmntKind::AluConnector:
        return double(length) + double(correction);
    default:
        return 0.0;
    }
}

void CElmnt::Translate(double dx, double dy, double dz) {
    placement.translation.x += dx;
    placement.translation.y += dy;
    placement.translation.z += dz;
}

bool CElmnt::SetMaterial(int64_t slot) {
    if (!IsValidMaterialSlot(slot)) {
        return false;
    }
    m_material = static_cast<int32_t>(slot);
    return true;
}

bool CElmnt::SetOccupiedArms(uint32_t mask) {
    if (!IsValidArmMask(mask)) {
        return false;
    }
    m_occupiedArms = mask;
    return true;
}

bool CElmnt::SetFreeArms(uint32_t mask) {
    if (!IsValidArmMask(mask)) {
        return false;
    }
    m_freeArms = mask;
    return true;
}

bool CElmnt::SetFreeCornerSlots(uint32_t mask) {
    if (!IsValidCornerSlotMask(mask)) {
        return false;
    }
    m_freeCornerSlots = mask;
    return true;
}

bool CElmnt::SetDirections(uint32_t mask) {
    if (!IsValidArmMask(mask)) {
        return false;
    }
    m_directions = mask;
    return true;
}

CElmnt* CElmnt::GetNext() const {
    return m_list != nullptr ? m_list->GetAt(m_listIndex + 1) : nullptr;
}

CElmnt* CElmnt::GetPrev() const {
    return m_list != nullptr && m_listIndex > 0 ? m_list->GetAt(m_listIndex - 1) : nullptr;
}
