#include "cable/sysfs_usb_interfaces.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using tagsmith::cable::CableNetwork;
using tagsmith::cable::sysfsUSBInterfaces;

namespace {

class FakeSysfs {
public:
    void write(const QString& relative, const QByteArray& content) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    void link(const QString& relative, const QString& target) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QDir().mkpath(path(target));
        QFile::link(path(target), path(relative));
    }
    // An interface whose device is bound to driver; the device lives at devicePath.
    void interface(const QString& name, const QString& devicePath, const QString& driver) {
        QDir().mkpath(path("class/net/" + name));
        link("class/net/" + name + "/device", devicePath);
        link(devicePath + "/driver", "bus/drivers/" + driver);
    }
    QString path(const QString& relative) const { return m_root.filePath(relative); }

private:
    QTemporaryDir m_root;
};

} // namespace

// Laid out as the kernel does: net/<if>/device -> the USB interface, whose parent is the USB device with its serial.
TEST(SysfsUSBInterfaces, NamesNcmInterfacesByRoleWithTheHostDeviceSerial) {
    FakeSysfs sysfs;
    sysfs.interface("en16", "devices/usb1/1-2/1-2:1.0", "cdc_ncm");
    sysfs.write("devices/usb1/1-2/serial", "CABLEMAC123\n");
    sysfs.interface("en17", "devices/usb1/1-3/1-3:1.0", "cdc_ncm");
    sysfs.interface("en18", "devices/gadget.0", "g_ncm");
    sysfs.interface("en19", "devices/platform/udc/gadget.1", "configfs-gadget.g1");
    sysfs.write("config/usb_gadget/g1/functions/ncm.usb0/ifname", "en19\n");
    sysfs.interface("en5", "devices/usb2/2-1/2-1:1.0", "r8152");
    sysfs.write("devices/usb2/2-1/serial", "LAN0001\n");
    QDir().mkpath(sysfs.path("class/net/lo"));
    const QList<CableNetwork::USBInterface> expected{
        {"en16", CableNetwork::kHostSideNCM, "CABLEMAC123"},
        {"en17", CableNetwork::kHostSideNCM, ""},
        {"en18", CableNetwork::kDeviceSideNCM, ""},
        {"en19", CableNetwork::kDeviceSideNCM, ""},
        {"en5", "r8152", ""},
    };
    EXPECT_EQ(sysfsUSBInterfaces(sysfs.path("class/net"), sysfs.path("config/usb_gadget")), expected);
    EXPECT_TRUE(sysfsUSBInterfaces(sysfs.path("missing"), sysfs.path("missing")).isEmpty());
}
