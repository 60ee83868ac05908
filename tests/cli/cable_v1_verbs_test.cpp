#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/netns.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tagsmith::test::NetnsPair;
using tagsmith::test::runCli;

namespace {

const QString kReportName = QStringLiteral("K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport");

QString validReport() {
    return tagsmith::test::reportFixture(QStringLiteral("valid/") + kReportName);
}

QString otherKeyFile(const QTemporaryDir& folder) {
    QFile file(folder.filePath(QStringLiteral("other-receiver.json")));
    file.open(QIODevice::WriteOnly);
    file.write(R"({"addressHint":"","key":")" + QByteArray(32, 'o').toBase64() + "\"}");
    return file.fileName();
}

bool contains(const QByteArray& text, const char* part) {
    return QString::fromUtf8(text).contains(QString::fromUtf8(part));
}

} // namespace

TEST(CableV1Verbs, RefuseIncompleteOptionsUnsendableReportsAndUnusableKeys) {
    QTemporaryDir folder;
    const QString report = validReport();
    const QString badKey = folder.filePath(QStringLiteral("missing.json"));
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"push", report}, 2, "--to"},
        {{"push", report, "--to", "fe80::2"}, 2, "--to"},
        {{"pull", "--from", "fe80::1%en9"}, 2, "--serial"},
        {{"pull", "--from", "fe80::1%en9", "--serial", "K7Q2XW9FJ4", "--port", "0"}, 2, "端口无效"},
        {{"receive", "--serial", "K7Q2XW9FJ4"}, 2, "--interface"},
        {{"serve-v1", tagsmith::test::reportFixture(QStringLiteral("invalid/serial-with-hyphen.macreport"))}, 1, ""},
        {{"serve-v1", report, "--key-file", badKey}, 1, "数据线密钥不可用"},
        {{"receive", "--interface", "en9", "--serial", "K7Q2XW9FJ4", "--key-file", badKey}, 1, "数据线密钥不可用"},
        {{"push", report, "--to", "fe80::2%en404"}, 1, "无法连接工作站"},
    };
    for (const auto& c : cases) {
        const auto run = runCli(QStringList{"cable"} + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(contains(run.standardError, c.message)) << run.standardError.toStdString();
    }
}

// The workstation side runs the receiver for the Mac named on its command
// line; a collector in the other namespace pushes over the veth link.
TEST(CableV1Verbs, AReportPushedFromAnotherNamespaceIsSavedByTheReceiveVerb) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("received"));
    QProcess receiver;
    receiver.start(QStringLiteral("ip"),
                   tagsmith::test::inNamespace(pair.workstation, {"cable", "receive", "--interface", "en10", "--serial",
                                                                  "K7Q2XW9FJ4", "--out", out, "--once"}));
    QByteArray status;
    ASSERT_TRUE(tagsmith::test::waitUntil([&] {
        status += receiver.readAllStandardError();
        return contains(status, "已连接 K7Q2XW9FJ4");
    })) << status.toStdString();
    const QStringList push{"cable", "push", validReport(), "--to", "fe80::2%en9"};
    const auto refused = runCli(push + QStringList{"--key-file", otherKeyFile(folder)}, {}, 30000, pair.collector);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(contains(refused.standardError, "工作站没有确认收到报告")) << refused.standardError.toStdString();
    EXPECT_EQ(runCli(push, {}, 30000, pair.collector).exitCode, 0);
    ASSERT_TRUE(receiver.waitForFinished(10000));
    EXPECT_EQ(receiver.exitCode(), 0);
    EXPECT_EQ(receiver.readAllStandardOutput(), "K7Q2XW9FJ4\n");
    QFile saved(out + u'/' + kReportName);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), tagsmith::report::readReportFile(validReport()).value());
}

TEST(CableV1Verbs, PullFetchesTheReportThatServeV1OffersInAnotherNamespace) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    QProcess server;
    server.start(QStringLiteral("ip"),
                 tagsmith::test::inNamespace(pair.collector, {"cable", "serve-v1", validReport(), "--once"}));
    const QStringList pull{"cable", "pull", "--from", "fe80::1%en10", "--serial", "K7Q2XW9FJ4"};
    tagsmith::test::CliRun fetched;
    ASSERT_TRUE(tagsmith::test::waitUntil([&] { // until the server is listening
        fetched = runCli(pull, {}, 30000, pair.workstation);
        return fetched.exitCode == 0;
    })) << fetched.standardError.toStdString();
    const auto expected = tagsmith::report::validated(tagsmith::report::readReportFile(validReport()).value()).value();
    EXPECT_EQ(fetched.standardOutput, encodeReport(expected, tagsmith::report::JsonLayout::prettySorted) + '\n');
    ASSERT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(server.exitCode(), 0);
    EXPECT_EQ(server.readAllStandardOutput(), "SENT\n");
}
