#pragma once

#include "inspection/input/keyboard_event.h"

#include <QByteArray>
#include <Qt>

#include <optional>

// Each platform turns its own key events into KeyboardEvent records; one
// definition of these functions per platform (src/platform/<os>/).
namespace tagsmith::inspection::input {

// What Qt reports about one key press or release (or the shortcut check
// before a press, which counts as a press).
struct QtKeyFacts {
    bool press = true;
    int key = 0; // Qt::Key
    quint32 nativeScanCode = 0;
    quint32 nativeModifiers = 0;
    bool autoRepeat = false;
};

// None where the platform delivers its keys as native events instead, and for
// keys that have no place on the collector's keyboards.
std::optional<KeyboardEvent> translateQtKeyEvent(const QtKeyFacts& facts);

// A native event seen by the application's native event filter; none for
// anything but key, modifier and media-key events.
std::optional<KeyboardEvent> translateNativeEvent(const QByteArray& eventType, void* message);

// The modifier that Qt reports for the physical Control key.
Qt::KeyboardModifier controlKeyModifier();

} // namespace tagsmith::inspection::input
