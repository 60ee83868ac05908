#pragma once

#include "cable/interface_addresses.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The Mac on the far end of a USB-C cable, as the workstation learns it from
// remotectl: its interface on this side, this side's link-local address on
// it, and its serial number. Parsing is pure, so it is tested on tool outputs.
namespace tagsmith::cable {

struct AttachedMac {
    QString interfaceName;
    QString address; // this workstation's link-local address on interfaceName, without scope
    QString serial;
    // No tool names the Mac on this cable (Linux has no remotectl): the serial
    // is the one the report carries, and serial stays empty.
    bool serialFromReport = false;

    bool operator==(const AttachedMac&) const = default;
};

// Runs a tool and returns its standard output, empty on any failure.
using ToolRun = std::function<QString(const QString& path, const QStringList& arguments)>;

// Identifiers of the listing lines that may be a USB-C network peer: at least
// three fields, a UUID, then a service name beginning with "ncm-".
QStringList remoteDeviceIds(const QString& listing);

// The value of the first "key => value" line of one device's details; empty
// when there is none.
QString remoteProperty(const QString& details, const QString& key);

// The first listed device that is a Mac on an interface where this machine
// has a link-local address; later devices are not examined.
std::optional<AttachedMac> findAttachedMac(const ToolRun& run, const QString& remotectl,
                                           const QList<InterfaceAddress>& own);

// Neighbour addresses (from "ndp -an") worth a pull on interfaceName: complete
// fe80 entries of that interface that are not this machine's own, in output order.
QStringList pullCandidates(const QString& neighbours, const QString& interfaceName, const QList<InterfaceAddress>& own);

} // namespace tagsmith::cable
