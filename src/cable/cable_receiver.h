#pragma once

#include "base/serial_queue.h"
#include "cable/cable_link.h"
#include "cable/collector_v2.h"
#include "cable/link_events.h"

#include <QList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace tagsmith::cable {

// Keeps the collector's listeners in step with the cable: once at start, then
// every second and whenever the system reports a link coming up, it rediscovers the links and hands them to the
// collector, so plugging, unplugging and re-plugging need nothing from the operator.
class CableReceiver {
public:
    using LinkSource = std::function<QList<CableLink>()>;

    // getLinks defaults to the full discovery (cableLinks, with the interfaces named in the settings).
    CableReceiver(std::shared_ptr<CollectorV2> collector, std::uint16_t port, LinkSource getLinks = {},
                  std::chrono::milliseconds interval = std::chrono::seconds(1));
    CableReceiver(const CableReceiver&) = delete;
    CableReceiver& operator=(const CableReceiver&) = delete;

    // Starts the refresh timer unless it runs already or stop() was called.
    void start();

    // Final: cancels the timer and closes every listener, then calls
    // onStopped (if given) on the main thread. Call it before releasing the receiver.
    void stop(std::function<void()> onStopped = {});

private:
    void refresh();

    const std::shared_ptr<CollectorV2> m_collector;
    const std::uint16_t m_port;
    const LinkSource m_getLinks;
    const std::chrono::milliseconds m_interval;
    base::RepeatingTimer m_timer;         // touched only on m_queue
    std::unique_ptr<LinkEvents> m_events; // touched only on m_queue
    bool m_stopped = false;               // touched only on m_queue
    // Declared last, so it is destroyed first: its thread ends, and no task or
    // timer firing can reach the members above while they are torn down. That
    // is why the tasks may capture this plainly.
    base::SerialQueue m_queue{QStringLiteral("tagsmith.cable.receive")};
};

} // namespace tagsmith::cable
