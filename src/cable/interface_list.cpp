#include "cable/interface_list.h"

#include <netdb.h>
#include <netinet/in.h>

namespace tagsmith::cable {

void forEachInterfaceAddress(const std::function<void(const ifaddrs&)>& visit) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next)
        visit(*entry);
    ::freeifaddrs(list);
}

QString numericHost(const sockaddr& address) {
    socklen_t length = 0;
    if (address.sa_family == AF_INET6)
        length = sizeof(sockaddr_in6);
    else if (address.sa_family == AF_INET)
        length = sizeof(sockaddr_in);
    else
        return {};
    char host[1025];
    if (::getnameinfo(&address, length, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0)
        return {};
    return QString::fromUtf8(host);
}

} // namespace tagsmith::cable
