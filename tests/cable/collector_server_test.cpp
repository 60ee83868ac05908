#include "cable/collector_server.h"

#include "base/main_thread.h"
#include "support/sockets.h"
#include "support/v1_peer.h"
#include "support/wait.h"

#include <gtest/gtest.h>

using namespace tagsmith::cable;
using tagsmith::test::closesWithoutData;
using tagsmith::test::V1Peer;

namespace {

const QByteArray kKey(32, 'k');
const QByteArray kReport = R"({"serial":"K7Q2XW9FJ4"})"; // the server hands bytes over; it does not judge them

// Runs the workstation's steps up to its own proof.
bool authenticate(V1Peer& peer, const QByteArray& clientKey = {}) {
    return peer.challenge() && peer.checkProof("server") && peer.prove("client", peer.sentChallenge(), clientKey);
}

} // namespace

// A pull server on every IPv6 address of this machine, reached over the loopback.
TEST(CollectorServer, ServesProvenWorkstationsOneAtATimeAndCountsOnlyTheExactAcknowledgement) {
    int sent = 0;
    const auto server = CollectorServer::create([] { return std::optional(kKey); });
    server->onSent = [&] { ++sent; };
    server->setReport(kReport);
    const std::uint16_t port = tagsmith::test::freeLoopbackPort();
    ASSERT_TRUE(server->start(port));
    const auto workstation = [&] { return V1Peer(tagsmith::test::connectTcp(QStringLiteral("::1"), port), kKey); };

    for (const QByteArray& acknowledgement : {QByteArray("RECEIVED"), QByteArray("RECEIVED\n"), QByteArray("OK")}) {
        V1Peer peer = workstation();
        EXPECT_TRUE(authenticate(peer) && peer.openSealed() == kReport && peer.sendSealed(acknowledgement));
        EXPECT_TRUE(closesWithoutData(peer.socket()));
    }
    V1Peer wrongKey = workstation();
    ASSERT_TRUE(authenticate(wrongKey, QByteArray(32, 'o')));
    EXPECT_TRUE(closesWithoutData(wrongKey.socket())) << "no report for a workstation without the key";

    V1Peer first = workstation();
    ASSERT_TRUE(first.challenge() && first.checkProof("server"));
    V1Peer second = workstation();
    ASSERT_TRUE(second.challenge());
    EXPECT_TRUE(tagsmith::test::staysQuiet(second.socket(), std::chrono::milliseconds(300))) << "waits its turn";
    first.close();
    server->setReport(std::nullopt);
    EXPECT_TRUE(second.checkProof("server") && second.prove("client", second.sentChallenge()));
    EXPECT_TRUE(closesWithoutData(second.socket())) << "no report set: nothing after the proofs";

    bool settled = false; // every onSent queued so far has run once this has
    tagsmith::base::onMain([&] { settled = true; });
    ASSERT_TRUE(tagsmith::test::waitUntil([&] { return settled; }));
    EXPECT_EQ(sent, 1);
    server->stop();
}
