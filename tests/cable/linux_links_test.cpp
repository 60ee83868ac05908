#include "cable/linux_links.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tagsmith::cable;

// Laid out as the kernel does: class/net/<if>/operstate, and device/driver
// links for interfaces that sit on a device (virtual ones such as veth have none).
TEST(LinuxLinks, CableDriversAndNamedInterfacesThatAreUp) {
    QTemporaryDir root;
    const auto interface = [&](const QString& name, const QString& driver, const QByteArray& state) {
        QDir().mkpath(root.filePath("net/" + name));
        QFile operstate(root.filePath("net/" + name + "/operstate"));
        ASSERT_TRUE(operstate.open(QIODevice::WriteOnly));
        operstate.write(state + "\n");
        if (driver.isEmpty())
            return;
        QDir().mkpath(root.filePath("devices/" + name));
        QDir().mkpath(root.filePath("drivers/" + driver));
        ASSERT_TRUE(QFile::link(root.filePath("devices/" + name), root.filePath("net/" + name + "/device")));
        ASSERT_TRUE(QFile::link(root.filePath("drivers/" + driver), root.filePath("devices/" + name + "/driver")));
    };
    interface("thunderbolt0", "thunderbolt-net", "up");
    interface("enx1e2f3a4b5c6d", "cdc_ncm", "up");
    interface("usb0", "cdc_ncm", "down");
    interface("enp3s0", "r8169", "up");
    interface("en10", "", "up");
    interface("en11", "", "lowerlayerdown");

    const QList<NetInterface> found = sysfsNetInterfaces(root.filePath("net"));
    EXPECT_EQ(found.size(), 6);
    EXPECT_TRUE(found.contains(NetInterface{"thunderbolt0", "thunderbolt-net", "up"}));
    EXPECT_EQ(linuxCableNames(found, {}), (QSet<QString>{"thunderbolt0", "enx1e2f3a4b5c6d"}));
    EXPECT_EQ(linuxCableNames(found, {"en10", "en11", "enp3s0"}),
              (QSet<QString>{"thunderbolt0", "enx1e2f3a4b5c6d", "en10", "enp3s0"}));
}

// Output of `ip -j -6 neigh show dev en10` after an all-nodes echo.
TEST(LinuxLinks, NeighboursWorthAPull) {
    const QByteArray table = R"([{"dst":"fe80::1","lladdr":"7a:1c:0e:5d:92:11","state":["REACHABLE"]},)"
                             R"({"dst":"fe80::7","state":["INCOMPLETE"]},{"dst":"fe80::9","state":["FAILED"]},)"
                             R"({"dst":"2001:db8::5","lladdr":"7a:1c:0e:5d:92:12","state":["STALE"]},)"
                             R"({"dst":"fe80::2","lladdr":"7a:1c:0e:5d:92:13","router":null,"state":["STALE"]},)"
                             R"({"dst":"fe80::3","lladdr":"7a:1c:0e:5d:92:14","state":["DELAY"]}])";
    EXPECT_EQ(neighbourAddresses(table, {{"en10", "fe80::2"}}), (QStringList{"fe80::1", "fe80::3"}));
    EXPECT_TRUE(neighbourAddresses("not json", {}).isEmpty());
}
