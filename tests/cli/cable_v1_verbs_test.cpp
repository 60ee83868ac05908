#include "report/report_file.h"
#include "report/report_json.h"
#include "report/validation.h"
#include "support/cli.h"
#include "support/netns.h"
#include "support/sample_reports.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tagsmith::test::inNamespace;
using tagsmith::test::runCli;

namespace {

const QString kReport =
    tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));

} // namespace

// A collector and a workstation in two namespaces joined by a veth link: a
// push to the receive verb, then a pull from serve-v1.
TEST(CableV1Verbs, CarryAReportBetweenNamespacesBothWays) {
    tagsmith::test::NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << tagsmith::test::NetnsPair::skipReason();
    QTemporaryDir out;
    QProcess receiver;
    receiver.start(QStringLiteral("ip"),
                   inNamespace(pair.workstation, {"cable", "receive", "--interface", "en10", "--serial", "K7Q2XW9FJ4",
                                                  "--out", out.path(), "--once"}));
    QByteArray status;
    ASSERT_TRUE(tagsmith::test::waitUntil([&] {
        status += receiver.readAllStandardError();
        return QString::fromUtf8(status).contains(QStringLiteral("已连接 K7Q2XW9FJ4"));
    })) << status.toStdString();
    const QStringList push{"cable", "push", kReport, "--to", "fe80::2%en9"};
    EXPECT_EQ(runCli(push, {}, 30000, pair.collector).exitCode, 0);
    ASSERT_TRUE(receiver.waitForFinished(10000));
    EXPECT_EQ(receiver.exitCode(), 0);
    EXPECT_EQ(receiver.readAllStandardOutput(), "K7Q2XW9FJ4\n");
    EXPECT_EQ(
        tagsmith::report::readReportFile(out.filePath(QStringLiteral("K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport")))
            .value(),
        tagsmith::report::readReportFile(kReport).value());

    QProcess server;
    server.start(QStringLiteral("ip"), inNamespace(pair.collector, {"cable", "serve-v1", kReport, "--once"}));
    tagsmith::test::CliRun pulled;
    ASSERT_TRUE(tagsmith::test::waitUntil([&] { // until the server listens
        pulled =
            runCli({"cable", "pull", "--from", "fe80::1%en10", "--serial", "K7Q2XW9FJ4"}, {}, 30000, pair.workstation);
        return pulled.exitCode == 0;
    })) << pulled.standardError.toStdString();
    const auto expected = tagsmith::report::validated(tagsmith::report::readReportFile(kReport).value()).value();
    EXPECT_EQ(pulled.standardOutput, encodeReport(expected, tagsmith::report::JsonLayout::prettySorted) + '\n');
    ASSERT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(server.exitCode(), 0);
    EXPECT_EQ(server.readAllStandardOutput(), "SENT\n");
}
