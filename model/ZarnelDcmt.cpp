// The design document's contents: a new design, the element list operations, the material table
// and the views.
#include "model/ZarnelDcmt.h"

#include <algorithm>

#include "model/Mtrl.h"

CZarnelDcmt::CZarnelDcmt() {
    CreateDefaultContents();
    LoadDefaultPriceList();
    LoadDefaultStockList();
}

CZarnelDcmt::~CZarnelDcmt() {
    // A scope still open here is a caller's fault; it must not reach back into a document that
    // is going away.
    if (m_pending) {
        m_pending->scope->m_open = false;
        m_pending.reset();
    }
    m_elmnts.DeleteAll();
    m_partsTable.Clear();
}

void CZarnelDcmt::CreateDefaultContents() {
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        m_materials[static_cast<std::size_t>(slot)] = CMtrl::CreateDefault(slot);
    }
    // The start coupling gives the first element something to be attached to.
    m_elmnts.Append(std::make_unique<CElmnt>(m_ids, 0, ElmntKind::Connector, 1, 0.0f, 0.0f));
    m_elmnts.Append(std::make_unique<CElmnt>(m_ids, 0, ElmntKind::FloorGrid, 1, 0.0f, 0.0f));
}

CElmnt& CZarnelDcmt::AddElement(std::unique_ptr<CElmnt> elmnt) {
    return m_elmnts.Append(std::move(elmnt));
}

bool CZarnelDcmt::RemoveElement(CElmnt& elmnt) {
    return m_elmnts.Remove(elmnt);
}

void CZarnelDcmt::DeleteAllElements() {
    SettlePendingRevision();
    m_elmnts.DeleteAll();
}

CElmnt* CZarnelDcmt::FindElement(ElmntId id) const {
    CElmnt* elmnt = m_elmnts.Find(id);
    return elmnt != nullptr && IsAlive(*elmnt) ? elmnt : nullptr;
}

CMtrl* CZarnelDcmt::GetMaterial(int64_t slot) const {
    if (!CElmnt::IsValidMaterialSlot(slot)) {
        return nullptr;
    }
    return m_materials[static_cast<std::size_t>(slot)].get();
}

bool CZarnelDcmt::SetMaterial(int64_t slot, std::unique_ptr<CMtrl> mtrl) {
    if (!CElmnt::IsValidMaterialSlot(slot)) {
        return false;
    }
    const int32_t index = static_cast<int32_t>(slot);
    if (mtrl != nullptr) {
        mtrl->SetSlot(index);
        m_slotsUsed = std::max(m_slotsUsed, index + 1);
    }
    m_materials[static_cast<std::size_t>(index)] = std::move(mtrl);
    return true;
}

void CZarnelDcmt::AddObserver(CDcmtObserver& observer) {
    if (std::find(m_observers.begin(), m_observers.end(), &observer) == m_observers.end()) {
        m_observers.push_back(&observer);
    }
}

void CZarnelDcmt::RemoveObserver(CDcmtObserver& observer) {
    auto found = std::find(m_observers.begin(), m_observers.end(), &observer);
    if (found == m_observers.end()) {
        return;
    }
    if (m_notifyDepth > 0) {
        *found = nullptr; // the loop that is telling the observers holds an index into them
    } else {
        m_observers.erase(found);
    }
}

void CZarnelDcmt::UpdateAllViews(ViewHint hint, const CDcmtObserver* sender) {
    struct SDepth {
        CZarnelDcmt& dcmt;
        explicit SDepth(CZarnelDcmt& d) : dcmt(d) { ++dcmt.m_notifyDepth; }
        ~SDepth() {
            if (--dcmt.m_notifyDepth == 0) {
                std::erase(dcmt.m_observers, nullptr);
            }
        }
    } depth(*this);
    for (std::size_t i = 0; i < m_observers.size(); ++i) {
        CDcmtObserver* observer = m_observers[i];
        if (observer != nullptr && observer != sender) {
            observer->OnUpdate(hint);
        }
    }
}

void CZarnelDcmt::FinishChange(ViewHint hint) {
    SetModified(true);
    UpdatePartsList();
    UpdateAllViews(hint);
}

void CZarnelDcmt::SetModified(bool modified) {
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    if (m_modifiedCallback) {
        m_modifiedCallback(modified);
    }
}
