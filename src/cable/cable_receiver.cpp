#include "cable/cable_receiver.h"

#include "base/main_thread.h"
#include "cable/cable_discovery.h"

#include <QSettings>

namespace tagsmith::cable {

namespace {

// The settings are read on every refresh, so a named interface takes effect
// without a restart.
QList<CableLink> discoverLinks() {
    return cableLinks(cableInterfacesSetting(QSettings()));
}

} // namespace

CableReceiver::CableReceiver(std::shared_ptr<CollectorV2> collector, std::uint16_t port, LinkSource getLinks,
                             std::chrono::milliseconds interval)
    : m_collector(std::move(collector)), m_port(port), m_getLinks(getLinks ? std::move(getLinks) : discoverLinks),
      m_interval(interval) {}

void CableReceiver::start() {
    m_queue.async([this] {
        if (m_timer.active() || m_stopped)
            return;
        m_timer = m_queue.every(m_interval, [this] { refresh(); });
        m_events = std::make_unique<LinkEvents>([this] { refresh(); });
    });
}

void CableReceiver::stop(std::function<void()> onStopped) {
    m_queue.async([this, onStopped = std::move(onStopped)] {
        m_stopped = true;
        m_timer.cancel();
        m_events.reset();
        m_collector->updateCableListeners({}, m_port);
        if (onStopped)
            base::onMain(onStopped);
    });
}

void CableReceiver::refresh() {
    if (m_stopped)
        return;
    m_collector->updateCableListeners(m_getLinks(), m_port);
}

} // namespace tagsmith::cable
