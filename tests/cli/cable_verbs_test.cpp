#include "base/atomic_file.h"
#include "report/report_file.h"
#include "support/cli.h"
#include "support/netns.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <signal.h>

using tagsmith::test::NetnsPair;
using tagsmith::test::runCli;

namespace {

QString writeFile(const QTemporaryDir& folder, const QString& name, const QByteArray& content) {
    const QString path = folder.filePath(name);
    EXPECT_TRUE(tagsmith::base::writeFileAtomically(path, content));
    return path;
}

const QByteArray kReport =
    tagsmith::report::readReportFile(
        tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport")))
        .value();

} // namespace

TEST(CableVerbs, ServeRefusesBadOptionsAndUnsendableFiles) {
    QTemporaryDir folder;
    const QString report = writeFile(folder, "ok.macreport", kReport);
    const QString en9 = QStringLiteral("en9");
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{report, "--cable-interface"}, 2, "缺少取值"},
        {{report, "--interface", en9, "--port", "65536"}, 2, "端口无效"},
        {{report, "--interface", en9, "--port", "port"}, 2, "端口无效"},
        {{writeFile(folder, "invalid", R"({"serial":"C02XK0ABJGH5"})"), "--interface", en9}, 1, ""},
        {{folder.filePath("missing"), "--interface", en9}, 1, ""},
        {{writeFile(folder, "big", kReport + QByteArray(999'972 - kReport.size(), ' ')), "--interface", en9},
         1,
         "报告文件过大，无法通过数据线发送"},
    };
    for (const auto& c : cases) {
        const auto run = runCli(QStringList{"cable", "serve"} + c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_FALSE(run.standardError.isEmpty());
        EXPECT_TRUE(QString::fromUtf8(run.standardError).contains(QString::fromUtf8(c.message)))
            << run.standardError.toStdString();
    }
}

// A workstation in another namespace fetches the report over the link-local
// veth link: with --once; then until the server is told to stop; then nothing
// is fetched and a --once server is interrupted.
TEST(CableVerbs, ServePrintsSentForEachWorkstationThatAcknowledgesAndTellsAnInterruption) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    QTemporaryDir folder;
    const QString report = writeFile(folder, "report.macreport", kReport);
    const auto fetch = [&] {
        const tagsmith::test::NetnsScope inside(pair.workstation);
        return tagsmith::test::V2Workstation(tagsmith::test::connectTcp(QStringLiteral("fe80::1%en10"), 49379)).fetch();
    };
    const struct {
        bool once;
        bool fetched;
        int signal;
        int exitCode;
    } cases[] = {{true, true, 0, 0}, {false, true, SIGTERM, 0}, {true, false, SIGINT, 130}};
    for (const auto& c : cases) {
        QProcess server;
        QStringList arguments{"cable", "serve", report, "--interface", "en9"};
        if (c.once)
            arguments << "--once";
        server.start(QStringLiteral("ip"), tagsmith::test::inNamespace(pair.collector, arguments));
        QByteArray ready;
        ASSERT_TRUE(tagsmith::test::waitUntil(
            [&] {
                ready += server.readAllStandardError();
                return ready.endsWith('\n');
            },
            std::chrono::seconds(10)))
            << "the server says when it is ready";
        EXPECT_EQ(ready, "正在提供报告，等待工作站取走…\n");
        if (c.fetched) {
            EXPECT_EQ(fetch(), kReport);
        }
        if (c.fetched && c.signal != 0) {
            EXPECT_TRUE(tagsmith::test::waitUntil([&] { return server.bytesAvailable() > 0; }));
        }
        if (c.signal != 0)
            ::kill(pid_t(server.processId()), c.signal);
        ASSERT_TRUE(server.waitForFinished(10000));
        EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(server.exitCode(), c.exitCode) << c.signal;
        EXPECT_EQ(server.readAllStandardOutput(), c.fetched ? "SENT\n" : "");
        EXPECT_EQ(server.readAllStandardError(), "");
    }
}

// A veth end is no cable until named; named, it is one only while it carries a link-local address.
TEST(CableVerbs, LinksListsANamedInterfaceWithItsLinkLocalAddress) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
    const auto links = [&](const QStringList& options) {
        return runCli(QStringList{"cable", "links"} + options, {}, 30000, pair.workstation);
    };
    auto run = links({});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.standardError).contains(QStringLiteral("没有找到数据线链路")));
    run = links({"--cable-interface", "en10"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.standardOutput, "en10 30 10 fe80::2%en10 ff02::1\n");
    ASSERT_TRUE(tagsmith::test::runIp({"-n", pair.workstation, "addr", "flush", "dev", "en10"}));
    EXPECT_EQ(links({"--cable-interface", "en10"}).exitCode, 1);
}
