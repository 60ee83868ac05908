#pragma once

#include <functional>

namespace tagsmith::base {

// Runs a blocking task (an accept loop, one network exchange) on a thread of
// its own that nobody joins. A pool would not do: with two cores it has two
// threads, and blocked loops would starve everything else. Returns false when
// the system cannot create a thread; the task has then not run.
[[nodiscard]] bool runDetached(std::function<void()> task);

} // namespace tagsmith::base
