#include "inspection/input/keyboard_canvas.h"
#include "inspection/input/keyboard_event_translation.h"
#include "inspection/input/keyboard_inspection.h"
#include "inspection/input/keyboard_layout.h"
#include "inspection/inspection_results.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>

using namespace tagsmith::inspection;
using namespace tagsmith::inspection::input;

namespace {

// Kernel key codes as the X11 and Wayland platforms report them.
constexpr quint32 scanCode(quint32 kernelCode) {
    return kernelCode + 8;
}

TEST(LinuxKeyTranslation, EveryKeyOfTheThreeLayoutsIsReachable) {
    QSet<quint16> reachable;
    for (quint32 code = 0; code < 1024; ++code) {
        if (const std::optional<KeyboardEvent> event = translateQtKeyEvent({true, 0, code, 0, false}))
            reachable.insert(event->keyCode);
    }
    for (KeyboardLayout layout : kAllKeyboardLayouts) {
        for (quint16 code : keyCodes(rows(layout)))
            EXPECT_TRUE(reachable.contains(code)) << title(layout).toStdString() << " key " << code;
    }
}

TEST(LinuxKeyTranslation, KeysModifiersLockAndMediaKeys) {
    KeyboardEvent volumeDown{kSystemDefinedEvent};
    volumeDown.subtype = kAuxiliaryButtonsSubtype;
    volumeDown.data1 = auxiliaryButtonData(1, true);
    const std::pair<QtKeyFacts, std::optional<KeyboardEvent>> cases[] = {
        {{true, Qt::Key_A, scanCode(30), 0, false}, KeyboardEvent{kKeyDownEvent, 0}},
        {{false, Qt::Key_A, scanCode(30), 0, false}, KeyboardEvent{kKeyUpEvent, 0}},
        {{true, Qt::Key_A, scanCode(30), 0, true}, KeyboardEvent{kKeyDownEvent, 0}},
        {{false, Qt::Key_A, scanCode(30), 0, true}, std::nullopt}, // repeats are presses only
        {{true, Qt::Key_Shift, scanCode(54), 0, false}, KeyboardEvent{kFlagsChangedEvent, 60, 0x4}},
        {{false, Qt::Key_Shift, scanCode(54), 0, false}, KeyboardEvent{kFlagsChangedEvent, 60, 0}},
        {{true, 0, scanCode(464), 0, false}, KeyboardEvent{kFlagsChangedEvent, 63, kFunctionFlag}},
        {{true, Qt::Key_CapsLock, scanCode(58), 0, false}, KeyboardEvent{kFlagsChangedEvent, 57, kCapsLockFlag}},
        {{true, Qt::Key_CapsLock, scanCode(58), 0x2, false}, KeyboardEvent{kFlagsChangedEvent, 57, 0}},
        {{false, Qt::Key_CapsLock, scanCode(58), 0x2, false}, std::nullopt},
        {{true, Qt::Key_VolumeDown, scanCode(114), 0, false}, volumeDown},
        {{true, Qt::Key_Print, scanCode(99), 0, false}, std::nullopt},
    };
    for (const auto& [facts, expected] : cases)
        EXPECT_EQ(translateQtKeyEvent(facts), expected)
            << facts.nativeScanCode << (facts.press ? " press" : " release");
}

// Counts the key presses that reach it.
class KeyProbe final : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent* /*event*/) override { ++presses; }
};

class LinuxKeyCapture : public testing::Test {
protected:
    LinuxKeyCapture() {
        page.setResults(results);
        probe = new KeyProbe(page.view());
        page.view()->show();
        QApplication::setActiveWindow(page.view());
        page.setEnabled(true);
    }

    // Sends one key event the way the platform delivers it; true when it was taken before the probe saw it.
    bool send(QEvent::Type type, int key, quint32 kernelCode, Qt::KeyboardModifiers modifiers = {}) {
        const int before = probe->presses;
        QKeyEvent event(type, key, modifiers, scanCode(kernelCode), 0, 0);
        event.ignore();
        const bool delivered = QApplication::sendEvent(probe, &event);
        if (type == QEvent::ShortcutOverride)
            return delivered && event.isAccepted();
        return type == QEvent::KeyPress ? probe->presses == before : delivered;
    }
    const KeyProgress& progress() const { return page.keyboardCanvas()->progress(); }

    std::shared_ptr<InspectionResults> results = std::make_shared<InspectionResults>();
    KeyboardInspection page;
    KeyProbe* probe = nullptr;
};

TEST_F(LinuxKeyCapture, TakesKeysWhileEnabledAndTheWindowIsKey) {
    EXPECT_TRUE(send(QEvent::ShortcutOverride, Qt::Key_W, 17, Qt::ControlModifier)) << "no shortcut fires";
    EXPECT_TRUE(send(QEvent::KeyPress, Qt::Key_Escape, 1));
    EXPECT_TRUE(progress().held.contains(53));
    EXPECT_TRUE(send(QEvent::KeyRelease, Qt::Key_Escape, 1));
    EXPECT_FALSE(progress().held.contains(53));
    EXPECT_EQ((*results)[InspectionItem::keyboard].detail, QStringLiteral("已识别 1 / 77 个可检测按键"));

    page.touchBarBox()->setChecked(true);
    EXPECT_FALSE(send(QEvent::KeyPress, Qt::Key_VolumeUp, 115)) << "Touch Bar machines keep their media keys";
    EXPECT_TRUE(send(QEvent::KeyPress, Qt::Key_Escape, 1));
    EXPECT_EQ((*results)[InspectionItem::keyboard].detail, QStringLiteral("已识别 1 / 65 个可检测按键"));
}

TEST_F(LinuxKeyCapture, PassesKeysThroughWhenDisabledOrInactive) {
    page.setEnabled(false);
    EXPECT_FALSE(send(QEvent::ShortcutOverride, Qt::Key_W, 17, Qt::ControlModifier));
    EXPECT_FALSE(send(QEvent::KeyPress, Qt::Key_Escape, 1));

    QWidget other;
    other.show();
    page.setEnabled(true);
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(send(QEvent::KeyPress, Qt::Key_Escape, 1));

    page.stop();
    QApplication::setActiveWindow(page.view());
    page.setEnabled(true);
    EXPECT_FALSE(send(QEvent::KeyPress, Qt::Key_Escape, 1)) << "stop ends capture for good";
    EXPECT_TRUE(progress().seen.isEmpty());
}

} // namespace
