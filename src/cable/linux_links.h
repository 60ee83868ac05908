#pragma once

#include "cable/interface_addresses.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// How a Linux machine tells its cable links, in either role. Without
// remotectl and the I/O registry, a link is known by its driver (Thunderbolt
// networking, or a USB network function such as the NCM one a Mac offers over
// USB-C), or because the operator named it, so that a direct Ethernet cable
// through adapters works the same way. Parsing is pure, tested on fixtures.
namespace tagsmith::cable {

struct NetInterface {
    QString name;
    QString driver;    // of the interface's device; empty for virtual interfaces
    QString operstate; // "up", "down", "lowerlayerdown", …

    bool operator==(const NetInterface&) const = default;
};

// Every interface under netRoot (normally /sys/class/net), by name.
QList<NetInterface> sysfsNetInterfaces(const QString& netRoot);

// The interfaces that count as cable: operationally up, and either on a cable
// driver or named by the operator.
QSet<QString> linuxCableNames(const QList<NetInterface>& interfaces, const QSet<QString>& named);

// The link-local neighbours in `ip -j -6 neigh show dev NAME` output worth a
// pull: not failed or incomplete, not this machine's own, in table order.
QStringList neighbourAddresses(const QByteArray& json, const QList<InterfaceAddress>& own);

} // namespace tagsmith::cable
