#include "cable/remote_devices.h"

#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace tagsmith::cable;
using tagsmith::test::fixtureText;

namespace {

const QString kMacId = QStringLiteral("00000000-0000-4000-8000-000000000001");

} // namespace

TEST(RemoteDevices, ListingLinesNeedAUuidAnNcmServiceAndAThirdField) {
    const QString extra = QStringLiteral("  0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9   ncm-indented   connected\n"
                                         "0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F0\tncm-two-fields\n"
                                         "{0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F1}\tncm-braced\tconnected\n"
                                         "0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F\tncm-short\tconnected\n"
                                         "0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F2\tbridge-ncm\tconnected\n");
    EXPECT_EQ(remoteDeviceIds(fixtureText("cable/remotectl-list.txt") + extra),
              (QStringList{kMacId, QStringLiteral("0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9")}));
}

TEST(RemoteDevices, APropertyIsTheFirstKeyValueLineOfItsKey) {
    const QString details = fixtureText("cable/remotectl-show-mac.txt") + QStringLiteral("\t\tSerialNumber => LATER\n");
    EXPECT_EQ(remoteProperty(details, QStringLiteral("SerialNumber")), QStringLiteral("CABLEMAC123"));
    for (const char* absent : {"State", "Missing", "Properties"})
        EXPECT_EQ(remoteProperty(details, QLatin1String(absent)), QString()) << absent;
}

TEST(RemoteDevices, TheAttachedMacIsTheFirstMacWithALinkLocalAddressOnItsInterface) {
    // Listed in this order: a phone, a Mac on an interface without an address here, the Mac, another Mac.
    const QString mac = fixtureText("cable/remotectl-show-mac.txt");
    const QStringList details{QString(mac).replace(QStringLiteral("=> Mac"), QStringLiteral("=> iPhone")),
                              QString(mac).replace(QStringLiteral("en9"), QStringLiteral("en12")), mac, mac};
    const QStringList ids{"11111111-1111-4111-8111-111111111111", "22222222-2222-4222-8222-222222222222",
                          "33333333-3333-4333-8333-333333333333", "44444444-4444-4444-8444-444444444444"};
    QStringList asked;
    const ToolRun run = [&](const QString&, const QStringList& arguments) {
        asked.append(arguments.join(u' '));
        if (arguments.size() == 1)
            return ids.join(QStringLiteral("\tncm-x\tconnected\n")) + QStringLiteral("\tncm-x\tconnected\n");
        return details.value(ids.indexOf(arguments.value(1)));
    };
    const QList<InterfaceAddress> own{{"en0", "fe80::a"}, {"en9", "fe80::1"}, {"en9", "fe80::9"}};
    EXPECT_EQ(findAttachedMac(run, QStringLiteral("/usr/libexec/remotectl"), own),
              (AttachedMac{"en9", "fe80::1", "CABLEMAC123"}));
    EXPECT_EQ(asked.size(), 4) << "the fourth device is not examined";
    EXPECT_FALSE(findAttachedMac(run, QStringLiteral("/usr/libexec/remotectl"), own.mid(0, 1)));
}

TEST(RemoteDevices, OnlyCompleteLinkLocalNeighboursOfTheCableThatAreNotOursArePulled) {
    const QList<InterfaceAddress> own{{"en10", "fe80::4d2:27ff:fe10:9b31"}, {"en0", "fe80::8c7:3bff:fe55:6e02"}};
    EXPECT_EQ(pullCandidates(fixtureText("cable/ndp-an.txt"), QStringLiteral("en10"), own.mid(0, 1)),
              (QStringList{"fe80::8c7:3bff:fe55:6e02", "fe80::14a2:53ff:fe71:9f2c"}));
    EXPECT_EQ(pullCandidates(fixtureText("cable/ndp-an.txt"), QStringLiteral("en10"), own),
              (QStringList{"fe80::14a2:53ff:fe71:9f2c"}))
        << "an address of any of our interfaces is ours";
    EXPECT_TRUE(pullCandidates(fixtureText("cable/ndp-an.txt"), QStringLiteral("en9"), own).isEmpty());
}
