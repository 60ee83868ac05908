#include "cable/cable_link.h"

#include "cable/socket_options.h"

#include <QStringList>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>

namespace tagsmith::cable {

namespace {

bool isLinkLocal(const in6_addr& address) {
    return address.s6_addr[0] == 0xfe && (address.s6_addr[1] & 0xc0) == 0x80;
}

bool acceptsIPv6(const CableLink& link, const QString& address) {
    const QStringList parts = address.split(u'%');
    if (parts.size() != 2)
        return false;
    if (parts[1] != link.name && parts[1] != QString::number(link.index))
        return false;
    in6_addr parsed{};
    return ::inet_pton(AF_INET6, parts[0].toLatin1().constData(), &parsed) == 1 && isLinkLocal(parsed);
}

bool acceptsIPv4(const QString& address) {
    in_addr parsed{};
    if (::inet_pton(AF_INET, address.toLatin1().constData(), &parsed) != 1)
        return false;
    const QStringList parts = address.split(u'.');
    if (parts.size() != 4)
        return false;
    const int first = parts[0].toInt();
    const int second = parts[1].toInt();
    return first == 10 || (first == 169 && second == 254) || (first == 172 && second >= 16 && second <= 31) ||
           (first == 192 && second == 168);
}

} // namespace

bool CableLink::accepts(const QString& candidate) const {
    // The address parsers stop at a NUL and would judge only the text before it.
    if (candidate.contains(QChar(0)))
        return false;
    if (family == AF_INET6)
        return acceptsIPv6(*this, candidate);
    if (family == AF_INET)
        return acceptsIPv4(candidate);
    return false;
}

bool CableLink::bindSocket(int socket) const {
    if (index == 0 || ::if_nametoindex(name.toUtf8().constData()) != index)
        return false;
    return bindToInterface(socket, family, index, name);
}

size_t qHash(const CableLink& link, size_t seed) {
    return qHashMulti(seed, link.name, link.index, link.family, link.address, link.target);
}

} // namespace tagsmith::cable
