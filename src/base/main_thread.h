#pragma once

#include <functional>

namespace tagsmith::base {

// Queues the task on the main (GUI) thread and returns at once.
void onMain(std::function<void()> task);

// Runs the task on the main thread and waits until it has run. Meant for
// worker threads that need an answer from the window; called on the main
// thread itself it simply runs the task.
void onMainSync(const std::function<void()>& task);

bool isMainThread();

} // namespace tagsmith::base
