#include "collect/configuration_text.h"

#include "report/sample_reports.h"

#include <gtest/gtest.h>

using tagsmith::collect::configurationText;
using tagsmith::l10n::UILocalizer;
using tagsmith::report::Report;

namespace {

const UILocalizer& chinese() {
    static const UILocalizer localizer =
        UILocalizer::fromDirectory(tagsmith::test::sourcePath(QStringLiteral("resources/locales")));
    return localizer;
}

} // namespace

TEST(ConfigurationText, AppleSiliconReportShowsGpuCoresAndNormalCondition) {
    Report report = tagsmith::test::fullReport();
    report.model = QStringLiteral("Mac15,7");
    report.chip = QStringLiteral("Apple M3 Pro");
    report.gpu = 18;
    report.years = {QStringLiteral("2018"), QStringLiteral("2019")};
    EXPECT_EQ(configurationText(report, chinese()), QStringLiteral("整机序列号：C02CQ4XYML7H\n"
                                                                   "机型标识：Mac15,7\n"
                                                                   "机型名称：MacBook Pro\n"
                                                                   "年份：2018 / 2019\n"
                                                                   "屏幕尺寸：13 / 13.3 英寸\n"
                                                                   "芯片：Apple M3 Pro\n"
                                                                   "CPU 核心：4\n"
                                                                   "GPU 核心：18\n"
                                                                   "内存：16 GB\n"
                                                                   "电池健康度：约87%\n"
                                                                   "循环次数：0\n"
                                                                   "硬盘容量：512G\n"
                                                                   "外观：A2251\n"
                                                                   "电池状态：正常"));
}

TEST(ConfigurationText, MissingValuesShowPendingUnreadOrNeedsCheck) {
    Report intel = tagsmith::test::fullReport();
    intel.years.clear();
    intel.inches.clear();
    intel.cpu.reset();
    intel.exterior.reset();
    intel.batteryCondition = QStringLiteral("Service Recommended");
    const QStringList lines = configurationText(intel, chinese()).split(u'\n');
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines.at(3), QStringLiteral("年份：待确认"));
    EXPECT_EQ(lines.at(4), QStringLiteral("屏幕尺寸：待确认"));
    EXPECT_EQ(lines.at(6), QStringLiteral("CPU 核心：未读取"));
    EXPECT_EQ(lines.at(7), QStringLiteral("显卡：Intel Iris Plus Graphics / AMD Radeon Pro 5300M"));
    EXPECT_EQ(lines.at(12), QStringLiteral("外观：需人工检查"));
    EXPECT_EQ(lines.at(13), QStringLiteral("电池状态：Service Recommended"));

    Report bare;
    bare.chip = QStringLiteral("Intel Core i7");
    const QStringList bareLines = configurationText(bare, chinese()).split(u'\n');
    EXPECT_EQ(bareLines.at(7), QStringLiteral("显卡：未读取"));
    EXPECT_EQ(bareLines.at(13), QStringLiteral("电池状态：未读取"));
    bare.chip.reset();
    EXPECT_EQ(configurationText(bare, chinese()).split(u'\n').at(7), QStringLiteral("GPU 核心：未读取"));
}
