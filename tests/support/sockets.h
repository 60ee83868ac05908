#pragma once

#include "base/owned_fd.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>

namespace tagsmith::test {

using base::OwnedFd;

inline std::pair<OwnedFd, OwnedFd> socketPair() {
    int fds[2] = {-1, -1};
    ::socketpair(AF_UNIX, SOCK_STREAM, 0, fds);
    return {OwnedFd(fds[0]), OwnedFd(fds[1])};
}

// A TCP connection to host (numeric, "%scope" allowed) and port, retried while
// refused until the limit passes, for servers that are still starting.
inline OwnedFd connectTcp(const QString& host, std::uint16_t port,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return {};
    const auto deadline = std::chrono::steady_clock::now() + limit;
    OwnedFd socket;
    do {
        socket = OwnedFd(::socket(found->ai_family, SOCK_STREAM, 0));
        if (::connect(socket.get(), found->ai_addr, found->ai_addrlen) == 0)
            break;
        socket.reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    ::freeaddrinfo(found);
    return socket;
}

// A loopback port that was free a moment ago.
inline std::uint16_t freeLoopbackPort() {
    OwnedFd probe(::socket(AF_INET6, SOCK_STREAM, 0));
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    socklen_t length = sizeof address;
    ::bind(probe.get(), reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(probe.get(), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin6_port);
}

// Whether the peer ends the connection (end of file or reset) within the
// limit without sending a single byte first.
inline bool closesWithoutData(int socket, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    pollfd entry{socket, POLLIN, 0};
    if (::poll(&entry, 1, int(limit.count())) != 1)
        return false;
    char byte = 0;
    return ::recv(socket, &byte, 1, MSG_DONTWAIT) <= 0;
}

// Sockets this process holds open, to show that nothing leaks.
inline int openSocketCount() {
    int count = 0;
    for (const QFileInfo& entry : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System))
        count += entry.symLinkTarget().contains(QLatin1String("socket:")) ? 1 : 0;
    return count;
}

} // namespace tagsmith::test
