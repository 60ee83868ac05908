#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace tagsmith::cable {

// Called once the workstation is known: the report to seal for it, or absent
// to end the exchange without sending anything.
using ReportHandover = std::function<std::optional<QByteArray>(const QString& deviceId)>;

// The collector's side of one v2 exchange on a connected socket: hellos, key
// agreement, the sealed report, the sealed acknowledgement. Both reads must
// finish within allowance of the start. A workstation whose identifier differs
// from expectedDeviceId, when one is given, is refused. True only when the
// workstation acknowledged with exactly "RECEIVED"; a failure sends nothing
// further and leaves closing the socket to the caller.
bool serveV2Exchange(int socket, std::chrono::milliseconds allowance, const std::optional<QString>& expectedDeviceId,
                     const ReportHandover& takeReport);

} // namespace tagsmith::cable
