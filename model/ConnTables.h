// Connection tables that attaching (model) and the placing axes (drawing) must share, so that a
// connection index means the same arm in both.
#pragma once

#include <array>

#include "support/Orientation.h"

// The flat tube bend's connections 0 to 7: the side of its arm and the side it bends towards.
inline constexpr std::array<std::array<int, 2>, 8> FlatRoundTubeSides = {{
    {Side::PlusX, Side::PlusZ},
    {Side::PlusX, Side::MinusZ},
    {Side::MinusX, Side::PlusZ},
    {Side::MinusX, Side::MinusZ},
    {Side::PlusZ, Side::PlusX},
    {Side::PlusZ, Side::MinusX},
    {Side::MinusZ, Side::PlusX},
    {Side::MinusZ, Side::MinusX},
}};

// The 45° coupling's branch: it leaves the body 108.3 mm along local X, turned back by 135°, and
// its connection lies 36 mm out along the branch.
inline constexpr double Branch45Offset = 108.3;
inline constexpr double Branch45Length = 36.0;
