#include "inspection/wireless/simulated_bluetooth.h"

namespace tagsmith::inspection::wireless {

struct SimulatedBluetooth::Radio {
    int centralsMade = 0;
    bool scanning = false;
    BluetoothState state = BluetoothState::unknown;
    BluetoothCentralDelegate delegate; // the latest central's, cleared when it is destroyed
};

namespace {

class SimulatedCentral final : public BluetoothCentral {
public:
    explicit SimulatedCentral(std::shared_ptr<SimulatedBluetooth::Radio> radio) : m_radio(std::move(radio)) {}
    ~SimulatedCentral() override {
        m_radio->delegate = {};
        m_radio->scanning = false;
    }

    BluetoothState state() const override { return m_radio->state; }
    void scan() override { m_radio->scanning = true; }
    void stopScan() override { m_radio->scanning = false; }

private:
    std::shared_ptr<SimulatedBluetooth::Radio> m_radio;
};

} // namespace

SimulatedBluetooth::SimulatedBluetooth() : m_radio(std::make_shared<Radio>()) {}

BluetoothCentralFactory SimulatedBluetooth::factory() {
    return [radio = m_radio](BluetoothCentralDelegate delegate) -> std::unique_ptr<BluetoothCentral> {
        ++radio->centralsMade;
        radio->delegate = std::move(delegate);
        return std::make_unique<SimulatedCentral>(radio);
    };
}

int SimulatedBluetooth::centralsMade() const {
    return m_radio->centralsMade;
}

bool SimulatedBluetooth::isScanning() const {
    return m_radio->scanning;
}

void SimulatedBluetooth::setState(BluetoothState state) {
    m_radio->state = state;
    if (const auto stateChanged = m_radio->delegate.stateChanged)
        stateChanged(state);
}

void SimulatedBluetooth::advertise(const QString& identifier) {
    if (const auto discovered = m_radio->delegate.discovered)
        discovered(identifier);
}

} // namespace tagsmith::inspection::wireless
