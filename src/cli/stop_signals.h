#pragma once

namespace tagsmith::cli {

// Ends the application's event loop with status 0 on SIGINT or SIGTERM, so
// that long-running verbs leave through their normal path and close every
// socket on the way out. Needs the application object; safe to call twice.
void quitOnStopSignals();

} // namespace tagsmith::cli
