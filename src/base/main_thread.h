#pragma once

#include <functional>

namespace tagsmith::base {

// Queues the task on the main (GUI) thread and returns at once.
void onMain(std::function<void()> task);

bool isMainThread();

} // namespace tagsmith::base
