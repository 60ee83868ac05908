#include "cable/sysfs_usb_interfaces.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using tagsmith::cable::CableNetwork;

// Laid out as the kernel does: class/net/<if>/device leads to the USB
// interface, whose parent folder is the USB device holding the serial.
TEST(SysfsUSBInterfaces, NamesNcmInterfacesByRoleWithTheHostDeviceSerial) {
    QTemporaryDir root;
    const auto write = [&](const QString& relative, const QByteArray& content) {
        QDir().mkpath(QFileInfo(root.filePath(relative)).path());
        QFile file(root.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    const auto link = [&](const QString& relative, const QString& target) {
        QDir().mkpath(root.filePath(target));
        QDir().mkpath(QFileInfo(root.filePath(relative)).path());
        ASSERT_TRUE(QFile::link(root.filePath(target), root.filePath(relative)));
    };
    const auto interface = [&](const QString& name, const QString& device, const QString& driver) {
        link("net/" + name + "/device", device);
        link(device + "/driver", "drivers/" + driver);
    };
    interface("en16", "usb1/1-2/1-2:1.0", "cdc_ncm");
    write("usb1/1-2/serial", "CABLEMAC123\n");
    interface("en17", "usb1/1-3/1-3:1.0", "cdc_ncm");
    interface("en18", "gadget.0", "g_ncm");
    interface("en19", "udc/gadget.1", "configfs-gadget.g1");
    write("gadgets/g1/functions/ncm.usb0/ifname", "en19\n");
    interface("en5", "usb2/2-1/2-1:1.0", "r8152");
    write("usb2/2-1/serial", "LAN0001\n");
    QDir().mkpath(root.filePath("net/lo"));
    const QList<CableNetwork::USBInterface> expected{{"en16", CableNetwork::kHostSideNCM, "CABLEMAC123"},
                                                     {"en17", CableNetwork::kHostSideNCM, ""},
                                                     {"en18", CableNetwork::kDeviceSideNCM, ""},
                                                     {"en19", CableNetwork::kDeviceSideNCM, ""},
                                                     {"en5", "r8152", ""}};
    EXPECT_EQ(tagsmith::cable::sysfsUSBInterfaces(root.filePath("net"), root.filePath("gadgets")), expected);
}
