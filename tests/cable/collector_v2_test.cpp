#include "cable/collector_v2.h"

#include "base/main_thread.h"
#include "base/uptime.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QJsonArray>

#include <net/if.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::closesWithoutData;
using tagsmith::test::V2Workstation;
using tagsmith::test::waitUntil;

namespace {

const QByteArray kReport = R"({"serial":"C02XK0ABJGH5","name":"MacBook Pro"})";

class CollectorV2Test : public ::testing::Test {
protected:
    void SetUp() override {
        m_socketsBefore = tagsmith::test::openSocketCount();
        start({3000ms, 3000ms});
    }
    void TearDown() override {
        m_collector->stop();
        m_collector.reset();
        EXPECT_TRUE(waitUntil([&] { return tagsmith::test::openSocketCount() <= m_socketsBefore; }))
            << "sockets left open";
    }
    void start(CollectorV2::Timing timing) {
        if (m_collector)
            m_collector->stop();
        m_collector = CollectorV2::create(timing);
        m_collector->onSent = [this] { ++m_sent; };
        m_collector->setReport(kReport);
        m_collector->updateCableListeners({m_link}, m_port);
    }
    V2Workstation workstation(const QString& deviceId = QStringLiteral("workstation-1")) {
        return V2Workstation(tagsmith::test::connectTcp(QStringLiteral("::1"), m_port, 0ms), deviceId);
    }
    // Lets every onSent scheduled before now run, so a missing call is really missing.
    void settle() {
        bool done = false;
        tagsmith::base::onMain([&] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    const CableLink m_link{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"};
    const std::uint16_t m_port = tagsmith::test::freeLoopbackPort();
    std::shared_ptr<CollectorV2> m_collector;
    int m_sent = 0;
    int m_socketsBefore = 0;
};

} // namespace

TEST_F(CollectorV2Test, ServesTheReportOnEveryLinkFamilyAndReportsEachAcknowledgement) {
    const CableLink ipv4{"lo", m_link.index, AF_INET, "127.0.0.1", "127.255.255.255"};
    m_collector->updateCableListeners({m_link, ipv4}, m_port);
    EXPECT_EQ(workstation().fetch(), kReport);
    EXPECT_EQ(V2Workstation(tagsmith::test::connectTcp(QStringLiteral("127.0.0.1"), m_port, 0ms)).fetch(), kReport);
    EXPECT_TRUE(waitUntil([&] { return m_sent == 2; }));
}

TEST_F(CollectorV2Test, HelloThatBreaksTheContractEndsTheExchangeWithNothingSent) {
    const auto with = [](const char* key, const QJsonValue& value) {
        return [=](QJsonObject hello) {
            hello.insert(QLatin1String(key), value);
            return hello;
        };
    };
    const struct {
        const char* what;
        std::function<QJsonObject(QJsonObject)> alter;
    } cases[] = {
        {"version 1", with("version", 1)},
        {"31-byte key", with("publicKey", QString::fromLatin1(QByteArray(31, 'k').toBase64()))},
        {"bad base64", with("publicKey", "@@@@")},
        {"low-order key", with("publicKey", QString::fromLatin1(QByteArray(32, '\0').toBase64()))},
        {"empty device id", with("deviceId", "")},
        {"over 12,000 bytes", with("pad", QString(12'000, u'p'))},
    };
    for (const auto& c : cases) {
        V2Workstation peer = workstation();
        ASSERT_TRUE(peer.readCollectorHello()) << c.what;
        (void)peer.sendHello(c.alter(peer.hello()));
        EXPECT_TRUE(closesWithoutData(peer.socket())) << c.what;
    }
    EXPECT_EQ(workstation(QStringLiteral("another")).fetch(), kReport) << "failed hellos select nobody";
}

TEST_F(CollectorV2Test, OnlyTheExactAcknowledgementCounts) {
    V2Workstation peer = workstation();
    ASSERT_TRUE(peer.readCollectorHello() && peer.sendHello());
    EXPECT_EQ(peer.receiveReport(), kReport);
    ASSERT_TRUE(peer.acknowledge("RECEIVED\n"));
    EXPECT_TRUE(closesWithoutData(peer.socket()));
    settle();
    EXPECT_EQ(m_sent, 0);
}

TEST_F(CollectorV2Test, OnceServedOnlyThatWorkstationGetsTheReport) {
    EXPECT_EQ(workstation(QStringLiteral("first")).fetch(), kReport);
    V2Workstation second = workstation(QStringLiteral("second"));
    ASSERT_TRUE(second.readCollectorHello() && second.sendHello());
    EXPECT_TRUE(closesWithoutData(second.socket()));
    EXPECT_EQ(workstation(QStringLiteral("first")).fetch(), kReport);
    EXPECT_TRUE(waitUntil([&] { return m_sent == 2; }));
}

TEST_F(CollectorV2Test, FourExchangesRunAtOnceAndAFifthIsClosedAtOnce) {
    std::vector<V2Workstation> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(workstation());
        ASSERT_TRUE(first.back().readCollectorHello());
    }
    EXPECT_TRUE(closesWithoutData(workstation().socket(), 1s));
    for (V2Workstation& peer : first) {
        ASSERT_TRUE(peer.sendHello());
        EXPECT_EQ(peer.receiveReport(), kReport);
        EXPECT_TRUE(peer.acknowledge());
    }
    EXPECT_TRUE(waitUntil([&] { return m_sent == 4; }));
}

TEST_F(CollectorV2Test, WithoutAReportConnectionsAreClosedAtOnce) {
    m_collector->setReport(std::nullopt);
    EXPECT_TRUE(closesWithoutData(workstation().socket(), 1s));
    m_collector->setReport(kReport);
    EXPECT_EQ(workstation().fetch(), kReport);
}

TEST_F(CollectorV2Test, TheDeadlineCutsOffAWorkstationThatTricklesItsHello) {
    start({300ms, 5000ms});
    V2Workstation peer = workstation();
    ASSERT_TRUE(peer.readCollectorHello());
    const double begin = tagsmith::base::uptime();
    std::atomic<bool> closed = false;
    std::thread trickle([&] {
        for (int i = 0; i < 40 && !closed; ++i) {
            (void)::send(peer.socket(), "\0", 1, MSG_NOSIGNAL); // one header byte at a time
            std::this_thread::sleep_for(50ms);
        }
    });
    closed = closesWithoutData(peer.socket());
    trickle.join();
    EXPECT_TRUE(closed);
    EXPECT_LT(tagsmith::base::uptime() - begin, 2.0) << "well before the 5-second socket time-out";
}

TEST_F(CollectorV2Test, ListenersFollowTheLinkSet) {
    const CableLink renumbered{"lo", m_link.index, AF_INET6, "::1", "ff02::2"};
    m_collector->updateCableListeners({renumbered}, m_port);
    EXPECT_EQ(workstation().fetch(), kReport) << "a changed link gets a new listener";
    m_collector->updateCableListeners({}, m_port);
    EXPECT_FALSE(tagsmith::test::connectTcp(QStringLiteral("::1"), m_port, 0ms).valid());
    m_collector->updateCableListeners({m_link}, m_port);
    V2Workstation inFlight = workstation();
    ASSERT_TRUE(inFlight.readCollectorHello());
    m_collector->stop();
    EXPECT_TRUE(closesWithoutData(inFlight.socket(), 1s)) << "stop shuts down open connections";
    EXPECT_FALSE(tagsmith::test::connectTcp(QStringLiteral("::1"), m_port, 0ms).valid());
}
