#include "cable/cable_network.h"
#include "cable/cable_receiver.h"

#include "support/netns.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::NetnsScope;
using tagsmith::test::waitUntil;

// The collector serves on fe80::1%en9 in its namespace, the workstation
// connects from the other end of the veth link. "Unplugging" takes the link
// out of what discovery reports, as the next refresh after a pulled cable does.
TEST(CollectorV2Unplug, UnpluggingMidExchangeClosesListenerAndConnectionAndSendsNothing) {
    tagsmith::test::NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << tagsmith::test::NetnsPair::skipReason();
    const int socketsBefore = tagsmith::test::openSocketCount();
    const QByteArray report = R"({"serial":"C02XK0ABJGH5"})";
    std::atomic<bool> plugged = true;
    int sent = 0;
    auto collector = CollectorV2::create();
    collector->onSent = [&] { ++sent; };
    collector->setReport(report);
    std::optional<CableReceiver> receiver;
    {
        const NetnsScope inside(pair.collector); // the receive queue's thread is born in this namespace
        receiver.emplace(
            collector, kV2Port,
            [&] { return plugged ? CableNetwork::links({QStringLiteral("en9")}) : QList<CableLink>(); }, 50ms);
    }
    receiver->start();
    {
        const NetnsScope inside(pair.workstation);
        const auto connect = [](std::chrono::milliseconds patience) {
            return tagsmith::test::connectTcp(QStringLiteral("fe80::1%en10"), kV2Port, patience);
        };
        tagsmith::test::V2Workstation peer(connect(5s));
        ASSERT_TRUE(peer.readCollectorHello());
        plugged = false;
        EXPECT_TRUE(tagsmith::test::closesWithoutData(peer.socket())) << "the connection is shut down";
        EXPECT_FALSE(connect(0ms).valid()) << "the listener is closed";
        plugged = true;
        EXPECT_EQ(tagsmith::test::V2Workstation(connect(5s)).fetch(), report) << "re-plugging serves again";
    }
    EXPECT_TRUE(waitUntil([&] { return sent == 1; })) << "only the exchange after re-plugging";
    bool stopped = false;
    receiver->stop([&] { stopped = true; });
    ASSERT_TRUE(waitUntil([&] { return stopped; }));
    collector.reset();
    EXPECT_TRUE(waitUntil([&] { return tagsmith::test::openSocketCount() <= socketsBefore; }));
}
