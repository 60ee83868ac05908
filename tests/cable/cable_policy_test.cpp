#include "cable/cable_network.h"

#include "support/fixtures.h"

#include <gtest/gtest.h>

using tagsmith::cable::CableNetwork;
using USB = CableNetwork::USBInterface;
using tagsmith::test::fixtureText;

namespace {

// One interface block as ifconfig prints it; members make it a bridge.
QString block(const QString& name, bool active, const QStringList& members = {}) {
    QString text = name + QStringLiteral(": flags=8863<UP,BROADCAST,SMART,RUNNING,SIMPLEX,MULTICAST> mtu 1500\n"
                                         "\tether 82:1f:4d:60:2c:01\n");
    for (const QString& member : members)
        text += QStringLiteral("\tmember: %1 flags=3<LEARNING,DISCOVER>\n\t        ifmaxaddr 0 port 5\n").arg(member);
    return text + QStringLiteral("\tmedia: autoselect\n\tstatus: %1\n").arg(active ? "active" : "inactive");
}

const QString kDevice = QStringLiteral("00000000-0000-4000-8000-000000000001");

QString details(const QString& deviceClass, const QString& interfaceName) {
    return QStringLiteral("\tProperties: {\n\t\tDeviceClass => %1\n\t\tInterfaceName => %2\n"
                          "\t\tSerialNumber => CABLEMAC123\n\t}\n")
        .arg(deviceClass, interfaceName);
}

} // namespace

TEST(CablePolicy, AllowsOnlyActiveThunderboltAndMacNcmInterfaces) {
    const QString ports = fixtureText("cable/networksetup-listallhardwareports.txt");
    const QString listing = fixtureText("cable/remotectl-list.txt");
    const USB hostNcm{QStringLiteral("en16"), CableNetwork::kHostSideNCM, QStringLiteral("CABLEMAC123")};
    const struct {
        const char* what;
        QString config;
        QString details;
        QStringList allowed;
    } cases[] = {
        {"thunderbolt bridge", block("bridge0", true, {"en1", "en2"}) + block("en1", false), {}, {"bridge0"}},
        {"mixed bridge", block("bridge0", true, {"en1", "en5"}) + block("en1", true) + block("en5", true), {}, {}},
        {"lone thunderbolt port", block("en1", true) + block("en2", false), {}, {"en1"}},
        {"wi-fi and usb lan", block("en0", true) + block("en5", true), {}, {}},
        {"remote mac", block("en9", true), details("Mac", "en9"), {"en9"}},
        {"first value wins", block("en9", true), details("iPhone", "en9") + details("Mac", "en9"), {}},
        {"not an ncm name", block("anpi0", true), details("Mac", "anpi0"), {}},
        {"unplugged", block("en9", false) + block("en1", false), details("Mac", "en9"), {}},
        {"host-side ncm to a listed mac", block("en16", true), details("Mac", "en4"), {"en16"}},
        {"real ifconfig", fixtureText("cable/ifconfig-thunderbolt-and-ncm.txt"), details("Mac", "en9"), {"en9"}},
    };
    for (const auto& c : cases) {
        const auto allowed = CableNetwork::allowedNames(ports, c.config, listing, {{kDevice, c.details}}, {hostNcm});
        EXPECT_EQ(allowed, QSet<QString>(c.allowed.begin(), c.allowed.end())) << c.what;
    }
}

TEST(CablePolicy, HostSideNcmNeedsTheSerialOfAListedMac) {
    const QSet<QString> macs{QStringLiteral("CABLEMAC123")};
    const struct {
        USB interface;
        bool included;
    } cases[] = {
        {{"en16", "AppleUSBNCMData", "CABLEMAC123"}, true},
        {{"en0", "AppleBCMWLANSkywalkInterface", "CABLEMAC123"}, false},
        {{"en17", "AppleUSBNCMData", "IPHONE0001"}, false},
        {{"en18", "AppleUSBNCMData", ""}, false},
        {{"en7", "AppleUSBDeviceNCMData", ""}, true},
        {{"anpi0", "AppleUSBDeviceNCMData", ""}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CableNetwork::applicationUSBNames(macs, {c.interface}).contains(c.interface.name), c.included)
            << c.interface.name.toStdString();
    EXPECT_TRUE(CableNetwork::applicationUSBNames({QString()}, {{"en18", "AppleUSBNCMData", ""}}).isEmpty());
}

TEST(CablePolicy, NcmIdentifiersComeFromNcmLinesInListingOrder) {
    const QString listing = QStringLiteral("  BBBBBBBB-0000-4000-8000-000000000002 ncm-two connected\n"
                                           "CCCCCCCC-0000-4000-8000-000000000003 localbridge connected\n"
                                           "aaaaaaaa-0000-4000-8000-000000000001\tncm-one\tconnected\n"
                                           "x aaaaaaaa-0000-4000-8000-000000000009 ncm-late connected\n");
    EXPECT_EQ(CableNetwork::ncmIDs(listing),
              (QStringList{"BBBBBBBB-0000-4000-8000-000000000002", "aaaaaaaa-0000-4000-8000-000000000001"}));
}
