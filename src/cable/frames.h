#pragma once

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <optional>

// Length-prefixed frames over blocking stream sockets, shared by every cable
// exchange: a 4-byte big-endian length, then that many payload bytes. Every
// failure is false or absent; callers decide what the operator sees.
namespace tagsmith::cable {

inline constexpr std::uint32_t kMaxFrameLength = 999'999;
inline constexpr std::chrono::seconds kV1SocketTimeout{3};

// The v1 socket options: 3-second receive and send time-outs, no SIGPIPE.
void setTimeout(int socket);
void setSocketTimeouts(int socket, std::chrono::milliseconds timeout);

// Writes every byte; an interrupted, timed-out or refused write is a failure.
[[nodiscard]] bool sendAll(int socket, const QByteArray& bytes);
// The same, also failing once the deadline (seconds of uptime) has passed
// between two writes, so that a peer draining one byte at a time cannot
// stretch an exchange past it.
[[nodiscard]] bool sendAll(int socket, const QByteArray& bytes, double deadline);

// Exactly count bytes, or absent when the peer closes, fails or stays silent
// past the receive time-out. Bytes read before a failure are dropped.
std::optional<QByteArray> readN(int socket, std::uint32_t count);

// One frame of 1 to 999,999 bytes. Any other length is refused without
// reading the payload.
std::optional<QByteArray> readFrame(int socket);

// Refuses payloads over 999,999 bytes without writing anything. Header and
// payload leave as two writes.
[[nodiscard]] bool sendFrame(int socket, const QByteArray& payload);
[[nodiscard]] bool sendFrame(int socket, const QByteArray& payload, double deadline);

QByteArray frameHeader(std::uint32_t length);
std::uint32_t frameLength(const QByteArray& header);

} // namespace tagsmith::cable
