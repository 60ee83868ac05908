#include "inspection/input/keyboard_event_translation.h"

#include <algorithm>
#include <iterator>
#include <utility>

// Qt on Linux reports the kernel's key codes (plus 8, under X11 and Wayland
// alike) as the native scan code; they are mapped here to the virtual key
// codes of the collector's keyboards, so the keyboard page can be driven by a
// real keyboard on the development machines.
namespace tagsmith::inspection::input {

namespace {

constexpr quint32 kScanCodeOffset = 8;
// The Caps Lock modifier in the native modifier state, before the press is applied.
constexpr quint32 kLockMask = 0x2;

struct KernelKey {
    quint32 kernelCode;
    quint16 keyCode;
};

// Kernel key codes (linux/input-event-codes.h) → virtual key codes.
constexpr KernelKey kKernelKeys[] = {
    {1, 53},    {59, 122},  {60, 120},  {61, 99},   {62, 118},  {63, 96},   {64, 97}, // esc, F1–F6
    {65, 98},   {66, 100},  {67, 101},  {68, 109},  {87, 103},  {88, 111},            // F7–F12
    {41, 50},   {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    {7, 22},  // ` 1–6
    {8, 26},    {9, 28},    {10, 25},   {11, 29},   {12, 27},   {13, 24},   {14, 51}, // 7–0 - = delete
    {15, 48},   {16, 12},   {17, 13},   {18, 14},   {19, 15},   {20, 17},   {21, 16}, // tab Q–Y
    {22, 32},   {23, 34},   {24, 31},   {25, 35},   {26, 33},   {27, 30},   {43, 42}, // U–P [ ] backslash
    {58, 57},   {30, 0},    {31, 1},    {32, 2},    {33, 3},    {34, 5},    {35, 4},  // caps lock A–H
    {36, 38},   {37, 40},   {38, 37},   {39, 41},   {40, 39},   {28, 36},             // J–L ; ' return
    {42, 56},   {44, 6},    {45, 7},    {46, 8},    {47, 9},    {48, 11},             // shift Z–B
    {49, 45},   {50, 46},   {51, 43},   {52, 47},   {53, 44},   {54, 60},             // N M , . / shift
    {464, 63},  {29, 59},   {56, 58},   {125, 55},  {57, 49},                         // fn control option ⌘ space
    {126, 54},  {100, 61},  {105, 123}, {103, 126}, {108, 125}, {106, 124},           // ⌘ option arrows
    {86, 10},                                                                         // the ISO key beside left shift
    {124, 93},  {89, 94},   {123, 102}, {122, 104},                                   // JIS: ¥, ろ, 英数, かな
    {97, 62},   {111, 117}, {102, 115}, {107, 119}, {104, 116}, {109, 121},           // right control, editing keys
    {110, 114}, {96, 76},                                                             // help (insert), keypad enter
};

// Media keys as Qt names them → the auxiliary key type the collector's platform sends.
constexpr std::pair<int, int> kMediaKeys[] = {
    {Qt::Key_MonBrightnessDown, 3},
    {Qt::Key_MonBrightnessUp, 2},
    {Qt::Key_MediaPrevious, 18},
    {Qt::Key_AudioRewind, 20},
    {Qt::Key_MediaPlay, 16},
    {Qt::Key_MediaPause, 16},
    {Qt::Key_MediaTogglePlayPause, 16},
    {Qt::Key_MediaNext, 17},
    {Qt::Key_AudioForward, 19},
    {Qt::Key_VolumeMute, 7},
    {Qt::Key_VolumeDown, 1},
    {Qt::Key_VolumeUp, 0},
};

std::optional<quint16> keyCode(quint32 nativeScanCode) {
    const auto found =
        std::find_if(std::begin(kKernelKeys), std::end(kKernelKeys), [nativeScanCode](const KernelKey& key) {
            return key.kernelCode + kScanCodeOffset == nativeScanCode;
        });
    return found == std::end(kKernelKeys) ? std::nullopt : std::optional(found->keyCode);
}

std::optional<int> mediaKeyType(int key) {
    const auto found = std::find_if(std::begin(kMediaKeys), std::end(kMediaKeys),
                                    [key](const std::pair<int, int>& media) { return media.first == key; });
    return found == std::end(kMediaKeys) ? std::nullopt : std::optional(found->second);
}

std::optional<KeyboardEvent> mediaEvent(int keyType, const QtKeyFacts& facts) {
    if (!facts.press && facts.autoRepeat)
        return std::nullopt;
    KeyboardEvent event{kSystemDefinedEvent};
    event.subtype = kAuxiliaryButtonsSubtype;
    event.data1 = auxiliaryButtonData(keyType, facts.press);
    return event;
}

// One flags change per press of the lock key, carrying the lock state it leads to.
std::optional<KeyboardEvent> capsLockEvent(const QtKeyFacts& facts) {
    if (!facts.press || facts.autoRepeat)
        return std::nullopt;
    const bool lockOn = (facts.nativeModifiers & kLockMask) == 0;
    return KeyboardEvent{kFlagsChangedEvent, kCapsLockKey, lockOn ? kCapsLockFlag : 0};
}

// Modifiers change flags and do not repeat.
std::optional<KeyboardEvent> modifierEvent(quint16 code, quint64 flag, const QtKeyFacts& facts) {
    if (facts.autoRepeat)
        return std::nullopt;
    return KeyboardEvent{kFlagsChangedEvent, code, facts.press ? flag : 0};
}

} // namespace

std::optional<KeyboardEvent> translateQtKeyEvent(const QtKeyFacts& facts) {
    if (const std::optional<int> keyType = mediaKeyType(facts.key))
        return mediaEvent(*keyType, facts);
    const std::optional<quint16> code = keyCode(facts.nativeScanCode);
    if (!code)
        return std::nullopt;
    if (*code == kCapsLockKey)
        return capsLockEvent(facts);
    if (const std::optional<quint64> flag = modifierKeyFlag(*code))
        return modifierEvent(*code, *flag, facts);
    // Held keys repeat as further presses only, as on the collector's platform.
    if (!facts.press && facts.autoRepeat)
        return std::nullopt;
    return KeyboardEvent{facts.press ? kKeyDownEvent : kKeyUpEvent, *code};
}

std::optional<KeyboardEvent> translateNativeEvent(const QByteArray& /*eventType*/, void* /*message*/) {
    return std::nullopt;
}

Qt::KeyboardModifier controlKeyModifier() {
    return Qt::ControlModifier;
}

} // namespace tagsmith::inspection::input
