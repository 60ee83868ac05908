#pragma once

#include "report/report.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// The two v1 exchanges on a connected socket, both sides of each, under the
// shared 32-byte receiver key: a 32-byte challenge answered with HMAC-SHA256,
// the report sealed in one frame, a sealed acknowledgement. A failure sends
// nothing further and leaves closing the socket to the caller.
//
// Besides the 3-second time-out of each socket call, every exchange must end
// within its allowance: a peer that drips one byte every few seconds would
// otherwise hold a connection, or the receiver's whole cycle, for hours.
namespace tagsmith::cable {

inline constexpr std::uint16_t kPushPort = 49377;
inline constexpr std::uint16_t kPullPort = 49378;
inline constexpr std::chrono::milliseconds kV1ExchangeAllowance{20'000};
inline constexpr int kChallengeLength = 32;

// The workstation's say on a validated report and its bytes: true accepts it,
// and only then is the collector acknowledged.
using ReportOffer = std::function<bool(const report::Report& report, const QByteArray& bytes)>;

// The report a pull server hands over once the client proved its key; absent
// ends the exchange without sending it.
using ReportSource = std::function<std::optional<QByteArray>()>;

// Collector, push: true only on the exact acknowledgement "OK:" + serial.
bool pushReport(int socket, const QByteArray& key, const QByteArray& report, const QString& serial,
                std::chrono::milliseconds allowance = kV1ExchangeAllowance);

// Workstation, push: offers a report that validates and carries the expected
// serial (any serial when none is expected: no tool names the Mac on the
// cable); acknowledges it when the offer is accepted. True when acknowledged.
bool receivePush(int socket, const QByteArray& key, const std::optional<QString>& serial, const ReportOffer& offer,
                 std::chrono::milliseconds allowance = kV1ExchangeAllowance);

// Collector, pull: a client without the key never sees the report. True only
// when the client acknowledged with exactly "RECEIVED".
bool servePull(int socket, const QByteArray& key, const ReportSource& takeReport,
               std::chrono::milliseconds allowance = kV1ExchangeAllowance);

// Workstation, pull: stops before proving its own key to a server that cannot
// prove its. The serial is checked as in receivePush. The offer gets the report
// re-encoded with sorted keys. True when the report was accepted and acknowledged.
bool pullReport(int socket, const QByteArray& key, const std::optional<QString>& serial, const ReportOffer& offer,
                std::chrono::milliseconds allowance = kV1ExchangeAllowance);

} // namespace tagsmith::cable
