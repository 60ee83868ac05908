#pragma once

#include <atomic>

namespace tagsmith::inspection::media {

// One attempt to use a device. Every asynchronous step of the attempt checks
// it before acting, so a late answer of an abandoned attempt changes nothing.
// The only page state that hardware queues read, hence atomic.
class MediaRequest {
public:
    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }

private:
    std::atomic<bool> m_cancelled{false};
};

} // namespace tagsmith::inspection::media
