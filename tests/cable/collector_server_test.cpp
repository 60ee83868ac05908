#include "cable/collector_server.h"

#include "base/main_thread.h"
#include "support/sockets.h"
#include "support/v1_peer.h"
#include "support/wait.h"

#include <gtest/gtest.h>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::closesWithoutData;
using tagsmith::test::V1Peer;

namespace {

const QByteArray kKey(32, 'k');
const QByteArray kReport = R"({"serial":"K7Q2XW9FJ4"})"; // the server hands over bytes; it does not judge them

// A pull server on every IPv6 address of this machine, reached over the loopback.
class CollectorServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_server->onSent = [this] { ++m_sent; };
        m_server->setReport(kReport);
        ASSERT_TRUE(m_server->start(m_port));
    }
    void TearDown() override {
        m_server->stop();
        settle();
    }
    V1Peer workstation() { return V1Peer(tagsmith::test::connectTcp(QStringLiteral("::1"), m_port), kKey); }
    // Lets every onSent queued so far run, so that a missing call is really missing.
    static void settle() {
        bool done = false;
        tagsmith::base::onMain([&] { done = true; });
        ASSERT_TRUE(tagsmith::test::waitUntil([&] { return done; }));
    }

    const std::shared_ptr<CollectorServer> m_server = CollectorServer::create([] { return std::optional(kKey); });
    const std::uint16_t m_port = tagsmith::test::freeLoopbackPort();
    int m_sent = 0;
};

// Runs the workstation's steps up to the client proof.
bool authenticate(V1Peer& peer, const QByteArray& clientKey = {}) {
    return peer.challenge() && peer.checkProof("server") && peer.prove("client", peer.sentChallenge(), clientKey);
}

} // namespace

TEST_F(CollectorServerTest, HandsTheReportToAProvenWorkstationAndReportsOnlyTheExactAcknowledgement) {
    for (const QByteArray& acknowledgement : {QByteArray("RECEIVED"), QByteArray("RECEIVED\n"), QByteArray("OK")}) {
        V1Peer peer = workstation();
        ASSERT_TRUE(authenticate(peer));
        EXPECT_EQ(peer.openSealed(), kReport);
        ASSERT_TRUE(peer.sendSealed(acknowledgement));
        EXPECT_TRUE(closesWithoutData(peer.socket()));
    }
    settle();
    EXPECT_EQ(m_sent, 1);
}

TEST_F(CollectorServerTest, AWrongClientProofOrNoReportEndsTheConnectionWithNothingSent) {
    V1Peer wrongKey = workstation();
    ASSERT_TRUE(authenticate(wrongKey, QByteArray(32, 'o')));
    EXPECT_TRUE(closesWithoutData(wrongKey.socket()));

    m_server->setReport(std::nullopt);
    V1Peer early = workstation();
    ASSERT_TRUE(authenticate(early));
    EXPECT_TRUE(closesWithoutData(early.socket()));
}

TEST_F(CollectorServerTest, ASecondWorkstationWaitsUntilTheFirstIsServed) {
    V1Peer first = workstation();
    ASSERT_TRUE(first.challenge() && first.checkProof("server"));
    V1Peer second = workstation();
    ASSERT_TRUE(second.challenge());
    EXPECT_TRUE(tagsmith::test::staysQuiet(second.socket(), 300ms));
    first.close();
    EXPECT_TRUE(second.checkProof("server"));
}
