#include "cable/v1_exchange.h"

#include "base/uptime.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v1_peer.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

using namespace tagsmith::cable;
using namespace std::chrono_literals;
using tagsmith::base::OwnedFd;
using tagsmith::test::closesWithoutData;
using tagsmith::test::V1Peer;

namespace {

const QByteArray kKey(32, 'k');
const QByteArray kOtherKey(32, 'o');
const QString kSerial = QStringLiteral("K7Q2XW9FJ4");

QByteArray reportBytes(const QString& name = QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport")) {
    return tagsmith::base::readFileUpTo(tagsmith::test::reportFixture(name), 1 << 20).value();
}

// Our end of a connected pair, and the scripted peer at the other end.
std::pair<OwnedFd, V1Peer> connectedPair() {
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
        const char* name;
        QByteArray proofKey;
        QByteArray acknowledgement; // empty: the collector must not send the report at all
        bool delivered;
    } cases[] = {
        {"right", kKey, "OK:K7Q2XW9FJ4", true},           {"wrong proof", kOtherKey, {}, false},
        {"other serial", kKey, "OK:FVFDL3Q2Q6L4", false}, {"bare OK", kKey, "OK:", false},
        {"line feed", kKey, "OK:K7Q2XW9FJ4\n", false},
    };
    for (const auto& c : cases) {
        auto [collector, workstation] = connectedPair();
        auto pushed =
            std::async(std::launch::async, [&] { return pushReport(collector.get(), kKey, reportBytes(), kSerial); });
        const auto challenge = workstation.readChallenge();
        ASSERT_TRUE(challenge && workstation.prove({}, *challenge, c.proofKey)) << c.name;
        if (!c.acknowledgement.isEmpty()) {
            EXPECT_EQ(workstation.openSealed(), reportBytes()) << c.name;
            ASSERT_TRUE(workstation.sendSealed(c.acknowledgement));
        }
        EXPECT_EQ(pushed.get(), c.delivered) << c.name;
        collector.reset();
        if (c.acknowledgement.isEmpty()) {
            EXPECT_TRUE(closesWithoutData(workstation.socket())) << c.name;
        }
    }
}

TEST(V1Push, WorkstationAcknowledgesOnlyAValidReportOfTheMacThatItsWindowAccepts) {
    const struct {
        const char* name;
        QByteArray report;
        bool accepted;
        int offers;
    } cases[] = {
        {"accepted", reportBytes(), true, 1},
        {"rejected by the window", reportBytes(), false, 1},
        {"another Mac's report", reportBytes(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport")), true,
         0},
        {"invalid report", reportBytes(QStringLiteral("invalid/serial-with-hyphen.macreport")), true, 0},
    };
    for (const auto& c : cases) {
        auto [workstation, collector] = connectedPair();
        QList<QByteArray> offered;
        auto received = std::async(std::launch::async, [&] {
            return receivePush(workstation.get(), kKey, kSerial, answering(c.accepted, &offered));
        });
        ASSERT_TRUE(collector.challenge() && collector.checkProof({})) << c.name;
        ASSERT_TRUE(collector.sendSealed(c.report));
        const bool acknowledged = received.get();
        workstation.reset();
        EXPECT_EQ(offered, QList<QByteArray>(c.offers, c.report)) << c.name << ": the exact bytes, or nothing";
        EXPECT_EQ(acknowledged, c.accepted && c.offers == 1) << c.name;
        if (acknowledged) {
            EXPECT_EQ(collector.openSealed(), "OK:K7Q2XW9FJ4");
        } else {
            EXPECT_TRUE(closesWithoutData(collector.socket())) << c.name;
        }
    }
}

TEST(V1Pull, ClientProvesItselfOnlyToAProvenServerAndAcknowledgesWhatTheWindowAccepts) {
    const QByteArray report = reportBytes();
    const QByteArray sorted =
        encodeReport(tagsmith::report::validated(report).value(), tagsmith::report::JsonLayout::compactSorted);
    for (const bool serverProven : {true, false}) {
        for (const bool accepted : {true, false}) {
            auto [workstation, collector] = connectedPair();
            QList<QByteArray> offered;
            auto pulled = std::async(std::launch::async, [&] {
                return pullReport(workstation.get(), kKey, kSerial, answering(accepted, &offered));
            });
            const auto challenge = collector.readChallenge();
            ASSERT_TRUE(challenge && collector.prove("server", *challenge, serverProven ? kKey : kOtherKey));
            if (serverProven) {
                const auto proof = tagsmith::cable::readN(collector.socket(), 32);
                EXPECT_EQ(proof, tagsmith::crypto::hmacSha256(kKey, "client" + *challenge));
                ASSERT_TRUE(collector.sendSealed(report));
            }
            EXPECT_EQ(pulled.get(), serverProven && accepted);
            workstation.reset();
            EXPECT_EQ(offered, QList<QByteArray>(serverProven ? 1 : 0, sorted)) << "re-encoded with sorted keys";
            if (serverProven && accepted) {
                EXPECT_EQ(collector.openSealed(), "RECEIVED");
            } else {
                EXPECT_TRUE(closesWithoutData(collector.socket())) << "no proof, no acknowledgement";
            }
        }
    }
}

// A peer that sends one byte at a time, each well within the per-call
// time-out, is still cut off when the exchange's allowance runs out.
TEST(V1Exchange, AllowanceEndsAnExchangeHoweverSlowlyThePeerDrips) {
    auto [workstation, collector] = connectedPair();
    const double start = tagsmith::base::uptime();
    QList<QByteArray> offered;
    auto received = std::async(std::launch::async, [&] {
        return receivePush(workstation.get(), kKey, kSerial, answering(true, &offered), 400ms);
    });
    ASSERT_TRUE(collector.challenge() && collector.checkProof({}));
    const QByteArray frame = frameHeader(1000) + QByteArray(1000, 'x');
    for (qsizetype i = 0; i < frame.size() && received.wait_for(50ms) != std::future_status::ready; ++i)
        ASSERT_TRUE(tagsmith::cable::sendAll(collector.socket(), frame.mid(i, 1)));
    EXPECT_FALSE(received.get());
    EXPECT_LT(tagsmith::base::uptime() - start, 2.0) << "long before even one 3-second socket time-out";
}
