#pragma once

#include <QTimer>

#include <chrono>
#include <functional>

namespace tagsmith::inspection::media {

// Delayed work on the main thread that can be cancelled or re-armed, also
// from inside its own action. Lives on the main thread.
class Watchdog {
public:
    Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // Replaces whatever was armed before.
    void arm(std::chrono::milliseconds after, std::function<void()> action);
    void cancel();
    bool isArmed() const { return m_timer.isActive(); }

private:
    void fire();

    QTimer m_timer;
    std::function<void()> m_action;
};

} // namespace tagsmith::inspection::media
