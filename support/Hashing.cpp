#include "support/Hashing.h"

#include <algorithm>

uint32_t HashString(const char* text) {
    uint32_t hash = 0;
    int shift = 10;
    for (const char* c = text; *c != '\0'; ++c) {
        // The character as a signed byte, sign-extended to 32 bits, then shifted as unsigned.
        uint32_t extended =
            static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(*c)));
        hash ^= extended << shift;
        shift += 5;
        if (shift > 24) {
            shift -= 24;
        }
    }
    return hash;
}

uint32_t HashString(const std::string& text) {
    return HashString(text.c_str());
}

int32_t MinPowerDistance(int32_t count, uint32_t p, uint32_t base) {
    if (count < 1) {
        return 0x7fffffff;
    }
    if (p == 0) {
        return 0;
    }
    uint64_t x = 1;
    uint64_t smallest = p;
    for (int32_t i = 0; i < count; ++i) {
        x = (x * base) % p;
        smallest = std::min({smallest, x, p - x});
    }
    return static_cast<int32_t>(smallest);
}

namespace {

// Trial division by 3 and the odd numbers up to the square root; only odd candidates come here
// (so 1 counts as prime, as the table sizing has always taken it).
bool IsOddPrime(uint64_t candidate) {
    for (uint64_t divisor = 3; divisor * divisor <= candidate; divisor += 2) {
        if (candidate % divisor == 0) {
            return false;
        }
    }
    return true;
}

} // namespace

uint32_t NextPrime(uint32_t n) {
    for (uint64_t candidate = n | 1u; candidate <= UINT32_MAX; candidate += 2) {
        if (IsOddPrime(candidate) &&
            MinPowerDistance(4, static_cast<uint32_t>(candidate), 256) > 40) {
            return static_cast<uint32_t>(candidate);
        }
    }
    return 0;
}
