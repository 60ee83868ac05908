#include "cable/socket_options.h"

#include <netinet/in.h>
#include <sys/socket.h>

namespace tagsmith::cable {

void preventSigpipe(int socket) {
    const int one = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_NOSIGPIPE, &one, sizeof one);
}

int sendFlags() {
    return 0; // SO_NOSIGPIPE already covers every send on the socket
}

bool bindToInterface(int socket, int family, unsigned index, const QString&) {
    const int value = int(index);
    if (family == AF_INET6)
        return ::setsockopt(socket, IPPROTO_IPV6, IPV6_BOUND_IF, &value, sizeof value) == 0;
    return ::setsockopt(socket, IPPROTO_IP, IP_BOUND_IF, &value, sizeof value) == 0;
}

} // namespace tagsmith::cable
