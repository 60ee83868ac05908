#include "cable/collector_v2.h"

#include "base/main_thread.h"
#include "base/uptime.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <net/if.h>

#include <QJsonDocument>

#include <functional>
#include <thread>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::closesWithoutData;
using tagsmith::test::V2Workstation;
using tagsmith::test::waitUntil;

namespace {

const QByteArray kReport = R"({"serial":"C02XK0ABJGH5","name":"MacBook Pro"})";

// A collector listening on the loopback, served by workstations written in the tests.
class CollectorV2Test : public ::testing::Test {
protected:
    void SetUp() override { start({3000ms, 3000ms}); }
    void TearDown() override {
        m_collector->stop();
        m_collector.reset();
        EXPECT_TRUE(waitUntil([&] { return tagsmith::test::openSocketCount() <= m_socketsBefore; }));
        settle(); // an onSent still queued would otherwise run after this fixture is gone
    }
    void start(CollectorV2::Timing timing) {
        if (m_collector)
            m_collector->stop();
        m_collector = CollectorV2::create(timing);
        m_collector->onSent = [this] { ++m_sent; };
        m_collector->setReport(kReport);
        m_collector->updateCableListeners({m_link}, m_port);
    }
    V2Workstation workstation(const QString& deviceId = QStringLiteral("workstation-1"), const char* host = "::1") {
        return V2Workstation(tagsmith::test::connectTcp(QString::fromLatin1(host), m_port, 0ms), deviceId);
    }
    // Lets every onSent scheduled so far run, so that a missing call is really missing.
    void settle() {
        bool done = false;
        tagsmith::base::onMain([&] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    const int m_socketsBefore = tagsmith::test::openSocketCount();
    const CableLink m_link{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"};
    const std::uint16_t m_port = tagsmith::test::freeLoopbackPort();
    std::shared_ptr<CollectorV2> m_collector;
    int m_sent = 0;
};

} // namespace

TEST_F(CollectorV2Test, ServesTheReportOnEachLinkFamilyAndReportsEachAcknowledgement) {
    m_collector->updateCableListeners({m_link, {"lo", m_link.index, AF_INET, "127.0.0.1", "127.255.255.255"}}, m_port);
    EXPECT_EQ(workstation().fetch(), kReport);
    EXPECT_EQ(workstation(QStringLiteral("workstation-1"), "127.0.0.1").fetch(), kReport);
    EXPECT_TRUE(waitUntil([&] { return m_sent == 2; }));
}

TEST_F(CollectorV2Test, HelloThatBreaksTheContractEndsTheExchangeWithNothingSent) {
    const auto with = [](const char* key, const QJsonValue& value) {
        return [=](QJsonObject hello) {
            hello.insert(QLatin1String(key), value);
            return hello;
        };
    };
    const std::function<QJsonObject(QJsonObject)> faults[] = {
        with("version", 1),
        with("publicKey", QString::fromLatin1(QByteArray(31, 'k').toBase64())),
        with("publicKey", "@@@@"),
        with("publicKey", QString::fromLatin1(QByteArray(32, '\0').toBase64())), // low order: all-zero secret
        with("version", "2"),
        with("deviceId", ""),
        with("deviceId", QString(129, u'w')),
        with("deviceId", "tab\there"),
        with("deviceId", QStringLiteral("工作站")),
        with("deviceId", 7),
        with("pad", QString(12'000, u'p')), // over the 12,000-byte limit
    };
    for (const auto& fault : faults) {
        V2Workstation peer = workstation();
        ASSERT_TRUE(peer.readCollectorHello());
        (void)peer.sendHello(fault(peer.hello()));
        EXPECT_TRUE(closesWithoutData(peer.socket())) << QJsonDocument(fault({})).toJson().toStdString();
    }
    EXPECT_EQ(workstation(QString(128, u'~')).fetch(), kReport) << "failed hellos select nobody";
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
}

TEST_F(CollectorV2Test, FourExchangesRunAtOnceAndAFifthOrOneWithoutReportIsClosedAtOnce) {
    std::vector<V2Workstation> four;
    for (int i = 0; i < 4; ++i) {
        four.push_back(workstation());
        ASSERT_TRUE(four.back().readCollectorHello());
    }
    EXPECT_TRUE(closesWithoutData(workstation().socket(), 1s));
    for (V2Workstation& peer : four)
        EXPECT_TRUE(peer.sendHello() && peer.receiveReport() == kReport && peer.acknowledge());
    EXPECT_TRUE(waitUntil([&] { return m_sent == 4; }));
    m_collector->setReport(std::nullopt);
    EXPECT_TRUE(closesWithoutData(workstation().socket(), 1s));
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
    EXPECT_LT(tagsmith::base::uptime() - begin, 2.0) << "long before the 5-second socket time-out";
}
