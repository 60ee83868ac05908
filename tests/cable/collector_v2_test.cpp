#include "cable/collector_v2.h"

#include "cable/frames.h"
#include "cable/v2_fetch.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <net/if.h>

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
    void SetUp() override {
        m_collector->onSent = [this] { ++m_sent; };
        m_collector->setReport(kReport);
        m_collector->updateCableListeners({m_link}, m_port);
    }
    void TearDown() override {
        m_collector->stop();
        m_collector.reset();
        EXPECT_TRUE(waitUntil([&] { return tagsmith::test::openSocketCount() <= m_socketsBefore; }));
        EXPECT_TRUE(tagsmith::test::settleMainThread()); // no onSent may run after this fixture is gone
    }
    V2Workstation workstation(const QString& deviceId = QStringLiteral("workstation-1"), const char* host = "::1") {
        return V2Workstation(tagsmith::test::connectTcp(QString::fromLatin1(host), m_port, 0ms), deviceId);
    }

    const int m_socketsBefore = tagsmith::test::openSocketCount();
    const CableLink m_link{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"};
    const std::uint16_t m_port = tagsmith::test::freeLoopbackPort();
    std::shared_ptr<CollectorV2> m_collector = CollectorV2::create({3000ms, 3000ms});
    int m_sent = 0;
};

} // namespace

// A device name at both its limits, 128 of the highest printable character; the
// broken hellos are the hostile program's, against both transports.
TEST_F(CollectorV2Test, ServesTheReportOnEachLinkFamilyAndReportsEachAcknowledgement) {
    m_collector->updateCableListeners({m_link, {"lo", m_link.index, AF_INET, "127.0.0.1", "127.255.255.255"}}, m_port);
    const QString device(128, u'~');
    EXPECT_EQ(workstation(device).fetch(), kReport);
    EXPECT_EQ(workstation(device, "127.0.0.1").fetch(), kReport);
    EXPECT_TRUE(waitUntil([&] { return m_sent == 2; }));
}

TEST_F(CollectorV2Test, OnlyTheExactAcknowledgementCountsAndOnceServedOnlyThatWorkstationGetsTheReport) {
    V2Workstation peer = workstation(QStringLiteral("first"));
    ASSERT_TRUE(peer.readCollectorHello() && peer.sendHello());
    EXPECT_EQ(peer.receiveReport(), kReport);
    ASSERT_TRUE(peer.acknowledge("RECEIVED\n"));
    EXPECT_TRUE(closesWithoutData(peer.socket()));
    ASSERT_TRUE(tagsmith::test::settleMainThread());
    EXPECT_EQ(m_sent, 0);

    EXPECT_EQ(workstation(QStringLiteral("first")).fetch(), kReport);
    V2Workstation second = workstation(QStringLiteral("second"));
    ASSERT_TRUE(second.readCollectorHello() && second.sendHello());
    EXPECT_TRUE(closesWithoutData(second.socket()));
    EXPECT_EQ(workstation(QStringLiteral("first")).fetch(), kReport);
}

// This system's own workstation end against the collector.
TEST_F(CollectorV2Test, TheWorkstationAcknowledgesOnlyAnAcceptedReportOfTheExpectedSerial) {
    const QString serial = QStringLiteral("K7Q2XW9FJ4");
    const QByteArray report = tagsmith::test::reportFixtureBytes("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport");
    m_collector->setReport(report);
    QStringList offered;
    const auto fetch = [&](const std::optional<QString>& expected, bool accept) {
        const auto socket = tagsmith::test::connectTcp(QStringLiteral("::1"), m_port, 0ms);
        return fetchV2Report(socket.get(), QStringLiteral("workstation-1"), expected,
                             [&](const tagsmith::report::Report& offer, const QByteArray& bytes) {
                                 EXPECT_EQ(bytes, report);
                                 offered.append(offer.serial);
                                 return accept;
                             });
    };
    EXPECT_FALSE(fetch(serial, false));
    ASSERT_TRUE(tagsmith::test::settleMainThread());
    EXPECT_EQ(m_sent, 0);
    EXPECT_EQ(offered, QStringList{serial});

    EXPECT_TRUE(fetch(std::nullopt, true));
    EXPECT_TRUE(waitUntil([&] { return m_sent == 1; }));
    EXPECT_EQ(offered, (QStringList{serial, serial}));
}

TEST(CollectorHello, TakesExactlyTheThreeMembers) {
    const QByteArray key = QByteArray(32, 'k').toBase64();
    const QByteArray challenge = QByteArray(24, 'c').toBase64();
    const auto hello = [&](const QByteArray& members) { return parseCollectorHello("{" + members + "}"); };
    EXPECT_TRUE(hello(R"("version":2,"publicKey":")" + key + R"(","challenge":")" + challenge + "\""));
    const QList<QByteArray> refused{
        R"("version":"2","publicKey":")" + key + R"(","challenge":")" + challenge + "\"",
        R"("version":2,"publicKey":")" + QByteArray(31, 'k').toBase64() + R"(","challenge":")" + challenge + "\"",
        R"("version":2,"publicKey":")" + key + R"(","challenge":")" + QByteArray(23, 'c').toBase64() + "\"",
    };
    for (const QByteArray& members : refused)
        EXPECT_FALSE(hello(members)) << members.toStdString();
}
