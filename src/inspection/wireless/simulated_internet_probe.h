#pragma once

#include "inspection/wireless/internet_probe.h"

namespace tagsmith::inspection::wireless {

// A connection test whose outcome the caller delivers. Main thread only.
class SimulatedInternetProbe final : public InternetProbe {
public:
    std::unique_ptr<ProbeConnection> open(const QString& wifiInterfaceName,
                                          std::function<void(const ProbeOutcome&)> onOutcome) override;

    // Whether a connection is open and not yet destroyed.
    bool isOpen() const { return m_pending && m_pending->onOutcome; }
    int openCount() const { return m_openCount; }
    QString lastInterfaceName() const { return m_lastInterfaceName; }
    // Ends the open connection with this outcome; nothing when none is open.
    void finish(const ProbeOutcome& outcome);

private:
    struct Pending {
        std::function<void(const ProbeOutcome&)> onOutcome;
    };

    std::shared_ptr<Pending> m_pending;
    int m_openCount = 0;
    QString m_lastInterfaceName;
};

} // namespace tagsmith::inspection::wireless
