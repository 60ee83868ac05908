#include "cable/cable_network.h"

#include "cable/interface_list.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>

namespace tagsmith::cable {

namespace {

const QString kAllNodes = QStringLiteral("ff02::1");

bool isUsableEntry(const ifaddrs& entry, const QSet<QString>& names) {
    return entry.ifa_addr != nullptr && (entry.ifa_flags & IFF_UP) && !(entry.ifa_flags & IFF_LOOPBACK) &&
           names.contains(QString::fromUtf8(entry.ifa_name));
}

// The directed broadcast of the entry's subnet; empty for a missing or host-only netmask.
QString directedBroadcast(const ifaddrs& entry) {
    if (entry.ifa_netmask == nullptr)
        return {};
    const in_addr_t address = reinterpret_cast<const sockaddr_in*>(entry.ifa_addr)->sin_addr.s_addr;
    const in_addr_t mask = reinterpret_cast<const sockaddr_in*>(entry.ifa_netmask)->sin_addr.s_addr;
    if (mask == INADDR_BROADCAST)
        return {};
    in_addr broadcast{};
    broadcast.s_addr = address | ~mask;
    char text[INET_ADDRSTRLEN];
    return ::inet_ntop(AF_INET, &broadcast, text, sizeof text) ? QString::fromLatin1(text) : QString();
}

std::optional<CableLink> linkFor(const ifaddrs& entry) {
    CableLink link;
    link.name = QString::fromUtf8(entry.ifa_name);
    link.index = ::if_nametoindex(entry.ifa_name);
    link.family = entry.ifa_addr->sa_family;
    link.address = numericHost(*entry.ifa_addr);
    if (link.index == 0 || link.address.isEmpty())
        return std::nullopt;
    if (link.family == AF_INET6)
        link.target = kAllNodes;
    else if (link.family == AF_INET)
        link.target = directedBroadcast(entry);
    if (link.target.isEmpty() || !link.accepts(link.address))
        return std::nullopt;
    return link;
}

} // namespace

CableNetwork::CableNetwork() : CableNetwork(Tools{}) {}

CableNetwork::CableNetwork(Tools tools) : m_tools(std::move(tools)) {}

QList<CableLink> CableNetwork::current() const {
    const QString listing = read(m_tools.remotectl, {QStringLiteral("list")});
    QHash<QString, QString> details;
    for (const QString& identifier : ncmIDs(listing))
        details.insert(identifier, read(m_tools.remotectl, {QStringLiteral("show"), identifier}));
    const QString ports = read(m_tools.networksetup, {QStringLiteral("-listallhardwareports")});
    const QString config = read(m_tools.ifconfig, {});
    const QList<USBInterface> interfaces = m_tools.usbInterfaces ? m_tools.usbInterfaces() : QList<USBInterface>();
    return links(allowedNames(ports, config, listing, details, interfaces));
}

QList<CableLink> CableNetwork::links(const QSet<QString>& names) {
    if (names.isEmpty())
        return {};
    QSet<CableLink> found;
    forEachInterfaceAddress([&](const ifaddrs& entry) {
        if (!isUsableEntry(entry, names))
            return;
        if (const auto link = linkFor(entry))
            found.insert(*link);
    });
    return found.values();
}

QString CableNetwork::read(const QString& tool, const QStringList& arguments) const {
    return runTool(tool, arguments, m_tools.watchdog);
}

} // namespace tagsmith::cable
