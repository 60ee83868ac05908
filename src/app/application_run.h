#pragma once

#include <QStringList>

namespace tagsmith::app {

// Runs the role's window until the application quits, then ends the process.
// It ends without joining any thread: after the quit's bounded wait, a camera
// or audio call that never returns must not keep the process, and its device,
// alive. Needs the application object; main thread.
[[noreturn]] void runApplication(bool isCollector, const QStringList& arguments);

} // namespace tagsmith::app
