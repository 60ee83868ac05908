#pragma once

#include <curl/curl.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tagsmith::relay {

// Shared between whoever cancels a relay send and the worker running it. A
// cancellation that arrives before a transfer has started marks it, and the
// transfer is refused as soon as it tries to start; one that arrives during a
// transfer wakes its wait at once, so nothing lingers until a timeout.
class RequestCancellation {
public:
    void cancel(); // any thread
    bool isCancelled() const;

    // Sleeps for the duration unless cancelled first; false when cancelled.
    [[nodiscard]] bool wait(std::chrono::milliseconds duration);

    // Bracket one transfer driven by curl_multi_poll; attach fails when the
    // request is already cancelled.
    [[nodiscard]] bool attach(CURLM* transfer);
    void detach();

private:
    mutable std::mutex m_lock;
    std::condition_variable m_cancelledSignal;
    CURLM* m_transfer = nullptr; // guarded by m_lock; woken, never freed, here
    bool m_cancelled = false;    // guarded by m_lock
};

} // namespace tagsmith::relay
