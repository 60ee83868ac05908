#include "base/atomic_file.h"
#include "support/cli.h"
#include "support/fixtures.h"
#include "support/sample_reports.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using tagsmith::test::runCli;

namespace {

const QString kReport =
    tagsmith::test::reportFixture(QStringLiteral("valid/FVFDL3Q2Q6L4_2025-02-11T03-07-52Z.macreport"));
const QString kIMacProfile = tagsmith::test::fixturePath(QStringLiteral("system_profiler/iMac20,1.json"));
const QString kLabelUsage = QStringLiteral("用法：tagsmith label FILE… (--png OUT | --pdf OUT) [--resources DIR]\n");
const QString kRowsUsage = QStringLiteral("用法：tagsmith rows FILE [--json] [--resources DIR]\n");
const QString kServeUsage = QStringLiteral("用法：tagsmith cable serve FILE [--interface NAME[,NAME…] | "
                                           "--cable-interface NAME…] [--port N] [--once] [--resources DIR]\n");
const QString kPullUsage = QStringLiteral("用法：tagsmith cable pull --from ADDRESS%NAME --serial SERIAL [--port N] "
                                          "[--out DIR] [--key-file FILE] [--resources DIR]\n");
const QString kReceiveUsage =
    QStringLiteral("用法：tagsmith cable receive [--interface NAME --serial SERIAL | --cable-interface NAME…] "
                   "[--out DIR] [--once] [--key-file FILE] [--resources DIR]\n");
const QString kAssembleUsage = QStringLiteral("用法：tagsmith assemble --profile SP.json [--models models.json] "
                                              "[--diskutil LIST.plist] [--snapshot SNAP.json | --live-snapshot] "
                                              "[--resources DIR]\n");
const QString kHistoryUsage = QStringLiteral("用法：tagsmith history [--data DIR] list [--since DATE] [--limit N] | "
                                             "find TEXT | export FILE.csv [--since DATE] | rebuild\n");

struct Case {
    QStringList arguments;
    int exitCode;
    QString standardError;       // exactly
    QString standardOutput = {}; // its start
    QByteArray input = {};
};

} // namespace

// Every rule of the conventions and every refusal of a verb, each with the exact
// text on standard error: nothing from a library ever gets there, XDG_RUNTIME_DIR
// being unset.
TEST(CommandLine, FollowsTheConventionsWithExitStatusAndOwnTextOnly) {
    QTemporaryDir folder;
    const QString png = folder.filePath(QStringLiteral("label.png"));
    const QString pdf = folder.filePath(QStringLiteral("label.pdf"));
    const QString rulesOnly = folder.filePath(QStringLiteral("rules-only"));
    QDir().mkpath(rulesOnly);
    QFile::copy(tagsmith::test::sourcePath(QStringLiteral("resources/a-models.json")), rulesOnly + "/a-models.json");
    const QString missing = folder.filePath(QStringLiteral("missing.macreport"));
    const QString invalid = tagsmith::test::reportFixture(QStringLiteral("invalid/serial-with-hyphen.macreport"));
    const QByteArray report = tagsmith::base::readFileUpTo(kReport, 1 << 20).value();
    const QString big = folder.filePath(QStringLiteral("big.macreport")); // one byte over a sealed cable frame
    ASSERT_TRUE(tagsmith::base::writeFileAtomically(big, report + QByteArray(999'972 - report.size(), ' ')));
    const QStringList history{QStringLiteral("history"), QStringLiteral("--data"), folder.path()};
    const Case cases[] = {
        {{"--help"}, 0, "", "用法：\n  tagsmith validate FILE"},
        {{"label", "--help"}, 0, "", kLabelUsage},
        {{"cable", "--help"}, 0, "", "用法：\n  tagsmith cable links"},
        {{"--version"}, 0, "", "tagsmith 1.0.0\n"},
        {{"validate", kReport}, 0, "", "{\n"},
        {{"validate", "-"}, 0, "", "{\n", report},
        {{"rows", kReport},
         0,
         "",
         "20年   13寸\nM1  8+7核\nmacbook air  8G/256G\n序列号：FVFDL3Q2Q6L4\nA2337   电池78\n"},
        {{"rows", kReport, "--json"}, 0, "", "[\"20年   13寸\","},
        {{"label", kReport, "--pdf", "-"}, 0, "", "%PDF-"},
        {{"label", kReport, "--png=" + png}, 0, ""},
        {{"label", "--pdf", pdf, kReport}, 0, ""},
        {{"validate", missing}, 1, "文件不存在：" + missing + "\n"},
        {{"validate", folder.path()}, 1, "这是文件夹，不是文件：" + folder.path() + "\n"},
        {{"label", kReport, "--png", "/no/such/dir/x.png"}, 1, "文件夹不存在：/no/such/dir\n"},
        {{"cable", "serve", kReport, "--interface", "nosuch0"}, 1, "没有名为 nosuch0 的网络接口。\n"},
        {{"cable", "serve", kReport, "--interface=lo"},
         1,
         "接口 lo 不是数据线链路：它未启用、是回环接口，或没有链路本地地址。\n"},
        {{"cable", "links"}, 1, "没有找到数据线链路：请检查数据线是否连接到另一台 Mac。\n"},
        {{"cable", "serve", invalid}, 1, "报告格式或字段无效。\n"},
        {{"cable", "serve", big}, 1, "报告文件过大，无法通过数据线发送：" + big + "\n"},
        {{"cable", "serve-v1", invalid}, 1, "报告格式或字段无效。\n"},
        {{"cable", "serve-v1", kReport, "--key-file", "/nonexistent/receiver.json"},
         1,
         "数据线密钥不可用（缺失，或不是 32 字节的 Base64 密钥）：/nonexistent/receiver.json\n"},
        {{"cable", "push", kReport, "--to", "fe80::2%en404"}, 1, "无法连接工作站：fe80::2%en404\n"},
        {{"assemble", "--profile", kIMacProfile}, 1, "没有读到 MacBook 的整机序列号与机型，未生成报告。\n"},
        {{"label", kReport}, 2, "请只给出 --png OUT 或 --pdf OUT 中的一个。\n" + kLabelUsage},
        {{"label", kReport, kReport, "--pdf", pdf},
         2,
         "给出多份报告时，OUT 必须是已存在的文件夹：" + pdf + "\n" + kLabelUsage},
        {{"rows", kReport, "--bogus"}, 2, "未知选项 --bogus\n" + kRowsUsage},
        {{"rows", kReport, "--resources"}, 2, "选项 --resources 缺少取值\n" + kRowsUsage},
        {{"rows", kReport, "--json=yes"}, 2, "选项 --json 不带取值\n" + kRowsUsage},
        {{"rows"}, 2, "参数个数不对\n" + kRowsUsage},
        {{"frobnicate"}, 2, "未知命令：frobnicate\n运行 tagsmith --help 查看全部命令。\n"},
        {{"help", "frobnicate"}, 2, "未知命令：frobnicate\n运行 tagsmith --help 查看全部命令。\n"},
        {{"--version", "extra"}, 2, "--version 不带参数\n运行 tagsmith --help 查看全部命令。\n"},
        {{"--verison"}, 2, "未知选项：--verison\n运行 tagsmith --help 查看全部命令。\n"},
        {{"cable", "serve", kReport, "--port", "65536"}, 2, "端口无效：65536\n" + kServeUsage},
        {{"cable", "pull", "--from", "fe80::1%en9"},
         2,
         "需要 --from 地址%接口（例如 fe80::1%en9）和 --serial 序列号\n" + kPullUsage},
        {{"cable", "receive", "--interface", "en9"}, 2, "缺少 --interface 或 --serial\n" + kReceiveUsage},
        {{"assemble"}, 2, "缺少 --profile\n" + kAssembleUsage},
        {history + QStringList{"bogus"}, 2, "未知命令：history bogus\n" + kHistoryUsage},
        {history + QStringList{"find"}, 2, "参数个数不对：tagsmith history find\n" + kHistoryUsage},
        {history + QStringList{"list", "extra"}, 2, "参数个数不对：tagsmith history list\n" + kHistoryUsage},
        {history + QStringList{"list", "--limit", "0"}, 2, "--limit 须为正整数\n" + kHistoryUsage},
        {history + QStringList{"list", "--since", "yesterday"}, 2,
         "--since 须为日期（如 2025-03-01）或带时区的时刻\n" + kHistoryUsage},
        {history + QStringList{"rebuild", "--since", "2025-01-01"}, 2,
         "history rebuild 不接受选项 --since\n" + kHistoryUsage},
        {{"summary", kReport, "--resources", "/nonexistent"}, 2, "资源文件夹不存在：/nonexistent\n"},
        {{"summary", kReport, "--resources", folder.path()},
         2,
         "资源文件夹 " + folder.path() + " 中缺少 a-models.json。\n"},
        {{"summary", kReport, "--resources", rulesOnly}, 2, "资源文件夹 " + rulesOnly + " 中缺少 locales。\n"},
        {{"assemble", "--profile", missing, "--resources", rulesOnly},
         2,
         "资源文件夹 " + rulesOnly + " 中缺少 models.json。\n"},
    };
    for (const Case& c : cases) {
        const auto run = runCli(c.arguments, c.input);
        const std::string name = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name;
        EXPECT_EQ(QString::fromUtf8(run.standardError), c.standardError) << name;
        EXPECT_EQ(QString::fromUtf8(run.standardOutput).left(c.standardOutput.size()), c.standardOutput) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/no/such"))) << "no folder is made for a label";
    EXPECT_EQ(QImage(png).dotsPerMeterX(), 8000) << "203 dpi, the printer's resolution";
    EXPECT_TRUE(tagsmith::base::readFileUpTo(pdf, 1 << 20).value().startsWith("%PDF-"));
}

// Outside a bundle, without --resources, a verb that needs them says so.
TEST(CommandLine, StopsWithoutResourcesOutsideABundle) {
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("tagsmith"));
    ASSERT_TRUE(QFile::copy(tagsmith::test::cliPath(), copy));
    QProcess process;
    process.start(copy, {QStringLiteral("validate"), kReport});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
              QStringLiteral("找不到程序资源：请从程序包内运行 tagsmith，或用 --resources 指定资源文件夹。\n"));
}
