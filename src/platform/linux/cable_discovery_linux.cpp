#include "cable/cable_discovery.h"

#include "base/owned_fd.h"
#include "cable/cable_network.h"
#include "cable/linux_links.h"
#include "cable/tool_runner.h"

#include <QDeadlineTimer>

#include <net/if.h>
#include <netinet/icmp6.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>

namespace tagsmith::cable {

namespace {

const QString kNetRoot = QStringLiteral("/sys/class/net");
const QString kIp = QStringLiteral("/sbin/ip");
// Neighbours on a cable answer within a millisecond; a silent link must not
// hold the receiver's cycle long.
constexpr std::chrono::milliseconds kEchoWait{300};

// An unprivileged ping socket where the system allows one, else a raw one.
base::OwnedFd icmpSocket() {
    base::OwnedFd socket(::socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMPV6));
    if (!socket)
        socket = base::OwnedFd(::socket(AF_INET6, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMPV6));
    // This machine's own answer would otherwise end the wait before the Mac's.
    const int loop = 0;
    if (socket)
        ::setsockopt(socket.get(), IPPROTO_IPV6, IPV6_MULTICAST_LOOP, &loop, sizeof loop);
    return socket;
}

bool awaitReply(int socket, QDeadlineTimer deadline) {
    while (!deadline.hasExpired()) {
        pollfd entry{socket, POLLIN, 0};
        if (::poll(&entry, 1, int(deadline.remainingTime())) <= 0)
            return false;
        icmp6_hdr reply{};
        if (::recv(socket, &reply, sizeof reply, 0) >= 0 && reply.icmp6_type == ICMP6_ECHO_REPLY)
            return true;
    }
    return false;
}

// An echo to every node on the link: a Mac that answers resolves this
// machine first, which puts it into the neighbour table. Waits for the
// first answer, within kEchoWait.
void echoAllNodes(const QString& interfaceName) {
    const base::OwnedFd socket = icmpSocket();
    sockaddr_in6 allNodes{};
    allNodes.sin6_family = AF_INET6;
    allNodes.sin6_addr.s6_addr[0] = 0xff;
    allNodes.sin6_addr.s6_addr[1] = 0x02;
    allNodes.sin6_addr.s6_addr[15] = 0x01;
    allNodes.sin6_scope_id = ::if_nametoindex(interfaceName.toUtf8().constData());
    icmp6_hdr request{};
    request.icmp6_type = ICMP6_ECHO_REQUEST;
    if (!socket || allNodes.sin6_scope_id == 0 ||
        ::sendto(socket.get(), &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&allNodes),
                 sizeof allNodes) < 0)
        return;
    awaitReply(socket.get(), QDeadlineTimer(kEchoWait));
}

QStringList neighboursOn(const QString& interfaceName, const QList<InterfaceAddress>& own) {
    echoAllNodes(interfaceName);
    const QString table = runTool(kIp, {QStringLiteral("-j"), QStringLiteral("-6"), QStringLiteral("neigh"),
                                        QStringLiteral("show"), QStringLiteral("dev"), interfaceName});
    return neighbourAddresses(table.toUtf8(), own);
}

// The first cable link by name. Linux has no remotectl, so the serial is the
// one the report carries.
std::optional<AttachedMac> firstCableLink(const QSet<QString>& namedInterfaces) {
    const QList<CableLink> links = cableLinks(namedInterfaces);
    const auto first = std::min_element(links.begin(), links.end(),
                                        [](const CableLink& a, const CableLink& b) { return a.name < b.name; });
    if (first == links.end())
        return std::nullopt;
    return AttachedMac{first->name, first->address.section(u'%', 0, 0), QString(), true};
}

} // namespace

QList<CableLink> cableLinks(const QSet<QString>& namedInterfaces) {
    QList<CableLink> links = CableNetwork::links(linuxCableNames(sysfsNetInterfaces(kNetRoot), namedInterfaces));
    links.removeIf([](const CableLink& link) { return link.family != AF_INET6; });
    return links;
}

Receiver::Setup receiverSetup(const QSet<QString>& namedInterfaces) {
    Receiver::Setup setup;
    setup.findMac = [namedInterfaces] { return firstCableLink(namedInterfaces); };
    setup.neighbours = neighboursOn;
    return setup;
}

} // namespace tagsmith::cable
