#include "base/atomic_file.h"
#include "relay/relay_configuration.h"
#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/relay_test_server.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <signal.h>

using namespace tagsmith;
using namespace std::chrono_literals;
using test::RelayTestServer;

namespace {

const QString kCode = QStringLiteral("61790");
const QString kReportFile = QStringLiteral("valid/H4XQ9T2M7V_2025-04-22T14-02-41Z.macreport");

// A resources folder with this relay's configuration and the shipped A-number rules.
struct RelayResources {
    QTemporaryDir folder;

    explicit RelayResources(const RelayTestServer& server) {
        QFile::copy(test::sourcePath(QStringLiteral("resources/a-models.json")),
                    folder.filePath(QStringLiteral("a-models.json")));
        EXPECT_TRUE(base::writeFileAtomically(folder.filePath(relay::kRelayConfigurationFileName),
                                              QJsonDocument(server.configuration()).toJson()));
    }

    QStringList arguments(const QString& code) const {
        return {QStringLiteral("relay"),          QStringLiteral("send"),        code,
                test::reportFixture(kReportFile), QStringLiteral("--resources"), folder.path()};
    }
};

QString lastErrorLine(const test::CliRun& run) {
    return QString::fromUtf8(run.standardError).trimmed().split(u'\n').last();
}

} // namespace

TEST(RelayVerbs, SendDeliversTheValidatedReportInCompactForm) {
    RelayTestServer server;
    server.registerCode(kCode);
    const RelayResources resources(server);
    const auto run = test::runCli(resources.arguments(QStringLiteral(" 61790\n")));
    ASSERT_EQ(run.exitCode, 0) << run.standardError.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.standardError),
              QStringLiteral("正在查找接收工作端…\n正在加密发送配置…\n已发送，等待工作端保存回执…\n"
                             "✓ 工作端已保存配置\n出签按工作端当前打印设置执行\n"));
    const auto rules = report::loadARules(test::sourcePath(QStringLiteral("resources/a-models.json")));
    const report::Report expected =
        report::validated(report::readReportFile(test::reportFixture(kReportFile)).value(), rules).value();
    EXPECT_EQ(server.openedReports(),
              QList<QByteArray>{report::encodeReport(expected, report::JsonLayout::compactAnyOrder)});
}

TEST(RelayVerbs, SendFailsWithTheOperatorsText) {
    RelayTestServer server;
    server.registerCode(kCode);
    server.signWith(test::TicketIssuer());
    const RelayResources resources(server);
    const auto forged = test::runCli(resources.arguments(kCode));
    EXPECT_EQ(forged.exitCode, 1);
    EXPECT_EQ(lastErrorLine(forged), QStringLiteral("接收工作端签名或接收码不匹配"));

    QFile::remove(resources.folder.filePath(relay::kRelayConfigurationFileName));
    const auto unconfigured = test::runCli(resources.arguments(kCode));
    EXPECT_EQ(unconfigured.exitCode, 1);
    EXPECT_EQ(lastErrorLine(unconfigured), QStringLiteral("中转服务配置无效，请重新下载完整工具"));
    EXPECT_EQ(server.requestCount(QStringLiteral("resolve")), 1);
}

TEST(RelayVerbs, SendStopsOnInterruptWithoutClaimingSuccess) {
    RelayTestServer server;
    server.overrideEndpoint(QStringLiteral("resolve"), [](const QJsonObject&) {
        return std::optional(test::HttpReply{200, "{}", {}, 20s, false});
    });
    const RelayResources resources(server);
    QProcess process;
    process.start(test::buildPath(QStringLiteral("Tagsmith.app/Contents/MacOS/tagsmith")), resources.arguments(kCode));
    ASSERT_TRUE(test::waitUntil([&] { return server.requestCount(QStringLiteral("resolve")) == 1; }));
    QElapsedTimer timer;
    timer.start();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()).trimmed().split(u'\n').last(),
              QStringLiteral("已取消"));
}
