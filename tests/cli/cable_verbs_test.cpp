#include "report/report_file.h"
#include "support/cli.h"
#include "support/netns.h"
#include "support/sample_reports.h"
#include "support/sockets.h"
#include "support/v2_workstation.h"
#include "support/wait.h"

#include <gtest/gtest.h>

#include <signal.h>

using tagsmith::test::NetnsPair;
using tagsmith::test::runCli;

namespace {

const QString kReportFile =
    tagsmith::test::reportFixture(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));
const QByteArray kReport = tagsmith::report::readReportFile(kReportFile).value();

} // namespace

// A workstation in another namespace fetches the report over the link-local
// veth link: with --once; then until the server is told to stop; then nothing
// is fetched and a --once server is interrupted.
TEST(CableVerbs, ServePrintsSentForEachWorkstationThatAcknowledgesAndTellsAnInterruption) {
    NetnsPair pair;
    if (!pair.ready())
        GTEST_SKIP() << NetnsPair::skipReason();
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
        QStringList arguments{"cable", "serve", kReportFile, "--interface", "en9"};
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
