// The element list of a document: every element state of the design, current ones and the whole
// undo history, in the order of creation (appending). The list owns its records.
//
// Storage: a vector of owning pointers in list order, each record knowing its owner and its
// position. Records stay where they were allocated, so pointers held across appends stay
// valid; the scans that run over the whole history (alive tests, history cuts, drawing) walk a
// contiguous array of pointers whose loads do not depend on each other, instead of chasing
// next pointers one record at a time; a history cut removes any number of states in one linear
// pass. Removing a single record shifts the pointers behind it, which is linear too. An index
// by identity finds a record in constant time, since views and picking name elements by
// identity and look them up after every update.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/Elmnt.h"

class CCouplingIndex;

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

    // Walks the records alive at one revision, skipping the others; otherwise as Iterator.
    template <class T> class AliveIterator {
    public:
        using value_type = CElmnt;
        using difference_type = std::ptrdiff_t;

        AliveIterator() = default;
        AliveIterator(const CElmntList* list, std::size_t index, Revision revision)
            : m_list(list), m_index(index), m_revision(revision) {
            SkipDead();
        }
        T& operator*() const { return *m_list->m_elmnts[m_index]; }
        T* operator->() const { return m_list->m_elmnts[m_index].get(); }
        AliveIterator& operator++() {
            ++m_index;
            SkipDead();
            return *this;
        }
        AliveIterator operator++(int) {
            AliveIterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(std::default_sentinel_t) const { return m_index >= m_list->Size(); }

    private:
        void SkipDead() {
            const auto& elmnts = m_list->m_elmnts;
            while (m_index < elmnts.size() && !elmnts[m_index]->IsAliveAt(m_revision)) {
                ++m_index;
            }
        }

        const CElmntList* m_list = nullptr;
        std::size_t m_index = 0;
        Revision m_revision = 0;
    };

    template <class T> class AliveRange {
    public:
        AliveRange(const CElmntList* list, Revision revision)
            : m_list(list), m_revision(revision) {}
        AliveIterator<T> begin() const { return {m_list, 0, m_revision}; }
        std::default_sentinel_t end() const { return {}; }

    private:
        const CElmntList* m_list;
        Revision m_revision;
    };

    // A record taken out of the list with the position it had, so that it can be put back.
    struct STakenOut {
        std::size_t index;
        std::unique_ptr<CElmnt> elmnt;
        // Its entry of the index by identity, kept so that putting it back allocates nothing.
        std::unordered_map<uint32_t, CElmnt*>::node_type indexEntry;
    };

    CElmntList() = default;
    CElmntList(const CElmntList&) = delete;
    CElmntList& operator=(const CElmntList&) = delete;
    ~CElmntList();

    // Takes the record and appends it at the tail. The record must be in no list. When memory
    // runs out, std::bad_alloc comes through with the record deleted and the list unchanged.
    CElmnt& Append(std::unique_ptr<CElmnt> elmnt);
    // Unlinks the record and deletes it; false (and nothing deleted) when it is not in this list.
    bool Remove(CElmnt& elmnt);
    // Unlinks and deletes, in one pass, every record for which pred(record) is true; the others
    // keep their order. pred must not throw and must not touch the list. Returns the number
    // removed.
    template <class Pred> std::size_t RemoveIf(Pred pred);
    // Unlinks and deletes every record, from the head.
    void DeleteAll();
    // Records made ready to be appended by one step that cannot fail (a change that must be
    // all or nothing prepares first, then changes the document).
    struct SPreparedAppend {
        std::vector<std::unique_ptr<CElmnt>> elmnts;
        std::unordered_map<uint32_t, CElmnt*> byId; // their index entries, to be merged in
    };
    // Takes the records (each in no list) and makes room for them in this list. May throw
    // std::bad_alloc; the list keeps its records then, and the records go with the exception.
    // Records may be removed from the list before AppendPrepared, but none appended.
    SPreparedAppend PrepareAppend(std::vector<std::unique_ptr<CElmnt>> elmnts);
    // Appends the prepared records at the tail, in their order; allocates nothing.
    void AppendPrepared(SPreparedAppend prepared) noexcept;
    // Makes room for count records in all, so that appending up to that many allocates no more
    // than the records' index entries. May throw std::bad_alloc; the list is unchanged then.
    void Reserve(std::size_t count);
    // Exchanges the records of the two lists, each record then belonging to the list that holds
    // it; allocates nothing and cannot fail.
    void Swap(CElmntList& other) noexcept;
    // Unlinks, in one pass, every record for which pred(record) is true and hands them over in
    // list order with their former positions; the others keep their order. pred as for
    // RemoveIf.
    template <class Pred> std::vector<STakenOut> TakeOutIf(Pred pred);
    // Puts records taken out by TakeOutIf back where they were. Valid only while the list holds
    // exactly the records that TakeOutIf left, in the same order: the change count tells. Once
    // the list held as many records as then, this allocates nothing (an undecided revision is
    // given up with it when memory has run out).
    void PutBack(std::vector<STakenOut> taken);
    // Grows by one with every append, removal, take-out and put-back (not with changes of the
    // records themselves), so that a caller can tell whether the list was changed since it
    // last looked.
    uint64_t GetChangeCount() const { return m_changeCount; }
    // Grows by one with every append only: while it grows as the change count does, the list
    // was only appended to, and every record kept its position.
    uint64_t GetAppendCount() const { return m_appendCount; }

    // The index of couplings that an edit keeps while it runs (CCouplingIndexScope), which the
    // coupling lookups in this list use; nullptr outside such an edit.
    CCouplingIndex* GetCouplingIndex() const { return m_couplingIndex; }
    void SetCouplingIndex(CCouplingIndex* index) { m_couplingIndex = index; }

    std::size_t Size() const { return m_elmnts.size(); }
    bool IsEmpty() const { return m_elmnts.empty(); }
    CElmnt* GetHead() const { return m_elmnts.empty() ? nullptr : m_elmnts.front().get(); }
    CElmnt* GetTail() const { return m_elmnts.empty() ? nullptr : m_elmnts.back().get(); }
    // Record at a position (0 = head); nullptr when out of range.
    CElmnt* GetAt(std::size_t index) const {
        return index < m_elmnts.size() ? m_elmnts[index].get() : nullptr;
    }
    // The record with the identity, alive or not; nullptr when none.
    CElmnt* Find(ElmntId id) const;

    Iterator<CElmnt> begin() { return {this, 0}; }
    Iterator<const CElmnt> begin() const { return {this, 0}; }
    std::default_sentinel_t end() const { return {}; }
    // The records alive at the revision, in list order.
    AliveRange<CElmnt> AliveAt(Revision revision) { return {this, revision}; }
    AliveRange<const CElmnt> AliveAt(Revision revision) const { return {this, revision}; }

private:
    void Reindex(std::size_t from);
    void Unindex(CElmnt& elmnt);

    std::vector<std::unique_ptr<CElmnt>> m_elmnts;
    std::unordered_map<uint32_t, CElmnt*> m_byId; // identity value -> record
    uint64_t m_changeCount = 0;
    uint64_t m_appendCount = 0;
    CCouplingIndex* m_couplingIndex = nullptr; // not owned
};

template <class Pred> std::size_t CElmntList::RemoveIf(Pred pred) {
    // The records are deleted only after the list is whole again.
    return TakeOutIf(pred).size();
}

template <class Pred> std::vector<CElmntList::STakenOut> CElmntList::TakeOutIf(Pred pred) {
    // The room for what is taken is made before the list changes: memory that runs out then
    // leaves the list as it was.
    std::vector<STakenOut> taken;
    std::size_t count = 0;
    for (const std::unique_ptr<CElmnt>& elmnt : m_elmnts) {
        count += pred(*elmnt) ? 1 : 0;
    }
    if (count == 0) {
        return taken;
    }
    taken.reserve(count);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_elmnts.size(); ++i) {
        std::unique_ptr<CElmnt>& elmnt = m_elmnts[i];
        if (pred(*elmnt)) {
            auto indexEntry = m_byId.extract(elmnt->GetId().Value());
            elmnt->m_list = nullptr;
            taken.push_back({i, std::move(elmnt), std::move(indexEntry)});
        } else {
            if (kept != i) {
                // Records before the first one taken keep their positions untouched.
                elmnt->m_listIndex = kept;
                m_elmnts[kept] = std::move(elmnt);
            }
            ++kept;
        }
    }
    m_elmnts.resize(kept);
    if (!taken.empty()) {
        ++m_changeCount;
    }
    return taken;
}
