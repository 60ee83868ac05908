#pragma once

#include "inspection/input/keyboard_event.h"

#include <optional>

namespace tagsmith::inspection::input {

// A brightness or media key, read as the function key it shares.
struct KeyboardMediaInput {
    quint16 code = 0;
    bool down = false;

    // None unless the event is an auxiliary-button event of a known key type.
    static std::optional<KeyboardMediaInput> decode(const KeyboardEvent& event);

    bool operator==(const KeyboardMediaInput&) const = default;
};

} // namespace tagsmith::inspection::input
