// Identities of element records and the source that gives them out. An identity names one
// element state for as long as the record lives: it is the GL selection name and feedback token
// of the element, and views keep it instead of a pointer across user actions. Identities are at
// least 2000, so that sub-names (zones, axes, markers) below 2000 are told apart from them, and
// below 2^24, so that they survive a pass-through as a float value.
#pragma once

#include <compare>
#include <cstdint>
#include <vector>

class ElmntId {
public:
    static constexpr uint32_t First = 2000;
    static constexpr uint32_t End = 1u << 24; // first value that is no identity

    // No identity (value 0).
    constexpr ElmntId() = default;
    constexpr explicit ElmntId(uint32_t value) : m_value(value) {}

    constexpr uint32_t Value() const { return m_value; }
    constexpr bool IsValid() const { return m_value >= First && m_value < End; }

    friend constexpr auto operator<=>(ElmntId a, ElmntId b) = default;

private:
    uint32_t m_value = 0;
};

// Gives out identities that are unique among the records made from one source. The document
// owns one source, and every record of the document takes its identity from it. Identities of
// deleted records are handed back, but given out again only once the range is used up, so that
// a view holding a stale identity finds nothing rather than another element for as long as
// possible. One thread only, like the rest of the model.
class CElmntIdSource {
public:
    CElmntIdSource() = default;
    CElmntIdSource(const CElmntIdSource&) = delete;
    CElmntIdSource& operator=(const CElmntIdSource&) = delete;

    // A new identity. Throws std::length_error when every identity of the range is in use.
    ElmntId Next();
    // The record that carried the identity is gone. An identity that is not valid is ignored;
    // each identity must be handed back at most once. Never throws (records' destructors call
    // it): when memory runs out the identity is not given out again.
    void Release(ElmntId id) noexcept;

private:
    uint32_t m_next = ElmntId::First;
    std::vector<uint32_t> m_released;
};
