#include "cable/cable_discovery.h"

#include "cable/cable_network.h"

namespace tagsmith::cable {

// The Mac finds its cable through remotectl, networksetup, ifconfig and the
// I/O registry alone; named interfaces do not apply.
QList<CableLink> cableLinks(const QSet<QString>&) {
    return CableNetwork().current();
}

Receiver::Setup receiverSetup(const QSet<QString>&) {
    return {};
}

} // namespace tagsmith::cable
