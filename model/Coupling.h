// The radii within which couplings are found at tube ends and panel corners. The application
// owns the 15 cm option and passes the radius in; the model reads no global. Linking and the
// position adjustment search with the radius in force; releasing always searches the widest,
// so that a link made under the 15 cm option is freed by the same coupling later.
#pragma once

namespace CouplingSnap {
// Squared distances in mm².
inline constexpr double NormalSq = 1600.0; // 40 mm
inline constexpr double WideSq = 22500.0;  // 150 mm, while the application's 15 cm option is on

constexpr double RadiusSq(bool wideOption) {
    return wideOption ? WideSq : NormalSq;
}
} // namespace CouplingSnap

// The string-table text shown when a tube end or panel corner reaches a coupling but along none
// of its arms or edges.
inline constexpr unsigned TextNotAtRightAngle = 4212;
