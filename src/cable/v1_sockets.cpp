#include "cable/v1_sockets.h"

#include "cable/frames.h"
#include "cable/interface_addresses.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace tagsmith::cable {

namespace {

constexpr int kListenBacklog = 4;

bool setFlag(int socket, int level, int option) {
    const int one = 1;
    return ::setsockopt(socket, level, option, &one, sizeof one) == 0;
}

bool setBlocking(int socket, bool blocking) {
    const int flags = ::fcntl(socket, F_GETFL);
    return flags >= 0 && ::fcntl(socket, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}

// Connects without blocking for longer than limit, then hands back a blocking socket.
bool connectWithin(int socket, const sockaddr_in6& target, std::chrono::milliseconds limit) {
    if (!setBlocking(socket, false))
        return false;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0 && errno != EINPROGRESS)
        return false;
    pollfd writable{socket, POLLOUT, 0};
    if (::poll(&writable, 1, int(limit.count())) != 1)
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0 && setBlocking(socket, true);
}

bool bindAndListen(int socket, const CableLink& link, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = link.family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* resolved = nullptr;
    if (::getaddrinfo(link.address.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &resolved) != 0)
        return false;
    const bool bound = ::bind(socket, resolved->ai_addr, resolved->ai_addrlen) == 0;
    ::freeaddrinfo(resolved);
    return bound && ::listen(socket, kListenBacklog) == 0;
}

} // namespace

base::OwnedFd listenOn(const CableLink& link, std::uint16_t port) {
    base::OwnedFd listener(::socket(link.family, SOCK_STREAM, 0));
    const bool ready = listener && setFlag(listener.get(), SOL_SOCKET, SO_REUSEADDR) &&
                       (link.family != AF_INET6 || setFlag(listener.get(), IPPROTO_IPV6, IPV6_V6ONLY)) &&
                       link.bindSocket(listener.get()) && bindAndListen(listener.get(), link, port);
    return ready ? std::move(listener) : base::OwnedFd();
}

base::OwnedFd listenOn(const sockaddr_in6& address) {
    base::OwnedFd listener(::socket(AF_INET6, SOCK_STREAM, 0));
    if (!listener || !setFlag(listener.get(), SOL_SOCKET, SO_REUSEADDR) ||
        !setFlag(listener.get(), IPPROTO_IPV6, IPV6_V6ONLY) ||
        ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.get(), kListenBacklog) != 0)
        return {};
    return listener;
}

base::OwnedFd connectScoped(const QString& address, const QString& interfaceName, std::uint16_t port,
                            std::chrono::milliseconds limit) {
    const auto target = socketAddress(address, interfaceName, port);
    if (!target || target->sin6_scope_id == 0)
        return {};
    base::OwnedFd connection(::socket(AF_INET6, SOCK_STREAM, 0));
    if (!connection || !connectWithin(connection.get(), *target, limit))
        return {};
    setTimeout(connection.get());
    return connection;
}

} // namespace tagsmith::cable
