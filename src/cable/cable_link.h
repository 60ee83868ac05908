#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstdint>

namespace tagsmith::cable {

// One usable cable link: a local address on a cable interface.
struct CableLink {
    QString name;            // interface name, e.g. "en9" or "bridge0"
    std::uint32_t index = 0; // interface index at discovery time; never 0 for a real link
    std::int32_t family = 0; // AF_INET6 or AF_INET
    QString address;         // numeric local address; IPv6 keeps its "%scope" suffix
    QString target;          // "ff02::1", or the IPv4 directed broadcast of the subnet

    bool operator==(const CableLink&) const = default;

    // Whether address is a cable address for this link: IPv6 link-local scoped
    // to this interface, or IPv4 in a private or link-local range.
    bool accepts(const QString& address) const;

    // Pins the socket to this link's interface, refusing when the interface
    // has gone or its index changed since discovery.
    bool bindSocket(int socket) const;
};

size_t qHash(const CableLink& link, size_t seed = 0);

} // namespace tagsmith::cable
