#pragma once

#include <QtGlobal>

#include <optional>

namespace tagsmith::inspection::input {

// One key event reduced to what the keyboard page reads. The values are those
// of the collector's own platform (event types, virtual key codes, modifier
// flags, auxiliary-button data), so that every platform's translator speaks
// the language of the page's rules and those rules can be tested anywhere.
struct KeyboardEvent {
    int type = 0;
    quint16 keyCode = 0;
    // Device-independent flags from bit 16 up; the low 16 bits tell left from right modifiers.
    quint64 modifierFlags = 0;
    // Only system-defined events carry these two.
    int subtype = 0;
    qint64 data1 = 0;

    bool operator==(const KeyboardEvent&) const = default;
};

inline constexpr int kKeyDownEvent = 10;
inline constexpr int kKeyUpEvent = 11;
inline constexpr int kFlagsChangedEvent = 12;
inline constexpr int kSystemDefinedEvent = 14;
// The system-defined subtype of the media and brightness keys.
inline constexpr int kAuxiliaryButtonsSubtype = 8;

inline constexpr quint16 kCapsLockKey = 57;
inline constexpr quint16 kFunctionKey = 63;
inline constexpr quint64 kCapsLockFlag = quint64(1) << 16;
inline constexpr quint64 kFunctionFlag = quint64(1) << 23;

// The flag that tells, in a flags-changed event of this key, whether the key
// is down (for Caps Lock: whether the lock is on); none for other keys.
// Left and right modifiers have their own device-dependent bits, so that
// releasing one while its twin is held reads as a release.
constexpr std::optional<quint64> modifierKeyFlag(quint16 keyCode) {
    switch (keyCode) {
    case 56: // left shift
        return 0x2;
    case 60: // right shift
        return 0x4;
    case 59: // left control
        return 0x1;
    case 62: // right control
        return 0x2000;
    case 58: // left option
        return 0x20;
    case 61: // right option
        return 0x40;
    case 55: // left command
        return 0x8;
    case 54: // right command
        return 0x10;
    case kFunctionKey:
        return kFunctionFlag;
    case kCapsLockKey:
        return kCapsLockFlag;
    default:
        return std::nullopt;
    }
}

// The first data word of an auxiliary-button event: the key type in the high
// half, the key state (0x0A down, 0x0B up) in the byte above the low byte.
constexpr qint64 auxiliaryButtonData(int keyType, bool down) {
    return (qint64(keyType) << 16) | ((down ? 0x0A : 0x0B) << 8);
}

} // namespace tagsmith::inspection::input
