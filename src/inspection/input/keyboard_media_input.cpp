#include "inspection/input/keyboard_media_input.h"

#include <array>
#include <utility>

namespace tagsmith::inspection::input {

namespace {

// Auxiliary key type → the function key printed with the same symbol.
constexpr std::array<std::pair<int, quint16>, 10> kMediaKeys = {{
    {3, 122},  // brightness down: F1
    {2, 120},  // brightness up: F2
    {18, 98},  // previous: F7
    {20, 98},  // rewind: F7
    {16, 100}, // play: F8
    {17, 101}, // next: F9
    {19, 101}, // fast forward: F9
    {7, 109},  // mute: F10
    {1, 103},  // volume down: F11
    {0, 111},  // volume up: F12
}};

constexpr qint64 kAuxiliaryStateMask = 0xFE00;
constexpr qint64 kAuxiliaryStateBits = 0x0A00;
constexpr int kKeyStateDown = 0x0A;

} // namespace

std::optional<KeyboardMediaInput> KeyboardMediaInput::decode(const KeyboardEvent& event) {
    if (event.type != kSystemDefinedEvent || event.subtype != kAuxiliaryButtonsSubtype)
        return std::nullopt;
    if ((event.data1 & kAuxiliaryStateMask) != kAuxiliaryStateBits)
        return std::nullopt;
    const qint64 keyType = event.data1 >> 16;
    const bool down = ((event.data1 >> 8) & 0xFF) == kKeyStateDown;
    for (const auto& [type, code] : kMediaKeys) {
        if (type == keyType)
            return KeyboardMediaInput{code, down};
    }
    return std::nullopt;
}

} // namespace tagsmith::inspection::input
