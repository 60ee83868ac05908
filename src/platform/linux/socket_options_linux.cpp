#include "cable/socket_options.h"

#include <sys/socket.h>

namespace tagsmith::cable {

void preventSigpipe(int) {
    // Linux has no socket option for this; sendFlags() carries MSG_NOSIGNAL on every send instead.
}

int sendFlags() {
    return MSG_NOSIGNAL;
}

bool bindToInterface(int socket, int, unsigned, const QString& name) {
    const QByteArray device = name.toUtf8();
    return ::setsockopt(socket, SOL_SOCKET, SO_BINDTODEVICE, device.constData(), socklen_t(device.size())) == 0;
}

} // namespace tagsmith::cable
