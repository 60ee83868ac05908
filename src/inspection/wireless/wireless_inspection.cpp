#include "inspection/wireless/wireless_inspection.h"

#include "inspection/inspection_controls.h"
#include "inspection/wireless/bluetooth_inspection.h"
#include "inspection/wireless/wifi_inspection.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace tagsmith::inspection::wireless {

namespace {

struct SectionTexts {
    QString heading;
    QString button;
    QString note;
    QString status;
};

struct Section {
    QPushButton* button;
    QLabel* status;
};

void useSecondaryColour(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
}

// A section starts at top (from the page's upper edge), level with its
// verdict strip on the right.
Section buildSection(QWidget* view, int top, const SectionTexts& texts, std::function<void()> start) {
    inspectionLabel(texts.heading, QRect(26, top + 8, 90, 28), view, 18, true);
    QPushButton* button = inspectionButton(texts.button, QRect(120, top + 4, 210, 36), view, std::move(start));
    useSecondaryColour(inspectionLabel(texts.note, QRect(26, top + 58, 953, 22), view, 13));
    QLabel* status = inspectionLabel(texts.status, QRect(26, top + 92, 953, 140), view, 14);
    return {button, status};
}

} // namespace

WirelessInspection::WirelessInspection(WirelessHardware hardware, WirelessTimings timings) : m_view(new QWidget) {
    build();
    m_wifi =
        std::make_unique<WiFiInspection>(std::move(hardware.wifi), timings.connectionTest, m_wifiStatus, m_wifiButton);
    m_bluetooth = std::make_unique<BluetoothInspection>(std::move(hardware.bluetooth), timings.bluetoothScan,
                                                        m_bluetoothStatus, m_bluetoothButton);
}

WirelessInspection::~WirelessInspection() {
    delete m_view;
}

void WirelessInspection::build() {
    m_view->resize(kInspectionPageSize);
    inspectionLabel(QStringLiteral("无线功能检测"), QRect(26, 20, 520, 32), m_view, 22, true);
    const Section wifi =
        buildSection(m_view, 76,
                     {QStringLiteral("Wi-Fi"), QStringLiteral("开始 Wi-Fi 检测"),
                      QStringLiteral("确认 Wi-Fi 已连接即自动通过；扫描与外网检测仅供参考。网线或数据线联网不计入。"),
                      QStringLiteral("尚未检测。请先在系统菜单中连接店内 Wi-Fi。")},
                     [this] { startWiFi(); });
    const Section bluetooth =
        buildSection(m_view, 319,
                     {QStringLiteral("蓝牙"), QStringLiteral("扫描蓝牙 · 15 秒"),
                      QStringLiteral("扫描到任意低功耗蓝牙设备即自动通过，无需连接或配对；未发现时可重新扫描。"),
                      QStringLiteral("尚未检测。将一台已知正常的蓝牙配件放在旁边，并使其可被发现。")},
                     [this] { startBluetooth(); });
    useSecondaryColour(
        inspectionLabel(QStringLiteral("权限未允许、开关关闭、未联网或附近无设备，均不会直接判为硬件损坏。"),
                        QRect(26, 592, 953, 24), m_view, 13));
    m_wifiButton = wifi.button;
    m_wifiStatus = wifi.status;
    m_bluetoothButton = bluetooth.button;
    m_bluetoothStatus = bluetooth.status;
}

void WirelessInspection::setResults(std::shared_ptr<InspectionResults> results) {
    m_wifi->setResults(results);
    m_bluetooth->setResults(std::move(results));
}

void WirelessInspection::stop() {
    m_wifi->stop();
    m_bluetooth->stop();
}

void WirelessInspection::startWiFi() {
    m_wifi->startWiFi();
}

void WirelessInspection::startBluetooth() {
    m_bluetooth->startBluetooth();
}

std::shared_ptr<InspectionPage> makeWirelessInspection() {
    return std::make_shared<WirelessInspection>(systemWirelessHardware());
}

} // namespace tagsmith::inspection::wireless
