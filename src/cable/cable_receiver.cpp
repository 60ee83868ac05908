#include "cable/cable_receiver.h"

#include "base/main_thread.h"
#include "cable/cable_network.h"

namespace tagsmith::cable {

namespace {

QList<CableLink> discoverLinks() {
    return CableNetwork().current();
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
    });
}

void CableReceiver::stop(std::function<void()> onStopped) {
    m_queue.async([this, onStopped = std::move(onStopped)] {
        m_stopped = true;
        m_timer.cancel();
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
