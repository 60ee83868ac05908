#include "inspection/input/keyboard_event_translation.h"
#include "inspection/input/keyboard_layout.h"

#include <gtest/gtest.h>

#include <QSet>

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
        {{false, Qt::Key_A, scanCode(30), 0, true}, std::nullopt}, // repeats are presses only
        {{true, Qt::Key_Shift, scanCode(54), 0, false}, KeyboardEvent{kFlagsChangedEvent, 60, 0x4}},
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

} // namespace
