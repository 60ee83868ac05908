#include "cable/frames.h"

#include "base/uptime.h"
#include "cable/socket_options.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <limits>

namespace tagsmith::cable {

void setSocketTimeouts(int socket, std::chrono::milliseconds timeout) {
    timeval value{};
    value.tv_sec = time_t(timeout.count() / 1000);
    value.tv_usec = suseconds_t((timeout.count() % 1000) * 1000);
    // Unchecked on purpose: a socket without time-outs still works, it only waits longer for a stalled peer.
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value);
    preventSigpipe(socket);
}

void setTimeout(int socket) {
    setSocketTimeouts(socket, kV1SocketTimeout);
}

bool sendAll(int socket, const QByteArray& bytes) {
    return sendAll(socket, bytes, std::numeric_limits<double>::infinity());
}

bool sendAll(int socket, const QByteArray& bytes, double deadline) {
    qsizetype offset = 0;
    while (offset < bytes.size()) {
        if (base::uptime() >= deadline)
            return false;
        const ssize_t sent = ::send(socket, bytes.constData() + offset, size_t(bytes.size() - offset), sendFlags());
        if (sent <= 0)
            return false;
        offset += sent;
    }
    return true;
}

std::optional<QByteArray> readN(int socket, std::uint32_t count) {
    QByteArray buffer(qsizetype(count), '\0');
    qsizetype filled = 0;
    while (filled < buffer.size()) {
        const ssize_t received = ::recv(socket, buffer.data() + filled, size_t(buffer.size() - filled), 0);
        if (received <= 0)
            return std::nullopt;
        filled += received;
    }
    return buffer;
}

std::optional<QByteArray> readFrame(int socket) {
    const auto header = readN(socket, 4);
    if (!header)
        return std::nullopt;
    const std::uint32_t length = frameLength(*header);
    if (length == 0 || length > kMaxFrameLength)
        return std::nullopt;
    return readN(socket, length);
}

bool sendFrame(int socket, const QByteArray& payload) {
    return sendFrame(socket, payload, std::numeric_limits<double>::infinity());
}

bool sendFrame(int socket, const QByteArray& payload, double deadline) {
    if (payload.size() > qsizetype(kMaxFrameLength))
        return false;
    return sendAll(socket, frameHeader(std::uint32_t(payload.size())), deadline) && sendAll(socket, payload, deadline);
}

QByteArray frameHeader(std::uint32_t length) {
    const char bytes[4] = {char(length >> 24), char(length >> 16), char(length >> 8), char(length)};
    return QByteArray(bytes, 4);
}

std::uint32_t frameLength(const QByteArray& header) {
    std::uint32_t length = 0;
    for (const char byte : header.first(4))
        length = (length << 8) | std::uint8_t(byte);
    return length;
}

} // namespace tagsmith::cable
