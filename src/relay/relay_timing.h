#pragma once

#include "base/uptime.h"

#include <chrono>
#include <functional>

namespace tagsmith::relay {

// The relay client's waits and limits. Tests shorten them and replace the
// clock instead of waiting in real time.
struct RelayTiming {
    std::chrono::milliseconds retryDelay{1000};      // between attempts after a transport error
    std::chrono::milliseconds pollInterval{1500};    // between status polls
    double pendingLimitSeconds = 75;                 // "pending" accepted for this long after the first answer
    std::chrono::milliseconds idleTimeout{10000};    // no data moving within one attempt
    std::chrono::milliseconds attemptTimeout{12000}; // one whole attempt
    std::chrono::milliseconds requestTimeout{60000}; // all attempts of one request together
    std::function<double()> clock = base::uptime;    // seconds, monotonic
};

} // namespace tagsmith::relay
