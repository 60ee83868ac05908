#include "collect/configuration_text.h"

#include "support/sample_reports.h"

#include <gtest/gtest.h>

using tagsmith::collect::configurationText;
using tagsmith::report::Report;

namespace {

QStringList summaryLines(const Report& report) {
    static const auto chinese =
        tagsmith::l10n::UILocalizer::fromDirectory(tagsmith::test::sourcePath(QStringLiteral("resources/locales")));
    return configurationText(report, chinese).split(u'\n');
}

} // namespace

TEST(ConfigurationText, AppleSiliconReportShowsGpuCoresNormalConditionAndResaleFacts) {
    Report report = tagsmith::test::fixtureReport(QStringLiteral("valid/K7Q2XW9FJ4_2025-03-01T09-15-00Z.macreport"));
    report.activationLock = QStringLiteral("enabled");
    report.remoteManagement = QStringLiteral("none");
    report.storageHealth = QStringLiteral("failing");
    EXPECT_EQ(summaryLines(report).join(u'\n'),
              QStringLiteral("整机序列号：K7Q2XW9FJ4\n机型标识：Mac15,7\n机型名称：MacBook Pro\n"
                             "年份：2023\n屏幕尺寸：16 英寸\n芯片：Apple M3 Pro\n"
                             "CPU 核心：12\nGPU 核心：18\n内存：18 GB\n电池健康度：94%\n"
                             "循环次数：87\n硬盘容量：512G\nA 型号：A2991\n电池状态：正常\n"
                             "激活锁：已开启\n远程管理：未注册\n硬盘健康：故障"));
}

TEST(ConfigurationText, IntelShowsGraphicsAndMissingValuesShowPendingUnreadOrNeedsCheck) {
    Report intel = tagsmith::test::fullReport();
    intel.inches = {QStringLiteral("16"), QStringLiteral("16.0")};
    EXPECT_EQ(summaryLines(intel).at(4), QStringLiteral("屏幕尺寸：16 / 16.0 英寸"));
    EXPECT_EQ(summaryLines(intel).at(7), QStringLiteral("显卡：Intel UHD Graphics 630 / AMD Radeon Pro 5500M"));
    const std::pair<const char*, QString> conditions[] = {
        {"Normal", QStringLiteral("正常")},
        {"Replace Soon", QStringLiteral("建议尽快更换")},
        {"Calibrating", QStringLiteral("Calibrating")},
    };
    for (const auto& [raw, shown] : conditions) {
        intel.batteryCondition = QString::fromLatin1(raw);
        EXPECT_EQ(summaryLines(intel).at(13), QStringLiteral("电池状态：") + shown);
    }

    Report bare;
    bare.chip = QStringLiteral("Intel Core i7");
    const QStringList lines = summaryLines(bare);
    ASSERT_EQ(lines.size(), 17);
    const QStringList expected{
        QStringLiteral("年份：待确认"),   QStringLiteral("屏幕尺寸：待确认"),   QStringLiteral("CPU 核心：未读取"),
        QStringLiteral("显卡：未读取"),   QStringLiteral("A 型号：需人工检查"), QStringLiteral("电池状态：未读取"),
        QStringLiteral("激活锁：未读取"), QStringLiteral("远程管理：未读取"),   QStringLiteral("硬盘健康：未读取")};
    EXPECT_EQ(
        (QStringList{lines[3], lines[4], lines[6], lines[7], lines[12], lines[13], lines[14], lines[15], lines[16]}),
        expected);
    bare.chip.reset();
    EXPECT_EQ(summaryLines(bare).at(7), QStringLiteral("GPU 核心：未读取"));
}
