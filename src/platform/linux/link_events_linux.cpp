#include "cable/link_events.h"

#include "base/owned_fd.h"

#include <QByteArray>
#include <QSet>
#include <QSocketNotifier>

#include <linux/neighbour.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include <cerrno>

namespace tagsmith::cable {

namespace {

constexpr int kUnusable = NUD_FAILED | NUD_INCOMPLETE;

QByteArray neighbourKey(const nlmsghdr& header) {
    const auto* neighbour = static_cast<const ndmsg*>(NLMSG_DATA(&header));
    int length = int(RTM_PAYLOAD(&header));
    for (const rtattr* attribute = RTM_RTA(neighbour); RTA_OK(attribute, length);
         attribute = RTA_NEXT(attribute, length)) {
        if (attribute->rta_type == NDA_DST)
            return QByteArray::number(neighbour->ndm_ifindex) + ':' +
                   QByteArray(static_cast<const char*>(RTA_DATA(attribute)), int(RTA_PAYLOAD(attribute)));
    }
    return {};
}

} // namespace

struct LinkEvents::Watch {
    base::OwnedFd socket;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> onChange;
    QSet<int> running;           // interfaces last reported running
    QSet<QByteArray> neighbours; // usable neighbours seen, by interface and address

    bool announcesCable(const nlmsghdr& header);
    bool linkChanged(const nlmsghdr& header);
    bool neighbourChanged(const nlmsghdr& header);
    void drain();
};

// Only news counts: an event for what is known already would make every
// exchange's own neighbour traffic start the next one.
bool LinkEvents::Watch::announcesCable(const nlmsghdr& header) {
    switch (header.nlmsg_type) {
    case RTM_NEWLINK:
    case RTM_DELLINK:
        return linkChanged(header);
    case RTM_NEWADDR: {
        const auto* address = static_cast<const ifaddrmsg*>(NLMSG_DATA(&header));
        return address->ifa_family == AF_INET6 && address->ifa_scope == RT_SCOPE_LINK;
    }
    case RTM_NEWNEIGH:
    case RTM_DELNEIGH:
        return neighbourChanged(header);
    default:
        return false;
    }
}

bool LinkEvents::Watch::linkChanged(const nlmsghdr& header) {
    const auto* link = static_cast<const ifinfomsg*>(NLMSG_DATA(&header));
    if (header.nlmsg_type == RTM_DELLINK || !(link->ifi_flags & IFF_RUNNING)) {
        running.remove(link->ifi_index);
        return false;
    }
    const bool started = !running.contains(link->ifi_index);
    running.insert(link->ifi_index);
    return started;
}

bool LinkEvents::Watch::neighbourChanged(const nlmsghdr& header) {
    const auto* neighbour = static_cast<const ndmsg*>(NLMSG_DATA(&header));
    const QByteArray key = neighbourKey(header);
    if (neighbour->ndm_family != AF_INET6 || key.isEmpty())
        return false;
    if (header.nlmsg_type == RTM_DELNEIGH || (neighbour->ndm_state & kUnusable)) {
        neighbours.remove(key);
        return false;
    }
    const bool appeared = !neighbours.contains(key);
    neighbours.insert(key);
    return appeared;
}

void LinkEvents::Watch::drain() {
    alignas(nlmsghdr) char buffer[16384];
    bool changed = false;
    ssize_t received = 0;
    while ((received = ::recv(socket.get(), buffer, sizeof buffer, MSG_DONTWAIT)) > 0) {
        int length = int(received);
        for (auto* header = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(header, length);
             header = NLMSG_NEXT(header, length))
            changed = announcesCable(*header) || changed;
    }
    // An overrun lost events; one refresh too many is cheaper than a missed cable.
    if (received < 0 && errno == ENOBUFS)
        changed = true;
    if (changed && onChange)
        onChange();
}

LinkEvents::LinkEvents(std::function<void()> onChange) : m_watch(std::make_unique<Watch>()) {
    m_watch->onChange = std::move(onChange);
    m_watch->socket = base::OwnedFd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE));
    sockaddr_nl groups{};
    groups.nl_family = AF_NETLINK;
    groups.nl_groups = RTMGRP_LINK | RTMGRP_IPV6_IFADDR | RTMGRP_NEIGH;
    if (!m_watch->socket ||
        ::bind(m_watch->socket.get(), reinterpret_cast<const sockaddr*>(&groups), sizeof groups) != 0)
        return;
    m_watch->notifier = std::make_unique<QSocketNotifier>(m_watch->socket.get(), QSocketNotifier::Read);
    QObject::connect(m_watch->notifier.get(), &QSocketNotifier::activated, [watch = m_watch.get()] { watch->drain(); });
}

LinkEvents::~LinkEvents() = default;

} // namespace tagsmith::cable
