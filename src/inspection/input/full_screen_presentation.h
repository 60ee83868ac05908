#pragma once

#include <QtGlobal>

// How the full-screen tests take over the display; one definition of these
// functions per platform (src/platform/<os>/).
namespace tagsmith::inspection::input {

// The application's presentation options, to restore after a test.
using PresentationOptions = quint64;

// Hides the Dock and the menu bar where the system has them; returns the options before.
PresentationOptions hideDockAndMenuBar();
void restorePresentation(PresentationOptions previous);

// Puts the borderless window that holds this native view above every other window.
void liftAboveOtherWindows(quintptr nativeView);

} // namespace tagsmith::inspection::input
