#include "inspection/media/watchdog.h"

#include <utility>

namespace tagsmith::inspection::media {

Watchdog::Watchdog() {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { fire(); });
}

void Watchdog::arm(std::chrono::milliseconds after, std::function<void()> action) {
    m_action = std::move(action);
    m_timer.start(after);
}

void Watchdog::cancel() {
    m_timer.stop();
    m_action = nullptr;
}

void Watchdog::fire() {
    // Taken out first: the action may re-arm or cancel this watchdog.
    if (std::function<void()> action = std::exchange(m_action, nullptr))
        action();
}

} // namespace tagsmith::inspection::media
