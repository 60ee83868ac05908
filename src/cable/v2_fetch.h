#pragma once

#include "cable/v1_exchange.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

namespace tagsmith::cable {

inline constexpr std::chrono::milliseconds kV2ExchangeAllowance{20'000};

// The parts of a collector hello: exactly "version" 2, "publicKey" (Base64
// of 32 bytes) and "challenge" (Base64 of 24 bytes), nothing else.
struct CollectorHello {
    QByteArray publicKey;
    QByteArray challenge;
};
std::optional<CollectorHello> parseCollectorHello(const QByteArray& json);

// The workstation's side of one v2 exchange on a connected socket: reads the
// collector hello, answers with its own hello and deviceId, opens the sealed
// report, validates it and, when serial is given, requires that serial. The
// offer decides; only an accepted report is acknowledged. Every call has the
// allowance as its time-out, and the whole exchange ends within it. True only
// once the acknowledgement was sent; a failure sends nothing further and
// leaves closing the socket to the caller.
bool fetchV2Report(int socket, const QString& deviceId, const std::optional<QString>& serial, const ReportOffer& offer,
                   std::chrono::milliseconds allowance = kV2ExchangeAllowance);

} // namespace tagsmith::cable
