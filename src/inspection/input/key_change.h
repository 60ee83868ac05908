#pragma once

#include "inspection/input/inspection_key.h"
#include "inspection/input/keyboard_event.h"

#include <optional>

namespace tagsmith::inspection::input {

// What one event means for the keyboard test: this key went down or up.
struct KeyChange {
    quint16 code = 0;
    bool down = false;
    bool media = false; // it came from a brightness or media key

    bool operator==(const KeyChange&) const = default;
};

// None when the page leaves the event to the application: other event types,
// media events of unknown keys or of keys not on the rows (the function row
// of Touch Bar machines), flag changes of keys that are no modifiers.
std::optional<KeyChange> interpretKeyEvent(const KeyboardEvent& event, const KeyRows& rows);

} // namespace tagsmith::inspection::input
