#include "inspection/wireless/wifi_path_monitor.h"

#import <Network/Network.h>

namespace tagsmith::inspection::wireless {

namespace {

using PathHandler = std::function<void(bool)>;

// A Network framework path monitor limited to Wi-Fi, delivering on the main queue.
class NetworkPathMonitor final : public WiFiPathMonitor {
public:
    ~NetworkPathMonitor() override { cancel(); }

    void start(PathHandler onUpdate) override {
        cancel();
        // Shared with the update block, which outlives a cancel until the queue drains.
        auto handler = std::make_shared<PathHandler>(std::move(onUpdate));
        m_handler = handler;
        m_monitor = nw_path_monitor_create_with_type(nw_interface_type_wifi);
        nw_path_monitor_set_queue(m_monitor, dispatch_get_main_queue());
        nw_path_monitor_set_update_handler(m_monitor, ^(nw_path_t path) {
          const bool satisfied = nw_path_get_status(path) == nw_path_status_satisfied &&
                                 nw_path_uses_interface_type(path, nw_interface_type_wifi);
          if (const PathHandler current = *handler)
              current(satisfied);
        });
        nw_path_monitor_start(m_monitor);
    }

    void cancel() override {
        if (m_handler)
            *m_handler = nullptr;
        m_handler.reset();
        if (m_monitor != nil)
            nw_path_monitor_cancel(m_monitor);
        m_monitor = nil;
    }

private:
    nw_path_monitor_t m_monitor = nil;
    std::shared_ptr<PathHandler> m_handler;
};

} // namespace

std::shared_ptr<WiFiPathMonitor> makeSystemWiFiPathMonitor() {
    return std::make_shared<NetworkPathMonitor>();
}

} // namespace tagsmith::inspection::wireless
