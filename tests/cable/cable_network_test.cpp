#include "cable/cable_network.h"
#include "cable/interface_addresses.h"

#include "support/fixtures.h"
#include "support/netns.h"
#include "support/paths.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace tagsmith::cable;
using tagsmith::test::fixturePath;
using tagsmith::test::NetnsPair;
using tagsmith::test::NetnsScope;
using tagsmith::test::runIp;

namespace {

QString writeTool(const QTemporaryDir& folder, const QString& name, const QString& body) {
    return tagsmith::test::writeExecutable(folder.filePath(name), "#!/bin/sh\n" + body.toUtf8() + '\n');
}

} // namespace

TEST(CableNetwork, LinksAreTheCableAddressesOfTheNamedUpInterfaces) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    for (const char* address : {"169.254.7.7/16", "8.8.4.4/24", "10.9.9.9/32", "fd00::7/64"})
        ASSERT_TRUE(runIp({"-n", pair.collector, "addr", "add", address, "dev", "en9", "nodad"})) << address;
    const NetnsScope inside(pair.collector);
    ASSERT_TRUE(inside.entered());
    const QList<CableLink> expected{{"en9", 29, AF_INET6, "fe80::1%en9", "ff02::1"},
                                    {"en9", 29, AF_INET, "169.254.7.7", "169.254.255.255"}};
    const auto links = CableNetwork::links({QStringLiteral("en9"), QStringLiteral("lo")});
    EXPECT_EQ(QSet<CableLink>(links.begin(), links.end()), QSet<CableLink>(expected.begin(), expected.end()));
    EXPECT_TRUE(CableNetwork::links({}).isEmpty());
    EXPECT_EQ(addresses(), (QList<InterfaceAddress>{{"en9", "fe80::1"}}));
    ASSERT_TRUE(runIp({"-n", pair.collector, "link", "set", "en9", "down"}));
    EXPECT_TRUE(CableNetwork::links({QStringLiteral("en9")}).isEmpty()) << "a link that is down is unplugged";
}

TEST(CableNetwork, CurrentRunsTheToolsAndSurvivesOneThatHangs) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    QTemporaryDir folder;
    CableNetwork::Tools tools;
    tools.remotectl = writeTool(
        folder, "remotectl",
        QStringLiteral(
            R"(case "$1 $2" in "list ") cat '%1';; "show 00000000-0000-4000-8000-000000000001") cat '%2';; *) exit 1;; esac)")
            .arg(fixturePath("cable/remotectl-list.txt"), fixturePath("cable/remotectl-show-mac.txt")));
    tools.networksetup = writeTool(folder, "networksetup", QStringLiteral("exec sleep 30"));
    tools.ifconfig =
        writeTool(folder, "ifconfig", "cat '" + fixturePath("cable/ifconfig-thunderbolt-and-ncm.txt") + "'");
    tools.usbInterfaces = [] { return QList<CableNetwork::USBInterface>(); };
    tools.watchdog = std::chrono::milliseconds(300);
    const NetnsScope inside(pair.collector);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(CableNetwork(tools).current(), (QList<CableLink>{{"en9", 29, AF_INET6, "fe80::1%en9", "ff02::1"}}));
    EXPECT_LT(clock.elapsed(), 2000);
}

// Its port and scope are the receiver's test's, whose push crosses the namespace link.
TEST(InterfaceAddresses, AnUnparsableAddressIsNeverTheAnyAddress) {
    EXPECT_TRUE(socketAddress(QStringLiteral("fe80::2"), QStringLiteral("lo"), 49377));
    EXPECT_FALSE(socketAddress(QStringLiteral("fe80::zz"), QStringLiteral("lo"), 1));
}
