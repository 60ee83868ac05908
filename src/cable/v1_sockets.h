#pragma once

#include "base/owned_fd.h"
#include "cable/cable_link.h"

#include <QString>

#include <netinet/in.h>

#include <chrono>
#include <cstdint>

// Opening the sockets of the cable exchanges. v1: IPv6 only, on a link-local
// address scoped to the cable interface (or, for the pull server, every
// address); v2: on a cable link's own address.
namespace tagsmith::cable {

inline constexpr std::chrono::milliseconds kPullConnectLimit{500};

// A listening IPv6 stream socket (SO_REUSEADDR, IPV6_V6ONLY, backlog 4) bound
// to address; invalid on any failure.
base::OwnedFd listenOn(const sockaddr_in6& address);

// A listening socket (the same options) on the link's address, pinned to its
// interface; invalid on any failure.
base::OwnedFd listenOn(const CableLink& link, std::uint16_t port);

// A blocking connection to address%interfaceName:port with the v1 socket
// time-outs, or invalid when the address does not parse, the interface is
// unknown, or the connection is not made within limit.
base::OwnedFd connectScoped(const QString& address, const QString& interfaceName, std::uint16_t port,
                            std::chrono::milliseconds limit);

} // namespace tagsmith::cable
