#pragma once

#include <QHashFunctions>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace tagsmith::relayd {

// Wakes a workstation's waiting inbox request as soon as an envelope for it
// is stored, so a report is handed on without waiting for the next poll.
class Doorbell {
public:
    // The device's ring count, to wait for a change from.
    quint64 rings(const QString& deviceId) {
        std::lock_guard lock(m_lock);
        return bell(deviceId).rings;
    }
    void ring(const QString& deviceId) {
        std::lock_guard lock(m_lock);
        Bell& rung = bell(deviceId);
        ++rung.rings;
        rung.rang.notify_all();
    }
    // Until the device's ring count differs from seen, the time is up or the
    // relay stops.
    void wait(const QString& deviceId, quint64 seen, std::chrono::steady_clock::time_point until) {
        std::unique_lock lock(m_lock);
        Bell& waited = bell(deviceId);
        waited.rang.wait_until(lock, until, [&] { return m_stopping || waited.rings != seen; });
    }
    // Ends every wait, now and later, so that stopping waits for no poll.
    void stop() {
        std::lock_guard lock(m_lock);
        m_stopping = true;
        for (const auto& [deviceId, each] : m_bells)
            each->rang.notify_all();
    }

private:
    // A bell of its own per device, so that an envelope wakes only its
    // workstation's waiting request, not every workstation's.
    struct Bell {
        quint64 rings = 0;
        std::condition_variable rang;
    };
    Bell& bell(const QString& deviceId) {
        std::unique_ptr<Bell>& slot = m_bells[deviceId];
        if (!slot)
            slot = std::make_unique<Bell>();
        return *slot;
    }

    std::mutex m_lock;
    std::unordered_map<QString, std::unique_ptr<Bell>>
        m_bells;             // guarded by m_lock; one per registered device that polled
    bool m_stopping = false; // guarded by m_lock
};

} // namespace tagsmith::relayd
