// The 3D view's display flags: which elements the drawing draws and how. They travel with the
// tool mode into every element drawing call.
#pragma once

#include <cstdint>

// Display flags: a bit set.
enum class DrawFlags : int32_t {
    None = 0,
    WithoutPanels = 1,  // the kinds marked hidden-without-panels are not drawn
    OnlySelected = 2,   // only selected elements are drawn
    CollisionTest = 4,  // handed to the drawing by the collision test's surface pass
    Explosion = 8,      // every element at 60 % of its size about its own origin
    ConnectorEnds = 16, // the open ends of couplings drawn at their occupied arms
};

constexpr DrawFlags operator|(DrawFlags a, DrawFlags b) {
    return static_cast<DrawFlags>(static_cast<int32_t>(a) | static_cast<int32_t>(b));
}
constexpr DrawFlags operator&(DrawFlags a, DrawFlags b) {
    return static_cast<DrawFlags>(static_cast<int32_t>(a) & static_cast<int32_t>(b));
}
constexpr DrawFlags operator~(DrawFlags a) {
    return static_cast<DrawFlags>(~static_cast<int32_t>(a));
}
// True when any bit of flag is set in flags.
constexpr bool HasFlag(DrawFlags flags, DrawFlags flag) {
    return (static_cast<int32_t>(flags) & static_cast<int32_t>(flag)) != 0;
}
