// Appending, removing, taking out and putting back, and finding element records.
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
    CElmnt& appended = *elmnt;
    m_elmnts.push_back(std::move(elmnt));
    try {
        m_byId.emplace(appended.GetId().Value(), &appended);
    } catch (...) {
        m_elmnts.pop_back(); // the record goes with the failed append
        throw;
    }
    appended.m_list = this;
    appended.m_listIndex = m_elmnts.size() - 1;
    ++m_changeCount;
    ++m_appendCount;
    return appended;
}

bool CElmntList::Remove(CElmnt& elmnt) {
    if (elmnt.m_list != this) {
        return false;
    }
    std::size_t index = elmnt.m_listIndex;
    std::unique_ptr<CElmnt> owned = std::move(m_elmnts[index]);
    m_elmnts.erase(m_elmnts.begin() + static_cast<std::ptrdiff_t>(index));
    Reindex(index);
    Unindex(*owned);
    ++m_changeCount;
    return true;
}

CElmntList::SPreparedAppend CElmntList::PrepareAppend(std::vector<std::unique_ptr<CElmnt>> elmnts) {
    SPreparedAppend prepared;
    prepared.elmnts = std::move(elmnts);
    prepared.byId.reserve(prepared.elmnts.size());
    for (const std::unique_ptr<CElmnt>& elmnt : prepared.elmnts) {
        if (elmnt == nullptr) {
            throw std::invalid_argument("no element to append");
        }
        assert(elmnt->m_list == nullptr && "an element belongs to one list at a time");
        prepared.byId.emplace(elmnt->GetId().Value(), elmnt.get());
    }
    // Enough buckets that merging the entries in needs no new ones.
    Reserve(m_elmnts.size() + prepared.elmnts.size());
    return prepared;
}

void CElmntList::AppendPrepared(SPreparedAppend prepared) noexcept {
    if (prepared.elmnts.empty()) {
        return;
    }
    m_byId.merge(prepared.byId); // moves the nodes made by PrepareAppend
    for (std::unique_ptr<CElmnt>& elmnt : prepared.elmnts) {
        elmnt->m_list = this;
        elmnt->m_listIndex = m_elmnts.size();
        m_elmnts.push_back(std::move(elmnt)); // within the capacity reserved
        ++m_changeCount;
        ++m_appendCount; // as Append counts, so that an index of the list sees only appends
    }
}

void CElmntList::Reserve(std::size_t count) {
    m_elmnts.reserve(count);
    m_byId.reserve(count);
}

void CElmntList::DeleteAll() {
    if (m_elmnts.empty()) {
        return;
    }
    for (std::unique_ptr<CElmnt>& elmnt : m_elmnts) {
        elmnt->m_list = nullptr;
        elmnt.reset();
    }
    m_elmnts.clear();
    m_byId.clear();
    ++m_changeCount;
}

void CElmntList::Swap(CElmntList& other) noexcept {
    m_elmnts.swap(other.m_elmnts);
    m_byId.swap(other.m_byId);
    for (std::unique_ptr<CElmnt>& elmnt : m_elmnts) {
        elmnt->m_list = this;
    }
    for (std::unique_ptr<CElmnt>& elmnt : other.m_elmnts) {
        elmnt->m_list = &other;
    }
    ++m_changeCount;
    ++other.m_changeCount;
}

void CElmntList::PutBack(std::vector<STakenOut> taken) {
    if (taken.empty()) {
        return;
    }
    // Taken records ascend in former position, and every position that no taken record fills
    // belongs to the kept records in their order; so a merge by position restores the list.
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const STakenOut& t = taken[i];
        if (t.elmnt == nullptr || t.elmnt->m_list != nullptr || t.indexEntry.empty() ||
            (i > 0 && t.index <= taken[i - 1].index) || t.index > m_elmnts.size() + i) {
            throw std::invalid_argument("records put back where they were not taken from");
        }
    }
    // Filled from the back, so that only the records behind the first position move.
    std::size_t from = m_elmnts.size();
    m_elmnts.resize(m_elmnts.size() + taken.size());
    std::size_t to = m_elmnts.size();
    for (auto t = taken.rbegin(); t != taken.rend(); ++t) {
        while (to > t->index + 1) {
            m_elmnts[--to] = std::move(m_elmnts[--from]);
        }
        m_byId.insert(std::move(t->indexEntry));
        t->elmnt->m_list = this;
        m_elmnts[--to] = std::move(t->elmnt);
    }
    Reindex(taken.front().index);
    ++m_changeCount;
}

CElmnt* CElmntList::Find(ElmntId id) const {
    auto found = m_byId.find(id.Value());
    return found != m_byId.end() ? found->second : nullptr;
}

void CElmntList::Reindex(std::size_t from) {
    for (std::size_t i = from; i < m_elmnts.size(); ++i) {
        m_elmnts[i]->m_listIndex = i;
    }
}

void CElmntList::Unindex(CElmnt& elmnt) {
    m_byId.erase(elmnt.GetId().Value());
    elmnt.m_list = nullptr;
}
