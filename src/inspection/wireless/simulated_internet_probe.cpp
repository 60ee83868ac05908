#include "inspection/wireless/simulated_internet_probe.h"

namespace tagsmith::inspection::wireless {

namespace {

class SimulatedConnection final : public ProbeConnection {
public:
    explicit SimulatedConnection(std::function<void()> onDestroyed) : m_onDestroyed(std::move(onDestroyed)) {}
    ~SimulatedConnection() override { m_onDestroyed(); }

private:
    std::function<void()> m_onDestroyed;
};

} // namespace

std::unique_ptr<ProbeConnection> SimulatedInternetProbe::open(const QString& wifiInterfaceName,
                                                              std::function<void(const ProbeOutcome&)> onOutcome) {
    ++m_openCount;
    m_lastInterfaceName = wifiInterfaceName;
    auto pending = std::make_shared<Pending>(Pending{std::move(onOutcome)});
    m_pending = pending;
    return std::make_unique<SimulatedConnection>([pending] { pending->onOutcome = nullptr; });
}

void SimulatedInternetProbe::finish(const ProbeOutcome& outcome) {
    if (!m_pending)
        return;
    // A copy: the handler may destroy its connection, which clears the original.
    if (const std::function<void(const ProbeOutcome&)> onOutcome = m_pending->onOutcome)
        onOutcome(outcome);
}

} // namespace tagsmith::inspection::wireless
