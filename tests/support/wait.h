#pragma once

#include "base/main_thread.h"
#include "base/spin_until.h"

#include <utility>

#include <chrono>

namespace tagsmith::test {

// Spins the event loop until the condition holds or the deadline passes;
// returns whether it held.
template <typename Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    return base::spinUntil(std::move(condition), limit);
}

// Lets everything queued for the main thread so far run, so that a call that
// has not come is really missing; whether it came to that.
inline bool settleMainThread() {
    bool done = false;
    base::onMain([&] { done = true; });
    return waitUntil([&] { return done; });
}

} // namespace tagsmith::test
