#include "cable/cable_network.h"
#include "cable/cable_receiver.h"

#include "support/netns.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::NetnsPair;
using tagsmith::test::NetnsScope;
using tagsmith::test::V2Workstation;

namespace {

const QByteArray kReport = R"({"serial":"C02XK0ABJGH5"})";

// Runs a workstation step in the workstation's namespace, on a thread of its own.
template <typename Step> auto inWorkstationNamespace(const NetnsPair& pair, Step step) {
    return std::async(std::launch::async, [&pair, step] {
        const NetnsScope inside(pair.workstation);
        return step();
    });
}

V2Workstation connectToCollector() {
    return V2Workstation(tagsmith::test::connectTcp(QStringLiteral("fe80::1%en10"), kV2Port));
}

} // namespace

// The collector runs in its own namespace on the link-local address of a veth
// link; "unplugging" takes the link out of what discovery reports.
TEST(CollectorV2Unplug, UnpluggingMidExchangeClosesListenerAndConnectionAndSendsNothing) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    const int socketsBefore = tagsmith::test::openSocketCount();
    std::atomic<bool> plugged = true;
    int sent = 0;
    auto collector = CollectorV2::create();
    collector->onSent = [&] { ++sent; };
    collector->setReport(kReport);
    std::optional<CableReceiver> receiver;
    {
        const NetnsScope inside(pair.collector); // the receiver's queue thread is born in this namespace
        receiver.emplace(
            collector, kV2Port,
            [&] { return plugged ? CableNetwork::links({QStringLiteral("en9")}) : QList<CableLink>(); }, 50ms);
    }
    receiver->start();

    auto unplugged = inWorkstationNamespace(pair, [&] {
        V2Workstation peer = connectToCollector();
        if (!peer.readCollectorHello())
            return false;
        plugged = false;
        const bool shutDown = tagsmith::test::closesWithoutData(peer.socket());
        return shutDown && !tagsmith::test::connectTcp(QStringLiteral("fe80::1%en10"), kV2Port, 0ms).valid();
    });
    EXPECT_TRUE(unplugged.get()) << "the connection was shut down and the listener closed";

    plugged = true;
    EXPECT_EQ(inWorkstationNamespace(pair, [] { return connectToCollector().fetch(); }).get(), kReport);
    EXPECT_TRUE(tagsmith::test::waitUntil([&] { return sent == 1; })) << "only the exchange after re-plugging";

    bool stopped = false;
    receiver->stop([&] { stopped = true; });
    ASSERT_TRUE(tagsmith::test::waitUntil([&] { return stopped; }));
    collector.reset();
    EXPECT_TRUE(tagsmith::test::waitUntil([&] { return tagsmith::test::openSocketCount() <= socketsBefore; }));
}
