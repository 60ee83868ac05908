#pragma once

namespace tagsmith::cli {

// Ends the application's event loop with the given status on SIGINT or
// SIGTERM, so that long-running verbs leave through their normal path and
// close every socket on the way out: 0 for a verb that serves until stopped,
// kInterrupted for one stopped before its work was done. Needs the application
// object; safe to call twice (the first status holds).
void quitOnStopSignals(int status = 0);

} // namespace tagsmith::cli
