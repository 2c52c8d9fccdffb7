// Cells of the hashed grids that find points near a point without walking the whole design:
// the cell of a coordinate in mm along one axis and the key of a cell in three dimensions.
#pragma once

#include <cmath>
#include <cstdint>

namespace GridCell {

// Cells are clamped to +-2^19 per axis; points beyond share the edge cells, which costs time but
// never a neighbour. Non-finite coordinates land there as well and meet nothing, as every
// distance test with them fails.
inline constexpr double kLimit = 524288.0;

inline int64_t Index(double v, double cellSize) {
    const double c = std::floor(v / cellSize);
    if (!(c > -kLimit)) {
        return -static_cast<int64_t>(kLimit);
    }
    if (c > kLimit) {
        return static_cast<int64_t>(kLimit);
    }
    return static_cast<int64_t>(c);
}

// 21 bits per axis hold -2^20 to 2^20 - 1, the clamped cells and their neighbours; the top bit
// stays clear.
inline uint64_t Pack(int64_t x, int64_t y, int64_t z) {
    constexpr int64_t offset = int64_t{1} << 20;
    constexpr uint64_t mask = (uint64_t{1} << 21) - 1;
    return (static_cast<uint64_t>(x + offset) & mask) |
           ((static_cast<uint64_t>(y + offset) & mask) << 21) |
           ((static_cast<uint64_t>(z + offset) & mask) << 42);
}

} // namespace GridCell
