#pragma once

#include <functional>
#include <memory>

namespace tagsmith::inspection::wireless {

// Watches whether the machine has a usable network path over its Wi-Fi card;
// paths over Ethernet or a cable never count. Main thread only: updates are
// delivered on the main thread, never from inside start, and never after
// cancel or destruction.
class WiFiPathMonitor {
public:
    virtual ~WiFiPathMonitor() = default;

    // Replaces any running watch. onUpdate receives the first state soon after
    // the start and then every change.
    virtual void start(std::function<void(bool satisfiedOverWiFi)> onUpdate) = 0;
    virtual void cancel() = 0;
};

// The operating system's monitor; one definition per platform.
std::shared_ptr<WiFiPathMonitor> makeSystemWiFiPathMonitor();

} // namespace tagsmith::inspection::wireless
