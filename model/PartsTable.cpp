// The parts table: entries by value, an index by designation, and the recount of a design.
#include "model/PartsTable.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>

#include "model/ArticleDesignation.h"
#include "model/ElmntList.h"

namespace {

// What decides an element's designation. Elements with equal keys have equal designations, so
// a recount formats each key once instead of once per element: a design holds thousands of
// elements but only tens of different articles, and the recount runs after every change.
struct SDesignationKey {
    int32_t kind;
    uint32_t occupiedArms;
    uint32_t lengthBits;
    uint32_t secondSizeBits;
    int32_t material;

    friend bool operator==(const SDesignationKey&, const SDesignationKey&) = default;
};

struct SDesignationKeyHash {
    std::size_t operator()(const SDesignationKey& key) const noexcept {
        uint64_t h = static_cast<uint32_t>(key.kind);
        for (uint32_t part : {key.occupiedArms, key.lengthBits, key.secondSizeBits,
                              static_cast<uint32_t>(key.material)}) {
            h = (h ^ part) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 29;
        }
        return static_cast<std::size_t>(h);
    }
};

// No article: the key's elements are not counted.
constexpr std::size_t NoEntry = static_cast<std::size_t>(-1);

bool EntryLess(const SPartEntry& a, const SPartEntry& b) {
    if (a.sortKey != b.sortKey) {
        return a.sortKey < b.sortKey;
    }
    // Byte order as strcmp gives it; designations hold no NUL.
    return std::strcmp(a.designation.c_str(), b.designation.c_str()) < 0;
}

} // namespace

const std::unordered_map<std::string_view, std::size_t>& CPartsTable::Index() const {
    if (m_indexStale) {
        m_index.clear();
        m_index.reserve(m_entries.size());
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            // emplace keeps the first entry of a designation that a price list names twice.
            m_index.emplace(m_entries[i].designation, i);
        }
        m_indexStale = false;
    }
    return m_index;
}

const SPartEntry* CPartsTable::Find(std::string_view designation) const {
    const std::size_t index = IndexOf(designation);
    return index < m_entries.size() ? &m_entries[index] : nullptr;
}

std::size_t CPartsTable::IndexOf(std::string_view designation) const {
    const auto& index = Index();
    const auto found = index.find(designation);
    return found != index.end() ? found->second : m_entries.size();
}

void CPartsTable::Clear() {
    m_entries.clear();
    m_index.clear();
    m_indexStale = false;
}

void CPartsTable::Append(SPartEntry entry) {
    m_entries.push_back(std::move(entry));
    m_indexStale = true;
}

void CPartsTable::Sort() {
    // The order is total for the entries a table can hold (sort keys of price-list lines are
    // unique, and designations of the other entries are), so a stable sort gives the same
    // order as any other correct merge sort.
    if (!std::is_sorted(m_entries.begin(), m_entries.end(), EntryLess)) {
        std::stable_sort(m_entries.begin(), m_entries.end(), EntryLess);
        m_indexStale = true;
    }
}

bool CPartsTable::SetEntryValues(std::size_t index, int32_t available, std::string orderNumber,
                                 double price) {
    if (index >= m_entries.size()) {
        return false;
    }
    SPartEntry& entry = m_entries[index];
    entry.available = available;
    entry.orderNumber = std::move(orderNumber);
    entry.price = price;
    return true;
}

bool CPartsTable::SetAvailable(std::size_t index, int32_t available) {
    if (index >= m_entries.size()) {
        return false;
    }
    m_entries[index].available = available;
    return true;
}

void CPartsTable::ClearAvailable() {
    for (SPartEntry& entry : m_entries) {
        entry.available = 0;
    }
}

namespace {

// Counts elements by designation into a recount kept aside from the table, which it only reads.
class CPartsCounter {
public:
    CPartsCounter(const CPartsTable& table, const MaterialNameLookup& names, SPartsRecount& out)
        : m_table(table), m_names(names), m_out(out), m_old(table.Size()) {
        m_out.counts.assign(m_old, 0);
    }

    void Count(const CElmnt& elmnt) {
        const SDesignationKey key{KindCode(elmnt.kind), elmnt.GetOccupiedArms(),
                                  std::bit_cast<uint32_t>(elmnt.length),
                                  std::bit_cast<uint32_t>(elmnt.secondSize), elmnt.GetMaterial()};
        auto [slot, isNew] = m_memo.try_emplace(key, NoEntry);
        if (isNew) {
            slot->second = FindOrAdd(elmnt);
        }
        const std::size_t position = slot->second;
        if (position == NoEntry) {
            return;
        }
        if (position < m_old) {
            ++m_out.counts[position];
        } else {
            ++m_out.added[position - m_old].count;
        }
    }

private:
    // The position of the element's article: an entry of the table, or from m_old on one of
    // the entries to add; NoEntry for an element without article.
    std::size_t FindOrAdd(const CElmnt& elmnt) {
        const uint32_t id = GetDesignationId(elmnt);
        if (id == 0) {
            return NoEntry;
        }
        const std::string_view material =
            DesignationTakesMaterial(id) ? m_names(elmnt.GetMaterial()) : std::string_view();
        std::string designation = FormatArticleName(id, elmnt.length, elmnt.secondSize, material);
        if (designation.empty()) {
            return NoEntry;
        }
        const std::size_t existing = m_table.IndexOf(designation);
        if (existing < m_old) {
            return existing;
        }
        auto [added, isNew] = m_addedIndex.try_emplace(designation, m_old + m_out.added.size());
        if (isNew) {
            SPartEntry entry(std::move(designation));
            entry.count = 0;
            m_out.added.push_back(std::move(entry));
        }
        return added->second;
    }

    const CPartsTable& m_table;
    const MaterialNameLookup& m_names;
    SPartsRecount& m_out;
    const std::size_t m_old;
    std::unordered_map<std::string, std::size_t> m_addedIndex;
    std::unordered_map<SDesignationKey, std::size_t, SDesignationKeyHash> m_memo;
};

} // namespace

void CPartsTable::Recount(const CElmntList& elmnts, Revision revision,
                          const MaterialNameLookup& names) {
    ApplyRecount(PrepareRecount(elmnts, revision, names));
}

SPartsRecount CPartsTable::PrepareRecount(const CElmntList& elmnts, Revision revision,
                                          const MaterialNameLookup& names,
                                          std::span<const std::unique_ptr<CElmnt>> extra) {
    SPartsRecount recount;
    CPartsCounter counter(*this, names, recount);
    for (const CElmnt& elmnt : elmnts) {
        if (elmnt.IsAliveAt(revision)) {
            counter.Count(elmnt);
        }
    }
    for (const std::unique_ptr<CElmnt>& elmnt : extra) {
        counter.Count(*elmnt);
    }
    // Capacity only: the entries keep their values, whatever happens later. Entries that move
    // take the strings the index views with them.
    const SPartEntry* before = m_entries.data();
    m_entries.reserve(m_entries.size() + recount.added.size());
    if (m_entries.data() != before) {
        m_indexStale = true;
    }
    return recount;
}

void CPartsTable::ApplyRecount(SPartsRecount recount) noexcept {
    for (std::size_t i = 0; i < m_entries.size() && i < recount.counts.size(); ++i) {
        m_entries[i].count = recount.counts[i];
    }
    if (!recount.added.empty()) {
        for (SPartEntry& entry : recount.added) {
            m_entries.push_back(std::move(entry)); // within the capacity prepared
        }
        m_indexStale = true;
    }
    Sort(); // a merge without a buffer when none can be had
}

void CPartsTable::Swap(CPartsTable& other) noexcept {
    m_entries.swap(other.m_entries);
    m_index.swap(other.m_index);
    std::swap(m_indexStale, other.m_indexStale);
}
