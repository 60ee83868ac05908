#include "inspection/inspection_item.h"

#include "l10n/l10n.h"

namespace tagsmith::inspection {

QString rawValue(InspectionItem item) {
    switch (item) {
    case InspectionItem::wifi:
        return QStringLiteral("wifi");
    case InspectionItem::bluetooth:
        return QStringLiteral("bluetooth");
    case InspectionItem::keyboard:
        return QStringLiteral("keyboard");
    case InspectionItem::touchpad:
        return QStringLiteral("touchpad");
    case InspectionItem::screen:
        return QStringLiteral("screen");
    case InspectionItem::leftSpeaker:
        return QStringLiteral("leftSpeaker");
    case InspectionItem::rightSpeaker:
        return QStringLiteral("rightSpeaker");
    case InspectionItem::microphone:
        return QStringLiteral("microphone");
    case InspectionItem::camera:
        return QStringLiteral("camera");
    }
    return {};
}

QString tab(InspectionItem item) {
    switch (item) {
    case InspectionItem::wifi:
    case InspectionItem::bluetooth:
        return kWirelessTab;
    case InspectionItem::keyboard:
        return kKeyboardTab;
    case InspectionItem::touchpad:
        return kTouchpadTab;
    case InspectionItem::screen:
        return kScreenTab;
    case InspectionItem::leftSpeaker:
    case InspectionItem::rightSpeaker:
    case InspectionItem::microphone:
        return kAudioTab;
    case InspectionItem::camera:
        return kCameraTab;
    }
    return {};
}

QString title(InspectionItem item) {
    return L10n::t(QStringLiteral("inspection.") + rawValue(item) + QStringLiteral(".title"));
}

QString instruction(InspectionItem item) {
    return L10n::t(QStringLiteral("inspection.") + rawValue(item) + QStringLiteral(".hint"),
                   {{QStringLiteral("count"), kScreenTestColourCount}});
}

} // namespace tagsmith::inspection
