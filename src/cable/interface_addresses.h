#pragma once

#include <QList>
#include <QString>

#include <netinet/in.h>

#include <cstdint>
#include <optional>

// The older address helpers of the v1 exchanges: they look at every "en" and
// "bridge" interface, without the cable policy of CableNetwork.
namespace tagsmith::cable {

struct InterfaceAddress {
    QString interfaceName;
    QString address; // IPv6 link-local, without the "%scope" suffix

    bool operator==(const InterfaceAddress&) const = default;
};

// IPv6 link-local addresses of "en…" and "bridge…" interfaces, in the system's
// order, duplicates kept.
QList<InterfaceAddress> addresses();

// The IPv6 socket address of address%interfaceName:port; the scope is 0 when
// the interface is unknown. Absent when the address does not parse: a zero
// address would silently mean "every address" to bind().
std::optional<sockaddr_in6> socketAddress(const QString& address, const QString& interfaceName, std::uint16_t port);

} // namespace tagsmith::cable
