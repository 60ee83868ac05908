#include "inspection/input/keyboard_event_translation.h"

#import <AppKit/AppKit.h>

// Key, modifier and media-key events come straight from the application's
// event stream (the same events a local event monitor sees), because Qt turns
// neither the media keys nor the left/right modifier bits into key events.
namespace tagsmith::inspection::input {

std::optional<KeyboardEvent> translateQtKeyEvent(const QtKeyFacts& /*facts*/) {
    return std::nullopt;
}

std::optional<KeyboardEvent> translateNativeEvent(const QByteArray& eventType, void* message) {
    if (eventType != "mac_generic_NSEvent" || message == nullptr)
        return std::nullopt;
    NSEvent* event = static_cast<NSEvent*>(message);
    KeyboardEvent translated;
    switch (event.type) {
    case NSEventTypeKeyDown:
    case NSEventTypeKeyUp:
    case NSEventTypeFlagsChanged:
        translated.keyCode = event.keyCode;
        break;
    case NSEventTypeSystemDefined:
        // keyCode would raise for these; subtype and data1 would raise for key events.
        translated.subtype = event.subtype;
        translated.data1 = event.data1;
        break;
    default:
        return std::nullopt;
    }
    translated.type = int(event.type);
    translated.modifierFlags = event.modifierFlags;
    return translated;
}

// Qt swaps the two on this platform: Qt's Control is the command key.
Qt::KeyboardModifier controlKeyModifier() {
    return Qt::MetaModifier;
}

} // namespace tagsmith::inspection::input
