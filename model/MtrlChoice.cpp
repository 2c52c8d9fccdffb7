// The surface dialog's choice over a copy of the material table.
#include "model/MtrlChoice.h"

#include "model/Elmnt.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"

namespace {

// "Neues Material": the name of a material copied by "Neu".
constexpr uint32_t kTextNewMaterial = 4168;

bool IsValidCategory(int category) {
    return category >= 0 && category < MtrlCategoryCount;
}

} // namespace

bool IsKindOfMtrlCategory(ElmntKind kind, int category) {
    switch (category) {
    case 0:
        return HasKindBits(kind, KindBit::MtrlTubes | KindBit::MtrlAlu);
    case 1:
        return HasKindBits(kind, KindBit::MtrlPanels);
    case 2:
        return HasKindBits(kind, KindBit::MtrlConnectors);
    case 3:
        return HasKindBits(kind, KindBit::MtrlCaps);
    case 4:
        return kind == ElmntKind::Slide || kind == ElmntKind::SlideNew;
    case 5:
        return kind == ElmntKind::CurvedSlide;
    case 6:
        return kind == ElmntKind::SlideEnd;
    case 7:
        return HasKindBits(kind, KindBit::MtrlAlu);
    case 8:
        return kind == ElmntKind::Pool || kind == ElmntKind::PoolSmall;
    default:
        return false;
    }
}

int GetOpeningMtrlCategory(ElmntKind kind) {
    for (int category : {0, 1, 2, 3, 4, 5, 6, 8}) {
        if (IsKindOfMtrlCategory(kind, category)) {
            return category;
        }
    }
    return 0;
}

CMtrlChoice::CMtrlChoice(const CZarnelDcmt& dcmt, const CElmnt* elmnt, ElmntKind kind,
                         const CategorySlots& viewSlots, bool checkUsability)
    : m_materials(static_cast<std::size_t>(CZarnelDcmt::GetMaterialCapacity())),
      m_slotsUsed(dcmt.GetSlotsUsed()), m_checkUsability(checkUsability) {
    for (int32_t slot = 0; slot < m_slotsUsed; ++slot) {
        if (const CMtrl* mtrl = dcmt.GetMaterial(slot); mtrl != nullptr) {
            m_materials[static_cast<std::size_t>(slot)] = std::make_unique<CMtrl>(*mtrl);
        }
    }
    for (int c = 0; c < MtrlCategoryCount; ++c) {
        const bool elements = elmnt != nullptr && IsKindOfMtrlCategory(elmnt->kind, c);
        m_categorySlots[static_cast<std::size_t>(c)] =
            elements ? elmnt->GetMaterial() : viewSlots[static_cast<std::size_t>(c)];
    }
    m_openingCategory = GetOpeningMtrlCategory(kind);
    // An element whose material is not meant for its own category opens on the category its
    // material is meant for.
    if (elmnt != nullptr && elmnt->GetMaterial() != 0) {
        const CMtrl* mtrl = GetMaterial(elmnt->GetMaterial());
        const int usability = mtrl != nullptr ? mtrl->GetUsability() : 0;
        if ((usability & (1 << m_openingCategory)) == 0) {
            m_openingCategory = usability == kPlasticGroup ? 1 : 0;
        }
    }
    m_currentCategory = m_openingCategory;
}

CMtrlChoice::CMtrlChoice(const CMtrlChoice& other)
    : m_materials(other.m_materials.size()), m_slotsUsed(other.m_slotsUsed),
      m_categorySlots(other.m_categorySlots), m_openingCategory(other.m_openingCategory),
      m_currentCategory(other.m_currentCategory), m_checkUsability(other.m_checkUsability) {
    for (std::size_t slot = 0; slot < m_materials.size(); ++slot) {
        if (other.m_materials[slot] != nullptr) {
            m_materials[slot] = std::make_unique<CMtrl>(*other.m_materials[slot]);
        }
    }
}

CMtrlChoice& CMtrlChoice::operator=(const CMtrlChoice& other) {
    if (this != &other) {
        CMtrlChoice copy(other);
        std::swap(m_materials, copy.m_materials);
        m_slotsUsed = other.m_slotsUsed;
        m_categorySlots = other.m_categorySlots;
        m_openingCategory = other.m_openingCategory;
        m_currentCategory = other.m_currentCategory;
        m_checkUsability = other.m_checkUsability;
    }
    return *this;
}

CMtrlChoice::~CMtrlChoice() = default;

CMtrl* CMtrlChoice::GetMaterial(int32_t slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= m_materials.size()) {
        return nullptr;
    }
    return m_materials[static_cast<std::size_t>(slot)].get();
}

const CMtrl* CMtrlChoice::GetMaterial(int32_t slot) const {
    return const_cast<CMtrlChoice*>(this)->GetMaterial(slot);
}

void CMtrlChoice::SetCurrentCategory(int category) {
    if (IsValidCategory(category)) {
        m_currentCategory = category;
    }
}

int32_t CMtrlChoice::GetSelectedSlot() const {
    return m_categorySlots[static_cast<std::size_t>(m_currentCategory)];
}

void CMtrlChoice::SelectSlot(int32_t slot) {
    m_categorySlots[static_cast<std::size_t>(m_currentCategory)] = slot;
}

std::vector<int32_t> CMtrlChoice::GetUsableSlots() const {
    std::vector<int32_t> slots;
    const auto category = static_cast<MtrlCategory>(m_currentCategory);
    for (int32_t slot = 0; slot < m_slotsUsed; ++slot) {
        const CMtrl* mtrl = GetMaterial(slot);
        if (mtrl != nullptr && mtrl->IsUsableFor(category)) {
            slots.push_back(slot);
        }
    }
    return slots;
}

bool CMtrlChoice::IsInMetalGroup() const {
    const CMtrl* mtrl = GetSelected();
    return mtrl != nullptr && (mtrl->GetUsability() & kMetalGroup) != 0;
}

bool CMtrlChoice::IsInPlasticGroup() const {
    const CMtrl* mtrl = GetSelected();
    return mtrl != nullptr && (mtrl->GetUsability() & kPlasticGroup) != 0;
}

void CMtrlChoice::SetUsabilityGroups(bool metal, bool plastic) {
    if (CMtrl* mtrl = GetSelected(); mtrl != nullptr) {
        mtrl->SetUsability((metal ? kMetalGroup : 0) | (plastic ? kPlasticGroup : 0));
    }
}

bool CMtrlChoice::NewMaterial() {
    const CMtrl* selected = GetSelected();
    if (selected == nullptr || m_slotsUsed >= CZarnelDcmt::GetMaterialCapacity()) {
        return false;
    }
    const int32_t slot = m_slotsUsed;
    auto created = std::make_unique<CMtrl>(*selected);
    created->SetSlot(slot);
    created->SetName(LoadLangText(kTextNewMaterial));
    m_materials[static_cast<std::size_t>(slot)] = std::move(created);
    ++m_slotsUsed;
    SelectSlot(slot);
    return true;
}

bool CMtrlChoice::IsAcceptable() const {
    if (!m_checkUsability) {
        return true;
    }
    const CMtrl* mtrl = GetSelected();
    return mtrl != nullptr && mtrl->IsUsableFor(static_cast<MtrlCategory>(m_openingCategory));
}

bool ApplyMtrlChoice(CZarnelDcmt& dcmt, const CMtrlChoice& choice) {
    bool changed = false;
    for (int32_t slot = 0; slot < choice.GetSlotsUsed(); ++slot) {
        const CMtrl* edited = choice.GetMaterial(slot);
        if (edited == nullptr) {
            continue;
        }
        CMtrl* mtrl = dcmt.GetMaterial(slot);
        if (mtrl == nullptr) {
            dcmt.SetMaterial(slot, std::make_unique<CMtrl>(*edited));
            changed = true;
        } else if (!(*mtrl == *edited)) {
            *mtrl = *edited; // keeps the loaded texture when the texture file stays the same
            changed = true;
        }
    }
    if (changed) {
        dcmt.FinishChange(ViewHint::Everything);
    }
    return changed;
}

void ShowMtrlChoice(CZarnelDcmt& dcmt, const CMtrlChoice& choice) {
    for (int32_t slot = 0; slot < dcmt.GetSlotsUsed(); ++slot) {
        const CMtrl* edited = choice.GetMaterial(slot);
        CMtrl* mtrl = dcmt.GetMaterial(slot);
        if (edited != nullptr && mtrl != nullptr) {
            *mtrl = *edited; // the same texture file keeps its loaded bitmap
        }
    }
}
