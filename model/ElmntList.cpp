// Appending, removing and finding element records.
#include "model/ElmntList.h"

#include <cassert>
#include <stdexcept>

CElmntList::~CElmntList() {
    DeleteAll();
}

CElmnt& CElmntList::Append(std::unique_ptr<CElmnt> elmnt) {
    if (elmnt == nullptr) {
        throw std::invalid_argument("no element to append");
    }
    assert(elmnt->m_list == nullptr && "an element belongs to one list at a time");
    elmnt->m_list = this;
    elmnt->m_listIndex = m_elmnts.size();
    m_elmnts.push_back(std::move(elmnt));
    return *m_elmnts.back();
}

bool CElmntList::Remove(CElmnt& elmnt) {
    if (elmnt.m_list != this) {
        return false;
    }
    std::size_t index = elmnt.m_listIndex;
    std::unique_ptr<CElmnt> owned = std::move(m_elmnts[index]);
    m_elmnts.erase(m_elmnts.begin() + static_cast<std::ptrdiff_t>(index));
    Reindex(index);
    owned->m_list = nullptr;
    return true;
}

void CElmntList::DeleteAll() {
    for (std::unique_ptr<CElmnt>& elmnt : m_elmnts) {
        elmnt->m_list = nullptr;
        elmnt.reset();
    }
    m_elmnts.clear();
}

CElmnt* CElmntList::Find(ElmntId id) const {
    for (const std::unique_ptr<CElmnt>& elmnt : m_elmnts) {
        if (elmnt->GetId() == id) {
            return elmnt.get();
        }
    }
    return nullptr;
}

void CElmntList::Reindex(std::size_t from) {
    for (std::size_t i = from; i < m_elmnts.size(); ++i) {
        m_elmnts[i]->m_listIndex = i;
    }
}
