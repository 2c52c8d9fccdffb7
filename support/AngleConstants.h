// Angle and root constants shared by every unit that works with angles (radians inside, degrees
// in dialogs and drawing tables). The values are bit-equal to PI = 4 * atan2(1, 1),
// DEG2RAD = PI * 0.005555555555555556 (a product with the double nearest 1/180, not a quotient),
// RAD2DEG = 180 / PI, SQRT2 = sqrt(2) and SQRT1_2 = sqrt(0.5); a test checks each against its
// run-time computation.
#pragma once

inline constexpr double PI = 3.141592653589793;
inline constexpr double DEG2RAD = PI * 0.005555555555555556;
inline constexpr double RAD2DEG = 180.0 / PI;
inline constexpr double SQRT2 = 1.4142135623730951;
inline constexpr double SQRT1_2 = 0.7071067811865476;
