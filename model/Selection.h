// How a selection command treats the elements it reaches, and the distance within which the group
// walk takes two elements as connected.
#pragma once

#include <cstdint>

// The values are the view's: 0 select, 1 deselect, 2 invert. Any other value does nothing.
enum class SelectionMode : int32_t {
    Select = 0,
    Deselect = 1,
    Invert = 2,
};

// Squared distance in mm² below which an end meets a connection point, or a panel corner a
// coupling, in the group walk (40 mm, whatever snap radius linking uses).
inline constexpr double GroupConnectSq = 1600.0;
