// The element list of a document: every element state of the design, current ones and the whole
// undo history, in the order of creation (appending). The list owns its records.
//
// Storage: a vector of owning pointers in list order, each record knowing its owner and its
// position. Records stay where they were allocated, so pointers held across appends stay
// valid; the scans that run over the whole history (alive tests, history cuts, drawing) walk a
// contiguous array of pointers whose loads do not depend on each other, instead of chasing
// next pointers one record at a time; a history cut removes any number of states in one linear
// pass. Removing a single record shifts the pointers behind it, which is linear too.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

#include "model/Elmnt.h"

class CElmntList {
public:
    // Walks the list by position. A walk sees records appended while it runs (as a walk along
    // next pointers would); records must not be removed while a range-for runs over the list
    // (use RemoveIf, or a walk along CElmnt::GetNext).
    template <class T> class Iterator {
    public:
        using value_type = CElmnt;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(const CElmntList* list, std::size_t index) : m_list(list), m_index(index) {}
        T& operator*() const { return *m_list->m_elmnts[m_index]; }
        T* operator->() const { return m_list->m_elmnts[m_index].get(); }
        Iterator& operator++() {
            ++m_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++m_index;
            return old;
        }
        bool operator==(std::default_sentinel_t) const { return m_index >= m_list->Size(); }

    private:
        const CElmntList* m_list = nullptr;
        std::size_t m_index = 0;
    };

    CElmntList() = default;
    CElmntList(const CElmntList&) = delete;
    CElmntList& operator=(const CElmntList&) = delete;
    ~CElmntList();

    // Takes the record and appends it at the tail. The record must be in no list.
    CElmnt& Append(std::unique_ptr<CElmnt> elmnt);
    // Unlinks the record and deletes it; false (and nothing deleted) when it is not in this list.
    bool Remove(CElmnt& elmnt);
    // Unlinks and deletes, in one pass, every record for which pred(record) is true; the others
    // keep their order. pred must not throw and must not touch the list. Returns the number
    // removed.
    template <class Pred> std::size_t RemoveIf(Pred pred);
    // Unlinks and deletes every record, from the head.
    void DeleteAll();

    std::size_t Size() const { return m_elmnts.size(); }
    bool IsEmpty() const { return m_elmnts.empty(); }
    CElmnt* GetHead() const { return m_elmnts.empty() ? nullptr : m_elmnts.front().get(); }
    CElmnt* GetTail() const { return m_elmnts.empty() ? nullptr : m_elmnts.back().get(); }
    // Record at a position (0 = head); nullptr when out of range.
    CElmnt* GetAt(std::size_t index) const {
        return index < m_elmnts.size() ? m_elmnts[index].get() : nullptr;
    }
    // The record with the identity; nullptr when none. Linear.
    CElmnt* Find(ElmntId id) const;

    Iterator<CElmnt> begin() { return {this, 0}; }
    Iterator<const CElmnt> begin() const { return {this, 0}; }
    std::default_sentinel_t end() const { return {}; }

private:
    void Reindex(std::size_t from);

    std::vector<std::unique_ptr<CElmnt>> m_elmnts;
};

template <class Pred> std::size_t CElmntList::RemoveIf(Pred pred) {
    std::vector<std::unique_ptr<CElmnt>> removed;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_elmnts.size(); ++i) {
        std::unique_ptr<CElmnt>& elmnt = m_elmnts[i];
        if (pred(*elmnt)) {
            elmnt->m_list = nullptr;
            removed.push_back(std::move(elmnt));
        } else {
            elmnt->m_listIndex = kept;
            if (kept != i) {
                m_elmnts[kept] = std::move(elmnt);
            }
            ++kept;
        }
    }
    m_elmnts.resize(kept);
    return removed.size();
}
