#include "cable/collector_v2.h"
#include "cable/frames.h"
#include "hostile/listener_attack.h"
#include "support/process_usage.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <net/if.h>

#include <QJsonDocument>
#include <QJsonObject>

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

QByteArray frame(const QByteArray& payload) {
    return cable::frameHeader(std::uint32_t(payload.size())) + payload;
}

QByteArray helloWith(const char* key, const QJsonValue& value) {
    QJsonObject hello{{"version", 2}, {"publicKey", QString(QByteArray(32, '\x09').toBase64())}, {"deviceId", "ws"}};
    if (value.isUndefined())
        hello.remove(QLatin1String(key));
    else
        hello.insert(QLatin1String(key), value);
    return frame(QJsonDocument(hello).toJson(QJsonDocument::Compact));
}

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

// With a backlog of 4 the kernel drops most of the hundred handshakes and the
// peers send them again later, so the crowd is watched for a while, not to its end.
TEST_P(V2ListenerAttack, AHundredConnectionsAtOnceGetAtMostFourExchanges) {
    {
        PeerCrowd hundred = crowd(QList<PeerScript>(100));
        hundred.run(4s);
        EXPECT_GE(hundred.servedCount(), 4);
        EXPECT_LE(hundred.mostServedAtOnce(), 4);
        EXPECT_LE(hundred.longestService(), kTiming.exchange + kTiming.socketTimeout + kSlack);
    }
    expectHonestPeerServed();
}

TEST_P(V2ListenerAttack, MalformedFramesAndHellosEndTheExchangeAtOnce) {
    m_collector->stop();
    start({10s, 10s}); // so that a prompt end cannot be a time-out
    const struct {
        const char* name;
        QByteArray bytes;
    } attacks[] = {
        {"zero length", cable::frameHeader(0)},
        {"one over the hello limit", cable::frameHeader(12'001)},
        {"largest length", cable::frameHeader(0xffff'ffff)},
        {"not JSON", frame("\x00\xff\xfe garbage")},
        {"JSON array", frame("[2]")},
        {"deep nesting", frame(QByteArray(5'000, '[') + QByteArray(5'000, ']'))},
        {"version as text", helloWith("version", "2")},
        {"no version", helloWith("version", QJsonValue::Undefined)},
        {"key of 31 bytes", helloWith("publicKey", QString(QByteArray(31, '\x09').toBase64()))},
        {"low-order key", helloWith("publicKey", QString(QByteArray(32, '\0').toBase64()))},
        {"key not Base64", helloWith("publicKey", "%%%")},
        {"no device", helloWith("deviceId", QJsonValue::Undefined)},
        {"device with a line feed", helloWith("deviceId", "ws\n")},
        {"device of 129 characters", helloWith("deviceId", QString(129, u'w'))},
        {"acknowledgement instead of hello", frame(QByteArray(36, '\x01'))},
    };
    for (const auto& attack : attacks) {
        PeerCrowd peer = crowd({{attack.bytes}});
        peer.run(5s);
        EXPECT_EQ(peer.endedCount(), 1) << attack.name;
        EXPECT_LT(peer.longestService(), kSlack) << attack.name;
    }
    expectHonestPeerServed();
}

TEST_P(V2ListenerAttack, RepeatedFloodsLeaveMemoryBounded) {
    const auto flood = [&] {
        PeerCrowd hundred = crowd(QList<PeerScript>(100, {frame(QByteArray(12'000, 'x'))}));
        hundred.run(2s);
        return hundred.servedCount();
    };
    ASSERT_GE(flood(), 4);
    const qint64 afterFirst = test::residentKilobytes();
    for (int round = 0; round < 2; ++round)
        ASSERT_GE(flood(), 4);
    EXPECT_LT(test::residentKilobytes() - afterFirst, 16 * 1024) << "KiB grown over two more floods";
    expectHonestPeerServed();
}

INSTANTIATE_TEST_SUITE_P(Transports, V2ListenerAttack, ::testing::Values(false, true), test::transportName);
