#pragma once

#include "inspection/input/keyboard_event.h"

namespace tagsmith::inspection::input {

// The side of the keyboard page that the capture talks to.
class KeyboardEventSink {
public:
    virtual ~KeyboardEventSink() = default;
    // Whether key events belong to the page now.
    virtual bool capturing() const = 0;
    // Whether receive() would take the event, without taking it.
    virtual bool accepts(const KeyboardEvent& event) const = 0;
    // Takes the event; true when it was consumed.
    virtual bool receive(const KeyboardEvent& event) = 0;
    // The page's window stopped being the key window.
    virtual void windowResignedKey() = 0;
};

} // namespace tagsmith::inspection::input
