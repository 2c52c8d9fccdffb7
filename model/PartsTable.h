// The parts table of a design: one entry per article with its order number, unit price, the
// count used in the design and the count in stock. The price list fills it in the order of its
// lines, the stock list sets the counts in stock, and a recount after every change of the design
// counts the elements alive at the current revision by designation, adding entries for articles
// that the price list does not name. The parts list view, its export, the list writers and the
// order form only read it.
//
// Entries live in the table by value and move when the table is sorted or replaced: callers
// keep an index or a designation across updates and look the entry up again, never a pointer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/Elmnt.h"

class CElmntList;

// One article of the parts table.
struct SPartEntry {
    // Sort key of an article that the price list does not name: behind all that it names.
    static constexpr int32_t NotInPriceList = 0x7fffffff;

    // An article found in the design but not in the price list: count 1, nothing in stock, no
    // order number, price 0.
    explicit SPartEntry(std::string designation) : designation(std::move(designation)) {}
    // An article of a price list at line index sortKey (from 0): count 0, nothing in stock.
    SPartEntry(int32_t sortKey, std::string designation, std::string orderNumber, double price)
        : sortKey(sortKey), count(0), designation(std::move(designation)),
          orderNumber(std::move(orderNumber)), price(price) {}

    int32_t sortKey = NotInPriceList; // index of the price-list line, from 0
    int32_t count = 1;                // elements alive at the current revision
    int32_t available = 0;            // count in stock
    std::string designation;          // German; the key of the table
    std::string orderNumber;          // empty for an article not in the price list
    double price = 0.0;               // unit price; 0.0 for an article not in the price list

    friend bool operator==(const SPartEntry&, const SPartEntry&) = default;
};

// The name of the material in a slot of the design's material table; empty for an empty slot
// or a slot outside the table. The text must stay valid while a recount runs.
using MaterialNameLookup = std::function<std::string_view(int32_t slot)>;

// A recount worked out aside from the table (CPartsTable::PrepareRecount).
struct SPartsRecount {
    std::vector<int32_t> counts;   // the new count of the entry at each position
    std::vector<SPartEntry> added; // entries for designations that the table does not hold yet
};

class CPartsTable {
public:
    CPartsTable() = default;

    std::size_t Size() const { return m_entries.size(); }
    bool IsEmpty() const { return m_entries.empty(); }
    // The entry at a position in the table's order; nullptr when out of range.
    const SPartEntry* GetAt(std::size_t index) const {
        return index < m_entries.size() ? &m_entries[index] : nullptr;
    }
    // The first entry with exactly this designation (byte comparison); nullptr when none.
    const SPartEntry* Find(std::string_view designation) const;
    // Its position; Size() when none.
    std::size_t IndexOf(std::string_view designation) const;

    std::vector<SPartEntry>::const_iterator begin() const { return m_entries.begin(); }
    std::vector<SPartEntry>::const_iterator end() const { return m_entries.end(); }

    // Deletes every entry.
    void Clear();
    // Appends an entry at the end, unsorted (price-list reading appends in the order of the
    // file, which is the sort order).
    void Append(SPartEntry entry);
    // Orders the entries by ascending sort key (signed), equal keys by ascending designation
    // (byte order): price-list articles in the order of the list, the others last,
    // alphabetically.
    void Sort();

    // The values that the parts list view's entry dialog edits. False when index is out of
    // range. The designation and the sort key are never changed in place.
    bool SetEntryValues(std::size_t index, int32_t available, std::string orderNumber,
                        double price);
    // The count in stock of one entry; false when index is out of range.
    bool SetAvailable(std::size_t index, int32_t available);
    // Every entry's count in stock to 0.
    void ClearAvailable();

    // Recounts the design: every count to 0, then one per element state of the list alive at
    // revision (floating ones included) by its designation, with a new entry for a designation
    // that the table does not hold yet; then sorted. Entries whose count drops to 0 stay with
    // their price, order number and stock. When memory runs out, std::bad_alloc comes through
    // with the table as it was.
    void Recount(const CElmntList& elmnts, Revision revision, const MaterialNameLookup& names);
    // The same recount worked out without changing an entry, the records of extra counted as
    // alive too (elements about to be added), for a change that must not fail once it began:
    // room is made for the entries to add, so that ApplyRecount allocates nothing. May throw
    // std::bad_alloc.
    SPartsRecount PrepareRecount(const CElmntList& elmnts, Revision revision,
                                 const MaterialNameLookup& names,
                                 std::span<const std::unique_ptr<CElmnt>> extra = {});
    // Takes in a recount prepared on this table while its entries stayed as they were.
    void ApplyRecount(SPartsRecount recount) noexcept;

    // Exchanges the contents of two tables (a price list read aside replaces the table so).
    void Swap(CPartsTable& other) noexcept;

    friend bool operator==(const CPartsTable& a, const CPartsTable& b) {
        return a.m_entries == b.m_entries;
    }

private:
    // The index, rebuilt first when entries were added, removed or moved since.
    const std::unordered_map<std::string_view, std::size_t>& Index() const;

    std::vector<SPartEntry> m_entries;
    // Designation -> position of its first entry. Keys view the entries' own strings, which
    // move with the entries, so any change of the vector marks the index stale.
    mutable std::unordered_map<std::string_view, std::size_t> m_index;
    mutable bool m_indexStale = false;
};
