#include "cable/v1_exchange.h"

#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v1_peer.h"

#include <gtest/gtest.h>

#include <future>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::test::V1Peer;

namespace {

const QByteArray kKey(32, 'k');
const QString kSerial = QStringLiteral("K7Q2XW9FJ4");
const QByteArray kReport =
    tagsmith::test::reportFixtureBytes(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));

// Our end of a socket pair, and the scripted peer at the other end.
std::pair<tagsmith::base::OwnedFd, V1Peer> connectedPair() {
    auto [ours, theirs] = tagsmith::test::socketPair();
    setTimeout(ours.get());
    setTimeout(theirs.get());
    return {std::move(ours), V1Peer(std::move(theirs), kKey)};
}

ReportOffer answering(bool accepted, QList<QByteArray>* offered) {
    return [=](const tagsmith::report::Report&, const QByteArray& bytes) {
        offered->append(bytes);
        return accepted;
    };
}

} // namespace

TEST(V1Push, CollectorCountsOnlyTheExactAcknowledgementOfAProvenWorkstation) {
    const struct {
        QByteArray proofKey;
        QByteArray acknowledgement; // none: a workstation without the key must not even get the report
        bool delivered;
    } cases[] = {
        {kKey, "OK:K7Q2XW9FJ4", true}, {QByteArray(32, 'o'), {}, false}, {kKey, "OK:FVFDL3Q2Q6L4", false},
        {kKey, "OK:", false},          {kKey, "OK:K7Q2XW9FJ4\n", false},
    };
    for (const auto& c : cases) {
        auto [collector, workstation] = connectedPair();
        auto pushed =
            std::async(std::launch::async, [&] { return pushReport(collector.get(), kKey, kReport, kSerial); });
        const auto challenge = workstation.readChallenge();
        ASSERT_TRUE(challenge && workstation.prove({}, *challenge, c.proofKey));
        EXPECT_TRUE(c.acknowledgement.isEmpty() ||
                    (workstation.openSealed() == kReport && workstation.sendSealed(c.acknowledgement)));
        EXPECT_EQ(pushed.get(), c.delivered) << c.acknowledgement.toStdString();
        collector.reset();
        EXPECT_TRUE(tagsmith::test::closesWithoutData(workstation.socket())) << "nothing more, whatever happened";
    }
}

TEST(V1Push, WorkstationAcknowledgesOnlyAValidReportOfTheMacThatItsWindowAccepts) {
    const struct {
        QByteArray report;
        bool accepted;
        bool offered;
    } cases[] = {
        {kReport, true, true},
        {kReport, false, true},
        {tagsmith::test::reportFixtureBytes(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport")), true,
         false},
        {tagsmith::test::reportFixtureBytes(QStringLiteral("invalid/serial-with-hyphen.macreport")), true, false},
    };
    for (const auto& c : cases) {
        auto [workstation, collector] = connectedPair();
        QList<QByteArray> offered;
        auto received = std::async(std::launch::async, [&] {
            return receivePush(workstation.get(), kKey, kSerial, answering(c.accepted, &offered));
        });
        ASSERT_TRUE(collector.challenge() && collector.checkProof({}) && collector.sendSealed(c.report));
        const bool acknowledged = received.get();
        workstation.reset();
        EXPECT_EQ(offered, QList<QByteArray>(c.offered ? 1 : 0, c.report)) << "the exact bytes, or nothing";
        EXPECT_EQ(acknowledged, c.accepted && c.offered);
        EXPECT_EQ(collector.openSealed(), acknowledged ? std::optional<QByteArray>("OK:K7Q2XW9FJ4") : std::nullopt);
    }
}

// The proven pull, accepted or not, is the receiver's test against the real pull
// server across the namespace link.
TEST(V1Pull, ClientNeverProvesItselfToAnUnprovenServer) {
    auto [workstation, collector] = connectedPair();
    QList<QByteArray> offered;
    auto pulled = std::async(std::launch::async,
                             [&] { return pullReport(workstation.get(), kKey, kSerial, answering(true, &offered)); });
    const auto challenge = collector.readChallenge();
    ASSERT_TRUE(challenge && collector.prove("server", *challenge, QByteArray(32, 'o')));
    EXPECT_FALSE(pulled.get());
    workstation.reset();
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_TRUE(tagsmith::test::closesWithoutData(collector.socket())) << "no proof, no acknowledgement";
}
