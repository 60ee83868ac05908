#include "base/main_thread.h"
#include "cable/collector_server.h"
#include "cable/frames.h"
#include "cable/receiver.h"
#include "cable/v1_sockets.h"
#include "crypto/hmac.h"
#include "hostile/listener_attack.h"
#include "support/paths.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v1_peer.h"
#include "support/wait.h"

#include <QTemporaryDir>

#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <thread>

using namespace tagsmith;
using namespace std::chrono_literals;
using cable::AttachedMac;
using test::expectEndedAtOnce;
using test::kSlack;
using test::PeerCrowd;
using test::PeerScript;
using test::V1Peer;

namespace {

const QByteArray kKey(32, 'k');
const QString kSerial = QStringLiteral("K7Q2XW9FJ4");
constexpr std::chrono::milliseconds kAllowance = 1000ms;
// A silent peer costs one socket time-out of 3 seconds, which the allowance cannot cut short.
constexpr std::chrono::milliseconds kStallBound = kAllowance + cable::kV1SocketTimeout + kSlack;
const QByteArray kChallenge(cable::kChallengeLength, 'c');

QByteArray sampleReport() {
    return test::reportFixtureBytes(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));
}

QByteArray sealedFrame(const QByteArray& plaintext) {
    const QByteArray box = *crypto::seal(kKey, plaintext);
    return cable::frameHeader(std::uint32_t(box.size())) + box;
}

// Frames that the other end must refuse as soon as it has read them.
QList<std::pair<const char*, QByteArray>> malformedFrames() {
    return {{"zero length", cable::frameHeader(0)},
            {"over the frame limit", cable::frameHeader(1'000'000)},
            {"too short for a sealed box", cable::frameHeader(27) + QByteArray(27, 'x')},
            {"sealed under another key", cable::frameHeader(36) + QByteArray(36, 'x')}};
}

// Stallers end within the bound; a hundred peers at once still get through, one at a time.
void expectStallersEndedInTime(PeerCrowd stallers) {
    stallers.run(2 * kStallBound);
    EXPECT_EQ(stallers.endedCount(), stallers.size());
    EXPECT_LE(stallers.mostServedAtOnce(), 1);
    EXPECT_LE(stallers.longestService(), kStallBound);
}
void expectServedOneAtATime(PeerCrowd hundred) {
    hundred.run(4s);
    EXPECT_GE(hundred.servedCount(), 4);
    EXPECT_LE(hundred.mostServedAtOnce(), 1);
}

// Sends one byte a second, reading whatever the receiver sends meanwhile,
// until the receiver hangs up.
void dripOneByteASecond(int connection, const std::stop_token& stop) {
    char buffer[64];
    pollfd peer{connection, POLLIN, 0};
    while (!stop.stop_requested() && ::send(connection, "p", 1, MSG_NOSIGNAL) == 1) {
        const auto next = std::chrono::steady_clock::now() + 1s;
        for (auto left = 1000ms; left > 0ms;
             left = std::chrono::duration_cast<std::chrono::milliseconds>(next - std::chrono::steady_clock::now())) {
            if (::poll(&peer, 1, int(left.count())) == 1 && ::recv(connection, buffer, sizeof buffer, 0) <= 0)
                return;
        }
    }
}

// The collector's pull server: every address, one workstation at a time.
class PullServerAttack : public test::ListenerAttack {
protected:
    void SetUp() override {
        ListenerAttack::SetUp();
        if (IsSkipped())
            return;
        const auto scope = collectorSide();
        m_server = cable::CollectorServer::create([] { return std::optional(kKey); }, kAllowance);
        m_server->onSent = [sent = m_sent] { ++*sent; };
        m_server->setReport(sampleReport());
        ASSERT_TRUE(m_server->start(port()));
    }
    void TearDown() override {
        if (m_server)
            m_server->stop();
        m_server.reset();
        ListenerAttack::TearDown();
    }

    std::uint16_t port() const { return namespaced() ? cable::kPullPort : m_loopbackPort; }
    PeerCrowd crowd(const QList<PeerScript>& scripts) const { return crowdAgainstCollector(port(), scripts); }

    // A workstation with the key gets the report, connecting again while the server is busy.
    void expectHonestPullServed() {
        const auto scope = workstationSide();
        const auto pulled = [&] {
            V1Peer peer(test::connectTcp(collectorAddress(), port()), kKey);
            return peer.challenge() && peer.checkProof("server") && peer.prove("client", peer.sentChallenge()) &&
                   peer.openSealed() == sampleReport() && peer.sendSealed("RECEIVED");
        };
        EXPECT_TRUE(test::waitUntil(pulled, 15s));
        EXPECT_TRUE(test::waitUntil([&] { return *m_sent == 1; }));
    }

    const std::uint16_t m_loopbackPort = test::freeLoopbackPort();
    std::shared_ptr<cable::CollectorServer> m_server;
    std::shared_ptr<int> m_sent = std::make_shared<int>(0); // outlives an onSent still queued
};

// The workstation's push listener, on its link-local address of the cable:
// only across the namespace link, where that address exists.
class PushListenerAttack : public test::ListenerAttack {
protected:
    void SetUp() override {
        ListenerAttack::SetUp();
        if (IsSkipped())
            return;
        start(setup(QStringLiteral("/bin/true"))); // no neighbours: nothing to pull
    }
    void TearDown() override {
        if (m_receiver) {
            m_receiver->stop();
            const std::weak_ptr<cable::Receiver> stopped = std::exchange(m_receiver, nullptr);
            EXPECT_TRUE(test::waitUntil([&] { return stopped.expired(); }));
        }
        ListenerAttack::TearDown();
    }

    // The Mac on the cable is the collector's end of the veth link.
    static cable::Receiver::Setup setup(const QString& ndp) {
        cable::Receiver::Setup setup;
        setup.findMac = [] { return AttachedMac{"en10", "fe80::2", kSerial}; };
        setup.ownAddresses = [] { return QList<cable::InterfaceAddress>{{"en10", "fe80::2"}}; };
        setup.ndp = ndp;
        setup.key = [] { return std::optional(kKey); };
        setup.interval = 200ms;
        setup.allowance = kAllowance;
        return setup;
    }

    void start(const cable::Receiver::Setup& setup) {
        if (m_receiver)
            m_receiver->stop();
        *m_listening = false;
        const auto scope = workstationSide(); // the receiver's threads are born in its namespace
        m_receiver = cable::Receiver::create(setup);
        m_receiver->state = [listening = m_listening](const QString& text) {
            *listening = text == cable::Receiver::connectedText(kSerial);
        };
        m_receiver->update = [accepted = m_accepted](const report::Report&, const QByteArray&) {
            ++*accepted;
            return true;
        };
        m_receiver->start();
        ASSERT_TRUE(test::waitUntil([&] { return m_listening->load(); }));
    }

    PeerCrowd crowd(const QList<PeerScript>& scripts) const {
        return crowdAgainstWorkstation(cable::kPushPort, scripts);
    }

    // A collector with the key still has its report acknowledged. The question
    // to the window needs this thread's event loop, so the push runs on its own.
    void expectHonestPushServed() {
        std::atomic<bool> acknowledged = false;
        std::atomic<bool> done = false;
        std::jthread collector([&] {
            const auto scope = collectorSide();
            for (int attempt = 0; attempt < 10 && !acknowledged; ++attempt) {
                V1Peer peer(test::connectTcp(workstationAddress(), cable::kPushPort), kKey);
                acknowledged = peer.challenge() && peer.checkProof({}) && peer.sendSealed(sampleReport()) &&
                               peer.openSealed() == "OK:" + kSerial.toUtf8();
            }
            done = true;
        });
        EXPECT_TRUE(test::waitUntil([&] { return done.load(); }, 60s));
        EXPECT_TRUE(acknowledged);
    }

    QTemporaryDir m_tools; // outlives the receiver, which may run a tool until it has stopped
    std::shared_ptr<cable::Receiver> m_receiver;
    std::shared_ptr<std::atomic<bool>> m_listening = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<int>> m_accepted = std::make_shared<std::atomic<int>>(0);
};

} // namespace

TEST_P(PullServerAttack, StallingAndCrowdingWorkstationsAreServedOneAtATimeWithinTheAllowance) {
    expectStallersEndedInTime(crowd({
        {.first = kChallenge},                                                     // never proves itself
        {.drip = QByteArray(32, 'p'), .dripInterval = 100ms, .first = kChallenge}, // drips its proof
    }));
    expectServedOneAtATime(crowd(QList<PeerScript>(100, {.first = kChallenge + QByteArray(32, '\0')})));
    expectHonestPullServed();
}

TEST_P(PullServerAttack, MalformedAcknowledgementsEndTheExchangeAtOnce) {
    const QByteArray proven = kChallenge + crypto::hmacSha256(kKey, "client" + kChallenge);
    auto attacks = malformedFrames();
    attacks.append({"another word", sealedFrame("RECEIVED\n")});
    attacks.append({"the push's word", sealedFrame("OK")});
    for (const auto& [name, acknowledgement] : attacks)
        expectEndedAtOnce(crowd({{.opening = acknowledgement, .first = proven}}), kStallBound, name);
    EXPECT_EQ(*m_sent, 0);
    expectHonestPullServed();
}

TEST_P(PullServerAttack, NothingIsHandedToAWorkstationWithoutAReport) {
    {
        const auto scope = workstationSide();
        m_server->setReport(std::nullopt);
        V1Peer early(test::connectTcp(collectorAddress(), port()), kKey);
        ASSERT_TRUE(early.challenge() && early.checkProof("server") && early.prove("client", early.sentChallenge()));
        EXPECT_TRUE(test::closesWithoutData(early.socket())) << "no report set: nothing after the proofs";
    }
    m_server->setReport(sampleReport());
    expectHonestPullServed();
}

TEST_P(PushListenerAttack, StallingAndCrowdingCollectorsAreServedOneAtATimeWithinTheAllowance) {
    expectStallersEndedInTime(crowd({
        {.first = kChallenge},                                                                       // sends no report
        {.opening = cable::frameHeader(5'000), .drip = QByteArray(5'000, 'r'), .first = kChallenge}, // drips it
    }));
    expectServedOneAtATime(crowd(QList<PeerScript>(100, {.first = kChallenge + cable::frameHeader(0)})));
    EXPECT_EQ(*m_accepted, 0);
    expectHonestPushServed();
    EXPECT_EQ(*m_accepted, 1);
}

TEST_P(PushListenerAttack, MalformedReportsEndTheExchangeAtOnce) {
    for (const auto& [name, report] : malformedFrames())
        expectEndedAtOnce(crowd({{.first = kChallenge + report}}), kStallBound, name);
    EXPECT_EQ(*m_accepted, 0);
}

// A pull server that answers one byte a second, within each call's time-out:
// every poll still ends with its allowance, so the cycle goes on and the push
// listener keeps serving.
TEST_P(PushListenerAttack, APullServerDrippingOneByteASecondHoldsNoPollPastItsAllowance) {
    std::atomic<int> polls = 0;
    std::atomic<int> overlong = 0;
    std::jthread dripper;
    {
        const auto scope = collectorSide();
        dripper = std::jthread(
            [&, listener = cable::listenOn(*cable::socketAddress("::", "lo", cable::kPullPort))](std::stop_token stop) {
                for (pollfd waiting{listener.get(), POLLIN, 0}; !stop.stop_requested();) {
                    if (::poll(&waiting, 1, 50) != 1)
                        continue;
                    const base::OwnedFd connection(::accept(listener.get(), nullptr, nullptr));
                    ++polls;
                    const auto started = std::chrono::steady_clock::now();
                    dripOneByteASecond(connection.get(), stop);
                    overlong += std::chrono::steady_clock::now() - started > kAllowance + 1s + kSlack;
                }
            });
    }
    start(setup(test::writeExecutable(m_tools.filePath(QStringLiteral("ndp")),
                                      "#!/bin/sh\necho 'fe80::1%en10 16:a2:53:71:9f:2c en10 permanent R'\n")));
    EXPECT_TRUE(test::waitUntil([&] { return polls >= 3; }, 3 * (kAllowance + 1s + kSlack)));
    expectHonestPushServed();
    dripper.request_stop();
    dripper.join();
    EXPECT_EQ(overlong, 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, PullServerAttack, ::testing::Values(false, true), test::transportName);
INSTANTIATE_TEST_SUITE_P(Transports, PushListenerAttack, ::testing::Values(true), test::transportName);
