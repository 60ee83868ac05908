#include "relay/request_cancellation.h"

namespace tagsmith::relay {

void RequestCancellation::cancel() {
    {
        const std::lock_guard lock(m_lock);
        m_cancelled = true;
        // Under the lock, so the worker cannot free the transfer meanwhile.
        if (m_transfer != nullptr)
            curl_multi_wakeup(m_transfer);
    }
    m_cancelledSignal.notify_all();
}

bool RequestCancellation::isCancelled() const {
    const std::lock_guard lock(m_lock);
    return m_cancelled;
}

bool RequestCancellation::wait(std::chrono::milliseconds duration) {
    std::unique_lock lock(m_lock);
    return !m_cancelledSignal.wait_for(lock, duration, [this] { return m_cancelled; });
}

bool RequestCancellation::attach(CURLM* transfer) {
    const std::lock_guard lock(m_lock);
    if (m_cancelled)
        return false;
    m_transfer = transfer;
    return true;
}

void RequestCancellation::detach() {
    const std::lock_guard lock(m_lock);
    m_transfer = nullptr;
}

} // namespace tagsmith::relay
