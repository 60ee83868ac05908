#include "app/collector_panel.h"

#include "app/controller.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include <net/if.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;
using tagsmith::app::CollectorPanel;
using tagsmith::app::CollectorServices;
using tagsmith::test::waitUntil;
using namespace tagsmith;

namespace {

const QString kAirFixture = QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport");

// A collection that waits until the test lets it finish, and counts its runs.
struct ScriptedCollection {
    std::mutex lock;
    std::condition_variable released;
    bool mayFinish = false;
    std::atomic<int> runs = 0;
    std::optional<Error> failure;

    std::function<Result<collect::CollectedReport>()> function() {
        return [this]() -> Result<collect::CollectedReport> {
            ++runs;
            std::unique_lock guard(lock);
            released.wait_for(guard, 10s, [this] { return mayFinish; });
            if (failure)
                return *failure;
            return collect::CollectedReport{{test::fixtureReport(kAirFixture),
                                             base::readFileUpTo(test::reportFixture(kAirFixture), 1 << 20).value()},
                                            QStringLiteral("/tmp/unused.macreport")};
        };
    }
    void finish() {
        std::lock_guard guard(lock);
        mayFinish = true;
        released.notify_all();
    }
};

const cable::CableLink kLoopback{"lo", ::if_nametoindex("lo"), AF_INET6, "::1", "ff02::1"};

CollectorServices servicesFor(ScriptedCollection& collection, std::uint16_t port = 0) {
    CollectorServices services;
    services.collect = collection.function();
    services.cableLinks = [port] { return port == 0 ? QList<cable::CableLink>{} : QList<cable::CableLink>{kLoopback}; };
    services.cablePort = port;
    return services;
}

} // namespace

TEST(CollectorPanel, PreviewShowsTheSampleReportAndNeverCollects) {
    ScriptedCollection collection;
    CollectorPanel panel(servicesFor(collection), true);
    EXPECT_EQ(panel.status(), QStringLiteral("本机界面预览：未启动采集、回传或打印。"));
    ASSERT_TRUE(panel.report());
    EXPECT_EQ(panel.report()->serial, QStringLiteral("TEST123456"));
    panel.collect();
    EXPECT_EQ(collection.runs, 0);
    panel.relay()->receiveCode()->setText(QStringLiteral("12345"));
    panel.relay()->sendCloud();
    EXPECT_EQ(panel.relay()->relayStatus()->text(), QStringLiteral("请先等待本机配置采集完成"));

    QDir().mkpath(test::buildPath(QStringLiteral("test-artifacts")));
    panel.grab().save(test::buildPath(QStringLiteral("test-artifacts/collector-preview.png")));
}

TEST(CollectorPanel, CollectsOnceAtATimeThenServesTheReportOnTheCable) {
    ScriptedCollection collection;
    const std::uint16_t port = test::freeLoopbackPort();
    CollectorPanel panel(servicesFor(collection, port), false);
    ASSERT_TRUE(waitUntil([&] { return collection.runs == 1; }));
    EXPECT_TRUE(panel.collecting());
    panel.collect();
    panel.collect();
    EXPECT_TRUE(panel.status().startsWith(QStringLiteral("正在采集，请稍候…")));
    collection.finish();
    ASSERT_TRUE(waitUntil([&] { return !panel.collecting(); }));
    EXPECT_EQ(collection.runs, 1);
    EXPECT_TRUE(panel.status().startsWith(QStringLiteral("已准备好，可安全推出 U 盘。")));

    test::V2Workstation workstation(test::connectTcp(QStringLiteral("::1"), port));
    EXPECT_EQ(workstation.fetch(), base::readFileUpTo(test::reportFixture(kAirFixture), 1 << 20).value());
    ASSERT_TRUE(waitUntil([&] { return panel.transferred(); }));
    EXPECT_TRUE(panel.status().startsWith(QStringLiteral("已回传已授权的工作机。")));
}

TEST(CollectorPanel, FailedCollectionServesNothing) {
    ScriptedCollection collection;
    collection.failure = Error{QStringLiteral("采集"), 2, QStringLiteral("系统没有返回有效报告，请重试。")};
    collection.finish();
    const std::uint16_t port = test::freeLoopbackPort();
    CollectorPanel panel(servicesFor(collection, port), false);
    ASSERT_TRUE(waitUntil([&] { return collection.runs == 1 && !panel.collecting(); }));
    EXPECT_EQ(panel.status(), QStringLiteral("采集未完成：系统没有返回有效报告，请重试。"));
    EXPECT_FALSE(panel.report());
    test::V2Workstation workstation(test::connectTcp(QStringLiteral("::1"), port));
    EXPECT_FALSE(workstation.fetch()) << "no report is served after a failure";
}

TEST(CollectorPanel, ReceiveCodeMustBeFiveDigitsWithoutALeadingZero) {
    ScriptedCollection collection;
    collection.finish();
    CollectorServices services = servicesFor(collection);
    // A relay on a loopback port where nobody listens: the send starts, then fails.
    services.relayConfiguration = relay::RelayConfiguration::fromJson(
        {{QStringLiteral("licenseServer"), QStringLiteral("http://127.0.0.1:%1").arg(test::freeLoopbackPort())},
         {QStringLiteral("publicKey"), QString::fromLatin1(QByteArray(32, 'k').toBase64())}});
    ASSERT_TRUE(services.relayConfiguration);
    CollectorPanel panel(std::move(services), false);
    ASSERT_TRUE(waitUntil([&] { return panel.report().has_value(); }));
    QLineEdit* code = panel.relay()->receiveCode();
    for (const char* rejected : {"01234", "1234", "123456", "12a45"}) {
        code->setText(QString::fromLatin1(rejected));
        panel.relay()->sendCloud();
        EXPECT_EQ(panel.relay()->relayStatus()->text(), QStringLiteral("请输入工作端显示的 5 位数字接收码"))
            << rejected;
        EXPECT_FALSE(panel.relay()->sending());
    }
    code->setText(QStringLiteral(" 12345 "));
    panel.relay()->sendCloud();
    EXPECT_TRUE(panel.relay()->sending());
    ASSERT_TRUE(waitUntil([&] { return !panel.relay()->sending(); }, 20s));
    EXPECT_TRUE(panel.relay()->relayStatus()->text().startsWith(QStringLiteral("发送未完成：")));
}
