#include "cable/interface_addresses.h"

#include "cable/interface_list.h"

#include <arpa/inet.h>
#include <net/if.h>

namespace tagsmith::cable {

QList<InterfaceAddress> addresses() {
    QList<InterfaceAddress> found;
    forEachInterfaceAddress([&](const ifaddrs& entry) {
        const QString name = QString::fromUtf8(entry.ifa_name);
        if (entry.ifa_addr == nullptr || entry.ifa_addr->sa_family != AF_INET6 ||
            !(name.startsWith(QLatin1String("en")) || name.startsWith(QLatin1String("bridge"))))
            return;
        const QString address = numericHost(*entry.ifa_addr).section(u'%', 0, 0);
        if (address.startsWith(QLatin1String("fe80:")))
            found.append({name, address});
    });
    return found;
}

std::optional<sockaddr_in6> socketAddress(const QString& address, const QString& interfaceName, std::uint16_t port) {
    sockaddr_in6 result{};
    result.sin6_family = AF_INET6;
    result.sin6_port = htons(port);
    result.sin6_flowinfo = 0;
    if (address.contains(QChar(0)) || ::inet_pton(AF_INET6, address.toLatin1().constData(), &result.sin6_addr) != 1)
        return std::nullopt;
    result.sin6_scope_id = ::if_nametoindex(interfaceName.toUtf8().constData());
    return result;
}

} // namespace tagsmith::cable
