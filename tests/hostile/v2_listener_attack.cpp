#include "cable/collector_v2.h"
#include "cable/frames.h"
#include "hostile/listener_attack.h"
#include "support/process_usage.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <net/if.h>

using namespace tagsmith;
using namespace std::chrono_literals;
using cable::CableLink;
using cable::CollectorV2;
using test::kSlack;
using test::PeerCrowd;
using test::PeerScript;

namespace {

const QByteArray kReport = R"({"serial":"C02XK0ABJGH5","name":"MacBook Pro"})";
// Short enough to wait out in a test; the rules are the same as with the 20-second defaults.
const CollectorV2::Timing kTiming{1000ms, 1000ms};

// The collector's v2 server, with the real port across the namespace link.
class V2ListenerAttack : public test::ListenerAttack {
protected:
    void SetUp() override {
        ListenerAttack::SetUp();
        if (!IsSkipped())
            start(kTiming);
    }
    void TearDown() override {
        if (m_collector)
            m_collector->stop();
        m_collector.reset();
        ListenerAttack::TearDown();
    }

    std::uint16_t port() const { return namespaced() ? cable::kV2Port : m_loopbackPort; }

    void start(CollectorV2::Timing timing) {
        m_collector = CollectorV2::create(timing);
        m_collector->onSent = [this] { ++m_sent; };
        m_collector->setReport(kReport);
        const auto scope = collectorSide();
        const CableLink link = namespaced() ? CableLink{"en9", 29, AF_INET6, "fe80::1%en9", "ff02::1"}
                                            : CableLink{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"};
        m_collector->updateCableListeners({link}, port());
    }

    PeerCrowd crowd(const QList<PeerScript>& scripts) const { return crowdAgainstCollector(port(), scripts); }

    // An honest workstation, after whatever came before, still gets the report.
    // Like a real one it connects again when it was turned away while the
    // last attackers' slots were being freed.
    void expectHonestPeerServed() {
        const auto scope = workstationSide();
        const auto served = [&] {
            test::V2Workstation workstation(test::connectTcp(collectorAddress(), port()));
            return workstation.fetch() == kReport;
        };
        EXPECT_TRUE(test::waitUntil(served, 10s));
        EXPECT_TRUE(test::waitUntil([&] { return m_sent == 1; }));
    }

    const std::uint16_t m_loopbackPort = test::freeLoopbackPort();
    std::shared_ptr<CollectorV2> m_collector;
    int m_sent = 0;
};

} // namespace

TEST_P(V2ListenerAttack, StallingPeersHoldTheirSlotsNoLongerThanTheTimeoutsAndAFifthIsTurnedAway) {
    const QByteArray claimsLongHello = cable::frameHeader(11'000);
    PeerCrowd stallers = crowd({
        {},                                                // silent after the collector hello
        {claimsLongHello.first(3)},                        // stops inside the length
        {claimsLongHello},                                 // announces a hello, sends none of it
        {claimsLongHello, QByteArray(11'000, '{'), 200ms}, // drips the hello, a byte at a time
    });
    stallers.run(200ms);
    ASSERT_EQ(stallers.servedCount(), 4);
    {
        const auto scope = workstationSide();
        const test::OwnedFd fifth = test::connectTcp(collectorAddress(), port());
        EXPECT_TRUE(test::closesWithoutData(fifth.get()));
    }
    stallers.run(kTiming.exchange + kTiming.socketTimeout + kSlack);
    EXPECT_EQ(stallers.endedCount(), 4);
    EXPECT_LE(stallers.longestService(), kTiming.exchange + kTiming.socketTimeout + kSlack);
    expectHonestPeerServed();
}

TEST_P(V2ListenerAttack, MalformedFramesAndHellosEndTheExchangeAtOnce) {
    m_collector->stop();
    start({10s, 10s}); // so that a prompt end cannot be a time-out
    for (const auto& [name, hello] : test::brokenHelloFrames())
        test::expectEndedAtOnce(crowd({{hello}}), 5s, name);
    expectHonestPeerServed();
}

// With a backlog of 4 the kernel drops most of the hundred handshakes and the
// peers send them again later, so each crowd is watched for a while, not to its end.
TEST_P(V2ListenerAttack, FloodsGetAtMostFourExchangesAtOnceAndLeaveMemoryBounded) {
    const auto flood = [&](const PeerScript& script, std::chrono::milliseconds watched) {
        PeerCrowd hundred = crowd(QList<PeerScript>(100, script));
        hundred.run(watched);
        EXPECT_GE(hundred.servedCount(), 4);
        EXPECT_LE(hundred.mostServedAtOnce(), 4);
        EXPECT_LE(hundred.longestService(), kTiming.exchange + kTiming.socketTimeout + kSlack);
    };
    flood({}, 4s); // silent peers hold their slots until the time-outs
    const PeerScript oversize{cable::frameHeader(12'000) + QByteArray(12'000, 'x')};
    flood(oversize, 2s);
    const qint64 afterFirst = test::residentKilobytes();
    flood(oversize, 2s);
    flood(oversize, 2s);
    EXPECT_LT(test::residentKilobytes() - afterFirst, 16 * 1024) << "KiB grown over two more floods";
    expectHonestPeerServed();
}

INSTANTIATE_TEST_SUITE_P(Transports, V2ListenerAttack, ::testing::Values(false, true), test::transportName);
