#include "hostile/slack.h"
#include "relay/cloud_relay.h"
#include "support/process_usage.h"
#include "support/relay_test_server.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using namespace tagsmith;
using namespace std::chrono_literals;
using relay::CloudRelay;
using test::HttpReply;
using test::RelayTestServer;

namespace {

const QString kCode = QStringLiteral("48213");
const QByteArray kReport = R"({"schemaVersion":1,"serial":"C02XK0ABJGH5","name":"MacBook Pro"})";
const QString kNotReady = QStringLiteral("中转服务尚未就绪，请确认两端使用支持接收码的新版");
const QString kConnectionFailed = QStringLiteral("中转服务连接失败");
const QString kTimedOut = QStringLiteral("请求超时。（网络错误 28）");
using test::kSlack;

// Short limits so that a test can wait them out; the client applies them as it does the defaults.
relay::RelayTiming timing() {
    relay::RelayTiming timing;
    timing.retryDelay = 100ms;
    timing.idleTimeout = 1000ms;
    timing.attemptTimeout = 2000ms;
    timing.requestTimeout = 4000ms;
    return timing;
}

struct Sent {
    std::optional<Result<void>> result;
    qint64 milliseconds = 0;

    QString failure() const { return result && !*result ? result->error().description : QString(); }
};

Sent send(RelayTestServer& server) {
    CloudRelay cloudRelay(relay::RelayConfiguration::fromJson(server.configuration()).value(), timing());
    auto sent = std::make_shared<Sent>();
    QElapsedTimer clock;
    clock.start();
    const auto task = cloudRelay.send(
        kCode, kReport, [](const QString&) {},
        [sent, clock](const Result<void>& result) {
            sent->result = result;
            sent->milliseconds = clock.elapsed();
        });
    EXPECT_TRUE(test::waitUntil([&] { return sent->result.has_value(); }, 30s));
    return *sent;
}

HttpReply streamed(std::function<std::optional<QByteArray>()> pieces, std::chrono::milliseconds delay) {
    HttpReply reply;
    reply.pieces = std::move(pieces);
    reply.pieceDelay = delay;
    return reply;
}

HttpReply redirect(int status, const QByteArray& body) {
    return {status, body, {"Location: /v1/relay/moved"}, {}, false};
}

struct HostileRelay {
    const char* name;
    HttpReply resolveAnswer;
    QString failure; // empty: any failure
};

} // namespace

TEST(RelayAttack, HostileAnswersEndTheSendWithinItsLimitsAndLeaveNothingBehind) {
    const auto honestSend = [] {
        RelayTestServer server;
        server.registerCode(kCode);
        return send(server);
    };
    ASSERT_TRUE(*honestSend().result); // whatever libcurl and OpenSSL open once is open from here on
    const int descriptorsBefore = test::openDescriptorCount();
    const qint64 memoryBefore = test::residentKilobytes();

    const HostileRelay relays[] = {
        {"answers after the idle time", {200, "{}", {}, 3s, false}, kTimedOut},
        {"drips one byte a second", streamed([] { return QByteArray("{"); }, 1s), {}},
        {"endless body", streamed([] { return QByteArray(4096, ' '); }, 0ms), kNotReady},
        {"hangs up inside the body",
         streamed([n = 0]() mutable { return n++ == 0 ? std::optional(QByteArray(R"({"ticket":")")) : std::nullopt; },
                  0ms),
         kNotReady},
        {"redirects", redirect(302, "{}"), kConnectionFailed},
        {"redirects with a ticket", redirect(307, R"({"ticket":"a.b"})"), kConnectionFailed},
    };
    for (const HostileRelay& hostile : relays) {
        RelayTestServer server;
        server.registerCode(kCode);
        server.overrideEndpoint(QStringLiteral("resolve"), [&](const QJsonObject&) { return hostile.resolveAnswer; });
        const Sent sent = send(server);
        ASSERT_TRUE(sent.result) << hostile.name;
        EXPECT_FALSE(*sent.result) << hostile.name;
        if (!hostile.failure.isEmpty()) {
            EXPECT_EQ(sent.failure(), hostile.failure) << hostile.name;
        }
        EXPECT_LE(sent.milliseconds, (timing().requestTimeout + kSlack).count()) << hostile.name;
        EXPECT_EQ(server.requestCount(QStringLiteral("moved")), 0) << hostile.name;
        EXPECT_EQ(server.requestCount(QStringLiteral("submit")), 0) << hostile.name;
    }

    EXPECT_TRUE(test::waitUntil([&] { return test::openDescriptorCount() <= descriptorsBefore; }))
        << test::openDescriptorCount() << " descriptors open, " << descriptorsBefore << " before";
    EXPECT_LT(test::residentKilobytes() - memoryBefore, 16 * 1024) << "KiB grown";
    EXPECT_TRUE(*honestSend().result);
}
