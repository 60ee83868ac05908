#include "inspection/wireless/bluetooth_inspection.h"

#include "inspection/inspection_results.h"

#include <QLabel>
#include <QPushButton>

namespace tagsmith::inspection::wireless {

namespace {

const QString kPoweredOn = QStringLiteral("蓝牙控制器：已开启\n\n");

} // namespace

BluetoothInspection::BluetoothInspection(BluetoothCentralFactory makeCentral, std::chrono::milliseconds scanTime,
                                         QLabel* status, QPushButton* button)
    : m_makeCentral(std::move(makeCentral)), m_scanTime(scanTime), m_status(status), m_button(button) {}

BluetoothInspection::~BluetoothInspection() {
    if (m_central)
        m_central->stopScan();
}

void BluetoothInspection::startBluetooth() {
    if (m_results)
        m_results->begin(InspectionItem::bluetooth);
    m_timeout.cancel();
    if (m_central)
        m_central->stopScan();
    m_seen.clear();
    m_requested = true;
    setButtonEnabled(false);
    setStatus(QStringLiteral("正在读取蓝牙状态。若出现权限提示，请允许。"));
    if (m_central) {
        handleState(m_central->state());
        return;
    }
    // The new central's first state report continues the test.
    m_central = m_makeCentral({[this](BluetoothState state) { handleState(state); },
                               [this](const QString& identifier) { discovered(identifier); }});
}

void BluetoothInspection::handleState(BluetoothState state) {
    if (!m_requested)
        return;
    switch (state) {
    case BluetoothState::unknown:
    case BluetoothState::resetting:
        return waitForController();
    case BluetoothState::unsupported:
        return stopBluetooth(QStringLiteral("系统未提供低功耗蓝牙支持，请在系统信息中进一步核对。"));
    case BluetoothState::unauthorized:
        return stopBluetooth(QStringLiteral("蓝牙权限未允许。请在系统设置 → 隐私与安全性 → 蓝牙中允许本软件。"));
    case BluetoothState::poweredOff:
        return stopBluetooth(QStringLiteral("蓝牙开关已关闭。请在系统菜单中开启后重试。"));
    case BluetoothState::poweredOn:
        return scan();
    case BluetoothState::other:
        return stopBluetooth(QStringLiteral("蓝牙状态未知，请在系统设置中复核。"));
    }
}

void BluetoothInspection::waitForController() {
    setStatus(QStringLiteral("蓝牙控制器正在初始化…"));
    m_timeout.arm(m_scanTime, [this] { stopBluetooth(QStringLiteral("蓝牙状态暂不可用，请重新检测。")); });
}

void BluetoothInspection::scan() {
    m_timeout.cancel();
    setStatus(kPoweredOn + QStringLiteral("正在扫描附近低功耗蓝牙广播…"));
    m_central->scan();
    m_timeout.arm(m_scanTime, [this] { finishBluetooth(); });
}

void BluetoothInspection::discovered(const QString& identifier) {
    if (!m_requested)
        return;
    m_seen.insert(identifier);
    setStatus(kPoweredOn +
              QStringLiteral("已扫描到 %1 台设备，已自动通过。\n继续扫描中，无需连接或配对。").arg(m_seen.size()));
    passWithDevicesHeard();
}

void BluetoothInspection::finishBluetooth() {
    const QString outcome =
        m_seen.isEmpty() ? QStringLiteral("未发现广播设备。请让已知正常的配件处于可发现状态后重试；暂不判定硬件故障。")
                         : QStringLiteral("已扫描到 %1 台设备，已自动通过。\n无需连接或配对。").arg(m_seen.size());
    stopBluetooth(kPoweredOn + outcome);
}

void BluetoothInspection::stopBluetooth(const QString& message) {
    m_central->stopScan();
    m_timeout.cancel();
    m_requested = false;
    setButtonEnabled(true);
    setStatus(message);
    // A radio that was heard receiving keeps its pass, even when it is
    // switched off or resets before the scan time is over.
    if (!m_seen.isEmpty())
        passWithDevicesHeard();
    else if (m_results)
        m_results->set(InspectionItem::bluetooth, InspectionState::pending, QStringLiteral("未完成验证，请查看检测页"));
}

void BluetoothInspection::passWithDevicesHeard() {
    if (m_results)
        m_results->set(InspectionItem::bluetooth, InspectionState::passed,
                       QStringLiteral("已扫描到 %1 台设备，自动通过").arg(m_seen.size()));
}

void BluetoothInspection::stop() {
    if (m_central)
        m_central->stopScan();
    m_timeout.cancel();
    // Without this a late state report would start a new scan after the page stopped.
    m_requested = false;
    setButtonEnabled(true);
}

void BluetoothInspection::setStatus(const QString& text) {
    if (m_status)
        m_status->setText(text);
}

void BluetoothInspection::setButtonEnabled(bool enabled) {
    if (m_button)
        m_button->setEnabled(enabled);
}

} // namespace tagsmith::inspection::wireless
