#include "cable/v2_fetch.h"

#include "base/main_thread.h"
#include "cable/collector_v2.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <net/if.h>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::waitUntil;

namespace {

const QString kSerial = QStringLiteral("K7Q2XW9FJ4");

// This system's collector on the loopback, fetched from by the workstation's v2 end.
class V2FetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_collector->onSent = [this] { ++m_sent; };
        m_collector->setReport(m_report);
        m_collector->updateCableListeners({{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"}}, m_port);
    }
    void TearDown() override { m_collector->stop(); }

    // One fetch; the serials offered, answered with accept.
    bool fetch(const std::optional<QString>& serial, bool accept, QStringList* offered,
               const QString& deviceId = QStringLiteral("workstation-1")) {
        const auto socket = tagsmith::test::connectTcp(QStringLiteral("::1"), m_port, 0ms);
        return fetchV2Report(socket.get(), deviceId, serial,
                             [&](const tagsmith::report::Report& report, const QByteArray& bytes) {
                                 EXPECT_EQ(bytes, m_report);
                                 offered->append(report.serial);
                                 return accept;
                             });
    }
    // Lets every onSent scheduled so far run, so that a missing call is really missing.
    void settle() {
        bool done = false;
        tagsmith::base::onMain([&] { done = true; });
        ASSERT_TRUE(waitUntil([&] { return done; }));
    }

    const QByteArray m_report = tagsmith::test::reportFixtureBytes("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport");
    const std::uint16_t m_port = tagsmith::test::freeLoopbackPort();
    std::shared_ptr<CollectorV2> m_collector = CollectorV2::create({3000ms, 3000ms});
    int m_sent = 0;
};

TEST_F(V2FetchTest, AcknowledgesOnlyAnAcceptedReportOfTheExpectedSerial) {
    QStringList offered;
    EXPECT_FALSE(fetch(QStringLiteral("C02XK0ABJGH5"), true, &offered));
    EXPECT_FALSE(fetch(kSerial, false, &offered));
    settle();
    EXPECT_EQ(m_sent, 0);
    EXPECT_EQ(offered, QStringList{kSerial});

    EXPECT_TRUE(fetch(std::nullopt, true, &offered));
    EXPECT_TRUE(waitUntil([&] { return m_sent == 1; }));
    // The collector chose this workstation: another one is turned away.
    EXPECT_FALSE(fetch(std::nullopt, true, &offered, QStringLiteral("workstation-2")));
    EXPECT_EQ(offered, (QStringList{kSerial, kSerial}));
}

TEST(CollectorHello, TakesExactlyTheThreeMembers) {
    const QByteArray key = QByteArray(32, 'k').toBase64();
    const QByteArray challenge = QByteArray(24, 'c').toBase64();
    const auto hello = [&](const QByteArray& members) { return parseCollectorHello("{" + members + "}"); };
    EXPECT_TRUE(hello(R"("version":2,"publicKey":")" + key + R"(","challenge":")" + challenge + "\""));
    const QList<QByteArray> refused{
        R"("version":2,"publicKey":")" + key + "\"",
        R"("version":2,"publicKey":")" + key + R"(","challenge":")" + challenge + R"(","deviceId":"x")",
        R"("version":"2","publicKey":")" + key + R"(","challenge":")" + challenge + "\"",
        R"("version":2,"publicKey":")" + QByteArray(31, 'k').toBase64() + R"(","challenge":")" + challenge + "\"",
        R"("version":2,"publicKey":")" + key + R"(","challenge":")" + QByteArray(23, 'c').toBase64() + "\"",
    };
    for (const QByteArray& members : refused)
        EXPECT_FALSE(hello(members)) << members.toStdString();
}

} // namespace
