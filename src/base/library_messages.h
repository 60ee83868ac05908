#pragma once

namespace tagsmith::base {

// Standard error of the command line and of the self-tests carries only this
// program's own text: Qt's notes about the environment (a missing
// XDG_RUNTIME_DIR, a platform plugin that cannot raise a window, font
// lookups) mean nothing to the engineer and hide the one line that matters.
void silenceLibraryMessages();

} // namespace tagsmith::base
