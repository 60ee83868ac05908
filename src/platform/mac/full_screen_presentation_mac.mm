#include "inspection/input/full_screen_presentation.h"

#import <AppKit/AppKit.h>

namespace tagsmith::inspection::input {

namespace {

// Above the Dock, the menu bar and every other application's windows.
constexpr NSWindowLevel kTestWindowLevel = 1000;

} // namespace

PresentationOptions hideDockAndMenuBar() {
    const NSApplicationPresentationOptions previous = NSApp.presentationOptions;
    NSApp.presentationOptions = NSApplicationPresentationHideDock | NSApplicationPresentationHideMenuBar;
    return PresentationOptions(previous);
}

void restorePresentation(PresentationOptions previous) {
    NSApp.presentationOptions = NSApplicationPresentationOptions(previous);
}

void liftAboveOtherWindows(quintptr nativeView) {
    NSView* view = reinterpret_cast<NSView*>(nativeView);
    NSWindow* window = view.window;
    if (window == nil)
        return;
    window.level = kTestWindowLevel;
    // Stays on the current space, also beside another application's full-screen window.
    window.collectionBehavior = NSWindowCollectionBehaviorFullScreenAuxiliary;
}

} // namespace tagsmith::inspection::input
