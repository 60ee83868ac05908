#include "inspection/inspection_results.h"
#include "inspection/wireless/simulated_bluetooth.h"
#include "inspection/wireless/simulated_internet_probe.h"
#include "inspection/wireless/simulated_path_monitor.h"
#include "inspection/wireless/simulated_wifi_client.h"
#include "inspection/wireless/wireless_inspection.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::wireless;
using tagsmith::test::waitUntil;

namespace {

constexpr std::chrono::milliseconds kShortWait(40);
const QString kWiFiPending = QStringLiteral("尚未确认 Wi-Fi 连接，请查看检测页");

WiFiInterface card(const QString& ssid, std::optional<int> rssi = std::nullopt) {
    return {QStringLiteral("en0"), true, ssid, rssi};
}

class WirelessPage : public testing::Test {
protected:
    WirelessPage() {
        page.setResults(results);
        client->interface = card(QString());
        client->authorization = LocationAuthorization::denied;
    }

    QString wifiText() const { return page.wifiStatus()->text(); }
    QString bluetoothText() const { return page.bluetoothStatus()->text(); }
    InspectionResult result(InspectionItem item) const { return (*results)[item]; }
    void startScanning() {
        page.startBluetooth();
        bluetooth.setState(BluetoothState::poweredOn);
    }

    std::shared_ptr<SimulatedWiFiClient> client = std::make_shared<SimulatedWiFiClient>();
    std::shared_ptr<SimulatedPathMonitor> path = std::make_shared<SimulatedPathMonitor>();
    std::shared_ptr<SimulatedInternetProbe> probe = std::make_shared<SimulatedInternetProbe>();
    SimulatedBluetooth bluetooth;
    std::shared_ptr<InspectionResults> results = std::make_shared<InspectionResults>();
    WirelessInspection page{WirelessHardware{{client, path, probe}, bluetooth.factory()},
                            WirelessTimings{kShortWait, kShortWait}};
};

TEST_F(WirelessPage, CardsThatCannotBeTestedEndAtOnce) {
    const std::pair<std::optional<WiFiInterface>, QString> cases[] = {
        {std::nullopt, QStringLiteral("未读取到 Wi-Fi 接口，请在系统设置中复核。")},
        {WiFiInterface{QStringLiteral("en0"), false, QString(), std::nullopt},
         QStringLiteral("Wi-Fi 未开启或状态不可读。请开启后重试。")},
    };
    for (const auto& [interface, text] : cases) {
        client->interface = interface;
        page.startWiFi();
        EXPECT_EQ(wifiText(), text);
        EXPECT_TRUE(page.wifiButton()->isEnabled());
        EXPECT_EQ(result(InspectionItem::wifi).state, InspectionState::pending);
        EXPECT_EQ(probe->openCount(), 0);
    }
}

TEST_F(WirelessPage, EthernetOnlyDoesNotPass) {
    client->interface = card(QString(), 0);
    page.startWiFi();
    EXPECT_TRUE(wifiText().startsWith(QStringLiteral("无线网卡：已识别 · 开关已开启\n\n")));
    path->report(false);
    probe->finish({false, QStringLiteral("无法连接服务器")});
    EXPECT_EQ(result(InspectionItem::wifi), (InspectionResult{InspectionState::pending, kWiFiPending, false, false}));
    EXPECT_TRUE(wifiText().endsWith(QStringLiteral("联网未通过：无法连接服务器。请检查热点、认证页或网络限制。")));
    EXPECT_TRUE(page.wifiButton()->isEnabled());
}

TEST_F(WirelessPage, WiFiPathOrSecureConnectionPassesWithoutNetworkName) {
    page.startWiFi();
    EXPECT_EQ(probe->lastInterfaceName(), QStringLiteral("en0"));
    EXPECT_EQ(result(InspectionItem::wifi).state, InspectionState::running);
    path->report(true);
    EXPECT_EQ(result(InspectionItem::wifi).state, InspectionState::passed);
    EXPECT_TRUE(wifiText().startsWith(QStringLiteral("Wi-Fi：已成功连接无线网络\n\n")));

    page.stop();
    page.startWiFi();
    EXPECT_EQ(result(InspectionItem::wifi).state, InspectionState::running);
    probe->finish({true, {}});
    EXPECT_EQ(result(InspectionItem::wifi).state, InspectionState::passed);
    EXPECT_TRUE(wifiText().endsWith(QStringLiteral("联网通过：已通过 Wi-Fi 建立安全连接。")));
    EXPECT_TRUE(page.wifiButton()->isEnabled());
}

TEST_F(WirelessPage, ConnectionTimeOutShowsItsTextAndFreesTheButton) {
    page.startWiFi();
    ASSERT_TRUE(waitUntil([&] { return page.wifiButton()->isEnabled(); }));
    EXPECT_TRUE(wifiText().endsWith(QStringLiteral("联网未通过：15 秒内未建立 Wi-Fi 安全连接；不等同于网卡故障。")));
    EXPECT_FALSE(probe->isOpen());
    EXPECT_EQ(result(InspectionItem::wifi), (InspectionResult{InspectionState::pending, kWiFiPending, false, false}));
    EXPECT_TRUE(path->isRunning()) << "association may still pass the item after the test";
}

TEST_F(WirelessPage, SecondPressWhileTestingDoesNothing) {
    page.startWiFi();
    results->confirm(InspectionItem::wifi, false);
    page.startWiFi();
    EXPECT_EQ(probe->openCount(), 1);
    EXPECT_TRUE(result(InspectionItem::wifi).manual);
}

TEST_F(WirelessPage, ScanOutcomesAreShownButNeverDecide) {
    using tagsmith::Error;
    const std::pair<tagsmith::Result<int>, QString> cases[] = {
        {3, QStringLiteral("扫描接收通过：发现 3 个无线接入点。")},
        {0, QStringLiteral("扫描：未发现网络。请靠近已知正常的热点复测，暂不判定故障。")},
        {Error{QStringLiteral("WiFi"), 1, QStringLiteral("网卡不可读")}, QStringLiteral("扫描未完成：网卡不可读")},
    };
    client->authorization = LocationAuthorization::authorized;
    for (const auto& [found, text] : cases) {
        client->setScanResult(found);
        page.startWiFi();
        EXPECT_TRUE(wifiText().contains(QStringLiteral("扫描：正在搜索附近网络…")));
        EXPECT_TRUE(waitUntil([&, text = text] { return wifiText().contains(text); })) << text.toStdString();
        EXPECT_EQ(result(InspectionItem::wifi).state, InspectionState::running);
        page.stop();
    }
    client->authorization = LocationAuthorization::notDetermined;
    page.startWiFi();
    EXPECT_TRUE(wifiText().contains(QStringLiteral("附近网络扫描：未授权（可选，不影响连接通过判定）。")));
}

TEST_F(WirelessPage, ControllerStatesThatEndTheTest) {
    const std::pair<BluetoothState, QString> cases[] = {
        {BluetoothState::unsupported, QStringLiteral("系统未提供低功耗蓝牙支持，请在系统信息中进一步核对。")},
        {BluetoothState::unauthorized,
         QStringLiteral("蓝牙权限未允许。请在系统设置 → 隐私与安全性 → 蓝牙中允许本软件。")},
        {BluetoothState::poweredOff, QStringLiteral("蓝牙开关已关闭。请在系统菜单中开启后重试。")},
        {BluetoothState::other, QStringLiteral("蓝牙状态未知，请在系统设置中复核。")},
    };
    page.startBluetooth();
    for (const auto& [state, text] : cases) {
        // The first report ends the waiting test; later tests read the state at their start.
        bluetooth.setState(state);
        page.startBluetooth();
        EXPECT_EQ(bluetoothText(), text);
        EXPECT_EQ(result(InspectionItem::bluetooth).state, InspectionState::pending);
        EXPECT_TRUE(page.bluetoothButton()->isEnabled());
    }
    EXPECT_EQ(bluetooth.centralsMade(), 1);
}

TEST_F(WirelessPage, ControllerThatStaysInitialisingTimesOutAndASilentScanStaysPending) {
    page.bluetoothButton()->click();
    EXPECT_EQ(bluetoothText(), QStringLiteral("正在读取蓝牙状态。若出现权限提示，请允许。"));
    bluetooth.setState(BluetoothState::resetting);
    EXPECT_EQ(bluetoothText(), QStringLiteral("蓝牙控制器正在初始化…"));
    ASSERT_TRUE(waitUntil([&] { return page.bluetoothButton()->isEnabled(); }));
    EXPECT_EQ(bluetoothText(), QStringLiteral("蓝牙状态暂不可用，请重新检测。"));

    page.startBluetooth();
    bluetooth.setState(BluetoothState::unknown);
    bluetooth.setState(BluetoothState::poweredOn);
    ASSERT_TRUE(waitUntil([&] { return page.bluetoothButton()->isEnabled(); }));
    EXPECT_EQ(bluetoothText(),
              QStringLiteral("蓝牙控制器：已开启\n\n未发现广播设备。请让已知正常的配件处于可发现状态后重试；"
                             "暂不判定硬件故障。"));
    EXPECT_EQ(result(InspectionItem::bluetooth),
              (InspectionResult{InspectionState::pending, QStringLiteral("未完成验证，请查看检测页"), false, false}));
    EXPECT_FALSE(bluetooth.isScanning());
}

TEST_F(WirelessPage, DevicesHeardAreCountedOnceAndRadioSwitchedOffKeepsThePass) {
    startScanning();
    for (const char* device : {"A", "A", "B"})
        bluetooth.advertise(QString::fromLatin1(device));
    EXPECT_EQ(bluetoothText(),
              QStringLiteral("蓝牙控制器：已开启\n\n已扫描到 2 台设备，已自动通过。\n继续扫描中，无需连接或配对。"));
    bluetooth.setState(BluetoothState::poweredOff);
    EXPECT_EQ(bluetoothText(), QStringLiteral("蓝牙开关已关闭。请在系统菜单中开启后重试。"));
    EXPECT_EQ(result(InspectionItem::bluetooth),
              (InspectionResult{InspectionState::passed, QStringLiteral("已扫描到 2 台设备，自动通过"), true, false}));
}

TEST_F(WirelessPage, StopDropsLateAnswersOfBothTests) {
    client->authorization = LocationAuthorization::authorized;
    client->setScanResult(5);
    page.startWiFi();
    page.startBluetooth();
    const QString before = wifiText();
    page.stop();
    EXPECT_FALSE(path->isRunning());
    EXPECT_FALSE(probe->isOpen());
    EXPECT_TRUE(page.wifiButton()->isEnabled());
    EXPECT_TRUE(page.bluetoothButton()->isEnabled());
    bluetooth.setState(BluetoothState::poweredOn);
    bluetooth.advertise(QStringLiteral("A"));
    EXPECT_FALSE(bluetooth.isScanning());
    ASSERT_TRUE(waitUntil([&] { return client->scansAnswered() == 1; }));
    // The scan's answer is posted right after; give it ample time to arrive.
    waitUntil([] { return false; }, std::chrono::milliseconds(150));
    EXPECT_EQ(wifiText(), before);
    for (InspectionItem item : {InspectionItem::wifi, InspectionItem::bluetooth})
        EXPECT_EQ(result(item).state, InspectionState::running);
}

} // namespace
