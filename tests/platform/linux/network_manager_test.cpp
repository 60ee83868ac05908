#include "platform/linux/wifi_client_linux.h"
#include "platform/linux/wifi_path_monitor_linux.h"
#include "support/paths.h"
#include "support/private_bus.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace tagsmith::inspection::wireless;
using tagsmith::test::PrivateBus;
using tagsmith::test::waitUntil;

namespace {

QJsonObject device(int type, const char* interface, int state) {
    return {{"type", type}, {"interface", interface}, {"state", state}};
}

// An Ethernet card listed first, so that the backend must pick the Wi-Fi card by its type.
const QJsonObject kEthernet = device(1, "eth0", 100);

// The real D-Bus code against a NetworkManager stand-in on a private bus.
class NetworkManagerBackend : public testing::Test {
protected:
    ~NetworkManagerBackend() override {
        service.terminate();
        service.waitForFinished();
    }

    void serve(const QJsonObject& scene) {
        ASSERT_TRUE(bus.isRunning());
        ASSERT_TRUE(bus.startService(
            service, QStringLiteral("/usr/bin/python3"),
            {tagsmith::test::sourcePath(QStringLiteral("tests/platform/linux/fake_network_manager.py")),
             QString::fromUtf8(QJsonDocument(scene).toJson(QJsonDocument::Compact))}));
    }
    void setWiFiState(uint state) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kNetworkManagerService, kNetworkManagerPath + QStringLiteral("/Devices/2"),
                                           QStringLiteral("org.tagsmith.test.Control"), QStringLiteral("SetState"));
        call.setArguments({state});
        ASSERT_EQ(bus.connection().call(call).type(), QDBusMessage::ReplyMessage);
    }

    PrivateBus bus;
    QProcess service;
};

TEST_F(NetworkManagerBackend, ReadsTheJoinedNetworkOfTheWiFiCard) {
    QJsonObject wifi = device(2, "wlan0", 100);
    wifi["active"] = QStringLiteral("店内 Wi-Fi");
    serve({{"wirelessEnabled", true}, {"devices", QJsonArray{kEthernet, wifi}}});
    const std::optional<WiFiInterface> card = NetworkManagerWiFiClient(bus.connection()).defaultInterface();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->name, QStringLiteral("wlan0"));
    EXPECT_TRUE(card->powerOn);
    EXPECT_EQ(card->ssid, QStringLiteral("店内 Wi-Fi"));
    EXPECT_EQ(card->rssi, -50); // strength 70 %
}

TEST_F(NetworkManagerBackend, NoNetworkManagerOrNoWiFiCardGivesNoInterface) {
    ASSERT_TRUE(bus.isRunning());
    EXPECT_FALSE(NetworkManagerWiFiClient(bus.connection()).defaultInterface()) << "nothing serves the bus yet";
    serve({{"devices", QJsonArray{kEthernet}}});
    NetworkManagerWiFiClient client(bus.connection());
    EXPECT_FALSE(client.defaultInterface());
    const tagsmith::Result<int> scan = client.scanNetworkCount();
    ASSERT_FALSE(scan);
    EXPECT_EQ(scan.error(), (tagsmith::Error{QStringLiteral("WiFi"), 1, QStringLiteral("网卡不可读")}));
}

class NetworkManagerScan : public NetworkManagerBackend, public testing::WithParamInterface<std::pair<bool, int>> {};

// A finished scan counts every access point it heard; a refused one falls back to the last list.
TEST_P(NetworkManagerScan, CountsTheAccessPoints) {
    const auto [refuse, expected] = GetParam();
    QJsonObject wifi = device(2, "wlan0", 100);
    wifi["cached"] = QJsonArray{QJsonArray{"Old", 40}, QJsonArray{"Older", 30}};
    wifi["scanned"] = QJsonArray{QJsonArray{"A", 80}, QJsonArray{"B", 60}, QJsonArray{"B", 35}};
    wifi["refuseScan"] = refuse;
    serve({{"devices", QJsonArray{kEthernet, wifi}}});
    const tagsmith::Result<int> scan = NetworkManagerWiFiClient(bus.connection()).scanNetworkCount();
    ASSERT_TRUE(scan);
    EXPECT_EQ(*scan, expected);
}

INSTANTIATE_TEST_SUITE_P(Linux, NetworkManagerScan, testing::Values(std::pair{false, 3}, std::pair{true, 2}));

TEST_F(NetworkManagerBackend, PathFollowsTheWiFiCardOnly) {
    serve({{"devices", QJsonArray{kEthernet, device(2, "wlan0", 30)}}});
    NetworkManagerPathMonitor monitor(bus.connection());
    QList<bool> updates;
    monitor.start([&](bool satisfied) { updates.append(satisfied); });
    ASSERT_TRUE(waitUntil([&] { return updates == QList<bool>{false}; }));
    setWiFiState(100);
    ASSERT_TRUE(waitUntil([&] { return updates == QList<bool>{false, true}; }));
    setWiFiState(30);
    ASSERT_TRUE(waitUntil([&] { return updates.size() == 3; }));
    EXPECT_FALSE(updates.last());

    monitor.cancel();
    setWiFiState(100);
    // The signal arrived before the reply to the call above; deliver it.
    QCoreApplication::processEvents();
    EXPECT_EQ(updates.size(), 3);
}

} // namespace
