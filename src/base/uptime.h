#pragma once

#include <chrono>

namespace tagsmith::base {

// Seconds on a clock that never jumps with wall-clock changes.
inline double uptime() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace tagsmith::base
