#pragma once

#include <QHash>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tagsmith::relayd {

// Wakes a workstation's waiting inbox request as soon as an envelope for it
// is stored, so a report is handed on without waiting for the next poll.
class Doorbell {
public:
    // The device's ring count, to wait for a change from.
    quint64 rings(const QString& deviceId) {
        std::lock_guard lock(m_lock);
        return m_rings.value(deviceId);
    }
    void ring(const QString& deviceId) {
        {
            std::lock_guard lock(m_lock);
            ++m_rings[deviceId];
        }
        m_rang.notify_all();
    }
    // Until the device's ring count differs from seen, the time is up or the
    // relay stops.
    void wait(const QString& deviceId, quint64 seen, std::chrono::steady_clock::time_point until) {
        std::unique_lock lock(m_lock);
        m_rang.wait_until(lock, until, [&] { return m_stopping || m_rings.value(deviceId) != seen; });
    }
    // Ends every wait, now and later, so that stopping waits for no poll.
    void stop() {
        {
            std::lock_guard lock(m_lock);
            m_stopping = true;
        }
        m_rang.notify_all();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_rang;
    QHash<QString, quint64> m_rings; // guarded by m_lock; one small counter per device ever rung
    bool m_stopping = false;         // guarded by m_lock
};

} // namespace tagsmith::relayd
