#include "inspection/input/key_change.h"

#include "inspection/input/keyboard_layout.h"
#include "inspection/input/keyboard_media_input.h"

namespace tagsmith::inspection::input {

namespace {

std::optional<KeyChange> mediaChange(const KeyboardEvent& event, const KeyRows& rows) {
    const std::optional<KeyboardMediaInput> media = KeyboardMediaInput::decode(event);
    if (!media || !keyLabel(rows, media->code))
        return std::nullopt;
    return KeyChange{media->code, media->down, true};
}

std::optional<KeyChange> modifierChange(const KeyboardEvent& event) {
    const std::optional<quint64> flag = modifierKeyFlag(event.keyCode);
    if (!flag)
        return std::nullopt;
    return KeyChange{event.keyCode, (event.modifierFlags & *flag) != 0, false};
}

} // namespace

std::optional<KeyChange> interpretKeyEvent(const KeyboardEvent& event, const KeyRows& rows) {
    switch (event.type) {
    case kSystemDefinedEvent:
        return mediaChange(event, rows);
    case kKeyDownEvent:
    case kKeyUpEvent:
        // Keys off the layout count too: they show up as extra keys.
        return KeyChange{event.keyCode, event.type == kKeyDownEvent, false};
    case kFlagsChangedEvent:
        return modifierChange(event);
    default:
        return std::nullopt;
    }
}

} // namespace tagsmith::inspection::input
