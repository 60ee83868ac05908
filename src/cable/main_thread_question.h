#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace tagsmith::cable {

// Lets a network thread wait for an answer from the main thread (the window
// deciding about a report) without ever being left blocked by an owner that
// is shutting down: after cancel(), waiting threads return false at once and
// questions not yet run on the main thread never run. So the owner may stop
// and wait for its threads, even from the main thread itself.
class MainThreadQuestion {
public:
    MainThreadQuestion();

    // Runs question on the main thread and waits for its answer; false when
    // cancelled before the answer arrives.
    bool ask(std::function<bool()> question);
    void cancel();

private:
    struct State {
        std::mutex lock;
        std::condition_variable answered;
        bool cancelled = false;
    };

    std::shared_ptr<State> m_state; // shared with questions still queued on the main thread
};

} // namespace tagsmith::cable
