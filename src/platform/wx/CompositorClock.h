// The clock a Wayland compositor presents frames by and, with them, stamps input.
#pragma once

#include <optional>

// The compositor's clock (a clockid_t) when the program runs on a Wayland display
// whose compositor says which clock it presents by; nullopt elsewhere.
std::optional<int> CompositorClock();
