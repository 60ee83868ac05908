#include "app/self_test_checks.h"

#include "inspection/input/color_test_view.h"
#include "inspection/input/keyboard_canvas.h"
#include "inspection/input/keyboard_event.h"
#include "inspection/input/keyboard_inspection.h"
#include "inspection/input/screen_inspection.h"
#include "inspection/input/screen_palette.h"
#include "inspection/input/touchpad_canvas.h"
#include "inspection/input/touchpad_inspection.h"
#include "inspection/inspection_results.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tagsmith::app {

namespace {

using inspection::InspectionItem;
using inspection::InspectionResults;
using inspection::InspectionState;

// A press and a release, the way the keyboard reports the key.
void tap(inspection::input::KeyboardInspection& page, quint16 code) {
    using namespace inspection::input;
    if (const std::optional<quint64> flag = modifierKeyFlag(code)) {
        page.receive({kFlagsChangedEvent, code, *flag});
        if (code != kCapsLockKey)
            page.receive({kFlagsChangedEvent, code, 0});
        return;
    }
    page.receive({kKeyDownEvent, code});
    page.receive({kKeyUpEvent, code});
}

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, const QPointF& point, quint64 time = 0) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, point, target->mapToGlobal(point), button, held, Qt::NoModifier);
    event.setTimestamp(time);
    QApplication::sendEvent(target, &event);
}

void click(QWidget* target, Qt::MouseButton button) {
    sendMouse(target, QEvent::MouseButtonPress, button, QPointF(300, 300));
    sendMouse(target, QEvent::MouseButtonRelease, button, QPointF(300, 300));
}

} // namespace

std::optional<QString> checkKeyboardRules() {
    auto results = std::make_shared<InspectionResults>();
    inspection::input::KeyboardInspection page;
    page.setResults(results);
    QList<quint16> codes;
    for (const inspection::input::KeyRow& row : page.keyboardCanvas()->rows()) {
        for (const inspection::input::InspectionKey& key : row)
            codes.append(key.code);
    }
    tap(page, codes.first());
    if (!page.keyboardCanvas()->progress().seen.contains(codes.first()) ||
        (*results)[InspectionItem::keyboard].state != InspectionState::running)
        return QStringLiteral("按键未在键盘图上标记。");
    for (quint16 code : codes)
        tap(page, code);
    if ((*results)[InspectionItem::keyboard].state != InspectionState::passed)
        return QStringLiteral("整套键位按过后键盘项目未通过。");
    return std::nullopt;
}

std::optional<QString> checkColourSequence() {
    auto results = std::make_shared<InspectionResults>();
    inspection::input::ScreenInspection page;
    page.setResults(results);
    page.view()->show();
    QApplication::setActiveWindow(page.view());
    page.start();
    inspection::input::ColorTestView* colours = page.testView();
    if (colours == nullptr)
        return QStringLiteral("屏幕检测窗口未打开。");
    const int count = int(inspection::input::inspectionScreenPalette().size());
    for (int shown = 1; shown < count; ++shown) {
        if (page.hasDisplayedAllColors())
            return QStringLiteral("未显示全部颜色即解锁了屏幕项目。");
        QKeyEvent next(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(colours, &next);
        if (colours->index() != shown)
            return QStringLiteral("颜色顺序不符。");
    }
    click(colours, Qt::RightButton);
    const bool unlocked = (*results)[InspectionItem::screen].state == InspectionState::needsConfirmation;
    page.stop();
    if (page.testWindow() != nullptr || !unlocked)
        return QStringLiteral("看完全部颜色后屏幕项目未等待人工确认。");
    return std::nullopt;
}

std::optional<QString> checkTouchpadRules() {
    auto results = std::make_shared<InspectionResults>();
    inspection::input::TouchpadInspection page;
    page.setResults(results);
    page.view()->show();
    QApplication::setActiveWindow(page.view());
    page.start();
    QWidget* canvas = page.canvas();
    sendMouse(canvas, QEvent::MouseMove, Qt::NoButton, QPointF(10, 10), 1000);
    sendMouse(canvas, QEvent::MouseMove, Qt::NoButton, QPointF(40, 40), 1050);
    click(canvas, Qt::LeftButton);
    if ((*results)[InspectionItem::touchpad].state != InspectionState::running)
        return QStringLiteral("只有轨迹和左键时触摸板项目不应解锁。");
    click(canvas, Qt::RightButton);
    const bool unlocked = (*results)[InspectionItem::touchpad].state == InspectionState::needsConfirmation;
    page.stop();
    if (!unlocked)
        return QStringLiteral("轨迹及左右键识别后触摸板项目未等待人工确认。");
    return std::nullopt;
}

} // namespace tagsmith::app
