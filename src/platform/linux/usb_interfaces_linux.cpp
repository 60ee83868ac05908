#include "cable/sysfs_usb_interfaces.h"

namespace tagsmith::cable {

QList<CableNetwork::USBInterface> CableNetwork::usbInterfaces() {
    return sysfsUSBInterfaces(QStringLiteral("/sys/class/net"), QStringLiteral("/sys/kernel/config/usb_gadget"));
}

} // namespace tagsmith::cable
