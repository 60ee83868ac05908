#pragma once

#include "base/uptime.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <optional>

// The v2 exchange's frame operations. Reads are bounded by an absolute
// deadline on the uptime clock, so a peer that trickles bytes cannot stretch
// an exchange step past it.
namespace tagsmith::cable::v2 {

using UptimeClock = std::function<double()>;

// Exactly count bytes before the deadline. Absent when the peer closes or
// fails, when the deadline stops the loop, or when it has passed by the time
// the last byte arrived. Each recv() is still bounded by the socket time-out.
std::optional<QByteArray> read(int socket, std::uint32_t count, double deadline,
                               const UptimeClock& clock = base::uptime);

// One frame of 1 to limit bytes before the deadline.
std::optional<QByteArray> readFrame(int socket, std::uint32_t limit, double deadline,
                                    const UptimeClock& clock = base::uptime);

// Refuses payloads over 999,999 bytes without writing anything. Header and
// payload leave as one write.
[[nodiscard]] bool sendFrame(int socket, const QByteArray& payload);

} // namespace tagsmith::cable::v2
