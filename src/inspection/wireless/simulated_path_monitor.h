#pragma once

#include "inspection/wireless/wifi_path_monitor.h"

namespace tagsmith::inspection::wireless {

// A path monitor that reports what the caller tells it to. Main thread only.
class SimulatedPathMonitor final : public WiFiPathMonitor {
public:
    void start(std::function<void(bool)> onUpdate) override { m_onUpdate = std::move(onUpdate); }
    void cancel() override { m_onUpdate = nullptr; }

    bool isRunning() const { return bool(m_onUpdate); }
    // Delivers a path update as the system would; nothing while cancelled.
    void report(bool satisfiedOverWiFi) {
        if (const std::function<void(bool)> onUpdate = m_onUpdate)
            onUpdate(satisfiedOverWiFi);
    }

private:
    std::function<void(bool)> m_onUpdate;
};

} // namespace tagsmith::inspection::wireless
