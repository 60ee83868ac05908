#pragma once

#include "cable/cable_network.h"

#include <QList>
#include <QString>

namespace tagsmith::cable {

// The Linux counterpart of the I/O-registry walk. It reads each network
// interface's device under netRoot (normally /sys/class/net) and reports NCM
// interfaces by role: "cdc_ncm" (this machine is the USB host) as the
// host-side class with the USB serial of the device above it, and an NCM
// gadget function (this machine is the USB device, found through the legacy
// g_ncm driver or the configfs gadgets under gadgetRoot) as the device-side
// class. Other interfaces keep their own driver name; interfaces without a
// device (loopback, bridges, veth) are left out.
QList<CableNetwork::USBInterface> sysfsUSBInterfaces(const QString& netRoot, const QString& gadgetRoot);

} // namespace tagsmith::cable
