#include "inspection/wireless/wireless_self_check.h"

#include "base/spin_until.h"
#include "inspection/inspection_results.h"

#include <QLabel>
#include <QPushButton>

namespace tagsmith::inspection::wireless {

namespace {

constexpr std::chrono::milliseconds kShortWait(80);
using base::spinUntil;

bool shows(const QLabel* label, const QString& text) {
    return label != nullptr && label->text().contains(text);
}

} // namespace

WirelessSelfCheck::WirelessSelfCheck()
    : m_page(std::make_shared<WirelessInspection>(WirelessHardware{{m_client, m_path, m_probe}, m_bluetooth.factory()},
                                                  WirelessTimings{kShortWait, kShortWait})) {}

QString WirelessSelfCheck::summary() {
    return QStringLiteral("Wi-Fi joined, connection time-out, Bluetooth advertisement and radio off");
}

std::optional<QString> WirelessSelfCheck::run(const InspectionResults& results) {
    for (auto check : {&WirelessSelfCheck::checkBluetoothOff, &WirelessSelfCheck::checkBluetoothHeard,
                       &WirelessSelfCheck::checkConnectionTimeout, &WirelessSelfCheck::checkJoinedWiFi}) {
        if (std::optional<QString> failed = (this->*check)(results))
            return failed;
    }
    return std::nullopt;
}

std::optional<QString> WirelessSelfCheck::checkBluetoothOff(const InspectionResults& results) {
    m_page->startBluetooth();
    m_bluetooth.setState(BluetoothState::poweredOff);
    if (!shows(m_page->bluetoothStatus(), QStringLiteral("蓝牙开关已关闭")) ||
        results[InspectionItem::bluetooth].state != InspectionState::pending || m_bluetooth.isScanning())
        return QStringLiteral("蓝牙关闭时未提示开启或未保持待检测。");
    return std::nullopt;
}

std::optional<QString> WirelessSelfCheck::checkBluetoothHeard(const InspectionResults& results) {
    m_bluetooth.setState(BluetoothState::poweredOn);
    m_page->startBluetooth();
    m_bluetooth.advertise(QStringLiteral("5C1D2E3F-0000-4000-8000-00000000A001"));
    if (results[InspectionItem::bluetooth].state != InspectionState::passed)
        return QStringLiteral("收到蓝牙广播后未自动通过。");
    if (!spinUntil([this] { return !m_bluetooth.isScanning(); }) ||
        !shows(m_page->bluetoothStatus(), QStringLiteral("已扫描到 1 台设备，已自动通过。")))
        return QStringLiteral("蓝牙扫描未按时结束。");
    return std::nullopt;
}

std::optional<QString> WirelessSelfCheck::checkConnectionTimeout(const InspectionResults& results) {
    m_client->interface = WiFiInterface{QStringLiteral("en0"), true, QString(), std::nullopt};
    m_client->authorization = LocationAuthorization::denied;
    m_page->startWiFi();
    m_path->report(false);
    if (!spinUntil([this] { return m_page->wifiButton()->isEnabled(); }) ||
        !shows(m_page->wifiStatus(), QStringLiteral("15 秒内未建立 Wi-Fi 安全连接")))
        return QStringLiteral("Wi-Fi 连接测试超时后未提示或未恢复按钮。");
    if (results[InspectionItem::wifi].state == InspectionState::passed)
        return QStringLiteral("未连接 Wi-Fi 却自动通过。");
    return std::nullopt;
}

std::optional<QString> WirelessSelfCheck::checkJoinedWiFi(const InspectionResults& results) {
    m_client->interface = WiFiInterface{QStringLiteral("en0"), true, QStringLiteral("店内 Wi-Fi"), -52};
    m_client->authorization = LocationAuthorization::authorized;
    m_client->setScanResult(7);
    m_page->startWiFi();
    if (results[InspectionItem::wifi].state != InspectionState::passed)
        return QStringLiteral("已连接 Wi-Fi 却未立即通过。");
    if (!spinUntil([this] { return shows(m_page->wifiStatus(), QStringLiteral("发现 7 个无线接入点")); }))
        return QStringLiteral("附近网络扫描结果未显示。");
    m_probe->finish({true, {}});
    if (!shows(m_page->wifiStatus(), QStringLiteral("联网通过")) || !m_page->wifiButton()->isEnabled())
        return QStringLiteral("Wi-Fi 安全连接成功后未显示结果。");
    return std::nullopt;
}

} // namespace tagsmith::inspection::wireless
