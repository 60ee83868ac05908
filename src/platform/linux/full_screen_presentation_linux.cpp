#include "inspection/input/full_screen_presentation.h"

// A borderless window that covers the screen and stays on top is all the
// full-screen tests need here: there is no Dock or menu bar to hide.
namespace tagsmith::inspection::input {

PresentationOptions hideDockAndMenuBar() {
    return 0;
}

void restorePresentation(PresentationOptions /*previous*/) {}

void liftAboveOtherWindows(quintptr /*nativeView*/) {}

} // namespace tagsmith::inspection::input
