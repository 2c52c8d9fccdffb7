// Counting identities out of the range, then reusing those handed back.
#include "model/ElmntId.h"

#include <new>
#include <stdexcept>

ElmntId CElmntIdSource::Next() {
    if (m_next < ElmntId::End) {
        return ElmntId(m_next++);
    }
    if (m_released.empty()) {
        throw std::length_error("all element identities are in use");
    }
    uint32_t value = m_released.back();
    m_released.pop_back();
    return ElmntId(value);
}

void CElmntIdSource::Release(ElmntId id) noexcept {
    if (!id.IsValid()) {
        return;
    }
    try {
        m_released.push_back(id.Value());
    } catch (const std::bad_alloc&) {
        // Called from destructors: without memory the identity is simply not given out again.
    }
}
