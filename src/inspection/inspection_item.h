#pragma once

#include <QString>

#include <array>

namespace tagsmith::inspection {

// The nine hands-on checks, in the order of the dashboard cards and the summary.
enum class InspectionItem {
    wifi,
    bluetooth,
    keyboard,
    touchpad,
    screen,
    leftSpeaker,
    rightSpeaker,
    microphone,
    camera
};

inline constexpr std::array kAllInspectionItems = {
    InspectionItem::wifi,         InspectionItem::bluetooth,  InspectionItem::keyboard,
    InspectionItem::touchpad,     InspectionItem::screen,     InspectionItem::leftSpeaker,
    InspectionItem::rightSpeaker, InspectionItem::microphone, InspectionItem::camera,
};

inline constexpr int kInspectionItemCount = int(kAllInspectionItems.size());

// The number of solid colours of the screen test; the screen item's instruction names it.
inline constexpr int kScreenTestColourCount = 16;

// Tab identifiers, which are also the source-language tab labels.
inline const QString kWirelessTab = QStringLiteral("无线检测");
inline const QString kKeyboardTab = QStringLiteral("键盘检测");
inline const QString kTouchpadTab = QStringLiteral("触摸板检测");
inline const QString kScreenTab = QStringLiteral("屏幕检测");
inline const QString kAudioTab = QStringLiteral("声音与麦克风");
inline const QString kCameraTab = QStringLiteral("摄像头");

constexpr int indexOf(InspectionItem item) {
    return int(item);
}

QString rawValue(InspectionItem item);
QString tab(InspectionItem item);
QString title(InspectionItem item);
// What a never-touched item shows as its detail.
QString instruction(InspectionItem item);

} // namespace tagsmith::inspection
