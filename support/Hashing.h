// The string hash and the bucket counts of the program's hash tables. A table looks a text up in
// bucket HashString(text) modulo its size and compares texts exactly within the bucket.
#pragma once

#include <cstdint>
#include <string>

// XOR of the characters, each sign-extended (bytes above 127 count as negative) and shifted left
// by 10, 15, 20, then 1, 6, 11, ... (the shift grows by 5 and wraps past 24). The text ends at
// its first NUL.
uint32_t HashString(const char* text);
uint32_t HashString(const std::string& text);

// The smallest distance of base^1 ... base^count (mod p) from a multiple of p: the least of x
// and p - x over those powers x. 0x7fffffff when count < 1; 0 when p is 0.
int32_t MinPowerDistance(int32_t count, uint32_t p, uint32_t base);

// The bucket count for a table of about n entries: the first odd number from n up that is
// prime and keeps 256, 256^2, 256^3 and 256^4 more than 40 away from a multiple of it, so
// that texts differing in one byte rarely share a bucket. 0 when no such number fits in 32 bits.
uint32_t NextPrime(uint32_t n);
