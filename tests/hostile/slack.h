#pragma once

#include <chrono>

namespace tagsmith::test {

// Scheduling on a busy machine, on top of a time bound the program promises.
inline constexpr std::chrono::milliseconds kSlack{2500};

} // namespace tagsmith::test
