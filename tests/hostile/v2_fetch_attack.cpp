#include "base/uptime.h"
#include "cable/frames.h"
#include "cable/v2_fetch.h"
#include "cable/v2_frames.h"
#include "cable/v2_hello.h"
#include "crypto/aes_gcm.h"
#include "crypto/random.h"
#include "hostile/slack.h"
#include "support/sample_reports.h"
#include "support/sockets.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <sys/socket.h>

#include <functional>
#include <thread>

using namespace tagsmith;
using namespace std::chrono_literals;

namespace {

// Short enough to wait out in a test; the rules are the same as with the 20-second default.
constexpr std::chrono::milliseconds kAllowance{1000};
const QString kExpectedSerial = QStringLiteral("K7Q2XW9FJ4");

QByteArray frame(const QByteArray& payload) {
    return cable::frameHeader(std::uint32_t(payload.size())) + payload;
}

QByteArray helloFrom(const crypto::X25519PrivateKey& key, const QByteArray& challenge, const char* extra) {
    QJsonObject hello = QJsonDocument::fromJson(cable::collectorHello(key.publicKey(), challenge)).object();
    if (extra[0] == '-')
        hello.remove(QLatin1String(extra + 1));
    else if (extra[0] != '\0')
        hello.insert(QLatin1String(extra), 1);
    return frame(QJsonDocument(hello).toJson(QJsonDocument::Compact));
}

// A collector that says hello, takes the workstation's, and seals the report
// with the key it derived; garbled, the box no longer opens.
std::function<void(int)> collectorSealing(const QByteArray& report, bool garble) {
    return [report, garble](int socket) {
        const auto key = crypto::X25519PrivateKey::generate();
        const QByteArray challenge = crypto::randomBytes(cable::kChallengeBytes).value();
        ASSERT_TRUE(cable::sendAll(socket, helloFrom(*key, challenge, "")));
        const auto answer = cable::readFrame(socket);
        const auto hello = answer ? cable::parseWorkstationHello(*answer) : std::nullopt;
        ASSERT_TRUE(hello);
        QByteArray box = crypto::seal(*cable::exchangeKey(*key, hello->publicKey, challenge), report).value();
        if (garble)
            box[box.size() - 1] = char(box.back() ^ 1);
        ASSERT_TRUE(cable::sendAll(socket, frame(box)));
    };
}

struct HostileCollector {
    const char* name;
    std::function<void(int socket)> act;
};

void drip(int socket, const QByteArray& bytes) {
    for (char byte : bytes) {
        if (!cable::sendAll(socket, QByteArray(1, byte)))
            return;
        std::this_thread::sleep_for(200ms); // the collector's pace, not a wait of the test
    }
}

const auto freshKey = [] { return *crypto::X25519PrivateKey::generate(); };
const QByteArray kChallenge(cable::kChallengeBytes, 'c');

} // namespace

// Whatever the collector does, the workstation ends the exchange within its
// allowance, offers nothing and acknowledges nothing.
TEST(V2FetchAttack, ClosedWithinLimitsWithNothingOfferedOrAcknowledged) {
    const HostileCollector collectors[] = {
        {"stall", [](int) {}},
        {"drip", [](int socket) { drip(socket, helloFrom(freshKey(), kChallenge, "")); }},
        {"oversize hello", [](int socket) { (void)cable::sendAll(socket, cable::frameHeader(12'001) + "{"); }},
        {"oversize report",
         [](int socket) {
             (void)cable::sendAll(socket, helloFrom(freshKey(), kChallenge, ""));
             (void)cable::readFrame(socket);
             (void)cable::sendAll(socket, cable::frameHeader(1'000'000));
         }},
        {"hello with an extra key",
         [](int socket) { (void)cable::sendAll(socket, helloFrom(freshKey(), kChallenge, "deviceId")); }},
        {"hello without challenge",
         [](int socket) { (void)cable::sendAll(socket, helloFrom(freshKey(), kChallenge, "-challenge")); }},
        {"box that does not open",
         collectorSealing(test::reportFixtureBytes("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"), true)},
        {"report for another serial",
         collectorSealing(test::reportFixtureBytes("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"), false)},
    };
    for (const HostileCollector& hostile : collectors) {
        SCOPED_TRACE(hostile.name);
        auto [workstation, collector] = test::socketPair();
        cable::setSocketTimeouts(collector.get(), 5s);
        std::thread attacker([&, socket = collector.get()] { hostile.act(socket); });
        int offers = 0;
        const double start = base::uptime();
        const bool acknowledged = cable::fetchV2Report(
            workstation.get(), QStringLiteral("workstation-1"), kExpectedSerial,
            [&](const report::Report&, const QByteArray&) {
                ++offers;
                return true;
            },
            kAllowance);
        const double elapsed = base::uptime() - start;
        ::shutdown(workstation.get(), SHUT_RDWR); // also ends a dripping attacker
        attacker.join();
        EXPECT_FALSE(acknowledged);
        EXPECT_EQ(offers, 0);
        EXPECT_LT(elapsed, std::chrono::duration<double>(kAllowance + test::kSlack).count());
        EXPECT_TRUE(test::closesWithoutData(collector.get())) << "the workstation sent more after its hello";
    }
}
