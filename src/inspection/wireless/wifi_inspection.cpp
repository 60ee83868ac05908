#include "inspection/wireless/wifi_inspection.h"

#include "base/main_thread.h"
#include "inspection/inspection_results.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include <thread>

namespace tagsmith::inspection::wireless {

namespace {

const QString kJoined = QStringLiteral("Wi-Fi：已成功连接无线网络");

} // namespace

WiFiInspection::WiFiInspection(WiFiHardware hardware, std::chrono::milliseconds connectionTimeout, QLabel* status,
                               QPushButton* button)
    : m_hardware(std::move(hardware)), m_connectionTimeout(connectionTimeout), m_status(status), m_button(button) {}

WiFiInspection::~WiFiInspection() {
    m_hardware.pathMonitor->cancel();
}

void WiFiInspection::startWiFi() {
    if (m_busy)
        return;
    beginTest();
    const std::optional<WiFiInterface> interface = m_hardware.client->defaultInterface();
    if (!interface)
        return endWithoutRadio(QStringLiteral("未读取到 Wi-Fi 接口，请在系统设置中复核。"));
    if (!interface->powerOn)
        return endWithoutRadio(QStringLiteral("Wi-Fi 未开启或状态不可读。请开启后重试。"));
    describe(*interface);
    m_internetLine = QStringLiteral("联网：正在验证 Wi-Fi TLS 连接…");
    checkInternet(m_generation, interface->name);
    readLocationAndScan(m_generation);
    renderWiFi();
}

void WiFiInspection::beginTest() {
    if (m_results)
        m_results->begin(InspectionItem::wifi);
    m_internetPassed = false;
    m_associated = false;
    m_scanInProgress = false;
    m_hardware.pathMonitor->cancel();
    ++m_generation;
    m_busy = true;
    setButtonEnabled(false);
    m_hardwareLine = QStringLiteral("正在检查无线网卡…");
    m_scanLine = QStringLiteral("扫描：等待检查");
    m_internetLine = QStringLiteral("联网：等待检查");
    renderWiFi();
}

void WiFiInspection::endWithoutRadio(const QString& hardwareLine) {
    m_hardwareLine = hardwareLine;
    m_scanLine.clear();
    m_internetLine.clear();
    m_busy = false;
    setButtonEnabled(true);
    renderWiFi();
}

void WiFiInspection::describe(const WiFiInterface& interface) {
    m_associated = !interface.ssid.isEmpty();
    m_hardwareLine = m_associated ? kJoined : QStringLiteral("无线网卡：已识别 · 开关已开启");
    if (interface.rssi && *interface.rssi < 0)
        m_hardwareLine += QStringLiteral(" · 当前信号 %1 dBm").arg(*interface.rssi);
}

void WiFiInspection::readLocationAndScan(int generation) {
    switch (m_hardware.client->locationAuthorization()) {
    case LocationAuthorization::authorized:
        return scanWiFi(generation);
    case LocationAuthorization::notDetermined:
        m_scanLine = QStringLiteral("附近网络扫描：未授权（可选，不影响连接通过判定）。");
        return;
    case LocationAuthorization::denied:
        m_scanLine = QStringLiteral("附近网络扫描：权限未允许（不影响连接通过判定）。");
        return;
    }
}

void WiFiInspection::renderWiFi() {
    QStringList lines;
    for (const QString& line : {m_hardwareLine, m_scanLine, m_internetLine}) {
        if (!line.isEmpty())
            lines.append(line);
    }
    if (m_status)
        m_status->setText(lines.join(QStringLiteral("\n\n")));
    if (!m_results)
        return;
    if (m_associated || m_internetPassed) {
        m_results->set(InspectionItem::wifi, InspectionState::passed, QStringLiteral("Wi-Fi 已成功连接，自动通过"));
        return;
    }
    const bool testing = m_busy || m_scanInProgress;
    m_results->set(InspectionItem::wifi, testing ? InspectionState::running : InspectionState::pending,
                   QStringLiteral("尚未确认 Wi-Fi 连接，请查看检测页"));
}

void WiFiInspection::checkInternet(int generation, const QString& interfaceName) {
    m_connection.reset();
    m_timeout.cancel();
    m_hardware.pathMonitor->start([this, generation](bool satisfied) { pathUpdated(satisfied, generation); });
    m_connection = m_hardware.internet->open(
        interfaceName, [this, generation](const ProbeOutcome& outcome) { connectionEnded(outcome, generation); });
    m_timeout.arm(m_connectionTimeout, [this, generation] {
        completeInternet(QStringLiteral("联网未通过：15 秒内未建立 Wi-Fi 安全连接；不等同于网卡故障。"), generation);
    });
}

void WiFiInspection::pathUpdated(bool satisfiedOverWiFi, int generation) {
    // A joined network passes the item even when its name could not be read.
    if (generation != m_generation || !satisfiedOverWiFi)
        return;
    m_associated = true;
    m_hardwareLine = kJoined;
    renderWiFi();
}

void WiFiInspection::connectionEnded(const ProbeOutcome& outcome, int generation) {
    if (generation != m_generation || !m_connection)
        return;
    if (!outcome.ready) {
        completeInternet(QStringLiteral("联网未通过：") + outcome.failure +
                             QStringLiteral("。请检查热点、认证页或网络限制。"),
                         generation);
        return;
    }
    m_internetPassed = true;
    m_hardwareLine = kJoined;
    completeInternet(QStringLiteral("联网通过：已通过 Wi-Fi 建立安全连接。"), generation);
}

void WiFiInspection::completeInternet(const QString& message, int generation) {
    if (generation != m_generation || !m_connection)
        return;
    m_timeout.cancel();
    m_connection.reset();
    m_internetLine = message;
    m_busy = false;
    setButtonEnabled(true);
    renderWiFi();
}

void WiFiInspection::scanWiFi(int generation) {
    m_scanInProgress = true;
    m_scanLine = QStringLiteral("扫描：正在搜索附近网络…");
    renderWiFi();
    std::thread([this, client = m_hardware.client, lifetime = std::weak_ptr<int>(m_lifetime), generation] {
        Result<int> found = client->scanNetworkCount();
        base::onMain([this, lifetime, generation, found = std::move(found)] {
            if (lifetime.lock())
                scanEnded(found, generation);
        });
    }).detach();
}

void WiFiInspection::scanEnded(const Result<int>& found, int generation) {
    if (generation != m_generation)
        return;
    m_scanInProgress = false;
    if (!found)
        m_scanLine = QStringLiteral("扫描未完成：") + found.error().description;
    else if (*found > 0)
        m_scanLine = QStringLiteral("扫描接收通过：发现 %1 个无线接入点。").arg(*found);
    else
        m_scanLine = QStringLiteral("扫描：未发现网络。请靠近已知正常的热点复测，暂不判定故障。");
    renderWiFi();
}

void WiFiInspection::stop() {
    ++m_generation;
    m_timeout.cancel();
    m_connection.reset();
    m_hardware.pathMonitor->cancel();
    // The dropped answers would have ended these; without this the button
    // would stay locked for good.
    m_busy = false;
    m_scanInProgress = false;
    setButtonEnabled(true);
}

void WiFiInspection::setButtonEnabled(bool enabled) {
    if (m_button)
        m_button->setEnabled(enabled);
}

} // namespace tagsmith::inspection::wireless
