#include "inspection/wireless/bluetooth_inspection.h"
#include "inspection/wireless/qt_bluetooth_central.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QBluetoothDeviceInfo>
#include <QBluetoothUuid>
#include <QLabel>
#include <QPushButton>

using namespace tagsmith::inspection::wireless;
using tagsmith::test::waitUntil;
using Error = QBluetoothDeviceDiscoveryAgent::Error;

namespace {

// A controller that does what the test says, in place of the machine's.
class ScriptedAdapter final : public BluetoothAdapter {
public:
    bool isValid() const override { return valid; }
    bool isPoweredOff() const override { return poweredOff; }
    bool isDiscovering() const override { return discovering; }
    void startDiscovery() override { discovering = true; }
    void stopDiscovery() override { discovering = false; }

    void fail(Error error) {
        discovering = false;
        Q_EMIT discoveryFailed(error);
    }

    bool valid = true;
    bool poweredOff = false;
    bool discovering = false;
};

struct Central {
    explicit Central(std::unique_ptr<ScriptedAdapter> scripted = std::make_unique<ScriptedAdapter>())
        : adapter(scripted.get()), central({[this](BluetoothState state) { reported.push_back(state); },
                                            [this](const QString& identifier) { heard.append(identifier); }},
                                           std::move(scripted)) {}

    ScriptedAdapter* adapter;
    std::vector<BluetoothState> reported;
    QStringList heard;
    QtBluetoothCentral central;
};

QBluetoothDeviceInfo device(const char* address, qint16 rssi, QBluetoothDeviceInfo::CoreConfigurations kind) {
    QBluetoothDeviceInfo info(QBluetoothAddress(QString::fromLatin1(address)), QStringLiteral("Accessory"), 0);
    info.setRssi(rssi);
    info.setCoreConfigurations(kind);
    return info;
}

} // namespace

TEST(QtBluetoothCentral, MapsTheAdapterAndEachDiscoveryErrorToAState) {
    Central on;
    ASSERT_TRUE(waitUntil([&] { return !on.reported.empty(); }));
    EXPECT_EQ(on.reported, std::vector{BluetoothState::poweredOn}) << "the first state comes after construction";
    const std::pair<Error, BluetoothState> failures[] = {
        {Error::PoweredOffError, BluetoothState::poweredOff},
        {Error::InvalidBluetoothAdapterError, BluetoothState::unsupported},
        {Error::MissingPermissionsError, BluetoothState::unauthorized},
        {Error::InputOutputError, BluetoothState::other},
    };
    for (const auto& [error, state] : failures) {
        on.reported.clear();
        on.adapter->fail(error);
        EXPECT_EQ(on.reported, std::vector{state}) << int(error);
        EXPECT_EQ(on.central.state(), BluetoothState::poweredOn) << "a failed discovery does not change the adapter";
    }

    on.adapter->poweredOff = true;
    Q_EMIT on.adapter->powerChanged();
    EXPECT_EQ(on.reported.back(), BluetoothState::poweredOff);
    auto missing = std::make_unique<ScriptedAdapter>();
    missing->valid = false;
    EXPECT_EQ(Central(std::move(missing)).central.state(), BluetoothState::unsupported);
}

TEST(QtBluetoothCentral, OnlyLowEnergyDevicesHeardNowCount) {
    Central on;
    Q_EMIT on.adapter->deviceHeard(device("00:11:22:33:44:55", -60, QBluetoothDeviceInfo::LowEnergyCoreConfiguration));
    Q_EMIT on.adapter->deviceHeard(device("00:11:22:33:44:66", 0, QBluetoothDeviceInfo::LowEnergyCoreConfiguration));
    Q_EMIT on.adapter->deviceHeard(device("00:11:22:33:44:77", -50, QBluetoothDeviceInfo::BaseRateCoreConfiguration));
    EXPECT_EQ(on.heard, QStringList{QStringLiteral("00:11:22:33:44:55")});
}

TEST(QtBluetoothCentral, AFailedScanDoesNotBlockTheNextPress) {
    auto scripted = std::make_unique<ScriptedAdapter>();
    ScriptedAdapter* adapter = scripted.get();
    QLabel status;
    QPushButton button;
    BluetoothInspection page(
        [&scripted](BluetoothCentralDelegate delegate) -> std::unique_ptr<BluetoothCentral> {
            return std::make_unique<QtBluetoothCentral>(std::move(delegate), std::move(scripted));
        },
        std::chrono::seconds(15), &status, &button);
    page.startBluetooth();
    ASSERT_TRUE(waitUntil([&] { return adapter->discovering; }));
    adapter->fail(Error::InputOutputError);
    EXPECT_EQ(status.text(), QStringLiteral("蓝牙状态未知，请在系统设置中复核。"));
    EXPECT_TRUE(button.isEnabled());

    page.startBluetooth();
    EXPECT_EQ(status.text(), QStringLiteral("蓝牙控制器：已开启\n\n正在扫描附近低功耗蓝牙广播…"));
    EXPECT_TRUE(adapter->discovering);
}
