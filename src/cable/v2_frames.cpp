#include "cable/v2_frames.h"

#include "cable/frames.h"

#include <sys/socket.h>

namespace tagsmith::cable::v2 {

std::optional<QByteArray> read(int socket, std::uint32_t count, double deadline, const UptimeClock& clock) {
    QByteArray buffer(qsizetype(count), '\0');
    qsizetype got = 0;
    while (got < buffer.size() && clock() < deadline) {
        const ssize_t received = ::recv(socket, buffer.data() + got, size_t(buffer.size() - got), 0);
        if (received <= 0)
            return std::nullopt;
        got += received;
    }
    // The second clock check refuses bytes that only completed after the deadline.
    if (got != buffer.size() || clock() >= deadline)
        return std::nullopt;
    return buffer;
}

std::optional<QByteArray> readFrame(int socket, std::uint32_t limit, double deadline, const UptimeClock& clock) {
    const auto header = read(socket, 4, deadline, clock);
    if (!header)
        return std::nullopt;
    const std::uint32_t length = frameLength(*header);
    if (length == 0 || length > limit)
        return std::nullopt;
    return read(socket, length, deadline, clock);
}

bool sendFrame(int socket, const QByteArray& payload) {
    if (payload.size() > qsizetype(kMaxFrameLength))
        return false;
    return sendAll(socket, frameHeader(std::uint32_t(payload.size())) + payload);
}

} // namespace tagsmith::cable::v2
