#include "relay/cloud_relay.h"

#include "base/main_thread.h"
#include "support/relay_test_server.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QThread>

#include <atomic>

using namespace tagsmith;
using namespace std::chrono_literals;
using relay::CloudRelay;
using relay::RelayConfiguration;
using test::HttpReply;
using test::RelayTestServer;

namespace {

const QString kCode = QStringLiteral("48213");
const QByteArray kReport = R"({"schemaVersion":1,"serial":"C02XK0ABJGH5","name":"MacBook Pro","cpu":8})";
const QString kNotReady = QStringLiteral("中转服务尚未就绪，请确认两端使用支持接收码的新版");
const QString kConnectionFailed = QStringLiteral("中转服务连接失败");
const QStringList kAllProgress{
    QStringLiteral("正在查找接收工作端…"),
    QStringLiteral("正在加密发送配置…"),
    QStringLiteral("已发送，等待工作端保存回执…"),
    QStringLiteral("✓ 工作端已保存配置\n出签按工作端当前打印设置执行"),
};

relay::RelayTiming fastTiming() {
    relay::RelayTiming timing;
    timing.retryDelay = 10ms;
    timing.pollInterval = 5ms;
    return timing;
}

// What a send delivered to its owner, all of it on the main thread.
struct Outcome {
    QStringList progress;
    std::optional<Result<void>> result;
    bool offMainThread = false;
    std::shared_ptr<relay::RelayTask> task;

    QString failure() const { return result && !*result ? result->error().description : QString(); }
};

std::shared_ptr<Outcome> start(CloudRelay& cloudRelay, const QString& code = kCode) {
    auto outcome = std::make_shared<Outcome>();
    outcome->task = cloudRelay.send(
        code, kReport,
        [outcome](const QString& text) {
            outcome->offMainThread |= !base::isMainThread();
            outcome->progress.append(text);
        },
        [outcome](const Result<void>& result) {
            outcome->offMainThread |= !base::isMainThread();
            outcome->result = result;
        });
    return outcome;
}

std::shared_ptr<Outcome> sendAndWait(RelayTestServer& server, const QString& code = kCode,
                                     relay::RelayTiming timing = fastTiming()) {
    CloudRelay cloudRelay(RelayConfiguration::fromJson(server.configuration()).value(), std::move(timing));
    auto outcome = start(cloudRelay, code);
    EXPECT_TRUE(test::waitUntil([&] { return outcome->result.has_value(); }, 10s));
    EXPECT_FALSE(outcome->offMainThread);
    return outcome;
}

HttpReply raw(int status, const QByteArray& body, QList<QByteArray> headers = {}) {
    return {status, body, std::move(headers), {}, false};
}

HttpReply ticketAnswer(qsizetype size) {
    QByteArray body = R"({"ticket":"a.b"})";
    body.insert(1, QByteArray(size - body.size(), ' '));
    return raw(200, body);
}

// The endpoint answers only after every time limit a test sets.
void answerLate(RelayTestServer& server, const QString& endpoint) {
    server.overrideEndpoint(endpoint, [](const QJsonObject&) {
        return std::optional(HttpReply{200, "{}", {}, 20s, false});
    });
}

struct ScriptedResolve {
    const char* name;
    HttpReply reply;
    QString failure;
};

} // namespace

TEST(CloudRelay, DeliversTheReportThatTheWorkstationOpens) {
    RelayTestServer server;
    server.registerCode(kCode);
    server.answerStatus({QStringLiteral("pending"), QStringLiteral("pending"), QStringLiteral("delivered")});
    const auto outcome = sendAndWait(server);
    ASSERT_TRUE(outcome->result && *outcome->result) << outcome->failure().toStdString();
    EXPECT_EQ(outcome->progress, kAllProgress);
    EXPECT_EQ(server.openedReports(), QList<QByteArray>{kReport});
    EXPECT_EQ(server.requestCount(QStringLiteral("status")), 3);
}

TEST(CloudRelay, RefusesMalformedCodesBeforeAnyTraffic) {
    RelayTestServer server;
    server.registerCode(QStringLiteral("10000"));
    server.registerCode(QStringLiteral("99999"));
    for (const QString& code : {QStringLiteral("01234"), QStringLiteral("1234"), QStringLiteral("123456"),
                                QStringLiteral("12a45"), QStringLiteral("12345\n"), QStringLiteral("１２３４５")}) {
        const auto outcome = sendAndWait(server, code);
        EXPECT_EQ(outcome->failure(), QStringLiteral("请输入工作端显示的 5 位数字接收码")) << code.toStdString();
        EXPECT_TRUE(outcome->progress.isEmpty());
    }
    EXPECT_EQ(server.requestCount(QStringLiteral("resolve")), 0);
    for (const QString& code : {QStringLiteral("10000"), QStringLiteral("99999")})
        EXPECT_TRUE(*sendAndWait(server, code)->result) << code.toStdString();
}

TEST(CloudRelay, ResolveAnswersDecideTheFailureText) {
    const QList<ScriptedResolve> cases{
        {"404 with error", raw(404, R"({"error":"接收码不存在或已过期"})"), QStringLiteral("接收码不存在或已过期")},
        {"500 with empty body", raw(500, {}), kNotReady},
        {"502 without error", raw(502, R"({"detail":"upstream"})"), kConnectionFailed},
        {"503 with blank error", raw(503, R"({"error":"  "})"), kConnectionFailed},
        {"403 with error not text", raw(403, R"({"error":7})"), kConnectionFailed},
        {"200 with array", raw(200, R"([{"ticket":"a.b"}])"), kNotReady},
        {"200 without ticket", raw(200, R"({"tickets":"a.b"})"), QStringLiteral("未收到接收凭证")},
        {"200 one byte over 16384", ticketAnswer(16385), kNotReady},
        {"200 of exactly 16384", ticketAnswer(16384), QStringLiteral("接收凭证编码无效")},
        {"redirect", raw(307, "{}", {"Location: /v1/relay/moved"}), kConnectionFailed},
    };
    for (const ScriptedResolve& entry : cases) {
        RelayTestServer server;
        server.overrideEndpoint(QStringLiteral("resolve"), [&](const QJsonObject&) { return entry.reply; });
        EXPECT_EQ(sendAndWait(server)->failure(), entry.failure) << entry.name;
        // The relay's own answers are final: asking again would get the same.
        EXPECT_EQ(server.requestCount(QStringLiteral("resolve")), 1) << entry.name;
        EXPECT_EQ(server.requestCount(QStringLiteral("moved")), 0) << entry.name;
        EXPECT_EQ(server.requestCount(QStringLiteral("submit")), 0) << entry.name;
    }
}

TEST(CloudRelay, TransportFailuresAreTriedThreeTimes) {
    RelayTestServer server;
    server.registerCode(kCode);
    std::atomic<int> hangUps = 2;
    server.overrideEndpoint(QStringLiteral("submit"), [&](const QJsonObject&) -> std::optional<HttpReply> {
        if (hangUps-- > 0)
            return HttpReply{0, {}, {}, {}, true};
        return std::nullopt;
    });
    const auto recovered = sendAndWait(server);
    EXPECT_TRUE(*recovered->result) << recovered->failure().toStdString();
    EXPECT_EQ(server.requestCount(QStringLiteral("submit")), 3);
    EXPECT_EQ(server.openedReports().size(), 1);

    hangUps = 3;
    EXPECT_EQ(sendAndWait(server)->failure(), QStringLiteral("网络连接已中断。（网络错误 52）"));
    EXPECT_EQ(server.requestCount(QStringLiteral("submit")), 6);
}

TEST(CloudRelay, EachAttemptEndsAtItsTimeLimit) {
    relay::RelayTiming timing = fastTiming();
    timing.attemptTimeout = 150ms;
    RelayTestServer slow;
    slow.overrideEndpoint(QStringLiteral("resolve"), [](const QJsonObject&) {
        return std::optional(HttpReply{200, "{}", {}, 5s, false});
    });
    EXPECT_EQ(sendAndWait(slow, kCode, timing)->failure(), QStringLiteral("请求超时。（网络错误 28）"));
    EXPECT_EQ(slow.requestCount(QStringLiteral("resolve")), 3);
}

TEST(CloudRelay, PendingEndsAfter75SecondsFromTheFirstAnswer) {
    RelayTestServer server;
    server.registerCode(kCode);
    server.answerStatus({QStringLiteral("pending")});
    auto now = std::make_shared<std::atomic<double>>(1000);
    relay::RelayTiming timing = fastTiming();
    timing.clock = [now] { return now->load(); };
    server.overrideEndpoint(QStringLiteral("status"), [now](const QJsonObject&) {
        *now = *now + 25; // each answer arrives 25 s after the one before
        return std::nullopt;
    });
    const auto outcome = sendAndWait(server, kCode, timing);
    EXPECT_EQ(outcome->failure(), QStringLiteral("暂未确认工作端保存，请查看工作端记录，保持联网后可重试"));
    // Answers at 0, 25, 50 and 75 s after the first are still waited on; 100 s is not.
    EXPECT_EQ(server.requestCount(QStringLiteral("status")), 5);
    EXPECT_EQ(outcome->progress, kAllProgress.first(3));
}

TEST(CloudRelay, AnyOtherStatusEndsAtOnce) {
    for (const QByteArray& answer : {QByteArray(R"({"status":"Delivered"})"), QByteArray(R"({"status":1})")}) {
        RelayTestServer server;
        server.registerCode(kCode);
        server.overrideEndpoint(QStringLiteral("status"), [&](const QJsonObject&) { return raw(200, answer); });
        EXPECT_EQ(sendAndWait(server)->failure(),
                  QStringLiteral("工作端未接受或未及时保存报告，请保持工作端打开后重试"))
            << answer.toStdString();
        EXPECT_EQ(server.requestCount(QStringLiteral("status")), 1);
    }
}

// Closing cancels every send in flight; the request ends at once, not at its
// time limit, and the owner hears nothing more from it.
TEST(CloudRelay, CloseStopsTheRequestAtOnceAndRefusesNewSends) {
    RelayTestServer server;
    server.registerCode(kCode);
    answerLate(server, QStringLiteral("submit"));
    CloudRelay cloudRelay(RelayConfiguration::fromJson(server.configuration()).value(), fastTiming());
    const auto running = start(cloudRelay);
    ASSERT_TRUE(test::waitUntil([&] { return server.requestCount(QStringLiteral("submit")) == 1; }));
    const QStringList progressAtClose = running->progress;
    QElapsedTimer timer;
    timer.start();
    cloudRelay.close();
    ASSERT_TRUE(running->task->waitUntilEnded(2s));
    EXPECT_LT(timer.elapsed(), 500);
    const auto afterClose = start(cloudRelay);
    ASSERT_TRUE(test::waitUntil([&] { return afterClose->result.has_value(); }));
    EXPECT_EQ(afterClose->failure(), QStringLiteral("已取消"));
    EXPECT_EQ(running->progress, progressAtClose);
    EXPECT_FALSE(running->result.has_value());
    EXPECT_EQ(server.requestCount(QStringLiteral("submit")), 1);
}

// An owner may keep its task while the callbacks hold the owner's state; once
// the send has ended, or at once when it is cancelled, the task must let go of
// them, or the two would keep each other alive for good. The first progress
// text is queued for the main thread before the resolve request goes out; a
// cancellation before the main thread gets to it drops it.
TEST(CloudRelay, AnEndedOrCancelledSendLetsGoOfItsCallbacksAndIsHeardNoMore) {
    QStringList heard;
    const auto sendHoldingState = [&heard](CloudRelay& cloudRelay, std::weak_ptr<bool>& watched) {
        const auto ownerState = std::make_shared<bool>(false);
        watched = ownerState;
        return cloudRelay.send(
            kCode, kReport, [ownerState, &heard](const QString& text) { heard.append(text); },
            [ownerState, &heard](const Result<void>&) { heard.append(QStringLiteral("ended")); });
    };
    RelayTestServer server;
    server.registerCode(kCode);
    CloudRelay cloudRelay(RelayConfiguration::fromJson(server.configuration()).value(), fastTiming());
    std::weak_ptr<bool> watched;
    const auto ended = sendHoldingState(cloudRelay, watched); // kept, as an owner would keep it
    EXPECT_TRUE(test::waitUntil([&] { return watched.expired(); }, 10s));
    EXPECT_EQ(heard, kAllProgress + QStringList{QStringLiteral("ended")});

    heard.clear();
    RelayTestServer slow;
    answerLate(slow, QStringLiteral("resolve"));
    CloudRelay slowRelay(RelayConfiguration::fromJson(slow.configuration()).value(), fastTiming());
    const auto cancelled = sendHoldingState(slowRelay, watched);
    const QDeadlineTimer deadline(5s);
    while (slow.requestCount(QStringLiteral("resolve")) == 0 && !deadline.hasExpired())
        QThread::msleep(1); // without running the event loop, so the first text stays queued
    cancelled->cancel();
    EXPECT_TRUE(watched.expired());
    ASSERT_TRUE(cancelled->waitUntilEnded(5s));
    QCoreApplication::processEvents();
    EXPECT_TRUE(heard.isEmpty());
}

// Every other relay test shortens these; the shipped waits are the protocol's.
TEST(RelayTiming, ShippedWaitsAreTheProtocols) {
    const relay::RelayTiming shipped;
    EXPECT_EQ(shipped.retryDelay, 1s);
    EXPECT_EQ(shipped.pollInterval, 1500ms);
    EXPECT_EQ(shipped.pendingLimitSeconds, 75);
    EXPECT_EQ(shipped.idleTimeout, 10s);
    EXPECT_EQ(shipped.attemptTimeout, 12s);
    EXPECT_EQ(shipped.requestTimeout, 60s);
}
