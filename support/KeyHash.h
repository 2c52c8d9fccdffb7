// A 64-bit FNV-1a hash over the bytes of values, for keys that must change whenever any of the
// values they are made from changes (not for anything secret).
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

class CKeyHash {
public:
    template <class T> void Add(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char byte : bytes) {
            m_hash = (m_hash ^ byte) * 1099511628211ull;
        }
    }
    uint64_t Value() const { return m_hash; }

private:
    uint64_t m_hash = 1469598103934665603ull;
};
